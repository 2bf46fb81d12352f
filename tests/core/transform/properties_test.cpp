// Properties over seeded random drafts: the commands that only renumber or
// reformat a draft must leave every drawdown cell as it was.

#include "tests/core/transform/drafts.h"

#include "core/transform/arrange.h"
#include "core/transform/optimize.h"
#include "core/transform/sequencetools.h"
#include "core/transform/straighten.h"
#include "core/transform/tieupops.h"
#include "core/transform/turndraft.h"
#include "core/transform/wrap.h"

#include <gtest/gtest.h>

using namespace qbtest;

namespace {

constexpr int kRounds = 150;

template <class F> void forRandomDrafts(unsigned seed, bool allowLiftplan, int maxWefts, F&& check)
{
    std::mt19937 rng(seed);
    for (int round = 0; round < kRounds; ++round) {
        const DraftShape shape = RandomShape(rng, allowLiftplan, maxWefts);
        auto doc = RandomDraft(shape, rng);
        SCOPED_TRACE(testing::Message() << "round " << round << " shafts " << shape.shafts << " treadles "
                                        << shape.treadles << " liftplan " << shape.liftplan << " wefts " << shape.wefts
                                        << " bars " << shape.weftBars);
        check(*doc, rng);
    }
}

// With weft rows bound to the color bars a pick that lifts nothing in every
// row shows blank; reductions may empty the lift of a shaft no end uses, so
// there only woven cells are compared.
bool sameCloth(const CQuillabyDoc& doc, const std::vector<Cell>& before)
{
    const auto now = Drawdown(doc);
    if (doc.activeCorrelation() != 2) return now == before;
    if (now.size() != before.size()) return false;
    for (std::size_t i = 0; i < now.size(); ++i)
        if (now[i] != before[i] && now[i] != Cell::Blank && before[i] != Cell::Blank) return false;
    return true;
}

void expectEqualLengths(const CQuillabyDoc& doc)
{
    for (int r = 1; r < doc.numWarps(); ++r) EXPECT_EQ(doc.threading(r)->GetCount(), doc.numEnds());
    for (int r = 1; r < doc.numWefts(); ++r) EXPECT_EQ(doc.treadling(r)->GetCount(), doc.numPicks());
}

} // namespace

TEST(DrawdownKept, ConvertingToLiftplanAndBack)
{
    forRandomDrafts(11, true, 4, [](CQuillabyDoc& doc, std::mt19937&) {
        const auto before = Drawdown(doc);
        FixedPrompter yes(true);
        if (doc.isLiftplan()) {
            ConvertToTieup(kUnrecorded, doc, yes);
            EXPECT_FALSE(doc.isLiftplan());
            EXPECT_FALSE(doc.multipleTreadles());
            // Past 128 distinct lifts the user was asked and some picks lost.
            if (yes.questions) return;
            EXPECT_EQ(Drawdown(doc), before);
            expectEqualLengths(doc);
        }
        const bool changes = IsDirectSquare(doc) || doc.numWefts() == 1;
        ConvertToLiftplan(kUnrecorded, doc, yes);
        EXPECT_EQ(doc.isLiftplan(), changes);
        if (changes) {
            EXPECT_EQ(doc.numTreadles(), doc.numShafts());
            EXPECT_TRUE(doc.multipleTreadles());
        }
        EXPECT_EQ(Drawdown(doc), before);
        ConvertToTieup(kUnrecorded, doc, yes);
        if (yes.questions) return;
        EXPECT_EQ(Drawdown(doc), before);
        EXPECT_EQ(doc.history().groupCount(), 0);
    });
}

TEST(DrawdownKept, OptimizeBothSides)
{
    forRandomDrafts(12, false, 4, [](CQuillabyDoc& doc, std::mt19937&) {
        const auto before = Drawdown(doc);
        const int shafts = doc.numShafts(), treadles = doc.numTreadles();
        FixedPrompter yes(true);
        Optimize(kUnrecorded, doc, Side::Threading, yes);
        EXPECT_TRUE(sameCloth(doc, before));
        EXPECT_EQ(doc.numShafts(), shafts);
        if (doc.activeCorrelation() != 2) {
            Optimize(kUnrecorded, doc, Side::Treadling, yes);
            EXPECT_TRUE(sameCloth(doc, before));
        }
        EXPECT_EQ(doc.numTreadles(), treadles);
        // Used shafts and treadles now come first.
        const int used = FindUsedShafts(doc);
        for (int s = 1; s <= used; ++s) {
            bool any = false;
            for (int v : doc.threading(0)->values()) any = any || v == s;
            EXPECT_TRUE(any) << "shaft " << s << " unused below " << used;
        }
    });
}

TEST(DrawdownKept, ArrangeBothKindsBothSides)
{
    forRandomDrafts(13, false, 1, [](CQuillabyDoc& doc, std::mt19937&) {
        const auto before = Drawdown(doc);
        FixedPrompter yes(true);
        for (ArrangeKind kind : {ArrangeKind::Sequential, ArrangeKind::Parallel}) {
            Arrange(kUnrecorded, doc, Side::Threading, kind, yes);
            EXPECT_EQ(Drawdown(doc), before);
            Arrange(kUnrecorded, doc, Side::Treadling, kind, yes);
            EXPECT_EQ(Drawdown(doc), before);
        }
    });
}

TEST(DrawdownKept, SequentialArrangeGivesFirstUseOrder)
{
    forRandomDrafts(14, false, 1, [](CQuillabyDoc& doc, std::mt19937&) {
        FixedPrompter yes(true);
        Arrange(kUnrecorded, doc, Side::Threading, ArrangeKind::Sequential, yes);
        if (!CanArrange(doc, Side::Threading)) return;
        int next = 1;
        for (int s : doc.threading(0)->values()) {
            if (s == 0) continue;
            ASSERT_LE(s, next) << "shaft out of first-use order";
            if (s == next) ++next;
        }
    });
}

TEST(DrawdownKept, MovingShaftsAndTreadles)
{
    forRandomDrafts(15, true, 4, [](CQuillabyDoc& doc, std::mt19937& rng) {
        const auto before = Drawdown(doc);
        std::uniform_int_distribution<int> any(-2, 130);
        for (int i = 0; i < 5; ++i) {
            MoveShaft(kUnrecorded, doc, any(rng), any(rng));
            ASSERT_EQ(Drawdown(doc), before);
            MoveTreadle(kUnrecorded, doc, any(rng), any(rng));
            ASSERT_EQ(Drawdown(doc), before);
        }
    });
}

TEST(DrawdownKept, OptimizeDraftAndStraighten)
{
    forRandomDrafts(16, true, 1, [](CQuillabyDoc& doc, std::mt19937&) {
        const auto before = Drawdown(doc);
        FixedPrompter yes(true);
        auto r = OptimizeDraft(doc, yes);
        ASSERT_TRUE(r.result.done());
        EXPECT_EQ(Drawdown(*r.draft), before);
        EXPECT_EQ(r.draft->isLiftplan(), doc.isLiftplan());
        EXPECT_LE(r.draft->numShafts(), std::max(1, FindUsedShafts(doc)));

        // Straightening renumbers shafts by repeat position; unthreaded ends
        // become threaded on an idle shaft, so compare them as weft-up.
        auto s = StraightenThreading(doc, yes);
        ASSERT_TRUE(s.result.done());
        ASSERT_EQ(s.draft->numEnds(), doc.numEnds());
        for (int p = 0; p < doc.numPicks(); ++p)
            for (int e = 0; e < doc.numEnds(); ++e) {
                if (doc.threading(0)->GetShaft(e) == 0) continue;
                ASSERT_EQ(DrawdownCell(*s.draft, e, p), DrawdownCell(doc, e, p)) << e << ',' << p;
            }
        auto t = StraightenTreadling(doc, yes);
        ASSERT_TRUE(t.result.done());
        for (int p = 0; p < doc.numPicks(); ++p) {
            if (doc.treadling(0)->GetSet(p).empty()) continue;
            for (int e = 0; e < doc.numEnds(); ++e)
                ASSERT_EQ(DrawdownCell(*t.draft, e, p), DrawdownCell(doc, e, p)) << e << ',' << p;
        }
    });
}

TEST(TurnDraft, TransposesAndNegatesTheDrawdown)
{
    std::mt19937 rng(17);
    for (int round = 0; round < kRounds; ++round) {
        DraftShape shape = RandomShape(rng, false, 1);
        shape.multiple = false;
        auto doc = RandomDraft(shape, rng);
        auto turned = doc->Clone();
        FixedPrompter yes(true);
        ASSERT_TRUE(TurnDraft(kUnrecorded, *turned, yes).done());
        ASSERT_EQ(turned->numEnds(), doc->numPicks());
        ASSERT_EQ(turned->numPicks(), doc->numEnds());
        EXPECT_EQ(turned->numShafts(), turned->numTreadles());
        for (int e = 0; e < turned->numEnds(); ++e)
            for (int p = 0; p < turned->numPicks(); ++p) {
                const Cell was = DrawdownCell(*doc, p, e);
                const Cell now = DrawdownCell(*turned, e, p);
                if (was == Cell::Blank || doc->treadling(0)->GetSet(e).empty()) continue;
                ASSERT_EQ(now, was == Cell::WarpUp ? Cell::WeftUp : Cell::WarpUp) << e << ',' << p;
            }
        // Turning twice gives the original cloth back.
        TurnDraft(kUnrecorded, *turned, yes);
        for (int e = 0; e < doc->numEnds(); ++e)
            for (int p = 0; p < doc->numPicks(); ++p) {
                if (DrawdownCell(*doc, e, p) == Cell::Blank || doc->treadling(0)->GetSet(p).empty()) continue;
                ASSERT_EQ(DrawdownCell(*turned, e, p), DrawdownCell(*doc, e, p));
            }
    }
}
