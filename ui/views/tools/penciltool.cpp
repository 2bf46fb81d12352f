#include "ui/views/tools/penciltool.h"

#include "ui/views/tools/panetool.h"

#include "ui/views/draftview.h"

#include "core/transform/drawcrossing.h"

namespace qb {

bool CPencilTool::press(const ToolPress& p, bool& drag)
{
    if (host().kind() == PaneKind::Drawdown) {
        m_stopped = false;
        drag = true;
        crossingAt(p.hit, p.button, p.mods);
        return true;
    }
    if (p.hit.area != PaneHit::Grid && p.hit.area != PaneHit::ColorBar) return true;
    m_row = p.hit.area == PaneHit::ColorBar ? p.hit.row : RowForModifiers(p.mods, false);
    drag = true;
    step(p.hit, p.button, p.mods);
    return true;
}

void CPencilTool::cellAt(const PaneHit& hit, QPoint, Qt::KeyboardModifiers mods)
{
    if (hit.area == PaneHit::Outside) return;
    if (host().kind() == PaneKind::Drawdown) crossingAt(hit, host().button(), mods);
    else step(hit, host().button(), mods);
}

void CPencilTool::step(const PaneHit& h, int button, Qt::KeyboardModifiers mods)
{
    const bool shift = mods & Qt::ShiftModifier;
    const bool rowShift = (mods & Qt::ControlModifier) && (mods & Qt::AltModifier);
    const bool erase = (button == 2) != (shift && !rowShift);
    if (h.area == PaneHit::Grid) {
        host().edits().applyCell(h.thread, h.value, m_row, !erase);
    } else if (h.area == PaneHit::ColorBar) {
        const bool warp = host().kind() == PaneKind::Threading;
        CGridFrame* f = host().pane()->frame();
        if (f->isColorBarHidden(warp) || f->drawdownColoring() != 0 || host().doc().correlationOn()) return;
        host().edits().paintThread(h.thread, h.row, host().edits().colorOf(button == 2));
    }
}

void CPencilTool::crossingAt(const PaneHit& h, int button, Qt::KeyboardModifiers mods)
{
    auto* dv = static_cast<CDraftView*>(host().pane());
    if (m_stopped || h.thread < 0 || h.thread >= dv->endLayout().count() || h.value >= dv->pickLayout().count()) return;
    // Black in the current coloring: the warp on top, but the weft in weft mode.
    const bool black = (button == 1) != bool(mods & Qt::ShiftModifier);
    const bool warpUp = black != (host().pane()->frame()->drawdownColoring() == 2);
    const CrossingOutcome out = DrawCrossing(host().dragEdit(), host().doc(), h.thread, h.value, warpUp);
    if (const char* why = CrossingMessage(out); *why) {
        // Nothing changed; the rest of the stroke would meet the same wall.
        m_stopped = true;
        host().showStatus(QString::fromLatin1(why));
    }
}

} // namespace qb
