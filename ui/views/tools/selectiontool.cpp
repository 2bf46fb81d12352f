#include "ui/views/tools/selectiontool.h"

#include "ui/views/tools/panetool.h"
#include "ui/views/tools/stamptool.h"
#include "ui/views/tools/toolstate.h"

#include "ui/views/gridview.h"
#include "ui/views/tdinggridview.h"

#include <algorithm>

namespace qb {

bool CSelectionTool::press(const ToolPress& p, bool& drag)
{
    CGridView* pane = host().pane();
    const QPoint it = host().itemAt(p.pos);
    const bool inside = pane->hasSelection() && it.x() >= pane->selection(0) && it.x() <= pane->selection(1)
        && it.y() >= pane->selection(2) && it.y() <= pane->selection(3);
    if (p.button == 2 && inside && !host().selectionCommands().empty()) {
        host().selection().showMenu(p.pos);
        return true;
    }
    pane->clearSelection();
    m_anchor = it;
    drag = true;
    selectTo(p.pos);
    return true;
}

void CSelectionTool::selectTo(QPoint pos)
{
    CGridView* pane = host().pane();
    const QPoint a = m_anchor, b = host().itemAt(pos);
    int c0 = std::min(a.x(), b.x()), c1 = std::max(a.x(), b.x());
    int r0 = std::min(a.y(), b.y()), r1 = std::max(a.y(), b.y());
    // The thread panes select whole threads: every shaft or treadle item.
    if (auto* t = dynamic_cast<CTdingGridView*>(pane)) {
        if (t->isWarpSide()) {
            r0 = 0;
            r1 = t->valueCount() - 1;
        } else {
            c0 = 0;
            c1 = t->valueCount() - 1;
        }
    } else if (host().kind() == PaneKind::Tieup) {
        c1 = std::min(c1, host().doc().numTreadles() - 1);
        r1 = std::min(r1, host().doc().numShafts() - 1);
        if (c0 > c1 || r0 > r1) return;
    }
    pane->setSelection(c0, c1, r0, r1);
}

void CSelectionTool::dragEnded()
{
    CGridView* pane = host().pane();
    if (!pane->hasSelection()) return;
    if (host().threadPane()) {
        const auto [first, last] = host().selection().selectedThreads();
        host().stamp().keep(first, last);
    }
    if (host().kind() == PaneKind::Drawdown) crop();
}

void CSelectionTool::crop()
{
    CGridView* pane = host().pane();
    CQuillabyDoc& doc = host().doc();
    const int ends = doc.numEnds(), picks = doc.numPicks();
    const int e0 = pane->selection(0), e1 = std::min(pane->selection(1), ends - 1);
    const int p0 = pane->selection(2), p1 = std::min(pane->selection(3), picks - 1);
    if (e0 > e1 || p0 > p1 || !CToolState::instance().ask(QStringLiteral("Crop draft?\n"))) return;
    doc.Transaction("Crop", [&](Edit s) {
        if (e1 + 1 < ends) doc.DeleteThreads(s, Side::Threading, e1 + 1, ends - e1 - 1);
        if (e0 > 0) doc.DeleteThreads(s, Side::Threading, 0, e0);
        if (p1 + 1 < picks) doc.DeleteThreads(s, Side::Treadling, p1 + 1, picks - p1 - 1);
        if (p0 > 0) doc.DeleteThreads(s, Side::Treadling, 0, p0);
    });
    pane->clearSelection();
}

} // namespace qb
