#pragma once

#include "ui/base/commandactions.h"

#include <QObject>
#include <QPointer>

#include <map>

class QAction;
class QMenu;
class QMenuBar;

namespace qb {

class CPictureWindow;
class IMainWindow;

// The graphic documents of a main window: File Open of .bmp, .jpg/.jpeg,
// .tif/.tiff and .png files, "Open Graphic...", and the Edit, View and Tools
// menus the bar shows while a picture window is active.
class CPictureCommands : public QObject {
    Q_OBJECT
public:
    enum class Command {
        Undo,
        Redo,
        Crop,
        Deselect,
        GridSquares,
        ZoomIn,
        ZoomOut,
        FitInWindow,
        Rotate,
        Grayscale,
        BrightnessContrast,
        GenerateDraft,
        SelectionTool,
        ZoomTool,
        PickupTool,
    };

    explicit CPictureCommands(IMainWindow* main);

    // The commands of a main window (null before AddPictureCommands).
    static CPictureCommands* of(IMainWindow* main);

    QAction* action(Command c) const;
    QList<QMenu*> menus() const { return m_menus; }

    // Shows the picture file in a new window; false (the user told why)
    // when it cannot be read.
    bool openPicture(const QString& path);
    // The picture window that is active (or on top), else null.
    CPictureWindow* activeWindow() const;
    void updateStates();

private:
    void run(Command c);
    QAction* make(Command c, const QString& text, QMenu* menu);
    void brightnessContrast(CPictureWindow* w);

    IMainWindow* m_main;
    CommandActions<Command> m_actions;
    QList<QMenu*> m_menus;
    QPointer<CPictureWindow> m_watched;
};

// One call in the main window's createMenus(): registers the graphic document
// type and adds "Open &Graphic..." to the File menu.
void AddPictureCommands(IMainWindow* main);

} // namespace qb
