#include "ui/views/tools/paneedits.h"

#include "ui/views/tools/panetool.h"

#include "core/draft/limits.h"

namespace qb {

int CPaneEdits::valueLimit() const
{
    switch (m_host.kind()) {
    case PaneKind::Threading: return m_host.doc().numShafts();
    case PaneKind::Treadling: return m_host.doc().isLiftplan() ? m_host.doc().numShafts() : m_host.doc().numTreadles();
    case PaneKind::Tieup: return m_host.doc().numShafts();
    case PaneKind::Drawdown: break;
    }
    return 0;
}

int CPaneEdits::threadLimit() const
{
    return m_host.kind() == PaneKind::Tieup ? m_host.doc().numTreadles() : kMaxThreads;
}

bool CPaneEdits::applyCell(int thread, int value, int row, bool set)
{
    if (thread < 0 || thread >= threadLimit() || value < 1 || value > valueLimit()) return false;
    const Edit s = m_host.dragEdit();
    CQuillabyDoc& d = m_host.doc();
    switch (m_host.kind()) {
    case PaneKind::Threading:
        if (set) d.SetThreadingCell(s, thread, value, row);
        else if (thread < d.numEnds() && d.threading(row) && d.threading(row)->GetShaft(thread) == value)
            d.ClearThreadingCell(s, thread, row);
        return true;
    case PaneKind::Treadling:
        if (set) d.SetTreadlingCell(s, thread, value, row);
        else d.ClearTreadlingCell(s, thread, value, row);
        return true;
    case PaneKind::Tieup:
        if (set) d.SetTieupCell(s, thread, value);
        else d.ClearTieupCell(s, thread, value);
        return true;
    case PaneKind::Drawdown: break;
    }
    return false;
}

int CPaneEdits::colorOf(bool rightButton) const
{
    const ColorPalette& p = m_host.doc().palette();
    return rightButton ? p.rightColor() : p.leftColor();
}

bool CPaneEdits::paintThread(int thread, int row, int color)
{
    if (!m_host.threadPane()) return false;
    if (thread >= (m_host.kind() == PaneKind::Threading ? m_host.doc().numEnds() : m_host.doc().numPicks()))
        return false;
    return m_host.doc().SetThreadColors(m_host.dragEdit(), m_host.threadSide(), thread, thread, color, row);
}

} // namespace qb
