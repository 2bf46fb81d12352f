#include "ui/colors/palettebar.h"
#include "ui/colors/replacecolordialog.h"

#include "ui/base/imainwindow.h"
#include "ui/views/draftwindow.h"

#include "core/draft/palettetools.h"
#include "ui/views/draftframe.h"
#include "ui/views/tdinggridview.h"
#include "ui/views/tools/toolstate.h"

#include <QActionGroup>
#include <QDockWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>

namespace qb {

void FillThreads(CDraftWindow* w, bool warp, int pattern, int first, int second)
{
    CQuillabyDoc& doc = w->document();
    doc.Transaction(warp ? "Fill Warp" : "Fill Weft",
                    [&](Edit e) { FillThreadColors(e, doc, SideOf(warp), 0, pattern, first, second); });
}

CColorPaletteBar* PaletteBarOf(IMainWindow* main)
{
    return main->window()->findChild<CColorPaletteBar*>();
}

void AddColorMenus(IMainWindow* main)
{
    QMainWindow* win = main->window();
    auto* dock = new QDockWidget(QStringLiteral("Color Palette"), win);
    dock->setObjectName(QStringLiteral("ColorPaletteDock"));
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetClosable);
    // Scrolls when the main window is too low for 30 rows of swatches.
    auto* scroll = new QScrollArea(dock);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* paletteBar = new CColorPaletteBar(main, scroll);
    scroll->setWidget(paletteBar);
    scroll->setFixedWidth(paletteBar->minimumWidth() + scroll->verticalScrollBar()->sizeHint().width());
    dock->setWidget(scroll);
    win->addDockWidget(Qt::LeftDockWidgetArea, dock);
    // A window that belongs to no draft (a color order) leaves the bar as it was.
    auto follow = [main, paletteBar] {
        if (CDraftWindow* w = main->activeDraftWindow()) paletteBar->showDraft(w);
        else if (main->draftWindows().isEmpty()) paletteBar->showDraft(nullptr);
    };
    QObject::connect(main->mdiArea(), &QMdiArea::subWindowActivated, paletteBar, follow);

    CToolState& ts = CToolState::instance();
    QMenu* menu = main->menu(MenuId::Color);
    QAction* show = dock->toggleViewAction();
    show->setText(QStringLiteral("&Color Palette"));
    menu->addAction(show);
    menu->addSeparator();

    auto* buttons = new QActionGroup(menu);
    QAction* left = menu->addAction(QStringLiteral("&Left Button"));
    QAction* right = menu->addAction(QStringLiteral("&Right Button"));
    for (QAction* a : {left, right}) {
        a->setCheckable(true);
        buttons->addAction(a);
    }
    left->setChecked(!ts.rightSelected());
    right->setChecked(ts.rightSelected());
    QObject::connect(left, &QAction::triggered, win, [] { CToolState::instance().selectRight(false); });
    QObject::connect(right, &QAction::triggered, win, [] { CToolState::instance().selectRight(true); });
    QObject::connect(&ts, &CToolState::buttonChanged, menu, [left, right] {
        const bool r = CToolState::instance().rightSelected();
        left->setChecked(!r);
        right->setChecked(r);
    });

    menu->addAction(QStringLiteral("Choose &New..."), win, [paletteBar] { paletteBar->chooseNew(); });
    menu->addSeparator();
    for (bool warp : {true, false}) {
        menu->addAction(warp ? QStringLiteral("Fill &Warp") : QStringLiteral("Fill We&ft"), win, [main, warp] {
            CDraftWindow* w = main->activeDraftWindow();
            if (!w) return;
            const ColorPalette& p = w->document().palette();
            const CToolState& t = CToolState::instance();
            const int current = t.rightSelected() ? p.rightColor() : p.leftColor();
            // A pattern's first color is the right button's; the left one takes
            // threads 1, 3, 5 ... or 3-4, 7-8 ...
            if (t.fillPattern() == 0) FillThreads(w, warp, 0, current, current);
            else FillThreads(w, warp, t.fillPattern(), p.rightColor(), p.leftColor());
        });
    }
    QMenu* pattern = menu->addMenu(QStringLiteral("Fill &Pattern"));
    auto* patterns = new QActionGroup(pattern);
    const char* names[] = {"&Solid", "&Alternating", "&Double Alternating"};
    for (int i = 0; i < 3; ++i) {
        QAction* a = pattern->addAction(QString::fromLatin1(names[i]));
        a->setCheckable(true);
        a->setChecked(i == ts.fillPattern());
        patterns->addAction(a);
        QObject::connect(a, &QAction::triggered, win, [i] { CToolState::instance().setFillPattern(i); });
    }
    menu->addSeparator();
    QAction* replace = menu->addAction(QStringLiteral("R&eplace..."), win, [main] {
        if (CDraftWindow* w = main->activeDraftWindow()) RunReplaceColor(main, w);
    });
    replace->setShortcut(QKeySequence(QStringLiteral("Ctrl+R")));
    menu->addAction(QStringLiteral("&Clear Palette"), win, [main] {
        CDraftWindow* w = main->activeDraftWindow();
        if (!w) return;
        w->document().Transaction("Clear Palette", [&](Edit e) { ClearPalette(e, w->document()); });
    });
    menu->addAction(QStringLiteral("Set &Default Palette"), win, [main] { main->setDefaultPaletteFromActive(); });
    auto* warpOrder = new QAction(QStringLiteral("W&arp Color Order"), win);
    auto* weftOrder = new QAction(QStringLiteral("W&eft Color Order"), win);
    QObject::connect(warpOrder, &QAction::triggered, win, [main] { OpenColorOrder(main, true); });
    QObject::connect(weftOrder, &QAction::triggered, win, [main] { OpenColorOrder(main, false); });
    menu->addSeparator();
    menu->addAction(warpOrder);
    menu->addAction(weftOrder);
    // The View menu is refilled each time it opens: these join it afterwards.
    QMenu* view = main->menu(MenuId::View);
    QObject::connect(view, &QMenu::aboutToShow, win, [view, show, warpOrder, weftOrder, main] {
        const bool doc = main->activeDraftWindow() != nullptr;
        warpOrder->setEnabled(doc);
        weftOrder->setEnabled(doc);
        view->addSeparator();
        view->addAction(show);
        view->addAction(warpOrder);
        view->addAction(weftOrder);
    });
}

} // namespace qb
