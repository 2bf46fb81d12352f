// Every command that changes the open draft is one undo step: Undo brings
// back exactly the draft before, Redo exactly the draft after.

#include "drafts.h"

#include "transform/addtabby.h"
#include "transform/arrange.h"
#include "transform/fabricanalysis.h"
#include "transform/liftplanpicture.h"
#include "transform/optimize.h"
#include "transform/repeat.h"
#include "transform/sequenceops.h"
#include "transform/tieupops.h"
#include "transform/turndraft.h"
#include "transform/wrap.h"

#include <functional>
#include <gtest/gtest.h>

using namespace qbtest;

namespace {

using Command = std::function<CommandResult(CQuillabyDoc&, IUndoTarget*)>;

struct Named {
    const char* name;
    Command run;
};

std::vector<Named> commands()
{
    static FixedPrompter yes(true);
    std::vector<Named> list = {
        {"repeat", [](auto& d, auto* p) { return RepeatThreads(d, Side::Threading, 3, yes, p); }},
        {"repeat picks", [](auto& d, auto* p) { return RepeatThreads(d, Side::Treadling, 2, yes, p); }},
        {"single repeat", [](auto& d, auto* p) { return SingleRepeat(d, Side::Threading, p); }},
        {"single repeat draft", [](auto& d, auto* p) { return SingleRepeatDraft(d, p); }},
        {"supersize", [](auto& d, auto* p) { return SuperSize(d, yes, p); }},
        {"reflect", [](auto& d, auto* p) { return ReflectThreads(d, Side::Treadling, yes, p); }},
        {"reverse", [](auto& d, auto* p) { return ReverseThreads(d, Side::Threading, p); }},
        {"wrap up", [](auto& d, auto* p) { return WrapShafts(d, true, yes, p); }},
        {"wrap >>", [](auto& d, auto* p) { return WrapTreadles(d, true, yes, p); }},
        {"wrap ends", [](auto& d, auto* p) { return WrapEnds(d, false, p); }},
        {"wrap picks", [](auto& d, auto* p) { return WrapPicks(d, false, p); }},
        {"move shaft", [](auto& d, auto* p) { return MoveShaft(d, 0, 5, p); }},
        {"move treadle", [](auto& d, auto* p) { return MoveTreadle(d, 7, 1, p); }},
        {"clear", [](auto& d, auto* p) { return ClearThreads(d, Side::Threading, p); }},
        {"clear labels", [](auto& d, auto* p) { return ClearLabels(d, Side::Threading, p); }},
        {"remove", [](auto& d, auto* p) { return RemoveByPattern(d, Side::Treadling, {true, true, false}, p); }},
        {"tromp", [](auto& d, auto* p) { return TrompAsWrit(d, false, yes, p); }},
        {"mirror", [](auto& d, auto* p) { return TrompAsWrit(d, true, yes, p); }},
        {"weft colors", [](auto& d, auto* p) { return UseOtherColors(d, true, p); }},
        {"warp colors", [](auto& d, auto* p) { return UseOtherColors(d, false, p); }},
        {"arrange seq", [](auto& d, auto* p) { return Arrange(d, Side::Threading, ArrangeKind::Sequential, yes, p); }},
        {"arrange par", [](auto& d, auto* p) { return Arrange(d, Side::Treadling, ArrangeKind::Parallel, yes, p); }},
        {"direct", [](auto& d, auto* p) { return DirectTieup(d, p); }},
        {"invert", [](auto& d, auto* p) { return InvertTieup(d, p); }},
        {"clear tieup", [](auto& d, auto* p) { return ClearTieup(d, p); }},
        {"optimize shafts", [](auto& d, auto* p) { return Optimize(d, Side::Threading, yes, p); }},
        {"optimize treadles", [](auto& d, auto* p) { return Optimize(d, Side::Treadling, yes, p); }},
        {"turn", [](auto& d, auto* p) { return TurnDraft(d, yes, p); }},
        {"tabby", [](auto& d, auto* p) { return AddTabby(d, {2, false, 0x010203}, yes, p); }},
        {"tabby treadles", [](auto& d, auto* p) { return AddTabby(d, {3, true, 0xFFFFFF}, yes, p); }},
        {"picture",
         [](auto& d, auto* p) {
             PixelGrid g{5, 7, std::vector<std::uint32_t>(35, 0xFFFFFFFF)};
             for (int i = 0; i < 35; i += 3) g.argb[i] = 0xFF000000;
             return LiftplanFromPicture(d, g, false, yes, p);
         }},
        {"fabric cell",
         [](auto& d, auto* p) {
             if (!CanAnalyzeFabric(d, yes).done()) return CommandResult::noChange();
             const bool lifted = DrawdownCell(d, 1, 1) != Cell::WarpUp;
             return FabricAnalysisCell(d, 1, 1, lifted, p) == CellOutcome::Changed ? CommandResult::doneResult()
                                                                                   : CommandResult::noChange();
         }},
    };
    return list;
}

} // namespace

TEST(UndoRedo, EveryCommandIsOneExactStep)
{
    std::mt19937 rng(51);
    int undone = 0;
    for (int round = 0; round < 12; ++round) {
        DraftShape shape = RandomShape(rng, true, 1);
        shape.ends = 5 + round;
        shape.picks = 4 + round;
        shape.rising = true;
        shape.multiple = shape.liftplan;
        for (const Named& c : commands()) {
            auto doc = RandomDraft(shape, rng);
            doc->threadingMutable(0)->AddLabel(Label{1, 2, "lab"});
            TestPane pane(*doc);
            // An earlier edit that must survive undo and redo of the command.
            const std::string original = State(*doc);
            const int color = (doc->threading(0)->GetColor(0) + 1) % 5;
            doc->Transaction(&pane, [&](EditSource s) { doc->SetEndColors(0, 0, color, 0, s); });
            const std::string before = State(*doc);
            const CommandResult r = c.run(*doc, &pane);
            const std::string after = State(*doc);
            SCOPED_TRACE(testing::Message() << c.name << " round " << round << " liftplan " << shape.liftplan);
            if (!r.done()) {
                EXPECT_EQ(after, before);
                continue;
            }
            ASSERT_EQ(doc->history().undoCount(), 2);
            ASSERT_TRUE(doc->Undo());
            ASSERT_EQ(State(*doc), before);
            ASSERT_TRUE(doc->Redo());
            ASSERT_EQ(State(*doc), after);
            ASSERT_TRUE(doc->Undo());
            ASSERT_TRUE(doc->Undo());
            EXPECT_EQ(State(*doc), original);
            ++undone;
        }
    }
    EXPECT_GT(undone, 200);
}
