#include "ui/filecommands/propertiessheet.h"

#include "core/draft/limits.h"
#include "ui/base/dialogparts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QVariant>

#include <cmath>

namespace qb {

namespace {

QRadioButton* radio(QWidget* parent, const char* name, const char* text)
{
    auto* r = new QRadioButton(QString::fromLatin1(text), parent);
    r->setObjectName(QLatin1String(name));
    return r;
}

// The sett as one number: whole part plus ten-thousandths.
QDoubleSpinBox* settBox(QWidget* parent, const char* name, int whole, int frac)
{
    auto* s = new QDoubleSpinBox(parent);
    s->setObjectName(QLatin1String(name));
    s->setDecimals(4);
    s->setRange(0.0, 99999.0);
    s->setValue(whole + frac / 10000.0);
    // What the box showed first, after its own rounding and range.
    s->setProperty("shown", s->value());
    return s;
}

// Back into whole part and ten-thousandths; the stored pair when the number
// was not touched, so opening and closing the sheet changes nothing.
void settFrom(const QDoubleSpinBox* box, int initialWhole, int initialFrac, int& whole, int& frac)
{
    const double v = box->value();
    if (v == box->property("shown").toDouble()) {
        whole = initialWhole;
        frac = initialFrac;
        return;
    }
    whole = static_cast<int>(std::ceil(v - 0.5));
    frac = static_cast<int>(std::lround((v - whole) * 10000.0));
}

QPlainTextEdit* textBox(QWidget* parent, const char* name, const QString& text)
{
    auto* t = new QPlainTextEdit(text, parent);
    t->setObjectName(QLatin1String(name));
    return t;
}

} // namespace

CPropertiesSheet::CPropertiesSheet(const DraftProperties& values, const DraftTexts& texts, Page start, QWidget* parent)
    : QDialog(parent)
    , m_initial(values)
    , m_initialTexts(texts)
{
    setWindowTitle(QStringLiteral("Properties"));
    m_tabs = new QTabWidget(this);
    m_tabs->addTab(makeSettingsPage(), QStringLiteral("Settings"));
    m_tabs->addTab(makeNotesPage(), QStringLiteral("Notes"));
    m_tabs->setCurrentIndex(start);

    QDialogButtonBox* buttons = OkCancelButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
}

QWidget* CPropertiesSheet::makeSettingsPage()
{
    auto* page = new QWidget;
    const DraftProperties& v = m_initial;

    m_shafts = CountSpinBox(page, "shafts", 1, kMaxShafts, v.shafts);
    m_treadles = CountSpinBox(page, "treadles", 1, kMaxTreadles, v.treadles);
    m_liftplan = new QCheckBox(QStringLiteral("Liftplan"), page);
    m_liftplan->setObjectName(QStringLiteral("liftplan"));
    m_liftplan->setChecked(v.liftplan);
    auto* loom = new QGroupBox(page);
    auto* loomForm = new QFormLayout(loom);
    loomForm->addRow(QStringLiteral("Shafts:"), m_shafts);
    loomForm->addRow(QStringLiteral("Treadles:"), m_treadles);
    loomForm->addRow(m_liftplan);

    auto* shed = new QGroupBox(page);
    m_rising = radio(shed, "rising", "Rising");
    m_sinking = radio(shed, "sinking", "Sinking");
    (v.risingShed ? m_rising : m_sinking)->setChecked(true);
    auto* shedLayout = new QVBoxLayout(shed);
    shedLayout->addWidget(m_rising);
    shedLayout->addWidget(m_sinking);

    auto* faced = new QGroupBox(page);
    m_side[0] = radio(faced, "balanced", "Balanced");
    m_side[1] = radio(faced, "warpFaced", "Warp-faced");
    m_side[2] = radio(faced, "weftFaced", "Weft-faced");
    m_side[std::clamp(v.correlationSide, 0, 2)]->setChecked(true);
    m_warps = CountSpinBox(faced, "warps", 1, kMaxRows, std::max(1, v.numWarps));
    m_wefts = CountSpinBox(faced, "wefts", 1, kMaxRows, std::max(1, v.numWefts));
    m_correlation = new QCheckBox(QStringLiteral("Direct correlation"), faced);
    m_correlation->setObjectName(QStringLiteral("correlation"));
    m_correlation->setChecked(v.correlationOn);
    auto* colors = new QGroupBox(QStringLiteral("colors"), faced);
    auto* colorsForm = new QFormLayout(colors);
    colorsForm->addRow(QStringLiteral("warp:"), m_warps);
    colorsForm->addRow(QStringLiteral("weft:"), m_wefts);
    auto* facedLayout = new QGridLayout(faced);
    facedLayout->addWidget(m_side[0], 0, 0);
    facedLayout->addWidget(m_side[1], 1, 0);
    facedLayout->addWidget(m_side[2], 2, 0);
    facedLayout->addWidget(colors, 0, 1, 3, 1);
    facedLayout->addWidget(m_correlation, 3, 0, 1, 2);

    auto* units = new QGroupBox(page);
    m_english = radio(units, "english", "English");
    m_metric = radio(units, "metric", "Metric");
    (v.units == 1 ? m_metric : m_english)->setChecked(true);
    m_sett = settBox(units, "sett", v.warpSettWhole, v.warpSettFrac);
    m_beat = settBox(units, "beat", v.weftSettWhole, v.weftSettFrac);
    auto* unitsLayout = new QGridLayout(units);
    unitsLayout->addWidget(m_english, 0, 0);
    unitsLayout->addWidget(m_metric, 1, 0);
    unitsLayout->addWidget(new QLabel(QStringLiteral("Sett:"), units), 0, 1);
    unitsLayout->addWidget(m_sett, 0, 2);
    unitsLayout->addWidget(new QLabel(QStringLiteral("Beat:"), units), 1, 1);
    unitsLayout->addWidget(m_beat, 1, 2);

    m_warpRatio = CountSpinBox(page, "warpRatio", kMinRatio + 1, kMaxRatio + 1, v.warpRatio);
    m_weftRatio = CountSpinBox(page, "weftRatio", kMinRatio + 1, kMaxRatio + 1, v.weftRatio);
    auto* ratio = new QGroupBox(QStringLiteral("Ratio of thick to thin threads:"), page);
    auto* ratioForm = new QFormLayout(ratio);
    ratioForm->addRow(QStringLiteral("warp:"), m_warpRatio);
    ratioForm->addRow(QStringLiteral("weft:"), m_weftRatio);

    auto* layout = new QGridLayout(page);
    layout->addWidget(loom, 0, 0);
    layout->addWidget(shed, 0, 1);
    layout->addWidget(faced, 1, 0, 1, 2);
    layout->addWidget(units, 2, 0, 1, 2);
    layout->addWidget(ratio, 3, 0, 1, 2);
    layout->setRowStretch(4, 1);

    connect(m_liftplan, &QCheckBox::toggled, this, [this] { followLiftplan(); });
    connect(m_shafts, &QSpinBox::valueChanged, this, [this] { followLiftplan(); });
    for (QRadioButton* r : m_side) connect(r, &QRadioButton::toggled, this, [this] { followSide(); });
    followLiftplan();
    followSide();
    return page;
}

// In liftplan form the treadles are the shafts.
void CPropertiesSheet::followLiftplan()
{
    const bool lift = m_liftplan->isChecked();
    m_treadles->setEnabled(!lift);
    if (lift) m_treadles->setValue(std::min(m_shafts->value(), kMaxTreadles));
}

// A balanced cloth has no color bars to correlate.
void CPropertiesSheet::followSide()
{
    const bool balanced = m_side[0]->isChecked();
    m_correlation->setEnabled(!balanced);
    if (balanced) m_correlation->setChecked(false);
}

QWidget* CPropertiesSheet::makeNotesPage()
{
    auto* page = new QWidget;
    m_title = textBox(page, "title", m_initialTexts.title);
    m_title->setMaximumHeight(m_title->fontMetrics().lineSpacing() * 4);
    m_author = textBox(page, "author", m_initialTexts.author);
    m_author->setMaximumHeight(m_author->fontMetrics().lineSpacing() * 6);
    m_notes = textBox(page, "notes", m_initialTexts.notes);
    auto* form = new QFormLayout(page);
    form->addRow(QStringLiteral("Title:"), m_title);
    form->addRow(QStringLiteral("Author:"), m_author);
    form->addRow(QStringLiteral("Notes:"), m_notes);
    return page;
}

DraftProperties CPropertiesSheet::values() const
{
    DraftProperties v = m_initial;
    v.shafts = m_shafts->value();
    v.liftplan = m_liftplan->isChecked();
    v.treadles = v.liftplan ? v.shafts : m_treadles->value();
    v.risingShed = m_rising->isChecked();
    for (int i = 0; i < 3; ++i)
        if (m_side[i]->isChecked()) v.correlationSide = i;
    v.numWarps = m_warps->value();
    v.numWefts = m_wefts->value();
    v.correlationOn = m_correlation->isChecked();
    v.units = m_metric->isChecked() ? 1 : 0;
    settFrom(m_sett, m_initial.warpSettWhole, m_initial.warpSettFrac, v.warpSettWhole, v.warpSettFrac);
    settFrom(m_beat, m_initial.weftSettWhole, m_initial.weftSettFrac, v.weftSettWhole, v.weftSettFrac);
    v.warpRatio = m_warpRatio->value();
    v.weftRatio = m_weftRatio->value();
    return NormalizeProperties(v);
}

DraftTexts CPropertiesSheet::texts() const
{
    return {m_title->toPlainText(), m_author->toPlainText(), m_notes->toPlainText()};
}

} // namespace qb
