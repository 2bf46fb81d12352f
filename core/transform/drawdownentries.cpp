// The Drawdown menu's commands on the whole draft and the Tools menu's
// commands that build a new draft from it.
#include "core/transform/commandargs.h"
#include "core/transform/commandentries.h"
#include "core/transform/doublewidth.h"
#include "core/transform/optimize.h"
#include "core/transform/repeat.h"
#include "core/transform/straighten.h"
#include "core/transform/turndraft.h"

namespace qb {

namespace {

using Id = DraftCommandId;
using Doc = CQuillabyDoc;
using Args = const CommandArgs&;

CommandEntry plain(Id id, const char* undoName, const char* cliName, const char* help, CommandFn run)
{
    return {id, undoName, cliName, "", help, CommandKind::InPlace, 0, 0, {{}}, run};
}

CommandEntry made(Id id, const char* undoName, const char* cliName, const char* help, CommandFn run)
{
    return {id, undoName, cliName, "", help, CommandKind::NewDraft, 0, 0, {{}}, run};
}

CommandOutcome doubleWidth(Edit, Doc& doc, Args a, IPrompter& p)
{
    DoubleWidthOptions o;
    for (const std::string& word : a) {
        std::string value;
        if (word == "right") o.foldRight = true;
        else if (word == "tubular") o.tubular = true;
        else if (KeyValueArg(word, "shuttles", value) && ParseNumberArg(value, 1, 6, o.shuttles)) continue;
        else if (KeyValueArg(word, "picks", value) && ParseNumberArg(value, 1, 32768, o.picksPerUnit)) continue;
        else return RefuseArgs(p, "double-width", "unknown argument " + word);
    }
    return CommandOutcome::newDraft(DoubleWidth(doc, o, p));
}

} // namespace

std::vector<CommandEntry> DrawdownCommandEntries()
{
    return {
        plain(Id::SuperSize, "SuperSize It", "supersize", "Repeat threading and treadling three times each.",
              [](Edit e, Doc& d, Args, IPrompter& p) { return CommandOutcome::inPlace(SuperSize(e, d, p)); }),
        plain(Id::SingleRepeat, "Single Repeat", "single-repeat", "Cut threading and treadling to one repeat each.",
              [](Edit e, Doc& d, Args, IPrompter&) { return CommandOutcome::inPlace(SingleRepeatDraft(e, d)); }),
        plain(Id::TurnDraft, "Turn Draft", "turn", "Exchange warp and weft (Turn Draft).",
              [](Edit e, Doc& d, Args, IPrompter& p) { return CommandOutcome::inPlace(TurnDraft(e, d, p)); }),
        made(Id::StraightenThreading, "Straighten Threading", "straighten-threading",
             "A new draft threaded in a straight draw over one repeat, the tieup rebuilt\n"
             "so the cloth stays the same (Tools > Straighten Threading).",
             [](Edit, Doc& d, Args, IPrompter& p) { return CommandOutcome::newDraft(StraightenThreading(d, p)); }),
        made(Id::StraightenTreadling, "Straighten Treadling", "straighten-treadling",
             "A new draft in tieup form treadled in a straight line, treadle k lifting what\n"
             "pick k lifted (Tools > Straighten Treadling).",
             [](Edit, Doc& d, Args, IPrompter& p) { return CommandOutcome::newDraft(StraightenTreadling(d, p)); }),
        made(Id::OptimizeDraft, "Optimize Draft", "optimize",
             "Reduce to the shafts and treadles the draft needs (Tools > Optimize Draft).",
             [](Edit, Doc& d, Args, IPrompter& p) { return CommandOutcome::newDraft(OptimizeDraft(d, p)); }),
        {Id::DoubleWidth,
         "Double Width",
         "double-width",
         "[right] [tubular] [shuttles=N] [picks=N]",
         "Fold into a double-width draft (two layers, folded on the left unless right).",
         CommandKind::NewDraft,
         0,
         4,
         {{}, {"right", "tubular", "shuttles=2", "picks=2"}},
         doubleWidth},
    };
}

} // namespace qb
