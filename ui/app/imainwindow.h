#pragma once

#include <QList>
#include <QMainWindow>
#include <QString>

#include <memory>


class QMdiArea;

namespace qb {

class CDraftWindow;
class CGridFrame;
class CQuillabyDoc;
class CStoredSettings;

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

    // A message for the weaver, and a Yes/No question (true for Yes).
    virtual void tell(const QString& text) = 0;
    virtual bool ask(const QString& question) = 0;
    // The Options sheet at its loom page.
    virtual void showLoomOptions() = 0;
};

} // namespace qb
