#include "tests/core/graphic/drafts.h"

#include "core/graphic/drawdownsource.h"
#include "core/graphic/wholedraftimage.h"

#include <gtest/gtest.h>

using namespace qb;
using namespace qbtest;

namespace {

std::uint32_t indexedPixel(const std::vector<std::uint8_t>& packed, int depth, const std::vector<std::uint32_t>& pal,
                           int x)
{
    const int bit = x * depth;
    const int idx = (packed[bit / 8] >> (8 - depth - bit % 8)) & ((1 << depth) - 1);
    return pal.at(static_cast<std::size_t>(idx));
}

// Every indexed row must show exactly the colors of the rendered row.
void expectIndexedMatchesRendered(DrawdownSource& src, int wantDepth, const std::string& what)
{
    ASSERT_EQ(src.indexedDepth(), wantDepth) << what;
    const int w = src.width();
    std::vector<std::uint32_t> argb(static_cast<std::size_t>(w));
    std::vector<std::uint8_t> packed((static_cast<std::size_t>(w) * 8 + 7) / 8 + 8);
    const std::vector<std::uint32_t> pal = src.indexedPalette();
    for (int y = 0; y < src.height(); ++y) {
        src.row(y, argb.data());
        src.indexedRow(y, packed.data());
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(indexedPixel(packed, wantDepth, pal, x), argb[static_cast<std::size_t>(x)])
                << what << " at " << x << "," << y;
    }
}

} // namespace

TEST(DrawdownSource, IndexedRowsShowWhatIsRendered)
{
    for (int ends : {1, 63, 64, 65, 130}) {
        for (bool rising : {true, false}) {
            auto doc = randomDraft(ends, 17, unsigned(ends), rising);
            for (int mode : {1, 2})
                for (bool back : {false, true})
                    for (bool drawnUp : {false, true}) {
                        DrawdownStyle st = cells(1);
                        st.coloring = mode;
                        st.back = back;
                        st.drawnUp = drawnUp;
                        DrawdownSource src(*doc, st);
                        expectIndexedMatchesRendered(src, 1, "class mode " + std::to_string(mode));
                    }
            // Several thread colors: 2 bits for white, red, blue, green.
            for (bool back : {false, true}) {
                DrawdownStyle st = cells(1);
                st.back = back;
                DrawdownSource src(*doc, st);
                expectIndexedMatchesRendered(src, ends == 1 ? src.indexedDepth() : 2, "colors");
            }
            // One warp and one weft color: one bit.
            doc->SetThreadColors(kUnrecorded, Side::Threading, 0, ends - 1, 3);
            doc->SetThreadColors(kUnrecorded, Side::Treadling, 0, 16, 1);
            DrawdownSource src(*doc, cells(1));
            expectIndexedMatchesRendered(src, 1, "two colors");
        }
    }
}

TEST(DrawdownSource, LargerCellsAndThickThreadsAreRenderedRows)
{
    auto doc = randomDraft(20, 10, 3);
    DrawdownSource big(*doc, cells(3));
    EXPECT_EQ(big.indexedDepth(), 0);
    EXPECT_EQ(big.width(), 60);
    doc->SetThick(kUnrecorded, Side::Threading, 4, true);
    DrawdownSource thick(*doc, cells(1));
    EXPECT_EQ(thick.indexedDepth(), 0);
    EXPECT_EQ(thick.width(), 20 + doc->threading(0)->ratio());

    // Rows asked bottom up (as BMP does) equal rows asked top down.
    DrawdownStyle st = cells(5);
    st.interlace = true;
    DrawdownSource a(*doc, st), b(*doc, st);
    const Picture whole = render(*doc, st);
    std::vector<std::uint32_t> ra(static_cast<std::size_t>(a.width())), rb(ra.size());
    for (int y = 0; y < a.height(); ++y) {
        a.row(y, ra.data());
        b.row(a.height() - 1 - y, rb.data());
        for (int x = 0; x < a.width(); ++x) {
            ASSERT_EQ(ra[static_cast<std::size_t>(x)], whole.at(x, y));
            ASSERT_EQ(rb[static_cast<std::size_t>(x)], whole.at(x, a.height() - 1 - y));
        }
    }
}

TEST(WholeDraft, LayoutPlacesThePanesAroundTheDrawdown)
{
    auto doc = plainWeave(10);
    WholeDraftStyle st;
    st.drawdown = cells(12);
    st.paneGap = 5;
    WholeDraftLayout l = ComputeWholeDraftLayout(*doc, st);
    // Threading: 2 shafts + empty row + 1 color bar.
    EXPECT_EQ(l.threadingRows, 4);
    EXPECT_EQ(l.treadlingColumns, 4);
    EXPECT_EQ(l.threading.x, 0);
    EXPECT_EQ(l.threading.w, 10 * 12 + 1);
    EXPECT_EQ(l.threading.h, 4 * 12 + 1);
    EXPECT_EQ(l.drawdown.y, 4 * 12 + 1 + 5);
    EXPECT_EQ(l.drawdown.w, 120);
    EXPECT_EQ(l.treadling.x, 121 + 5);
    EXPECT_EQ(l.treadling.y, l.drawdown.y);
    // The tieup's shaft rows line up with the threading's.
    EXPECT_EQ(l.tieup.y + l.tieup.h, l.threading.y + l.threading.h);
    EXPECT_EQ(l.width, 121 + 5 + 4 * 12 + 1);

    st.drawdown.drawnUp = true;
    l = ComputeWholeDraftLayout(*doc, st);
    EXPECT_EQ(l.drawdown.y, 0);
    EXPECT_EQ(l.treadling.y, 0);
    EXPECT_EQ(l.threading.y, 10 * 12 + 1 + 5);
    EXPECT_EQ(l.tieup.y, l.threading.y);
}

TEST(WholeDraft, MarksGridAndThickThreads)
{
    auto doc = plainWeave(8);
    doc->SetRatio(kUnrecorded, Side::Threading, 3);
    doc->SetThick(kUnrecorded, Side::Threading, 0, true); // end 1: four cells wide
    doc->raw().notations.tieup = 0;
    WholeDraftStyle st;
    st.drawdown = cells(12);
    st.paneGap = 4;
    WholeDraftSource src(*doc, st);
    const WholeDraftLayout& l = src.layout();
    std::vector<std::uint32_t> px(static_cast<std::size_t>(src.width()) * src.height());
    for (int y = 0; y < src.height(); ++y) src.row(y, &px[static_cast<std::size_t>(y) * src.width()]);
    auto at = [&](long long x, long long y) { return px[static_cast<std::size_t>(y * src.width() + x)]; };

    const long long right = l.threading.x + l.threading.w - 1; // the border before end 1
    const long long shaft1Top = l.threading.y + l.threading.h - 1 - 12;
    // End 1 (shaft 1) is a mark across its four cells, up to its lines.
    EXPECT_EQ(at(right - 1, shaft1Top + 5), kDrawdownBlack);
    EXPECT_EQ(at(right - 47, shaft1Top + 5), kDrawdownBlack);
    EXPECT_EQ(at(right - 48, shaft1Top + 5), kGridThin);           // the line after end 1
    EXPECT_EQ(at(right - 48 - 3 * 12, shaft1Top + 5), kGridHeavy); // after end 4
    EXPECT_EQ(at(right, shaft1Top + 5), kGridThin);                // border
    // End 2 sits on shaft 2, one row up; the shaft-1 cell under it is empty.
    EXPECT_EQ(at(right - 50, shaft1Top + 5), kDrawdownWhite);
    EXPECT_EQ(at(right - 50, shaft1Top - 7), kDrawdownBlack);
    // The color bar row (above the empty row) shows the warp color.
    EXPECT_EQ(at(right - 5, l.threading.y + 5), PixelOf(kRed));
    // Tieup: treadle 1 lifts shaft 1 (bottom-left cell).
    EXPECT_EQ(at(l.tieup.x + 5, l.tieup.y + l.tieup.h - 7), kDrawdownBlack);
    EXPECT_EQ(at(l.tieup.x + 17, l.tieup.y + l.tieup.h - 7), kDrawdownWhite);
    // Treadling: pick 1 on treadle 1, pick 2 on treadle 2.
    EXPECT_EQ(at(l.treadling.x + 5, l.treadling.y + 5), kDrawdownBlack);
    EXPECT_EQ(at(l.treadling.x + 17, l.treadling.y + 17), kDrawdownBlack);
    EXPECT_EQ(at(l.treadling.x + 3 * 12 + 5, l.treadling.y + 5), PixelOf(kBlue)); // weft color bar
    // The drawdown lines up with the threading: end 1 covers the same columns.
    EXPECT_EQ(at(right - 1, l.drawdown.y + 5), PixelOf(kRed));
    EXPECT_EQ(at(right - 47, l.drawdown.y + 5), PixelOf(kRed));
}

TEST(WholeDraft, RegionEqualsCropAndSymbolsFollowTheShed)
{
    for (bool rising : {true, false}) {
        auto doc = randomDraft(30, 25, 5, rising);
        doc->SetThick(kUnrecorded, Side::Treadling, 3, true);
        doc->raw().notations.tieup = 2;
        DrawdownRows rows(*doc);
        WholeDraftStyle st;
        st.drawdown = cells(10);
        st.drawdown.drawnUp = !rising;
        const WholeDraftLayout l = ComputeWholeDraftLayout(*doc, st);
        const int W = int(l.width), H = int(l.height);
        std::vector<std::uint32_t> whole(static_cast<std::size_t>(W) * H);
        RenderWholeDraft(*doc, rows, st, l, 0, 0, {whole.data(), W, H, W});
        for (long long x0 : {0LL, 37LL, l.treadling.x - 3, (long long)W - 20})
            for (long long y0 : {0LL, 41LL, (long long)H - 15}) {
                std::vector<std::uint32_t> part(40 * 30);
                RenderWholeDraft(*doc, rows, st, l, x0, y0, {part.data(), 40, 30, 40});
                for (int y = 0; y < 30; ++y)
                    for (int x = 0; x < 40; ++x) {
                        const long long X = x0 + x, Y = y0 + y;
                        if (X >= W || Y >= H) continue;
                        ASSERT_EQ(part[static_cast<std::size_t>(y * 40 + x)],
                                  whole[static_cast<std::size_t>(Y * W + X)])
                            << x0 << "," << y0 << " at " << x << "," << y;
                    }
            }
        // A symbolic tieup cell: a dot leaves its corners white, a cross its edge midpoints.
        int t = 0, s = 1;
        for (; t < 8; ++t) {
            for (s = 1; s <= 8 && !doc->tieup().cell(t, s); ++s) {}
            if (s <= 8) break;
        }
        ASSERT_LT(t, 8);
        const long long cx = l.tieup.x + t * 10, cy = rising ? l.tieup.y + (8 - s) * 10 : l.tieup.y + (s - 1) * 10;
        auto px = [&](long long x, long long y) { return whole[static_cast<std::size_t>(y * W + x)]; };
        EXPECT_EQ(px(cx + 5, cy + 5), kDrawdownBlack);
        EXPECT_EQ(px(cx + 2, cy + 2), rising ? kDrawdownWhite : kDrawdownBlack);
        EXPECT_EQ(px(cx + 5, cy + 2), rising ? kDrawdownBlack : kDrawdownWhite);
    }
}

TEST(WholeDraft, MarkedCellsGoToTheSinkAndStayBlank)
{
    auto doc = randomDraft(20, 16, 9);
    doc->raw().threadingMutable(0)->AddLabel({2, 5, "A"});
    doc->raw().treadlingMutable(0)->AddLabel({0, 3, "B"});
    DrawdownRows rows(*doc);
    WholeDraftStyle st;
    st.drawdown = cells(10);
    const WholeDraftLayout l = ComputeWholeDraftLayout(*doc, st);
    const int W = int(l.width), H = int(l.height);
    std::vector<std::uint32_t> px(static_cast<std::size_t>(W) * H);
    std::vector<MarkedCell> seen;
    const MarkedCellSink take = [&](const MarkedCell& c) {
        seen.push_back(c);
        return true;
    };
    RenderWholeDraft(*doc, rows, st, l, 0, 0, {px.data(), W, H, W}, &take);

    int threaded = 0, tied = 0, treadled = 0;
    for (int e = 0; e < doc->numEnds(); ++e) threaded += doc->threading(0)->GetShaft(e) > 0;
    for (int t = 0; t < doc->numTreadles(); ++t)
        for (int s = 1; s <= doc->numShafts(); ++s) tied += doc->tieup().cell(t, s);
    for (int p = 0; p < doc->numPicks(); ++p) treadled += doc->treadling(0)->GetSet(p).count();
    int counts[5] = {};
    for (const MarkedCell& c : seen) {
        ++counts[c.kind];
        switch (c.kind) {
        case MarkedCell::Threading: EXPECT_EQ(c.value, doc->threading(0)->GetShaft(c.thread)); break;
        case MarkedCell::Tieup: EXPECT_TRUE(doc->tieup().cell(c.thread, c.value)); break;
        case MarkedCell::Treadling: EXPECT_TRUE(doc->treadling(0)->GetSet(c.thread).test(c.value)); break;
        case MarkedCell::WarpLabel: EXPECT_EQ(c.w, 5 * 10 - 1); break; // five ends, lines between them
        case MarkedCell::WeftLabel: EXPECT_EQ(c.h, 3 * 10 - 1); break;
        }
        // The picture leaves every cell it handed over white (a label keeps
        // the lines between its threads, and loses its silver band).
        if (c.kind == MarkedCell::WarpLabel || c.kind == MarkedCell::WeftLabel) continue;
        for (long long y = c.y; y < c.y + c.h; ++y)
            for (long long x = c.x; x < c.x + c.w; ++x)
                ASSERT_EQ(px[static_cast<std::size_t>(y * W + x)], kDrawdownWhite) << c.kind << " at " << x << "," << y;
    }
    EXPECT_EQ(counts[MarkedCell::Threading], threaded);
    EXPECT_EQ(counts[MarkedCell::Tieup], tied);
    EXPECT_EQ(counts[MarkedCell::Treadling], treadled);
    EXPECT_EQ(counts[MarkedCell::WarpLabel], 1);
    EXPECT_EQ(counts[MarkedCell::WeftLabel], 1);
    std::vector<std::uint32_t> own(px.size());
    RenderWholeDraft(*doc, rows, st, l, 0, 0, {own.data(), W, H, W});
    EXPECT_LT(std::count(px.begin(), px.end(), kDrawdownSilver), std::count(own.begin(), own.end(), kDrawdownSilver));
}
