#pragma once

// The menu actions of the core's whole-draft commands. Each is made for its
// table entry and carries the entry's id; choosing it asks what the command
// needs (its dialog, its file), then runs the entry on the active draft.
#include "core/transform/commandtable.h"
#include "ui/base/commandactions.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QObject;

namespace qb {

class CDraftWindow;
class IMainWindow;

// The table command a menu action runs; nothing for other actions.
std::optional<DraftCommandId> CommandIdOf(const QAction* a);

// What a command is given once the weaver has answered for it.
struct CommandRequest {
    CommandArgs args;
    // A question put before the command's dialog and answered Yes: the
    // command is not asked it a second time.
    std::string answered;
};

// Asks the weaver what a command needs on `w`'s draft and fills `request`;
// false when the weaver cancelled or was told why the command cannot run.
using CommandAsker = std::function<bool(CDraftWindow& w, IPrompter& prompter, CommandRequest& request)>;

class CTableCommands {
public:
    // `refresh` brings the holder's enabled and checked states up to date.
    // It runs before a command, which does not run while its action is
    // disabled, and after it.
    CTableCommands(IMainWindow* main, QObject* owner, std::function<void()> refresh);

    // The action of entry `id` under the menu text `text`. `ask` runs first;
    // a command without it runs straight away.
    QAction* make(DraftCommandId id, const char* text, CommandAsker ask = {});
    QAction* action(DraftCommandId id) const { return m_actions.action(id); }
    void enableAll(bool on) { m_actions.enableAll(on); }

    // Runs entry `id` on `w`'s draft: an in-place one is one undo step under
    // the entry's name and goes to afterCommand, a new draft opens in a
    // window of its own.
    CommandResult run(DraftCommandId id, CDraftWindow& w, const CommandRequest& request);

private:
    void choose(DraftCommandId id);

    IMainWindow* m_main;
    QObject* m_owner;
    std::function<void()> m_refresh;
    CommandActions<DraftCommandId> m_actions;
    std::map<DraftCommandId, CommandAsker> m_askers;
};

// A draft a command built, in a window of its own and not yet saved; null
// when there is no draft.
CDraftWindow* OpenNewDraft(IMainWindow* main, std::unique_ptr<CQuillabyDoc> draft);

} // namespace qb
