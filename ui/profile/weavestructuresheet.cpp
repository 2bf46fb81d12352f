#include "ui/profile/weavestructuresheet.h"

#include "ui/base/dialogparts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace qb {

namespace {

constexpr int kMaxCount = 65535;

QCheckBox* check(QWidget* parent, const char* name, const QString& text, bool on)
{
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(QLatin1String(name));
    c->setChecked(on);
    return c;
}

QComboBox* twoWay(QWidget* parent, const QString& name, const QString& first, const QString& second, bool secondOn)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->addItems({first, second});
    c->setCurrentIndex(secondOn ? 1 : 0);
    return c;
}

QHBoxLayout* row(std::initializer_list<QWidget*> widgets)
{
    auto* h = new QHBoxLayout;
    for (QWidget* w : widgets) h->addWidget(w);
    h->addStretch();
    return h;
}

} // namespace

// --- the key picture ---

CTieupKeyPicture::CTieupKeyPicture(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("keyPicture"));
    setMinimumSize(60, 60);
}

void CTieupKeyPicture::setKey(const std::optional<TieupKey>& key, int shafts, int treadles,
                              const BlockSubstitutionParams& p, bool editable)
{
    m_key = key;
    m_shafts = std::max(0, shafts);
    m_treadles = std::max(0, treadles);
    m_params = p;
    m_editable = editable;
    setCursor(editable ? Qt::PointingHandCursor : Qt::ArrowCursor);
    updateGeometry();
    update();
}

int CTieupKeyPicture::cellSize() const
{
    if (m_shafts < 1 || m_treadles < 1) return 12;
    const int fit = std::min((width() - 20) / m_treadles, (height() - 2) / m_shafts);
    return std::clamp(fit, 4, 16);
}

QSize CTieupKeyPicture::sizeHint() const
{
    return {std::max(60, 20 + 14 * m_treadles + 2), std::max(60, 14 * m_shafts + 2)};
}

QRect CTieupKeyPicture::cellRect(int treadle, int shaft) const
{
    const int c = cellSize();
    // Shaft 1 at the bottom, as in the tieup pane; letters on the left.
    return {20 + treadle * c, 1 + (m_shafts - shaft) * c, c, c};
}

bool CTieupKeyPicture::cellAt(QPoint pos, int& treadle, int& shaft) const
{
    const int c = cellSize();
    if (pos.x() < 20 || pos.y() < 1) return false;
    treadle = (pos.x() - 20) / c;
    shaft = m_shafts - (pos.y() - 1) / c;
    return treadle >= 0 && treadle < m_treadles && shaft >= 1 && shaft <= m_shafts;
}

void CTieupKeyPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), isEnabled() ? palette().base() : palette().window());
    if (m_shafts < 1 || m_treadles < 1) return;
    const QColor line = isEnabled() ? QColor(128, 128, 128) : QColor(190, 190, 190);
    const QColor ink = isEnabled() ? QColor(0, 0, 0) : QColor(150, 150, 150);
    for (int t = 0; t < m_treadles; ++t)
        for (int s = 1; s <= m_shafts; ++s) {
            const QRect r = cellRect(t, s);
            p.setPen(line);
            p.drawRect(r.adjusted(0, 0, -1, -1));
            if (m_key && m_key->cell(t, s)) p.fillRect(r.adjusted(2, 2, -2, -2), ink);
        }
    // Heavy lines where the tiedown shafts end and each block's shafts end,
    // with the block's letter beside its rows.
    const int ts = std::max(0, m_params.tiedownShafts), ps = m_params.patternShaftsPerBlock;
    const int right = cellRect(m_treadles - 1, 1).right();
    p.setPen(QPen(ink, 2));
    auto boundary = [&](int shaft) {
        if (shaft < 1 || shaft >= m_shafts) return;
        const int y = cellRect(0, shaft).top();
        p.drawLine(20, y, right, y);
    };
    boundary(ts);
    QFont f = font();
    f.setPixelSize(std::max(8, std::min(12, cellSize())));
    p.setFont(f);
    for (int block = 1; ps > 0 && ts + (block - 1) * ps + 1 <= m_shafts; ++block) {
        const int top = std::min(m_shafts, ts + block * ps);
        p.setPen(QPen(ink, 2));
        boundary(top);
        const QRect rows = cellRect(0, top).united(cellRect(0, ts + (block - 1) * ps + 1));
        p.setPen(ink);
        p.drawText(QRect(0, rows.top(), 18, rows.height()), Qt::AlignCenter, QString(QLatin1Char(BlockLetter(block))));
    }
}

void CTieupKeyPicture::mousePressEvent(QMouseEvent* e)
{
    int t = 0, s = 0;
    if (m_editable && e->button() == Qt::LeftButton && cellAt(e->position().toPoint(), t, s)) emit cellClicked(t, s);
}

// --- the sheet ---

CWeaveStructureSheet::CWeaveStructureSheet(const CQuillabyDoc& doc, QWidget* parent) : QDialog(parent), m_edit(doc)
{
    setObjectName(QStringLiteral("weaveStructureSheet"));
    setWindowTitle(QStringLiteral("Weave Structure"));
    m_tabs = new QTabWidget(this);
    m_tabs->addTab(makeParametersPage(), QStringLiteral("Parameters"));
    m_tabs->addTab(makeAdvancedPage(), QStringLiteral("Advanced"));
    m_tabs->addTab(makeColorPage(), QStringLiteral("Color"));
    m_tabs->addTab(makeTieupsPage(), QStringLiteral("Tieups"));
    auto* v = new QVBoxLayout(this);
    v->addWidget(m_tabs);
    v->addWidget(OkCancelButtons(this));
    load(m_edit.initial());

    // Every control that a rule reads makes the sheet follow.
    for (QSpinBox* s : findChildren<QSpinBox*>())
        connect(s, qOverload<int>(&QSpinBox::valueChanged), this, &CWeaveStructureSheet::follow);
    for (QCheckBox* c : findChildren<QCheckBox*>())
        if (c != m_valid) connect(c, &QCheckBox::toggled, this, &CWeaveStructureSheet::follow);
    for (QComboBox* c : findChildren<QComboBox*>())
        connect(c, qOverload<int>(&QComboBox::currentIndexChanged), this, &CWeaveStructureSheet::follow);
    connect(m_oddEven, &QCheckBox::clicked, this, [this](bool on) { m_oddEvenWanted = on; });
    connect(m_tabs, &QTabWidget::currentChanged, this, &CWeaveStructureSheet::follow);
    follow();
}

CWeaveStructureSheet::~CWeaveStructureSheet() = default;

QWidget* CWeaveStructureSheet::makeParametersPage()
{
    auto* page = new QWidget;
    m_blocks = CountSpinBox(page, "numBlocks", 2, 8, 2);
    m_ends = CountSpinBox(page, "endsPerBlock", 1, kMaxCount, 1);
    m_picks = CountSpinBox(page, "picksPerBlock", 1, kMaxCount, 1);
    m_patternShafts = CountSpinBox(page, "patternShafts", 1, 64, 1);
    m_patternTreadles = CountSpinBox(page, "patternTreadles", 1, 128, 1);
    m_tiedownShafts = CountSpinBox(page, "tiedownShafts", 0, 64, 0);
    m_tiedownTreadles = CountSpinBox(page, "tiedownTreadles", 0, 128, 0);
    m_skeleton = check(page, "skeletonTieup", QStringLiteral("Skeleton Tieup"), false);
    m_combinations = check(page, "allowCombinations", QStringLiteral("Allow Tieup Combinations"), true);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Number of blocks:"), m_blocks);
    form->addRow(QStringLiteral("Ends per block:"), m_ends);
    form->addRow(QStringLiteral("Picks per block:"), m_picks);
    form->addRow(QStringLiteral("Pattern shafts per block:"), m_patternShafts);
    form->addRow(QStringLiteral("Pattern treadles per block:"), m_patternTreadles);
    form->addRow(QStringLiteral("Tiedown shafts:"), m_tiedownShafts);
    form->addRow(QStringLiteral("Tiedown treadles:"), m_tiedownTreadles);
    auto* v = new QVBoxLayout(page);
    v->addLayout(form);
    v->addWidget(m_skeleton);
    v->addWidget(m_combinations);
    v->addStretch();
    return page;
}

QWidget* CWeaveStructureSheet::makeSideGroup(const QString& title, const char* prefix, const QString& threads,
                                             const QString& units, SideControls& c)
{
    auto* box = new QGroupBox(title);
    const QString pre = QLatin1String(prefix);
    c.turning = CountSpinBox(box, (pre + QStringLiteral("Turning")).toLatin1().constData(), 0, kMaxCount - 1, 0);
    c.turningChoice =
        twoWay(box, pre + QStringLiteral("TurningChoice"), QStringLiteral("added"), QStringLiteral("overlapped"), true);
    c.transition = CountSpinBox(box, (pre + QStringLiteral("Transition")).toLatin1().constData(), 0, kMaxCount - 1, 0);
    c.transitionChoice = twoWay(box, pre + QStringLiteral("TransitionChoice"), QStringLiteral("added"),
                                QStringLiteral("overlapped"), true);
    c.flip = check(box, (pre + QStringLiteral("Flip")).toLatin1().constData(),
                   QStringLiteral("Flip transition blocks to"), false);
    c.flipChoice = twoWay(box, pre + QStringLiteral("FlipChoice"), QStringLiteral("alternate tiedown"),
                          QStringLiteral("share the same"), false);
    auto* g = new QGridLayout(box);
    g->addWidget(new QLabel(QStringLiteral("Balance turning blocks by "), box), 0, 0);
    g->addWidget(c.turning, 0, 1);
    g->addWidget(new QLabel(threads, box), 0, 2);
    g->addWidget(c.turningChoice, 0, 3);
    g->addWidget(new QLabel(QStringLiteral("Balance transition blocks by "), box), 1, 0);
    g->addWidget(c.transition, 1, 1);
    g->addWidget(new QLabel(threads, box), 1, 2);
    g->addWidget(c.transitionChoice, 1, 3);
    g->addWidget(c.flip, 2, 0);
    g->addWidget(c.flipChoice, 2, 1, 1, 2);
    g->addWidget(new QLabel(units, box), 2, 3);
    g->setColumnStretch(4, 1);
    return box;
}

QWidget* CWeaveStructureSheet::makeAdvancedPage()
{
    auto* page = new QWidget;
    m_repeatable = check(page, "repeatableUnits", QStringLiteral("Repeatable units"), true);
    m_sequential = check(page, "sequentialOrder", QStringLiteral("Sequential block order"), false);
    m_fixed = check(page, "fixedBlocks", QStringLiteral("Fixed number of blocks"), false);
    m_oddEven = check(page, "oddEvenTiedowns", QStringLiteral("Enforce odd-even tiedowns"), false);
    m_adjacent = check(page, "adjacentKeys", QStringLiteral("Adjacent tieup keys cannot be combined"), false);
    auto* v = new QVBoxLayout(page);
    auto* top = new QGridLayout;
    top->addWidget(m_repeatable, 0, 0);
    top->addWidget(m_sequential, 1, 0);
    top->addWidget(m_fixed, 2, 0);
    top->addWidget(m_oddEven, 0, 1);
    top->addWidget(m_adjacent, 1, 1);
    v->addLayout(top);
    v->addWidget(makeSideGroup(QStringLiteral("Threading"), "threading", QStringLiteral("ends"),
                               QStringLiteral("shafts"), m_threading));
    v->addWidget(makeSideGroup(QStringLiteral("Treadling"), "treadling", QStringLiteral("picks"),
                               QStringLiteral("treadles"), m_treadling));
    v->addStretch();
    return page;
}

QWidget* CWeaveStructureSheet::makeColorPage()
{
    auto* page = new QWidget;
    m_designColors = check(page, "designColors", QStringLiteral("Use color from design"), true);
    m_alternate = check(page, "alternateColors", QStringLiteral("Alternate colors"), false);
    m_exceptWarp = check(page, "exceptWarpTiedowns", QStringLiteral("Except warp tiedowns "), false);
    m_exceptWeft = check(page, "exceptWeftTiedowns", QStringLiteral("Except weft tiedowns "), false);
    m_bars = CountSpinBox(page, "additionalBars", 0, kMaxAdditionalColorBars, 0);
    m_barsWarp = new QRadioButton(QStringLiteral("warp"), page);
    m_barsWarp->setObjectName(QStringLiteral("barsInWarp"));
    m_barsWeft = new QRadioButton(QStringLiteral("weft"), page);
    m_barsWeft->setObjectName(QStringLiteral("barsInWeft"));
    auto* group = new QButtonGroup(page);
    group->addButton(m_barsWarp);
    group->addButton(m_barsWeft);
    m_barsWarp->setChecked(true);
    connect(m_barsWeft, &QRadioButton::toggled, this, &CWeaveStructureSheet::follow);
    auto* v = new QVBoxLayout(page);
    v->addWidget(m_designColors);
    auto* inner = new QVBoxLayout;
    inner->setContentsMargins(20, 0, 0, 0);
    inner->addWidget(m_alternate);
    inner->addWidget(m_exceptWarp);
    inner->addWidget(m_exceptWeft);
    inner->addLayout(row({new QLabel(QStringLiteral("Additional colorbars:"), page), m_bars,
                          new QLabel(QStringLiteral("in the:"), page), m_barsWarp, m_barsWeft}));
    v->addLayout(inner);
    v->addStretch();
    return page;
}

QWidget* CWeaveStructureSheet::makeTieupsPage()
{
    auto* page = new QWidget;
    m_automatic = check(page, "automaticKeys", QStringLiteral("Automatically generated"), true);
    m_blockList = new QListWidget(page);
    m_blockList->setObjectName(QStringLiteral("blockList"));
    m_blockList->setSelectionMode(QAbstractItemView::MultiSelection);
    m_blockList->setMaximumWidth(70);
    for (int k = 1; k <= std::clamp(m_edit.initial().numBlocks, 2, 8); ++k)
        m_blockList->addItem(QString(QLatin1Char(BlockLetter(k))));
    m_keyPicture = new CTieupKeyPicture(page);
    m_keyCaption = new QLabel(page);
    m_keyCaption->setObjectName(QStringLiteral("keyCaption"));
    m_valid = check(page, "validCombination", QStringLiteral("Valid combination"), false);
    m_allValid = new QPushButton(QStringLiteral("Make all valid"), page);
    m_allValid->setObjectName(QStringLiteral("makeAllValid"));
    connect(m_blockList, &QListWidget::itemSelectionChanged, this, &CWeaveStructureSheet::showKey);
    connect(m_keyPicture, &CTieupKeyPicture::cellClicked, this, &CWeaveStructureSheet::toggleCell);
    connect(m_valid, &QCheckBox::clicked, this, &CWeaveStructureSheet::setValid);
    connect(m_allValid, &QPushButton::clicked, this, &CWeaveStructureSheet::toggleAllValid);
    auto* keyColumn = new QVBoxLayout;
    keyColumn->addWidget(m_keyCaption);
    keyColumn->addWidget(m_keyPicture, 1);
    keyColumn->addWidget(m_valid);
    auto* h = new QHBoxLayout;
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(new QLabel(QStringLiteral("Blocks:"), page));
    listColumn->addWidget(m_blockList, 1);
    h->addLayout(listColumn);
    h->addLayout(keyColumn, 1);
    auto* v = new QVBoxLayout(page);
    v->addWidget(m_automatic);
    v->addLayout(h, 1);
    v->addLayout(row({m_allValid}));
    return page;
}

void CWeaveStructureSheet::load(const BlockSubstitutionParams& p)
{
    m_following = true;
    m_blocks->setValue(p.numBlocks);
    m_ends->setValue(p.endsPerBlock);
    m_picks->setValue(p.picksPerBlock);
    m_patternShafts->setValue(p.patternShaftsPerBlock);
    m_patternTreadles->setValue(p.patternTreadlesPerBlock);
    m_tiedownShafts->setValue(p.tiedownShafts);
    m_tiedownTreadles->setValue(p.tiedownTreadles);
    m_skeleton->setChecked(p.skeletonTieup);
    m_combinations->setChecked(p.allowTieupCombinations);
    m_repeatable->setChecked(p.repeatableUnits);
    m_sequential->setChecked(p.sequentialBlockOrder);
    m_fixed->setChecked(p.fixedNumberOfBlocks);
    m_oddEvenWanted = p.enforceOddEvenTiedowns;
    m_oddEven->setChecked(p.enforceOddEvenTiedowns);
    m_adjacent->setChecked(p.adjacentKeysNotCombined);
    auto side = [](SideControls& c, int turning, bool turningChoice, int transition, bool transitionChoice, bool flip,
                   bool flipChoice) {
        c.turning->setValue(turning);
        c.turningChoice->setCurrentIndex(turningChoice ? 1 : 0);
        c.transition->setValue(transition);
        c.transitionChoice->setCurrentIndex(transitionChoice ? 1 : 0);
        c.flip->setChecked(flip);
        c.flipChoice->setCurrentIndex(flipChoice ? 1 : 0);
    };
    side(m_threading, p.threadingBalanceTurning, p.threadingBalanceTurningChoice, p.threadingBalanceTransition,
         p.threadingBalanceTransitionChoice, p.threadingFlipTransition, p.threadingFlipChoice);
    side(m_treadling, p.treadlingBalanceTurning, p.treadlingBalanceTurningChoice, p.treadlingBalanceTransition,
         p.treadlingBalanceTransitionChoice, p.treadlingFlipTransition, p.treadlingFlipChoice);
    const BlockColorOptions c = DecodeColorOptions(p.colorOptions);
    m_designColors->setChecked(c.useDesignColors);
    m_alternate->setChecked(c.alternate);
    m_exceptWarp->setChecked(c.exceptWarpTiedowns);
    m_exceptWeft->setChecked(c.exceptWeftTiedowns);
    m_bars->setValue(c.additionalBars);
    (c.barsInWeft ? m_barsWeft : m_barsWarp)->setChecked(true);
    m_automatic->setChecked(p.automaticallyGenerated && p.allowTieupCombinations);
    m_following = false;
}

BlockSubstitutionParams CWeaveStructureSheet::params() const
{
    BlockSubstitutionParams p = m_edit.initial();
    p.numBlocks = m_blocks->value();
    p.endsPerBlock = m_ends->value();
    p.picksPerBlock = m_picks->value();
    p.patternShaftsPerBlock = m_patternShafts->value();
    p.patternTreadlesPerBlock = m_patternTreadles->value();
    p.tiedownShafts = m_tiedownShafts->value();
    p.tiedownTreadles = m_tiedownTreadles->value();
    p.skeletonTieup = m_skeleton->isChecked();
    p.allowTieupCombinations = m_combinations->isChecked();
    p.repeatableUnits = m_repeatable->isChecked();
    p.sequentialBlockOrder = m_sequential->isChecked();
    p.fixedNumberOfBlocks = m_fixed->isChecked();
    p.adjacentKeysNotCombined = m_adjacent->isChecked();
    p.threadingBalanceTurning = m_threading.turning->value();
    p.threadingBalanceTurningChoice = m_threading.turningChoice->currentIndex() == 1;
    p.threadingBalanceTransition = m_threading.transition->value();
    p.threadingBalanceTransitionChoice = m_threading.transitionChoice->currentIndex() == 1;
    p.threadingFlipTransition = m_threading.flip->isChecked();
    p.threadingFlipChoice = m_threading.flipChoice->currentIndex() == 1;
    p.treadlingBalanceTurning = m_treadling.turning->value();
    p.treadlingBalanceTurningChoice = m_treadling.turningChoice->currentIndex() == 1;
    p.treadlingBalanceTransition = m_treadling.transition->value();
    p.treadlingBalanceTransitionChoice = m_treadling.transitionChoice->currentIndex() == 1;
    p.treadlingFlipTransition = m_treadling.flip->isChecked();
    p.treadlingFlipChoice = m_treadling.flipChoice->currentIndex() == 1;
    BlockColorOptions c;
    c.useDesignColors = m_designColors->isChecked();
    c.alternate = m_alternate->isChecked();
    c.exceptWarpTiedowns = m_exceptWarp->isChecked();
    c.exceptWeftTiedowns = m_exceptWeft->isChecked();
    c.additionalBars = m_bars->value();
    c.barsInWeft = m_barsWeft->isChecked();
    p.colorOptions = EncodeColorOptions(c);
    p.enforceOddEvenTiedowns = m_oddEven->isChecked();
    p.automaticallyGenerated = m_automatic->isChecked();
    // Forced off by the rules, whatever the boxes remember.
    return SheetParams(p);
}

BlockSet CWeaveStructureSheet::selectedSet() const
{
    BlockSet set = 0;
    for (int i = 0; i < m_blockList->count(); ++i)
        if (m_blockList->item(i)->isSelected()) set |= BlockSet(1) << i;
    return set;
}

void CWeaveStructureSheet::follow()
{
    if (m_following) return;
    m_following = true;
    const BlockSubstitutionParams p = params();
    m_edit.setParams(p);
    const WeaveStructureSheetRules r = m_edit.rules();

    m_oddEven->setEnabled(r.oddEvenTiedowns);
    m_oddEven->setChecked(r.oddEvenTiedowns && m_oddEvenWanted);
    auto side = [](SideControls& c, bool turning, bool flip, bool flipChoice, int most) {
        c.turning->setEnabled(turning);
        c.turningChoice->setEnabled(turning);
        c.turning->setMaximum(most);
        c.transition->setMaximum(most);
        c.flip->setEnabled(flip);
        c.flipChoice->setEnabled(flipChoice);
    };
    side(m_threading, r.threadingTurning, r.threadingFlip, r.threadingFlipChoice, r.threadingBalanceMost);
    side(m_treadling, r.treadlingTurning, r.treadlingFlip, r.treadlingFlipChoice, r.treadlingBalanceMost);

    for (QWidget* w : std::initializer_list<QWidget*>{m_alternate, m_exceptWarp, m_exceptWeft, m_bars})
        w->setEnabled(r.colorDetails);
    m_barsWarp->setEnabled(r.additionalBarsSide);
    m_barsWeft->setEnabled(r.additionalBarsSide);

    m_automatic->setEnabled(r.automaticKeys);
    if (!p.allowTieupCombinations) m_automatic->setChecked(false);
    m_blockList->setEnabled(r.keyList);
    m_keyPicture->setEnabled(r.keyList);
    m_keyCaption->setEnabled(r.keyList);
    m_allValid->setEnabled(r.makeAllValid);
    // The boxes the rules just set count from here on.
    m_edit.setParams(params());
    m_following = false;
    showKey();
}

void CWeaveStructureSheet::showKey()
{
    const BlockSet set = selectedSet();
    const QString letters = QString::fromStdString(BlockSetLetters(set));
    m_keyCaption->setText(letters.isEmpty() ? QStringLiteral("Key: no blocks") : QStringLiteral("Key: ") + letters);
    const WeaveStructureEdit::KeyView v = m_edit.keyView(set);
    if (!v.shown) {
        m_keyPicture->setKey(std::nullopt, 0, 0, m_edit.params(), false);
        m_valid->setEnabled(false);
        return;
    }
    m_keyPicture->setKey(v.key, v.shafts, v.treadles, m_edit.params(), v.editable);
    m_valid->setEnabled(v.validEnabled);
    m_valid->setChecked(v.valid);
    m_allValid->setText(QString::fromStdString(m_edit.allValidCaption()));
}

void CWeaveStructureSheet::toggleCell(int treadle, int shaft)
{
    m_edit.toggleCell(selectedSet(), treadle, shaft);
    showKey();
}

void CWeaveStructureSheet::setValid(bool on)
{
    m_edit.setValid(selectedSet(), on);
    showKey();
}

void CWeaveStructureSheet::toggleAllValid()
{
    m_edit.toggleAllValid();
    showKey();
}

} // namespace qb
