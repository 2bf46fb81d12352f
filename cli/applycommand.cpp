// quillaby-cli apply: the whole-draft commands that need no mouse, so a
// folder of drafts can be converted in a script.
#include "cli/applycommand.h"

#include "cli/applytypes.h"
#include "cli/profileoperations.h"

#include "core/draft/iprompter.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/addtabby.h"
#include "core/transform/arrange.h"
#include "core/transform/componentimport.h"
#include "core/transform/doublewidth.h"
#include "core/transform/expand.h"
#include "core/transform/interleave.h"
#include "core/transform/optimize.h"
#include "core/transform/overlay.h"
#include "core/transform/repeat.h"
#include "core/transform/sequenceops.h"
#include "core/transform/tieupops.h"
#include "core/transform/turndraft.h"
#include "core/wif/sourcedraft.h"
#include "core/wif/wifreader.h"
#include "core/wif/wifwriter.h"

#include <algorithm>
#include <charconv>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace qb;
using namespace qbcli;

// The FILE arguments read as other drafts, in the open draft's form; an
// unreadable one stops the operation.
struct Sources {
    std::vector<std::unique_ptr<CQuillabyDoc>> docs;
    std::vector<const CQuillabyDoc*> pointers;
    bool ok = true;
};

Sources readSources(Context& c)
{
    Sources out;
    const LiftplanChoice form = c.doc->isLiftplan() ? LiftplanChoice::Liftplan : LiftplanChoice::Treadling;
    for (const std::string& path : c.args) {
        SourceDraft s = ReadSourceDraft(path, form);
        if (!s.doc) {
            c.prompter->tell("cannot read " + path + ": " + s.failure);
            out.ok = false;
            return out;
        }
        out.pointers.push_back(s.doc.get());
        out.docs.push_back(std::move(s.doc));
    }
    return out;
}

Outcome unreadable()
{
    return stopWith(kFileError);
}

// An operation that takes the FILE arguments as drafts.
template <class F> Outcome withSources(Context& c, F&& run)
{
    Sources s = readSources(c);
    if (!s.ok) return unreadable();
    return inPlace(run(s.pointers));
}

// An import: the core reads the file itself; a file that cannot be read is
// reported as such rather than as a refusal.
template <class F> Outcome importing(Context& c, F&& run)
{
    if (!readSources(c).ok) return unreadable();
    return inPlace(run(c.args[0]));
}

bool number(const std::string& s, int lo, int hi, int& out)
{
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && p == s.data() + s.size() && out >= lo && out <= hi;
}

// Both sides in one go; the second runs only when the first did not refuse.
CommandResult both(CommandResult a, const auto& second)
{
    if (a.status == CommandResult::Status::Refused || a.status == CommandResult::Status::Declined) return a;
    CommandResult b = second();
    if (b.status == CommandResult::Status::Refused || b.status == CommandResult::Status::Declined) return b;
    return a.done() || b.done() ? CommandResult::doneResult() : CommandResult::noChange();
}

struct Operation {
    const char* name;
    const char* args;
    const char* help;
    int minArgs;
    int maxArgs;
    Outcome (*run)(Context&);
    bool takesOptions = false; // reads its own --options among its arguments
};

const Operation kOperations[] = {
    {"to-liftplan", "", "Convert to liftplan form (Edit > Convert to Liftplan).", 0, 0,
     [](Context& c) { return inPlace(ConvertToLiftplan(kReplay, *c.doc, *c.prompter)); }},
    {"to-tieup", "", "Convert to tieup form, one treadle per distinct lift (Edit > Convert to Tieup).", 0, 0,
     [](Context& c) {
         // A draft in liftplan form without multiple treadles converts too.
         if (!c.doc->multipleTreadles() && c.doc->isLiftplan()) c.doc->SetMultipleTreadles(kReplay, true);
         return inPlace(ConvertToTieup(kReplay, *c.doc, *c.prompter));
     }},
    {"optimize", "", "Reduce to the shafts and treadles the draft needs (Tools > Optimize Draft).", 0, 0,
     [](Context& c) { return newDraft(OptimizeDraft(*c.doc, *c.prompter)); }},
    {"turn", "", "Exchange warp and weft (Turn Draft).", 0, 0,
     [](Context& c) { return inPlace(TurnDraft(kReplay, *c.doc, *c.prompter)); }},
    {"repeat", "N", "Repeat threading and treadling N times (2..100).", 1, 1,
     [](Context& c) {
         int n = 0;
         if (!number(c.args[0], 2, 100, n))
             return inPlace(CommandResult::refused(*c.prompter, "repeat: N must be 2..100"));
         return inPlace(both(RepeatThreads(kReplay, *c.doc, Side::Threading, n, *c.prompter),
                             [&] { return RepeatThreads(kReplay, *c.doc, Side::Treadling, n, *c.prompter); }));
     }},
    {"single-repeat", "", "Cut threading and treadling to one repeat each.", 0, 0,
     [](Context& c) { return inPlace(SingleRepeatDraft(kReplay, *c.doc)); }},
    {"reverse-threading", "", "Reverse the order of the ends.", 0, 0,
     [](Context& c) { return inPlace(ReverseThreads(kReplay, *c.doc, Side::Threading)); }},
    {"reverse-treadling", "", "Reverse the order of the picks.", 0, 0,
     [](Context& c) { return inPlace(ReverseThreads(kReplay, *c.doc, Side::Treadling)); }},
    {"flip-threading", "", "Reflect the threading about its last end: n ends become 2n - 1.", 0, 0,
     [](Context& c) { return inPlace(ReflectThreads(kReplay, *c.doc, Side::Threading, *c.prompter)); }},
    {"flip-treadling", "", "Reflect the treadling about its last pick: n picks become 2n - 1.", 0, 0,
     [](Context& c) { return inPlace(ReflectThreads(kReplay, *c.doc, Side::Treadling, *c.prompter)); }},
    {"tromp-as-writ", "", "Treadle as drawn in: pick i on the treadle numbered like end i's shaft.", 0, 0,
     [](Context& c) { return inPlace(TrompAsWrit(kReplay, *c.doc, false, *c.prompter)); }},
    {"arrange-parallel", "", "Arrange shafts and treadles in parallel order (the cloth stays the same).", 0, 0,
     [](Context& c) {
         return inPlace(both(Arrange(kReplay, *c.doc, Side::Threading, ArrangeKind::Parallel, *c.prompter), [&] {
             return Arrange(kReplay, *c.doc, Side::Treadling, ArrangeKind::Parallel, *c.prompter);
         }));
     }},
    {"arrange-sequential", "", "Arrange shafts and treadles in order of first use (the cloth stays the same).", 0, 0,
     [](Context& c) {
         return inPlace(both(Arrange(kReplay, *c.doc, Side::Threading, ArrangeKind::Sequential, *c.prompter), [&] {
             return Arrange(kReplay, *c.doc, Side::Treadling, ArrangeKind::Sequential, *c.prompter);
         }));
     }},
    {"direct-tieup", "", "Make the tieup direct: treadle i lifts shaft i.", 0, 0,
     [](Context& c) { return inPlace(DirectTieup(kReplay, *c.doc)); }},
    {"add-tabby", "G [add-treadles]",
     "Insert a tabby pick before every pick on treadles 1..G in turn (G 2..64), in\n"
     "white; with add-treadles G new treadles are put at the left first.",
     1, 2,
     [](Context& c) {
         AddTabbyOptions o;
         if (!number(c.args[0], 2, 64, o.groundTreadles))
             return inPlace(CommandResult::refused(*c.prompter, "add-tabby: G must be 2..64"));
         if (c.args.size() > 1) {
             if (c.args[1] != "add-treadles")
                 return inPlace(CommandResult::refused(*c.prompter, "add-tabby: unknown argument " + c.args[1]));
             o.addTreadles = true;
         }
         o.tabbyColor = 0xFFFFFF;
         return inPlace(AddTabby(kReplay, *c.doc, o, *c.prompter));
     }},
    {"double-width", "[right] [tubular] [shuttles=N] [picks=N]",
     "Fold into a double-width draft (two layers, folded on the left unless right).", 0, 4,
     [](Context& c) {
         DoubleWidthOptions o;
         for (const std::string& a : c.args) {
             if (a == "right") o.foldRight = true;
             else if (a == "tubular") o.tubular = true;
             else if (a.rfind("shuttles=", 0) == 0 && number(a.substr(9), 1, 6, o.shuttles)) continue;
             else if (a.rfind("picks=", 0) == 0 && number(a.substr(6), 1, 32768, o.picksPerUnit)) continue;
             else return inPlace(CommandResult::refused(*c.prompter, "double-width: unknown argument " + a));
         }
         return newDraft(DoubleWidth(*c.doc, o, *c.prompter));
     }},
    {"block-substitute", "STRUCTURE",
     "Substitute the blocks of this profile draft with the units and tieup keys of\n"
     "the weave structure STRUCTURE (Tools > Block Substitution).",
     1, 1, BlockSubstituteOperation},
    {"scale-line",
     "--height NH --length L [--base B] [--initial-height H] [--initial-width W] [--telescope] [--shaft-rule]",
     "Scale this pattern line to a network NH shafts high and L ends long\n"
     "(Tools > Scale Pattern Line); digitizes unless --telescope.",
     0, 16, ScaleLineOperation, true},
    {"network", "STRUCTURE --height NH [--ribbon W] [--template] [--no-ribbon-fill] [--background-fill]",
     "Plot this pattern line onto a network of NH shafts built from the initial of\n"
     "the weave structure STRUCTURE, in liftplan form (Tools > Plot onto Network).",
     1, 16, NetworkOperation, true},
    {"ribbon-template", "W", "Widen every pick into W consecutive treadles, 2..128 (Treadling > Ribbon Template).", 1,
     1, RibbonTemplateOperation},
    {"echo-threading", "K O",
     "Interleave the threading with K echoes (1..3) of itself, echo j putting every\n"
     "end j x O shafts higher (O 1..64, wrapping at the shaft count).",
     2, 2,
     [](Context& c) {
         EchoSettings e;
         if (!number(c.args[0], EchoSettings::kMinEchos, EchoSettings::kMaxEchos, e.numEchos)
             || !number(c.args[1], EchoSettings::kMinOffset, EchoSettings::kMaxOffset, e.offset))
             return inPlace(CommandResult::refused(*c.prompter, "echo-threading: K must be 1..3 and O 1..64"));
         return inPlace(EchoThreading(kReplay, *c.doc, e, *c.prompter));
     }},
    {"echo-treadling", "",
     "Copy the first weft's treadling into each further weft k, every treadle\n"
     "moved k places.",
     0, 0, [](Context& c) { return inPlace(EchoTreadling(kReplay, *c.doc, *c.prompter)); }},
    {"interleave-threading", "FILE [FILE [FILE]]",
     "Interleave the threading end by end with the threadings of the files.", 1, 3,
     [](Context& c) {
         return withSources(c,
                            [&](const auto& docs) { return InterleaveThreading(kReplay, *c.doc, docs, *c.prompter); });
     }},
    {"interleave-treadling", "FILE [FILE [FILE]]",
     "Interleave the treadling pick by pick with the treadlings of the files.", 1, 3,
     [](Context& c) {
         return withSources(c,
                            [&](const auto& docs) { return InterleaveTreadling(kReplay, *c.doc, docs, *c.prompter); });
     }},
    {"overlay", "FILE [FILE [FILE]]", "Combine the pegplans of the files into the treadling (Multiple Treadles on).", 1,
     3,
     [](Context& c) {
         return withSources(c, [&](const auto& docs) { return OverlayPegplan(kReplay, *c.doc, docs, *c.prompter); });
     }},
    {"append", "FILE", "Append the treadling of FILE after the last pick, colors included.", 1, 1,
     [](Context& c) {
         return withSources(c,
                            [&](const auto& docs) { return AppendTreadling(kReplay, *c.doc, *docs[0], *c.prompter); });
     }},
    {"expand-threading", "F", "Repeat every end F times in place (F 2..20).", 1, 1,
     [](Context& c) {
         int f = 0;
         if (!number(c.args[0], kMinExpandFactor, kMaxExpandFactor, f))
             return inPlace(CommandResult::refused(*c.prompter, "expand-threading: F must be 2..20"));
         return inPlace(ExpandThreads(kReplay, *c.doc, Side::Threading, f, *c.prompter));
     }},
    {"expand-treadling", "F", "Repeat every pick F times in place (F 2..20).", 1, 1,
     [](Context& c) {
         int f = 0;
         if (!number(c.args[0], kMinExpandFactor, kMaxExpandFactor, f))
             return inPlace(CommandResult::refused(*c.prompter, "expand-treadling: F must be 2..20"));
         return inPlace(ExpandThreads(kReplay, *c.doc, Side::Treadling, f, *c.prompter));
     }},
    {"import-threading", "FILE", "Take the threading of FILE (the draft's colors stay with their ends).", 1, 1,
     [](Context& c) {
         return importing(c, [&](const std::string& f) { return ImportThreading(kReplay, *c.doc, f, *c.prompter); });
     }},
    {"import-treadling", "FILE", "Take the treadling of FILE, in the draft's form.", 1, 1,
     [](Context& c) {
         return importing(c, [&](const std::string& f) { return ImportTreadling(kReplay, *c.doc, f, *c.prompter); });
     }},
    {"import-tieup", "FILE", "Take the tieup of FILE.", 1, 1,
     [](Context& c) {
         return importing(c, [&](const std::string& f) { return ImportTieup(kReplay, *c.doc, f, *c.prompter); });
     }},
    {"import-warp-colors", "FILE", "Take the palette of FILE and the colors of its warp.", 1, 1,
     [](Context& c) {
         return importing(
             c, [&](const std::string& f) { return ImportColorway(kReplay, *c.doc, Side::Threading, f, *c.prompter); });
     }},
    {"import-weft-colors", "FILE", "Take the palette of FILE and the colors of its weft.", 1, 1,
     [](Context& c) {
         return importing(
             c, [&](const std::string& f) { return ImportColorway(kReplay, *c.doc, Side::Treadling, f, *c.prompter); });
     }},
};

void list(std::ostream& out)
{
    for (const Operation& op : kOperations) {
        out << op.name;
        if (*op.args) out << ' ' << op.args;
        out << "\n    ";
        for (const char* h = op.help; *h; ++h) out << *h << (*h == '\n' ? "    " : "");
        out << '\n';
    }
}

void usage(std::ostream& out)
{
    out << "usage: quillaby-cli apply IN OUT OPERATION [ARGS] [--liftplan] [--yes]\n"
           "       quillaby-cli apply --list\n\n"
           "Reads IN, runs OPERATION and writes OUT (.wif or .qlb). Questions are answered\n"
           "No unless --yes is given. Exit status: 0 written, 1 a file cannot be read or\n"
           "written, 2 bad usage, 3 the operation was refused or declined (nothing written).\n";
}

bool draftExtension(const std::string& path)
{
    if (path.size() < 4) return false;
    std::string ext = path.substr(path.size() - 4);
    for (char& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return ext == ".wif" || ext == ".qlb";
}

} // namespace

int RunApply(int argc, char** argv)
{
    std::vector<std::string> words;
    bool liftplan = false, yes = false;
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--list") {
            list(std::cout);
            return kOk;
        }
        if (a == "--help" || a == "-h") {
            usage(std::cout);
            return kOk;
        }
        if (a == "--liftplan") liftplan = true;
        else if (a == "--yes") yes = true;
        else words.push_back(a);
    }
    // IN OUT OPERATION come first; options belong to the operations that take them.
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& a = words[i];
        if (a.size() < 2 || a[0] != '-') continue;
        const bool operationOption = i >= 3
            && std::any_of(std::begin(kOperations), std::end(kOperations),
                           [&](const Operation& o) { return o.takesOptions && words[2] == o.name; });
        if (!operationOption) {
            std::cerr << "quillaby-cli: apply: unknown option '" << a << "'\n";
            return kUsage;
        }
    }
    if (words.size() < 3) {
        usage(std::cerr);
        return kUsage;
    }
    const Operation* op = nullptr;
    for (const Operation& o : kOperations)
        if (words[2] == o.name) op = &o;
    if (!op) {
        std::cerr << "quillaby-cli: apply: unknown operation '" << words[2] << "' (see apply --list)\n";
        return kUsage;
    }
    const int nargs = static_cast<int>(words.size()) - 3;
    if (nargs < op->minArgs || nargs > op->maxArgs || !draftExtension(words[1])) {
        std::cerr << "usage: quillaby-cli apply IN OUT " << op->name << ' ' << op->args
                  << " (OUT ends in .wif or .qlb)\n";
        return kUsage;
    }

    CliPrompter prompter(yes);
    Context c;
    c.doc = std::make_unique<CQuillabyDoc>();
    c.args.assign(words.begin() + 3, words.end());
    c.prompter = &prompter;
    WifReadOptions options;
    options.liftplan = liftplan ? LiftplanChoice::Liftplan : LiftplanChoice::Treadling;
    std::string error;
    if (!ReadWifFile(words[0], *c.doc, prompter, options, &error)) {
        std::cerr << "quillaby-cli: cannot read " << words[0] << ": " << error << '\n';
        return kFileError;
    }
    Outcome out = op->run(c);
    if (out.exit) return *out.exit;
    using S = CommandResult::Status;
    if (out.result.status == S::Refused || out.result.status == S::Declined) return kRefused;
    if (out.makesNewDraft && !out.replacement) {
        std::cerr << "quillaby-cli: " << op->name << ": no draft could be made\n";
        return kRefused;
    }
    CQuillabyDoc& result = out.replacement ? *out.replacement : *c.doc;
    if (!WriteWifFile(result, words[1], &error)) {
        std::cerr << "quillaby-cli: cannot write " << error << '\n';
        return kFileError;
    }
    if (out.result.status == S::NoChange) std::cerr << "quillaby-cli: " << op->name << ": nothing to change\n";
    return kOk;
}
