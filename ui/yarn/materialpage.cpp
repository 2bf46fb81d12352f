#include "ui/yarn/materialpage.h"

#include "ui/base/dialogparts.h"
#include "ui/yarn/densitycalculatordialog.h"
#include "ui/yarn/yarncommands.h"

#include "core/yarn/yarndoc.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <limits>

namespace qb {

namespace {

// The draft keeps a yarn name of up to 40 characters.
constexpr int kPlanYarnChars = 40;

std::uint32_t densityOf(const QString& t)
{
    const double v = ReadNumber(t);
    if (!(v > 0)) return 0;
    return v >= double(std::numeric_limits<std::uint32_t>::max()) ? std::numeric_limits<std::uint32_t>::max()
                                                                  : static_cast<std::uint32_t>(v);
}

} // namespace

CMaterialQuantity::CMaterialQuantity(PlannerSession& session, MeasureSystem system, CYarnCommands* yarns, Side side,
                                     QWidget* parent)
    : CPlannerPage(session, system, parent)
    , m_side(side)
    , m_yarns(yarns)
{
    setTitle(warp() ? QStringLiteral("Warp") : QStringLiteral("Weft"));
    m_yarn = new CYarnComboBox(this);
    m_yarn->setObjectName(QStringLiteral("yarn"));
    m_yarn->setEditable(true);
    m_yarn->setInsertPolicy(QComboBox::NoInsert);
    m_yarn->lineEdit()->setMaxLength(kPlanYarnChars);
    m_sett = new QLineEdit(this);
    m_sett->setObjectName(warp() ? QStringLiteral("sett") : QStringLiteral("beat"));
    m_density = new QLineEdit(this);
    m_density->setObjectName(QStringLiteral("density"));
    m_count = warp() ? new QLineEdit(this) : resultField("picks");
    if (warp()) m_count->setObjectName(QStringLiteral("ends"));
    m_quantity = resultField("quantity");
    m_quantityUnit = new QComboBox(this);
    m_quantityUnit->setObjectName(QStringLiteral("quantityUnit"));
    m_quantityUnit->addItems({QStringLiteral("yd"), QStringLiteral("m")});
    m_weight = resultField("weight");
    m_weightUnit = new QComboBox(this);
    m_weightUnit->setObjectName(QStringLiteral("weightUnit"));
    m_weightUnit->addItems({QStringLiteral("lb"), QStringLiteral("oz"), QStringLiteral("kg"), QStringLiteral("g")});
    m_openDatabase = new QPushButton(QStringLiteral("Open Yarn Database"), this);
    m_openDatabase->setObjectName(QStringLiteral("openYarnDatabase"));
    m_calculator = new QPushButton(QStringLiteral("Density Calculator"), this);
    m_calculator->setObjectName(QStringLiteral("densityCalculator"));

    connect(m_yarn, &CYarnComboBox::aboutToShowPopup, this, &CMaterialQuantity::refillYarns);
    connect(m_yarn, &QComboBox::activated, this, &CMaterialQuantity::chooseYarn);
    connect(m_yarn->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& t) { (warp() ? in().warpYarn : in().weftYarn) = t.toStdString(); });
    connect(m_sett, &QLineEdit::textEdited, this, [this](const QString& t) {
        (warp() ? in().sett : in().beat) = std::max(0.0, ReadNumber(t));
        showResults();
    });
    connect(m_density, &QLineEdit::textEdited, this, [this](const QString& t) {
        (warp() ? in().warpDensity : in().weftDensity) = densityOf(t);
        showResults();
    });
    if (warp())
        connect(m_count, &QLineEdit::textEdited, this, [this](const QString& t) {
            m_session.setEnds(static_cast<long long>(std::max(0.0, ReadNumber(t))));
            m_typingEnds = true;
            showResults();
            m_typingEnds = false;
        });
    connect(m_quantityUnit, &QComboBox::currentIndexChanged, this, [this](int i) {
        (warp() ? in().warpQuantityUnit : in().weftQuantityUnit) = i;
        showResults();
    });
    connect(m_weightUnit, &QComboBox::currentIndexChanged, this, [this](int i) {
        (warp() ? in().warpWeightUnit : in().weftWeightUnit) = i;
        showResults();
    });
    connect(m_openDatabase, &QPushButton::clicked, this, &CMaterialQuantity::openYarnDatabase);
    connect(m_calculator, &QPushButton::clicked, this, &CMaterialQuantity::runDensityCalculator);

    auto* g = new QGridLayout(this);
    int r = 0;
    auto row = [&](const QString& caption, QWidget* field, QWidget* after) {
        g->addWidget(new QLabel(caption, this), r, 0);
        g->addWidget(field, r, 1);
        if (after) g->addWidget(after, r, 2);
        ++r;
    };
    row(QStringLiteral("Yarn:"), m_yarn, nullptr);
    row(warp() ? QStringLiteral("Sett:") : QStringLiteral("Beat:"), m_sett,
        unit(warp() ? SettWord(system) : BeatWord(system)));
    row(QStringLiteral("Density:"), m_density, unit(DensityWord(system)));
    row(warp() ? QStringLiteral("Number of Ends:") : QStringLiteral("Number of Picks:"), m_count, nullptr);
    row(QStringLiteral("Quantity:"), m_quantity, m_quantityUnit);
    row(QStringLiteral("Weight:"), m_weight, m_weightUnit);
    g->addWidget(m_openDatabase, r, 1);
    g->addWidget(m_calculator, r + 1, 1);
    g->setRowStretch(r + 2, 1);
    g->setColumnStretch(1, 1);
}

CYarnDoc* CMaterialQuantity::database() const
{
    return m_yarns ? m_yarns->loadedDatabase() : nullptr;
}

void CMaterialQuantity::initializePage()
{
    // The yarn lists need the application's database: loaded on first use,
    // asked about once (the Warp page comes first).
    if (m_yarns && warp()) m_yarns->database();
    refillYarns();
}

void CMaterialQuantity::refillYarns()
{
    const QString typed = m_yarn->currentText();
    const QSignalBlocker block(m_yarn);
    m_yarn->clear();
    if (const CYarnDoc* db = database())
        for (int i = 0; i < db->count(); ++i) m_yarn->addItem(QString::fromUtf8(db->yarn(i).DisplayName()));
    m_yarn->setCurrentIndex(-1);
    m_yarn->setEditText(typed);
    m_openDatabase->setEnabled(database() != nullptr);
}

void CMaterialQuantity::chooseYarn(int index)
{
    const CYarnDoc* db = database();
    if (!db || index < 0 || index >= db->count()) return;
    if (warp()) m_session.applyWarpYarn(db->yarn(index));
    else m_session.applyWeftYarn(db->yarn(index));
    load();
    showResults();
}

void CMaterialQuantity::openYarnDatabase()
{
    if (!m_yarns) return;
    m_yarns->showDatabaseDialog();
    refillYarns();
    const CYarnDoc* db = database();
    const int chosen = db ? db->indexOf(db->selected()) : -1;
    if (chosen < 0) return;
    m_yarn->setCurrentIndex(chosen);
    chooseYarn(chosen);
}

void CMaterialQuantity::runDensityCalculator()
{
    CDensityCalculatorDialog calc(m_system, this);
    if (!RunDialog(calc)) return;
    (warp() ? in().warpDensity : in().weftDensity) = calc.densityForSystem();
    m_density->setText(QString::number(calc.densityForSystem()));
    showResults();
}

void CMaterialQuantity::load()
{
    const PlanInputs& p = in();
    const QString name = QString::fromUtf8(warp() ? p.warpYarn : p.weftYarn);
    if (m_yarn->currentText() != name) m_yarn->setEditText(name);
    m_sett->setText(QString::number(ShownSett(warp() ? p.sett : p.beat)));
    m_density->setText(QString::number(warp() ? p.warpDensity : p.weftDensity));
    const QSignalBlocker b1(m_quantityUnit), b2(m_weightUnit);
    m_quantityUnit->setCurrentIndex(int(QuantityUnitOf(warp() ? p.warpQuantityUnit : p.weftQuantityUnit)));
    m_weightUnit->setCurrentIndex(int(WeightUnitOf(warp() ? p.warpWeightUnit : p.weftWeightUnit)));
}

void CMaterialQuantity::showResults()
{
    const PlanResults r = m_session.results();
    const PlanInputs& p = in();
    const YarnAmount& amount = warp() ? r.warp : r.weft;
    if (!m_typingEnds) m_count->setText(QString::number(warp() ? r.ends : r.picks));
    const int qUnit = warp() ? p.warpQuantityUnit : p.weftQuantityUnit;
    const int wUnit = warp() ? p.warpWeightUnit : p.weftWeightUnit;
    m_quantity->setText(QString::number(ShownQuantity(amount, qUnit)));
    m_weight->setText(OneDecimal(ShownWeight(amount, wUnit)));
}

} // namespace qb
