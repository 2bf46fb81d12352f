#pragma once

#include "ui/views/gridframe.h"

#include <QCursor>

namespace qb {

class CGridView;
enum class Tool;

// The look of a tool's cursor: erasing (the pencil and line with Shift or
// the right button; the bucket and brush with the right button's color) and
// the warp or weft row the modifier keys choose (0..3).
struct CursorVariant {
    bool erase = false;
    int row = 0;
    bool operator==(const CursorVariant&) const = default;
};

// The cursor of a tool, drawn for the given device pixel ratio so that it
// stays sharp on scaled screens, with its hot spot where the tool acts. The
// move and interlacement tools share the open hand.
QCursor ToolCursor(Tool t, CursorVariant v, qreal devicePixelRatio);

// Whether a tool does anything in a pane (a pane that does not take the
// current tool shows the stamp's cursor).
bool PaneTakesTool(PaneKind pane, Tool t, bool liftplan);

// Gives the pane's viewport the cursor of the current tool for the modifier
// keys held and the button pressed (0 none, 1 left, 2 right).
void UpdateToolCursor(CGridView* pane, Qt::KeyboardModifiers mods, int button = 0);
void UpdateToolCursor(CGridView* pane);

} // namespace qb
