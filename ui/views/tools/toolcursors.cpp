#include "toolcursors.h"

#include "toolstate.h"

#include "views/gridview.h"

namespace qb {

namespace {

Qt::CursorShape cursorFor(Tool t)
{
    switch (t) {
    case Tool::Pencil:
    case Tool::Line:
    case Tool::PaintBrush:
    case Tool::Selection: return Qt::CrossCursor;
    case Tool::PickupColor:
    case Tool::PaintBucket: return Qt::PointingHandCursor;
    case Tool::Stamp: return Qt::DragCopyCursor;
    case Tool::Move:
    case Tool::WarpInterlace:
    case Tool::WeftInterlace: return Qt::OpenHandCursor;
    case Tool::Zoom: return Qt::SizeAllCursor;
    }
    return Qt::ArrowCursor;
}

} // namespace

void UpdateToolCursor(CGridView* pane)
{
    pane->viewport()->setCursor(cursorFor(CToolState::instance().tool()));
}

} // namespace qb
