#include "ui/floats/floatsearchdialog.h"

#include "ui/base/colorbutton.h"
#include "ui/base/colorchooser.h"
#include "ui/base/commandstep.h"
#include "ui/base/imainwindow.h"
#include "ui/base/uiprompter.h"
#include "ui/base/waitcursor.h"
#include "ui/views/draftframe.h"
#include "ui/views/draftview.h"
#include "ui/views/draftwindow.h"

#include "core/draft/quillabydoc.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace qb {

namespace {

// What the weaver chose last, for the program's run.
struct Remembered {
    bool warp = true;
    int threshold = 3;
    bool faceOnly = false;
};

Remembered& remembered()
{
    static Remembered r;
    return r;
}

constexpr int kMinThreshold = 1, kMaxThreshold = 99;

QString number(double v, int decimals)
{
    return QString::number(v, 'f', decimals);
}

} // namespace

CFloatSearchDialog::CFloatSearchDialog(IMainWindow* main, QWidget* parent) : QDialog(parent), m_main(main)
{
    setWindowTitle(QStringLiteral("Float Search"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    const Remembered& r = remembered();

    auto* search = new QGroupBox(QStringLiteral("Search"), this);
    m_warp = new QRadioButton(QStringLiteral("Warp"), search);
    m_weft = new QRadioButton(QStringLiteral("Weft"), search);
    (r.warp ? m_warp : m_weft)->setChecked(true);
    m_faceOnly = new QCheckBox(QStringLiteral("Face only"), search);
    m_faceOnly->setChecked(r.faceOnly);
    auto* sides = new QGridLayout(search);
    sides->addWidget(m_warp, 0, 0);
    sides->addWidget(m_weft, 0, 1);
    sides->addWidget(m_faceOnly, 1, 0, 1, 2);

    auto* thresholdBox = new QGroupBox(QStringLiteral("Threshold"), this);
    m_threshold = new QSpinBox(thresholdBox);
    m_threshold->setObjectName(QStringLiteral("threshold"));
    m_threshold->setRange(kMinThreshold, kMaxThreshold);
    m_threshold->setValue(std::clamp(r.threshold, kMinThreshold, kMaxThreshold));
    m_length = new QLabel(thresholdBox);
    auto* t = new QGridLayout(thresholdBox);
    t->addWidget(m_threshold, 0, 0);
    t->addWidget(new QLabel(QStringLiteral("threads"), thresholdBox), 0, 1);
    t->addWidget(m_length, 1, 0, 1, 2);

    m_found = new QLabel(QStringLiteral("0"), this);
    m_found->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("99999")));
    m_found->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* found = new QHBoxLayout;
    found->addWidget(new QLabel(QStringLiteral("Found:"), this));
    found->addWidget(m_found);
    found->addWidget(new QLabel(QStringLiteral("floats"), this));
    found->addStretch();

    m_prev = new QPushButton(QStringLiteral("<< Show Prev"), this);
    m_next = new QPushButton(QStringLiteral("Show Next >>"), this);
    m_next->setDefault(true);
    auto* steps = new QHBoxLayout;
    steps->addWidget(m_prev);
    steps->addWidget(m_next);

    m_mark = new QPushButton(QStringLiteral("Mark float"), this);
    m_swatch = new CColorButton(QSize(22, 22), false, this);
    m_newColor = new QPushButton(QStringLiteral("New"), this);
    auto* mark = new QHBoxLayout;
    mark->addWidget(m_mark);
    mark->addSpacing(12);
    mark->addWidget(new QLabel(QStringLiteral("Color:"), this));
    mark->addWidget(m_swatch);
    mark->addWidget(m_newColor);
    mark->addStretch();

    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* v = new QVBoxLayout(this);
    v->addWidget(search);
    v->addWidget(thresholdBox);
    v->addLayout(found);
    v->addLayout(steps);
    v->addLayout(mark);
    v->addWidget(close);

    m_edited = new QTimer(this);
    m_edited->setSingleShot(true);
    m_edited->setInterval(250);
    connect(m_edited, &QTimer::timeout, this, &CFloatSearchDialog::refreshAfterEdit);

    connect(m_weft, &QRadioButton::toggled, this, &CFloatSearchDialog::recount);
    connect(m_faceOnly, &QCheckBox::toggled, this, &CFloatSearchDialog::recount);
    connect(m_threshold, &QSpinBox::valueChanged, this, &CFloatSearchDialog::recount);
    connect(m_prev, &QPushButton::clicked, this, &CFloatSearchDialog::showPrev);
    connect(m_next, &QPushButton::clicked, this, &CFloatSearchDialog::showNext);
    connect(m_mark, &QPushButton::clicked, this, &CFloatSearchDialog::markFloat);
    connect(m_newColor, &QPushButton::clicked, this, &CFloatSearchDialog::chooseColor);
    connect(m_swatch, &CColorButton::clicked, this, &CFloatSearchDialog::chooseColor);
    setMarkColor(kDefaultMarkColor);
    updateButtons();
}

CFloatSearchDialog* CFloatSearchDialog::find(IMainWindow* main)
{
    return main ? main->window()->findChild<CFloatSearchDialog*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

CFloatSearchDialog* CFloatSearchDialog::open(IMainWindow* main)
{
    CDraftWindow* w = main->activeDraftWindow();
    if (!w) return nullptr;
    CFloatSearchDialog* d = find(main);
    const bool fresh = !d;
    if (fresh) d = new CFloatSearchDialog(main, main->window());
    // Another draft, or reopened after closing: count afresh.
    if (d->m_window != w || !d->isVisible()) {
        d->bind(w);
        d->recount();
    }
    if (fresh) {
        // Beside the draft's window where the main window has room, so that
        // no float is hidden; else over the corner of its drawdown.
        d->adjustSize();
        const QWidget* top = main->window();
        const QRect area(top->mapToGlobal(QPoint(0, 0)), top->size());
        const QRect draft(w->mapToGlobal(QPoint(0, 0)), w->size());
        const int gap = 8, width = d->frameGeometry().width();
        const QWidget* pane = w->frame()->draftView();
        QPoint at = pane->mapToGlobal(QPoint(pane->width() - width - 3 * gap, 3 * gap));
        if (draft.left() - area.left() >= width + 2 * gap)
            at = QPoint(draft.left() - width - gap, draft.top() + 4 * gap);
        else if (area.right() - draft.right() >= width + 2 * gap)
            at = QPoint(draft.right() + gap, draft.top() + 4 * gap);
        d->move(at);
    }
    d->show();
    d->raise();
    d->activateWindow();
    return d;
}

void CFloatSearchDialog::bind(CDraftWindow* w)
{
    clearHighlight();
    disconnect(m_watch);
    disconnect(m_gone);
    m_window = w;
    m_search.reset();
    m_position = -1;
    if (!w) return;
    m_watch = connect(w, &CDraftWindow::documentChanged, this, [this] {
        // A mark changes colors only: the floats stay. A closed dialog
        // counts afresh when it opens again.
        if (!m_marking && isVisible()) m_edited->start();
    });
    m_gone = connect(w, &QObject::destroyed, this, &QWidget::close);
}

FloatDirection CFloatSearchDialog::direction() const
{
    return m_weft->isChecked() ? FloatDirection::Weft : FloatDirection::Warp;
}

FloatCriteria CFloatSearchDialog::criteria() const
{
    return {m_threshold->value(), m_faceOnly->isChecked()};
}

QString CFloatSearchDialog::lengthText() const
{
    return m_length->text();
}

QString CFloatSearchDialog::foundText() const
{
    return m_found->text();
}

void CFloatSearchDialog::setMarkColor(COLORREF c)
{
    m_markColor = c & 0xFFFFFF;
    m_swatch->setColor(QColor(red(m_markColor), green(m_markColor), blue(m_markColor)));
}

void CFloatSearchDialog::chooseColor()
{
    if (const auto c = AskColor(QColor(red(m_markColor), green(m_markColor), blue(m_markColor))))
        setMarkColor(rgb(c->red(), c->green(), c->blue()));
}

void CFloatSearchDialog::updateLength()
{
    if (!m_window) return;
    const FloatLength l = FloatThresholdLength(m_window->document(), direction(), m_threshold->value());
    m_length->setText(QStringLiteral("%1 %2 at %3 %4")
                          .arg(number(l.length, 2), QString::fromStdString(l.lengthUnit),
                               QString::number(l.sett, 'g', 6), QString::fromStdString(l.settUnit)));
}

void CFloatSearchDialog::recount()
{
    Remembered& r = remembered();
    r.warp = !m_weft->isChecked();
    r.threshold = m_threshold->value();
    r.faceOnly = m_faceOnly->isChecked();
    m_edited->stop();
    clearHighlight();
    m_position = -1;
    if (!m_window) return;
    {
        WaitCursor wait;
        m_search = std::make_unique<FloatSearch>(m_window->document(), direction(), criteria());
    }
    m_found->setNum(m_search->found());
    updateLength();
    updateButtons();
    if (m_search->found() > 0) showNext();
}

void CFloatSearchDialog::refreshAfterEdit()
{
    if (!m_window || !isVisible()) return;
    {
        WaitCursor wait;
        m_search = std::make_unique<FloatSearch>(m_window->document(), direction(), criteria());
    }
    m_found->setNum(m_search->found());
    updateLength();
    const CQuillabyDoc& doc = m_window->document();
    const int threads = direction() == FloatDirection::Warp ? doc.numEnds() : doc.numPicks();
    if (m_position >= threads) m_position = -1;
    // The thread shown stays; its floats may have moved.
    const int keep = m_position;
    if (keep >= 0) {
        const std::vector<FloatRun> runs = ThreadFloats(doc, direction(), keep, criteria());
        ThreadHighlight h{direction() == FloatDirection::Warp, keep, {}};
        for (const FloatRun& r : runs) h.spans.emplace_back(r.first, r.last);
        m_window->frame()->setHighlight(h);
    } else {
        clearHighlight();
    }
    updateButtons();
}

void CFloatSearchDialog::showNext()
{
    step(true);
}

void CFloatSearchDialog::showPrev()
{
    step(false);
}

void CFloatSearchDialog::step(bool forward)
{
    // Edits made since the last count are counted first.
    if (m_edited->isActive()) {
        m_edited->stop();
        refreshAfterEdit();
    }
    const int t = !m_search ? -1 : forward ? m_search->next(m_position) : m_search->prev(m_position);
    if (t < 0) {
        m_position = -1;
        clearHighlight();
        updateButtons();
        m_main->tell(QStringLiteral("That's all folks!\n"));
        return;
    }
    showThread(t);
}

void CFloatSearchDialog::showThread(int thread)
{
    m_position = thread;
    updateButtons();
    if (!m_window) return;
    const bool warp = direction() == FloatDirection::Warp;
    const std::vector<FloatRun> runs = ThreadFloats(m_window->document(), direction(), thread, criteria());
    ThreadHighlight h{warp, thread, {}};
    for (const FloatRun& r : runs) h.spans.emplace_back(r.first, r.last);
    CDraftFrame* frame = m_window->frame();
    frame->setHighlight(h);
    // The thread and its first float into view; the panes beside the
    // drawdown follow its scroll bars.
    const int a = h.spans.empty() ? -1 : h.spans.front().first, b = h.spans.empty() ? -1 : h.spans.front().second;
    if (warp) frame->draftView()->scrollToItems(thread, thread, a, b);
    else frame->draftView()->scrollToItems(a, b, thread, thread);
}

void CFloatSearchDialog::updateButtons()
{
    const bool some = m_search && m_search->found() > 0;
    m_next->setEnabled(some && m_search->next(m_position) >= 0);
    m_prev->setEnabled(some && m_position >= 0 && m_search->prev(m_position) >= 0);
    m_mark->setEnabled(some && m_position >= 0);
    // Focus moves on from a button that was just disabled.
    QWidget* f = focusWidget();
    if (f && !f->isEnabled()) {
        for (QPushButton* b : {m_next, m_prev, m_mark})
            if (b->isEnabled()) {
                b->setFocus();
                return;
            }
        m_threshold->setFocus();
    }
}

bool CFloatSearchDialog::markFloat()
{
    if (!m_window || m_position < 0) return false;
    CQuillabyDoc& doc = m_window->document();
    CUiPrompter prompter(m_main);
    const FloatDirection dir = direction();
    const int thread = m_position;
    const COLORREF color = m_markColor;
    m_marking = true;
    const CommandResult r = RunCommandStep(m_main, m_window->document(), "Mark Float",
                                           [&](Edit e) { return MarkFloat(e, doc, dir, thread, color, prompter); });
    m_marking = false;
    return r.done();
}

void CFloatSearchDialog::clearHighlight()
{
    if (m_window) m_window->frame()->clearHighlight();
}

void CFloatSearchDialog::closeEvent(QCloseEvent* e)
{
    clearHighlight();
    QDialog::closeEvent(e);
}

void CFloatSearchDialog::hideEvent(QHideEvent* e)
{
    // Closed with Close or Escape: the draft goes back to its plain look.
    m_edited->stop();
    clearHighlight();
    QDialog::hideEvent(e);
}

void AddFloatSearchMenu(IMainWindow* main)
{
    QMenu* tools = main->menu(MenuId::Tools);
    QAction* item = tools->addAction(QStringLiteral("&Float Search..."), main->window(),
                                     [main] { CFloatSearchDialog::open(main); });
    QObject::connect(tools, &QMenu::aboutToShow, item,
                     [main, item] { item->setEnabled(main->activeDraftWindow() != nullptr); });
}

} // namespace qb
