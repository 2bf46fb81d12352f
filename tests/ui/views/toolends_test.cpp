// The keyboard's paging, the tools' own cursors, the heavy-line period, the
// treadling's layer symbols and frames turning over with DraftDrawnUp.
#include "tests/ui/views/viewtestutil.h"

#include "core/draft/heavylines.h"

#include "ui/views/tools/panekeys.h"
#include "ui/views/tools/panetool.h"
#include "ui/views/tools/toolcursors.h"
#include "ui/views/tools/toolstate.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

#include <set>

using namespace qb;
using namespace qbtest;

namespace {

void key(QWidget* w, int k, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent e(QEvent::KeyPress, k, mods);
    QApplication::sendEvent(w, &e);
}

bool shows(CGridView* pane, const QRect& r)
{
    return pane->viewport()->rect().contains(r.center());
}

} // namespace

TEST(PaneKeys, PagesAndArrowsMoveTheCurrentCellAndKeepItInView)
{
    for (const bool drawnUp : {false, true}) {
        SCOPED_TRACE(drawnUp ? "drawn up" : "threading on top");
        auto doc = makeDoc(300, 300, 8);
        Shown s(CDraftFrame::create(doc.get(), CellScale{}, drawnUp, false), QSize(600, 500));
        auto* f = static_cast<CDraftFrame*>(s.frame);
        auto* th = f->threadingView();
        CPaneKeys& keys = th->tool().keys();
        keys.setCurrent(0);
        key(th, Qt::Key_PageDown);
        const int page = keys.current();
        EXPECT_GT(page, 10) << "a window of ends";
        EXPECT_TRUE(shows(th, th->itemRect(page, 0)));
        key(th, Qt::Key_PageDown);
        EXPECT_EQ(keys.current(), 2 * page);
        EXPECT_TRUE(shows(th, th->itemRect(2 * page, 0)));
        key(th, Qt::Key_PageUp);
        EXPECT_EQ(keys.current(), page);
        // Up and Down follow the screen: shaft 1 is the bottom row, or the top when drawn up.
        const int higher = drawnUp ? Qt::Key_Down : Qt::Key_Up, lower = drawnUp ? Qt::Key_Up : Qt::Key_Down;
        key(th, lower);
        EXPECT_EQ(keys.currentValue(), 1) << "no shaft below the first";
        key(th, higher);
        key(th, higher);
        EXPECT_EQ(keys.currentValue(), 3);
        key(th, lower);
        EXPECT_EQ(keys.currentValue(), 2);
        // Enter puts the end on the current shaft and moves on.
        const int at = keys.current(), value = keys.currentValue();
        key(th, Qt::Key_Return);
        EXPECT_EQ(doc->threading(0)->GetShaft(at), value);
        EXPECT_EQ(keys.current(), at + 1);
        EXPECT_EQ(doc->history().undoName(), "Typing");

        // In the treadling Page Down goes down the screen.
        auto* tr = f->treadlingView();
        CPaneKeys& tk = tr->tool().keys();
        tk.setCurrent(150);
        key(tr, Qt::Key_PageDown);
        EXPECT_EQ(tk.current() > 150, !drawnUp);
        EXPECT_GT(std::abs(tk.current() - 150), 10);
        EXPECT_TRUE(shows(tr, tr->itemRect(0, tk.current())));
        key(tr, Qt::Key_Right);
        EXPECT_EQ(tk.currentValue(), 2) << "treadle 1 is at the left";
    }
}

TEST(ToolCursors, EveryToolHasItsOwnSharpCursor)
{
    const Tool drawn[] = {Tool::Pencil,     Tool::Line,      Tool::PickupColor, Tool::PaintBucket,
                          Tool::PaintBrush, Tool::Selection, Tool::Stamp,       Tool::Zoom};
    std::set<qint64> looks;
    for (Tool t : drawn) {
        const QCursor c = ToolCursor(t, {}, 2.0);
        ASSERT_EQ(c.shape(), Qt::BitmapCursor) << int(t);
        const QPixmap pix = c.pixmap();
        EXPECT_EQ(pix.devicePixelRatio(), 2.0);
        EXPECT_EQ(pix.size(), QSize(64, 64)) << "drawn for the screen's scale, not stretched";
        looks.insert(pix.toImage().cacheKey() ^ qHashBits(pix.toImage().constBits(), pix.toImage().sizeInBytes()));
        // The hot spot lies on the drawing, where the tool acts.
        const QImage img = pix.toImage();
        const QPoint hot = c.hotSpot() * 2;
        bool inked = false;
        for (int dy = -3; dy <= 3; ++dy)
            for (int dx = -3; dx <= 3; ++dx)
                inked =
                    inked || qAlpha(img.pixel(std::clamp(hot.x() + dx, 0, 63), std::clamp(hot.y() + dy, 0, 63))) > 0;
        EXPECT_TRUE(inked) << int(t);
    }
    EXPECT_EQ(looks.size(), std::size(drawn));
    // Erasing and the rows chosen by the modifiers look different again.
    const QImage plain = ToolCursor(Tool::Pencil, {}, 1.0).pixmap().toImage();
    EXPECT_NE(ToolCursor(Tool::Pencil, {true, 0}, 1.0).pixmap().toImage(), plain);
    EXPECT_NE(ToolCursor(Tool::Pencil, {false, 1}, 1.0).pixmap().toImage(), plain);
    EXPECT_NE(ToolCursor(Tool::Pencil, {false, 2}, 1.0).pixmap().toImage(),
              ToolCursor(Tool::Pencil, {false, 1}, 1.0).pixmap().toImage());
    EXPECT_EQ(ToolCursor(Tool::Move, {}, 1.0).shape(), Qt::OpenHandCursor);
    EXPECT_EQ(ToolCursor(Tool::WarpInterlace, {}, 1.0).shape(), Qt::OpenHandCursor);

    // A pane that does nothing with the tool shows the stamp; a right press
    // shows the pencil's eraser.
    auto doc = makeDoc(8, 8);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* f = static_cast<CDraftFrame*>(s.frame);
    CToolState::instance().setTool(Tool::Line);
    const QImage stamp = ToolCursor(Tool::Stamp, {}, f->devicePixelRatioF()).pixmap().toImage();
    EXPECT_EQ(f->draftView()->viewport()->cursor().pixmap().toImage(), stamp);
    EXPECT_NE(f->threadingView()->viewport()->cursor().pixmap().toImage(), stamp);
    CToolState::instance().setTool(Tool::Pencil);
    UpdateToolCursor(f->threadingView(), Qt::NoModifier, 2);
    EXPECT_EQ(f->threadingView()->viewport()->cursor().pixmap().toImage(),
              ToolCursor(Tool::Pencil, {true, 0}, f->devicePixelRatioF()).pixmap().toImage());
}

TEST(GridLines, HeavyLinesFollowTheBlockSize)
{
    auto doc = makeDoc(16, 16);
    doc->raw().blocks.endsPerBlock = 6;
    doc->raw().blocks.picksPerBlock = 3;
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* f = static_cast<CDraftFrame*>(s.frame);
    const QRgb heavy = qRgb(0, 0, 128), thin = qRgb(128, 128, 128);
    CThreadingView* th = f->threadingView();
    QImage img = grabPane(th);
    const int y = th->itemRect(0, 1).center().y();
    // The line after end n is the left edge of end n (ends run from the right).
    EXPECT_EQ(img.pixel(th->itemRect(5, 1).left(), y), heavy);
    EXPECT_EQ(img.pixel(th->itemRect(3, 1).left(), y), thin);
    CTreadlingView* tr = f->treadlingView();
    img = grabPane(tr);
    const int x = tr->itemRect(1, 0).center().x();
    // Picks run downwards: the line after pick n is the top edge of pick n + 1.
    EXPECT_EQ(img.pixel(x, tr->itemRect(0, 3).top()), heavy);
    EXPECT_EQ(img.pixel(x, tr->itemRect(0, 2).top()), thin);
    // A block of one thread would make every line heavy: the usual 4 instead.
    EXPECT_EQ(HeavyLinePeriod(BlockSubstitutionParams{}, true), 4);
}

TEST(TreadlingPane, SeveralWeftsShowLayerSymbols)
{
    auto doc = makeDoc(8, 8, 4);
    doc->SetNumRows(kUnrecorded, Side::Treadling, 2);
    TreadleSet none, second;
    second.set(2);
    doc->SetPickSet(kUnrecorded, 1, none, 0);
    doc->SetPickSet(kUnrecorded, 1, second, 1); // pick 2 is woven with the second weft
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    CTreadlingView* tr = static_cast<CDraftFrame*>(s.frame)->treadlingView();
    const QImage img = grabPane(tr);
    // The second weft's plus sign: dark at the centre, light in the corner;
    // the first weft's circle: light at the centre.
    const QRect plus = tr->itemRect(1, 1);
    EXPECT_TRUE(isDark(img.pixel(center(plus))));
    EXPECT_FALSE(isDark(img.pixel(plus.left() + 2, plus.top() + 2)));
    EXPECT_FALSE(isDark(img.pixel(center(tr->itemRect(0, 0)))));
}

TEST(DraftFrameLayout, DrawnUpSettingTurnsOpenFramesOver)
{
    auto doc = makeDoc(10, 10);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* f = static_cast<CDraftFrame*>(s.frame);
    auto top = [&](QWidget* w) { return w->mapTo(f, QPoint(0, 0)).y(); };
    ASSERT_LT(top(f->threadingView()), top(f->draftView()));
    const int rowHeight = f->threadingRowHeight();
    f->setDrawnUp(true);
    QApplication::processEvents();
    EXPECT_GT(top(f->threadingView()), top(f->draftView()));
    EXPECT_GT(top(f->tieupView()), top(f->treadlingView()));
    EXPECT_EQ(f->threadingRowHeight(), rowHeight);
    EXPECT_FALSE(f->threadingOnTop());
    // Pick 1 is now the drawdown's bottom row, shaft 1 the threading's top row.
    EXPECT_GT(f->draftView()->itemRect(0, 0).top(), f->draftView()->itemRect(0, 1).top());
    EXPECT_LT(f->threadingView()->itemRect(0, 0).top(), f->threadingView()->itemRect(0, 1).top());
    f->setDrawnUp(false);
    QApplication::processEvents();
    EXPECT_LT(top(f->threadingView()), top(f->draftView()));
}
