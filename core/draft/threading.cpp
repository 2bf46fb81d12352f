#include "core/draft/threading.h"

#include <algorithm>

namespace qb {

bool Threading::SetLimit(int n)
{
    if (n < 0 || n > kMaxShafts) return false;
    m_limit = static_cast<std::uint8_t>(n);
    for (auto& v : m_values)
        if (v > n) v = 0;
    return true;
}

bool Threading::SetValue(int index, int shaft)
{
    if (index < 0 || index >= kMaxThreads || shaft < 0 || shaft > m_limit) return false;
    if (index >= GetCount()) Append(index + 1 - GetCount());
    m_values[index] = static_cast<std::uint8_t>(shaft);
    return true;
}

bool Threading::ClearValue(int index, int shaft)
{
    if (!indexOk(index) || shaft < 0 || shaft > m_limit) return false;
    m_values[index] = 0;
    return true;
}

bool Threading::Equal(int a, int b) const
{
    return GetShaft(a) == GetShaft(b);
}

bool Threading::ClearRange(int pos, int n)
{
    if (pos < 0 || n < 0) return false;
    const int end = pos + std::min(n, std::max(0, GetCount() - pos));
    for (int i = pos; i < end; ++i) m_values[i] = 0;
    return true;
}

void Threading::FlipVertical()
{
    for (auto& v : m_values)
        if (v) v = static_cast<std::uint8_t>(std::max(0, m_limit - v + 1));
}

void Threading::FlipHorizontal()
{
    reverseThreads();
}

int Threading::HighestValue() const
{
    if (m_values.empty()) return 0;
    return *std::max_element(m_values.begin(), m_values.end());
}

void Threading::CopyFrom(const Threading& src, bool withColors)
{
    m_values = src.m_values;
    for (auto& v : m_values)
        if (v > m_limit) v = 0;
    copyCommonFrom(src, withColors);
}

void Threading::insertValues(int pos, int n)
{
    m_values.insert(m_values.begin() + pos, static_cast<std::size_t>(n), 0);
}

void Threading::eraseValues(int pos, int n)
{
    m_values.erase(m_values.begin() + pos, m_values.begin() + pos + n);
}

void Threading::reverseThreads()
{
    Tding::reverseThreads();
    std::reverse(m_values.begin(), m_values.end());
}

} // namespace qb
