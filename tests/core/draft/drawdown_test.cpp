#include "core/draft/drawdown.h"
#include "core/draft/quillabydoc.h"

#include <gtest/gtest.h>

#include <random>

using namespace qb;

namespace {

std::unique_ptr<CQuillabyDoc> newDraft(int shafts, int treadles, bool liftplan = false, bool rising = true)
{
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults d;
    d.shafts = shafts;
    d.treadles = treadles;
    d.liftplan = liftplan;
    d.risingShed = rising;
    d.defaultColors = {0x000000, 0x0000FF, 0x00FF00};
    doc->OnNewDocument(d);
    return doc;
}

// Ends on shafts 1,2,3 and one unthreaded end; treadle 1 lifts shafts 1 and 3.
std::unique_ptr<CQuillabyDoc> smallDraft(bool rising)
{
    auto doc = newDraft(4, 4, false, rising);
    doc->SetThreadingCell(kUnrecorded, 0, 1);
    doc->SetThreadingCell(kUnrecorded, 1, 2);
    doc->SetThreadingCell(kUnrecorded, 2, 3);
    doc->InsertThreads(kUnrecorded, Side::Threading, 3, 1); // end 3 stays unthreaded
    doc->SetTieupColumn(kUnrecorded, 0, TUPTYPE(0b101));
    doc->SetTieupColumn(kUnrecorded, 1, TUPTYPE(0b010));
    doc->SetTreadlingCell(kUnrecorded, 0, 1);               // pick 0: treadle 1
    doc->InsertThreads(kUnrecorded, Side::Treadling, 1, 1); // pick 1: nothing pressed
    doc->SetTreadlingCell(kUnrecorded, 2, 1);
    doc->SetMultipleTreadles(kUnrecorded, true);
    doc->SetTreadlingCell(kUnrecorded, 2, 2); // pick 2: treadles 1 and 2
    return doc;
}

} // namespace

TEST(Drawdown, RisingShedFollowsTheTieup)
{
    auto doc = smallDraft(true);
    EXPECT_EQ(DrawdownCell(*doc, 0, 0), Cell::WarpUp);
    EXPECT_EQ(DrawdownCell(*doc, 1, 0), Cell::WeftUp);
    EXPECT_EQ(DrawdownCell(*doc, 2, 0), Cell::WarpUp);
    EXPECT_EQ(DrawdownCell(*doc, 3, 0), Cell::Blank);
}

TEST(Drawdown, SinkingShedIsExactlyInverted)
{
    auto rising = smallDraft(true);
    auto sinking = smallDraft(false);
    for (int p = 0; p < 3; ++p)
        for (int e = 0; e < 4; ++e) {
            const Cell r = DrawdownCell(*rising, e, p), s = DrawdownCell(*sinking, e, p);
            if (r == Cell::Blank) EXPECT_EQ(s, Cell::Blank);
            else EXPECT_NE(r, s) << "end " << e << " pick " << p;
        }
}

TEST(Drawdown, EmptyPickShowsWeftInRisingAndWarpInSinking)
{
    auto rising = smallDraft(true);
    auto sinking = smallDraft(false);
    for (int e = 0; e < 3; ++e) {
        EXPECT_EQ(DrawdownCell(*rising, e, 1), Cell::WeftUp);
        EXPECT_EQ(DrawdownCell(*sinking, e, 1), Cell::WarpUp);
    }
    EXPECT_EQ(DrawdownCell(*sinking, 3, 1), Cell::Blank);
}

TEST(Drawdown, SeveralTreadlesLiftTheUnion)
{
    auto doc = smallDraft(true);
    EXPECT_EQ(LiftedShafts(*doc, 2).bits(), 0b111u);
    for (int e = 0; e < 3; ++e) EXPECT_EQ(DrawdownCell(*doc, e, 2), Cell::WarpUp);
}

TEST(Drawdown, LiftplanIgnoresTheTieup)
{
    auto doc = newDraft(4, 4, true);
    doc->SetThreadingCell(kUnrecorded, 0, 1);
    doc->SetThreadingCell(kUnrecorded, 1, 2);
    doc->SetTieupColumn(kUnrecorded, 1, TUPTYPE(0b1111));
    doc->SetTreadlingCell(kUnrecorded, 0, 2); // shaft 2 lifted directly
    EXPECT_EQ(LiftedShafts(*doc, 0).bits(), 0b10u);
    EXPECT_EQ(DrawdownCell(*doc, 0, 0), Cell::WeftUp);
    EXPECT_EQ(DrawdownCell(*doc, 1, 0), Cell::WarpUp);
}

TEST(Drawdown, ColorsAndBackOfTheFabric)
{
    auto doc = smallDraft(true);
    doc->SetThreadColors(kUnrecorded, Side::Threading, 0, 3, 2); // warp red (0x0000FF)
    doc->SetThreadColors(kUnrecorded, Side::Treadling, 0, 2, 3); // weft green
    const ColoredCell face = DrawdownColoredCell(*doc, 0, 0);
    EXPECT_TRUE(face.warpUp);
    EXPECT_EQ(face.top, 0x0000FFu);
    EXPECT_EQ(face.second, 0x00FF00u);
    const ColoredCell back = DrawdownColoredCell(*doc, 0, 0, true);
    EXPECT_FALSE(back.warpUp);
    EXPECT_EQ(back.top, 0x00FF00u);
    EXPECT_EQ(back.second, 0x0000FFu);
    EXPECT_EQ(DrawdownCell(*doc, 0, 0, true), Cell::WeftUp);
    EXPECT_EQ(DrawdownCell(*doc, 3, 0, true), Cell::Blank);
    // An unthreaded end still gets a color: weft on top in a rising shed.
    EXPECT_EQ(DrawdownColoredCell(*doc, 3, 0).top, 0x00FF00u);
}

TEST(Drawdown, ColorIndexOutsideThePaletteIsBlack)
{
    auto doc = smallDraft(true);
    doc->raw().threadingMutable(0)->SetColor(0, 200);
    EXPECT_EQ(WarpColor(*doc, 0), 0u);
}

TEST(Drawdown, WarpCorrelationUsesEveryWarpRow)
{
    // Two warps on two shafts: row 0 on shaft 1, row 1 on shaft 2 at end 0.
    auto doc = newDraft(2, 2);
    doc->SetNumRows(kUnrecorded, Side::Threading, 2);
    doc->SetThreadingCell(kUnrecorded, 0, 1, 0);
    doc->SetThreadingCell(kUnrecorded, 0, 2, 1);
    doc->InsertThreads(kUnrecorded, Side::Threading, 1, 1); // end 1 has no shaft in any row
    doc->raw().setCorrelation(1, true);
    doc->SetThreadColors(kUnrecorded, Side::Threading, 0, 1, 2, 0);
    doc->SetThreadColors(kUnrecorded, Side::Threading, 0, 1, 3, 1);
    doc->SetTreadlingCell(kUnrecorded, 0, 2);               // treadle 2 lifts shaft 2
    doc->InsertThreads(kUnrecorded, Side::Treadling, 1, 1); // empty pick
    EXPECT_EQ(DrawdownCell(*doc, 0, 0), Cell::WarpUp);
    EXPECT_EQ(DrawdownCell(*doc, 1, 0), Cell::Blank);
    EXPECT_EQ(DrawdownCell(*doc, 0, 1), Cell::Blank);
    // Row 1 is up, so its color shows; row 0 is the one below.
    const ColoredCell c = DrawdownColoredCell(*doc, 0, 0);
    EXPECT_EQ(c.top, doc->palette().color(3));
    EXPECT_EQ(c.second, doc->palette().color(2));
}

TEST(Drawdown, WeftCorrelationUsesEveryWeftRow)
{
    auto doc = newDraft(2, 2);
    doc->SetNumRows(kUnrecorded, Side::Treadling, 2);
    doc->SetThreadingCell(kUnrecorded, 0, 1);
    doc->SetThreadingCell(kUnrecorded, 1, 2);
    doc->raw().setCorrelation(2, true);
    doc->SetThreadColors(kUnrecorded, Side::Treadling, 0, 0, 2, 0);
    doc->SetThreadColors(kUnrecorded, Side::Treadling, 0, 0, 3, 1);
    doc->SetTreadlingCell(kUnrecorded, 0, 1, 1); // only weft row 1 lifts shaft 1
    EXPECT_EQ(DrawdownCell(*doc, 0, 0), Cell::WarpUp);
    EXPECT_EQ(DrawdownCell(*doc, 1, 0), Cell::WeftUp);
    // End 1 is not lifted by any row: row 0 (first weft-up row) shows on top.
    EXPECT_EQ(DrawdownColoredCell(*doc, 1, 0).top, doc->palette().color(2));
    // Pick with nothing in any row is blank.
    doc->InsertThreads(kUnrecorded, Side::Treadling, 1, 1);
    EXPECT_EQ(DrawdownCell(*doc, 0, 1), Cell::Blank);
}

// The bit-parallel rows must agree with the per-cell rule everywhere.
class DrawdownRowsAgree : public ::testing::TestWithParam<int> {};

TEST_P(DrawdownRowsAgree, WithThePerCellRule)
{
    std::mt19937 rng(1234 + GetParam());
    const int shafts = 1 + rng() % 64, treadles = 1 + rng() % 128;
    const bool liftplan = rng() % 3 == 0, rising = rng() % 2 == 0, back = rng() % 2 == 0;
    auto doc = newDraft(shafts, liftplan ? shafts : treadles, liftplan, rising);
    const int warps = 1 + rng() % 4, wefts = 1 + rng() % 4;
    doc->SetNumRows(kUnrecorded, Side::Threading, warps);
    doc->SetNumRows(kUnrecorded, Side::Treadling, wefts);
    doc->SetMultipleTreadles(kUnrecorded, true);
    const int ends = 1 + rng() % 300, picks = 1 + rng() % 60;
    for (int e = 0; e < ends; ++e)
        for (int r = 0; r < warps; ++r)
            if (rng() % 4) doc->SetThreadingCell(kUnrecorded, e, 1 + rng() % shafts, r);
    if (doc->numEnds() < ends) doc->InsertThreads(kUnrecorded, Side::Threading, doc->numEnds(), ends - doc->numEnds());
    for (int p = 0; p < picks; ++p)
        for (int r = 0; r < wefts; ++r) {
            const int n = rng() % 4;
            for (int i = 0; i < n; ++i)
                doc->SetTreadlingCell(kUnrecorded, p, 1 + rng() % doc->treadling(r)->limit(), r);
        }
    if (doc->numPicks() < picks)
        doc->InsertThreads(kUnrecorded, Side::Treadling, doc->numPicks(), picks - doc->numPicks());
    for (int t = 0; t < doc->tieup().treadleCount(); ++t)
        doc->SetTieupColumn(kUnrecorded, t, TUPTYPE((std::uint64_t(rng()) << 32) | rng()));
    doc->raw().setCorrelation(GetParam() % 3, true);

    DrawdownRows rows(*doc, back);
    int seen[3] = {0, 0, 0};
    for (int p = 0; p < doc->numPicks(); ++p) {
        const auto row = rows.row(p);
        for (int e = 0; e < doc->numEnds(); ++e) {
            const bool up = (row.warpUp[e >> 6] >> (e & 63)) & 1;
            const bool blank = (row.blank[e >> 6] >> (e & 63)) & 1;
            const Cell want = DrawdownCell(*doc, e, p, back);
            const Cell got = blank ? Cell::Blank : up ? Cell::WarpUp : Cell::WeftUp;
            ASSERT_EQ(got, want) << "end " << e << " pick " << p;
            ++seen[static_cast<int>(got)];
        }
    }
    // A random draft shows both faces of the cloth.
    EXPECT_GT(seen[0] + seen[1], 0);
    EXPECT_GT(seen[static_cast<int>(Cell::WarpUp)], 0);
}

INSTANTIATE_TEST_SUITE_P(RandomDrafts, DrawdownRowsAgree, ::testing::Range(0, 24));
