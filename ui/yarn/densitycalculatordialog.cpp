#include "ui/yarn/densitycalculatordialog.h"

#include "ui/base/dialogparts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QVBoxLayout>

#include <cmath>

namespace qb {

double ReadNumber(const QString& text, bool* ok)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool good = false;
    const double v = QLocale::c().toDouble(t, &good);
    if (ok) *ok = good && std::isfinite(v);
    return good && std::isfinite(v) ? v : 0.0;
}

QString OneDecimal(double v)
{
    return QString::number(v, 'f', 1);
}

namespace {

QString shortNumber(double v)
{
    return QString::number(v, 'g', 10);
}

} // namespace

CDensityCalculatorDialog::CDensityCalculatorDialog(MeasureSystem system, QWidget* parent)
    : QDialog(parent)
    , m_system(system)
{
    setWindowTitle(QStringLiteral("Density Calculator"));
    const DensityInput start = DensityInput::Start(system);

    m_quantity = new QLineEdit(this);
    m_quantity->setObjectName(QStringLiteral("quantity"));
    m_quantity->setText(QStringLiteral("0"));
    m_quantityUnit = new QComboBox(this);
    m_quantityUnit->setObjectName(QStringLiteral("quantityUnit"));
    m_quantityUnit->addItems({QStringLiteral("yd"), QStringLiteral("m")});
    m_quantityUnit->setCurrentIndex(start.quantityUnit);
    m_weight = new QLineEdit(this);
    m_weight->setObjectName(QStringLiteral("weight"));
    m_weight->setText(shortNumber(start.weight));
    m_weightUnit = new QComboBox(this);
    m_weightUnit->setObjectName(QStringLiteral("weightUnit"));
    m_weightUnit->addItems({QStringLiteral("lb"), QStringLiteral("oz"), QStringLiteral("kg"), QStringLiteral("g")});
    m_weightUnit->setCurrentIndex(start.weightUnit);
    m_density = new QLineEdit(this);
    m_density->setObjectName(QStringLiteral("density"));
    m_density->setReadOnly(true);
    m_densityUnit = new QComboBox(this);
    m_densityUnit->setObjectName(QStringLiteral("densityUnit"));
    m_densityUnit->addItems({QStringLiteral("yd/lb"), QStringLiteral("m/kg")});
    m_densityUnit->setCurrentIndex(system == MeasureSystem::Metric ? 1 : 0);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Quantity:"), this), 0, 0);
    grid->addWidget(m_quantity, 0, 1);
    grid->addWidget(m_quantityUnit, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Weight:"), this), 1, 0);
    grid->addWidget(m_weight, 1, 1);
    grid->addWidget(m_weightUnit, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Density:"), this), 2, 0);
    grid->addWidget(m_density, 2, 1);
    grid->addWidget(m_densityUnit, 2, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(OkCancelButtons(this));

    for (QLineEdit* e : {m_quantity, m_weight}) {
        connect(e, &QLineEdit::textChanged, this, &CDensityCalculatorDialog::recompute);
        connect(e, &QLineEdit::editingFinished, this, &CDensityCalculatorDialog::writeBack);
    }
    for (QComboBox* c : {m_quantityUnit, m_weightUnit, m_densityUnit})
        connect(c, &QComboBox::currentIndexChanged, this, &CDensityCalculatorDialog::recompute);
    recompute();
    // Typing replaces the starting 0.
    m_quantity->setFocus();
    m_quantity->selectAll();
}

DensityInput CDensityCalculatorDialog::input() const
{
    DensityInput in;
    in.quantity = ReadNumber(m_quantity->text());
    in.quantityUnit = m_quantityUnit->currentIndex();
    in.weight = ReadNumber(m_weight->text());
    in.weightUnit = m_weightUnit->currentIndex();
    return in;
}

void CDensityCalculatorDialog::recompute()
{
    m_result = ComputeDensity(input());
    m_density->setText(shownDensity());
}

QString CDensityCalculatorDialog::shownDensity() const
{
    const MeasureSystem shown = m_densityUnit->currentIndex() == 1 ? MeasureSystem::Metric : MeasureSystem::English;
    return QString::number(m_result.forSystem(shown));
}

void CDensityCalculatorDialog::writeBack()
{
    const DensityInput in = input();
    if (in.quantity != m_result.quantity) m_quantity->setText(shortNumber(m_result.quantity));
    if (in.weight != m_result.weight) m_weight->setText(shortNumber(m_result.weight));
}

} // namespace qb
