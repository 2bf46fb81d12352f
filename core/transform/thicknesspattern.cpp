#include "core/transform/thicknesspattern.h"

#include "core/draft/draftstep.h"
#include "core/draft/quillabydoc.h"

namespace qb {

void ThicknessPattern::toggle(int cell)
{
    if (cell < 0 || cell >= kCells) return;
    if (cell >= size()) m_thick.resize(static_cast<std::size_t>(cell) + 1, false);
    else m_thick[cell] = !m_thick[cell];
}

void ThicknessPattern::remove(int cell)
{
    if (cell < 0 || cell >= size()) return;
    m_thick.erase(m_thick.begin() + cell);
}

CommandResult ApplyThicknessPattern(Edit e, CQuillabyDoc& doc, Side side, const std::vector<bool>& thick)
{
    Tding* row =
        side == Side::Threading ? static_cast<Tding*>(doc.raw().threadingMutable(0)) : doc.raw().treadlingMutable(0);
    const int n = row ? row->GetCount() : 0;
    if (thick.empty() || n == 0) return CommandResult::noChange();
    const int len = static_cast<int>(thick.size());
    bool same = true;
    for (int i = 0; i < n && same; ++i) same = (row->GetThick(i) != 0) == thick[i % len];
    if (same) return CommandResult::noChange();
    DraftStep step(e, doc, DraftSnapshot::Structure);
    for (int i = 0; i < n; ++i) row->SetThick(i, thick[i % len]);
    step.commit();
    return CommandResult::doneResult();
}

} // namespace qb
