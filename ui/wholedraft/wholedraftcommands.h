#pragma once

#include "core/draft/side.h"
#include "core/transform/draftcommandid.h"
#include "ui/base/commandactions.h"
#include "ui/views/tablecommands.h"

#include <QObject>

class QAction;
class QImage;

namespace qb {

class CDraftWindow;
class CGridFrame;
class IMainWindow;

// The commands of these menus that need the screen and not the draft alone:
// a pane's Label dialog, the frame's fabric analysis and the clipboard.
enum class ScreenCommand {
    ThreadingLabel,
    TreadlingLabel,
    PasteLiftplan,
    FabricAnalysis,
};

// The whole-draft commands of the Threading, Treadling, Tieup and Drawdown
// menus and those they add to the File, Edit and Tools menus. The table's
// commands ask what they need and run their entry; questions and messages go
// through the main window.
class CWholeDraftCommands : public QObject {
    Q_OBJECT
public:
    explicit CWholeDraftCommands(IMainWindow* main);
    ~CWholeDraftCommands() override;

    // The commands of a main window (null before AddWholeDraftMenus).
    static CWholeDraftCommands* of(IMainWindow* main);

    QAction* action(DraftCommandId c) const { return m_table.action(c); }
    QAction* action(ScreenCommand c) const { return m_screen.action(c); }
    // Enabled and checked states for the active draft.
    void updateStates();

    // The picture commands after their picture was found; false when the
    // draft did not change.
    bool pasteLiftplan();
    bool loadLiftplanFile(const QString& path);

    // Fills the main window's menus (called once when it is made).
    void addMenus();

private:
    struct Context {
        CDraftWindow* window = nullptr;
        CQuillabyDoc* doc = nullptr;
        CGridFrame* frame = nullptr;
    };
    bool context(Context& c) const;
    void makeTableActions();
    QAction* make(ScreenCommand c, const char* text, bool checkable = false);
    void run(ScreenCommand c);
    void editLabel(const Context& c, Side side);
    void toggleFabricAnalysis(const Context& c, IPrompter& prompter);
    bool liftplanFromImage(const QImage& image);
    // Load Liftplan's arguments for a picture file.
    CommandArgs liftplanArgs(const QString& path) const;

    IMainWindow* m_main;
    CTableCommands m_table;
    CommandActions<ScreenCommand> m_screen;
};

// One call in the main window's createMenus().
void AddWholeDraftMenus(IMainWindow* main);

} // namespace qb
