#pragma once

// What the apply operations share: exit codes, the prompter, the operation's
// context and its outcome.
#include "core/draft/quillabydoc.h"
#include "core/transform/command.h"

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qbcli {

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

struct Context {
    std::unique_ptr<CQuillabyDoc> doc;
    std::vector<std::string> args; // everything after the operation's name
    CliPrompter* prompter;
};

// The result of an operation: the open draft changed in place, or a new one.
// `exit` set: stop with that status (the reason was printed).
struct Outcome {
    CommandResult result;
    std::unique_ptr<CQuillabyDoc> replacement;
    bool makesNewDraft = false;
    std::optional<int> exit;
};

inline Outcome inPlace(CommandResult r)
{
    return {std::move(r), nullptr, false, std::nullopt};
}
inline Outcome newDraft(NewDraftResult r)
{
    return {std::move(r.result), std::move(r.draft), true, std::nullopt};
}
inline Outcome stopWith(int status)
{
    return {CommandResult::noChange(), nullptr, false, status};
}

} // namespace qbcli
