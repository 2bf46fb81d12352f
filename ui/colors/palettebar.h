#pragma once

#include "ui/base/colorbutton.h"
#include "ui/views/draftwindow.h"

#include <QColor>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

class QMenuBar;

namespace qb {

class CDraftWindow;
class CQuillabyDoc;
class IMainWindow;

// The palette bar: the left and right mouse-button colors and one swatch per
// color of the active draft's palette (three to a row). A left click on a
// swatch gives it to the left button, a right click to the right button; a
// click on a button color chooses a new color for that button.
class CColorPaletteBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSwatches = 90;

    CColorPaletteBar(IMainWindow* main, QWidget* parent = nullptr);

    // Shows the palette of this draft (null: none).
    void showDraft(CDraftWindow* w);
    CDraftWindow* draft() const { return m_draft; }
    void refresh();

    CColorButton* buttonColor(bool right) const { return right ? m_right : m_left; }
    CColorButton* swatch(int i) const { return m_swatches[i]; }
    int visibleSwatches() const;

    // "Choose &New...": asks for a color and gives it to the selected button.
    // False when nothing changed.
    bool chooseNew();

private:
    void swatchClicked(int i, Qt::MouseButton b);

    IMainWindow* m_main;
    QPointer<CDraftWindow> m_draft;
    QMetaObject::Connection m_watch;
    CColorButton* m_left;
    CColorButton* m_right;
    CColorButton* m_swatches[kSwatches];
};

// The Color menu and the palette bar's dock.
void AddColorMenus(IMainWindow* main);
// The palette bar of the main window, or null.
CColorPaletteBar* PaletteBarOf(IMainWindow* main);
// Recolors warp row 1 (weft row 1) as one undo step: solid in `second`, or
// the pattern starting with `second` and alternating with `first`.
void FillThreads(CDraftWindow* w, bool warp, int pattern, int first, int second);

} // namespace qb
