#pragma once

#include "core/transform/command.h"
#include "ui/base/commandactions.h"
#include "ui/views/gridframe.h"

#include <QObject>

#include <functional>
#include <map>
#include <memory>
#include <string>

class QAction;
class QImage;
class QMenu;
class QMenuBar;

namespace qb {

class CDraftWindow;
class IMainWindow;
struct PixelGrid;

// The whole-draft commands of the Threading, Treadling, Tieup and Drawdown
// menus and those they add to the File, Edit and Tools menus.
enum class DraftCommand {
    ThreadingRepeat,
    ThreadingReflect,
    ThreadingReverse,
    ThreadingWrapUp,
    ThreadingWrapDown,
    ThreadingWrapRight,
    ThreadingWrapLeft,
    ThreadingClear,
    ThreadingLabel,
    ThreadingClearLabels,
    ThreadingArrange,
    ThreadingRemove,
    ThreadingOptimize,
    UseWeftColors,
    TreadlingRepeat,
    TreadlingReflect,
    TreadlingReverse,
    TreadlingWrapRight,
    TreadlingWrapLeft,
    TreadlingWrapUp,
    TreadlingWrapDown,
    TreadlingClear,
    TreadlingLabel,
    TreadlingClearLabels,
    TreadlingArrange,
    TreadlingRemove,
    TreadlingOptimize,
    TrompAsWrit,
    MirrorThreading,
    UseWarpColors,
    MultipleTreadles,
    AddTabby,
    PasteLiftplan,
    LoadLiftplan,
    TieupDirect,
    TieupInvert,
    TieupClear,
    ConvertToLiftplan,
    ConvertToTieup,
    FabricAnalysis,
    SuperSize,
    SingleRepeat,
    TurnDraft,
    StraightenThreading,
    StraightenTreadling,
    OptimizeDraft,
    DoubleWidth,
};

// Runs the commands on the active draft, each as one named undo step;
// questions and messages go through the main window, and a command that
// builds a new draft opens it in a window of its own.
class CWholeDraftCommands : public QObject {
    Q_OBJECT
public:
    explicit CWholeDraftCommands(IMainWindow* main);
    ~CWholeDraftCommands() override;

    // The commands of a main window (null before AddWholeDraftMenus).
    static CWholeDraftCommands* of(IMainWindow* main);

    QAction* action(DraftCommand c) const;
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
    // The name of the command's step in the Edit menu.
    std::string undoName(DraftCommand c) const;
    // Runs a command on the open draft as one named undo step, then refreshes.
    CommandResult step(const Context& c, DraftCommand cmd, const std::function<CommandResult(Edit)>& fn);
    void run(DraftCommand c);
    void runSide(DraftCommand c, const Context& ctx, IPrompter& prompter);
    bool liftplanFromImage(const QImage& image, DraftCommand cmd);
    bool liftplanFromPicture(const PixelGrid& grid, DraftCommand cmd);
    // Shows a draft a command built; true when a window opened.
    bool openNew(NewDraftResult r);
    void toggleFabricAnalysis(const Context& c, IPrompter& prompter);
    QAction* make(DraftCommand c, const char* text, bool checkable = false);

    IMainWindow* m_main;
    CommandActions<DraftCommand> m_actions;
};

// One call in the main window's createMenus().
void AddWholeDraftMenus(IMainWindow* main);

} // namespace qb
