#include "ui/views/tools/drawlinetool.h"

#include "ui/views/tools/panekeys.h"
#include "ui/views/tools/panetool.h"
#include "ui/views/tools/toolstate.h"

#include "ui/views/gridview.h"
#include "ui/views/tdinggridview.h"

#include <algorithm>

namespace qb {

bool CDrawLineTool::press(const ToolPress& p, bool& drag)
{
    const PaneHit& h = p.hit;
    if (h.area != PaneHit::Grid || host().kind() == PaneKind::Drawdown) return true;
    const CToolState& ts = CToolState::instance();
    m_row = RowForModifiers(p.mods, true);
    m_erase = p.shift();
    LineParams params;
    params.kind = ts.lineKind();
    params.shafts = host().edits().valueLimit();
    params.length = ts.lineLength();
    params.offset = ts.lineOffset();
    params.rightButton = p.button == 2;
    if (params.shafts <= 0) return true;
    m_line.emplace(params, h.value);
    m_anchor = h.thread;
    m_stopped = false;
    drag = true;
    host().edits().applyCell(h.thread, h.value, m_row, !m_erase);
    return true;
}

void CDrawLineTool::cellAt(const PaneHit& h, QPoint pos, Qt::KeyboardModifiers)
{
    if (h.thread >= 0) {
        if (h.area != PaneHit::Outside) lineTo(h.thread);
        return;
    }
    // Off the grid the line still follows the pointer along the threads.
    CGridView* pane = host().pane();
    const QPoint c = pos - pane->contentOffset();
    auto* t = dynamic_cast<CTdingGridView*>(pane);
    const bool alongX = !t || t->isWarpSide();
    const GridAxis& axis = alongX ? pane->columns() : pane->rows();
    const int px = std::clamp(alongX ? c.x() : c.y(), 0, std::max(0, axis.contentSize() - 2));
    const int th = axis.itemAt(px);
    if (th >= 0) lineTo(th);
}

void CDrawLineTool::lineTo(int thread)
{
    if (!m_line || m_stopped) return;
    thread = std::clamp(thread, 0, host().edits().threadLimit() - 1);
    while (m_anchor != thread) {
        const int delta = thread > m_anchor ? 1 : -1;
        const int shaft = m_line->step(delta);
        if (!host().edits().applyCell(m_anchor + delta, shaft, m_row, !m_erase)) {
            m_stopped = true;
            return;
        }
        m_anchor += delta;
        host().keys().setCurrent(m_anchor);
    }
}

} // namespace qb
