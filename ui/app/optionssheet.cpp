#include "ui/app/optionssheet.h"

#include "core/dobby/dobbyprotocol.h"
#include "ui/base/dialogparts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPortInfo>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace qb {

namespace {

QCheckBox* check(QWidget* parent, const char* name, const QString& text, bool on)
{
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(QLatin1String(name));
    c->setChecked(on);
    return c;
}

// Two check boxes of which at most one may be on.
void excludeEachOther(QCheckBox* a, QCheckBox* b)
{
    QObject::connect(a, &QCheckBox::toggled, b, [b](bool on) {
        if (on) b->setChecked(false);
    });
    QObject::connect(b, &QCheckBox::toggled, a, [a](bool on) {
        if (on) a->setChecked(false);
    });
}

// The Files page rows: caption and the setting behind it.
struct Location {
    const char* caption;
    QString CStoredSettings::*field;
};
const Location kLocations[] = {
    {"Block Substitution Files", &CStoredSettings::DfltBlockSubsFileLocn},
    {"Network Drafting Files", &CStoredSettings::DfltNetworkFileLocn},
    {"Browse Folder", &CStoredSettings::DfltBrowseLocn},
    {"Yarn Database", &CStoredSettings::DfltYarnDocFileLocn},
};

} // namespace

COptionsSheet::COptionsSheet(const CStoredSettings& values, Page start, QWidget* parent)
    : QDialog(parent)
    , m_values(values)
{
    setWindowTitle(QStringLiteral("Options"));
    m_tabs = new QTabWidget(this);
    m_tabs->setUsesScrollButtons(false); // all five page captions in view
    m_tabs->addTab(makeLoomPage(), QStringLiteral("Loom"));
    m_tabs->addTab(makeGridPage(), QStringLiteral("Grid/Notation"));
    m_tabs->addTab(makeGeneralPage(), QStringLiteral("General"));
    m_tabs->addTab(makeFilesPage(), QStringLiteral("Files"));
    m_tabs->addTab(makeDobbyPage(), QStringLiteral("Dobby Head Settings"));
    m_tabs->setCurrentIndex(start);

    QDialogButtonBox* buttons = OkCancelButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
}

QWidget* COptionsSheet::makeLoomPage()
{
    auto* page = new QWidget;
    const CStoredSettings& v = m_values;
    m_shafts = CountSpinBox(page, "shafts", 1, 64, v.DfltNumShafts);
    m_treadles = CountSpinBox(page, "treadles", 1, 128, v.DfltNumTreadles);
    m_rising = new QRadioButton(QStringLiteral("Rising"), page);
    m_rising->setObjectName(QStringLiteral("rising"));
    m_sinking = new QRadioButton(QStringLiteral("Sinking"), page);
    m_sinking->setObjectName(QStringLiteral("sinking"));
    (v.DfltRisingShed ? m_rising : m_sinking)->setChecked(true);
    m_liftplan = check(page, "liftplan", QStringLiteral("Liftplan"), v.DfltLiftPlan != 0);
    m_waste = CountSpinBox(page, "wasteLength", 0, INT_MAX, v.DfltWasteLength);
    m_barH = CountSpinBox(page, "betweenPegs", 0, INT_MAX, v.DfltDobbyBarH);
    m_barV = CountSpinBox(page, "betweenBars", 0, INT_MAX, v.DfltDobbyBarV);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Shafts:"), m_shafts);
    form->addRow(QStringLiteral("Treadles:"), m_treadles);
    auto* shed = new QHBoxLayout;
    shed->addWidget(m_rising);
    shed->addWidget(m_sinking);
    shed->addStretch();
    form->addRow(shed);
    form->addRow(m_liftplan);
    form->addRow(QStringLiteral("Waste length:"), m_waste);
    auto* bars = new QGroupBox(QStringLiteral("Dobby bar spacing"), page);
    auto* barForm = new QFormLayout(bars);
    barForm->addRow(QStringLiteral("between pegs:"), m_barH);
    barForm->addRow(QStringLiteral("between bars:"), m_barV);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addWidget(bars);
    layout->addStretch();
    return page;
}

QWidget* COptionsSheet::makeGridPage()
{
    auto* page = new QWidget;
    const CStoredSettings& v = m_values;
    m_thNumeric = check(page, "threadingNumeric", QStringLiteral("Numeric"), v.DfltThreading == 1);
    m_thAlpha = check(page, "threadingAlpha", QStringLiteral("Alpha"), v.DfltThreading == 3);
    m_trNumeric = check(page, "treadlingNumeric", QStringLiteral("Numeric"), v.DfltTreadling == 1);
    m_tuNumeric = check(page, "tieupNumeric", QStringLiteral("Numeric"), v.DfltTieup == 1);
    m_tuSymbolic = check(page, "tieupSymbolic", QStringLiteral("Symbolic"), v.DfltTieup == 2);
    m_interlaced = check(page, "interlaced", QStringLiteral("Interlaced"), v.DfltDrawdown == 4);
    m_showGrid =
        check(page, "showGrid", QStringLiteral("Show grid when drawdown is hidden"), v.ShowGridWhenHidden != 0);
    m_drawnUp = check(page, "drawnUp", QStringLiteral("Scandinavian draft style"), v.DraftDrawnUp != 0);
    excludeEachOther(m_thNumeric, m_thAlpha);
    excludeEachOther(m_tuNumeric, m_tuSymbolic);

    auto group = [page](const QString& title, std::initializer_list<QWidget*> boxes) {
        auto* g = new QGroupBox(title, page);
        auto* l = new QHBoxLayout(g);
        for (QWidget* b : boxes) l->addWidget(b);
        l->addStretch();
        return g;
    };
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(group(QStringLiteral("Threading"), {m_thNumeric, m_thAlpha}));
    layout->addWidget(group(QStringLiteral("Treadling"), {m_trNumeric}));
    layout->addWidget(group(QStringLiteral("Tieup"), {m_tuNumeric, m_tuSymbolic}));
    layout->addWidget(group(QStringLiteral("Drawdown"), {m_interlaced}));
    layout->addWidget(m_showGrid);
    layout->addWidget(m_drawnUp);
    layout->addStretch();
    return page;
}

QWidget* COptionsSheet::makeGeneralPage()
{
    auto* page = new QWidget;
    auto* units = new QGroupBox(QStringLiteral("Measurement System"), page);
    m_english = new QRadioButton(QStringLiteral("English"), units);
    m_english->setObjectName(QStringLiteral("english"));
    m_metric = new QRadioButton(QStringLiteral("Metric"), units);
    m_metric->setObjectName(QStringLiteral("metric"));
    (m_values.UnitMeasure == 1 ? m_metric : m_english)->setChecked(true);
    auto* ul = new QHBoxLayout(units);
    ul->addWidget(m_english);
    ul->addWidget(m_metric);
    ul->addStretch();
    m_flip = check(page, "flipOnPaste", QStringLiteral("Flip threading and treadling on Paste / Load Liftplan"),
                   m_values.FlipOnPasteLiftplan != 0);
    // Minutes here; the store keeps seconds, and a value that is no whole
    // number of minutes stays as it is unless the weaver changes it.
    m_autosave = new QSpinBox(page);
    m_autosave->setObjectName(QStringLiteral("autosaveMinutes"));
    m_autosave->setRange(0, 24 * 60);
    m_autosave->setSpecialValueText(QStringLiteral("Never"));
    m_autosave->setSuffix(QStringLiteral(" min"));
    m_autosave->setValue(m_values.AutosaveSeconds <= 0 ? 0 : std::max(1, (m_values.AutosaveSeconds + 30) / 60));
    m_autosaveShown = m_autosave->value();
    auto* autosave = new QHBoxLayout;
    auto* autosaveLabel = new QLabel(QStringLiteral("Keep a recovery copy of changed drafts every:"), page);
    autosaveLabel->setBuddy(m_autosave);
    autosave->addWidget(autosaveLabel);
    autosave->addWidget(m_autosave);
    autosave->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(units);
    layout->addWidget(m_flip);
    layout->addLayout(autosave);
    layout->addStretch();
    return page;
}

QWidget* COptionsSheet::makeFilesPage()
{
    auto* page = new QWidget;
    m_locations = new QTreeWidget(page);
    m_locations->setObjectName(QStringLiteral("locations"));
    m_locations->setColumnCount(2);
    m_locations->setHeaderLabels({QStringLiteral("Files"), QStringLiteral("Location")});
    m_locations->setRootIsDecorated(false);
    for (const Location& loc : kLocations)
        new QTreeWidgetItem(m_locations, {QLatin1String(loc.caption), m_values.*(loc.field)});
    m_locations->setCurrentItem(m_locations->topLevelItem(0));
    m_locations->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    auto* modify = new QPushButton(QStringLiteral("Modify Location"), page);
    connect(modify, &QPushButton::clicked, this, &COptionsSheet::modifyLocation);

    auto* save = new QGroupBox(QStringLiteral("Save Files As:"), page);
    m_saveFormat = new QComboBox(save);
    m_saveFormat->setObjectName(QStringLiteral("saveFormat"));
    m_saveFormat->addItems({QStringLiteral("WIF File (*.wif)"), QStringLiteral("Quillaby File (*.qlb)")});
    m_saveFormat->setCurrentIndex(m_values.DfltSaveAsQLB ? 1 : 0);
    auto* sf = new QFormLayout(save);
    sf->addRow(QStringLiteral("Default format"), m_saveFormat);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_locations);
    layout->addWidget(modify, 0, Qt::AlignLeft);
    layout->addWidget(save);
    return page;
}

void COptionsSheet::modifyLocation()
{
    QTreeWidgetItem* item = m_locations->currentItem();
    if (!item) return;
    const QString dir = QFileDialog::getExistingDirectory(this, QStringLiteral("Select a Folder:"), item->text(1));
    if (!dir.isEmpty()) item->setText(1, QDir::toNativeSeparators(dir));
}

QWidget* COptionsSheet::makeDobbyPage()
{
    auto* page = new QWidget;
    m_head = new QComboBox(page);
    m_head->setObjectName(QStringLiteral("dobbyHead"));
    m_head->addItem(QStringLiteral("Select one"));
    m_head->addItems(DobbyHeads::names());
    m_head->setCurrentIndex(m_values.hasDobbyHead() ? m_values.dobbyHead + 1 : 0);

    // Pseudo-terminals and some adapters are never listed: the weaver may
    // type any device path.
    m_port = new QComboBox(page);
    m_port->setObjectName(QStringLiteral("serialPort"));
    m_port->setEditable(true);
    m_port->setInsertPolicy(QComboBox::NoInsert);
    fillPorts();

    m_harnesses = CountSpinBox(page, "dobbyShafts", 1, 40, m_values.DobbyHarnesses);
    // No more shafts than the chosen head's lift command can carry.
    const auto limitShafts = [this](int item) {
        const int head = item - 1;
        m_harnesses->setMaximum(IsDobbyHeadType(head) ? std::min(kDobbyMaxShafts, kDobbyHeads[head].maxShafts)
                                                      : kDobbyMaxShafts);
    };
    limitShafts(m_head->currentIndex());
    connect(m_head, &QComboBox::currentIndexChanged, this, limitShafts);
    auto* form = new QFormLayout(page);
    form->addRow(QStringLiteral("Dobby head:"), m_head);
    form->addRow(QStringLiteral("Serial port:"), m_port);
    form->addRow(QStringLiteral("Shafts:"), m_harnesses);
    return page;
}

void COptionsSheet::fillPorts()
{
    QStringList ports;
    const auto infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : infos) ports << info.systemLocation();
    ports.sort();
    m_port->addItems(ports);
    m_port->setEditText(m_values.SerialPortPath);
}

void COptionsSheet::accept()
{
    CStoredSettings& v = m_values;
    v.DfltNumShafts = m_shafts->value();
    v.DfltNumTreadles = m_treadles->value();
    v.DfltRisingShed = m_rising->isChecked() ? 1 : 0;
    v.DfltLiftPlan = m_liftplan->isChecked() ? 1 : 0;
    v.DfltWasteLength = m_waste->value();
    v.DfltDobbyBarH = m_barH->value();
    v.DfltDobbyBarV = m_barV->value();

    v.DfltThreading = NotationBoxes::threading(m_thNumeric->isChecked(), m_thAlpha->isChecked());
    v.DfltTreadling = NotationBoxes::treadling(m_trNumeric->isChecked());
    v.DfltTieup = NotationBoxes::tieup(m_tuNumeric->isChecked(), m_tuSymbolic->isChecked());
    v.DfltDrawdown = NotationBoxes::drawdown(m_interlaced->isChecked());
    v.ShowGridWhenHidden = m_showGrid->isChecked() ? 1 : 0;
    v.DraftDrawnUp = m_drawnUp->isChecked() ? 1 : 0;

    v.UnitMeasure = m_metric->isChecked() ? 1 : 0;
    v.FlipOnPasteLiftplan = m_flip->isChecked() ? 1 : 0;
    if (m_autosave->value() != m_autosaveShown) v.AutosaveSeconds = m_autosave->value() * 60;

    for (int i = 0; i < m_locations->topLevelItemCount(); ++i)
        v.*(kLocations[i].field) = m_locations->topLevelItem(i)->text(1);
    v.DfltSaveAsQLB = m_saveFormat->currentIndex() == 1 ? 1 : 0;

    v.dobbyHead = m_head->currentIndex() >= 1 ? m_head->currentIndex() - 1 : DobbyHeads::kNone;
    v.SerialPortPath = m_port->currentText().trimmed();
    // A listed port is also remembered by its number (1-based, in list order).
    const int listed = m_port->findText(v.SerialPortPath);
    if (listed >= 0) v.SerialPortNum = listed + 1;
    v.DobbyHarnesses = m_harnesses->value();
    QDialog::accept();
}

} // namespace qb
