// Every command that changes the open draft is one undo step: Undo brings
// back exactly the draft before, Redo exactly the draft after. The
// whole-draft commands come from the command table; a command that builds a
// new draft leaves the open one and its history alone.

#include "tests/core/transform/drafts.h"
#include "tests/core/transform/examplefiles.h"

#include "core/transform/fabricanalysis.h"
#include "core/transform/floatsearch.h"
#include "core/transform/repeat.h"
#include "core/transform/thicknesspattern.h"
#include "core/transform/wrap.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>

using namespace qbtest;

namespace {

FixedPrompter& yes()
{
    static FixedPrompter p(true);
    return p;
}

// One change to check: `run` makes it as one transaction named `undoName`.
struct Step {
    std::string undoName;
    std::string label;
    std::function<CommandResult(CQuillabyDoc&)> run;
};

// The table's in-place commands, each with every example of its entry.
std::vector<Step> tableSteps(const ExampleFiles& files)
{
    std::vector<Step> out;
    for (const CommandEntry& c : CommandTable()) {
        if (c.kind != CommandKind::InPlace) continue;
        for (const CommandArgs& example : c.examples) {
            const CommandArgs args = FillExample(example, files);
            out.push_back({c.undoName, Describe(c, example), [&c, args](CQuillabyDoc& d) {
                               const CommandOutcome o = RunCommand(c, d, args, yes());
                               EXPECT_EQ(o.problem, CommandOutcome::Problem::None);
                               return o.result;
                           }});
        }
    }
    return out;
}

Step edit(const char* name, std::function<CommandResult(CQuillabyDoc&, Edit)> change)
{
    return {name, name, [name, change](CQuillabyDoc& d) {
                CommandResult r;
                d.Transaction(name, [&](Edit e) { r = change(d, e); });
                return r;
            }};
}

// The edits that are no whole-draft menu command: moving a shaft or treadle,
// a fabric-analysis cell, marking a float, the thickness pattern.
std::vector<Step> otherEdits()
{
    return {
        edit("move shaft", [](auto& d, Edit e) { return MoveShaft(e, d, 0, 5); }),
        edit("move treadle", [](auto& d, Edit e) { return MoveTreadle(e, d, 7, 1); }),
        edit("fabric cell",
             [](auto& d, Edit e) {
                 if (!CanAnalyzeFabric(d, yes()).done()) return CommandResult::noChange();
                 const bool lifted = DrawdownCell(d, 1, 1) != Cell::WarpUp;
                 return FabricAnalysisCell(e, d, 1, 1, lifted) == CellOutcome::Changed ? CommandResult::doneResult()
                                                                                       : CommandResult::noChange();
             }),
        edit("mark end",
             [](auto& d, Edit e) { return MarkFloat(e, d, FloatDirection::Warp, 2, rgb(255, 255, 0), yes()); }),
        edit("mark pick",
             [](auto& d, Edit e) { return MarkFloat(e, d, FloatDirection::Weft, 1, rgb(1, 2, 3), yes()); }),
        edit("thickness",
             [](auto& d, Edit e) {
                 return ApplyThicknessPattern(e, d, Side::Threading, {true, false, false});
             }),
        edit("thickness weft",
             [](auto& d, Edit e) {
                 return ApplyThicknessPattern(e, d, Side::Treadling, {false, true});
             }),
    };
}

// Runs every step on a fresh draft after one earlier edit and checks that
// Undo gives back exactly the draft before, Redo exactly the draft after, and
// the earlier edit survives. Counts in `undone` the steps that changed the
// draft, by label.
void CheckOneStepEach(const std::vector<Step>& list, const std::function<std::unique_ptr<CQuillabyDoc>()>& make,
                      const std::string& trace, std::map<std::string, int>& undone)
{
    for (const Step& c : list) {
        auto doc = make();
        doc->raw().threadingMutable(0)->AddLabel(Label{1, 2, "lab"});
        doc->raw().treadlingMutable(0)->AddLabel(Label{0, 2, "tl"});
        const std::string original = State(*doc);
        const int color = (doc->threading(0)->GetColor(0) + 1) % 5;
        doc->Transaction("Pencil", [&](Edit s) { doc->SetThreadColors(s, Side::Threading, 0, 0, color, 0); });
        const std::string before = State(*doc);
        Listener views(*doc);
        const CommandResult r = c.run(*doc);
        const std::string after = State(*doc);
        SCOPED_TRACE(testing::Message() << c.label << ' ' << trace);
        if (!r.done()) {
            EXPECT_EQ(after, before);
            continue;
        }
        EXPECT_EQ(doc->history().undoCount(), 2);
        if (doc->history().undoCount() != 2) continue;
        EXPECT_EQ(doc->history().undoName(), c.undoName);
        // The views hear the step once, and its undo and redo once each,
        // of the same parts.
        EXPECT_TRUE(doc->Undo());
        EXPECT_EQ(State(*doc), before);
        EXPECT_TRUE(doc->Redo());
        EXPECT_EQ(State(*doc), after);
        ASSERT_EQ(views.hints.size(), 3u);
        EXPECT_EQ(views.hints[1].parts, views.hints[0].parts);
        EXPECT_EQ(views.hints[2].parts, views.hints[0].parts);
        EXPECT_EQ(views.hints[2].layout, views.hints[0].layout);
        EXPECT_TRUE(doc->Undo());
        EXPECT_TRUE(doc->Undo());
        EXPECT_EQ(State(*doc), original);
        ++undone[c.label];
    }
}

// Every step changed some draft, and most changed many.
void ExpectEachUndone(const std::vector<Step>& list, const std::map<std::string, int>& undone, int atLeast)
{
    int total = 0;
    for (const Step& c : list) {
        const auto it = undone.find(c.label);
        EXPECT_TRUE(it != undone.end()) << c.label << " never changed a draft";
        if (it != undone.end()) total += it->second;
    }
    EXPECT_GT(total, atLeast);
}

// The drafts of round `round`: the first twelve in either form with one weft
// (liftplan drafts with multiple treadles), the rest with up to two wefts,
// sometimes bound to the color bars (the guard's switch is part of the step).
// `other` is a draft to combine with.
struct Round {
    DraftShape shape;
    std::unique_ptr<CQuillabyDoc> other;
    std::string trace;
};

constexpr int kRounds = 28;

Round MakeRound(int round, std::mt19937& rng)
{
    Round r;
    if (round < 12) {
        r.shape = RandomShape(rng, true, 1);
        r.shape.ends = 5 + round;
        r.shape.picks = 4 + round;
        r.shape.rising = true;
        r.shape.multiple = r.shape.liftplan;
    } else {
        r.shape = RandomShape(rng, true, 2);
        r.shape.ends = 4 + round;
        r.shape.picks = 3 + round;
    }
    DraftShape otherShape = RandomShape(rng, true, 2);
    otherShape.ends = 2 + round % 7;
    otherShape.picks = 1 + (round * 5) % 23;
    r.other = RandomDraft(otherShape, rng);
    r.trace = "round " + std::to_string(round) + " liftplan " + std::to_string(r.shape.liftplan) + " wefts "
        + std::to_string(r.shape.wefts);
    return r;
}

} // namespace

TEST(UndoRedo, EveryTableCommandIsOneExactStep)
{
    std::mt19937 rng(51);
    std::map<std::string, int> undone;
    std::vector<Step> steps;
    for (int round = 0; round < kRounds; ++round) {
        Round r = MakeRound(round, rng);
        const ExampleFiles files = WriteExampleFiles(*r.other, "undo");
        steps = tableSteps(files);
        // Some drafts repeat, so that there is a single repeat to cut them to.
        const auto make = [&] {
            auto d = RandomDraft(r.shape, rng);
            for (Side side : {Side::Threading, Side::Treadling})
                if (round % 3 == 2) RepeatThreads(kUnrecorded, *d, side, 2, yes());
            return d;
        };
        CheckOneStepEach(steps, make, r.trace, undone);
    }
    ExpectEachUndone(steps, undone, 1200);
}

TEST(UndoRedo, OtherEditsAreOneExactStepEach)
{
    std::mt19937 rng(77);
    std::map<std::string, int> undone;
    for (int round = 0; round < kRounds; ++round) {
        const Round r = MakeRound(round, rng);
        CheckOneStepEach(
            otherEdits(), [&] { return RandomDraft(r.shape, rng); }, r.trace, undone);
    }
    ExpectEachUndone(otherEdits(), undone, 150);
}

TEST(UndoRedo, NewDraftCommandsLeaveTheOpenDraftAlone)
{
    std::mt19937 rng(93);
    std::map<std::string, int> made;
    for (int round = 0; round < kRounds; ++round) {
        Round r = MakeRound(round, rng);
        const ExampleFiles files = WriteExampleFiles(*r.other, "newdraft");
        for (const CommandEntry& c : CommandTable()) {
            if (c.kind != CommandKind::NewDraft) continue;
            for (const CommandArgs& example : c.examples) {
                SCOPED_TRACE(testing::Message() << Describe(c, example) << ' ' << r.trace);
                auto doc = RandomDraft(r.shape, rng);
                const int color = (doc->threading(0)->GetColor(0) + 1) % 5;
                doc->Transaction("Pencil", [&](Edit s) { doc->SetThreadColors(s, Side::Threading, 0, 0, color, 0); });
                const std::string before = State(*doc);
                const CommandOutcome o = RunCommand(c, *doc, FillExample(example, files), yes());
                EXPECT_EQ(o.problem, CommandOutcome::Problem::None);
                EXPECT_EQ(State(*doc), before);
                EXPECT_EQ(doc->history().undoCount(), 1);
                EXPECT_EQ(doc->history().redoCount(), 0);
                EXPECT_EQ(o.result.done(), o.draft != nullptr);
                if (!o.draft) continue;
                EXPECT_EQ(o.draft->history().groupCount(), 0);
                EXPECT_TRUE(o.draft->isModified());
                ++made[c.cliName];
            }
        }
    }
    int total = 0;
    for (const CommandEntry& c : CommandTable()) {
        if (c.kind != CommandKind::NewDraft) continue;
        EXPECT_GT(made[c.cliName], 0) << c.cliName << " never made a draft";
        total += made[c.cliName];
    }
    EXPECT_GT(total, 200);
}
