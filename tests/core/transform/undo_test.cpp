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

using Command = std::function<CommandResult(CQuillabyDoc&, Edit)>;

struct Named {
    const char* name;
    Command run;
};

std::vector<Named> commands()
{
    static FixedPrompter yes(true);
    std::vector<Named> list = {
        {"repeat", [](auto& d, Edit p) { return RepeatThreads(p, d, Side::Threading, 3, yes); }},
        {"repeat picks", [](auto& d, Edit p) { return RepeatThreads(p, d, Side::Treadling, 2, yes); }},
        {"single repeat", [](auto& d, Edit p) { return SingleRepeat(p, d, Side::Threading); }},
        {"single repeat draft", [](auto& d, Edit p) { return SingleRepeatDraft(p, d); }},
        {"supersize", [](auto& d, Edit p) { return SuperSize(p, d, yes); }},
        {"reflect", [](auto& d, Edit p) { return ReflectThreads(p, d, Side::Treadling, yes); }},
        {"reverse", [](auto& d, Edit p) { return ReverseThreads(p, d, Side::Threading); }},
        {"wrap up", [](auto& d, Edit p) { return WrapShafts(p, d, true, yes); }},
        {"wrap >>", [](auto& d, Edit p) { return WrapTreadles(p, d, true, yes); }},
        {"wrap ends", [](auto& d, Edit p) { return WrapEnds(p, d, false); }},
        {"wrap picks", [](auto& d, Edit p) { return WrapPicks(p, d, false); }},
        {"move shaft", [](auto& d, Edit p) { return MoveShaft(p, d, 0, 5); }},
        {"move treadle", [](auto& d, Edit p) { return MoveTreadle(p, d, 7, 1); }},
        {"clear", [](auto& d, Edit p) { return ClearThreads(p, d, Side::Threading); }},
        {"clear labels", [](auto& d, Edit p) { return ClearLabels(p, d, Side::Threading); }},
        {"remove", [](auto& d, Edit p) { return RemoveByPattern(p, d, Side::Treadling, {true, true, false}); }},
        {"tromp", [](auto& d, Edit p) { return TrompAsWrit(p, d, false, yes); }},
        {"mirror", [](auto& d, Edit p) { return TrompAsWrit(p, d, true, yes); }},
        {"weft colors", [](auto& d, Edit p) { return UseOtherColors(p, d, true); }},
        {"warp colors", [](auto& d, Edit p) { return UseOtherColors(p, d, false); }},
        {"arrange seq", [](auto& d, Edit p) { return Arrange(p, d, Side::Threading, ArrangeKind::Sequential, yes); }},
        {"arrange par", [](auto& d, Edit p) { return Arrange(p, d, Side::Treadling, ArrangeKind::Parallel, yes); }},
        {"direct", [](auto& d, Edit p) { return DirectTieup(p, d); }},
        {"invert", [](auto& d, Edit p) { return InvertTieup(p, d); }},
        {"clear tieup", [](auto& d, Edit p) { return ClearTieup(p, d); }},
        {"optimize shafts", [](auto& d, Edit p) { return Optimize(p, d, Side::Threading, yes); }},
        {"optimize treadles", [](auto& d, Edit p) { return Optimize(p, d, Side::Treadling, yes); }},
        {"turn", [](auto& d, Edit p) { return TurnDraft(p, d, yes); }},
        {"to liftplan", [](auto& d, Edit p) { return ConvertToLiftplan(p, d, yes); }},
        {"to tieup", [](auto& d, Edit p) { return ConvertToTieup(p, d, yes); }},
        {"tabby", [](auto& d, Edit p) { return AddTabby(p, d, {2, false, 0x010203}, yes); }},
        {"tabby treadles", [](auto& d, Edit p) { return AddTabby(p, d, {3, true, 0xFFFFFF}, yes); }},
        {"picture",
         [](auto& d, Edit p) {
             PixelGrid g{5, 7, std::vector<std::uint32_t>(35, 0xFFFFFFFF)};
             for (int i = 0; i < 35; i += 3) g.argb[i] = 0xFF000000;
             return LiftplanFromPicture(p, d, g, false, yes);
         }},
        {"fabric cell",
         [](auto& d, Edit p) {
             if (!CanAnalyzeFabric(d, yes).done()) return CommandResult::noChange();
             const bool lifted = DrawdownCell(d, 1, 1) != Cell::WarpUp;
             return FabricAnalysisCell(p, d, 1, 1, lifted) == CellOutcome::Changed ? CommandResult::doneResult()
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
            // An earlier edit that must survive undo and redo of the command.
            const std::string original = State(*doc);
            const int color = (doc->threading(0)->GetColor(0) + 1) % 5;
            doc->Transaction("Pencil", [&](Edit s) { doc->SetThreadColors(s, Side::Threading, 0, 0, color, 0); });
            const std::string before = State(*doc);
            CommandResult r;
            doc->Transaction(c.name, [&](Edit e) { r = c.run(*doc, e); });
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
