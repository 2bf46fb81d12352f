#include "tests/ui/mainwindowfixture.h"
#include "ui/app/defaultpalette.h"
#include "ui/app/mainframe.h"
#include "ui/app/recentfilelist.h"
#include "ui/colors/palettebar.h"
#include "ui/views/draftwindow.h"

#include "ui/base/dialogparts.h"
#include "ui/views/draftframe.h"
#include "ui/views/gridview.h"
#include "ui/views/tdinggridview.h"
#include "ui/wholedraft/wholedraftcommands.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>

#include <functional>

#include <gtest/gtest.h>

using namespace qb;

namespace {

class DraftWindowTest : public MainWindowTest {};

} // namespace

TEST_F(DraftWindowTest, NewDraftShowsTheFourPaneFrame)
{
    CDraftWindow* w = m_main->newDocument();
    ASSERT_NE(w->frame(), nullptr);
    EXPECT_EQ(w->frame()->panes().size(), 4u);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Draft <Draft1>[*]"));
    EXPECT_FALSE(w->isWindowModified());
    w->document().SetThreadingCell(kUnrecorded, 0, 1);
    EXPECT_TRUE(w->isWindowModified());
}

TEST_F(DraftWindowTest, UndoAndRedoNameTheStepTheyTake)
{
    CDraftWindow* w = m_main->newDocument();
    QMenu* edit = menu(QStringLiteral("&Edit"));
    ASSERT_NE(edit, nullptr);
    QAction* undo = item(edit, QStringLiteral("&Undo"));
    QAction* redo = item(edit, QStringLiteral("&Redo"));
    ASSERT_TRUE(undo && redo);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(undo->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_EQ(redo->shortcut(), QKeySequence(QStringLiteral("Ctrl+Y")));

    CWholeDraftCommands* commands = CWholeDraftCommands::of(m_main.get());
    CGridView* threading = w->frame()->threadingView();
    struct Step {
        const char* what;
        std::function<void()> act;
        const char* undoText;
        const char* redoText;
    };
    const Step steps[] = {
        {"pencil click",
         [&] { QTest::mouseClick(threading->viewport(), Qt::LeftButton, {}, threading->itemRect(0, 5).center()); },
         "&Undo Pencil", "&Redo"},
        {"Tieup > Clear", [&] { commands->action(DraftCommandId::TieupClear)->trigger(); }, "&Undo Clear Tieup",
         "&Redo"},
        {"Threading > Repeat",
         [&] {
             SetDialogRunner([](QDialog&) { return true; });
             commands->action(DraftCommandId::ThreadingRepeat)->trigger();
             SetDialogRunner({});
         },
         "&Undo Repeat Threading", "&Redo"},
        {"Edit > Undo", [&] { undo->trigger(); }, "&Undo Clear Tieup", "&Redo Repeat Threading"},
        {"Edit > Undo", [&] { undo->trigger(); }, "&Undo Pencil", "&Redo Clear Tieup"},
        {"Edit > Redo", [&] { redo->trigger(); }, "&Undo Clear Tieup", "&Redo Repeat Threading"},
        {"Color > Fill Warp", [&] { FillThreads(w, true, 0, 2, 2); }, "&Undo Fill Warp", "&Redo"},
        {"Edit > Undo", [&] { undo->trigger(); }, "&Undo Clear Tieup", "&Redo Fill Warp"},
        {"Edit > Undo", [&] { undo->trigger(); }, "&Undo Pencil", "&Redo Clear Tieup"},
        {"Edit > Undo", [&] { undo->trigger(); }, "&Undo", "&Redo Pencil"},
    };
    for (const Step& s : steps) {
        s.act();
        SCOPED_TRACE(s.what);
        EXPECT_EQ(undo->text(), QString::fromLatin1(s.undoText));
        EXPECT_EQ(redo->text(), QString::fromLatin1(s.redoText));
        // The tool tip says the same without the access key.
        EXPECT_EQ(undo->toolTip(), QString::fromLatin1(s.undoText).remove(QLatin1Char('&')));
        EXPECT_EQ(undo->isEnabled(), QString::fromLatin1(s.undoText) != QStringLiteral("&Undo"));
    }
    EXPECT_EQ(w->document().numEnds(), 0);
}

TEST_F(DraftWindowTest, StatusBarShowsTheDraftsCounts)
{
    CDraftWindow* w = m_main->newDocument();
    w->document().SetThreadingCell(kUnrecorded, 4, 2);
    const QList<QLabel*> labels = m_main->statusBar()->findChildren<QLabel*>();
    bool found = false;
    for (QLabel* l : labels)
        found = found || l->text() == QStringLiteral("warp: 5     weft: 0     shafts: 8     treadles: 8     ");
    EXPECT_TRUE(found);
}

TEST_F(DraftWindowTest, FurtherWindowsCloseWithTheDraft)
{
    CDraftWindow* w = m_main->newDocument();
    QMenu* view = menu(QStringLiteral("&View"));
    ASSERT_NE(view, nullptr);
    QAction* fabric = item(view, QStringLiteral("&Fabric"));
    ASSERT_NE(fabric, nullptr);
    fabric->trigger();
    QMdiArea* mdi = m_main->findChild<QMdiArea*>();
    ASSERT_EQ(mdi->subWindowList().size(), 2);
    // The fabric window stands for its draft in the menus.
    EXPECT_EQ(m_main->activeDraftWindow(), w);
    EXPECT_EQ(m_main->activeGridFrame()->kindTitle(), QStringLiteral("Fabric"));
    EXPECT_NE(item(view, QStringLiteral("Zoom &In")), nullptr);

    QPointer<CDraftWindow> guard(w);
    w->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
    EXPECT_TRUE(mdi->subWindowList().isEmpty());
}

TEST_F(DraftWindowTest, ViewMenuSaysWhichPaneEachCommandChanges)
{
    m_main->newDocument();
    QMenu* view = menu(QStringLiteral("&View"));
    ASSERT_NE(view, nullptr);
    emit view->aboutToShow();
    // Every menu level keeps its access keys apart, submenus included.
    std::function<void(QMenu*)> uniqueKeys = [&](QMenu* m) {
        QSet<QChar> keys;
        for (QAction* a : m->actions()) {
            if (a->isSeparator()) continue;
            const qsizetype amp = a->text().indexOf(QLatin1Char('&'));
            if (amp < 0) continue;
            const QChar key = a->text().at(amp + 1).toLower();
            EXPECT_FALSE(keys.contains(key)) << m->title().toStdString() << ": " << a->text().toStdString();
            keys.insert(key);
            if (a->menu()) uniqueKeys(a->menu());
        }
    };
    uniqueKeys(view);
    auto paneItems = [&](const char* pane) {
        QStringList texts;
        for (QAction* a : view->actions())
            if (a->menu() && a->text().remove(QLatin1Char('&')) == QLatin1String(pane))
                for (QAction* b : a->menu()->actions()) texts << b->text();
        return texts;
    };
    EXPECT_EQ(paneItems("Threading"), QStringList({"&Numeric", "&Alpha", "User-&defined", "&Hide", "Hide &Colorbar"}));
    EXPECT_EQ(paneItems("Treadling"), QStringList({"&Numeric", "User-&defined", "&Hide", "Hide &Colorbar"}));
    EXPECT_EQ(paneItems("Tieup"), QStringList({"&Numeric", "Sym&bolic", "&Hide"}));
    EXPECT_EQ(paneItems("Drawdown"), QStringList({"&Interlace", "&Color", "Wa&rp", "We&ft", "&Hide"}));
    // Opening the menu again does not pile the submenus up.
    emit view->aboutToShow();
    EXPECT_EQ(paneItems("Tieup").size(), 3);
}
