#include "tests/core/graphic/drafts.h"

#include <gtest/gtest.h>

using namespace qb;
using namespace qbtest;

namespace {

constexpr std::uint32_t kBlack = kDrawdownBlack, kWhite = kDrawdownWhite, kSilver = kDrawdownSilver;

// Picture column of the left edge of end e at cell width w (end 1 at the right).
int endX(const CQuillabyDoc& doc, int e, int w)
{
    return (doc.numEnds() - 1 - e) * w;
}

} // namespace

TEST(InterlaceMargins, BandsAndTheSixPixelRule)
{
    // 12 px: floor(9.36) = 9, raised to 10 for even margins.
    EXPECT_EQ(ComputeInterlaceMargins(12, 12, 8, false).mx, 1);
    EXPECT_EQ(ComputeInterlaceMargins(16, 16, 8, false).mx, 2);
    EXPECT_EQ(ComputeInterlaceMargins(32, 32, 8, false).mx, 4);
    EXPECT_EQ(ComputeInterlaceMargins(32, 32, 8, true).mx, 2); // 28 of 32 in a correlation mode
    EXPECT_EQ(ComputeInterlaceMargins(6, 6, 8, false).mx, 1);
    EXPECT_EQ(ComputeInterlaceMargins(4, 4, 8, false).mx, 0); // band of 2 is too narrow
    EXPECT_EQ(ComputeInterlaceMargins(4, 4, 8, false).my, 1);
    EXPECT_FALSE(ComputeInterlaceMargins(5, 12, 8, false).interlaceFits);
    EXPECT_FALSE(ComputeInterlaceMargins(12, 5, 8, false).interlaceFits);
    EXPECT_TRUE(ComputeInterlaceMargins(6, 6, 8, false).interlaceFits);
}

TEST(ProportionedCell, SettRatioShapesTheFabricCell)
{
    EXPECT_EQ(ProportionedCell(12, 12, 10, 20).height, 6); // twice the picks: half as tall
    EXPECT_EQ(ProportionedCell(12, 12, 10, 20).width, 12);
    EXPECT_EQ(ProportionedCell(12, 12, 12, 10).width, 10); // 10/12 is kept as a fraction
    EXPECT_EQ(ProportionedCell(12, 12, 12, 10).height, 12);
    EXPECT_EQ(ProportionedCell(6, 6, 1, 40).height, 2); // never below 2 pixels
    EXPECT_EQ(ProportionedCell(6, 6, 0, 40).height, 6); // unknown sett: square
    EXPECT_EQ(ProportionedCell(6, 8, 24.5, 24.5).width, 6);
}

TEST(RenderDrawdown, OnePixelWarpAndWeftModesMatchTheCellRule)
{
    for (bool rising : {true, false}) {
        auto doc = randomDraft(70, 40, rising ? 1 : 2, rising);
        for (int mode : {1, 2}) {
            DrawdownStyle st = cells(1);
            st.coloring = mode;
            const Picture pic = render(*doc, st);
            ASSERT_EQ(pic.width, 70);
            ASSERT_EQ(pic.height, 40);
            for (int p = 0; p < 40; ++p)
                for (int e = 0; e < 70; ++e) {
                    const Cell c = DrawdownCell(*doc, e, p);
                    const bool black = mode == 1 ? c == Cell::WarpUp : c != Cell::WarpUp;
                    ASSERT_EQ(pic.at(69 - e, p), black ? kBlack : kWhite) << "end " << e << " pick " << p;
                }
        }
    }
}

TEST(RenderDrawdown, UnthreadedEndsAndEmptyPicks)
{
    for (bool rising : {true, false}) {
        auto doc = plainWeave(6, rising);
        doc->ClearThreadingCell(kUnrecorded, 2);       // end 3 unthreaded
        doc->SetPickSet(kUnrecorded, 3, TreadleSet()); // pick 4 empty
        for (int mode : {0, 1, 2}) {
            DrawdownStyle st = cells(1);
            st.coloring = mode;
            const Picture pic = render(*doc, st);
            const int x = 6 - 1 - 2;
            for (int p = 0; p < 6; ++p) {
                if (mode != 0) {
                    EXPECT_EQ(pic.at(x, p), mode == 1 ? kWhite : kBlack);
                }
            }
            // The empty pick shows weft on a rising shed, warp on a sinking one.
            for (int e = 0; e < 6; ++e) {
                if (e == 2) continue;
                const std::uint32_t want = mode == 0 ? PixelOf(rising ? kBlue : kRed)
                    : mode == 1                      ? (rising ? kWhite : kBlack)
                                                     : (rising ? kBlack : kWhite);
                EXPECT_EQ(pic.at(5 - e, 3), want) << "mode " << mode << " rising " << rising << " end " << e;
            }
        }
    }
}

TEST(RenderDrawdown, BlankCellsLookTheSameFromBothSides)
{
    // An unthreaded end and a correlated pick that lifts nothing show no
    // warp: white in warp mode, black in weft mode, the weft's color in color
    // mode, on the face and on the back, in either shed.
    for (bool rising : {true, false}) {
        auto doc = plainWeave(4, rising);
        doc->ClearThreadingCell(kUnrecorded, 2);
        for (bool correlated : {false, true}) {
            if (correlated) {
                doc->SetPickSet(kUnrecorded, 1, TreadleSet());
                doc->SetNumRows(kUnrecorded, Side::Threading, 2);
                doc->raw().setCorrelation(1, true);
                ASSERT_EQ(doc->activeCorrelation(), 1);
            }
            for (int coloring : {0, 1, 2})
                for (bool back : {false, true}) {
                    DrawdownStyle st = cells(1);
                    st.coloring = coloring;
                    st.back = back;
                    const Picture pic = render(*doc, st);
                    const std::uint32_t want = coloring == 1 ? kWhite : coloring == 2 ? kBlack : 0;
                    for (int p = 0; p < 4; ++p)
                        for (int e = 0; e < 4; ++e) {
                            if (DrawdownCell(*doc, e, p) != Cell::Blank) continue;
                            const std::uint32_t expect = coloring == 0 ? PixelOf(WeftColor(*doc, p)) : want;
                            EXPECT_EQ(pic.at(3 - e, p), expect)
                                << "rising " << rising << " correlated " << correlated << " coloring " << coloring
                                << " back " << back << " at " << e << "," << p;
                        }
                }
        }
    }
}

TEST(RenderDrawdown, ColorModeAndCorrelationMatchTheColoredCell)
{
    auto doc = randomDraft(30, 20, 7, false);
    for (int side : {0, 1, 2}) {
        if (side == 1) doc->SetNumRows(kUnrecorded, Side::Threading, 2);
        if (side == 2) doc->SetNumRows(kUnrecorded, Side::Treadling, 3);
        if (side) {
            // Give the extra rows threads of their own.
            for (int e = 0; e < 30; e += 3) doc->SetThreadingCell(kUnrecorded, e, 1 + e % 5, 1);
            for (int p = 0; p < 20; p += 2) doc->SetTreadlingCell(kUnrecorded, p, 1 + p % 7, 1);
        }
        doc->raw().setCorrelation(side, side != 0);
        for (bool back : {false, true}) {
            DrawdownStyle st = cells(1);
            st.back = back;
            const Picture pic = render(*doc, st);
            for (int p = 0; p < 20; ++p)
                for (int e = 0; e < 30; ++e)
                    ASSERT_EQ(pic.at(29 - e, p), PixelOf(DrawdownColoredCell(*doc, e, p, back).top))
                        << "side " << side << " back " << back << " end " << e << " pick " << p;
        }
    }
}

TEST(RenderDrawdown, InterlaceNeedsSixPixelCells)
{
    auto doc = plainWeave(4);
    DrawdownStyle st = cells(4);
    st.interlace = true;
    Picture pic = render(*doc, st);
    // Flat: a cell is one color edge to edge.
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(pic.at(x, y), pic.at(0, 0));

    st = cells(6);
    st.interlace = true;
    pic = render(*doc, st);
    // End 1 (rightmost), pick 1: warp up on a rising shed with treadle 1 on shaft 1.
    const int x = endX(*doc, 0, 6);
    EXPECT_EQ(pic.at(x, 0), kBlack);                    // corner: the space between threads
    EXPECT_EQ(pic.at(x + 3, 0), PixelOf(kRed));         // the warp runs full height
    EXPECT_EQ(pic.at(x, 3), PixelOf(kBlue & 0x555555)); // the weft beneath, darkened
}

TEST(RenderDrawdown, TwelvePixelBandsLeaveOnePixelOfBlack)
{
    auto doc = plainWeave(4);
    DrawdownStyle st = cells(12);
    st.interlace = true;
    const Picture pic = render(*doc, st);
    // Warp-up cell (end 1, pick 1): the vertical band is columns 1..10.
    const int x = endX(*doc, 0, 12);
    EXPECT_EQ(pic.at(x + 0, 0), kBlack);
    for (int i = 1; i <= 10; ++i) EXPECT_EQ(pic.at(x + i, 0), PixelOf(kRed)) << i;
    EXPECT_EQ(pic.at(x + 11, 0), kBlack);
    // Weft-up cell (end 2, pick 1): the horizontal band is rows 1..10.
    const int x2 = endX(*doc, 1, 12);
    EXPECT_EQ(pic.at(x2 + 5, 0), PixelOf(kRed & 0x555555)); // warp beneath shows above the weft
    EXPECT_EQ(pic.at(x2 + 0, 0), kBlack);
    for (int i = 1; i <= 10; ++i) EXPECT_EQ(pic.at(x2, i), PixelOf(kBlue)) << i;
    EXPECT_EQ(pic.at(x2, 11), kBlack);
}

TEST(RenderDrawdown, SilverGapOnlyForLargeFlatCells)
{
    auto doc = plainWeave(4);
    Picture pic = render(*doc, cells(12));
    const int x = endX(*doc, 0, 12);
    EXPECT_EQ(pic.at(x, 5), kSilver);     // boundary column
    EXPECT_EQ(pic.at(x + 5, 0), kSilver); // boundary row
    EXPECT_EQ(pic.at(x + 1, 1), PixelOf(kRed));
    EXPECT_EQ(pic.at(x + 11, 11), PixelOf(kRed));

    pic = render(*doc, cells(8)); // not above the mark size: cells touch
    EXPECT_EQ(pic.at(endX(*doc, 0, 8), 0), PixelOf(kRed));
}

TEST(RenderDrawdown, BackOfPlainWeaveIsTheFaceWithColorsExchanged)
{
    auto face = plainWeave(8);
    auto swapped = plainWeave(8);
    swapped->SetThreadColors(kUnrecorded, Side::Threading, 0, 7, 2);
    swapped->SetThreadColors(kUnrecorded, Side::Treadling, 0, 7, 1);
    DrawdownStyle st = cells(10);
    const Picture a = render(*swapped, st);
    st.back = true;
    const Picture b = render(*face, st);
    EXPECT_EQ(a.px, b.px);
}

TEST(RenderDrawdown, SelectionDimsAndFlattensTheRest)
{
    auto doc = plainWeave(6);
    DrawdownStyle st = cells(12);
    st.interlace = true;
    const Picture plain = render(*doc, st);
    st.selFirstEnd = 1;
    st.selLastEnd = 2;
    st.selFirstPick = 3;
    st.selLastPick = 1; // given backwards
    const Picture pic = render(*doc, st);
    for (int p = 0; p < 6; ++p)
        for (int e = 0; e < 6; ++e) {
            const int x = endX(*doc, e, 12), y = p * 12;
            const bool inside = e >= 1 && e <= 2 && p >= 1 && p <= 3;
            if (inside) {
                for (int i = 0; i < 12; ++i) EXPECT_EQ(pic.at(x + i, y + i), plain.at(x + i, y + i));
            } else {
                const COLORREF top = DrawdownColoredCell(*doc, e, p).top;
                EXPECT_EQ(pic.at(x, y), PixelOf(top & 0x333333)); // no black corner: flat
                EXPECT_EQ(pic.at(x + 11, y + 11), PixelOf(top & 0x333333));
            }
        }
}

TEST(RenderDrawdown, ThickThreadsTakeExtraCells)
{
    auto doc = plainWeave(4);
    doc->SetRatio(kUnrecorded, Side::Threading, 3);
    doc->SetThick(kUnrecorded, Side::Threading, 1, true); // end 2: 4 cells
    doc->SetRatio(kUnrecorded, Side::Treadling, 2);
    doc->SetThick(kUnrecorded, Side::Treadling, 0, true); // pick 1: 3 cells
    const Picture pic = render(*doc, cells(4));
    ASSERT_EQ(pic.width, (4 + 3) * 4);
    ASSERT_EQ(pic.height, (4 + 2) * 4);
    // From the right: end 1 at 24..27, end 2 at 8..23, end 3 at 4..7.
    const std::uint32_t red = PixelOf(kRed), blue = PixelOf(kBlue);
    EXPECT_EQ(pic.at(27, 0), red);  // pick 1, end 1: warp up
    EXPECT_EQ(pic.at(23, 0), blue); // end 2: weft up
    EXPECT_EQ(pic.at(8, 11), blue); // still end 2, still pick 1 (12 rows tall)
    EXPECT_EQ(pic.at(7, 0), red);   // end 3
    EXPECT_EQ(pic.at(23, 12), red); // pick 2, end 2
}

TEST(DrawdownGeometry, PixelsAndThreadsAgree)
{
    auto doc = randomDraft(12, 9, 4);
    doc->SetRatio(kUnrecorded, Side::Threading, 2);
    doc->SetThick(kUnrecorded, Side::Threading, 0, true);
    doc->SetThick(kUnrecorded, Side::Threading, 5, true);
    doc->SetThick(kUnrecorded, Side::Treadling, 8, true);
    const ThreadLayout ends(*doc->threading(0), 12), picks(*doc->treadling(0), 9);
    EXPECT_EQ(DrawdownEndColumns(ends, 5, 0).end, (12 + 4) * 5); // end 1 at the right edge
    EXPECT_EQ(DrawdownEndColumns(ends, 5, 0).first, (12 + 4 - 3) * 5);
    EXPECT_EQ(DrawdownPickRows(picks, 4, 0, true).end, (9 + 1) * 4);  // pick 1 at the bottom
    EXPECT_EQ(DrawdownPickRows(picks, 4, 8, false).end, (9 + 1) * 4); // ratio 1: two cells
    for (int e = 0; e < 12; ++e) {
        const PixelSpan c = DrawdownEndColumns(ends, 5, e);
        for (long long x = c.first; x < c.end; ++x) ASSERT_EQ(DrawdownEndAt(ends, 5, x), e);
    }
    for (bool up : {false, true})
        for (int p = 0; p < 9; ++p) {
            const PixelSpan r = DrawdownPickRows(picks, 4, p, up);
            for (long long y = r.first; y < r.end; ++y) ASSERT_EQ(DrawdownPickAt(picks, 4, y, up), p);
        }
    EXPECT_EQ(DrawdownEndAt(ends, 5, -1), -1);
    EXPECT_EQ(DrawdownEndAt(ends, 5, 16 * 5), -1);
    EXPECT_EQ(DrawdownPickAt(picks, 4, 10 * 4, false), -1);
}

TEST(RenderDrawdown, DrawnUpPutsPickOneAtTheBottom)
{
    auto doc = plainWeave(4);
    doc->SetPickSet(kUnrecorded, 0, TreadleSet()); // pick 1 all weft
    DrawdownStyle st = cells(1);
    st.coloring = 1;
    const Picture down = render(*doc, st);
    st.drawnUp = true;
    const Picture up = render(*doc, st);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(up.at(x, 3 - y), down.at(x, y));
    for (int x = 0; x < 4; ++x) EXPECT_EQ(up.at(x, 3), kWhite);
}

TEST(RenderDrawdown, CurrentPickMarker)
{
    auto doc = plainWeave(4);
    DrawdownStyle st = cells(12);
    st.currentPick = 0;
    const Picture pic = render(*doc, st);
    const int x = endX(*doc, 0, 12); // warp up at end 1, pick 1
    // The gap row and column stay silver; the cell is drawn inside them.
    EXPECT_EQ(pic.at(x + 5, 1), kPickMarkerOrange);
    EXPECT_EQ(pic.at(x + 1, 6), kDrawdownBlack);
    EXPECT_EQ(pic.at(x + 5, 6), kPickMarkerYellow);
    EXPECT_EQ(pic.at(x + 5, 2), kPickMarkerYellow);
    const int x2 = endX(*doc, 1, 12); // weft up: no yellow
    EXPECT_EQ(pic.at(x2 + 5, 6), kDrawdownBlack);
}

TEST(RenderDrawdown, HiddenDrawdown)
{
    auto doc = plainWeave(8);
    DrawdownStyle st = cells(12);
    st.hidden = true;
    Picture pic = render(*doc, st);
    for (std::uint32_t v : pic.px) ASSERT_EQ(v, kSilver);
    st.showGridWhenHidden = true;
    pic = render(*doc, st);
    EXPECT_EQ(pic.at(5, 5), kWhite);
    EXPECT_EQ(pic.at(5, 0), kGridThin);                  // border before pick 1
    EXPECT_EQ(pic.at(5, 4 * 12), kGridHeavy);            // after pick 4
    EXPECT_EQ(pic.at(5, 1 * 12), kGridThin);             // after pick 1
    EXPECT_EQ(pic.at(endX(*doc, 3, 12), 5), kGridHeavy); // after end 4
}

TEST(RenderDrawdown, RegionEqualsCropOfTheWhole)
{
    auto doc = randomDraft(50, 40, 11);
    doc->SetRatio(kUnrecorded, Side::Threading, 2);
    doc->SetThick(kUnrecorded, Side::Threading, 7, true);
    doc->SetThick(kUnrecorded, Side::Treadling, 5, true);
    for (bool interlace : {false, true})
        for (int cw : {1, 7, 12}) {
            DrawdownStyle st = cells(cw, cw == 7 ? 9 : cw);
            st.interlace = interlace;
            st.currentPick = 6;
            st.selFirstEnd = 3, st.selLastEnd = 30, st.selFirstPick = 2, st.selLastPick = 20;
            const Picture whole = render(*doc, st);
            const int rx[] = {0, 5, whole.width / 3, whole.width - 10, -4};
            const int ry[] = {0, 3, whole.height / 2, whole.height - 7, -2};
            for (int i = 0; i < 5; ++i) {
                const int w = 23, h = 17;
                const Picture part = render(*doc, st, rx[i], ry[i], w, h);
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x) {
                        const int X = rx[i] + x, Y = ry[i] + y;
                        const bool in = X >= 0 && Y >= 0 && X < whole.width && Y < whole.height;
                        ASSERT_EQ(part.at(x, y), in ? whole.at(X, Y) : kSilver)
                            << "cell " << cw << " region " << i << " at " << x << "," << y;
                    }
            }
        }
}

TEST(RenderDrawdown, EmptyDraftPaintsOnlyBackground)
{
    auto doc = newDraft(4, 4);
    DrawdownRows rows(*doc);
    std::vector<std::uint32_t> px(20 * 10, 0);
    RenderDrawdown(*doc, rows, cells(12), ThreadLayout::uniform(0), ThreadLayout::uniform(0), 0, 0,
                   {px.data(), 20, 10, 20});
    for (std::uint32_t v : px) ASSERT_EQ(v, kSilver);
}

namespace {

// The drawdown picture pixel by pixel, straight from the per-cell rules: a
// reference for the scan-line renderer with its shortcuts.
std::uint32_t referencePixel(const CQuillabyDoc& doc, const DrawdownStyle& st, const ThreadLayout& ends,
                             const ThreadLayout& picks, long long x, long long y)
{
    const int e = DrawdownEndAt(ends, st.cellWidth, x), p = DrawdownPickAt(picks, st.cellHeight, y, st.drawnUp);
    if (e < 0 || p < 0) return kSilver;
    const int corr = doc.activeCorrelation();
    const bool rising = doc.isRisingShed();
    const InterlaceMargins m = ComputeInterlaceMargins(st.cellWidth, st.cellHeight, st.markSize, corr != 0);
    const bool interlace = st.interlace && m.interlaceFits;
    const int gap = st.cellWidth > st.markSize && st.cellHeight > st.markSize && !interlace ? 1 : 0;
    const PixelSpan cols = DrawdownEndColumns(ends, st.cellWidth, e);
    const PixelSpan rows = DrawdownPickRows(picks, st.cellHeight, p, st.drawnUp);
    const long long i = x - cols.first - gap, j = y - rows.first - gap;
    const long long w = cols.end - cols.first - gap, h = rows.end - rows.first - gap;
    if (i < 0 || j < 0) return kSilver;

    std::uint32_t top, under;
    bool up;
    // A blank cell has no warp to show: it looks the same from the back.
    const bool blank = DrawdownCell(doc, e, p) == Cell::Blank;
    if (st.coloring == 0) {
        const ColoredCell c = DrawdownColoredCell(doc, e, p);
        top = PixelOf(c.top);
        under = PixelOf(c.second);
        up = c.warpUp;
    } else {
        const int cls = blank ? 1 : DrawdownCell(doc, e, p) == Cell::WarpUp ? 0 : 1;
        const std::uint32_t black = kBlack, white = kWhite;
        const bool blackTop = st.coloring == 1 ? cls == 0 : cls != 0;
        top = blackTop ? black : white;
        under = blackTop ? white : black;
        up = cls == 0;
    }
    (void)rising;
    if (st.back && !blank) {
        std::swap(top, under);
        up = !up;
    }
    const bool sel = st.selFirstEnd >= 0 && st.selLastEnd >= 0 && st.selFirstPick >= 0 && st.selLastPick >= 0;
    const bool dim = sel
        && (e < std::min(st.selFirstEnd, st.selLastEnd) || e > std::max(st.selFirstEnd, st.selLastEnd)
            || p < std::min(st.selFirstPick, st.selLastPick) || p > std::max(st.selFirstPick, st.selLastPick));
    if (dim) {
        top &= 0xFF333333;
        under &= 0xFF333333;
    }
    const bool inV = i >= m.mx && i < w - m.mx, inH = j >= m.my && j < h - m.my;
    if (p == st.currentPick) {
        if (up && inV && j >= 1 && j < h - 1) return kPickMarkerYellow;
        return inH ? kBlack : kPickMarkerOrange;
    }
    if (corr != 0 || dim || !interlace) return top;
    const std::uint32_t masked = under & 0xFF555555;
    if (up) return inV ? top : inH ? masked : kBlack;
    return inH ? top : inV ? masked : kBlack;
}

} // namespace

TEST(RenderDrawdown, EveryStyleMatchesTheCellRules)
{
    std::mt19937 rng(99);
    for (int round = 0; round < 60; ++round) {
        auto doc = randomDraft(5 + int(rng() % 40), 4 + int(rng() % 30), rng(), rng() % 2 == 0);
        const int corr = int(rng() % 3);
        if (corr) {
            doc->SetNumRows(kUnrecorded, Side::Threading, 1 + int(rng() % 3));
            doc->SetNumRows(kUnrecorded, Side::Treadling, 1 + int(rng() % 3));
            for (int e = 0; e < doc->numEnds(); e += 2)
                doc->SetThreadingCell(kUnrecorded, e, 1 + int(rng() % 8), doc->numWarps() - 1);
            for (int p = 0; p < doc->numPicks(); p += 3)
                doc->SetTreadlingCell(kUnrecorded, p, 1 + int(rng() % 8), doc->numWefts() - 1);
            doc->raw().setCorrelation(corr, true);
        }
        if (rng() % 3 == 0) {
            doc->SetRatio(kUnrecorded, Side::Threading, 1 + int(rng() % 3));
            doc->SetThick(kUnrecorded, Side::Threading, int(rng() % doc->numEnds()), true);
            doc->SetThick(kUnrecorded, Side::Treadling, int(rng() % doc->numPicks()), true);
        }
        DrawdownStyle st = cells(1 + int(rng() % 14), 1 + int(rng() % 14));
        st.coloring = int(rng() % 3);
        st.interlace = rng() % 2 == 0;
        st.back = rng() % 3 == 0;
        st.drawnUp = rng() % 3 == 0;
        if (rng() % 3 == 0) {
            st.selFirstEnd = int(rng() % doc->numEnds()), st.selLastEnd = int(rng() % doc->numEnds());
            st.selFirstPick = int(rng() % doc->numPicks()), st.selLastPick = int(rng() % doc->numPicks());
        }
        if (rng() % 3 == 0) st.currentPick = int(rng() % doc->numPicks());
        const ThreadLayout ends(*doc->threading(0), doc->numEnds()), picks(*doc->treadling(0), doc->numPicks());
        const Picture pic = render(*doc, st);
        for (int y = 0; y < pic.height; ++y)
            for (int x = 0; x < pic.width; ++x)
                ASSERT_EQ(pic.at(x, y), referencePixel(*doc, st, ends, picks, x, y))
                    << "round " << round << " at " << x << "," << y << " cell " << st.cellWidth << "x" << st.cellHeight
                    << " coloring " << st.coloring << " interlace " << st.interlace << " back " << st.back
                    << " correlation " << corr;
    }
}
