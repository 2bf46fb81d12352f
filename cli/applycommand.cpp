// quillaby-cli apply: the whole-draft commands that need no mouse, so a
// folder of drafts can be converted in a script. The commands and their
// arguments are the core's command table.
#include "cli/applycommand.h"

#include "core/draft/iprompter.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/commandargs.h"
#include "core/transform/commandtable.h"
#include "core/wif/wifreader.h"
#include "core/wif/wifwriter.h"

#include <algorithm>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace qb;

constexpr int kOk = 0;
constexpr int kFileError = 1;
constexpr int kUsage = 2;
constexpr int kRefused = 3;

// Questions are answered by --yes (default No); messages go to stderr.
class CliPrompter final : public IPrompter {
public:
    explicit CliPrompter(bool yes) : m_yes(yes) {}
    bool ask(const std::string& q) override
    {
        std::cerr << "quillaby-cli: " << q << (m_yes ? " (answered Yes)\n" : " (answered No)\n");
        return m_yes;
    }
    void tell(const std::string& text) override { std::cerr << "quillaby-cli: " << text << '\n'; }

private:
    bool m_yes;
};

// The command line's conveniences: one table entry on the threading, then
// its twin on the treadling, with the same argument.
struct BothSides {
    const char* name;
    const char* synopsis;
    const char* help;
    DraftCommandId threading;
    DraftCommandId treadling;
    const char* argument; // given to both; null: N 2..100 from the command line
};

const BothSides kBothSides[] = {
    {"repeat", "N", "Repeat threading and treadling N times (2..100): repeat-threading N, then\nrepeat-treadling N.",
     DraftCommandId::ThreadingRepeat, DraftCommandId::TreadlingRepeat, nullptr},
    {"arrange-parallel", "",
     "Arrange shafts and treadles in parallel order (the cloth stays the same):\n"
     "arrange-threading parallel, then arrange-treadling parallel.",
     DraftCommandId::ThreadingArrange, DraftCommandId::TreadlingArrange, "parallel"},
    {"arrange-sequential", "",
     "Arrange shafts and treadles in order of first use (the cloth stays the same):\n"
     "arrange-threading sequential, then arrange-treadling sequential.",
     DraftCommandId::ThreadingArrange, DraftCommandId::TreadlingArrange, "sequential"},
};

// What the command line calls an operation: a table entry or a convenience.
struct Operation {
    const char* name = nullptr;
    const char* synopsis = "";
    int minArgs = 0;
    int maxArgs = 0;
    bool takesOptions = false;
    const CommandEntry* entry = nullptr;
    const BothSides* both = nullptr;
};

bool findOperation(const std::string& name, Operation& op)
{
    if (const CommandEntry* e = FindCommand(name)) {
        op = {e->cliName, e->synopsis, e->minArgs, e->maxArgs, e->takesOptions(), e, nullptr};
        return true;
    }
    for (const BothSides& b : kBothSides)
        if (name == b.name) {
            const int n = b.argument ? 0 : 1;
            op = {b.name, b.synopsis, n, n, false, nullptr, &b};
            return true;
        }
    return false;
}

bool stops(const CommandOutcome& o)
{
    using S = CommandResult::Status;
    return o.problem != CommandOutcome::Problem::None || o.result.status == S::Refused
        || o.result.status == S::Declined;
}

// Both sides in one go; the second runs only when the first did not stop.
CommandOutcome runBoth(const BothSides& b, CQuillabyDoc& doc, const CommandArgs& args, IPrompter& prompter)
{
    CommandArgs side = b.argument ? CommandArgs{b.argument} : args;
    int n = 0;
    if (!b.argument && !ParseNumberArg(args[0], 2, 100, n)) return RefuseArgs(prompter, b.name, "N must be 2..100");
    CommandOutcome first = CommandFor(b.threading).run(kUnrecorded, doc, side, prompter);
    if (stops(first)) return first;
    CommandOutcome second = CommandFor(b.treadling).run(kUnrecorded, doc, side, prompter);
    if (stops(second)) return second;
    return CommandOutcome::inPlace(first.result.done() || second.result.done() ? CommandResult::doneResult()
                                                                               : CommandResult::noChange());
}

CommandOutcome runOperation(const Operation& op, CQuillabyDoc& doc, const CommandArgs& args, IPrompter& prompter)
{
    if (op.both) return runBoth(*op.both, doc, args, prompter);
    // A draft in liftplan form without multiple treadles converts too, one
    // treadle per distinct lift.
    if (op.entry->id == DraftCommandId::ConvertToTieup && !doc.multipleTreadles() && doc.isLiftplan())
        doc.SetMultipleTreadles(kUnrecorded, true);
    return op.entry->run(kUnrecorded, doc, args, prompter);
}

void printHelp(std::ostream& out, const char* name, const char* synopsis, const char* help)
{
    out << name;
    if (*synopsis) out << ' ' << synopsis;
    out << "\n    ";
    for (const char* h = help; *h; ++h) out << *h << (*h == '\n' ? "    " : "");
    out << '\n';
}

void list(std::ostream& out)
{
    for (const CommandEntry& e : CommandTable()) printHelp(out, e.cliName, e.synopsis, e.help);
    for (const BothSides& b : kBothSides) printHelp(out, b.name, b.synopsis, b.help);
}

void usage(std::ostream& out)
{
    out << "usage: quillaby-cli apply IN OUT OPERATION [ARGS] [--liftplan] [--yes]\n"
           "       quillaby-cli apply --list\n\n"
           "Reads IN, runs OPERATION and writes OUT (.wif or .qlb). Questions are answered\n"
           "No unless --yes is given. Exit status: 0 written, 1 a file cannot be read or\n"
           "written, 2 bad usage, 3 the operation was refused or declined (nothing written).\n";
}

void operationUsage(std::ostream& out, const Operation& op)
{
    out << "usage: quillaby-cli apply IN OUT " << op.name << ' ' << op.synopsis << " (OUT ends in .wif or .qlb)\n";
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
    Operation op;
    const bool known = words.size() >= 3 && findOperation(words[2], op);
    // IN OUT OPERATION come first; options belong to the operations that take them.
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& a = words[i];
        if (a.size() < 2 || a[0] != '-') continue;
        if (i < 3 || !known || !op.takesOptions) {
            std::cerr << "quillaby-cli: apply: unknown option '" << a << "'\n";
            return kUsage;
        }
    }
    if (words.size() < 3) {
        usage(std::cerr);
        return kUsage;
    }
    if (!known) {
        std::cerr << "quillaby-cli: apply: unknown operation '" << words[2] << "' (see apply --list)\n";
        return kUsage;
    }
    const CommandArgs args(words.begin() + 3, words.end());
    const int nargs = static_cast<int>(args.size());
    if (nargs < op.minArgs || nargs > op.maxArgs || !draftExtension(words[1])) {
        operationUsage(std::cerr, op);
        return kUsage;
    }

    CliPrompter prompter(yes);
    auto doc = std::make_unique<CQuillabyDoc>();
    WifReadOptions options;
    options.liftplan = liftplan ? LiftplanChoice::Liftplan : LiftplanChoice::Treadling;
    std::string error;
    if (!ReadWifFile(words[0], *doc, prompter, options, &error)) {
        std::cerr << "quillaby-cli: cannot read " << words[0] << ": " << error << '\n';
        return kFileError;
    }
    CommandOutcome out = runOperation(op, *doc, args, prompter);
    using P = CommandOutcome::Problem;
    if (out.problem == P::UnreadableFile) return kFileError;
    if (out.problem == P::BadArguments) {
        operationUsage(std::cerr, op);
        return kUsage;
    }
    using S = CommandResult::Status;
    if (out.result.status == S::Refused || out.result.status == S::Declined) return kRefused;
    const bool makesNewDraft = op.entry && op.entry->kind == CommandKind::NewDraft;
    if (makesNewDraft && !out.draft) {
        std::cerr << "quillaby-cli: " << op.name << ": no draft could be made\n";
        return kRefused;
    }
    CQuillabyDoc& result = out.draft ? *out.draft : *doc;
    if (!WriteWifFile(result, words[1], &error)) {
        std::cerr << "quillaby-cli: cannot write " << error << '\n';
        return kFileError;
    }
    if (out.result.status == S::NoChange) std::cerr << "quillaby-cli: " << op.name << ": nothing to change\n";
    return kOk;
}
