#include "ui/heddles/heddlewindow.h"

#include "ui/base/dialogparts.h"
#include "ui/base/imainwindow.h"
#include "ui/heddles/threadthicknessdialog.h"
#include "ui/views/draftframe.h"
#include "ui/views/draftwindow.h"

#include "core/transform/heddlecount.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace qb {

namespace {

QFont countFont()
{
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

} // namespace

CHeddleView::CHeddleView(CDraftWindow* w, QWidget* parent) : QPlainTextEdit(parent), m_w(w)
{
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(countFont());
    // One tab stop, two spaces wide.
    setTabStopDistance(fontMetrics().horizontalAdvance(QStringLiteral("  ")));
    connect(w, &CDraftWindow::documentChanged, this, &CHeddleView::recount);
    auto* print = new QAction(QStringLiteral("&Print..."), this);
    print->setShortcut(QKeySequence::Print);
    print->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(print, &QAction::triggered, this, &CHeddleView::printWithDialog);
    addAction(print);
    recount();
}

void CHeddleView::recount()
{
    if (!m_w) return;
    QString t = QString::fromStdString(HeddleCountText(m_w->document()));
    if (t == m_text) return;
    m_text = t;
    // The last line's newline would show as an empty line.
    if (t.endsWith(QLatin1Char('\n'))) t.chop(1);
    setPlainText(t);
}

QSize CHeddleView::sizeHint() const
{
    // Ten digits across, one line per shaft down.
    const QFontMetrics fm(font());
    const int lines = m_w ? std::max(1, m_w->document().numShafts()) : 1;
    const int frame = 2 * frameWidth() + 2 * int(document()->documentMargin());
    return {fm.horizontalAdvance(QStringLiteral("0123456789")) + frame + 8, fm.lineSpacing() * lines + frame};
}

void CHeddleView::print(QPrinter* printer) const
{
    QPainter p(printer);
    if (!p.isActive()) return;
    QFont f = countFont();
    f.setPointSizeF(10);
    p.setFont(f);
    const QFontMetrics fm(f, printer);
    const int tab = fm.horizontalAdvance(QStringLiteral("  "));
    // Lines that do not fit (64 shafts on a small sheet) go on to the next page.
    const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
    int y = fm.ascent();
    for (const QString& line : m_text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (y + fm.descent() > page.height() && y > fm.ascent()) {
            printer->newPage();
            y = fm.ascent();
        }
        const qsizetype at = line.indexOf(QLatin1Char('\t'));
        const QString head = line.left(at), tail = line.mid(at + 1);
        const int x = (fm.horizontalAdvance(head) / tab + 1) * tab;
        p.drawText(0, y, head);
        p.drawText(x, y, tail);
        y += fm.lineSpacing();
    }
}

void CHeddleView::printWithDialog()
{
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Print Heddle Counts"));
    if (!RunDialog(dialog)) return;
    print(&printer);
}

void CHeddleView::contextMenuEvent(QContextMenuEvent* e)
{
    QMenu menu(this);
    menu.addActions(actions());
    menu.exec(e->globalPos());
}

CHeddleView* OpenHeddleCounts(IMainWindow* main)
{
    CDraftWindow* w = main->activeDraftWindow();
    if (!w) return nullptr;
    QMdiArea* mdi = main->mdiArea();
    for (QMdiSubWindow* sub : mdi->subWindowList())
        if (auto* v = qobject_cast<CHeddleView*>(sub->widget()); v && v->draft() == w) {
            mdi->setActiveSubWindow(sub);
            return v;
        }
    auto* view = new CHeddleView(w);
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->setWindowTitle(QStringLiteral("%1 <%2>").arg(QStringLiteral("Heddle Counts"), w->title()));
    QMdiSubWindow* sub = mdi->addSubWindow(view);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // The window closes with its draft, and follows its name.
    QObject::connect(w, &QObject::destroyed, sub, &QWidget::close);
    QObject::connect(w->frame(), &CGridFrame::titleChanged, view, [view, w] {
        view->setWindowTitle(QStringLiteral("%1 <%2>").arg(QStringLiteral("Heddle Counts"), w->title()));
    });
    sub->show();
    sub->resize(sub->sizeHint().expandedTo(QSize(200, 120)));
    mdi->setActiveSubWindow(sub);
    return view;
}

void AddHeddleMenus(IMainWindow* main)
{
    auto* heddles = new QAction(QStringLiteral("&Heddle Count"), main->window());
    QObject::connect(heddles, &QAction::triggered, main->window(), [main] { OpenHeddleCounts(main); });
    // The View menu is refilled each time it opens: this joins it afterwards.
    QMenu* view = main->menu(MenuId::View);
    QObject::connect(view, &QMenu::aboutToShow, heddles, [view, heddles, main] {
        heddles->setEnabled(main->activeDraftWindow() != nullptr);
        view->addSeparator();
        view->addAction(heddles);
    });
    for (const bool warp : {true, false}) {
        QMenu* m = main->menu(warp ? MenuId::Threading : MenuId::Treadling);
        m->addSeparator();
        QAction* a = m->addAction(QStringLiteral("Thic&kness..."), main->window(),
                                  [main, warp] { RunThreadThickness(main, warp); });
        a->setStatusTip(warp ? QStringLiteral("Set pattern for thick and thin threads in the warp")
                             : QStringLiteral("Set pattern for thick and thin threads in the weft"));
        a->setObjectName(warp ? QStringLiteral("warpThickness") : QStringLiteral("weftThickness"));
        QObject::connect(m, &QMenu::aboutToShow, a, [main, a] { a->setEnabled(main->activeDraftWindow() != nullptr); });
    }
}

} // namespace qb
