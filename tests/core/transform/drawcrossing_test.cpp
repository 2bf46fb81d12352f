#include "tests/core/transform/drafts.h"

#include "core/draft/draftinvariants.h"
#include "core/transform/drawcrossing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>

using namespace qb;
using namespace qbtest;

namespace {

// What the weaver sees: whether the warp is on top at each crossing (an
// unthreaded end shows the weft).
std::vector<bool> Cloth(const CQuillabyDoc& doc)
{
    std::vector<bool> out;
    for (Cell c : Drawdown(doc)) out.push_back(c == Cell::WarpUp);
    return out;
}

CrossingOutcome Click(CQuillabyDoc& doc, int end, int pick, bool warpUp)
{
    CrossingOutcome out = CrossingOutcome::Unchanged;
    doc.Transaction("Pencil", [&](Edit e) { out = DrawCrossing(e, doc, end, pick, warpUp); });
    return out;
}

} // namespace

TEST(DrawCrossing, EveryClickChangesExactlyThatCrossingAndNeverShrinksTheLoom)
{
    std::mt19937 rng(4242);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    int changed = 0, grew = 0;
    for (int round = 0; round < 300; ++round) {
        DraftShape shape = RandomShape(rng, true, 2);
        shape.weftBars = false;
        shape.ends = pick(1, 40);
        shape.picks = pick(1, 40);
        shape.warps = pick(1, 2);
        // Some looms start near the limits so that the refusals show up too.
        if (round % 10 == 0) shape.shafts = pick(56, 64);
        if (round % 10 == 5) shape.treadles = pick(120, 128);
        auto doc = RandomDraft(shape, rng);
        const std::string original = State(*doc);
        int steps = 0;
        for (int click = 0; click < 25; ++click) {
            const int end = pick(0, doc->numEnds() - 1), p = pick(0, doc->numPicks() - 1);
            const bool warpUp = pick(0, 1) == 1;
            const std::vector<bool> before = Cloth(*doc);
            const std::string state = State(*doc);
            const int shafts = doc->numShafts(), treadles = doc->numTreadles();
            const CrossingOutcome out = Click(*doc, end, p, warpUp);
            const std::vector<bool> after = Cloth(*doc);
            SCOPED_TRACE(testing::Message()
                         << "round " << round << " click " << click << " end " << end << " pick " << p << " warpUp "
                         << warpUp << " liftplan " << shape.liftplan << " rising " << shape.rising);
            ASSERT_EQ(BrokenInvariant(*doc), "");
            ASSERT_GE(doc->numShafts(), shafts);
            ASSERT_GE(doc->numTreadles(), treadles);
            ASSERT_EQ(after.size(), before.size());
            const std::size_t at = std::size_t(p) * doc->numEnds() + end;
            if (out == CrossingOutcome::Changed) {
                ++changed;
                ++steps;
                grew += doc->numShafts() > shafts || doc->numTreadles() > treadles;
                for (std::size_t i = 0; i < before.size(); ++i)
                    ASSERT_EQ(after[i], i == at ? warpUp : bool(before[i])) << "cell " << i;
                continue;
            }
            // Nothing at all changed, and no step was recorded.
            ASSERT_EQ(State(*doc), state);
            if (out == CrossingOutcome::Unchanged) ASSERT_EQ(bool(before[at]), warpUp);
            else ASSERT_TRUE(out == CrossingOutcome::NeedsShaft || out == CrossingOutcome::NeedsTreadle);
        }
        // One undo step per click takes the draft back.
        for (int i = 0; i < steps; ++i) ASSERT_TRUE(doc->Undo());
        ASSERT_EQ(State(*doc), original) << "round " << round;
    }
    EXPECT_GT(changed, 2000);
    EXPECT_GT(grew, 500);
}

TEST(DrawCrossing, SmallCases)
{
    struct Case {
        const char* name;
        bool rising;
        std::vector<int> shafts;   // per end
        std::vector<int> treadles; // per pick (0: none)
        int end, pick;
        bool warpUp;
        int wantShafts, wantTreadles;
    };
    // A 4-shaft straight draw tied as a 2/2 twill, treadled straight.
    const std::vector<int> draw = {1, 2, 3, 4, 1, 2, 3, 4};
    const std::vector<int> twice = {1, 2, 3, 4, 1, 2, 3, 4};
    const Case cases[] = {
        {"shared shaft and treadle: one of each added", true, draw, twice, 0, 0, false, 5, 5},
        {"sinking shed likewise", false, draw, twice, 0, 0, true, 5, 5},
        {"the end alone on its shaft: a treadle only", true, {1, 2, 3, 4, 5}, twice, 4, 0, true, 5, 5},
        {"both alone: only the tie", true, {1, 2, 3, 4, 5}, {1}, 4, 0, true, 5, 4},
        // The empty pick gets the free treadle 2, lifting only the new shaft.
        {"an unthreaded end in a sinking shed", false, {1, 2, 0, 4, 3}, {1, 0, 3, 4}, 2, 0, true, 5, 4},
        {"a pick without treadles takes the free one", true, draw, {0, 2, 3, 4}, 1, 0, true, 5, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto doc = NewDraft(4, 4);
        doc->raw().setRisingShed(c.rising);
        const std::vector<std::vector<int>> twill = {{1, 2}, {2, 3}, {3, 4}, {4, 1}};
        for (int t = 0; t < 4; ++t)
            for (int s = 1; s <= 4; ++s) {
                bool on = s == twill[t][0] || s == twill[t][1];
                if (on) doc->raw().tieupMutable().setCell(t, s);
                else doc->raw().tieupMutable().clearCell(t, s);
            }
        if (*std::max_element(c.shafts.begin(), c.shafts.end()) > 4) doc->SetNumShafts(kUnrecorded, 5);
        SetShafts(*doc, c.shafts);
        SetTreadles(*doc, c.treadles);
        doc->DiscardHistory();
        const std::vector<bool> before = Cloth(*doc);
        ASSERT_EQ(Click(*doc, c.end, c.pick, c.warpUp), CrossingOutcome::Changed);
        EXPECT_EQ(doc->numShafts(), c.wantShafts);
        EXPECT_EQ(doc->numTreadles(), c.wantTreadles);
        const std::vector<bool> after = Cloth(*doc);
        const std::size_t at = std::size_t(c.pick) * doc->numEnds() + c.end;
        for (std::size_t i = 0; i < after.size(); ++i) EXPECT_EQ(after[i], i == at ? c.warpUp : bool(before[i])) << i;
        EXPECT_EQ(doc->history().undoName(), "Pencil");
    }
}

TEST(DrawCrossing, FullLoomRefusesAndChangesNothing)
{
    // A liftplan on all 64 shafts, each shared by two ends; pick q lifts
    // shaft q + 1 alone, so no shaft rises on two picks: lifting end 1 on
    // pick 6 as well needs a 65th shaft.
    auto doc = NewDraft(64, 64);
    doc->raw().setLoomRaw(64, 64, true);
    doc->raw().treadlingMutable(0)->SetLimit(64);
    doc->raw().treadlingMutable(0)->setMultiple(true);
    doc->raw().replaceTieup(std::make_unique<Tieup>(64, 64));
    doc->raw().tieupMutable().makeDirect();
    std::vector<int> shafts;
    for (int e = 0; e < 128; ++e) shafts.push_back(1 + e % 64);
    SetShafts(*doc, shafts);
    for (int q = 0; q < 64; ++q) doc->raw().treadlingMutable(0)->SetShafts(q, TUPTYPE(std::uint64_t(1) << q));
    doc->DiscardHistory();
    const std::string state = State(*doc);
    EXPECT_EQ(Click(*doc, 0, 5, true), CrossingOutcome::NeedsShaft);
    EXPECT_EQ(State(*doc), state);
    EXPECT_FALSE(doc->history().canUndo());
    EXPECT_NE(std::string(CrossingMessage(CrossingOutcome::NeedsShaft)), "");

    // 8 shafts each shared by two ends, and all 128 treadles in use by two
    // picks each, tied with every even-parity set of shafts: the clicked pick
    // needs a column of odd parity that no treadle has, and no treadle is free.
    auto wide = NewDraft(8, 128);
    std::vector<int> ends, picks;
    for (int e = 0; e < 16; ++e) ends.push_back(1 + e % 8);
    for (int p = 0; p < 256; ++p) picks.push_back(1 + p % 128);
    SetShafts(*wide, ends);
    SetTreadles(*wide, picks);
    int t = 0;
    for (unsigned bits = 0; bits < 256; ++bits)
        if (std::popcount(bits) % 2 == 0) wide->raw().tieupMutable().setColumn(t++, TUPTYPE(bits));
    wide->DiscardHistory();
    const std::string wideState = State(*wide);
    const bool up = DrawdownCell(*wide, 0, 0) == Cell::WarpUp;
    EXPECT_EQ(Click(*wide, 0, 0, !up), CrossingOutcome::NeedsTreadle);
    EXPECT_EQ(State(*wide), wideState);
    EXPECT_NE(std::string(CrossingMessage(CrossingOutcome::NeedsTreadle)), "");
}

TEST(DrawCrossing, CorrelatedColorBarsAreNotDrawnIn)
{
    std::mt19937 rng(5);
    DraftShape shape;
    shape.wefts = 2;
    shape.weftBars = true;
    auto doc = RandomDraft(shape, rng);
    ASSERT_NE(doc->activeCorrelation(), 0);
    const std::string state = State(*doc);
    EXPECT_EQ(Click(*doc, 0, 0, true), CrossingOutcome::NotAvailable);
    EXPECT_EQ(Click(*doc, 0, 0, false), CrossingOutcome::NotAvailable);
    EXPECT_EQ(State(*doc), state);
}
