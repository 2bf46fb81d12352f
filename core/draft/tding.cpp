#include "core/draft/tding.h"

#include <algorithm>

namespace qb {

Tding::Tding(bool isWarp, int limit)
    : m_isWarp(isWarp)
    , m_limit(static_cast<std::uint8_t>(std::clamp(limit, 0, isWarp ? kMaxShafts : kMaxTreadles)))
{}

int Tding::Append(int n)
{
    const int count = GetCount();
    n = std::clamp(n, 0, kMaxThreads - count);
    if (n == 0) return 0;
    const std::size_t total = static_cast<std::size_t>(count + n);
    // New threads take the colors the alternation gives them, so a filled
    // pattern goes on as the sequence grows.
    m_colors.reserve(total);
    for (int i = count; i < count + n; ++i) m_colors.push_back(static_cast<std::uint8_t>(GetColor(i)));
    m_symbols.resize(total, 0);
    m_thick.resize(total, 0);
    resizeValues(count + n);
    return n;
}

bool Tding::Insert(int pos, int value, int n)
{
    // Check the value first: a refused insert must leave the sequence alone.
    if (pos < 0 || pos >= kMaxThreads || n <= 0 || value < 0 || value > m_limit) return false;
    const int count = GetCount();
    if (pos >= count) {
        const int added = Append(n);
        if (added == 0) return false;
        if (value) SetValue(count + added - 1, value);
        return true;
    }
    n = std::min(n, kMaxThreads - count);
    if (n <= 0) return false;
    m_colors.insert(m_colors.begin() + pos, static_cast<std::size_t>(n), m_defaultColor);
    m_symbols.insert(m_symbols.begin() + pos, static_cast<std::size_t>(n), 0);
    m_thick.insert(m_thick.begin() + pos, static_cast<std::size_t>(n), 0);
    insertValues(pos, n);
    // Labels at or after the insertion point move along with their threads.
    for (auto& row : m_labels)
        for (auto& l : row)
            if (l.start >= pos) l.start += n;
    invalidateThick();
    if (value) SetValue(pos + n - 1, value);
    return true;
}

bool Tding::Delete(int pos, int n)
{
    const int count = GetCount();
    if (pos < 0 || pos >= count || n <= 0) return false;
    n = std::min(n, count - pos);
    m_colors.erase(m_colors.begin() + pos, m_colors.begin() + pos + n);
    m_symbols.erase(m_symbols.begin() + pos, m_symbols.begin() + pos + n);
    m_thick.erase(m_thick.begin() + pos, m_thick.begin() + pos + n);
    eraseValues(pos, n);
    // Labels lose the deleted threads; a label left with none disappears.
    const int end = pos + n;
    for (auto& row : m_labels) {
        std::vector<Label> kept;
        for (Label l : row) {
            const int a = l.start, b = l.start + l.length; // [a, b)
            const int lost = std::max(0, std::min(b, end) - std::max(a, pos));
            l.length -= lost;
            if (a >= end) l.start -= n;
            else if (a > pos) l.start = pos;
            if (l.length > 0) kept.push_back(std::move(l));
        }
        row = std::move(kept);
    }
    invalidateThick();
    return true;
}

int Tding::GetColor(int i) const
{
    if (i >= 0 && i < GetCount()) return m_colors[i];
    if (i < 0) return m_defaultColor;
    switch (m_alternation) {
    case Alternation::Single: return (i % 2 == 0) ? m_alternateColor : m_defaultColor;
    case Alternation::Pairs: return (i % 4 < 2) ? m_defaultColor : m_alternateColor;
    case Alternation::None: break;
    }
    return m_defaultColor;
}

bool Tding::SetColor(int i, int c)
{
    if (i < 0 || i >= kMaxThreads || c < 0 || c > 255) return false;
    if (i >= GetCount()) {
        Append(i + 1 - GetCount());
        m_defaultColor = static_cast<std::uint8_t>(c);
    }
    m_colors[i] = static_cast<std::uint8_t>(c);
    return true;
}

int Tding::HighestColor() const
{
    return m_colors.empty() ? -1 : *std::max_element(m_colors.begin(), m_colors.end());
}

bool Tding::Recolor(int from, int to)
{
    if (from < 0 || from > 255 || to < 0 || to > 255 || from == to) return false;
    bool changed = false;
    for (auto& c : m_colors)
        if (c == from) {
            c = static_cast<std::uint8_t>(to);
            changed = true;
        }
    if (m_defaultColor == from) {
        m_defaultColor = static_cast<std::uint8_t>(to);
        changed = true;
    }
    return changed;
}

bool Tding::FillColors(int defaultColor, int alternateColor, Alternation mode, int length)
{
    if (defaultColor < 0 || defaultColor > 255 || alternateColor < 0 || alternateColor > 255 || length < 0)
        return false;
    if (mode != Alternation::None && mode != Alternation::Single && mode != Alternation::Pairs) return false;
    m_defaultColor = static_cast<std::uint8_t>(defaultColor);
    m_alternateColor = static_cast<std::uint8_t>(alternateColor);
    m_alternation = mode;
    const int n = std::min(length, GetCount());
    // Color each thread as it would be if it were beyond the color vector.
    for (int i = 0; i < n; ++i) {
        int c = m_defaultColor;
        if (mode == Alternation::Single) c = (i % 2 == 0) ? m_alternateColor : m_defaultColor;
        else if (mode == Alternation::Pairs) c = (i % 4 < 2) ? m_defaultColor : m_alternateColor;
        m_colors[i] = static_cast<std::uint8_t>(c);
    }
    return true;
}

std::optional<int> Tding::UniformColor() const
{
    if (m_colors.empty()) return std::nullopt;
    const std::uint8_t first = m_colors.front();
    for (std::uint8_t c : m_colors)
        if (c != first) return std::nullopt;
    return first;
}

int Tding::GetSymbol(int i) const
{
    return indexOk(i) ? m_symbols[i] : 0;
}

bool Tding::SetSymbol(int i, int symbol)
{
    if (!indexOk(i) || symbol < 0 || symbol > 255) return false;
    m_symbols[i] = static_cast<std::uint8_t>(symbol);
    return true;
}

bool Tding::HasSymbols() const
{
    return std::any_of(m_symbols.begin(), m_symbols.end(), [](std::uint8_t s) { return s != 0; });
}

int Tding::GetThick(int i) const
{
    return indexOk(i) && m_thick[i] ? m_ratio : 0;
}

bool Tding::SetThick(int i, bool thick)
{
    if (!indexOk(i)) return false;
    m_thick[i] = thick ? 1 : 0;
    invalidateThick();
    return true;
}

bool Tding::AnyThick() const
{
    if (m_thickCache < 0)
        m_thickCache = std::any_of(m_thick.begin(), m_thick.end(), [](std::uint8_t t) { return t != 0; }) ? 1 : 0;
    return m_thickCache == 1;
}

void Tding::SetRatio(int r)
{
    m_ratio = std::clamp(r, kMinRatio, kMaxRatio);
    invalidateThick();
}

namespace {
bool fitsInRow(const std::vector<Label>& row, const Label& l)
{
    for (const Label& o : row)
        if (!(o.last() < l.start || l.last() < o.start)) return false;
    return true;
}
} // namespace

bool Tding::AddLabel(const Label& label)
{
    if (label.start < 0 || label.length < 1 || label.start + label.length > kMaxThreads) return false;
    // Start and length name a label; a second one with both equal could
    // never be found, changed or removed on its own.
    if (FindLabel(label.start, label.length)) return false;
    Label l = label;
    if (l.text.size() > static_cast<std::size_t>(kMaxLabelText)) l.text.resize(kMaxLabelText);
    for (auto& row : m_labels) {
        if (!fitsInRow(row, l)) continue;
        auto at = std::lower_bound(row.begin(), row.end(), l,
                                   [](const Label& a, const Label& b) { return a.start < b.start; });
        row.insert(at, std::move(l));
        return true;
    }
    return false;
}

bool Tding::AddLabelToRow(int row, const Label& label)
{
    if (label.start < 0 || label.length < 1 || label.start + label.length > kMaxThreads) return false;
    Label l = label;
    if (l.text.size() > static_cast<std::size_t>(kMaxLabelText)) l.text.resize(kMaxLabelText);
    // Readers add labels in thread order: then only the last label of a row
    // can overlap, which keeps reading a file with many labels linear.
    const auto fits = [&](const std::vector<Label>& r) {
        if (r.empty()) return true;
        if (r.back().start <= l.start) return r.back().last() < l.start;
        return fitsInRow(r, l);
    };
    const auto insert = [&](std::vector<Label>& r) {
        auto at =
            std::lower_bound(r.begin(), r.end(), l, [](const Label& a, const Label& b) { return a.start < b.start; });
        r.insert(at, std::move(l));
        return true;
    };
    if (row >= 0 && row < kLabelRows && fits(m_labels[row])) return insert(m_labels[row]);
    for (auto& r : m_labels)
        if (fits(r)) return insert(r);
    return false;
}

const Label* Tding::FindLabel(int start, int length) const
{
    for (const auto& row : m_labels)
        for (const Label& l : row)
            if (l.sameAs(start, length)) return &l;
    return nullptr;
}

bool Tding::SetLabelText(int start, int length, const std::string& text)
{
    for (auto& row : m_labels)
        for (Label& l : row)
            if (l.sameAs(start, length)) {
                l.text = text.substr(0, kMaxLabelText);
                return true;
            }
    return false;
}

bool Tding::RemoveLabel(int start, int length)
{
    std::vector<Label> rest;
    bool found = false;
    for (const auto& row : m_labels)
        for (const Label& l : row) {
            if (!found && l.sameAs(start, length)) found = true;
            else rest.push_back(l);
        }
    if (!found) return false;
    // Re-insert the rest row by row so labels move up into freed rows.
    for (auto& row : m_labels) row.clear();
    for (const Label& l : rest) AddLabel(l);
    return true;
}

int Tding::LabelRowCount() const
{
    return static_cast<int>(
        std::count_if(m_labels.begin(), m_labels.end(), [](const auto& row) { return !row.empty(); }));
}

void Tding::ClearLabels()
{
    for (auto& row : m_labels) row.clear();
}

int Tding::SmallestRepeat() const
{
    const int n = GetCount();
    for (int p = 1; p < n; ++p) {
        if (n % p) continue;
        bool ok = true;
        for (int i = p; i < n && ok; ++i) ok = Equal(i, i - p);
        if (ok) return p;
    }
    return n;
}

bool Tding::RangeEqual(int a, int b, int n) const
{
    if (n < 0 || a < 0 || b < 0 || a + n > GetCount() || b + n > GetCount()) return false;
    for (int i = 0; i < n; ++i)
        if (!Equal(a + i, b + i)) return false;
    return true;
}

void Tding::reverseThreads()
{
    std::reverse(m_colors.begin(), m_colors.end());
    std::reverse(m_thick.begin(), m_thick.end());
}

void Tding::copyCommonFrom(const Tding& src, bool withColors)
{
    const int n = src.GetCount();
    m_thick = src.m_thick;
    m_symbols.resize(static_cast<std::size_t>(n), 0);
    if (withColors) m_colors = src.m_colors;
    else m_colors.resize(static_cast<std::size_t>(n), m_defaultColor);
    m_ratio = src.m_ratio;
    invalidateThick();
}

} // namespace qb
