#include "ui/views/gridaxis.h"

#include <algorithm>

namespace qb {

GridAxis::GridAxis(ThreadLayout layout, int pitch, bool reversed)
    : m_layout(std::move(layout))
    , m_pitch(std::max(1, pitch))
    , m_reversed(reversed)
{}

int GridAxis::cellsStart(int firstCell, int n) const
{
    return m_reversed ? (totalCells() - firstCell - n) * m_pitch : firstCell * m_pitch;
}

int GridAxis::itemStart(int i) const
{
    return cellsStart(m_layout.cellOf(i), m_layout.cellsOf(i));
}

int GridAxis::itemAt(int px) const
{
    if (px < 0) return -1;
    int cell = px / m_pitch;
    if (cell >= totalCells()) return -1;
    if (m_reversed) cell = totalCells() - 1 - cell;
    return m_layout.threadAt(cell);
}

std::pair<int, int> GridAxis::itemsIn(int a, int b) const
{
    const int total = totalCells();
    if (total == 0 || b <= a) return {0, -1};
    int c0 = std::clamp(a / m_pitch, 0, total - 1);
    int c1 = std::clamp((b - 1) / m_pitch, 0, total - 1);
    if (m_reversed) {
        const int t0 = total - 1 - c1, t1 = total - 1 - c0;
        c0 = t0;
        c1 = t1;
    }
    return {m_layout.threadAt(c0), m_layout.threadAt(c1)};
}

} // namespace qb
