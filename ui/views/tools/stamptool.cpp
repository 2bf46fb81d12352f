#include "ui/views/tools/stamptool.h"

#include "ui/views/tools/toolstate.h"

#include "ui/views/tdinggridview.h"

#include "core/draft/limits.h"

#include <algorithm>

namespace qb {

bool CStampTool::press(const ToolPress& p, bool&)
{
    if (m_copy && p.hit.thread >= 0 && host().threadPane()) {
        stampAt(firstAt(p.hit.thread));
        CToolState::instance().setTool(Tool::Pencil);
    }
    return true;
}

void CStampTool::keep(int first, int lastSel)
{
    const CQuillabyDoc& doc = host().doc();
    const bool warp = host().kind() == PaneKind::Threading;
    const int last = std::min(lastSel, warp ? doc.numEnds() - 1 : doc.numPicks() - 1);
    if (first > last) return;
    ThreadCopy c;
    for (int i = first; i <= last; ++i) {
        if (warp) {
            c.shafts.push_back(doc.threading(0)->GetShaft(i));
            c.colors.push_back(doc.threading(0)->GetColor(i));
        } else {
            c.sets.push_back(doc.treadling(0)->GetSet(i));
            c.colors.push_back(doc.treadling(0)->GetColor(i));
        }
    }
    m_copy = std::move(c);
}

bool CStampTool::hover(QPoint pos)
{
    if (!m_copy) return false;
    const PaneHit h = host().hitAt(pos);
    if (h.thread < 0 || !host().threadPane()) host().hideFloatingCopy();
    else host().showFloatingCopy(firstAt(h.thread), *m_copy);
    return true;
}

void CStampTool::stampAt(int thread)
{
    const bool warp = host().kind() == PaneKind::Threading;
    const ThreadCopy& c = *m_copy;
    CQuillabyDoc& doc = host().doc();
    doc.Transaction("Stamp", [&](Edit s) {
        for (std::size_t k = 0; k < c.colors.size(); ++k) {
            const int at = thread + int(k);
            if (at >= kMaxThreads) break;
            if (warp) {
                if (c.shafts[k]) doc.SetThreadingCell(s, at, c.shafts[k], 0);
                else doc.ClearThreadingCell(s, at, 0);
                doc.SetThreadColors(s, Side::Threading, at, at, c.colors[k], 0);
            } else {
                doc.SetPickSet(s, at, c.sets[k], 0);
                doc.SetThreadColors(s, Side::Treadling, at, at, c.colors[k], 0);
            }
        }
    });
}

int CStampTool::firstAt(int thread) const
{
    const int n = m_copy ? int(m_copy->colors.size()) : 0;
    const int count = static_cast<CTdingGridView*>(host().pane())->threadAxis().itemCount();
    return std::max(0, std::min(thread - n / 2, count - n));
}

} // namespace qb
