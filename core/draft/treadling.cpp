#include "core/draft/treadling.h"

#include <algorithm>

namespace qb {

bool Treadling::SetLimit(int n)
{
    if (n < 0 || n > kMaxTreadles) return false;
    m_limit = static_cast<std::uint8_t>(n);
    const TreadleSet m = mask();
    for (auto& v : m_values) v = v & m;
    return true;
}

bool Treadling::SetValue(int index, int treadle)
{
    if (index < 0 || index >= kMaxThreads || treadle < 0 || treadle > m_limit) return false;
    if (treadle == 0) return true; // treadle 0 is "nothing", and succeeds
    if (index >= GetCount()) Append(index + 1 - GetCount());
    if (!m_multiple) m_values[index] = TreadleSet();
    m_values[index].set(treadle);
    return true;
}

bool Treadling::ClearValue(int index, int treadle)
{
    if (!indexOk(index) || treadle < 0 || treadle > m_limit) return false;
    m_values[index].clear(treadle);
    return true;
}

bool Treadling::Equal(int a, int b) const
{
    return GetSet(a) == GetSet(b);
}

bool Treadling::ClearRange(int pos, int n)
{
    if (pos < 0 || n < 0) return false;
    const int end = pos + std::min(n, std::max(0, GetCount() - pos));
    for (int i = pos; i < end; ++i) m_values[i] = TreadleSet();
    return true;
}

void Treadling::FlipVertical()
{
    reverseThreads();
}

void Treadling::FlipHorizontal()
{
    for (auto& v : m_values) {
        TreadleSet out;
        v.forEach([&](int t) {
            if (t <= m_limit) out.set(m_limit - t + 1);
        });
        v = out;
    }
}

int Treadling::HighestValue() const
{
    int best = 0;
    for (const auto& v : m_values) best = std::max(best, v.highest());
    return best;
}

void Treadling::Rotate1()
{
    const int n = m_limit;
    if (!m_multiple || GetCount() != n) return;
    std::vector<TreadleSet> out(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            if (m_values[n - j - 1].test(i + 1)) out[i].set(j + 1);
    m_values = std::move(out);
}

void Treadling::Rotate2()
{
    const int n = m_limit;
    if (GetCount() != n) return;
    std::vector<TreadleSet> out(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            if (m_values[j].test(n - i)) out[i].set(j + 1);
    m_values = std::move(out);
}

void Treadling::Complement()
{
    const TreadleSet m = mask();
    for (auto& v : m_values) v = ~v & m;
}

bool Treadling::SetSet(int pick, TreadleSet set)
{
    if (pick < 0 || pick >= kMaxThreads) return false;
    if (pick >= GetCount()) Append(pick + 1 - GetCount());
    m_values[pick] = set & mask();
    return true;
}

void Treadling::CopyFrom(const Treadling& src, bool withColors)
{
    m_values = src.m_values;
    const TreadleSet m = mask();
    for (auto& v : m_values) v = v & m;
    copyCommonFrom(src, withColors);
}

void Treadling::insertValues(int pos, int n)
{
    m_values.insert(m_values.begin() + pos, static_cast<std::size_t>(n), TreadleSet());
}

void Treadling::eraseValues(int pos, int n)
{
    m_values.erase(m_values.begin() + pos, m_values.begin() + pos + n);
}

void Treadling::reverseThreads()
{
    Tding::reverseThreads();
    std::reverse(m_values.begin(), m_values.end());
}

} // namespace qb
