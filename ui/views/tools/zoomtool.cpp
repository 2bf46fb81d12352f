#include "ui/views/tools/zoomtool.h"

#include "ui/views/tools/panetool.h"

#include "ui/views/gridview.h"

#include <QScrollBar>

namespace qb {

bool CZoomTool::press(const ToolPress& p, bool&)
{
    CGridView* pane = host().pane();
    const bool out = (p.button == 1) != p.shift();
    const QPoint item = host().itemAt(p.pos);
    if (out) pane->frame()->zoomOut();
    else pane->frame()->zoomIn();
    const QPoint moved = pane->itemRect(item.x(), item.y()).center() - p.pos;
    pane->horizontalScrollBar()->setValue(pane->horizontalScrollBar()->value() + moved.x());
    pane->verticalScrollBar()->setValue(pane->verticalScrollBar()->value() + moved.y());
    return true;
}

} // namespace qb
