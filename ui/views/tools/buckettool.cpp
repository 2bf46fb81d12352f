#include "ui/views/tools/buckettool.h"

#include "ui/views/tools/panetool.h"
#include "ui/views/tools/toolstate.h"

#include "core/draft/palettetools.h"

namespace qb {

bool CBucketTool::press(const ToolPress& p, bool&)
{
    if (p.hit.area != PaneHit::ColorBar) return true;
    CToolState::instance().selectRight(p.button == 2);
    // The fill's first color is the other button's; a pattern puts the
    // clicking button's color on the odd threads.
    const int second = host().edits().colorOf(p.button == 2), first = host().edits().colorOf(p.button != 2);
    const int pattern = CToolState::instance().fillPattern();
    const int row = RowForModifiers(p.mods, false);
    CQuillabyDoc& doc = host().doc();
    const int n = host().kind() == PaneKind::Threading ? doc.numEnds() : doc.numPicks();
    if (n == 0) return true;
    const Side side = host().threadSide();
    doc.Transaction("Paint Bucket", [&](Edit s) { FillThreadColors(s, doc, side, row, pattern, first, second); });
    return true;
}

} // namespace qb
