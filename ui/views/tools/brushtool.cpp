#include "ui/views/tools/brushtool.h"

#include "ui/views/tools/panetool.h"

namespace qb {

bool CBrushTool::press(const ToolPress& p, bool& drag)
{
    if (!host().threadPane() || p.hit.area == PaneHit::Outside) return true;
    m_row = RowForModifiers(p.mods, false);
    drag = true;
    paint(p.hit, p.button);
    return true;
}

void CBrushTool::cellAt(const PaneHit& hit, QPoint, Qt::KeyboardModifiers)
{
    paint(hit, host().button());
}

void CBrushTool::paint(const PaneHit& h, int button)
{
    if (h.area == PaneHit::Grid || h.area == PaneHit::ColorBar)
        host().edits().paintThread(h.thread, m_row, host().edits().colorOf(button == 2));
}

} // namespace qb
