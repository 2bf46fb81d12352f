// A weaver designs a point twill with a tabby in a new draft with the mouse
// alone: tools from the tool bar and the Draw menu, lines, a selection
// stamped along the warp, pencil clicks in the tieup and the treadling.
#include "tests/ui/mainwindowfixture.h"
#include "ui/app/defaultpalette.h"
#include "ui/app/mainframe.h"
#include "ui/app/recentfilelist.h"
#include "ui/views/draftwindow.h"

#include "core/draft/drawdown.h"
#include "ui/views/draftframe.h"
#include "ui/views/draftview.h"
#include "ui/views/tdinggridview.h"
#include "ui/views/tieupview.h"
#include "ui/views/tools/toolstate.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

using namespace qb;

namespace {

QPoint center(const QRect& r)
{
    return r.center();
}

void send(CGridView* pane, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons held)
{
    QWidget* vp = pane->viewport();
    QMouseEvent e(type, QPointF(pos), QPointF(vp->mapToGlobal(pos)), button, held, Qt::NoModifier);
    QApplication::sendEvent(vp, &e);
}

void drag(CGridView* pane, const std::vector<QPoint>& path, Qt::MouseButton button = Qt::LeftButton)
{
    send(pane, QEvent::MouseButtonPress, path.front(), button, button);
    for (std::size_t i = 1; i < path.size(); ++i) send(pane, QEvent::MouseMove, path[i], Qt::NoButton, button);
    send(pane, QEvent::MouseButtonRelease, path.back(), button, Qt::NoButton);
}

QAction* findAction(const QList<QAction*>& actions, const QString& text)
{
    for (QAction* a : actions) {
        if (QString(a->text()).remove(QLatin1Char('&')) == text) return a;
        if (a->menu())
            if (QAction* in = findAction(a->menu()->actions(), text)) return in;
    }
    return nullptr;
}

class DesignByMouse : public MainWindowTest {
protected:
    bool startsWithWindow() const override { return false; }
    void SetUp() override
    {
        openMain(QSize(1500, 950));
        CToolState::instance().setTool(Tool::Pencil);
        CToolState::instance().setLineKind(LineKind::Straight);
    }
    void TearDown() override
    {
        CToolState::instance().setTool(Tool::Pencil);
        MainWindowTest::TearDown();
    }
    // A click on the tool bar's button of a tool.
    void chooseTool(const QString& text)
    {
        auto* bar = m_main->findChild<QToolBar*>(QStringLiteral("ToolsBar"));
        ASSERT_TRUE(bar);
        QAction* a = findAction(bar->actions(), text);
        ASSERT_TRUE(a) << text.toStdString();
        QWidget* button = bar->widgetForAction(a);
        ASSERT_TRUE(button);
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(4, button->height() / 2));
    }
};

} // namespace

TEST_F(DesignByMouse, PointTwillWithTabbyFromAnEmptyDraft)
{
    CDraftWindow* w = m_main->newDocument();
    ASSERT_TRUE(w);
    QApplication::processEvents();
    CQuillabyDoc& doc = w->document();
    CDraftFrame* f = w->frame();
    auto* th = f->threadingView();
    auto* tu = f->tieupView();
    auto* tr = f->treadlingView();
    auto cell = [](CGridView* pane, int col, int row) { return center(pane->itemRect(col, row)); };

    // Threading: a straight line up over ends 1..4, a right-button line down
    // over ends 5..6 (shafts 3, 2).
    chooseTool(QStringLiteral("Line"));
    ASSERT_EQ(CToolState::instance().tool(), Tool::Line);
    drag(th, {cell(th, 0, 0), cell(th, 2, 5), cell(th, 3, 0)});
    drag(th, {cell(th, 4, 2), cell(th, 5, 7)}, Qt::RightButton);
    // Select the six ends and stamp them twice further along the warp.
    chooseTool(QStringLiteral("Selection"));
    drag(th, {cell(th, 0, 0), cell(th, 5, 0)});
    ASSERT_TRUE(th->hasSelection());
    for (int at : {9, 15}) {
        chooseTool(QStringLiteral("Stamp"));
        send(th, QEvent::MouseMove, cell(th, at, 0), Qt::NoButton, Qt::NoButton);
        drag(th, {cell(th, at, 0)});
    }
    std::vector<int> shafts;
    for (int e = 0; e < doc.numEnds(); ++e) shafts.push_back(doc.threading(0)->GetShaft(e));
    const std::vector<int> point = {1, 2, 3, 4, 3, 2, 1, 2, 3, 4, 3, 2, 1, 2, 3, 4, 3, 2};
    ASSERT_EQ(shafts, point);

    // Tieup: a 2/2 twill on treadles 1..4, tabby on 5 and 6; the right
    // button takes away the straight tie a new draft starts with.
    ASSERT_EQ(CToolState::instance().tool(), Tool::Pencil);
    const std::vector<std::vector<int>> ties = {{1, 2}, {2, 3}, {3, 4}, {4, 1}, {1, 3}, {2, 4}};
    for (int t = 0; t < 6; ++t) {
        for (int s = 1; s <= doc.numShafts(); ++s)
            if (doc.tieup().cell(t, s) && std::find(ties[t].begin(), ties[t].end(), s) == ties[t].end())
                drag(tu, {cell(tu, t, s - 1)}, Qt::RightButton);
        for (int s : ties[t])
            if (!doc.tieup().cell(t, s)) drag(tu, {cell(tu, t, s - 1)});
    }
    // Treadling: the point order 1 2 3 4 3 2 with a tabby pick after each.
    const int treadles[] = {1, 5, 2, 6, 3, 5, 4, 6, 3, 5, 2, 6};
    for (int p = 0; p < 12; ++p) drag(tr, {cell(tr, treadles[p] - 1, p)});
    ASSERT_EQ(doc.numPicks(), 12);
    EXPECT_TRUE(m_told.isEmpty()) << m_told.join(QLatin1Char('|')).toStdString();

    // The cloth: a tabby pick alternates end by end, a twill pick lifts the
    // ends on its treadle's two shafts.
    for (int p = 0; p < 12; ++p)
        for (int e = 0; e < 18; ++e) {
            const auto& tie = ties[treadles[p] - 1];
            const bool up = std::find(tie.begin(), tie.end(), point[e]) != tie.end();
            EXPECT_EQ(DrawdownCell(doc, e, p), up ? Cell::WarpUp : Cell::WeftUp) << "end " << e << " pick " << p;
            if (p % 2 == 1 && e > 0) {
                EXPECT_NE(DrawdownCell(doc, e, p), DrawdownCell(doc, e - 1, p));
            }
        }

    // Every action was one step: undoing them all leaves the empty draft.
    int steps = 0;
    while (doc.history().canUndo() && steps < 100) {
        doc.Undo();
        ++steps;
    }
    EXPECT_EQ(doc.numEnds(), 0);
    EXPECT_EQ(doc.numPicks(), 0);
    EXPECT_GE(steps, 4 + 12);
}
