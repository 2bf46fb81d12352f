#include "ui/views/tools/interlacetool.h"

#include "ui/views/tools/panetool.h"
#include "ui/views/tools/toolstate.h"

#include "ui/views/draftview.h"
#include "ui/views/interlacepopup.h"

namespace qb {

CInterlaceTool::~CInterlaceTool()
{
    if (m_popup) m_popup->deleteLater();
}

int CInterlaceTool::threadAt(const PaneHit& h) const
{
    auto* dv = static_cast<CDraftView*>(host().pane());
    const int t = m_warp ? h.thread : h.value;
    const int n = m_warp ? dv->endLayout().count() : dv->pickLayout().count();
    return h.thread >= 0 && t >= 0 && t < n ? t : -1;
}

bool CInterlaceTool::press(const ToolPress& p, bool& drag)
{
    if (host().kind() != PaneKind::Drawdown) return false;
    m_warp = p.tool == Tool::WarpInterlace;
    const int t = threadAt(p.hit);
    if (t < 0) return true;
    if (m_popup) m_popup->deleteLater();
    auto* dv = static_cast<CDraftView*>(host().pane());
    if (m_warp) m_popup = new CWarpInterlacePopup(dv, t);
    else m_popup = new CWeftInterlacePopup(dv, t);
    m_popup->reposition();
    m_popup->show();
    drag = true;
    return true;
}

void CInterlaceTool::cellAt(const PaneHit& h, QPoint, Qt::KeyboardModifiers)
{
    if (h.area == PaneHit::Outside || !m_popup) return;
    if (const int t = threadAt(h); t >= 0) m_popup->setThread(t);
}

void CInterlaceTool::stop()
{
    if (!m_popup) return;
    m_popup->deleteLater();
    m_popup = nullptr;
}

} // namespace qb
