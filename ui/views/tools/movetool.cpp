#include "ui/views/tools/movetool.h"

#include "ui/views/tools/panetool.h"
#include "ui/views/tools/toolcursors.h"

#include "ui/views/gridview.h"
#include "ui/views/tdinggridview.h"

#include "core/transform/wrap.h"

#include <algorithm>

namespace qb {

bool CMoveTool::press(const ToolPress& p, bool& drag)
{
    const PaneHit& h = p.hit;
    if (host().kind() == PaneKind::Drawdown || h.thread < 0) return true;
    const CQuillabyDoc& doc = host().doc();
    const int count = host().kind() == PaneKind::Threading ? doc.numEnds()
        : host().kind() == PaneKind::Tieup                 ? doc.numTreadles()
                                                           : doc.numPicks();
    if (h.thread >= count) return true;
    m_from = h.thread;
    drag = true;
    host().pane()->viewport()->setCursor(Qt::ClosedHandCursor);
    return true;
}

void CMoveTool::pointerAt(QPoint pos)
{
    // The picked-up thread or treadle rides with the pointer.
    showAt(target(pos));
}

void CMoveTool::released(QPoint pos)
{
    if (m_from < 0) return;
    UpdateToolCursor(host().pane());
    const int to = target(pos);
    // A treadle takes its tie-up column and its picks to the drop column.
    if (to >= 0 && to != m_from) {
        CQuillabyDoc& doc = host().doc();
        if (host().kind() == PaneKind::Tieup) doc.Transaction("Move", [&](Edit e) { MoveTreadle(e, doc, m_from, to); });
        else moveThread(m_from, to);
    }
    m_from = -1;
}

void CMoveTool::stop()
{
    host().hideFloatingCopy();
}

int CMoveTool::target(QPoint pos) const
{
    CGridView* pane = host().pane();
    const QPoint c = pos - pane->contentOffset();
    const bool tieup = host().kind() == PaneKind::Tieup;
    const auto* t = tieup ? nullptr : static_cast<const CTdingGridView*>(pane);
    const bool alongX = tieup || t->isWarpSide();
    const GridAxis& axis = tieup ? pane->columns() : t->threadAxis();
    const int px = std::clamp(alongX ? c.x() : c.y(), 0, std::max(0, axis.contentSize() - 2));
    const CQuillabyDoc& doc = host().doc();
    const int count = host().kind() == PaneKind::Threading ? doc.numEnds() : tieup ? doc.numTreadles() : doc.numPicks();
    return std::min(axis.itemAt(px), count - 1);
}

void CMoveTool::showAt(int to)
{
    if (m_from < 0 || to < 0) return;
    const CQuillabyDoc& doc = host().doc();
    CGridView* pane = host().pane();
    if (host().kind() == PaneKind::Tieup) {
        const int shafts = doc.numShafts();
        if (shafts < 1) return;
        const TUPTYPE tied = doc.tieup().column(m_from);
        std::vector<QRect> cells;
        for (int s = 1; s <= shafts; ++s)
            if (tied.test(s)) cells.push_back(pane->itemRect(to, s - 1));
        host().showFloatingCells(pane->itemRect(to, 0).united(pane->itemRect(to, shafts - 1)), std::move(cells));
        return;
    }
    ThreadCopy one;
    if (host().kind() == PaneKind::Threading) one.shafts.push_back(doc.threading(0)->GetShaft(m_from));
    else one.sets.push_back(doc.treadling(0)->GetSet(m_from));
    one.colors.push_back(0);
    host().showFloatingCopy(to, one);
}

void CMoveTool::moveThread(int from, int to)
{
    const bool warp = host().kind() == PaneKind::Threading;
    CQuillabyDoc& d = host().doc();
    const int rows = warp ? d.numWarps() : d.numWefts();
    struct Row {
        int value = 0;
        TreadleSet set;
        int color = 0, symbol = 0;
    };
    std::vector<Row> saved(rows);
    for (int r = 0; r < rows; ++r) {
        const Tding* t = warp ? static_cast<const Tding*>(d.threading(r)) : d.treadling(r);
        if (!t) continue;
        saved[r].color = t->GetColor(from);
        saved[r].symbol = t->GetSymbol(from);
        if (warp) saved[r].value = d.threading(r)->GetShaft(from);
        else saved[r].set = d.treadling(r)->GetSet(from);
    }
    const bool thick = (warp ? static_cast<const Tding*>(d.threading(0)) : d.treadling(0))->GetThick(from) != 0;
    const Side side = SideOf(warp);
    d.Transaction("Move", [&](Edit s) {
        d.DeleteThreads(s, side, from, 1);
        d.InsertThreads(s, side, to, 1);
        for (int r = 0; r < rows; ++r) {
            if (warp) {
                if (saved[r].value) d.SetThreadingCell(s, to, saved[r].value, r);
            } else {
                d.SetPickSet(s, to, saved[r].set, r);
            }
            d.SetThreadColors(s, side, to, to, saved[r].color, r);
            d.SetSymbol(s, side, to, saved[r].symbol, r);
        }
        if (thick) d.SetThick(s, side, to, true);
    });
}

} // namespace qb
