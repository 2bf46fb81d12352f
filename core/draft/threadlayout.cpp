#include "core/draft/threadlayout.h"

#include "core/draft/tding.h"

#include <algorithm>

namespace qb {

ThreadLayout::ThreadLayout(const Tding& seq, int count)
{
    count = std::max(0, count);
    m_start.resize(static_cast<std::size_t>(count) + 1);
    m_start[0] = 0;
    const bool anyThick = seq.AnyThick();
    for (int i = 0; i < count; ++i) m_start[i + 1] = m_start[i] + 1 + (anyThick ? seq.GetThick(i) : 0);
}

ThreadLayout ThreadLayout::uniform(int count)
{
    ThreadLayout l;
    count = std::max(0, count);
    l.m_start.resize(static_cast<std::size_t>(count) + 1);
    for (int i = 0; i <= count; ++i) l.m_start[i] = i;
    return l;
}

int ThreadLayout::threadAt(int cell) const
{
    if (cell < 0 || cell >= totalCells()) return -1;
    auto it = std::upper_bound(m_start.begin(), m_start.end(), cell);
    return static_cast<int>(it - m_start.begin()) - 1;
}

} // namespace qb
