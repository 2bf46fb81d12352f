#include "ui/views/tools/pickuptool.h"

#include "ui/views/tools/panetool.h"
#include "ui/views/tools/toolstate.h"

namespace qb {

bool CPickupTool::press(const ToolPress& p, bool&)
{
    CQuillabyDoc& doc = host().doc();
    const int color = host().colorAt(p.pos);
    if (color < 0 || color >= doc.palette().count()) return true;
    doc.SetButtonColor(p.button == 2, color);
    CToolState::instance().buttonChanged();
    CToolState::instance().reselectPrevious();
    return true;
}

} // namespace qb
