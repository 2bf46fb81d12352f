#include "core/print/printlayout.h"

#include "core/draft/quillabydoc.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

using namespace qb;

// Letter paper at `dpi`, the printable area a whole sheet.
PrinterMetrics letter(int dpi)
{
    return {dpi, dpi, dpi * 17 / 2, dpi * 11};
}

PrintGrid draftGrid(int ends, int picks, int shafts = 8, int treadles = 8)
{
    PrintGrid g;
    g.ends = ThreadLayout::uniform(ends);
    g.picks = ThreadLayout::uniform(picks);
    g.threadingRows = shafts + 2;
    g.treadlingColumns = treadles + 2;
    return g;
}

PrintOptions scaled(int scale)
{
    PrintOptions o;
    o.scale = scale;
    return o;
}

PrintOptions fitted()
{
    PrintOptions o;
    o.fit = true;
    return o;
}

// Every thread appears on exactly one page column (or strip), in order.
void expectCovers(const std::vector<ThreadRange>& runs, int count)
{
    int next = 0;
    for (const ThreadRange& r : runs) {
        if (count == 0) break;
        EXPECT_EQ(r.first, next);
        EXPECT_GE(r.count, 1);
        next += r.count;
    }
    EXPECT_EQ(next, count);
}

TEST(PrintLayout, CellsFollowResolutionScaleAndDobbyBars)
{
    struct Case {
        int dpi, scale;
        PrintKind kind;
        int cw, ch;
    } cases[] = {
        {600, 10, PrintKind::Draft, 60, 60},
        {300, 10, PrintKind::Draft, 30, 30},
        {1200, 32, PrintKind::Draft, 37, 37},
        {600, 10, PrintKind::DobbyBars, 282, 684}, // 0.47 x 1.14 inch
    };
    for (const Case& c : cases) {
        PrintGrid g = draftGrid(40, 40);
        g.kind = c.kind;
        const PageLayout l = ComputePageLayout(g, letter(c.dpi), scaled(c.scale));
        EXPECT_EQ(l.cellWidth, c.cw) << c.dpi << " dpi";
        EXPECT_EQ(l.cellHeight, c.ch) << c.dpi << " dpi";
    }
}

TEST(PrintLayout, MarginsAndBandsAtTheDeviceResolution)
{
    const PageLayout l = ComputePageLayout(draftGrid(10, 10), letter(600), scaled(10));
    EXPECT_EQ(l.sideMargin, 150);
    EXPECT_EQ(l.headerBand, 300);
    EXPECT_EQ(l.footerBand, 300);
    EXPECT_EQ(l.gap, 112);
    EXPECT_EQ(l.body.x, 150);
    EXPECT_EQ(l.body.y, 300);
    EXPECT_EQ(l.body.w, 5100 - 300);
    EXPECT_EQ(l.body.h, 6600 - 600);
    EXPECT_EQ(l.footer.y + l.footer.h, 6600);
}

TEST(PrintLayout, NoPrinterMeansThreeHundredDots)
{
    // Neither a resolution nor a page: no division by zero, a sensible sheet.
    for (PrinterMetrics m : {PrinterMetrics{}, PrinterMetrics{0, 0, 2550, 3300}, PrinterMetrics{-1, 300, 0, 0}}) {
        const PageLayout l = ComputePageLayout(draftGrid(100, 100), m, scaled(10));
        EXPECT_EQ(l.device.dpiX, 300);
        EXPECT_EQ(l.device.dpiY, 300);
        EXPECT_EQ(l.cellWidth, 30);
        EXPECT_GE(l.totalPages, 1);
    }
}

TEST(PrintLayout, PagesAcrossAndDown)
{
    // At 300 dpi and scale 10 (30-dot cells) the body is 2400 x 3000 dots.
    // Across: 2400 - (10 * 30 + 1 + 15) - 1 = 2083 -> 69 ends a page.
    // Down: 3000 - (10 * 30 + 1 + 15) - 1 = 2683 -> 89 picks a page.
    const PageLayout l = ComputePageLayout(draftGrid(200, 100), letter(300), scaled(10));
    EXPECT_EQ(l.endPages.front().count, 69);
    EXPECT_EQ(l.pickPages.front().count, 89);
    EXPECT_EQ(l.pagesAcross, 3);
    EXPECT_EQ(l.pagesDown, 2);
    EXPECT_EQ(l.totalPages, 6);
    expectCovers(l.endPages, 200);
    expectCovers(l.pickPages, 100);
    // Pages run across first.
    EXPECT_EQ(l.endsOf(4).first, 69);
    EXPECT_EQ(l.picksOf(4).first, 89);
    EXPECT_EQ(PageNumberText(2, 6), "Page 2 of 6");

    const PageLayout small = ComputePageLayout(draftGrid(8, 8), letter(300), scaled(10));
    EXPECT_EQ(small.totalPages, 1);
    const PageLayout empty = ComputePageLayout(draftGrid(0, 0), letter(300), scaled(10));
    EXPECT_EQ(empty.totalPages, 1);
}

// Cells 0..total-1 covered once, in order, by runs of at most `most`.
void expectCellRuns(const std::vector<ThreadRange>& runs, int total, int most)
{
    int next = 0;
    for (const ThreadRange& r : runs) {
        EXPECT_EQ(r.first, next);
        EXPECT_GE(r.count, 1);
        EXPECT_LE(r.count, most);
        next += r.count;
    }
    EXPECT_EQ(next, total);
}

TEST(PrintLayout, BandsTooLargeToStandBesideGetPagesOfTheirOwn)
{
    struct Case {
        const char* what;
        PrintGrid grid;
        PrinterMetrics device;
        int scale;
        bool treadlingApart, threadingApart;
        int across, down;
    };
    PrintGrid slip = draftGrid(10, 10, 64, 128);
    slip.threadingRows = 64 + 1 + 4 + 3; // four warps and three label rows
    const Case cases[] = {
        // 5 x 3 cells a page: 10 ends on 2 columns and 130 treadling columns
        // on 26; 10 picks on 4 rows and 72 threading rows on 24.
        {"slip", slip, {300, 300, 600, 600}, 4, true, true, 2 + 26, 4 + 24},
        // 64 shafts, 128 treadles at 10 per inch on Letter: beside, 128 picks
        // would need 4 rows of 33; apart, the threading takes one row and the
        // picks two of 99. The treadling can never stand beside.
        {"64 x 128", draftGrid(64, 128, 64, 128), letter(300), 10, true, true, 1 + 2, 1 + 2},
        // Few picks under a tall threading: standing apart would cost a page.
        {"few picks", draftGrid(64, 8, 64, 8), letter(300), 10, false, false, 1, 1},
    };
    for (const Case& c : cases) {
        const PageLayout l = ComputePageLayout(c.grid, c.device, scaled(c.scale));
        EXPECT_EQ(!l.treadlingPages.empty(), c.treadlingApart) << c.what;
        EXPECT_EQ(!l.threadingPages.empty(), c.threadingApart) << c.what;
        EXPECT_EQ(l.pagesAcross, c.across) << c.what;
        EXPECT_EQ(l.pagesDown, c.down) << c.what;
        expectCovers(l.endPages, c.grid.ends.count());
        expectCovers(l.pickPages, c.grid.picks.count());
        const int cw = l.cellWidth, ch = l.cellHeight;
        if (c.treadlingApart) expectCellRuns(l.treadlingPages, c.grid.treadlingColumns, (l.body.w - 1) / cw);
        if (c.threadingApart) expectCellRuns(l.threadingPages, c.grid.threadingRows, (l.body.h - 1) / ch);
        // Every page shows one piece across and one down, each piece on one page.
        for (int page = 0; page < l.totalPages; ++page) {
            EXPECT_NE(l.endsOf(page).count > 0, l.treadlingPageOf(page) >= 0) << c.what << " page " << page;
            EXPECT_NE(l.picksOf(page).count > 0, l.threadingPageOf(page) >= 0) << c.what << " page " << page;
        }
    }
}

TEST(PrintLayout, ThickThreadsNeverOverflowAPage)
{
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults d;
    d.shafts = 4;
    d.treadles = 4;
    doc->OnNewDocument(d);
    for (int e = 0; e < 300; ++e) doc->SetThreadingCell(kUnrecorded, e, 1 + e % 4);
    for (int p = 0; p < 10; ++p) doc->SetTreadlingCell(kUnrecorded, p, 1 + p % 4);
    // Every third end thick: an average would put too many on a page.
    for (int e = 0; e < 300; e += 3) doc->raw().threadingMutable(0)->SetThick(e, true);
    const PrintGrid g = PrintGridOf(*doc, PrintKind::Draft);
    ASSERT_GT(g.ends.totalCells(), 300);
    const PageLayout l = ComputePageLayout(g, letter(300), scaled(10));
    const long long room = l.body.w - (g.treadlingColumns * 30LL + 1 + l.paneGap) - 1;
    expectCovers(l.endPages, 300);
    for (const ThreadRange& r : l.endPages) {
        const long long cells =
            g.ends.cellOf(r.first + r.count - 1) + g.ends.cellsOf(r.first + r.count - 1) - g.ends.cellOf(r.first);
        EXPECT_LE(cells * 30, room);
    }
}

TEST(PrintLayout, SizeToFitReallyFitsAtEveryResolution)
{
    for (int dpi : {300, 600, 1200}) {
        for (int n : {10, 200, 1000}) {
            const PageLayout l = ComputePageLayout(draftGrid(n, n), letter(dpi), fitted());
            EXPECT_EQ(l.totalPages, 1) << dpi << " dpi, " << n << " threads";
            EXPECT_GE(l.cellWidth, 2);
            EXPECT_EQ(l.cellWidth, l.cellHeight);
        }
    }
    // Small drafts stop at 4 squares per inch.
    EXPECT_EQ(ComputePageLayout(draftGrid(5, 5), letter(600), fitted()).cellWidth, 150);
}

TEST(PrintLayout, SizeToFitShrinksWhatNoWholeCellFits)
{
    const PageLayout l = ComputePageLayout(draftGrid(32768, 32768), letter(1200), fitted());
    EXPECT_EQ(l.totalPages, 1);
    EXPECT_GT(l.shrunkCell, 0);
    EXPECT_LT(l.shrunkCell, 2);
    EXPECT_LE(l.shrunkCell * (32768 + 10), l.body.w);
    EXPECT_FALSE(l.textInCells);
}

TEST(PrintLayout, StripsStackForAThreadingOrTreadlingAlone)
{
    PrintGrid g = draftGrid(1000, 1000);
    g.kind = PrintKind::Threading;
    // 300 dpi, 30-dot cells: 79 ends a strip; strips of 10 rows + 8 blank.
    const PageLayout t = ComputePageLayout(g, letter(300), scaled(10));
    EXPECT_EQ(t.endPages.front().count, 79);
    EXPECT_EQ(t.stripsPerPage, (3000 - 301) / (18 * 30) + 1);
    const int strips = static_cast<int>(t.endPages.size());
    EXPECT_EQ(t.totalPages, (strips + t.stripsPerPage - 1) / t.stripsPerPage);
    EXPECT_EQ(t.stripsOf(0).size(), static_cast<std::size_t>(t.stripsPerPage));
    EXPECT_EQ(t.endsOf(1).first, t.stripsPerPage * 79);
    expectCovers(t.endPages, 1000);

    g.kind = PrintKind::Treadling;
    const PageLayout r = ComputePageLayout(g, letter(300), scaled(10));
    expectCovers(r.pickPages, 1000);
    EXPECT_GT(r.stripsPerPage, 1);
    EXPECT_EQ(r.picksOf(0).first, 0);
    EXPECT_EQ(r.picksOf(1).first, r.stripsPerPage * r.pickPages.front().count);

    g.kind = PrintKind::Tieup;
    EXPECT_EQ(ComputePageLayout(g, letter(300), scaled(32)).totalPages, 1);
}

TEST(PrintLayout, BigLoomsAlonePrintInPiecesThatFitThePage)
{
    // 64 shafts and 128 treadles at 4 squares per inch: 75-dot cells, a
    // threading 66 rows tall and a treadling 130 columns wide on Letter.
    for (const PrintKind kind : {PrintKind::Threading, PrintKind::Treadling, PrintKind::DobbyBars, PrintKind::Tieup}) {
        PrintGrid g = draftGrid(300, 300, 64, 128);
        g.kind = kind;
        if (kind == PrintKind::DobbyBars) g.treadlingColumns = 64;
        if (kind == PrintKind::Tieup) g.threadingRows = 64, g.treadlingColumns = 128;
        const PageLayout l = ComputePageLayout(g, letter(300), scaled(4));
        const int W = l.body.w, H = l.body.h, cw = l.cellWidth, ch = l.cellHeight;
        const std::string what = "kind " + std::to_string(static_cast<int>(kind));
        if (kind == PrintKind::Tieup) {
            expectCellRuns(l.endPages, 128, (W - 1) / cw);
            expectCellRuns(l.pickPages, 64, (H - 1) / ch);
            EXPECT_EQ(l.totalPages, l.pagesAcross * l.pagesDown) << what;
            EXPECT_GT(l.totalPages, 1) << what;
            continue;
        }
        const bool warp = kind == PrintKind::Threading;
        const int band = warp ? g.threadingRows : g.treadlingColumns;
        const int cell = warp ? ch : cw, room = warp ? H - l.endNumberBand : W;
        expectCellRuns(l.bandPieces, band, (room - 1) / cell);
        EXPECT_GT(l.bandPieces.size(), 1u) << what;
        // Each thread run prints once per piece; the strips stacked on a page fit it.
        int pieces = 0;
        for (int page = 0; page < l.totalPages; ++page) {
            const auto onPage = l.piecesOf(page);
            ASSERT_FALSE(onPage.empty()) << what << " page " << page;
            pieces += static_cast<int>(onPage.size());
            long long used = 0;
            for (const StripPiece& p : onPage) {
                if (used > 0) used += StripSpacing(kind) * cell;
                used += static_cast<long long>(p.cells.count) * cell + 1 + (warp ? l.endNumberBand : 0);
            }
            EXPECT_LE(used, warp ? H : W) << what << " page " << page;
        }
        const auto& runs = warp ? l.endPages : l.pickPages;
        EXPECT_EQ(pieces, static_cast<int>(runs.size() * l.bandPieces.size())) << what;
    }
}

TEST(PrintLayout, TextInCellsNeedsOneFourteenthOfAnInch)
{
    // 600 dpi: 1/14 inch is 42.9 dots, so scale 14 (42 dots) prints marks.
    EXPECT_TRUE(ComputePageLayout(draftGrid(10, 10), letter(600), scaled(13)).textInCells);
    EXPECT_FALSE(ComputePageLayout(draftGrid(10, 10), letter(600), scaled(14)).textInCells);
    EXPECT_NEAR(ComputePageLayout(draftGrid(10, 10), letter(600), scaled(10)).cellFontPoints, 60 * 0.75 * 72 / 600.0,
                1e-9);
}

} // namespace
