#include "core/draft/tieup.h"

#include "core/draft/limits.h"

#include <algorithm>

namespace qb {

Tieup::Tieup(int shafts, int treadles)
    : m_shafts(std::clamp(shafts, 0, kMaxShafts))
    , m_treadles(std::clamp(treadles, 0, kMaxTreadles))
    , m_columns(static_cast<std::size_t>(m_treadles))
{}

Tieup::Tieup(const Tieup& src, int treadleOffset, int shaftOffset, int width, int height)
{
    treadleOffset = std::max(0, treadleOffset);
    shaftOffset = std::max(0, shaftOffset);
    width = std::clamp(width, 0, std::max(0, src.m_treadles - treadleOffset));
    height = std::clamp(height, 0, std::max(0, src.m_shafts - shaftOffset));
    m_shafts = height;
    m_treadles = width;
    m_columns.resize(static_cast<std::size_t>(width));
    for (int t = 0; t < width; ++t) {
        std::uint64_t bits = src.column(treadleOffset + t).bits();
        bits = shaftOffset >= 64 ? 0 : bits >> shaftOffset;
        m_columns[t] = TUPTYPE(bits) & mask();
    }
}

TUPTYPE Tieup::column(int treadle) const
{
    if (treadle < 0 || treadle >= m_treadles) return TUPTYPE();
    return m_columns[treadle];
}

bool Tieup::setColumn(int treadle, TUPTYPE shafts)
{
    if (treadle < 0 || treadle >= m_treadles) return false;
    m_columns[treadle] = shafts & mask();
    return true;
}

bool Tieup::setCell(int treadle, int shaft)
{
    if (treadle < 0 || treadle >= m_treadles || shaft < 0 || shaft > m_shafts) return false;
    m_columns[treadle].set(shaft); // shaft 0 is accepted and changes nothing
    return true;
}

bool Tieup::clearCell(int treadle, int shaft)
{
    if (treadle < 0 || treadle >= m_treadles || shaft < 0 || shaft > m_shafts) return false;
    m_columns[treadle].clear(shaft);
    return true;
}

bool Tieup::clearColumns(int first, int count)
{
    if (first < 0 || count < 0 || first > m_treadles) return false;
    const int last = first + std::min(count, m_treadles - first);
    for (int t = first; t < last; ++t) m_columns[t] = TUPTYPE();
    return true;
}

void Tieup::flipShafts()
{
    for (auto& c : m_columns) {
        TUPTYPE out;
        for (int s = 1; s <= m_shafts; ++s)
            if (c.test(s)) out.set(m_shafts - s + 1);
        c = out;
    }
}

void Tieup::reverseTreadles()
{
    std::reverse(m_columns.begin(), m_columns.end());
}

void Tieup::transpose1()
{
    if (m_shafts != m_treadles) return;
    const int n = m_shafts;
    std::vector<TUPTYPE> out(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            if (m_columns[n - j - 1].test(i + 1)) out[i].set(j + 1);
    m_columns = std::move(out);
}

void Tieup::transpose2()
{
    if (m_shafts != m_treadles) return;
    const int n = m_shafts;
    std::vector<TUPTYPE> out(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            if (m_columns[j].test(n - i)) out[i].set(j + 1);
    m_columns = std::move(out);
}

void Tieup::makeDirect()
{
    for (int t = 0; t < m_treadles; ++t) {
        m_columns[t] = TUPTYPE();
        if (t < m_shafts) m_columns[t].set(t + 1);
    }
}

bool Tieup::setShaftCount(int shafts)
{
    if (shafts < 0 || shafts > kMaxShafts) return false;
    m_shafts = shafts;
    for (auto& c : m_columns) c &= mask();
    return true;
}

bool Tieup::setTreadleCount(int treadles)
{
    if (treadles < 0 || treadles > kMaxTreadles) return false;
    const int old = m_treadles;
    m_columns.resize(static_cast<std::size_t>(treadles));
    // New columns start tied straight across (treadle t lifts shaft t+1),
    // but only where that shaft exists: a hidden bit above the shaft count
    // would never be saved and would reappear if shafts were added later.
    for (int t = old; t < treadles; ++t) {
        m_columns[t] = TUPTYPE();
        m_columns[t].set(t + 1);
        m_columns[t] &= mask();
    }
    m_treadles = treadles;
    return true;
}

bool Tieup::merge(const Tieup& other, int treadleOffset, int shaftShift)
{
    if (shaftShift < 0 || shaftShift >= kMaxShafts) return false;
    const std::uint64_t range = TUPTYPE::firstShafts(other.m_shafts).bits() << shaftShift;
    for (int t = 0; t < other.m_treadles; ++t) {
        const int dst = treadleOffset + t;
        if (dst < 0 || dst >= m_treadles) continue;
        const std::uint64_t bits = other.m_columns[t].bits() << shaftShift;
        m_columns[dst] = TUPTYPE((m_columns[dst].bits() & ~range) | (bits & range)) & mask();
    }
    return true;
}

void Tieup::complement()
{
    for (auto& c : m_columns) c = ~c & mask();
}

bool Tieup::isEmpty() const
{
    return std::all_of(m_columns.begin(), m_columns.end(), [](TUPTYPE c) { return c.empty(); });
}

} // namespace qb
