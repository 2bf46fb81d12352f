#pragma once

#include "core/transform/draftcommandid.h"
#include "core/transform/networksettings.h"
#include "ui/base/commandactions.h"
#include "ui/views/tablecommands.h"

#include <QObject>
#include <QString>

class QAction;

namespace qb {

class CDraftWindow;
class IMainWindow;

// The profile commands that set the draft's weave-structure parameters; block
// substitution, network drafting and the ribbon template are the table's.
enum class ProfileCommand {
    WeaveStructure,   // "&Weave Structure..." (Tools)
    DefinesStructure, // "De&fines Structure" (Tools, checked)
};

// Profile drafting: the weave-structure parameters of a draft, block
// substitution and network drafting.
class CProfileCommands : public QObject {
    Q_OBJECT
public:
    explicit CProfileCommands(IMainWindow* main);

    static CProfileCommands* of(IMainWindow* main);
    QAction* action(ProfileCommand c) const { return m_actions.action(c); }
    QAction* action(DraftCommandId c) const { return m_table.action(c); }
    void updateStates();
    void addMenus();

    // The network settings as stored, with the plot's choices of this run.
    NetworkSettings networkSettings() const;
    void storeNetworkSettings(const NetworkSettings& s);

private:
    QAction* make(ProfileCommand c, const char* text, const char* tip, bool checkable = false);
    void run(ProfileCommand c);
    void weaveStructure(CDraftWindow* w);
    void definesStructure(CDraftWindow* w);
    // What the table's commands ask before they run.
    bool askSubstitution(CDraftWindow& w, IPrompter& prompter, CommandRequest& r);
    bool askPatternLine(CommandRequest& r);
    bool askNetwork(IPrompter& prompter, CommandRequest& r);
    bool askRibbonWidth(CommandRequest& r);

    IMainWindow* m_main;
    CTableCommands m_table;
    CommandActions<ProfileCommand> m_actions;
    // The plot's choices that are not stored settings, kept for the run.
    bool m_useRibbonTemplate = false;
    bool m_fillRibbon = true;
    bool m_fillBackground = false;
};

void AddProfileMenus(IMainWindow* main);

} // namespace qb
