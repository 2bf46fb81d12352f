#include "tests/ui/views/viewtestutil.h"

#include "core/graphic/drawdownimage.h"
#include "printing/glyphs.h"
#include "ui/views/interlacepopup.h"
#include "ui/views/paneframes.h"
#include "ui/views/tools/panetool.h"
#include "ui/views/tools/toolstate.h"

#include "core/draft/drawdown.h"

#include <QClipboard>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace qb;
using namespace qbtest;

namespace {

// Pixels of the tieup cell (treadle, shaft) relative to the cell's inside.
struct TieupProbe {
    bool centre, corner, leftMiddle;
};

TieupProbe probeTieup(CTieupView* tu, int treadle, int shaft)
{
    const QImage img = grabPane(tu);
    const QRect in = tu->itemRect(treadle, shaft - 1).adjusted(1, 1, 0, 0);
    const int side = 2 * std::min(in.width(), in.height()) / 3;
    const QPoint c = center(in);
    const int x0 = in.x() + (in.width() - side) / 2, y0 = in.y() + (in.height() - side) / 2;
    return {isDark(img.pixel(c)), isDark(img.pixel(x0, y0)), isDark(img.pixel(x0 + 1, c.y()))};
}

} // namespace

TEST(TieupPane, SymbolicNotationShowsDotsOnRisingAndCrossesOnSinkingSheds)
{
    for (bool rising : {true, false}) {
        auto doc = makeDoc(8, 8, 4, rising);
        doc->raw().notations.tieup = kSymbolic;
        Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
        CTieupView* tu = draftFrame(s)->tieupView();
        EXPECT_EQ(tu->glyphStyle(), rising ? GlyphStyle::Dot : GlyphStyle::Cross);
        const TieupProbe p = probeTieup(tu, 0, 1);
        EXPECT_TRUE(p.centre);
        EXPECT_EQ(p.leftMiddle, rising) << "a dot is round at its sides";
        EXPECT_EQ(p.corner, !rising) << "a cross reaches its corners";
        EXPECT_FALSE(probeTieup(tu, 0, 2).centre); // an empty cell
    }
}

TEST(TieupPane, OblongCellsAreFilledInsteadOfSymbols)
{
    auto doc = makeDoc(8, 8);
    doc->raw().notations.tieup = kSymbolic;
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    CDraftFrame* f = draftFrame(s);
    f->setShaftHeight(24);
    CTieupView* tu = f->tieupView();
    ASSERT_EQ(tu->cellHeight(), 24);
    const QImage img = grabPane(tu);
    const QRect in = tu->itemRect(0, 0).adjusted(1, 1, 0, 0);
    EXPECT_TRUE(isDark(img.pixel(in.left() + 1, in.top() + 1)));
    EXPECT_TRUE(isDark(img.pixel(in.right() - 1, in.bottom() - 1)));
}

TEST(DrawdownPane, HiddenDrawdownIsBlankOrShowsOnlyTheGrid)
{
    for (bool showGrid : {false, true}) {
        auto doc = makeDoc(8, 8);
        Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, showGrid));
        CDraftFrame* f = draftFrame(s);
        f->action(FrameAction::HideDrawdown)->trigger();
        ASSERT_TRUE(f->isPaneHidden(PaneKind::Drawdown));
        CDraftView* dd = f->draftView();
        const QImage img = grabPane(dd);
        const QRect cell = dd->itemRect(0, 0); // warp up there when shown
        const QRgb inside = img.pixel(center(cell));
        const QRgb line = img.pixel(cell.left(), cell.center().y());
        if (showGrid) {
            EXPECT_EQ(inside, qRgb(255, 255, 255));
            EXPECT_EQ(line, qRgb(128, 128, 128));
        } else {
            EXPECT_EQ(inside, qRgb(192, 192, 192));
            EXPECT_EQ(line, qRgb(192, 192, 192));
        }
        // A hidden threading keeps its grid but not its marks.
        f->toggleHidden(PaneKind::Threading);
        CThreadingView* th = f->threadingView();
        const QImage t = grabPane(th);
        EXPECT_EQ(t.pixel(center(th->itemRect(0, 0))), qRgb(255, 255, 255));
        EXPECT_EQ(t.pixel(th->itemRect(0, 0).left(), th->itemRect(0, 0).center().y()), qRgb(128, 128, 128));
    }
}

TEST(UpdateHints, AnEditRepaintsOnlyItsBand)
{
    auto doc = makeDoc(64, 64);
    std::vector<QRect> th, dd, tr, tu;
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    CDraftFrame* f = draftFrame(s);
    f->threadingView()->setUpdateSpy([&](const QRect& r) { th.push_back(r); });
    f->draftView()->setUpdateSpy([&](const QRect& r) { dd.push_back(r); });
    f->treadlingView()->setUpdateSpy([&](const QRect& r) { tr.push_back(r); });
    f->tieupView()->setUpdateSpy([&](const QRect& r) { tu.push_back(r); });

    // [WHEN] one end's shaft changes
    doc->SetThreadingCell(kUnrecorded, 5, 3);
    // [THEN] the threading repaints that column, the drawdown that band of ends, the others nothing
    const int w = f->endWidth();
    ASSERT_EQ(th.size(), 1u);
    EXPECT_LE(th[0].width(), w + 1);
    EXPECT_TRUE(th[0].contains(f->threadingView()->itemRect(5, 0).center()));
    ASSERT_EQ(dd.size(), 1u);
    EXPECT_LE(dd[0].width(), w + 1);
    EXPECT_EQ(dd[0].height(), std::min(f->draftView()->viewport()->height(), f->draftView()->gridSize().height()));
    EXPECT_TRUE(tr.empty());
    EXPECT_TRUE(tu.empty());

    th.clear(), dd.clear();
    // [WHEN] picks 10..12 change color
    doc->SetThreadColors(kUnrecorded, Side::Treadling, 10, 12, 2);
    ASSERT_EQ(dd.size(), 1u);
    EXPECT_LE(dd[0].height(), 3 * f->pickHeight() + 1);
    EXPECT_EQ(dd[0].width(), std::min(f->draftView()->viewport()->width(), f->draftView()->gridSize().width()));
    ASSERT_EQ(tr.size(), 1u);
    EXPECT_LE(tr[0].height(), 3 * f->pickHeight() + 1);
    EXPECT_TRUE(th.empty());
    EXPECT_TRUE(tu.empty());

    // [WHEN] a tieup cell changes: the tieup and the cloth repaint, the threads' panes nothing
    tr.clear(), dd.clear();
    doc->SetTieupCell(kUnrecorded, 2, 2);
    EXPECT_FALSE(tu.empty());
    EXPECT_FALSE(dd.empty());
    EXPECT_TRUE(tr.empty());
    EXPECT_TRUE(th.empty());

    // [WHEN] the loom's pick marker moves: only those rows repaint
    doc->MarkPick(2);
    tr.clear(), dd.clear(), tu.clear();
    doc->MarkPick(5);
    ASSERT_EQ(dd.size(), 2u);
    EXPECT_LE(dd[0].height(), f->pickHeight() + 1);
    EXPECT_FALSE(tr.empty());
    EXPECT_TRUE(th.empty());
}

TEST(UpdateHints, RepaintedBandShowsTheNewDrawdown)
{
    auto doc = makeDoc(16, 16);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    CDraftView* dd = draftFrame(s)->draftView();
    const QPoint c = center(dd->itemRect(3, 0)); // end 4 on shaft 4, pick 1 lifts shaft 1
    const QRgb before = grabPane(dd).pixel(c);
    doc->SetThreadingCell(kUnrecorded, 3, 1); // now lifted by pick 1: the warp (blue) shows
    const QRgb after = grabPane(dd).pixel(c);
    EXPECT_NE(before, after);
    EXPECT_EQ(after, colorOf(WarpColor(*doc, 3)).rgb());
}

TEST(FrameCommands, NotationIsTheDraftsOneUndoStepThatEveryFrameFollows)
{
    auto doc = makeDoc(8, 8);
    doc->raw().notations.threading = kNumeric;
    Shown a(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    Shown b(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    draftFrame(a)->action(FrameAction::ThreadingAlpha)->trigger();
    EXPECT_EQ(doc->notations().threading, kAlpha);
    EXPECT_TRUE(doc->isModified());
    EXPECT_EQ(doc->history().undoName(), "Alpha Threading");
    // The second window on the draft follows, checks and cells alike.
    for (const Shown* s : {&a, &b}) {
        EXPECT_EQ(s->frame->threadingNotation(), kAlpha);
        EXPECT_EQ(draftFrame(*s)->threadingView()->glyphStyle(), GlyphStyle::Letter);
        EXPECT_TRUE(s->frame->action(FrameAction::ThreadingAlpha)->isChecked());
    }
    // Choosing the selected notation again returns to plain marks.
    draftFrame(b)->action(FrameAction::ThreadingAlpha)->trigger();
    EXPECT_EQ(a.frame->threadingNotation(), 0);
    EXPECT_FALSE(draftFrame(a)->action(FrameAction::ThreadingAlpha)->isChecked());
    EXPECT_EQ(doc->history().undoCount(), 2);
    // Interlace toggles the saved drawdown style between 4 and 0, in both.
    a.frame->toggleInterlace();
    EXPECT_EQ(doc->notations().drawdown, 4);
    EXPECT_TRUE(b.frame->drawdownInterlace());
    EXPECT_EQ(doc->history().undoName(), "Interlace");
    ASSERT_TRUE(doc->Undo());
    EXPECT_FALSE(b.frame->drawdownInterlace());
    ASSERT_TRUE(doc->Undo());
    EXPECT_EQ(draftFrame(b)->threadingView()->glyphStyle(), GlyphStyle::Letter);
    // The drawdown's coloring is each window's own.
    a.frame->setColoring(1);
    EXPECT_EQ(b.frame->drawdownColoring(), 0);
}

TEST(FrameCommands, ActionsCarryTheirMenuTextsAndShortcuts)
{
    auto doc = makeDoc(8, 8);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    CGridFrame* f = s.frame;
    EXPECT_EQ(f->action(FrameAction::ZoomIn)->text(), QStringLiteral("Zoom &In"));
    EXPECT_EQ(f->action(FrameAction::ZoomIn)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Plus));
    EXPECT_EQ(f->action(FrameAction::FitInWindow)->text(), QStringLiteral("Fit in &Window"));
    EXPECT_EQ(f->action(FrameAction::HideDrawdown)->shortcut(), QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_J));
    EXPECT_EQ(f->action(FrameAction::CopyWeftDrawdown)->text(), QStringLiteral("Copy W&eft Drawdown"));
    EXPECT_EQ(f->frameActions().size(), 25);
}

TEST(UndoHistory, ClosingAFrameMidHistoryLeavesUndoAndRedoWorking)
{
    auto doc = makeDoc(8, 8);
    auto* first = CDraftFrame::create(doc.get(), CellScale{}, false, false);
    first->resize(900, 700);
    first->show();
    Shown second(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    CToolState::instance().setTool(Tool::Pencil);
    // A click in the first frame's threading pane, then the frame closes.
    CGridView* pane = first->threadingView();
    QPoint at;
    for (int row = 0; row < 16 && at.isNull(); ++row) {
        const QPoint c = pane->itemRect(2, row).center();
        const CPaneTool::Hit h = pane->tool().hitAt(c);
        if (h.area == CPaneTool::Hit::Grid && h.thread == 2 && h.value == 1) at = c;
    }
    ASSERT_FALSE(at.isNull());
    QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(doc->threading()->GetShaft(2), 1);
    delete first; // the history belongs to the draft, not to the pane
    ASSERT_TRUE(doc->history().canUndo());
    doc->Undo();
    EXPECT_EQ(doc->threading()->GetShaft(2), 3);
    doc->Redo();
    EXPECT_EQ(doc->threading()->GetShaft(2), 1);
}

TEST(DrawdownRendering, WarpAndWeftModesAndEmptyPicks)
{
    auto doc = makeDoc(8, 4);
    doc->ClearThreadingCell(kUnrecorded, 2);               // an unthreaded end
    doc->ClearThreads(kUnrecorded, Side::Treadling, 1, 1); // an empty pick
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    CDraftFrame* f = draftFrame(s);
    const QImage warp = f->renderDrawdownBitmap(1);
    const QImage weft = f->renderDrawdownBitmap(2);
    ASSERT_EQ(warp.size(), QSize(8, 4));
    DrawdownRows rows(*doc);
    for (int p = 0; p < 4; ++p) {
        for (int e = 0; e < 8; ++e) {
            const int x = 7 - e;
            const bool up = DrawdownCell(*doc, e, p) == Cell::WarpUp;
            EXPECT_EQ(warp.pixel(x, p) == qRgb(0, 0, 0), up) << e << "," << p;
            if (e == 2) {
                EXPECT_EQ(warp.pixel(x, p), qRgb(255, 255, 255));
                EXPECT_EQ(weft.pixel(x, p), qRgb(0, 0, 0));
            }
        }
    }
    // The empty pick shows weft on a rising shed.
    for (int x = 0; x < 8; ++x) EXPECT_EQ(warp.pixel(x, 1), qRgb(255, 255, 255));
}

TEST(DrawdownRendering, InterlaceNeedsSixPixelCellsAndLeavesOnePixelAtTwelve)
{
    EXPECT_FALSE(ComputeInterlaceMargins(4, 4, 8, false).interlaceFits);
    EXPECT_TRUE(ComputeInterlaceMargins(6, 6, 8, false).interlaceFits);
    EXPECT_EQ(ComputeInterlaceMargins(12, 12, 8, false).mx, 1); // band 9 raised to 10
    auto doc = makeDoc(8, 8);
    doc->raw().notations.drawdown = 4;
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    CDraftView* dd = draftFrame(s)->draftView();
    const QImage img = grabPane(dd);
    const QRect up = dd->itemRect(0, 0); // warp up
    // One black pixel column each side of the 10-pixel warp band.
    EXPECT_EQ(img.pixel(up.left(), up.top()), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(up.left() + 1, up.top()), colorOf(WarpColor(*doc, 0)).rgb());
    EXPECT_EQ(img.pixel(up.right() - 1, up.top()), colorOf(WarpColor(*doc, 0)).rgb());
    EXPECT_EQ(img.pixel(up.right(), up.top()), qRgb(0, 0, 0));
}

TEST(DrawdownRendering, FabricBackOfPlainWeaveIsTheFaceWithColorsExchanged)
{
    auto doc = makeDoc(8, 8, 2);
    Shown face(new CFabricFrame(doc.get(), CellScale{}, false));
    Shown back(new CFabricBackFrame(doc.get(), CellScale{}, false));
    EXPECT_EQ(face.frame->frameTitle(), QStringLiteral("Fabric <sample.wif>"));
    EXPECT_EQ(back.frame->frameTitle(), QStringLiteral("Fabric Back <sample.wif>"));
    EXPECT_EQ(face.frame->endWidth(), 6);
    auto* fv = static_cast<CFabricFrame*>(face.frame)->draftView();
    auto* bv = static_cast<CFabricFrame*>(back.frame)->draftView();
    DrawdownStyle st = fv->style();
    st.cellWidth = st.cellHeight = 1;
    const QImage a = fv->renderImage(st);
    st.back = true;
    const QImage b = bv->renderImage(st);
    const QRgb warp = colorOf(WarpColor(*doc, 0)).rgb(), weft = colorOf(WeftColor(*doc, 0)).rgb();
    ASSERT_NE(warp, weft);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(b.pixel(x, y), a.pixel(x, y) == warp ? weft : warp);
}

TEST(Exports, CopyWarpDrawdownPutsACellPerPixelOnTheClipboard)
{
    auto doc = makeDoc(200, 100, 8);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    CGridFrame* f = s.frame;
    ASSERT_TRUE(f->canCopyDrawdown());
    ASSERT_TRUE(f->copyDrawdown(1));
    const QImage img = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(img.size(), QSize(200, 100));
    int mismatches = 0;
    for (int p = 0; p < 100; ++p)
        for (int e = 0; e < 200; ++e)
            mismatches += (img.pixel(199 - e, p) == qRgb(0, 0, 0)) != (DrawdownCell(*doc, e, p) == Cell::WarpUp);
    EXPECT_EQ(mismatches, 0);
    // The frame's own settings are untouched.
    EXPECT_EQ(f->drawdownColoring(), 0);
    doc->SetNumRows(kUnrecorded, Side::Threading, 2);
    EXPECT_FALSE(f->action(FrameAction::CopyWarpDrawdown)->isEnabled());
}

TEST(Exports, WholeFramePictureAndGraphicFiles)
{
    auto doc = makeDoc(20, 10);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    CDraftFrame* f = draftFrame(s);
    const QImage all = f->renderAllPanes();
    const int w = f->endWidth();
    // 20 ends + tieup columns (4 treadles, empty, one weft bar) wide.
    EXPECT_EQ(all.width(), (20 * w + 1) + (6 * f->treadleWidth() + 1));
    QTemporaryDir dir;
    for (const char* ext : {"tif", "png", "bmp", "jpg"}) {
        const QString path = dir.filePath(QStringLiteral("out.") + ext);
        QString error;
        ASSERT_TRUE(f->writeGraphic(path, 10, &error)) << ext << " " << error.toStdString();
        if (QString(ext) != "tif") {
            const QImage back(path);
            EXPECT_EQ(back.width(), 20 * 40 + 1 + 6 * 40 + 1) << ext; // 400 / 10 pixels per cell
        }
    }
    QFile tif(dir.filePath("out.tif"));
    ASSERT_TRUE(tif.open(QIODevice::ReadOnly));
    EXPECT_EQ(tif.read(4), QByteArray("II*\0", 4));
    // The screen cell size is restored afterwards.
    EXPECT_EQ(f->threadingView()->cellWidth(), w);
    // [WHEN] the picture is too wide to hold at once: it is streamed, not refused
    for (int e = 20; e < 420; ++e) doc->SetThreadingCell(kUnrecorded, e, 1 + e % 4);
    EXPECT_TRUE(f->renderAllPanes(80).isNull());
    const QString big = dir.filePath("big.png");
    QString error;
    ASSERT_TRUE(f->writeGraphic(big, 5, &error)) << error.toStdString();
    EXPECT_GT(QImageReader(big).size().width(), 32767);
    // A file that cannot be written reports why.
    EXPECT_FALSE(f->writeGraphic(dir.filePath("no/such/folder/out.png"), 10, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(DrawdownRendering, SelectionDimsEverythingOutsideItFlat)
{
    auto doc = makeDoc(8, 8);
    doc->raw().notations.drawdown = 4;
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    CDraftView* dd = draftFrame(s)->draftView();
    const QImage before = grabPane(dd);
    dd->setSelection(0, 1, 0, 1);
    const QImage after = grabPane(dd);
    const QRect in = dd->itemRect(0, 0), out = dd->itemRect(5, 5); // both warp up
    EXPECT_EQ(after.pixel(center(in)), before.pixel(center(in)));
    const QRgb warp = colorOf(WarpColor(*doc, 5)).rgb();
    const QRgb dim = qRgb(qRed(warp) & 0x33, qGreen(warp) & 0x33, qBlue(warp) & 0x33);
    EXPECT_EQ(after.pixel(center(out)), dim);
    // Flat: no black margin at the cell's edge outside the selection.
    EXPECT_EQ(after.pixel(out.topLeft()), dim);
    EXPECT_EQ(before.pixel(out.topLeft()), qRgb(0, 0, 0));
    // The weaving pick is marked orange-red while the loom weaves.
    doc->MarkPick(3);
    dd->clearSelection();
    const QImage marked = grabPane(dd);
    EXPECT_EQ(marked.pixel(dd->itemRect(6, 3).topLeft()), qRgb(255, 64, 0));
}

TEST(InterlacePopups, WarpAndWeftPopupsShowWhichThreadIsOnTop)
{
    auto doc = makeDoc(8, 8);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    CDraftView* dd = draftFrame(s)->draftView();
    // End 1 is on shaft 1: pick 1 lifts it, pick 2 does not.
    CWarpInterlacePopup warp(dd, 0);
    EXPECT_EQ(warp.width(), dd->cellWidth());
    const QImage w = warp.grab().toImage();
    const int x = w.width() / 2;
    const int y0 = dd->itemRect(0, 0).center().y(), y1 = dd->itemRect(0, 1).center().y();
    EXPECT_EQ(w.pixel(x, y0), qRgb(0, 0, 0));         // the end over the pick
    EXPECT_EQ(w.pixel(x, y1), qRgb(255, 255, 0));     // the pick over the end
    EXPECT_EQ(w.pixel(0, y0 + 1), qRgb(192, 192, 0)); // the pick beneath, at the side
    // Pick 1 lifts shaft 1: end 1 lies over it, end 2 beneath.
    CWeftInterlacePopup weft(dd, 0);
    const QImage p = weft.grab().toImage();
    const int y = p.height() / 2;
    EXPECT_EQ(p.pixel(dd->itemRect(0, 0).center().x(), y), qRgb(255, 255, 0));
    EXPECT_EQ(p.pixel(dd->itemRect(1, 0).center().x(), y), qRgb(0, 0, 0));
}

TEST(DrawdownRendering, FabricInterlacesAtSixPixelsAndIsFlatAtFour)
{
    auto doc = makeDoc(8, 8);
    doc->raw().notations.drawdown = 4;
    Shown s(new CFabricFrame(doc.get(), CellScale{}, false));
    CDraftView* dd = static_cast<CFabricFrame*>(s.frame)->draftView();
    ASSERT_EQ(dd->cellWidth(), 6);
    const QRect cell = dd->itemRect(0, 0);
    EXPECT_EQ(grabPane(dd).pixel(cell.topLeft()), qRgb(0, 0, 0)); // space between threads
    s.frame->zoomOut();
    ASSERT_EQ(dd->cellWidth(), 4);
    const QRgb warp = colorOf(WarpColor(*doc, 0)).rgb();
    EXPECT_EQ(grabPane(dd).pixel(dd->itemRect(0, 0).topLeft()), warp);
}

TEST(FabricFrames, ClothSplitsIntoUpToFourPanesScrollingInStep)
{
    auto doc = makeDoc(400, 400);
    Shown s(new CFabricFrame(doc.get(), CellScale{}, false), QSize(600, 500));
    auto* f = static_cast<CFabricFrame*>(s.frame);
    EXPECT_TRUE(f->splitColumns());
    EXPECT_TRUE(f->splitRows());
    EXPECT_FALSE(f->splitRows());
    ASSERT_EQ(f->paneRows(), 2);
    ASSERT_EQ(f->paneColumns(), 2);
    EXPECT_EQ(f->panes().size(), 4u);
    QApplication::processEvents();
    CDraftView* a = f->clothPane(0, 0);
    f->clothPane(1, 0)->horizontalScrollBar()->setValue(30);
    EXPECT_EQ(a->horizontalScrollBar()->value(), 30);
    f->clothPane(0, 1)->verticalScrollBar()->setValue(40);
    EXPECT_EQ(a->verticalScrollBar()->value(), 40);
    EXPECT_NE(f->clothPane(0, 1)->horizontalScrollBar()->value(), 30);
    f->unsplit();
    EXPECT_EQ(f->panes().size(), 1u);
    EXPECT_EQ(f->clothPane(0, 0), a);
}
