// quillaby-cli apply: the whole-draft commands that need no mouse, so a
// folder of drafts can be converted in a script.
#include "applycommand.h"

#include "applytypes.h"
#include "profileoperations.h"

#include "draft/quillabydoc.h"
#include "transform/addtabby.h"
#include "transform/arrange.h"
#include "transform/doublewidth.h"
#include "transform/optimize.h"
#include "transform/repeat.h"
#include "transform/sequenceops.h"
#include "transform/tieupops.h"
#include "transform/turndraft.h"
#include "iprompter.h"
#include "wif/wifreader.h"
#include "wif/wifwriter.h"

#include <algorithm>
#include <charconv>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace qb;
using namespace qbcli;

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
         if (!number(c.args[0], 2, 100, n)) return inPlace(CommandResult::refused(*c.prompter, "repeat: N must be 2..100"));
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
     "white; with add-treadles G new treadles are put at the left first.", 1, 2,
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
     "the weave structure STRUCTURE (Tools > Block Substitution).", 1, 1, BlockSubstituteOperation},
    {"scale-line", "--height NH --length L [--base B] [--initial-height H] [--initial-width W] [--telescope] [--shaft-rule]",
     "Scale this pattern line to a network NH shafts high and L ends long\n"
     "(Tools > Scale Pattern Line); digitizes unless --telescope.", 0, 16, ScaleLineOperation, true},
    {"network", "STRUCTURE --height NH [--ribbon W] [--template] [--no-ribbon-fill] [--background-fill]",
     "Plot this pattern line onto a network of NH shafts built from the initial of\n"
     "the weave structure STRUCTURE, in liftplan form (Tools > Plot onto Network).", 1, 16, NetworkOperation, true},
    {"ribbon-template", "W",
     "Widen every pick into W consecutive treadles, 2..128 (Treadling > Ribbon Template).", 1, 1,
     RibbonTemplateOperation},
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
        const bool operationOption = i >= 3 && std::any_of(std::begin(kOperations), std::end(kOperations), [&](const Operation& o) {
                                         return o.takesOptions && words[2] == o.name;
                                     });
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
