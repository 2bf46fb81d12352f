#pragma once

// The one list of the whole-draft commands: what the menus show as undo
// steps, what quillaby-cli apply offers, and how each runs from a list of
// arguments (the command line's words, or what a dialog chose).
#include "core/draft/quillabydoc.h"
#include "core/transform/command.h"
#include "core/transform/draftcommandid.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

using CommandArgs = std::vector<std::string>;

// What running an entry gave. A refusal of the arguments themselves, or of
// a file they name, is told through the prompter and marked, so that the
// command line can answer it as bad usage or an unreadable file.
struct CommandOutcome {
    enum class Problem {
        None,
        BadArguments, // not understood: the caller's usage is wrong
        UnreadableFile,
    };
    CommandResult result;
    std::unique_ptr<CQuillabyDoc> draft; // what a new-draft command made (null otherwise)
    Problem problem = Problem::None;

    static CommandOutcome inPlace(CommandResult r);
    static CommandOutcome newDraft(NewDraftResult r);
    // Refused with `message` told; `problem` as above.
    static CommandOutcome refused(IPrompter& prompter, std::string message, Problem problem = Problem::None);
};

enum class CommandKind {
    InPlace,  // changes the open draft: one undo step
    NewDraft, // builds a draft of its own; the open one stays as it was
};

using CommandFn = CommandOutcome (*)(Edit e, CQuillabyDoc& doc, const CommandArgs& args, IPrompter& prompter);

struct CommandEntry {
    DraftCommandId id;
    const char* undoName; // the step's name in the Edit menu ("Repeat Threading")
    const char* cliName;  // quillaby-cli apply's name ("repeat-threading")
    const char* synopsis; // its arguments ("N|single"); empty when it takes none
    const char* help;     // lines joined by '\n'
    CommandKind kind;
    int minArgs;
    int maxArgs;
    // Argument lists that run on an ordinary draft; "{draft}", "{picture}"
    // and "{structure}" stand for the files such an argument names.
    std::vector<CommandArgs> examples;
    CommandFn run;

    // Whether its arguments include --options (the rest of the command line
    // rejects them).
    bool takesOptions() const;
};

// Every entry, in the order of DraftCommandId.
const std::vector<CommandEntry>& CommandTable();
const CommandEntry& CommandFor(DraftCommandId id);
// Null when no entry has that name.
const CommandEntry* FindCommand(std::string_view cliName);

// Runs an entry: the argument count is checked first, an in-place command is
// one undo step named as the entry says, a new-draft command leaves `doc`
// and its history alone.
CommandOutcome RunCommand(const CommandEntry& entry, CQuillabyDoc& doc, const CommandArgs& args, IPrompter& prompter);

} // namespace qb
