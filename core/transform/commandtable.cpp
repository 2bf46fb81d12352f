#include "core/transform/commandtable.h"

#include "core/draft/quillabydoc.h"
#include "core/transform/commandentries.h"

#include <algorithm>
#include <cstring>

namespace qb {

CommandOutcome CommandOutcome::inPlace(CommandResult r)
{
    CommandOutcome out;
    out.result = std::move(r);
    return out;
}

CommandOutcome CommandOutcome::newDraft(NewDraftResult r)
{
    CommandOutcome out;
    out.result = std::move(r.result);
    out.draft = std::move(r.draft);
    return out;
}

CommandOutcome CommandOutcome::refused(IPrompter& prompter, std::string message, Problem problem)
{
    CommandOutcome out;
    out.result = CommandResult::refused(prompter, std::move(message));
    out.problem = problem;
    return out;
}

bool CommandEntry::takesOptions() const
{
    return std::strstr(synopsis, "--") != nullptr;
}

const std::vector<CommandEntry>& CommandTable()
{
    static const std::vector<CommandEntry> table = [] {
        std::vector<CommandEntry> all;
        for (auto family : {SequenceCommandEntries, TieupCommandEntries, DrawdownCommandEntries, CombineCommandEntries,
                            ProfileCommandEntries})
            for (CommandEntry& e : family()) all.push_back(std::move(e));
        std::stable_sort(all.begin(), all.end(), [](const CommandEntry& a, const CommandEntry& b) {
            return static_cast<int>(a.id) < static_cast<int>(b.id);
        });
        return all;
    }();
    return table;
}

const CommandEntry& CommandFor(DraftCommandId id)
{
    const auto& table = CommandTable();
    const auto it = std::lower_bound(table.begin(), table.end(), id, [](const CommandEntry& e, DraftCommandId v) {
        return static_cast<int>(e.id) < static_cast<int>(v);
    });
    // Every id has its entry (the table's test holds it to that).
    return *it;
}

const CommandEntry* FindCommand(std::string_view cliName)
{
    for (const CommandEntry& e : CommandTable())
        if (cliName == e.cliName) return &e;
    return nullptr;
}

CommandOutcome RunCommand(const CommandEntry& entry, CQuillabyDoc& doc, const CommandArgs& args, IPrompter& prompter)
{
    const int n = static_cast<int>(args.size());
    if (n < entry.minArgs || n > entry.maxArgs) {
        const std::string count = entry.minArgs == entry.maxArgs
            ? std::to_string(entry.minArgs)
            : std::to_string(entry.minArgs) + ".." + std::to_string(entry.maxArgs);
        return CommandOutcome::refused(prompter, std::string(entry.cliName) + ": takes " + count + " arguments",
                                       CommandOutcome::Problem::BadArguments);
    }
    if (entry.kind == CommandKind::NewDraft) return entry.run(kUnrecorded, doc, args, prompter);
    CommandOutcome out;
    doc.Transaction(entry.undoName, [&](Edit e) { out = entry.run(e, doc, args, prompter); });
    return out;
}

} // namespace qb
