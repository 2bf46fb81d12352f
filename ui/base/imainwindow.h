#pragma once

#include "ui/base/cellscale.h"
#include "ui/base/documentwindow.h"
#include "ui/base/menuid.h"

#include <QList>
#include <QMainWindow>
#include <QString>

#include <memory>

class QMenu;
class QMdiArea;
class QMdiSubWindow;

namespace qb {

class CDraftWindow;
class CGridFrame;
class CQuillabyDoc;
class CStoredSettings;
struct CommandResult;
struct NewDraftDefaults;

// What the menus, commands and loom control need of the main window, so
// that they do not depend on the window that creates them.
class IMainWindow {
public:
    virtual ~IMainWindow() = default;

    virtual QMainWindow* window() = 0;
    virtual QMdiArea* mdiArea() const = 0;
    virtual const CStoredSettings& settings() const = 0;
    // For commands that remember their last-used parameters.
    virtual CStoredSettings& settingsMutable() = 0;

    virtual CDraftWindow* activeDraftWindow() const = 0;
    // The grid frame of the active MDI child (the draft frame or a further
    // window on a draft), or null.
    virtual CGridFrame* activeGridFrame() const = 0;
    virtual QList<CDraftWindow*> draftWindows() const = 0;
    // Shows a document in a new MDI child; `path` empty for an untitled one.
    virtual CDraftWindow* addDocumentWindow(std::unique_ptr<CQuillabyDoc> doc, const QString& path) = 0;
    // What a new draft starts from: the stored loom defaults and the default palette.
    virtual NewDraftDefaults newDraftDefaults() const = 0;
    // The cell sizes draft windows start from on this screen.
    virtual CellScale cellScale() const = 0;

    // The one way a file gets opened; false when it did not open (the user
    // was told why).
    virtual bool openFile(const QString& path) = 0;
    // Another kind of document, opened through the one open path (File Open,
    // recent files, dropped files, the command line, a second start).
    virtual void addDocumentType(DocumentType type) = 0;
    // Shows the window of such a document (a QWidget that is an
    // IDocumentWindow) in a new MDI child and activates it.
    virtual QMdiSubWindow* showDocumentWindow(QWidget* window) = 0;

    // A message for the weaver, and a Yes/No question (true for Yes).
    virtual void tell(const QString& text) = 0;
    virtual bool ask(const QString& question) = 0;
    // The Options sheet at its loom page.
    virtual void showLoomOptions() = 0;

    // A menu of the main window; submenus only once the feature that makes
    // them has registered them (null before).
    virtual QMenu* menu(MenuId id) const = 0;
    virtual void registerMenu(MenuId id, QMenu* submenu) = 0;
    // "Set Default Palette": the active draft's palette for every new draft.
    virtual bool setDefaultPaletteFromActive() = 0;
    // After a command changed `doc` as one step: the windows on it brought up
    // to date, the active one fitted when the command asks for it.
    virtual void afterCommand(CQuillabyDoc& doc, const CommandResult& r) = 0;
};

} // namespace qb
