// Every command that changes the open draft is one undo step: Undo brings
// back exactly the draft before, Redo exactly the draft after.

#include "tests/core/transform/drafts.h"

#include "core/transform/addtabby.h"
#include "core/transform/arrange.h"
#include "core/transform/componentimport.h"
#include "core/transform/expand.h"
#include "core/transform/fabricanalysis.h"
#include "core/transform/floatsearch.h"
#include "core/transform/interleave.h"
#include "core/transform/liftplanpicture.h"
#include "core/transform/optimize.h"
#include "core/transform/overlay.h"
#include "core/transform/repeat.h"
#include "core/transform/sequenceops.h"
#include "core/transform/thicknesspattern.h"
#include "core/transform/tieupops.h"
#include "core/transform/turndraft.h"
#include "core/transform/wrap.h"
#include "core/wif/wifwriter.h"

#include <filesystem>
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
        {"remove",
         [](auto& d, Edit p) {
             return RemoveByPattern(p, d, Side::Treadling, {true, true, false});
         }},
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
        {"tabby",
         [](auto& d, Edit p) {
             return AddTabby(p, d, {2, false, 0x010203}, yes);
         }},
        {"tabby treadles",
         [](auto& d, Edit p) {
             return AddTabby(p, d, {3, true, 0xFFFFFF}, yes);
         }},
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

// Runs every command on a fresh draft after one earlier edit and checks that
// Undo gives back exactly the draft before, Redo exactly the draft after, and
// the earlier edit survives. Returns how many commands changed the draft.
int CheckOneStepEach(const std::vector<Named>& list, const std::function<std::unique_ptr<CQuillabyDoc>()>& make,
                     const std::string& trace)
{
    int undone = 0;
    for (const Named& c : list) {
        auto doc = make();
        doc->raw().threadingMutable(0)->AddLabel(Label{1, 2, "lab"});
        const std::string original = State(*doc);
        const int color = (doc->threading(0)->GetColor(0) + 1) % 5;
        doc->Transaction("Pencil", [&](Edit s) { doc->SetThreadColors(s, Side::Threading, 0, 0, color, 0); });
        const std::string before = State(*doc);
        CommandResult r;
        doc->Transaction(c.name, [&](Edit e) { r = c.run(*doc, e); });
        const std::string after = State(*doc);
        SCOPED_TRACE(testing::Message() << c.name << ' ' << trace);
        if (!r.done()) {
            EXPECT_EQ(after, before);
            continue;
        }
        EXPECT_EQ(doc->history().undoCount(), 2);
        if (doc->history().undoCount() != 2) continue;
        EXPECT_EQ(doc->history().undoName(), c.name);
        EXPECT_TRUE(doc->Undo());
        EXPECT_EQ(State(*doc), before);
        EXPECT_TRUE(doc->Redo());
        EXPECT_EQ(State(*doc), after);
        EXPECT_TRUE(doc->Undo());
        EXPECT_TRUE(doc->Undo());
        EXPECT_EQ(State(*doc), original);
        ++undone;
    }
    return undone;
}

// Echo, interleave, overlay, append, expand, the imports from another file,
// Mark float and the thickness pattern; `others` are the drafts combined
// with, `file` the same first draft saved.
std::vector<Named> combineCommands(const std::vector<const CQuillabyDoc*>& others, const std::string& file)
{
    static FixedPrompter yes(true);
    const std::vector<const CQuillabyDoc*> one(others.begin(), others.begin() + 1);
    return {
        {"echo",
         [](auto& d, Edit e) {
             return EchoThreading(e, d, {2, 3}, yes);
         }},
        {"echo weft", [](auto& d, Edit e) { return EchoTreadling(e, d, yes); }},
        {"interleave", [=](auto& d, Edit e) { return InterleaveThreading(e, d, others, yes); }},
        {"interleave weft", [=](auto& d, Edit e) { return InterleaveTreadling(e, d, one, yes); }},
        {"overlay", [=](auto& d, Edit e) { return OverlayPegplan(e, d, others, yes); }},
        {"append", [=](auto& d, Edit e) { return AppendTreadling(e, d, *others[0], yes); }},
        {"expand", [](auto& d, Edit e) { return ExpandThreads(e, d, Side::Threading, 3, yes); }},
        {"expand weft", [](auto& d, Edit e) { return ExpandThreads(e, d, Side::Treadling, 2, yes); }},
        {"import threading", [=](auto& d, Edit e) { return ImportThreading(e, d, file, yes); }},
        {"import treadling", [=](auto& d, Edit e) { return ImportTreadling(e, d, file, yes); }},
        {"import tieup", [=](auto& d, Edit e) { return ImportTieup(e, d, file, yes); }},
        {"warp colorway", [=](auto& d, Edit e) { return ImportColorway(e, d, Side::Threading, file, yes); }},
        {"weft colorway", [=](auto& d, Edit e) { return ImportColorway(e, d, Side::Treadling, file, yes); }},
        {"mark end", [](auto& d, Edit e) { return MarkFloat(e, d, FloatDirection::Warp, 2, rgb(255, 255, 0), yes); }},
        {"mark pick", [](auto& d, Edit e) { return MarkFloat(e, d, FloatDirection::Weft, 1, rgb(1, 2, 3), yes); }},
        {"thickness",
         [](auto& d, Edit e) {
             return ApplyThicknessPattern(e, d, Side::Threading, {true, false, false});
         }},
        {"thickness weft",
         [](auto& d, Edit e) {
             return ApplyThicknessPattern(e, d, Side::Treadling, {false, true});
         }},
    };
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
        undone += CheckOneStepEach(
            commands(), [&] { return RandomDraft(shape, rng); },
            "round " + std::to_string(round) + " liftplan " + std::to_string(shape.liftplan));
    }
    EXPECT_GT(undone, 200);
}

TEST(UndoRedo, CombiningImportingAndMarkingAreOneExactStepEach)
{
    std::mt19937 rng(77);
    int undone = 0;
    const std::string file = (std::filesystem::path(::testing::TempDir()) / "undo_source.wif").string();
    for (int round = 0; round < 16; ++round) {
        // Up to two wefts, sometimes bound to the color bars (the guard's
        // switch is part of the step), and either form on both sides.
        DraftShape shape = RandomShape(rng, true, 2);
        shape.ends = 4 + round;
        shape.picks = 3 + round;
        DraftShape otherShape = RandomShape(rng, true, 2);
        otherShape.ends = 2 + round % 7;
        otherShape.picks = 1 + (round * 5) % 23;
        std::vector<std::unique_ptr<CQuillabyDoc>> others;
        for (int k = 0; k < 1 + round % 3; ++k) others.push_back(RandomDraft(otherShape, rng));
        ASSERT_TRUE(WriteWifFile(*others[0], file));
        std::vector<const CQuillabyDoc*> ptrs;
        for (const auto& o : others) ptrs.push_back(o.get());
        undone += CheckOneStepEach(
            combineCommands(ptrs, file), [&] { return RandomDraft(shape, rng); },
            "round " + std::to_string(round) + " liftplan " + std::to_string(shape.liftplan) + " wefts "
                + std::to_string(shape.wefts));
    }
    EXPECT_GT(undone, 150);
}
