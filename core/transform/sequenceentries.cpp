// The Threading and Treadling menus' commands on the sequences.
#include "core/transform/arrange.h"
#include "core/transform/commandargs.h"
#include "core/transform/commandentries.h"
#include "core/transform/optimize.h"
#include "core/transform/repeat.h"
#include "core/transform/sequenceops.h"
#include "core/transform/wrap.h"

namespace qb {

namespace {

using Id = DraftCommandId;
using Doc = CQuillabyDoc;
using Args = const CommandArgs&;

CommandOutcome changed(CommandResult r)
{
    return CommandOutcome::inPlace(std::move(r));
}

// A command without arguments, on the open draft.
CommandEntry plain(Id id, const char* undoName, const char* cliName, const char* help, CommandFn run)
{
    return {id, undoName, cliName, "", help, CommandKind::InPlace, 0, 0, {{}}, run};
}

CommandOutcome repeat(Edit e, Doc& doc, Side side, const char* name, Args a, IPrompter& p)
{
    if (a[0] == "single") return changed(SingleRepeat(e, doc, side));
    int times = 0;
    if (!ParseNumberArg(a[0], 2, 100, times)) return RefuseArgs(p, name, "N must be 2..100 or single");
    return changed(RepeatThreads(e, doc, side, times, p));
}

CommandOutcome arrange(Edit e, Doc& doc, Side side, const char* name, Args a, IPrompter& p)
{
    if (a[0] != "parallel" && a[0] != "sequential") return RefuseArgs(p, name, "say parallel or sequential");
    return changed(Arrange(e, doc, side, a[0] == "parallel" ? ArrangeKind::Parallel : ArrangeKind::Sequential, p));
}

// The Remove dialog's strip as letters: k keeps a thread, r removes it.
CommandOutcome remove(Edit e, Doc& doc, Side side, const char* name, Args a, IPrompter& p)
{
    std::vector<bool> keep;
    for (char c : a[0]) {
        if (c != 'k' && c != 'r') break;
        keep.push_back(c == 'k');
    }
    // An empty pattern, as the dialog may leave it, removes nothing.
    if (keep.size() != a[0].size() || keep.size() > std::size_t(kMaxRemovePattern))
        return RefuseArgs(p, name, "PATTERN must be up to 16 letters k (keep) and r (remove)");
    return changed(RemoveByPattern(e, doc, side, keep));
}

constexpr const char* kRepeatSynopsis = "N|single";
constexpr const char* kArrangeSynopsis = "parallel|sequential";

} // namespace

std::vector<CommandEntry> SequenceCommandEntries()
{
    return {
        {Id::ThreadingRepeat,
         "Repeat Threading",
         "repeat-threading",
         kRepeatSynopsis,
         "Repeat the threading N times (2..100), or cut it to a single repeat.",
         CommandKind::InPlace,
         1,
         1,
         {{"3"}, {"single"}},
         [](Edit e, Doc& d, Args a, IPrompter& p) { return repeat(e, d, Side::Threading, "repeat-threading", a, p); }},
        plain(Id::ThreadingReflect, "Reflect Threading", "flip-threading",
              "Reflect the threading about its last end: n ends become 2n - 1.",
              [](Edit e, Doc& d, Args, IPrompter& p) { return changed(ReflectThreads(e, d, Side::Threading, p)); }),
        plain(Id::ThreadingReverse, "Reverse Threading", "reverse-threading", "Reverse the order of the ends.",
              [](Edit e, Doc& d, Args, IPrompter&) { return changed(ReverseThreads(e, d, Side::Threading)); }),
        plain(Id::ThreadingWrapUp, "Wrap Up Threading", "wrap-up-threading",
              "Move every end one shaft up, those on the top shaft to shaft 1.",
              [](Edit e, Doc& d, Args, IPrompter& p) { return changed(WrapShafts(e, d, true, p)); }),
        plain(Id::ThreadingWrapDown, "Wrap Down Threading", "wrap-down-threading",
              "Move every end one shaft down, those on shaft 1 to the top shaft.",
              [](Edit e, Doc& d, Args, IPrompter& p) { return changed(WrapShafts(e, d, false, p)); }),
        plain(Id::ThreadingWrapRight, "Wrap >> Threading", "wrap-right-threading",
              "Move the first end to the last place.",
              [](Edit e, Doc& d, Args, IPrompter&) { return changed(WrapEnds(e, d, true)); }),
        plain(Id::ThreadingWrapLeft, "Wrap << Threading", "wrap-left-threading",
              "Move the last end to the first place.",
              [](Edit e, Doc& d, Args, IPrompter&) { return changed(WrapEnds(e, d, false)); }),
        plain(Id::ThreadingClear, "Clear Threading", "clear-threading",
              "Clear every end of the threading and the labels of its first row.",
              [](Edit e, Doc& d, Args, IPrompter&) { return changed(ClearThreads(e, d, Side::Threading)); }),
        plain(Id::ThreadingClearLabels, "Clear Labels Threading", "clear-threading-labels",
              "Clear the labels of the threading's first row.",
              [](Edit e, Doc& d, Args, IPrompter&) { return changed(ClearLabels(e, d, Side::Threading)); }),
        {Id::ThreadingArrange,
         "Arrange Threading",
         "arrange-threading",
         kArrangeSynopsis,
         "Renumber the shafts in parallel order or in order of first use (the cloth\n"
         "stays the same; tieup form, one warp).",
         CommandKind::InPlace,
         1,
         1,
         {{"sequential"}, {"parallel"}},
         [](Edit e, Doc& d, Args a, IPrompter& p) {
             return arrange(e, d, Side::Threading, "arrange-threading", a, p);
         }},
        {Id::ThreadingRemove,
         "Remove Threading",
         "remove-threading",
         "PATTERN",
         "Walk the ends in blocks of PATTERN's length and drop those whose letter is\n"
         "r; k keeps them (up to 16 letters, e.g. kkr drops every third end).",
         CommandKind::InPlace,
         1,
         1,
         {{"krk"}},
         [](Edit e, Doc& d, Args a, IPrompter& p) { return remove(e, d, Side::Threading, "remove-threading", a, p); }},
        plain(Id::ThreadingOptimize, "Optimize Threading", "optimize-threading",
              "Put the ends of shafts with the same tieup row on the first of them and\n"
              "move unused shafts to the top (tieup form; the cloth stays the same).",
              [](Edit e, Doc& d, Args, IPrompter& p) { return changed(Optimize(e, d, Side::Threading, p)); }),
        plain(Id::UseWeftColors, "Use Weft Colors", "use-weft-colors", "Give end i the color of pick i.",
              [](Edit e, Doc& d, Args, IPrompter&) { return changed(UseOtherColors(e, d, true)); }),

        {Id::TreadlingRepeat,
         "Repeat Treadling",
         "repeat-treadling",
         kRepeatSynopsis,
         "Repeat the treadling N times (2..100), or cut it to a single repeat.",
         CommandKind::InPlace,
         1,
         1,
         {{"2"}, {"single"}},
         [](Edit e, Doc& d, Args a, IPrompter& p) { return repeat(e, d, Side::Treadling, "repeat-treadling", a, p); }},
        plain(Id::TreadlingReflect, "Reflect Treadling", "flip-treadling",
              "Reflect the treadling about its last pick: n picks become 2n - 1.",
              [](Edit e, Doc& d, Args, IPrompter& p) { return changed(ReflectThreads(e, d, Side::Treadling, p)); }),
        plain(Id::TreadlingReverse, "Reverse Treadling", "reverse-treadling", "Reverse the order of the picks.",
              [](Edit e, Doc& d, Args, IPrompter&) { return changed(ReverseThreads(e, d, Side::Treadling)); }),
        plain(Id::TreadlingWrapRight, "Wrap >> Treadling", "wrap-right-treadling",
              "Move every pick one treadle right, those on the last treadle to treadle 1.",
              [](Edit e, Doc& d, Args, IPrompter& p) { return changed(WrapTreadles(e, d, true, p)); }),
        plain(Id::TreadlingWrapLeft, "Wrap << Treadling", "wrap-left-treadling",
              "Move every pick one treadle left, those on treadle 1 to the last treadle.",
              [](Edit e, Doc& d, Args, IPrompter& p) { return changed(WrapTreadles(e, d, false, p)); }),
        plain(Id::TreadlingWrapUp, "Wrap Up Treadling", "wrap-up-treadling", "Move the last pick to the first place.",
              [](Edit e, Doc& d, Args, IPrompter&) { return changed(WrapPicks(e, d, true)); }),
        plain(Id::TreadlingWrapDown, "Wrap Down Treadling", "wrap-down-treadling",
              "Move the first pick to the last place.",
              [](Edit e, Doc& d, Args, IPrompter&) { return changed(WrapPicks(e, d, false)); }),
        plain(Id::TreadlingClear, "Clear Treadling", "clear-treadling",
              "Clear every pick of the treadling and the labels of its first row.",
              [](Edit e, Doc& d, Args, IPrompter&) { return changed(ClearThreads(e, d, Side::Treadling)); }),
        plain(Id::TreadlingClearLabels, "Clear Labels Treadling", "clear-treadling-labels",
              "Clear the labels of the treadling's first row.",
              [](Edit e, Doc& d, Args, IPrompter&) { return changed(ClearLabels(e, d, Side::Treadling)); }),
        {Id::TreadlingArrange,
         "Arrange Treadling",
         "arrange-treadling",
         kArrangeSynopsis,
         "Renumber the treadles in parallel order or in order of first use (the cloth\n"
         "stays the same; tieup form, one weft, no multiple treadles).",
         CommandKind::InPlace,
         1,
         1,
         {{"parallel"}, {"sequential"}},
         [](Edit e, Doc& d, Args a, IPrompter& p) {
             return arrange(e, d, Side::Treadling, "arrange-treadling", a, p);
         }},
        {Id::TreadlingRemove,
         "Remove Treadling",
         "remove-treadling",
         "PATTERN",
         "Walk the picks in blocks of PATTERN's length and drop those whose letter is\n"
         "r; k keeps them (up to 16 letters).",
         CommandKind::InPlace,
         1,
         1,
         {{"kkr"}},
         [](Edit e, Doc& d, Args a, IPrompter& p) { return remove(e, d, Side::Treadling, "remove-treadling", a, p); }},
        plain(Id::TreadlingOptimize, "Optimize Treadling", "optimize-treadling",
              "Put the picks of treadles with the same tieup column on the first of them\n"
              "and move unused treadles to the right (tieup form; the cloth stays the same).",
              [](Edit e, Doc& d, Args, IPrompter& p) { return changed(Optimize(e, d, Side::Treadling, p)); }),
        plain(Id::TrompAsWrit, "Tromp as Writ", "tromp-as-writ",
              "Treadle as drawn in: pick i on the treadle numbered like end i's shaft.",
              [](Edit e, Doc& d, Args, IPrompter& p) { return changed(TrompAsWrit(e, d, false, p)); }),
        plain(Id::MirrorThreading, "Mirror Threading", "mirror-threading",
              "Treadle as drawn in, mirrored: pick i on the treadle as far from the last\n"
              "as end i's shaft is from the first.",
              [](Edit e, Doc& d, Args, IPrompter& p) { return changed(TrompAsWrit(e, d, true, p)); }),
        plain(Id::UseWarpColors, "Use Warp Colors", "use-warp-colors", "Give pick i the color of end i.",
              [](Edit e, Doc& d, Args, IPrompter&) { return changed(UseOtherColors(e, d, false)); }),
    };
}

} // namespace qb
