#pragma once

#include "ui/base/commandactions.h"

#include <QObject>

#include <map>

class QAction;
class QMenuBar;

namespace qb {

class CDraftWindow;
class IMainWindow;

// The commands that combine the open draft with itself or with other draft
// files, or take one part of another file.
enum class CombineCommand {
    EchoThreading,
    InterleaveThreading,
    ExpandThreading,
    ImportThreading,
    EchoTreadling,
    InterleaveTreadling,
    OverlayPegplan,
    AppendTreadling,
    ExpandTreadling,
    ImportTreadling,
    ImportTieup,
    ImportWarpColorway,
    ImportWeftColorway,
};

// Puts them on the Threading, Treadling and Tieup menus and the Color menu's
// Import submenu; each change of the draft is one named undo step.
class CCombineCommands : public QObject {
    Q_OBJECT
public:
    explicit CCombineCommands(IMainWindow* main);

    static CCombineCommands* of(IMainWindow* main);
    QAction* action(CombineCommand c) const;
    void updateStates();
    void addMenus();

    // The imports once their file is chosen (the menu commands ask for it
    // first); false when the draft did not change.
    bool importFrom(CombineCommand c, const QString& path);

private:
    void run(CombineCommand c);
    void merge(CombineCommand c, CDraftWindow* w);
    QAction* make(CombineCommand c, const char* text, const char* tip = nullptr);

    IMainWindow* m_main;
    CommandActions<CombineCommand> m_actions;
};

void AddCombineMenus(IMainWindow* main);

} // namespace qb
