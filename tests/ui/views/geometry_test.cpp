#include "tests/ui/views/viewtestutil.h"

#include "printing/glyphs.h"
#include "ui/views/paneframes.h"

#include "core/draft/draftstep.h"
#include "core/draft/drawdown.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QSplitter>

#include <gtest/gtest.h>

using namespace qb;
using namespace qbtest;

namespace {

QPoint posIn(QWidget* w, QWidget* frame)
{
    return w->mapTo(frame, QPoint(0, 0));
}

} // namespace

TEST(DraftFrameLayout, ThreadingOnTopReadsTheUsualWay)
{
    auto doc = makeDoc(16, 16);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* f = static_cast<CDraftFrame*>(s.frame);
    EXPECT_EQ(f->frameTitle(), QStringLiteral("Draft <sample.wif>"));
    // Threading above the drawdown, tieup above the treadling, tieup right of threading.
    EXPECT_LT(posIn(f->threadingView(), f).y(), posIn(f->draftView(), f).y());
    EXPECT_LT(posIn(f->tieupView(), f).y(), posIn(f->treadlingView(), f).y());
    EXPECT_LT(posIn(f->threadingView(), f).x(), posIn(f->tieupView(), f).x());
    // Pick 1 is the top row of the drawdown, shaft 1 the bottom row of the threading.
    CDraftView* dd = f->draftView();
    EXPECT_LT(dd->itemRect(0, 0).y(), dd->itemRect(0, 1).y());
    CThreadingView* th = f->threadingView();
    EXPECT_GT(th->itemRect(0, 0).y(), th->itemRect(0, 1).y());
    // End 1 is the rightmost column, next to the tieup.
    EXPECT_GT(th->itemRect(0, 0).x(), th->itemRect(1, 0).x());
    EXPECT_GT(dd->itemRect(0, 0).x(), dd->itemRect(1, 0).x());
    // Shaft 1 of end 1 is drawn (plain mark) in the row next to the drawdown.
    const QImage img = grabPane(th);
    EXPECT_TRUE(isDark(img.pixel(center(th->itemRect(0, 0)))));
    EXPECT_FALSE(isDark(img.pixel(center(th->itemRect(0, 1)))));
    EXPECT_GT(th->itemRect(0, 0).bottom(), img.height() - th->cellHeight() - 2);
}

TEST(DraftFrameLayout, DrawnUpMirrorsEveryPane)
{
    auto doc = makeDoc(16, 16);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, true, false));
    auto* f = static_cast<CDraftFrame*>(s.frame);
    // The drawdown is the upper-left pane, the threading below it.
    EXPECT_LT(posIn(f->draftView(), f).y(), posIn(f->threadingView(), f).y());
    EXPECT_EQ(posIn(f->draftView(), f).x(), posIn(f->threadingView(), f).x());
    EXPECT_LT(posIn(f->treadlingView(), f).y(), posIn(f->tieupView(), f).y());
    // Pick 1 is the bottom row of the drawdown, shaft 1 the top row of the threading.
    CDraftView* dd = f->draftView();
    EXPECT_GT(dd->itemRect(0, 0).y(), dd->itemRect(0, 1).y());
    CThreadingView* th = f->threadingView();
    EXPECT_LT(th->itemRect(0, 0).y(), th->itemRect(0, 1).y());
    EXPECT_LT(th->itemRect(0, 0).y(), th->cellHeight() + 2);
    const QImage img = grabPane(th);
    EXPECT_TRUE(isDark(img.pixel(center(th->itemRect(0, 0)))));
    // Pick 1 of the treadling lies level with pick 1 of the drawdown.
    CTreadlingView* tr = f->treadlingView();
    EXPECT_EQ(tr->mapTo(f, tr->itemRect(0, 0).topLeft()).y(), dd->mapTo(f, dd->itemRect(0, 0).topLeft()).y());
}

TEST(DraftFrameLayout, CellsLineUpAcrossPanes)
{
    auto doc = makeDoc(40, 30);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* f = static_cast<CDraftFrame*>(s.frame);
    CThreadingView* th = f->threadingView();
    CDraftView* dd = f->draftView();
    CTreadlingView* tr = f->treadlingView();
    CTieupView* tu = f->tieupView();
    for (int e : {0, 7, 39}) {
        EXPECT_EQ(th->mapTo(f, th->itemRect(e, 0).topLeft()).x(), dd->mapTo(f, dd->itemRect(e, 0).topLeft()).x()) << e;
    }
    for (int p : {0, 9, 29}) {
        EXPECT_EQ(tr->mapTo(f, tr->itemRect(0, p).topLeft()).y(), dd->mapTo(f, dd->itemRect(0, p).topLeft()).y()) << p;
    }
    EXPECT_EQ(tu->mapTo(f, tu->itemRect(0, 2).topLeft()).y(), th->mapTo(f, th->itemRect(0, 2).topLeft()).y());
    EXPECT_EQ(tu->mapTo(f, tu->itemRect(3, 0).topLeft()).x(), tr->mapTo(f, tr->itemRect(3, 0).topLeft()).x());
    // Scrolling the drawdown sideways scrolls the threading with it.
    doc->SetThreadingCell(kUnrecorded, 2000, 1);
    QApplication::processEvents();
    dd->horizontalScrollBar()->setValue(dd->horizontalScrollBar()->maximum() / 2);
    EXPECT_EQ(th->horizontalScrollBar()->value(), dd->horizontalScrollBar()->value());
    EXPECT_EQ(th->mapTo(f, th->itemRect(1000, 0).topLeft()).x(), dd->mapTo(f, dd->itemRect(1000, 0).topLeft()).x());
}

TEST(GridGeometry, ThickEndTakesRatioPlusOneCells)
{
    auto doc = makeDoc(12, 8);
    doc->SetRatio(kUnrecorded, Side::Threading, 3);
    doc->SetThick(kUnrecorded, Side::Threading, 1, true); // the second end
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* f = static_cast<CDraftFrame*>(s.frame);
    CThreadingView* th = f->threadingView();
    CDraftView* dd = f->draftView();
    const int w = f->endWidth();
    EXPECT_EQ(th->columns().itemExtent(1), 4 * w);
    EXPECT_EQ(dd->columns().itemExtent(1), 4 * w);
    EXPECT_EQ(th->columns().itemExtent(0), w);
    // Thread 2 sits between threads 1 and 3, away from thread 1: no overlap.
    EXPECT_EQ(th->itemRect(1, 0).right() + 1, th->itemRect(0, 0).left());
    EXPECT_EQ(th->itemRect(2, 0).right() + 1, th->itemRect(1, 0).left());
    // The heavy line after the 4th end lies after its 7th cell (1 + 4 + 1 + 1).
    const QImage img = grabPane(th);
    const int x = th->itemRect(3, 0).left();
    EXPECT_EQ(th->itemRect(0, 0).right() + 1 - x, 7 * w);
    const QRgb line = img.pixel(x, th->itemRect(3, 2).center().y());
    EXPECT_EQ(line, qRgb(0, 0, 128));
    const QRgb thin = img.pixel(th->itemRect(2, 0).left(), th->itemRect(2, 2).center().y());
    EXPECT_EQ(thin, qRgb(128, 128, 128));
    // The drawdown's thick column is filled across all four cells.
    const QImage ddImg = grabPane(dd);
    const QRect r = dd->itemRect(1, 0);
    EXPECT_EQ(ddImg.pixel(r.left() + 2, r.center().y()), ddImg.pixel(r.right() - 1, r.center().y()));
}

TEST(GridGeometry, ZoomRunsFromTwoToThirtyTwoPixels)
{
    auto doc = makeDoc(8, 8);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    CGridFrame* f = s.frame;
    for (int i = 0; i < 5; ++i) f->zoomOut();
    EXPECT_EQ(f->zoomStep(), -5);
    EXPECT_EQ(f->endWidth(), 2);
    EXPECT_EQ(f->pickHeight(), 2);
    f->zoomOut(); // at the limit: no dead step below 2 pixels
    EXPECT_EQ(f->zoomStep(), -5);
    EXPECT_FALSE(f->action(FrameAction::ZoomOut)->isEnabled());
    for (int i = 0; i < 15; ++i) f->zoomIn();
    EXPECT_EQ(f->zoomStep(), 10);
    EXPECT_EQ(f->endWidth(), 32);
    f->zoomIn();
    EXPECT_EQ(f->endWidth(), 32);
    EXPECT_EQ(static_cast<CDraftFrame*>(f)->draftView()->cellWidth(), 32);
}

TEST(GridGeometry, SmallCellsFallBackToPlainMarksAndLoseTheirLines)
{
    auto doc = makeDoc(8, 8);
    doc->raw().notations.threading = kNumeric;
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* f = static_cast<CDraftFrame*>(s.frame);
    CThreadingView* th = f->threadingView();
    EXPECT_EQ(th->glyphStyle(), GlyphStyle::Number);
    EXPECT_TRUE(th->drawsVerticalLines());
    f->zoomOut(); // 10 px
    EXPECT_TRUE(th->drawsVerticalLines());
    f->zoomOut(); // 8 px: still a glyph size, but no lines
    EXPECT_FALSE(th->drawsVerticalLines());
    f->zoomOut(); // 6 px
    EXPECT_EQ(th->requestedStyle(), GlyphStyle::Number);
    EXPECT_EQ(th->glyphStyle(), GlyphStyle::Plain);
    EXPECT_EQ(f->tieupView()->glyphStyle(), GlyphStyle::Plain);
    // No grid line pixels between the first two ends.
    const QImage img = grabPane(th);
    const QRect a = th->itemRect(0, 2);
    const QRgb between = img.pixel(a.left(), a.center().y());
    EXPECT_EQ(between, qRgb(255, 255, 255));
}

TEST(GridGeometry, GlyphTextAndStyles)
{
    EXPECT_EQ(glyphText(GlyphStyle::Letter, 27), QStringLiteral("a"));
    EXPECT_EQ(glyphText(GlyphStyle::Letter, 1), QStringLiteral("A"));
    EXPECT_EQ(glyphText(GlyphStyle::Letter, 26), QStringLiteral("Z"));
    EXPECT_EQ(glyphText(GlyphStyle::Letter, 52), QStringLiteral("z"));
    EXPECT_EQ(glyphText(GlyphStyle::Letter, 53), QStringLiteral("3")); // beyond the alphabet: the number
    EXPECT_EQ(glyphText(GlyphStyle::Number, 12), QStringLiteral("2"));
    EXPECT_EQ(glyphText(GlyphStyle::Number, 64), QStringLiteral("4"));
    EXPECT_EQ(glyphText(GlyphStyle::UserSymbol, 12, 0), QStringLiteral("2"));
    EXPECT_EQ(glyphText(GlyphStyle::UserSymbol, 12, 'x'), QStringLiteral("x"));
    EXPECT_EQ(styleForNotation(kSymbolic, true), GlyphStyle::Dot);
    EXPECT_EQ(styleForNotation(kSymbolic, false), GlyphStyle::Cross);
    EXPECT_EQ(effectiveStyle(GlyphStyle::Number, 7, 12, 8, 20, 10), GlyphStyle::Plain);
    EXPECT_EQ(effectiveStyle(GlyphStyle::Number, 12, 12, 8, 9, 10), GlyphStyle::Plain); // font too small
    EXPECT_EQ(effectiveStyle(GlyphStyle::Dot, 12, 12, 8, 0, 10), GlyphStyle::Dot);
}

TEST(GridGeometry, ThreadingSqueezesShaftRowsToThePane)
{
    auto doc = makeDoc(8, 8, 8);
    Shown s(new CThreadingFrame(doc.get(), CellScale{}, false), QSize(400, 300));
    CGridFrame* f = s.frame;
    // 8 shafts + 1 warp + 2 = 11 rows of 12 px would need 132 px.
    f->resize(400, 80);
    QApplication::processEvents();
    auto* th = static_cast<CThreadingView*>(static_cast<CThreadingFrame*>(f)->pane());
    // Never below a cell a weaver can click (the mark size); the rest scrolls.
    EXPECT_EQ(f->shaftHeight(), std::max(CellScale{}.markSize, th->viewport()->height() / 11));
    EXPECT_LT(f->shaftHeight(), 12);
    f->resize(400, 600);
    QApplication::processEvents();
    EXPECT_EQ(f->shaftHeight(), 12); // never taller than an end is wide
}

TEST(GridGeometry, ZoomKeepsTheThreadsInView)
{
    auto doc = makeDoc(3000, 50);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    auto* f = static_cast<CDraftFrame*>(s.frame);
    CDraftView* dd = f->draftView();
    QScrollBar* bar = dd->horizontalScrollBar();
    bar->setValue(bar->maximum() - 500 * f->endWidth());
    auto endAtRight = [&] { return dd->columns().itemAt(dd->viewport()->width() - 1 - dd->contentOffset().x()); };
    const int before = endAtRight();
    EXPECT_NEAR(before, 500, 1);
    f->zoomIn();
    f->zoomIn();
    EXPECT_NEAR(endAtRight(), before, 1);
    EXPECT_EQ(f->threadingView()->horizontalScrollBar()->value(), bar->value());
    f->zoomOut();
    EXPECT_NEAR(endAtRight(), before, 1);
}

TEST(DraftFrameLayout, FitInWindowShowsTheWholeDrawdownWhenNotMaximised)
{
    auto doc = makeDoc(30, 20);
    QMdiArea area;
    area.resize(1400, 900);
    auto* f = CDraftFrame::create(doc.get(), CellScale{}, false, false);
    QMdiSubWindow* sub = area.addSubWindow(f);
    area.show();
    sub->resize(300, 200);
    QApplication::processEvents();
    f->fitInWindow();
    QApplication::processEvents();
    CDraftView* dd = f->draftView();
    EXPECT_GE(dd->viewport()->width(), dd->gridSize().width() - 1);
    EXPECT_GE(dd->viewport()->height(), dd->gridSize().height() - 1);
    EXPECT_EQ(f->threadingRowHeight(), f->fittedSplitSizes().height());
    EXPECT_EQ(f->treadleColumnWidth(), f->fittedSplitSizes().width());
}

TEST(DraftFrameLayout, TheClothGetsAtLeastHalfWhateverTheLoomSize)
{
    // 64 shafts and 128 treadles on a 1000 x 700 window.
    auto doc = makeDoc(400, 400, 64);
    doc->SetNumTreadles(kUnrecorded, 128);
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false), QSize(1000, 700));
    auto* f = draftFrame(s);
    f->fitInWindow();
    QApplication::processEvents();
    const QRect dd(posIn(f->draftView(), f), f->draftView()->size());
    EXPECT_GE(dd.width(), f->width() / 2);
    EXPECT_GE(dd.height(), f->height() / 2);
    // The threading and treadling show what fits and scroll for the rest,
    // in step with the tieup.
    QScrollBar* thV = f->threadingView()->verticalScrollBar();
    QScrollBar* trH = f->treadlingView()->horizontalScrollBar();
    EXPECT_GT(thV->maximum(), 0);
    EXPECT_GT(trH->maximum(), 0);
    thV->setValue(thV->maximum());
    EXPECT_EQ(f->tieupView()->verticalScrollBar()->value(), thV->value());
    trH->setValue(trH->maximum() / 2);
    EXPECT_EQ(f->tieupView()->horizontalScrollBar()->value(), trH->value());

    // A size the weaver drags stays as dragged when the window changes size.
    auto* vertical = f->findChild<QSplitter*>();
    ASSERT_NE(vertical, nullptr);
    const int dragged = f->height() * 2 / 3;
    vertical->setSizes({dragged, f->height() - dragged});
    emit vertical->splitterMoved(dragged, 1);
    s.frame->resize(1000, 750);
    QApplication::processEvents();
    EXPECT_EQ(f->threadingRowHeight(), dragged);
}

TEST(ThreadingPane, SeveralWarpsShowLayerSymbolsOrCorrelatedColors)
{
    auto doc = makeDoc(8, 8, 2);
    doc->SetNumRows(kUnrecorded, Side::Threading, 2);
    doc->SetThreadingCell(kUnrecorded, 1, 2, 1); // end 2 moves to the second warp
    Shown s(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    CThreadingView* th = static_cast<CDraftFrame*>(s.frame)->threadingView();
    QImage img = grabPane(th);
    // The second warp's plus sign: dark at the centre, light in the corner.
    const QRect plus = th->itemRect(1, 1);
    EXPECT_TRUE(isDark(img.pixel(center(plus))));
    EXPECT_FALSE(isDark(img.pixel(plus.left() + 2, plus.top() + 2)));
    // With the warps correlated to the color bars the cells show the end's color.
    doc->Transaction("Correlate", [&](Edit e) {
        DraftStep step(e, *doc, DraftSnapshot::Structure);
        doc->raw().setCorrelation(1, true);
        step.commit();
    });
    ASSERT_EQ(doc->activeCorrelation(), 1);
    img = grabPane(th);
    EXPECT_EQ(img.pixel(center(th->itemRect(0, 0))), colorOf(WarpColor(*doc, 0, 0)).rgb());
}

TEST(DraftFrameLayout, ClosingTheWindowUnsubscribesItsPanes)
{
    auto doc = makeDoc(10, 10);
    QMdiArea area;
    QMdiSubWindow* sub = area.addSubWindow(CDraftFrame::create(doc.get(), CellScale{}, false, false));
    QMdiSubWindow* fabric = area.addSubWindow(CreateGridFrame(FrameKind::Fabric, doc.get(), CellScale{}, false, false));
    area.show();
    QApplication::processEvents();
    sub->close(); // deletes the frame with its panes
    fabric->close();
    QApplication::processEvents();
    EXPECT_TRUE(area.subWindowList().isEmpty());
    // The document carries on without them.
    EXPECT_TRUE(doc->SetThreadingCell(kUnrecorded, 3, 2));
}
