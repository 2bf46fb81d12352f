// Double width and fabric analysis.

#include "tests/core/transform/drafts.h"

#include "core/transform/doublewidth.h"
#include "core/transform/fabricanalysis.h"

#include <gtest/gtest.h>

using namespace qbtest;

TEST(DoubleWidth, LeftFoldEndOrderAndRefusals)
{
    auto doc = NewDraft(4, 4);
    SetShafts(*doc, {1, 2, 3, 4, 1, 2, 3, 4});
    SetTreadles(*doc, {1, 2});
    for (int e = 0; e < 8; ++e) doc->raw().threadingMutable(0)->SetSymbol(e, 'a' + e);
    FixedPrompter p;
    auto r = DoubleWidth(*doc, {}, p);
    ASSERT_TRUE(r.result.done());
    EXPECT_EQ(r.draft->numShafts(), 8);
    EXPECT_EQ(r.draft->numTreadles(), 4);
    // 1, 8', 2, 7', 3, 6', 4, 5' of the source ends (primes on 5..8).
    const std::vector<int> from = {0, 7, 1, 6, 2, 5, 3, 4};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(r.draft->threading(0)->GetSymbol(i), 'a' + from[i]);
        EXPECT_EQ(r.draft->threading(0)->GetShaft(i), doc->threading(0)->GetShaft(from[i]) + (i % 2 ? 4 : 0));
    }

    DoubleWidthOptions right;
    right.foldRight = true;
    auto rf = DoubleWidth(*doc, right, p);
    ASSERT_TRUE(rf.result.done());
    // D3', D4, D2', D5, D1', D6, D0', D7 (0-based source ends).
    const std::vector<int> rightFrom = {3, 4, 2, 5, 1, 6, 0, 7};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(rf.draft->threading(0)->GetSymbol(i), 'a' + rightFrom[i]);
        EXPECT_EQ(rf.draft->threading(0)->GetShaft(i) > 4, i % 2 == 0);
    }

    auto seven = NewDraft(4, 4);
    SetShafts(*seven, {1, 2, 3, 4, 1, 2, 3});
    SetTreadles(*seven, {1});
    auto r7 = DoubleWidth(*seven, {}, p);
    ASSERT_TRUE(r7.result.done());
    EXPECT_EQ(Shafts(*r7.draft), (std::vector<int>{1, 7, 2, 6, 3, 5, 4}));

    auto wide = NewDraft(40, 4);
    SetShafts(*wide, {33});
    SetTreadles(*wide, {1});
    auto bad = DoubleWidth(*wide, {}, p);
    EXPECT_EQ(bad.result.status, CommandResult::Status::Refused);
    EXPECT_NE(p.lastMessage.find("Number of shafts required (66)"), std::string::npos);

    auto multi = NewDraft(4, 4);
    multi->SetMultipleTreadles(kUnrecorded, true);
    EXPECT_EQ(DoubleWidth(*multi, {}, p).result.status, CommandResult::Status::Refused);
}

TEST(DoubleWidth, PickOrderOfOneShuttle)
{
    auto doc = NewDraft(2, 2);
    SetShafts(*doc, {1, 2});
    SetTreadles(*doc, {1, 2, 1});
    FixedPrompter p;
    auto flat = DoubleWidth(*doc, {}, p);
    // front, back, then back, front, alternating.
    EXPECT_EQ(Treadles(*flat.draft), (std::vector<int>{1, 3, 4, 2, 1, 3}));
    DoubleWidthOptions tube;
    tube.tubular = true;
    auto round = DoubleWidth(*doc, tube, p);
    EXPECT_EQ(Treadles(*round.draft), (std::vector<int>{1, 3, 2, 4, 1, 3}));
}

TEST(DoubleWidth, BothLayersKeepTheirInterlacement)
{
    std::mt19937 rng(31);
    for (int round = 0; round < 80; ++round) {
        DraftShape shape = RandomShape(rng, false, 1);
        shape.multiple = false;
        shape.shafts = std::min(shape.shafts, 32);
        shape.ends = std::min(shape.ends, 200);
        shape.emptyPercent = 0;
        auto doc = RandomDraft(shape, rng);
        // Each source thread marked by its symbol, to find it in the fold.
        for (int e = 0; e < doc->numEnds(); ++e) doc->raw().threadingMutable(0)->SetSymbol(e, e + 1);
        for (int g = 0; g < doc->numPicks(); ++g) doc->raw().treadlingMutable(0)->SetSymbol(g, g + 1);
        DoubleWidthOptions o;
        o.foldRight = round % 2 == 1;
        o.tubular = round % 3 == 0;
        o.shuttles = 1 + round % 3;
        o.picksPerUnit = 1 + round % 4;
        FixedPrompter p;
        auto r = DoubleWidth(*doc, o, p);
        if (doc->numEnds() == 0 || doc->threading(0)->HighestValue() == 0 || doc->treadling(0)->HighestValue() == 0)
            continue;
        ASSERT_TRUE(r.result.done());
        const CQuillabyDoc& n = *r.draft;
        const int s = doc->threading(0)->HighestValue(), t = doc->treadling(0)->HighestValue();
        ASSERT_EQ(n.numEnds(), doc->numEnds());
        ASSERT_EQ(n.numPicks(), 2 * doc->numPicks());
        for (int np = 0; np < n.numPicks(); ++np) {
            const int g = n.treadling(0)->GetSymbol(np) - 1;
            const bool backPick = n.treadling(0)->FirstValue(np) > t;
            for (int ne = 0; ne < n.numEnds(); ++ne) {
                const int e = n.threading(0)->GetSymbol(ne) - 1;
                const int v = n.threading(0)->GetShaft(ne);
                if (v == 0) continue;
                const bool backEnd = v > s;
                const Cell was = DrawdownCell(*doc, e, g), now = DrawdownCell(n, ne, np);
                const Cell up = Cell::WarpUp, down = Cell::WeftUp;
                if (!backPick && !backEnd) {
                    ASSERT_EQ(now, was);
                }
                if (backPick && backEnd) {
                    ASSERT_EQ(now, was == up ? down : up);
                }
                // The other layer stays out of the way: the front raised for a
                // back pick, the back left down for a front pick.
                if (backPick && !backEnd) {
                    ASSERT_EQ(now, shape.rising ? up : down);
                }
                if (!backPick && backEnd) {
                    ASSERT_EQ(now, shape.rising ? down : up);
                }
            }
        }
    }
}

TEST(FabricAnalysis, FirstCellOfAnEmptyDraft)
{
    auto doc = NewDraft(8, 8);
    doc->raw().threadingMutable(0)->Append(4);
    doc->raw().treadlingMutable(0)->Append(4);
    EXPECT_EQ(FabricAnalysisCell(kUnrecorded, *doc, 0, 0, true), CellOutcome::Changed);
    EXPECT_EQ(doc->threading(0)->GetShaft(0), 1);
    EXPECT_EQ(doc->treadling(0)->FirstValue(0), 1);
    EXPECT_TRUE(doc->tieup().cell(0, 1));
    EXPECT_EQ(doc->numShafts(), 1);
    const std::string once = State(*doc);
    EXPECT_EQ(FabricAnalysisCell(kUnrecorded, *doc, 0, 0, true), CellOutcome::Unchanged);
    EXPECT_EQ(State(*doc), once);
}

TEST(FabricAnalysis, FullSquareNeedsOneShaftAndOneTreadle)
{
    auto doc = NewDraft(8, 8);
    doc->raw().threadingMutable(0)->Append(4);
    doc->raw().treadlingMutable(0)->Append(4);
    for (int p = 0; p < 4; ++p)
        for (int e = 0; e < 4; ++e) FabricAnalysisCell(kUnrecorded, *doc, e, p, true);
    EXPECT_EQ(doc->numShafts(), 1);
    EXPECT_EQ(doc->numTreadles(), 1);
}

namespace {
bool liftedCell(const CQuillabyDoc& doc, int e, int p)
{
    const int s = doc.threading(0)->GetShaft(e), t = doc.treadling(0)->FirstValue(p);
    return s > 0 && t > 0 && doc.tieup().cell(t - 1, s);
}
} // namespace

TEST(FabricAnalysis, DraftReproducesEveryDrawnCell)
{
    std::mt19937 rng(41);
    for (int round = 0; round < 40; ++round) {
        const int ends = 3 + round % 9, picks = 2 + round % 7;
        auto doc = NewDraft(4, 4);
        doc->raw().threadingMutable(0)->Append(ends);
        doc->raw().treadlingMutable(0)->Append(picks);
        if (round % 2) doc->raw().setRisingShed(false);
        const bool rising = FabricAnalysisEnter(kUnrecorded, *doc);
        std::vector<char> target(static_cast<std::size_t>(ends * picks), 0);
        std::uniform_int_distribution<int> cell(0, ends * picks - 1);
        for (int step = 0; step < 4 * ends * picks; ++step) {
            const int c = cell(rng);
            const bool on = rng() % 3 != 0;
            ASSERT_NE(FabricAnalysisCell(kUnrecorded, *doc, c % ends, c / ends, on), CellOutcome::NoRoom);
            target[c] = on;
            for (int q = 0; q < ends * picks; ++q)
                ASSERT_EQ(liftedCell(*doc, q % ends, q / ends), target[q] != 0) << "step " << step;
        }
        // Leaving: every end threaded, every pick on a treadle, same cloth.
        FabricAnalysisLeave(kUnrecorded, *doc, rising);
        EXPECT_EQ(doc->isRisingShed(), round % 2 == 0);
        for (int q = 0; q < ends * picks; ++q) {
            const int e = q % ends, p = q / ends;
            ASSERT_GT(doc->threading(0)->GetShaft(e), 0);
            ASSERT_GT(doc->treadling(0)->FirstValue(p), 0);
            const bool warpUp = DrawdownCell(*doc, e, p) == Cell::WarpUp;
            ASSERT_EQ(warpUp, target[q] != 0) << e << ',' << p;
        }
        // First-use order on both sides.
        int next = 1;
        for (int s : doc->threading(0)->values()) {
            ASSERT_LE(s, next);
            if (s == next) ++next;
        }
    }
}
