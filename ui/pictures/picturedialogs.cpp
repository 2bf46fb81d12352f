#include "ui/pictures/picturedialogs.h"

#include "ui/base/dialogparts.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace qb {

QValidator::State CClampingSpinBox::validate(QString& input, int& pos) const
{
    bool ok = false;
    const long long v = input.trimmed().toLongLong(&ok);
    if (ok && (v < minimum() || v > maximum())) {
        input = QString::asprintf("%d", int(std::clamp<long long>(v, minimum(), maximum())));
        pos = int(input.size());
        return QValidator::Acceptable;
    }
    return QSpinBox::validate(input, pos);
}

namespace {

double s_lastAngle = 90.0;

} // namespace

CRotateDialog::CRotateDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Rotate Image"));
    m_angle = new QDoubleSpinBox(this);
    m_angle->setObjectName(QStringLiteral("angle"));
    m_angle->setRange(-360.0, 360.0);
    m_angle->setDecimals(1);
    m_angle->setValue(s_lastAngle);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Angle:"), m_angle);
    auto* v = new QVBoxLayout(this);
    v->addLayout(form);
    v->addWidget(OkCancelButtons(this));
}

double CRotateDialog::angle() const
{
    return m_angle->value();
}

void CRotateDialog::accept()
{
    s_lastAngle = m_angle->value();
    QDialog::accept();
}

CGridSquaresDialog::CGridSquaresDialog(GridSquares initial, Apply apply, QWidget* parent)
    : QDialog(parent)
    , m_initial(initial)
    , m_apply(std::move(apply))
{
    setWindowTitle(QStringLiteral("Number of grid squares"));
    auto spin = [this](const char* name, int value) {
        auto* s = new CClampingSpinBox(this);
        s->setObjectName(QLatin1String(name));
        s->setRange(kMinGridSquares, kMaxGridSquares);
        s->setValue(ClampGridSquares(value));
        connect(s, &QSpinBox::valueChanged, this, [this] {
            if (m_apply) m_apply(squares());
        });
        return s;
    };
    m_across = spin("across", initial.across);
    m_down = spin("down", initial.down);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Horizontally:"), m_across);
    form->addRow(QStringLiteral("Vertically:"), m_down);
    auto* v = new QVBoxLayout(this);
    v->addLayout(form);
    v->addWidget(OkCancelButtons(this));
}

GridSquares CGridSquaresDialog::squares() const
{
    return {m_across->value(), m_down->value()};
}

void CGridSquaresDialog::reject()
{
    if (m_apply) m_apply(m_initial);
    QDialog::reject();
}

CBrightnessContrastDialog::CBrightnessContrastDialog(Preview preview, QWidget* parent)
    : QDialog(parent)
    , m_preview(std::move(preview))
{
    setWindowTitle(QStringLiteral("Brightness and Contrast"));
    QSlider* brightnessSlider = nullptr;
    QSlider* contrastSlider = nullptr;
    m_brightness = pair("brightness", kMaxBrightness, brightnessSlider);
    m_contrast = pair("contrast", kMaxContrast, contrastSlider);
    auto* form = new QFormLayout;
    auto row = [this](QSlider* slider, QSpinBox* spin) {
        auto* h = new QHBoxLayout;
        h->addWidget(slider, 1);
        h->addWidget(spin);
        return h;
    };
    form->addRow(QStringLiteral("Brightness:"), row(brightnessSlider, m_brightness));
    form->addRow(QStringLiteral("Contrast:"), row(contrastSlider, m_contrast));
    auto* v = new QVBoxLayout(this);
    v->addLayout(form);
    v->addWidget(OkCancelButtons(this));
    setMinimumWidth(360);
}

QSpinBox* CBrightnessContrastDialog::pair(const char* name, int limit, QSlider*& slider)
{
    // The slider first: the keys move through them in the order they are seen.
    slider = new QSlider(Qt::Horizontal, this);
    slider->setObjectName(QLatin1String(name) + QStringLiteral("Slider"));
    slider->setRange(-limit, limit);
    slider->setValue(0);
    auto* spin = new CClampingSpinBox(this);
    spin->setObjectName(QLatin1String(name));
    spin->setRange(-limit, limit);
    spin->setValue(0);
    connect(slider, &QSlider::valueChanged, spin, &QSpinBox::setValue);
    connect(spin, &QSpinBox::valueChanged, slider, &QSlider::setValue);
    connect(spin, &QSpinBox::valueChanged, this, [this] {
        if (m_preview) m_preview(brightness(), contrast());
    });
    return spin;
}

int CBrightnessContrastDialog::brightness() const
{
    return m_brightness->value();
}

int CBrightnessContrastDialog::contrast() const
{
    return m_contrast->value();
}

} // namespace qb
