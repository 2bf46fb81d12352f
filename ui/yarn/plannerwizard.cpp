#include "ui/yarn/plannerwizard.h"

#include "ui/base/dialogparts.h"
#include "ui/yarn/densitycalculatordialog.h"
#include "ui/yarn/materialpage.h"
#include "ui/yarn/piecespicturewidget.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

namespace qb {

namespace {

// Stored as 16-bit numbers in the draft.
constexpr int kMaxLengthCount = 32766;

QString word(std::string_view w)
{
    return QString::fromLatin1(w.data(), int(w.size()));
}

} // namespace

CPlannerPage::CPlannerPage(PlannerSession& session, MeasureSystem system, QWidget* parent)
    : QWizardPage(parent)
    , m_session(session)
    , m_system(system)
{}

QLineEdit* CPlannerPage::lengthField(const char* name, double PlanInputs::*field)
{
    auto* e = new QLineEdit(this);
    e->setObjectName(QLatin1String(name));
    // Only typing changes the value: what a field shows rounded stays exact.
    connect(e, &QLineEdit::textEdited, this, [this, field](const QString& t) {
        in().*field = std::max(0.0, ReadNumber(t));
        showResults();
    });
    return e;
}

QLineEdit* CPlannerPage::resultField(const char* name)
{
    auto* e = new QLineEdit(this);
    e->setObjectName(QLatin1String(name));
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}

QLabel* CPlannerPage::unit(std::string_view w)
{
    return new QLabel(word(w), this);
}

// --- Finished Dimensions ---------------------------------------------------

CFinishedDimensions::CFinishedDimensions(PlannerSession& session, MeasureSystem system, QWidget* parent)
    : CPlannerPage(session, system, parent)
{
    setTitle(QStringLiteral("Finished Dimensions"));
    m_width = lengthField("itemWidth", &PlanInputs::itemWidth);
    m_length = lengthField("itemLength", &PlanInputs::itemLength);
    m_onWeft = CountSpinBox(this, "itemsOnWeft", 1, 25, 1);
    m_onWarp = CountSpinBox(this, "itemsOnWarp", 1, 50, 1);
    m_betweenWeft = lengthField("betweenItemsWeft", &PlanInputs::betweenItemsWeft);
    m_betweenWarp = lengthField("betweenItemsWarp", &PlanInputs::betweenItemsWarp);
    m_picture = new CPiecesPicture(this);
    connect(m_onWeft, &QSpinBox::valueChanged, this, [this](int v) {
        in().itemsOnWeft = v;
        showResults();
    });
    connect(m_onWarp, &QSpinBox::valueChanged, this, [this](int v) {
        in().itemsOnWarp = v;
        showResults();
    });

    const std::string_view small = SmallLengthWord(system);
    auto group = [this, small](const char* title, const char* a, QWidget* fa, const char* b, QWidget* fb, bool units) {
        auto* box = new QGroupBox(QString::fromLatin1(title), this);
        auto* g = new QGridLayout(box);
        g->addWidget(new QLabel(QString::fromLatin1(a), box), 0, 0);
        g->addWidget(fa, 0, 1);
        g->addWidget(new QLabel(QString::fromLatin1(b), box), 1, 0);
        g->addWidget(fb, 1, 1);
        if (units) {
            g->addWidget(unit(small), 0, 2);
            g->addWidget(unit(small), 1, 2);
        }
        return box;
    };
    auto* fields = new QVBoxLayout;
    fields->addWidget(group("Each Piece", "Width:", m_width, "Length:", m_length, true));
    fields->addWidget(group("Number of Pieces", "On Weft:", m_onWeft, "On Warp:", m_onWarp, false));
    fields->addWidget(group("Between Pieces", "On Weft:", m_betweenWeft, "On Warp:", m_betweenWarp, true));
    fields->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_picture, 1);
}

void CFinishedDimensions::load()
{
    const PlanInputs& p = in();
    m_width->setText(OneDecimal(p.itemWidth));
    m_length->setText(OneDecimal(p.itemLength));
    {
        const QSignalBlocker a(m_onWeft), b(m_onWarp);
        m_onWeft->setValue(p.itemsOnWeft);
        m_onWarp->setValue(p.itemsOnWarp);
    }
    // Counts from a file outside what the page accepts are brought in.
    in().itemsOnWeft = m_onWeft->value();
    in().itemsOnWarp = m_onWarp->value();
    m_betweenWeft->setText(OneDecimal(p.betweenItemsWeft));
    m_betweenWarp->setText(OneDecimal(p.betweenItemsWarp));
}

void CFinishedDimensions::showResults()
{
    m_picture->setPlan(in());
}

// --- Woven Dimensions ------------------------------------------------------

CWovenDimensions::CWovenDimensions(PlannerSession& session, MeasureSystem system, QWidget* parent)
    : CPlannerPage(session, system, parent)
{
    setTitle(QStringLiteral("Woven Dimensions"));
    m_width = resultField("totalWidth");
    m_drawIn = lengthField("drawIn", &PlanInputs::drawIn);
    m_shrinkWidth = CountSpinBox(this, "shrinkageWidth", 0, 100, 0);
    m_widthInReed = resultField("widthInReed");
    m_length = resultField("totalLength");
    m_takeUp = CountSpinBox(this, "takeUp", 0, 100, 0);
    m_shrinkLength = CountSpinBox(this, "shrinkageLength", 0, 100, 0);
    m_loomWaste = CountSpinBox(this, "loomWaste", 0, kMaxLengthCount, 0);
    m_sample = CountSpinBox(this, "sample", 0, kMaxLengthCount, 0);
    m_warpLength = resultField("warpLength");
    m_lengthUnit = new QComboBox(this);
    m_lengthUnit->setObjectName(QStringLiteral("lengthUnit"));
    m_lengthUnit->addItems({word(SmallLengthWord(system)), word(LargeLengthWord(system))});

    auto bind = [this](QSpinBox* s, auto setter) {
        connect(s, &QSpinBox::valueChanged, this, [this, setter](int v) {
            setter(in(), v);
            showResults();
        });
    };
    bind(m_shrinkWidth, [](PlanInputs& p, int v) { p.shrinkageWidth = v; });
    bind(m_takeUp, [](PlanInputs& p, int v) { p.takeUp = v; });
    bind(m_shrinkLength, [](PlanInputs& p, int v) { p.shrinkageLength = v; });
    bind(m_loomWaste, [](PlanInputs& p, int v) { p.loomWaste = v; });
    bind(m_sample, [](PlanInputs& p, int v) { p.sample = v; });
    connect(m_lengthUnit, &QComboBox::currentIndexChanged, this, [this](int i) {
        in().lengthUnit = i == 1 ? 1 : 0;
        showResults();
    });

    const std::string_view small = SmallLengthWord(system);
    auto* widthBox = new QGroupBox(QStringLiteral("Width"), this);
    auto* w = new QGridLayout(widthBox);
    int r = 0;
    auto row = [this](QGridLayout* g, int& r, const char* caption, QWidget* field, QWidget* after) {
        g->addWidget(new QLabel(QString::fromLatin1(caption), this), r, 0);
        g->addWidget(field, r, 1);
        if (after) g->addWidget(after, r, 2);
        ++r;
    };
    row(w, r, "Width:", m_width, unit(small));
    row(w, r, "Draw-in:", m_drawIn, unit(small));
    row(w, r, "Shrinkage:", m_shrinkWidth, new QLabel(QStringLiteral("%"), this));
    row(w, r, "Width in Reed:", m_widthInReed, unit(small));
    w->setRowStretch(r, 1);
    auto* lengthBox = new QGroupBox(QStringLiteral("Length"), this);
    auto* l = new QGridLayout(lengthBox);
    r = 0;
    row(l, r, "Length:", m_length, m_lengthUnit);
    row(l, r, "Take-up:", m_takeUp, new QLabel(QStringLiteral("%"), this));
    row(l, r, "Shrinkage:", m_shrinkLength, new QLabel(QStringLiteral("%"), this));
    row(l, r, "Loom Waste:", m_loomWaste, unit(small));
    row(l, r, "Sample:", m_sample, unit(small));
    row(l, r, "Warp Length:", m_warpLength, nullptr);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(widthBox);
    layout->addWidget(lengthBox);
}

void CWovenDimensions::load()
{
    const PlanInputs p = in();
    m_drawIn->setText(OneDecimal(p.drawIn));
    const QSignalBlocker b1(m_shrinkWidth), b2(m_takeUp), b3(m_shrinkLength), b4(m_loomWaste), b5(m_sample),
        b6(m_lengthUnit);
    m_shrinkWidth->setValue(p.shrinkageWidth);
    m_takeUp->setValue(p.takeUp);
    m_shrinkLength->setValue(p.shrinkageLength);
    m_loomWaste->setValue(int(p.loomWaste));
    m_sample->setValue(int(p.sample));
    m_lengthUnit->setCurrentIndex(p.lengthUnit == 1 ? 1 : 0);
    // Numbers from a file beyond what the fields take are brought in.
    in().shrinkageWidth = m_shrinkWidth->value();
    in().takeUp = m_takeUp->value();
    in().shrinkageLength = m_shrinkLength->value();
    if (in().loomWaste > m_loomWaste->maximum()) in().loomWaste = m_loomWaste->maximum();
    if (in().sample > m_sample->maximum()) in().sample = m_sample->maximum();
}

void CWovenDimensions::showResults()
{
    const PlanResults r = m_session.results();
    const int unit = in().lengthUnit == 1 ? 1 : 0;
    m_width->setText(OneDecimal(r.finished.totalWidth));
    m_widthInReed->setText(OneDecimal(r.woven.widthInReed));
    m_length->setText(OneDecimal(r.totalLengthIn(unit)));
    m_warpLength->setText(OneDecimal(r.warpLengthIn(unit)));
}

// --- The wizard ------------------------------------------------------------

CPlannerWizard::CPlannerWizard(PlannerSession& session, MeasureSystem system, CYarnCommands* yarns, QWidget* parent)
    : QWizard(parent)
    , m_session(session)
{
    setWindowTitle(QStringLiteral("Yarn Calculator"));
    setWizardStyle(QWizard::ClassicStyle);
    setOption(QWizard::NoBackButtonOnStartPage, true);
    addPage(new CFinishedDimensions(session, system, this));
    addPage(new CWovenDimensions(session, system, this));
    addPage(new CMaterialQuantity(session, system, yarns, CMaterialQuantity::Side::Warp, this));
    addPage(new CMaterialQuantity(session, system, yarns, CMaterialQuantity::Side::Weft, this));
    // A page shows the session's values and its figures whenever it becomes
    // active, as the values of the other pages may have changed meanwhile.
    connect(this, &QWizard::currentIdChanged, this, [this](int id) {
        if (CPlannerPage* p = plannerPage(id)) {
            p->load();
            p->showResults();
        }
    });
}

CPlannerPage* CPlannerWizard::plannerPage(int id) const
{
    return qobject_cast<CPlannerPage*>(page(id));
}

} // namespace qb
