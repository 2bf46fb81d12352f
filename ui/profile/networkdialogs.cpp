#include "ui/profile/networkdialogs.h"

#include "ui/base/dialogparts.h"

#include "core/draft/limits.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace qb {

namespace {

QWidget* withUnit(QWidget* field, const QString& unit)
{
    auto* w = new QWidget;
    auto* h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(field);
    if (!unit.isEmpty()) h->addWidget(new QLabel(unit, w));
    h->addStretch();
    return w;
}

} // namespace

CPatternLineSheet::CPatternLineSheet(const NetworkSettings& initial,
                                     std::function<bool(NetworkSettings&)> fromStructure,
                                     std::function<void(const QString&)> tell, QWidget* parent)
    : QDialog(parent)
    , m_initial(initial)
    , m_fromStructure(std::move(fromStructure))
    , m_tell(std::move(tell))
{
    setObjectName(QStringLiteral("patternLineSheet"));
    setWindowTitle(QStringLiteral("Pattern Line"));
    m_initial.clamp();
    m_tabs = new QTabWidget(this);

    auto* initialPage = new QWidget;
    m_height = CountSpinBox(initialPage, "initialHeight", 1, kMaxShafts, m_initial.initialHeight);
    m_base = CountSpinBox(initialPage, "initialBase", 0, kMaxShafts, m_initial.initialBase);
    m_width = CountSpinBox(initialPage, "initialWidth", 1, kMaxShafts, m_initial.initialWidth);
    auto* fromButton = new QPushButton(QStringLiteral("from Weave Structure"), initialPage);
    fromButton->setObjectName(QStringLiteral("fromStructure"));
    connect(fromButton, &QPushButton::clicked, this, [this] {
        NetworkSettings s = settings();
        if (m_fromStructure && m_fromStructure(s)) display(s);
    });
    auto* f1 = new QFormLayout;
    f1->addRow(QStringLiteral("Height:"), withUnit(m_height, QStringLiteral("shafts")));
    f1->addRow(QStringLiteral("Base:"), withUnit(m_base, QStringLiteral("shafts")));
    f1->addRow(QStringLiteral("Width:"), withUnit(m_width, QStringLiteral("ends")));
    auto* v1 = new QVBoxLayout(initialPage);
    v1->addLayout(f1);
    v1->addWidget(fromButton, 0, Qt::AlignLeft);
    v1->addStretch();
    m_tabs->addTab(initialPage, QStringLiteral("Size of the Initial"));

    auto* networkPage = new QWidget;
    m_networkHeight = CountSpinBox(networkPage, "networkHeight", 1, kMaxShafts, m_initial.height);
    m_length = CountSpinBox(networkPage, "networkLength", 1, kMaxThreads, m_initial.length);
    auto* f2 = new QFormLayout;
    f2->addRow(QStringLiteral("Height:"), withUnit(m_networkHeight, QStringLiteral("shafts")));
    f2->addRow(QStringLiteral("Length:"), withUnit(m_length, QStringLiteral("ends in a repeat")));
    auto* v2 = new QVBoxLayout(networkPage);
    v2->addLayout(f2);
    v2->addStretch();
    m_tabs->addTab(networkPage, QStringLiteral("Size of the Network"));

    auto* methodPage = new QWidget;
    m_digitize = new QRadioButton(QStringLiteral("Digitize"), methodPage);
    m_digitize->setObjectName(QStringLiteral("digitize"));
    m_telescope = new QRadioButton(QStringLiteral("Telescope"), methodPage);
    m_telescope->setObjectName(QStringLiteral("telescope"));
    auto* group = new QButtonGroup(methodPage);
    group->addButton(m_digitize);
    group->addButton(m_telescope);
    m_shaftRule = new QCheckBox(QStringLiteral("Shaft Rule"), methodPage);
    m_shaftRule->setObjectName(QStringLiteral("shaftRule"));
    auto* v3 = new QVBoxLayout(methodPage);
    v3->addWidget(m_digitize);
    v3->addWidget(m_telescope);
    v3->addSpacing(8);
    v3->addWidget(m_shaftRule);
    v3->addStretch();
    m_tabs->addTab(methodPage, QStringLiteral("Scaling Method"));

    auto* v = new QVBoxLayout(this);
    v->addWidget(m_tabs);
    v->addWidget(OkCancelButtons(this));
    display(m_initial);
}

void CPatternLineSheet::display(const NetworkSettings& s)
{
    m_height->setValue(s.initialHeight);
    m_base->setValue(s.initialBase);
    m_width->setValue(s.initialWidth);
    m_networkHeight->setValue(s.height);
    m_length->setValue(s.length);
    (s.telescope ? m_telescope : m_digitize)->setChecked(true);
    m_shaftRule->setChecked(s.shaftRule);
}

NetworkSettings CPatternLineSheet::settings() const
{
    NetworkSettings s = m_initial;
    s.initialHeight = m_height->value();
    s.initialBase = m_base->value();
    s.initialWidth = m_width->value();
    s.height = m_networkHeight->value();
    s.length = m_length->value();
    s.telescope = m_telescope->isChecked();
    s.shaftRule = m_shaftRule->isChecked();
    return s;
}

void CPatternLineSheet::accept()
{
    const std::string problem = ScaleSettingsProblem(settings());
    if (!problem.empty()) {
        if (m_tell) m_tell(QString::fromStdString(problem));
        return;
    }
    QDialog::accept();
}

CPlotNetworkDialog::CPlotNetworkDialog(const NetworkSettings& initial, std::function<QString()> browse, QWidget* parent)
    : QDialog(parent)
    , m_initial(initial)
    , m_browse(std::move(browse))
{
    setObjectName(QStringLiteral("plotNetworkDialog"));
    setWindowTitle(QStringLiteral("Plot onto Network"));
    m_initial.clamp();
    m_file = new QLabel(this);
    m_file->setObjectName(QStringLiteral("structureTitle"));
    m_file->setMinimumWidth(180);
    m_file->setFrameShape(QFrame::StyledPanel);
    auto* browseButton = new QPushButton(QStringLiteral("Browse"), this);
    browseButton->setObjectName(QStringLiteral("browse"));
    connect(browseButton, &QPushButton::clicked, this, [this] {
        const QString path = m_browse ? m_browse() : QString();
        if (!path.isEmpty()) setStructurePath(path);
    });
    m_height = CountSpinBox(this, "networkHeight", 1, kMaxShafts, m_initial.height);
    m_ribbon = CountSpinBox(this, "ribbonWidth", 1, kMaxShafts, std::min(m_initial.ribbonWidth, kMaxShafts));
    m_template = new QCheckBox(QStringLiteral("Use ribbon template"), this);
    m_template->setObjectName(QStringLiteral("useTemplate"));
    m_template->setChecked(m_initial.useRibbonTemplate);
    m_fillRibbon = new QCheckBox(QStringLiteral("Ribbon"), this);
    m_fillRibbon->setObjectName(QStringLiteral("fillRibbon"));
    m_fillRibbon->setChecked(m_initial.fillRibbon);
    m_fillBackground = new QCheckBox(QStringLiteral("Background"), this);
    m_fillBackground->setObjectName(QStringLiteral("fillBackground"));
    m_fillBackground->setChecked(m_initial.fillBackground);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(browseButton);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Weave structure:"), fileRow);
    form->addRow(QStringLiteral("Height of network:"), withUnit(m_height, QString()));
    form->addRow(QStringLiteral("Ribbon width:"), withUnit(m_ribbon, QString()));
    auto* fill = new QGroupBox(QStringLiteral("Fill:"), this);
    auto* fillRow = new QHBoxLayout(fill);
    fillRow->addWidget(m_fillRibbon);
    fillRow->addWidget(m_fillBackground);
    fillRow->addStretch();
    auto* v = new QVBoxLayout(this);
    v->addLayout(form);
    v->addWidget(m_template);
    v->addWidget(fill);
    v->addWidget(OkCancelButtons(this));
    setStructurePath(QString::fromLocal8Bit(m_initial.structurePath.c_str()));
}

void CPlotNetworkDialog::setStructurePath(const QString& path)
{
    m_path = path;
    m_file->setText(path.isEmpty() ? QString() : QFileInfo(path).fileName());
    m_file->setToolTip(path);
}

NetworkSettings CPlotNetworkDialog::settings() const
{
    NetworkSettings s = m_initial;
    s.structurePath = m_path.toLocal8Bit().toStdString();
    s.height = m_height->value();
    s.ribbonWidth = m_ribbon->value();
    s.useRibbonTemplate = m_template->isChecked();
    s.fillRibbon = m_fillRibbon->isChecked();
    s.fillBackground = m_fillBackground->isChecked();
    return s;
}

CRibbonWidthDialog::CRibbonWidthDialog(int initial, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ribbonWidthDialog"));
    setWindowTitle(QStringLiteral("Ribbon Width"));
    m_width = CountSpinBox(this, "ribbonWidth", kMinRibbonTemplateWidth, kMaxRibbonWidth,
                           std::clamp(initial, kMinRibbonTemplateWidth, kMaxRibbonWidth));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Ribbon width:"), m_width);
    auto* v = new QVBoxLayout(this);
    v->addLayout(form);
    v->addWidget(OkCancelButtons(this));
}

int CRibbonWidthDialog::width() const
{
    return m_width->value();
}

} // namespace qb
