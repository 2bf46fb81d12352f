#include "transform/transformdialogs.h"

#include "views/gridview.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qb {

namespace {

DialogRunner& runner()
{
    static DialogRunner r;
    return r;
}

// What the dialogs remember until the program ends.
bool s_arrangeParallel = false;
COLORREF s_tabbyColor = rgb(255, 255, 255);

QDialogButtonBox* okCancel(QDialog* d)
{
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, d);
    QObject::connect(box, &QDialogButtonBox::accepted, d, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, d, &QDialog::reject);
    return box;
}

QSpinBox* spin(QWidget* parent, const char* name, int lo, int hi, int value)
{
    auto* s = new QSpinBox(parent);
    s->setObjectName(QLatin1String(name));
    s->setRange(lo, hi);
    s->setValue(value);
    return s;
}

constexpr int kStripCell = 16;

} // namespace

void SetDialogRunner(DialogRunner r)
{
    runner() = std::move(r);
}

bool RunDialog(QDialog& dialog)
{
    if (runner()) return runner()(dialog);
    return dialog.exec() == QDialog::Accepted;
}

// --- Repeat ---

RepeatDialog::RepeatDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Repeat"));
    m_single = new QCheckBox(QStringLiteral("Single repeat"), this);
    m_single->setObjectName(QStringLiteral("single"));
    m_times = spin(this, "times", 2, 100, 2);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Repeat"), this));
    row->addWidget(m_times);
    row->addWidget(new QLabel(QStringLiteral("times"), this));
    auto* v = new QVBoxLayout(this);
    v->addWidget(m_single);
    v->addLayout(row);
    v->addWidget(okCancel(this));
    connect(m_single, &QCheckBox::toggled, m_times, [this](bool on) { m_times->setEnabled(!on); });
}

bool RepeatDialog::singleRepeat() const
{
    return m_single->isChecked() || m_times->value() < 2;
}

int RepeatDialog::times() const
{
    return m_times->value();
}

// --- Arrange ---

CArrangeTding::CArrangeTding(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Arrange"));
    m_sequential = new QRadioButton(QStringLiteral("Sequential"), this);
    m_sequential->setObjectName(QStringLiteral("sequential"));
    m_parallel = new QRadioButton(QStringLiteral("Parallel"), this);
    m_parallel->setObjectName(QStringLiteral("parallel"));
    (s_arrangeParallel ? m_parallel : m_sequential)->setChecked(true);
    auto* v = new QVBoxLayout(this);
    v->addWidget(m_sequential);
    v->addWidget(m_parallel);
    v->addWidget(okCancel(this));
}

bool CArrangeTding::parallel() const
{
    return m_parallel->isChecked();
}

void CArrangeTding::accept()
{
    s_arrangeParallel = parallel();
    QDialog::accept();
}

// --- Remove ---

CDeleteThreads::CDeleteThreads(RemovePattern& pattern, QWidget* parent) : QWidget(parent), m_pattern(pattern)
{
    setObjectName(QStringLiteral("strip"));
    setMinimumSize(sizeHint());
}

QSize CDeleteThreads::sizeHint() const
{
    return {kMaxRemovePattern * kStripCell + 1, kStripCell + 1};
}

int CDeleteThreads::cellAt(const QPoint& p) const
{
    const int cell = p.x() / kStripCell;
    return p.x() < 0 || cell >= kMaxRemovePattern ? -1 : cell;
}

void CDeleteThreads::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const auto& keep = m_pattern.keep();
    for (int i = 0; i < kMaxRemovePattern; ++i) {
        const QRect r(i * kStripCell, 0, kStripCell, kStripCell);
        const bool used = i < int(keep.size());
        p.fillRect(r, !used ? palette().window().color() : (keep[i] ? QColor(Qt::white) : QColor(Qt::black)));
        p.setPen(used ? Qt::gray : Qt::lightGray);
        p.drawRect(r);
    }
}

void CDeleteThreads::mousePressEvent(QMouseEvent* e)
{
    const int cell = cellAt(e->position().toPoint());
    if (cell < 0) return;
    if (e->button() == Qt::LeftButton)
        m_pattern.click(cell);
    else if (e->button() == Qt::RightButton)
        m_pattern.truncate(cell);
    update();
}

CDeleteSequenceDlg::CDeleteSequenceDlg(bool threading, QWidget* parent) : QDialog(parent), m_work(stored())
{
    setWindowTitle(threading ? QStringLiteral("Remove from Threading") : QStringLiteral("Remove from Treadling"));
    auto* v = new QVBoxLayout(this);
    v->addWidget(new QLabel(QStringLiteral("Left-click to toggle threads to delete\nRight-click to clear entries"), this));
    v->addWidget(new CDeleteThreads(m_work, this));
    v->addWidget(okCancel(this));
}

RemovePattern& CDeleteSequenceDlg::stored()
{
    static RemovePattern pattern;
    return pattern;
}

void CDeleteSequenceDlg::accept()
{
    stored() = m_work;
    QDialog::accept();
}

// --- Add Tabby ---

CAddTabby::CAddTabby(QWidget* parent) : QDialog(parent), m_color(s_tabbyColor)
{
    setWindowTitle(QStringLiteral("Add Tabby"));
    m_ground = spin(this, "ground", 2, 64, 2);
    m_addTreadles = new QCheckBox(QStringLiteral("Add treadles for tabby picks"), this);
    m_addTreadles->setObjectName(QStringLiteral("addTreadles"));
    m_colorButton = new QPushButton(this);
    m_colorButton->setObjectName(QStringLiteral("color"));
    m_colorButton->setFixedSize(40, 24);
    auto* newColor = new QPushButton(QStringLiteral("New Color"), this);
    connect(newColor, &QPushButton::clicked, this, [this] {
        const QColor c = QColorDialog::getColor(QColor(red(m_color), green(m_color), blue(m_color)), this);
        if (c.isValid()) setTabbyColor(rgb(c.red(), c.green(), c.blue()));
    });
    connect(m_colorButton, &QPushButton::clicked, newColor, &QPushButton::click);
    auto* pick = new QPushButton(QStringLiteral("Pick"), this);
    pick->setObjectName(QStringLiteral("pick"));
    pick->setToolTip(QStringLiteral("Click, then click a color in a draft pane"));
    connect(pick, &QPushButton::clicked, this, &CAddTabby::startPicking);

    auto* ground = new QHBoxLayout;
    ground->addWidget(new QLabel(QStringLiteral("Number of treadles used for ground"), this));
    ground->addWidget(m_ground);
    auto* color = new QHBoxLayout;
    color->addWidget(new QLabel(QStringLiteral("Tabby color:"), this));
    color->addWidget(m_colorButton);
    color->addWidget(newColor);
    color->addWidget(pick);
    color->addStretch();
    auto* note = new QLabel(
        QStringLiteral("The treadles used for tabby must be the first ones on the left-hand side of the treadling.\n\n"
                       "If there are treadles already allocated to the ground weave for this draft but they are not "
                       "to the left of all the other treadles, Cancel this window and use the Move tool to "
                       "reposition them before proceeding."),
        this);
    note->setWordWrap(true);
    auto* v = new QVBoxLayout(this);
    v->addLayout(ground);
    v->addWidget(m_addTreadles);
    v->addLayout(color);
    v->addWidget(note);
    v->addWidget(okCancel(this));
    showColor();
}

void CAddTabby::setTabbyColor(COLORREF c)
{
    m_color = c;
    showColor();
}

void CAddTabby::showColor()
{
    m_colorButton->setStyleSheet(QStringLiteral("background-color: rgb(%1, %2, %3);")
                                     .arg(red(m_color))
                                     .arg(green(m_color))
                                     .arg(blue(m_color)));
}

void CAddTabby::startPicking()
{
    m_picking = true;
    grabMouse(Qt::CrossCursor);
}

void CAddTabby::mousePressEvent(QMouseEvent* e)
{
    if (!m_picking) {
        QDialog::mousePressEvent(e);
        return;
    }
    m_picking = false;
    releaseMouse();
    const QPoint global = e->globalPosition().toPoint();
    QColor c;
    QWidget* under = QApplication::widgetAt(global);
    if (under && under->window() != this && ColorQuery(under, global, c))
        setTabbyColor(rgb(c.red(), c.green(), c.blue()));
}

bool ColorQuery(QWidget* widget, const QPoint& globalPos, QColor& color)
{
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        const QVariant v = w->property("color");
        if (v.canConvert<QColor>() && v.value<QColor>().isValid()) {
            color = v.value<QColor>();
            return true;
        }
        if (auto* pane = qobject_cast<CGridView*>(w)) {
            QWidget* surface = pane->viewport();
            const QPoint local = surface->mapFromGlobal(globalPos);
            if (!surface->rect().contains(local)) return false;
            const QImage img = surface->grab(QRect(local, QSize(1, 1))).toImage();
            if (img.isNull()) return false;
            color = img.pixelColor(0, 0);
            return true;
        }
    }
    return false;
}

AddTabbyOptions CAddTabby::options() const
{
    AddTabbyOptions o;
    o.groundTreadles = m_ground->value();
    o.addTreadles = m_addTreadles->isChecked();
    o.tabbyColor = m_color;
    return o;
}

void CAddTabby::accept()
{
    s_tabbyColor = m_color;
    QDialog::accept();
}

// --- Double Width ---

CDoubleWidth::CDoubleWidth(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Double Width"));
    auto* fold = new QGroupBox(QStringLiteral("Fold on:"), this);
    m_left = new QRadioButton(QStringLiteral("Left"), fold);
    m_left->setObjectName(QStringLiteral("left"));
    m_right = new QRadioButton(QStringLiteral("Right"), fold);
    m_right->setObjectName(QStringLiteral("right"));
    m_left->setChecked(true);
    auto* f = new QHBoxLayout(fold);
    f->addWidget(m_left);
    f->addWidget(m_right);
    m_tubular = new QCheckBox(QStringLiteral("Tubular"), this);
    m_tubular->setObjectName(QStringLiteral("tubular"));
    connect(m_tubular, &QCheckBox::toggled, this, [this](bool on) {
        m_left->setEnabled(!on);
        m_right->setEnabled(!on);
    });
    m_shuttles = spin(this, "shuttles", 1, 6, 1);
    m_picksPerUnit = spin(this, "picksPerUnit", 1, 32767, 1);
    auto* shuttles = new QHBoxLayout;
    shuttles->addWidget(new QLabel(QStringLiteral("Number of shuttles:"), this));
    shuttles->addWidget(m_shuttles);
    auto* unit = new QHBoxLayout;
    unit->addWidget(new QLabel(QStringLiteral("Picks per unit:"), this));
    unit->addWidget(m_picksPerUnit);
    auto* v = new QVBoxLayout(this);
    v->addWidget(fold);
    v->addWidget(m_tubular);
    v->addLayout(shuttles);
    v->addLayout(unit);
    v->addWidget(okCancel(this));
}

DoubleWidthOptions CDoubleWidth::options() const
{
    DoubleWidthOptions o;
    o.foldRight = m_right->isChecked();
    o.tubular = m_tubular->isChecked();
    o.shuttles = m_shuttles->value();
    o.picksPerUnit = m_picksPerUnit->value();
    return o;
}

} // namespace qb
