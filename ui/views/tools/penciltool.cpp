#include "penciltool.h"

#include "panetool.h"

#include "views/draftview.h"

#include "transform/fabricanalysis.h"

namespace qb {

bool CPencilTool::press(const ToolPress& p, bool& drag)
{
    if (host().kind() == PaneKind::Drawdown) {
        drawdownClick(p);
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
    if (hit.area != PaneHit::Outside) step(hit, host().button(), mods);
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

void CPencilTool::drawdownClick(const ToolPress& p)
{
    // One crossing per click; threading, tieup and treadling follow.
    auto* dv = static_cast<CDraftView*>(host().pane());
    const PaneHit& h = p.hit;
    if (h.thread < 0 || h.thread >= dv->endLayout().count() || h.value >= dv->pickLayout().count()) return;
    const bool lifted = (p.button == 1) != p.shift();
    CQuillabyDoc& doc = host().doc();
    CellOutcome outcome = CellOutcome::NotAvailable;
    doc.Transaction("Pencil", [&](Edit e) { outcome = FabricAnalysisCell(e, doc, h.thread, h.value, lifted); });
    if (outcome == CellOutcome::NotAvailable && !m_analysisTold) {
        m_analysisTold = true;
        FixedPrompter why;
        CanAnalyzeFabric(doc, why);
        if (!why.lastMessage.empty()) host().tell(QString::fromStdString(why.lastMessage));
    }
}

} // namespace qb
