#include "tests/ui/views/viewtestutil.h"

#include "core/draft/drawdown.h"
#include "ui/base/dialogparts.h"
#include "ui/views/interlacepopup.h"
#include "ui/views/tools/labeldialog.h"
#include "ui/views/tools/panetool.h"
#include "ui/views/tools/toolstate.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSpinBox>

#include <gtest/gtest.h>

using namespace qb;
using namespace qbtest;

namespace {

// Sends a mouse event to the pane's viewport with the buttons held, as a
// real drag does (a plain test move would carry no buttons).
void send(CGridView* pane, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons held,
          Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget* vp = pane->viewport();
    QMouseEvent e(type, QPointF(pos), QPointF(vp->mapToGlobal(pos)), button, held, mods);
    QApplication::sendEvent(vp, &e);
}

// Presses on the first point, drags over the others and releases on the last.
void drag(CGridView* pane, const std::vector<QPoint>& path, Qt::MouseButton button = Qt::LeftButton,
          Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    send(pane, QEvent::MouseButtonPress, path.front(), button, button, mods);
    for (std::size_t i = 1; i < path.size(); ++i) send(pane, QEvent::MouseMove, path[i], Qt::NoButton, button, mods);
    send(pane, QEvent::MouseButtonRelease, path.back(), button, Qt::NoButton, mods);
}

// Centre of the threading cell of end `end` (0-based) on `shaft`.
QPoint threadingCell(CThreadingView* v, int end, int shaft)
{
    return center(v->itemRect(end, shaft - 1));
}

std::vector<int> shaftsOf(const CQuillabyDoc& doc)
{
    std::vector<int> out;
    for (int e = 0; e < doc.numEnds(); ++e) out.push_back(doc.threading(0)->GetShaft(e));
    return out;
}

struct ToolFixture : ::testing::Test {
    void SetUp() override
    {
        CToolState& ts = CToolState::instance();
        ts.setTool(Tool::Pencil);
        ts.setLineKind(LineKind::Straight);
        ts.setLengthIndex(0);
        ts.setOffsetIndex(0);
    }
    void TearDown() override { CToolState::instance().setTool(Tool::Pencil); }
};

using PaneTools = ToolFixture;

} // namespace

TEST_F(PaneTools, PencilDragIsOneUndoStep)
{
    auto doc = makeDoc(0, 0);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* th = static_cast<CDraftFrame*>(s.frame)->threadingView();
    drag(th, {threadingCell(th, 0, 1), threadingCell(th, 1, 2), threadingCell(th, 2, 3), threadingCell(th, 3, 4)});
    EXPECT_EQ(shaftsOf(*doc), (std::vector<int>{1, 2, 3, 4}));
    ASSERT_TRUE(doc->history().canUndo());
    doc->Undo();
    EXPECT_EQ(doc->numEnds(), 0);
    EXPECT_FALSE(doc->history().canUndo());
    doc->Redo();
    EXPECT_EQ(shaftsOf(*doc), (std::vector<int>{1, 2, 3, 4}));

    // The right button erases the cells it passes over, Shift with it draws.
    drag(th, {threadingCell(th, 1, 2), threadingCell(th, 2, 3)}, Qt::RightButton);
    EXPECT_EQ(shaftsOf(*doc), (std::vector<int>{1, 0, 0, 4}));
    drag(th, {threadingCell(th, 1, 4)}, Qt::RightButton, Qt::ShiftModifier);
    EXPECT_EQ(shaftsOf(*doc), (std::vector<int>{1, 4, 0, 4}));
}

TEST_F(PaneTools, LinesFollowTheirRulesAlongTheDrag)
{
    struct Case {
        LineKind kind;
        Qt::MouseButton button;
        int startShaft;
        std::vector<int> want;
    };
    const Case cases[] = {
        {LineKind::Straight, Qt::LeftButton, 4, {4, 1, 2, 3, 4, 1}},
        {LineKind::Straight, Qt::RightButton, 1, {1, 4, 3, 2, 1, 4}},
        {LineKind::Point, Qt::LeftButton, 1, {1, 2, 3, 4, 3, 2}},
    };
    for (const Case& c : cases) {
        auto doc = makeDoc(0, 0);
        Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
        auto* th = static_cast<CDraftFrame*>(s.frame)->threadingView();
        CToolState::instance().setLineKind(c.kind);
        CToolState::instance().setTool(Tool::Line);
        // The pointer's shaft row does not matter, only the ends it passes.
        drag(th, {threadingCell(th, 0, c.startShaft), threadingCell(th, 2, 1), threadingCell(th, 5, 3)}, c.button);
        EXPECT_EQ(shaftsOf(*doc), c.want) << int(c.kind);
        doc->Undo();
        EXPECT_EQ(doc->numEnds(), 0) << "one undo step takes the whole line";
    }
}

TEST_F(PaneTools, LineKeepsGoingWhenThePointerLeavesThePane)
{
    auto doc = makeDoc(0, 0);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* th = static_cast<CDraftFrame*>(s.frame)->threadingView();
    CToolState::instance().setTool(Tool::Line);
    const QPoint start = threadingCell(th, 0, 1);
    // Ends run from the right: beyond the left edge lie the higher ends.
    const QPoint out(-30, start.y());
    send(th, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    send(th, QEvent::MouseMove, out, Qt::NoButton, Qt::LeftButton);
    const int reached = doc->numEnds();
    EXPECT_GT(reached, 1);
    send(th, QEvent::MouseButtonRelease, out, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(doc->numEnds(), reached);
    EXPECT_EQ(doc->threading(0)->GetShaft(reached - 1), 1 + (reached - 1) % 4);
}

TEST_F(PaneTools, TieupAndTreadlingPencil)
{
    auto doc = makeDoc(4, 4);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* f = static_cast<CDraftFrame*>(s.frame);
    auto* tu = f->tieupView();
    const bool was = doc->tieup().cell(2, 3);
    drag(tu, {center(tu->itemRect(2, 2))});
    EXPECT_TRUE(doc->tieup().cell(2, 3));
    if (!was) {
        doc->Undo();
        EXPECT_FALSE(doc->tieup().cell(2, 3));
    }
    auto* tr = f->treadlingView();
    drag(tr, {center(tr->itemRect(3, 0)), center(tr->itemRect(2, 1))});
    EXPECT_TRUE(doc->treadling(0)->GetSet(0).test(4));
    EXPECT_TRUE(doc->treadling(0)->GetSet(1).test(3));
    EXPECT_FALSE(doc->treadling(0)->GetSet(1).test(2)) << "one treadle per pick";
}

TEST_F(PaneTools, ColorBarPencilPaintsWithTheButtonColor)
{
    auto doc = makeDoc(4, 4);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* th = static_cast<CDraftFrame*>(s.frame)->threadingView();
    const int before = doc->threading(0)->GetColor(0);
    const int paint = before == 0 ? 1 : 0;
    doc->raw().paletteMutable().setRightColor(paint);
    const int bar = th->colorBarItem(0);
    drag(th, {center(th->itemRect(1, bar)), center(th->itemRect(2, bar))}, Qt::RightButton);
    EXPECT_EQ(doc->threading(0)->GetColor(1), paint);
    EXPECT_EQ(doc->threading(0)->GetColor(2), paint);
    EXPECT_EQ(doc->threading(0)->GetColor(0), before);
    doc->Undo();
    EXPECT_EQ(doc->threading(0)->GetColor(2), before);
}

TEST_F(PaneTools, TypedShaftNumbers)
{
    auto doc = makeDoc(0, 0);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* f = static_cast<CDraftFrame*>(s.frame);
    auto* th = f->threadingView();
    th->tool().setCurrentThread(0);
    auto type = [&](const QString& text) {
        for (QChar ch : text) {
            QKeyEvent e(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(th, &e);
        }
    };
    type(QStringLiteral("12"));
    EXPECT_EQ(shaftsOf(*doc), (std::vector<int>{1, 2}));
    type(QStringLiteral("9"));
    EXPECT_EQ(shaftsOf(*doc), (std::vector<int>{1, 2})) << "no ninth shaft on a 4-shaft loom";
    // Under alpha notation the letter shown is the letter typed.
    doc->SetNumShafts(kUnrecorded, 30);
    f->toggleThreadingNotation(3);
    type(QStringLiteral("Ca"));
    EXPECT_EQ(shaftsOf(*doc), (std::vector<int>{1, 2, 3, 27}));
}

TEST_F(PaneTools, EscReselectsThePencilAndZoomToolZooms)
{
    auto doc = makeDoc(4, 4);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* f = static_cast<CDraftFrame*>(s.frame);
    CToolState::instance().setTool(Tool::Zoom);
    const int before = f->endWidth();
    drag(f->draftView(), {center(f->draftView()->itemRect(0, 0))});
    EXPECT_LT(f->endWidth(), before);
    drag(f->draftView(), {center(f->draftView()->itemRect(0, 0))}, Qt::RightButton);
    EXPECT_EQ(f->endWidth(), before);
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(f->threadingView(), &esc);
    EXPECT_EQ(CToolState::instance().tool(), Tool::Pencil);
}

TEST(ToolRows, ModifiersChooseTheRow)
{
    EXPECT_EQ(RowForModifiers(Qt::NoModifier, false), 0);
    EXPECT_EQ(RowForModifiers(Qt::ShiftModifier, false), 0);
    EXPECT_EQ(RowForModifiers(Qt::ControlModifier, false), 1);
    EXPECT_EQ(RowForModifiers(Qt::ControlModifier | Qt::AltModifier, false), 2);
    EXPECT_EQ(RowForModifiers(Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier, false), 3);
    EXPECT_EQ(RowForModifiers(Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier, true), 2);
}

TEST_F(PaneTools, SelectionCommandsInTheThreading)
{
    auto doc = makeDoc(8, 4);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* th = static_cast<CDraftFrame*>(s.frame)->threadingView();
    CToolState::instance().setTool(Tool::Selection);
    // A drag over ends 3..5 on any rows selects those whole ends.
    drag(th, {threadingCell(th, 2, 1), threadingCell(th, 4, 3)});
    ASSERT_TRUE(th->hasSelection());
    EXPECT_EQ(th->selection(0), 2);
    EXPECT_EQ(th->selection(1), 4);
    EXPECT_EQ(th->selection(2), 0);
    EXPECT_EQ(th->selection(3), 3);
    EXPECT_TRUE(th->tool().runSelectionCommand(CPaneTool::SelectionCommand::Delete));
    EXPECT_EQ(shaftsOf(*doc), (std::vector<int>{1, 2, 2, 3, 4}));
    EXPECT_FALSE(th->hasSelection());
    doc->Undo();
    EXPECT_EQ(shaftsOf(*doc), (std::vector<int>{1, 2, 3, 4, 1, 2, 3, 4}));

    drag(th, {threadingCell(th, 0, 1), threadingCell(th, 1, 1)});
    th->tool().runSelectionCommand(CPaneTool::SelectionCommand::Clear);
    EXPECT_EQ(shaftsOf(*doc), (std::vector<int>{0, 0, 3, 4, 1, 2, 3, 4}));
}

TEST_F(PaneTools, DrawdownSelectionAsksToCrop)
{
    auto doc = makeDoc(8, 6);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* dv = static_cast<CDraftFrame*>(s.frame)->draftView();
    QStringList asked;
    bool answer = false;
    CToolState::instance().setAsker([&](const QString& q) {
        asked << q;
        return answer;
    });
    CToolState::instance().setTool(Tool::Selection);
    drag(dv, {center(dv->itemRect(1, 1)), center(dv->itemRect(3, 2))});
    EXPECT_EQ(asked, QStringList{QStringLiteral("Crop draft?\n")});
    EXPECT_EQ(doc->numEnds(), 8);
    answer = true;
    drag(dv, {center(dv->itemRect(1, 1)), center(dv->itemRect(3, 2))});
    EXPECT_EQ(doc->numEnds(), 3);
    EXPECT_EQ(doc->numPicks(), 2);
    EXPECT_EQ(shaftsOf(*doc), (std::vector<int>{2, 3, 4}));
    doc->Undo();
    EXPECT_EQ(doc->numEnds(), 8);
    CToolState::instance().setAsker({});
}

TEST_F(PaneTools, TieupSelectionFlipsAndInverts)
{
    auto doc = makeDoc(4, 4);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* tu = static_cast<CDraftFrame*>(s.frame)->tieupView();
    auto cells = [&] {
        std::vector<int> out;
        for (int t = 0; t < 2; ++t)
            for (int sh = 1; sh <= 2; ++sh) out.push_back(doc->tieup().cell(t, sh));
        return out;
    };
    const std::vector<int> before = cells();
    CToolState::instance().setTool(Tool::Selection);
    drag(tu, {center(tu->itemRect(0, 0)), center(tu->itemRect(1, 1))});
    tu->tool().runSelectionCommand(CPaneTool::SelectionCommand::Invert);
    std::vector<int> inverted = before;
    for (int& c : inverted) c = !c;
    EXPECT_EQ(cells(), inverted);
    doc->Undo();
    EXPECT_EQ(cells(), before);
}

TEST_F(PaneTools, LabelsFromTheSelectionAndRefusedTexts)
{
    auto doc = makeDoc(8, 4);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* th = static_cast<CDraftFrame*>(s.frame)->threadingView();
    std::string text = "Border";
    SetLabelDialogRunner([&](LabelRequest& r) {
        EXPECT_EQ(r.from, 4);
        EXPECT_EQ(r.to, 4);
        r.text = text;
        return true;
    });
    CToolState::instance().setTool(Tool::Selection);
    drag(th, {threadingCell(th, 3, 1)});
    th->tool().runSelectionCommand(CPaneTool::SelectionCommand::Label);
    ASSERT_NE(doc->threading(0)->FindLabel(3, 1), nullptr) << "a label of one thread";
    EXPECT_EQ(doc->threading(0)->FindLabel(3, 1)->text, "Border");
    doc->Undo();
    EXPECT_EQ(doc->threading(0)->FindLabel(3, 1), nullptr);
    SetLabelDialogRunner({});

    // The dialog itself keeps a text with a reserved character from OK.
    QStringList told;
    CToolState::instance().setMessenger([&](const QString& t) { told << t; });
    CLabelDialog dlg(LabelRequest{1, 2, "", false, 0, 0});
    dlg.textBox()->setText(QStringLiteral("a;b"));
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(told.size(), 1);
    dlg.textBox()->setText(QStringLiteral("ab"));
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    CToolState::instance().setMessenger({});
}

TEST_F(PaneTools, TypingSymbolsRefusesReservedCharacters)
{
    auto doc = makeDoc(4, 4);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* f = static_cast<CDraftFrame*>(s.frame);
    auto* th = f->threadingView();
    f->toggleThreadingNotation(5);
    send(th, QEvent::MouseButtonDblClick, threadingCell(th, 1, 2), Qt::LeftButton, Qt::LeftButton);
    ASSERT_TRUE(th->tool().typingSymbols());
    for (QChar ch : QStringLiteral("x[;]y")) {
        QKeyEvent e(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(th, &e);
    }
    EXPECT_EQ(doc->threading(0)->GetSymbol(1), 'x');
    EXPECT_EQ(doc->threading(0)->GetSymbol(2), 'y');
    EXPECT_EQ(doc->threading(0)->GetSymbol(3), 0);
    // Reaching the last thread ends typing; further keys type shafts again.
    QKeyEvent z(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("z"));
    QApplication::sendEvent(th, &z);
    EXPECT_EQ(doc->threading(0)->GetSymbol(3), 'z');
    EXPECT_FALSE(th->tool().typingSymbols());
    doc->Undo();
    EXPECT_EQ(doc->threading(0)->GetSymbol(3), 0) << "each symbol is its own step";
}

TEST_F(PaneTools, MoveAndStampThreads)
{
    auto doc = makeDoc(6, 4);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* th = static_cast<CDraftFrame*>(s.frame)->threadingView();
    // Shafts 1 2 3 4 1 2: move end 1 to the place of end 4.
    CToolState::instance().setTool(Tool::Move);
    drag(th, {threadingCell(th, 0, 1), threadingCell(th, 3, 2)});
    EXPECT_EQ(shaftsOf(*doc), (std::vector<int>{2, 3, 4, 1, 1, 2}));
    doc->Undo();
    EXPECT_EQ(shaftsOf(*doc), (std::vector<int>{1, 2, 3, 4, 1, 2}));

    // Select ends 1..3; the copy follows the pointer centred on it, and a
    // click pastes it there (ends 5..7 around end 6), then the pencil is back.
    CToolState::instance().setTool(Tool::Selection);
    drag(th, {threadingCell(th, 0, 1), threadingCell(th, 2, 1)});
    CToolState::instance().setTool(Tool::Stamp);
    send(th, QEvent::MouseMove, threadingCell(th, 5, 2), Qt::NoButton, Qt::NoButton);
    auto* preview = th->viewport()->findChild<QWidget*>(QStringLiteral("stampPreview"));
    ASSERT_TRUE(preview);
    EXPECT_TRUE(preview->isVisible());
    for (int end : {4, 5, 6}) EXPECT_TRUE(preview->geometry().contains(threadingCell(th, end, 4))) << end;
    for (int end : {3, 7}) EXPECT_FALSE(preview->geometry().contains(threadingCell(th, end, 1))) << end;
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(th, &leave);
    EXPECT_FALSE(preview->isVisible());
    drag(th, {threadingCell(th, 5, 1)});
    EXPECT_EQ(shaftsOf(*doc), (std::vector<int>{1, 2, 3, 4, 1, 2, 3}));
    EXPECT_EQ(CToolState::instance().tool(), Tool::Pencil);
    EXPECT_FALSE(preview->isVisible());
    doc->Undo();
    EXPECT_EQ(shaftsOf(*doc), (std::vector<int>{1, 2, 3, 4, 1, 2}));
}

TEST_F(PaneTools, MoveToolMovesATreadleInTheTieup)
{
    auto doc = makeDoc(4, 6);
    for (int t = 0; t < 4; ++t)
        for (int sh = 1; sh <= 4; ++sh) {
            if (sh <= t + 1) doc->SetTieupCell(kUnrecorded, t, sh);
            else doc->ClearTieupCell(kUnrecorded, t, sh);
        }
    doc->DiscardHistory();
    std::vector<Cell> cloth;
    for (int e = 0; e < 4; ++e)
        for (int p = 0; p < 6; ++p) cloth.push_back(DrawdownCell(*doc, e, p));
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* tu = static_cast<CDraftFrame*>(s.frame)->tieupView();
    CToolState::instance().setTool(Tool::Move);
    // While dragging, the treadle rides with the pointer.
    send(tu, QEvent::MouseButtonPress, center(tu->itemRect(0, 1)), Qt::LeftButton, Qt::LeftButton);
    send(tu, QEvent::MouseMove, center(tu->itemRect(1, 1)), Qt::NoButton, Qt::LeftButton);
    send(tu, QEvent::MouseMove, center(tu->itemRect(2, 3)), Qt::NoButton, Qt::LeftButton);
    auto* riding = tu->viewport()->findChild<QWidget*>(QStringLiteral("stampPreview"));
    ASSERT_TRUE(riding);
    EXPECT_TRUE(riding->isVisible());
    EXPECT_TRUE(riding->geometry().contains(center(tu->itemRect(2, 0))));
    EXPECT_FALSE(riding->geometry().contains(center(tu->itemRect(1, 0))));
    EXPECT_TRUE(doc->tieup().column(0) == TUPTYPE::firstShafts(1));
    send(tu, QEvent::MouseButtonRelease, center(tu->itemRect(2, 3)), Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(riding->isVisible());
    // Treadle 1 now sits third, its picks went with it: the cloth is the same.
    EXPECT_TRUE(doc->tieup().column(2) == TUPTYPE::firstShafts(1));
    EXPECT_TRUE(doc->tieup().column(0) == TUPTYPE::firstShafts(2));
    EXPECT_TRUE(doc->treadling(0)->GetSet(0).test(3));
    for (int e = 0; e < 4; ++e)
        for (int p = 0; p < 6; ++p) EXPECT_EQ(DrawdownCell(*doc, e, p), cloth[e * 6 + p]) << e << "," << p;
    ASSERT_TRUE(doc->history().canUndo());
    doc->Undo();
    EXPECT_TRUE(doc->tieup().column(0) == TUPTYPE::firstShafts(1));
    EXPECT_FALSE(doc->history().canUndo());
}

TEST_F(PaneTools, DrawdownPencilSetsOneCrossing)
{
    auto doc = makeDoc(4, 4);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* dv = static_cast<CDraftFrame*>(s.frame)->draftView();
    // Find a crossing where the weft is up and make the warp go up there.
    int end = -1, pick = -1;
    for (int e = 0; e < 4 && end < 0; ++e)
        for (int p = 0; p < 4; ++p)
            if (DrawdownCell(*doc, e, p) == Cell::WeftUp) {
                end = e;
                pick = p;
                break;
            }
    ASSERT_GE(end, 0);
    std::vector<Cell> before;
    for (int e = 0; e < 4; ++e)
        for (int p = 0; p < 4; ++p) before.push_back(DrawdownCell(*doc, e, p));
    drag(dv, {center(dv->itemRect(end, pick))});
    for (int e = 0; e < 4; ++e)
        for (int p = 0; p < 4; ++p)
            EXPECT_EQ(DrawdownCell(*doc, e, p), e == end && p == pick ? Cell::WarpUp : before[e * 4 + p])
                << e << "," << p;
    doc->Undo();
    EXPECT_EQ(DrawdownCell(*doc, end, pick), Cell::WeftUp);
}

TEST_F(PaneTools, BucketFillsTheColorRowWithThePattern)
{
    auto doc = makeDoc(4, 4);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* th = static_cast<CDraftFrame*>(s.frame)->threadingView();
    ColorPalette& pal = doc->raw().paletteMutable();
    pal.add(0x00FF00, false);
    pal.setLeftColor(pal.count() - 1);
    pal.setRightColor(0);
    CToolState::instance().setFillPattern(1);
    CToolState::instance().setTool(Tool::PaintBucket);
    drag(th, {center(th->itemRect(2, th->colorBarItem(0)))});
    std::vector<int> got;
    for (int e = 0; e < 4; ++e) got.push_back(doc->threading(0)->GetColor(e));
    const int l = pal.leftColor();
    EXPECT_EQ(got, (std::vector<int>{l, 0, l, 0}));
    // The right button starts with its own color and becomes the current one.
    drag(th, {center(th->itemRect(2, th->colorBarItem(0)))}, Qt::RightButton);
    got.clear();
    for (int e = 0; e < 4; ++e) got.push_back(doc->threading(0)->GetColor(e));
    EXPECT_EQ(got, (std::vector<int>{0, l, 0, l}));
    EXPECT_TRUE(CToolState::instance().rightSelected());
    CToolState::instance().setFillPattern(0);
    CToolState::instance().selectRight(false);
}

TEST_F(PaneTools, DragBeyondThePaneScrollsAndKeepsDrawing)
{
    auto doc = makeDoc(200, 4);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false), QSize(500, 400));
    auto* th = static_cast<CDraftFrame*>(s.frame)->threadingView();
    QScrollBar* bar = th->horizontalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(bar->maximum()); // ends 1.. at the right edge
    QApplication::processEvents();
    const int start = bar->value();
    CToolState::instance().setTool(Tool::Pencil);
    // Draw on shaft 4 from end 1, then hold the pointer beyond the left edge.
    send(th, QEvent::MouseButtonPress, threadingCell(th, 0, 4), Qt::LeftButton, Qt::LeftButton);
    const QPoint out(-20, threadingCell(th, 0, 4).y());
    send(th, QEvent::MouseMove, out, Qt::NoButton, Qt::LeftButton);
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 400) QApplication::processEvents(QEventLoop::AllEvents, 20);
    send(th, QEvent::MouseButtonRelease, out, Qt::LeftButton, Qt::NoButton);
    EXPECT_LT(bar->value(), start) << "the pane scrolled towards the pointer";
    // The pencil kept drawing on the ends that scrolled under the pointer.
    int onFour = 0;
    for (int e = 0; e < doc->numEnds(); ++e) onFour += doc->threading(0)->GetShaft(e) == 4;
    EXPECT_GT(onFour, 200 / 4 + 1);
    doc->Undo();
    onFour = 0;
    for (int e = 0; e < doc->numEnds(); ++e) onFour += doc->threading(0)->GetShaft(e) == 4;
    EXPECT_EQ(onFour, 200 / 4) << "the whole drag is one undo step";
}

TEST_F(PaneTools, InterlacementPopupFollowsTheDrag)
{
    auto doc = makeDoc(6, 6);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* dv = static_cast<CDraftFrame*>(s.frame)->draftView();
    CToolState::instance().setTool(Tool::WarpInterlace);
    send(dv, QEvent::MouseButtonPress, center(dv->itemRect(1, 1)), Qt::LeftButton, Qt::LeftButton);
    auto popups = [&] {
        int n = 0;
        for (auto* p : dv->findChildren<CWarpInterlacePopup*>()) n += p->isVisible();
        return n;
    };
    ASSERT_EQ(popups(), 1);
    send(dv, QEvent::MouseMove, center(dv->itemRect(3, 1)), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(dv->findChildren<CWarpInterlacePopup*>().value(0)->thread(), 3);
    send(dv, QEvent::MouseButtonRelease, center(dv->itemRect(3, 1)), Qt::LeftButton, Qt::NoButton);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(popups(), 0);
}

TEST_F(PaneTools, TieupSelectionRotates)
{
    auto doc = makeDoc(4, 4);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* tu = static_cast<CDraftFrame*>(s.frame)->tieupView();
    for (int t = 0; t < 4; ++t) doc->SetTieupColumn(kUnrecorded, t, TUPTYPE());
    doc->SetTieupCell(kUnrecorded, 0, 1); // treadle 1, shaft 1: the lower left corner
    doc->SetTieupCell(kUnrecorded, 1, 1);
    CToolState::instance().setTool(Tool::Selection);
    drag(tu, {center(tu->itemRect(0, 0)), center(tu->itemRect(2, 2))});
    ASSERT_TRUE(tu->tool().runSelectionCommand(CPaneTool::SelectionCommand::RotateCW));
    // The bottom row turns into the left column, read upwards from the top.
    EXPECT_TRUE(doc->tieup().cell(0, 3));
    EXPECT_TRUE(doc->tieup().cell(0, 2));
    EXPECT_FALSE(doc->tieup().cell(0, 1));
    EXPECT_FALSE(doc->tieup().cell(1, 1));
    drag(tu, {center(tu->itemRect(0, 0)), center(tu->itemRect(2, 2))});
    tu->tool().runSelectionCommand(CPaneTool::SelectionCommand::RotateCCW);
    EXPECT_TRUE(doc->tieup().cell(0, 1));
    EXPECT_TRUE(doc->tieup().cell(1, 1));
    EXPECT_FALSE(doc->tieup().cell(0, 3));
    // Only a square turns.
    QStringList told;
    CToolState::instance().setMessenger([&](const QString& t) { told << t; });
    drag(tu, {center(tu->itemRect(0, 0)), center(tu->itemRect(1, 2))});
    EXPECT_FALSE(tu->tool().runSelectionCommand(CPaneTool::SelectionCommand::RotateCW));
    EXPECT_EQ(told.size(), 1);
    CToolState::instance().setMessenger({});
}

TEST_F(PaneTools, PickupThenBrushAnywhereInThePane)
{
    auto doc = makeDoc(4, 4);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* th = static_cast<CDraftFrame*>(s.frame)->threadingView();
    ColorPalette& pal = doc->raw().paletteMutable();
    const int green = pal.add(0x00FF00, false);
    doc->SetThreadColors(kUnrecorded, Side::Threading, 3, 3, green);
    pal.setLeftColor(0);
    CToolState::instance().setTool(Tool::PaintBrush);
    CToolState::instance().setTool(Tool::PickupColor);
    drag(th, {center(th->itemRect(3, th->colorBarItem(0)))});
    EXPECT_EQ(pal.leftColor(), green);
    EXPECT_EQ(CToolState::instance().tool(), Tool::PaintBrush) << "the previous tool comes back";
    // The brush paints the thread under the pointer from the shaft cells too.
    drag(th, {threadingCell(th, 0, 2), threadingCell(th, 1, 4)});
    EXPECT_EQ(doc->threading(0)->GetColor(0), green);
    EXPECT_EQ(doc->threading(0)->GetColor(1), green);
    EXPECT_EQ(shaftsOf(*doc), (std::vector<int>{1, 2, 3, 4})) << "the brush leaves the threading alone";
}

TEST_F(PaneTools, ZoomKeepsTheClickedCellUnderThePointer)
{
    auto doc = makeDoc(400, 400);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* dv = static_cast<CDraftFrame*>(s.frame)->draftView();
    dv->horizontalScrollBar()->setValue(dv->horizontalScrollBar()->maximum() / 2);
    dv->verticalScrollBar()->setValue(dv->verticalScrollBar()->maximum() / 2);
    QApplication::processEvents();
    const QPoint at = dv->viewport()->rect().center();
    const QPoint c = at - dv->contentOffset();
    const int end = dv->columns().itemAt(c.x()), pick = dv->rows().itemAt(c.y());
    CToolState::instance().setTool(Tool::Zoom);
    drag(dv, {at}, Qt::RightButton); // zoom in
    EXPECT_TRUE(dv->itemRect(end, pick).adjusted(-1, -1, 1, 1).contains(at));
    drag(dv, {at}); // zoom out
    EXPECT_TRUE(dv->itemRect(end, pick).adjusted(-1, -1, 1, 1).contains(at));
}

TEST_F(PaneTools, RepeatTheSelectedThreads)
{
    auto doc = makeDoc(5, 4);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* th = static_cast<CDraftFrame*>(s.frame)->threadingView();
    int asked = 0;
    SetDialogRunner([&](QDialog& d) {
        ++asked;
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Repeat"));
        EXPECT_FALSE(d.findChild<QCheckBox*>(QStringLiteral("single"))->isVisibleTo(&d))
            << "no single repeat of a selection";
        d.findChild<QSpinBox*>(QStringLiteral("times"))->setValue(3);
        return true;
    });
    CToolState::instance().setTool(Tool::Selection);
    drag(th, {threadingCell(th, 1, 1), threadingCell(th, 2, 1)});
    EXPECT_TRUE(th->tool().runSelectionCommand(CPaneTool::SelectionCommand::Repeat));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(shaftsOf(*doc), (std::vector<int>{1, 2, 3, 2, 3, 2, 3, 4, 1}));
    doc->Undo();
    EXPECT_EQ(shaftsOf(*doc), (std::vector<int>{1, 2, 3, 4, 1}));
    // Cancel repeats nothing.
    SetDialogRunner([](QDialog&) { return false; });
    drag(th, {threadingCell(th, 1, 1), threadingCell(th, 2, 1)});
    EXPECT_FALSE(th->tool().runSelectionCommand(CPaneTool::SelectionCommand::Repeat));
    EXPECT_EQ(doc->numEnds(), 5);
    SetDialogRunner({});
}

TEST_F(PaneTools, SelectionSetDrawsStraightAcrossTheSelectedThreads)
{
    auto doc = makeDoc(8, 4);
    doc->ClearThreads(kUnrecorded, Side::Threading, 0, 8);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* f = static_cast<CDraftFrame*>(s.frame);
    auto* th = f->threadingView();
    CToolState::instance().setTool(Tool::Selection);
    drag(th, {threadingCell(th, 1, 2), threadingCell(th, 6, 2)});
    const auto offered = th->tool().selectionCommands();
    ASSERT_GE(offered.size(), 2u);
    EXPECT_EQ(offered[1], CPaneTool::SelectionCommand::Set);
    ASSERT_TRUE(th->tool().runSelectionCommand(CPaneTool::SelectionCommand::Set));
    EXPECT_EQ(shaftsOf(*doc), (std::vector<int>{0, 1, 2, 3, 4, 1, 2, 0}));
    doc->Undo();
    EXPECT_EQ(shaftsOf(*doc), (std::vector<int>(8, 0)));

    // In the treadling each selected pick gets one treadle, in turn.
    // Blank ends past the last one in use are drawn on too.
    drag(th, {threadingCell(th, 6, 1), threadingCell(th, 9, 1)});
    ASSERT_TRUE(th->tool().runSelectionCommand(CPaneTool::SelectionCommand::Set));
    EXPECT_EQ(shaftsOf(*doc), (std::vector<int>{0, 0, 0, 0, 0, 0, 1, 2, 3, 4}));

    auto* tr = f->treadlingView();
    drag(tr, {center(tr->itemRect(0, 0)), center(tr->itemRect(0, 2))});
    ASSERT_TRUE(tr->tool().runSelectionCommand(CPaneTool::SelectionCommand::Set));
    for (int p = 0; p < 3; ++p) {
        const TreadleSet set = doc->treadling(0)->GetSet(p);
        EXPECT_EQ(set.count(), 1);
        EXPECT_TRUE(set.test(p + 1)) << p;
    }
}

TEST_F(PaneTools, TieupDeleteRemovesWholeTreadles)
{
    auto doc = makeDoc(4, 6);
    // A distinct tieup: treadle t lifts shafts 1..t+1.
    for (int t = 0; t < 4; ++t)
        for (int sh = 1; sh <= 4; ++sh) {
            if (sh <= t + 1) doc->SetTieupCell(kUnrecorded, t, sh);
            else doc->ClearTieupCell(kUnrecorded, t, sh);
        }
    doc->DiscardHistory();
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* tu = static_cast<CDraftFrame*>(s.frame)->tieupView();
    CToolState::instance().setTool(Tool::Selection);
    // A part of a treadle offers the rotations, whole treadles the second menu.
    drag(tu, {center(tu->itemRect(1, 0)), center(tu->itemRect(2, 1))});
    EXPECT_EQ(tu->tool().selectionCommands().size(), 6u);
    drag(tu, {center(tu->itemRect(1, 0)), center(tu->itemRect(2, 3))});
    const auto offered = tu->tool().selectionCommands();
    ASSERT_EQ(offered.size(), 4u);
    EXPECT_EQ(offered.back(), CPaneTool::SelectionCommand::DeleteTreadles);
    ASSERT_TRUE(tu->tool().runSelectionCommand(CPaneTool::SelectionCommand::DeleteTreadles));
    // Treadle 4 became treadle 2; picks on treadles 2 and 3 are empty now.
    EXPECT_TRUE(doc->tieup().column(0) == TUPTYPE::firstShafts(1));
    EXPECT_TRUE(doc->tieup().column(1) == TUPTYPE::firstShafts(4));
    EXPECT_TRUE(doc->tieup().column(2).empty());
    const int want[] = {1, 0, 0, 2, 1, 0};
    for (int p = 0; p < 6; ++p) {
        const TreadleSet set = doc->treadling(0)->GetSet(p);
        EXPECT_EQ(set.empty() ? 0 : set.lowest(), want[p]) << p;
    }
    doc->Undo();
    EXPECT_TRUE(doc->tieup().column(1) == TUPTYPE::firstShafts(2));
    EXPECT_TRUE(doc->treadling(0)->GetSet(2).test(3));
    EXPECT_FALSE(doc->history().canUndo());
}

TEST_F(PaneTools, DrawdownPencilInASinkingShedChangesOneCrossingAndNoCounts)
{
    auto doc = makeDoc(8, 8, 4, false);
    ASSERT_TRUE(doc->SetMultipleTreadles(kUnrecorded, true));
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* f = static_cast<CDraftFrame*>(s.frame);
    auto* dv = f->draftView();
    auto cloth = [&] {
        std::vector<Cell> out;
        for (int e = 0; e < 8; ++e)
            for (int p = 0; p < 8; ++p) out.push_back(DrawdownCell(*doc, e, p));
        return out;
    };
    const std::vector<Cell> before = cloth();
    const int shafts = doc->numShafts(), treadles = doc->numTreadles();
    // In weft mode black is the weft: a left click puts the weft on top.
    f->setColoring(2);
    int end = -1, pick = -1;
    for (int e = 0; e < 8 && end < 0; ++e)
        for (int p = 0; p < 8; ++p)
            if (before[e * 8 + p] == Cell::WarpUp) {
                end = e;
                pick = p;
                break;
            }
    ASSERT_GE(end, 0);
    drag(dv, {center(dv->itemRect(end, pick))});
    const std::vector<Cell> after = cloth();
    for (int e = 0; e < 8; ++e)
        for (int p = 0; p < 8; ++p)
            EXPECT_EQ(after[e * 8 + p], e == end && p == pick ? Cell::WeftUp : before[e * 8 + p]) << e << "," << p;
    EXPECT_GE(doc->numShafts(), shafts);
    EXPECT_GE(doc->numTreadles(), treadles);
    EXPECT_EQ(doc->history().undoName(), "Pencil");
    doc->Undo();
    EXPECT_EQ(cloth(), before);
    EXPECT_EQ(doc->numShafts(), shafts);
}

TEST_F(PaneTools, DrawdownPencilStrokeIsOneStepAndSaysWhyItStops)
{
    auto doc = makeDoc(6, 6);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* dv = static_cast<CDraftFrame*>(s.frame)->draftView();
    // A stroke along pick 1 over three ends puts the warp on top at each.
    drag(dv, {center(dv->itemRect(0, 0)), center(dv->itemRect(1, 0)), center(dv->itemRect(2, 0))});
    for (int e = 0; e < 3; ++e) EXPECT_EQ(DrawdownCell(*doc, e, 0), Cell::WarpUp) << e;
    int steps = 0;
    while (doc->history().canUndo()) {
        doc->Undo();
        ++steps;
    }
    EXPECT_LE(steps, 1) << "the stroke is one step";

    // With the color bars correlated the pencil says why it cannot draw.
    auto bars = makeDoc(4, 4);
    bars->SetNumRows(kUnrecorded, Side::Treadling, 2);
    bars->raw().setCorrelation(2, true);
    ASSERT_NE(bars->activeCorrelation(), 0);
    Shown b(CDraftFrame::create(bars.get(), CellScale{}, false, false));
    auto* bv = static_cast<CDraftFrame*>(b.frame)->draftView();
    QStringList told;
    CToolState::instance().setStatusLine([&](const QString& m) { told << m; });
    drag(bv, {center(bv->itemRect(1, 2)), center(bv->itemRect(2, 2))});
    CToolState::instance().setStatusLine({});
    ASSERT_EQ(told.size(), 1);
    EXPECT_FALSE(bars->history().canUndo());
}
