#pragma once

#include "core/transform/command.h"
#include "core/transform/networksettings.h"
#include "ui/base/commandactions.h"

#include <QObject>
#include <QString>

#include <map>

class QAction;
class QMenuBar;

namespace qb {

class CDraftWindow;
class IMainWindow;

// Profile drafting: the weave-structure parameters of a draft, block
// substitution and network drafting.
enum class ProfileCommand {
    WeaveStructure,    // "&Weave Structure..." (Tools)
    DefinesStructure,  // "De&fines Structure" (Tools, checked)
    BlockSubstitution, // "&Block Substitution..." (Tools)
    ScalePatternLine,  // "Scale Pattern &Line..." (Tools)
    PlotOntoNetwork,   // "Plot onto &Network..." (Tools)
    RibbonTemplate,    // "Ri&bbon Template..." (Treadling)
};

class CProfileCommands : public QObject {
    Q_OBJECT
public:
    explicit CProfileCommands(IMainWindow* main);

    static CProfileCommands* of(IMainWindow* main);
    QAction* action(ProfileCommand c) const;
    void updateStates();
    void addMenus();

    // The network settings as stored, with the plot's choices of this run.
    NetworkSettings networkSettings() const;
    void storeNetworkSettings(const NetworkSettings& s);

    // "&Block Substitution..." once the structure file is chosen; the new
    // draft's window, or null when nothing was made (the weaver was told why).
    CDraftWindow* substitute(CDraftWindow* profile, const QString& structurePath);

private:
    QAction* make(ProfileCommand c, const char* text, const char* tip, bool checkable = false);
    void run(ProfileCommand c);
    void weaveStructure(CDraftWindow* w);
    void definesStructure(CDraftWindow* w);
    void blockSubstitution(CDraftWindow* w);
    void scalePatternLine(CDraftWindow* w);
    void plotOntoNetwork(CDraftWindow* w);
    void ribbonTemplate(CDraftWindow* w);
    CDraftWindow* openNew(NewDraftResult r);

    IMainWindow* m_main;
    CommandActions<ProfileCommand> m_actions;
    // The plot's choices that are not stored settings, kept for the run.
    bool m_useRibbonTemplate = false;
    bool m_fillRibbon = true;
    bool m_fillBackground = false;
};

void AddProfileMenus(IMainWindow* main);

} // namespace qb
