// The commands that combine the open draft with itself or with other draft
// files, or take one part of another file.
#include "core/transform/commandargs.h"
#include "core/transform/commandentries.h"
#include "core/transform/componentimport.h"
#include "core/transform/expand.h"
#include "core/transform/interleave.h"
#include "core/transform/overlay.h"

namespace qb {

namespace {

using Id = DraftCommandId;
using Doc = CQuillabyDoc;
using Args = const CommandArgs&;
using Sources = std::vector<const CQuillabyDoc*>;

CommandOutcome changed(CommandResult r)
{
    return CommandOutcome::inPlace(std::move(r));
}

// Runs `combine` on the drafts the arguments name; an unreadable one stops it.
template <class F> CommandOutcome withSources(Doc& doc, Args a, IPrompter& p, F&& combine)
{
    std::vector<std::unique_ptr<CQuillabyDoc>> read;
    if (!ReadSourceDrafts(a, doc, p, read)) return UnreadableFile();
    Sources sources;
    for (const auto& s : read) sources.push_back(s.get());
    return changed(combine(sources));
}

// The imports read the file themselves; one that cannot be read as a draft at
// all is an unreadable file rather than a refusal.
template <class F> CommandOutcome importing(Doc& doc, Args a, IPrompter& p, F&& import)
{
    std::vector<std::unique_ptr<CQuillabyDoc>> read;
    if (!ReadSourceDrafts(a, doc, p, read)) return UnreadableFile();
    return changed(import(a[0]));
}

CommandOutcome expand(Edit e, Doc& doc, Side side, const char* name, Args a, IPrompter& p)
{
    int f = 0;
    if (!ParseNumberArg(a[0], kMinExpandFactor, kMaxExpandFactor, f)) return RefuseArgs(p, name, "F must be 2..20");
    return changed(ExpandThreads(e, doc, side, f, p));
}

CommandOutcome echoThreading(Edit e, Doc& doc, Args a, IPrompter& p)
{
    EchoSettings echo;
    if (!ParseNumberArg(a[0], EchoSettings::kMinEchos, EchoSettings::kMaxEchos, echo.numEchos)
        || !ParseNumberArg(a[1], EchoSettings::kMinOffset, EchoSettings::kMaxOffset, echo.offset))
        return RefuseArgs(p, "echo-threading", "K must be 1..3 and O 1..64");
    return changed(EchoThreading(e, doc, echo, p));
}

constexpr const char* kFiles = "FILE [FILE [FILE]]";

CommandEntry fromFile(Id id, const char* undoName, const char* cliName, const char* help, CommandFn run)
{
    return {id, undoName, cliName, "FILE", help, CommandKind::InPlace, 1, 1, {{"{draft}"}}, run};
}

CommandEntry fromFiles(Id id, const char* undoName, const char* cliName, const char* help, CommandFn run)
{
    return {id, undoName, cliName, kFiles, help, CommandKind::InPlace, 1, 3, {{"{draft}"}, {"{draft}", "{draft}"}},
            run};
}

} // namespace

std::vector<CommandEntry> CombineCommandEntries()
{
    return {
        {Id::EchoThreading,
         "Echo Threading",
         "echo-threading",
         "K O",
         "Interleave the threading with K echoes (1..3) of itself, echo j putting every\n"
         "end j x O shafts higher (O 1..64, wrapping at the shaft count).",
         CommandKind::InPlace,
         2,
         2,
         {{"2", "3"}},
         echoThreading},
        fromFiles(Id::InterleaveThreading, "Interleave Threading", "interleave-threading",
                  "Interleave the threading end by end with the threadings of the files.",
                  [](Edit e, Doc& d, Args a, IPrompter& p) {
                      return withSources(d, a, p, [&](const Sources& s) { return InterleaveThreading(e, d, s, p); });
                  }),
        {Id::ExpandThreading,
         "Expand Threading",
         "expand-threading",
         "F",
         "Repeat every end F times in place (F 2..20).",
         CommandKind::InPlace,
         1,
         1,
         {{"3"}},
         [](Edit e, Doc& d, Args a, IPrompter& p) { return expand(e, d, Side::Threading, "expand-threading", a, p); }},
        fromFile(Id::ImportThreading, "Import Threading", "import-threading",
                 "Take the threading of FILE (the draft's colors stay with their ends).",
                 [](Edit e, Doc& d, Args a, IPrompter& p) {
                     return importing(d, a, p, [&](const std::string& f) { return ImportThreading(e, d, f, p); });
                 }),
        {Id::EchoTreadling,
         "Echo Treadling",
         "echo-treadling",
         "",
         "Copy the first weft's treadling into each further weft k, every treadle\n"
         "moved k places.",
         CommandKind::InPlace,
         0,
         0,
         {{}},
         [](Edit e, Doc& d, Args, IPrompter& p) { return changed(EchoTreadling(e, d, p)); }},
        fromFiles(Id::InterleaveTreadling, "Interleave Treadling", "interleave-treadling",
                  "Interleave the treadling pick by pick with the treadlings of the files.",
                  [](Edit e, Doc& d, Args a, IPrompter& p) {
                      return withSources(d, a, p, [&](const Sources& s) { return InterleaveTreadling(e, d, s, p); });
                  }),
        fromFiles(Id::OverlayPegplan, "Overlay Pegplan", "overlay",
                  "Combine the pegplans of the files into the treadling (Multiple Treadles on).",
                  [](Edit e, Doc& d, Args a, IPrompter& p) {
                      return withSources(d, a, p, [&](const Sources& s) { return OverlayPegplan(e, d, s, p); });
                  }),
        fromFile(Id::AppendTreadling, "Append Treadling", "append",
                 "Append the treadling of FILE after the last pick, colors included.",
                 [](Edit e, Doc& d, Args a, IPrompter& p) {
                     return withSources(d, a, p, [&](const Sources& s) { return AppendTreadling(e, d, *s[0], p); });
                 }),
        {Id::ExpandTreadling,
         "Expand Treadling",
         "expand-treadling",
         "F",
         "Repeat every pick F times in place (F 2..20).",
         CommandKind::InPlace,
         1,
         1,
         {{"2"}},
         [](Edit e, Doc& d, Args a, IPrompter& p) { return expand(e, d, Side::Treadling, "expand-treadling", a, p); }},
        fromFile(Id::ImportTreadling, "Import Treadling", "import-treadling",
                 "Take the treadling of FILE, in the draft's form.",
                 [](Edit e, Doc& d, Args a, IPrompter& p) {
                     return importing(d, a, p, [&](const std::string& f) { return ImportTreadling(e, d, f, p); });
                 }),
        fromFile(Id::ImportTieup, "Import Tieup", "import-tieup", "Take the tieup of FILE.",
                 [](Edit e, Doc& d, Args a, IPrompter& p) {
                     return importing(d, a, p, [&](const std::string& f) { return ImportTieup(e, d, f, p); });
                 }),
        fromFile(Id::ImportWarpColorway, "Import Warp Colorway", "import-warp-colors",
                 "Take the palette of FILE and the colors of its warp.",
                 [](Edit e, Doc& d, Args a, IPrompter& p) {
                     return importing(
                         d, a, p, [&](const std::string& f) { return ImportColorway(e, d, Side::Threading, f, p); });
                 }),
        fromFile(Id::ImportWeftColorway, "Import Weft Colorway", "import-weft-colors",
                 "Take the palette of FILE and the colors of its weft.",
                 [](Edit e, Doc& d, Args a, IPrompter& p) {
                     return importing(
                         d, a, p, [&](const std::string& f) { return ImportColorway(e, d, Side::Treadling, f, p); });
                 }),
    };
}

} // namespace qb
