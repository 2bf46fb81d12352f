// The command table: complete, unambiguous, and every entry runs from its
// own examples and refuses arguments it does not understand.

#include "tests/core/transform/drafts.h"
#include "tests/core/transform/examplefiles.h"

#include "core/transform/dialogargs.h"
#include "core/transform/expand.h"
#include "core/transform/liftplanpicture.h"
#include "core/transform/networkplot.h"
#include "core/transform/networkscale.h"
#include "core/transform/repeat.h"
#include "core/transform/ribbontemplate.h"
#include "core/transform/sequenceops.h"
#include "core/transform/tieupops.h"
#include "core/wif/wifreader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace qbtest;

namespace {

// A small draft every command accepts: tieup form, one warp and one weft, two
// repeats of a point threading over four shafts, treadled as drawn in.
std::unique_ptr<CQuillabyDoc> SampleDraft()
{
    auto doc = NewDraft(4, 4);
    SetShafts(*doc, {1, 2, 3, 4, 3, 2, 1, 2, 3, 4, 3, 2});
    SetTreadles(*doc, {1, 2, 3, 4, 3, 2});
    for (int t = 0; t < 4; ++t)
        for (int s : {t + 1, (t + 1) % 4 + 1}) doc->raw().tieupMutable().setCell(t, s);
    return doc;
}

ExampleFiles Files()
{
    static const ExampleFiles files = [] {
        auto other = SampleDraft();
        SetShafts(*other, {4, 3, 2, 1});
        return WriteExampleFiles(*other, "table");
    }();
    return files;
}

} // namespace

TEST(CommandTable, EveryIdHasOneEntryAndEveryNameOneCommand)
{
    const auto& table = CommandTable();
    EXPECT_EQ(static_cast<int>(table.size()), kDraftCommandCount);
    std::set<std::string> names, undoNames;
    for (int i = 0; i < kDraftCommandCount; ++i) {
        const auto id = static_cast<DraftCommandId>(i);
        EXPECT_EQ(std::count_if(table.begin(), table.end(), [&](const CommandEntry& e) { return e.id == id; }), 1)
            << "id " << i;
        EXPECT_EQ(CommandFor(id).id, id) << "id " << i;
    }
    for (const CommandEntry& e : table) {
        SCOPED_TRACE(e.cliName);
        EXPECT_TRUE(names.insert(e.cliName).second) << "CLI name used twice";
        EXPECT_TRUE(undoNames.insert(e.undoName).second) << "undo name used twice";
        EXPECT_EQ(FindCommand(e.cliName), &e);
        EXPECT_NE(*e.undoName, '\0');
        EXPECT_NE(*e.help, '\0');
        EXPECT_EQ(*e.synopsis == '\0', e.maxArgs == 0);
        EXPECT_FALSE(e.examples.empty());
        for (const CommandArgs& example : e.examples) {
            EXPECT_GE(static_cast<int>(example.size()), e.minArgs);
            EXPECT_LE(static_cast<int>(example.size()), e.maxArgs);
        }
    }
    EXPECT_EQ(FindCommand("frobnicate"), nullptr);
}

TEST(CommandTable, EveryExampleRunsOnTheSampleDraft)
{
    for (const CommandEntry& e : CommandTable())
        for (const CommandArgs& example : e.examples) {
            SCOPED_TRACE(Describe(e, example));
            auto doc = SampleDraft();
            FixedPrompter yes(true);
            const CommandOutcome o = RunCommand(e, *doc, FillExample(example, Files()), yes);
            EXPECT_EQ(o.problem, CommandOutcome::Problem::None);
            EXPECT_NE(o.result.status, CommandResult::Status::Refused) << yes.lastMessage;
            EXPECT_EQ(o.draft != nullptr, e.kind == CommandKind::NewDraft);
        }
}

TEST(CommandTable, ArgumentsNotUnderstoodAreRefusedAndChangeNothing)
{
    for (const CommandEntry& e : CommandTable()) {
        if (e.maxArgs == 0) continue;
        SCOPED_TRACE(e.cliName);
        auto doc = SampleDraft();
        const std::string before = State(*doc);
        FixedPrompter yes(true);
        const CommandOutcome o = RunCommand(e, *doc, CommandArgs(std::max(1, e.minArgs), "bogus"), yes);
        EXPECT_EQ(o.result.status, CommandResult::Status::Refused);
        EXPECT_FALSE(yes.lastMessage.empty());
        EXPECT_EQ(State(*doc), before);
        EXPECT_FALSE(doc->history().canUndo());
    }
}

TEST(CommandTable, ArgumentCountsAndValuesAreChecked)
{
    using P = CommandOutcome::Problem;
    const struct {
        DraftCommandId id;
        CommandArgs args;
        P problem;
    } cases[] = {
        {DraftCommandId::TurnDraft, {"extra"}, P::BadArguments},
        {DraftCommandId::EchoThreading, {"2"}, P::BadArguments},
        {DraftCommandId::ThreadingRepeat, {"1"}, P::None},
        {DraftCommandId::ThreadingRepeat, {"101"}, P::None},
        {DraftCommandId::ThreadingRemove, {"kkrrkkrrkkrrkkrrk"}, P::None},
        {DraftCommandId::AddTabby, {"2", "color=12345"}, P::None},
        {DraftCommandId::DoubleWidth, {"shuttles=7"}, P::None},
        {DraftCommandId::RibbonTemplate, {"1"}, P::BadArguments},
        {DraftCommandId::ScalePatternLine, {"--height", "99", "--length", "4"}, P::BadArguments},
        {DraftCommandId::ScalePatternLine, {"--length", "4"}, P::BadArguments},
        {DraftCommandId::PlotOntoNetwork, {"--height", "8"}, P::BadArguments},
        {DraftCommandId::LoadLiftplan, {"missing.png"}, P::UnreadableFile},
        {DraftCommandId::ImportTieup, {"missing.wif"}, P::UnreadableFile},
        {DraftCommandId::BlockSubstitution, {"missing.qlb"}, P::UnreadableFile},
    };
    for (const auto& c : cases) {
        const CommandEntry& e = CommandFor(c.id);
        SCOPED_TRACE(Describe(e, c.args));
        auto doc = SampleDraft();
        FixedPrompter yes(true);
        const CommandOutcome o = RunCommand(e, *doc, c.args, yes);
        EXPECT_EQ(o.result.status, CommandResult::Status::Refused);
        EXPECT_EQ(o.problem, c.problem);
        EXPECT_FALSE(doc->history().canUndo());
    }
}

TEST(CommandTable, TheTabbyColorIsReadAsRedGreenBlue)
{
    auto doc = SampleDraft();
    FixedPrompter yes(true);
    ASSERT_TRUE(RunCommand(CommandFor(DraftCommandId::AddTabby), *doc, {"2", "color=FF8000"}, yes).result.done());
    EXPECT_EQ(doc->palette().color(doc->treadling(0)->GetColor(0)), rgb(255, 128, 0));
}

// What a dialog chose, as arguments, does what the core does with the choice
// itself.
TEST(CommandTable, DialogChoicesAsArgumentsDoWhatTheChoicesDo)
{
    using Id = DraftCommandId;
    FixedPrompter yes(true);
    NetworkSettings line;
    line.height = 12;
    line.length = 20;
    line.initialBase = 1;
    line.initialHeight = 5;
    line.initialWidth = 3;
    line.telescope = true;
    NetworkSettings plot;
    plot.structurePath = Files().structure;
    plot.height = 9;
    plot.ribbonWidth = 3;
    plot.fillRibbon = false;
    plot.fillBackground = true;
    auto structure = [&] {
        auto doc = std::make_unique<CQuillabyDoc>();
        EXPECT_TRUE(ReadWifFile(plot.structurePath, *doc, yes));
        return doc;
    };
    // The new draft's state, or the changed draft's.
    auto made = [](NewDraftResult r) { return r.draft ? State(*r.draft) : std::string("nothing"); };
    auto changed = [](CommandResult r, const CQuillabyDoc& d) { return r.done() ? State(d) : std::string("nothing"); };
    const struct {
        Id id;
        CommandArgs args;
        std::function<std::string(CQuillabyDoc&)> direct;
    } cases[] = {
        {Id::ThreadingRepeat, RepeatArgs(false, 3),
         [&](auto& d) { return changed(RepeatThreads(kUnrecorded, d, Side::Threading, 3, yes), d); }},
        {Id::ThreadingRepeat, RepeatArgs(true, 0),
         [&](auto& d) { return changed(SingleRepeat(kUnrecorded, d, Side::Threading), d); }},
        {Id::TreadlingArrange, ArrangeArgs(ArrangeKind::Parallel),
         [&](auto& d) { return changed(Arrange(kUnrecorded, d, Side::Treadling, ArrangeKind::Parallel, yes), d); }},
        {Id::ThreadingRemove, RemoveArgs({true, false, true}),
         [&](auto& d) {
             return changed(RemoveByPattern(kUnrecorded, d, Side::Threading, {true, false, true}), d);
         }},
        {Id::MultipleTreadles, MultipleTreadlesArgs(true),
         [&](auto& d) { return changed(SetMultipleTreadles(kUnrecorded, d, true, yes), d); }},
        {Id::AddTabby, AddTabbyArgs({3, true, rgb(10, 200, 30)}),
         [&](auto& d) {
             return changed(AddTabby(kUnrecorded, d, {3, true, rgb(10, 200, 30)}, yes), d);
         }},
        {Id::LoadLiftplan, LoadLiftplanArgs(Files().picture, true),
         [&](auto& d) {
             PixelGrid grid;
             std::string error;
             EXPECT_TRUE(ReadLiftplanPicture(Files().picture, grid, error));
             return changed(LiftplanFromPicture(kUnrecorded, d, grid, true, yes), d);
         }},
        {Id::DoubleWidth, DoubleWidthArgs({true, true, 2, 3}),
         [&](auto& d) {
             return made(DoubleWidth(d, {true, true, 2, 3}, yes));
         }},
        {Id::EchoThreading, EchoArgs({3, 2}),
         [&](auto& d) {
             return changed(EchoThreading(kUnrecorded, d, {3, 2}, yes), d);
         }},
        {Id::ExpandTreadling, NumberArgs(4),
         [&](auto& d) { return changed(ExpandThreads(kUnrecorded, d, Side::Treadling, 4, yes), d); }},
        {Id::RibbonTemplate, NumberArgs(3),
         [&](auto& d) { return changed(RibbonTemplate(kUnrecorded, d, 3, yes), d); }},
        {Id::ScalePatternLine, ScaleLineArgs(line), [&](auto& d) { return made(ScalePatternLine(d, line, yes)); }},
        {Id::PlotOntoNetwork, NetworkArgs(plot),
         [&](auto& d) { return made(PlotOntoNetwork(d, *structure(), plot.structurePath, plot, yes)); }},
    };
    for (const auto& c : cases) {
        const CommandEntry& e = CommandFor(c.id);
        SCOPED_TRACE(Describe(e, c.args));
        auto viaTable = SampleDraft();
        CommandOutcome o = RunCommand(e, *viaTable, c.args, yes);
        ASSERT_TRUE(o.result.done()) << yes.lastMessage;
        auto direct = SampleDraft();
        EXPECT_EQ(State(o.draft ? *o.draft : *viaTable), c.direct(*direct));
    }
}
