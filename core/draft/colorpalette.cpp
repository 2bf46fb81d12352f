#include "core/draft/colorpalette.h"

#include <algorithm>

namespace qb {

const std::string& ColorPalette::name(int i) const
{
    static const std::string none;
    return i >= 0 && i < count() ? m_names[i] : none;
}

bool ColorPalette::setName(int i, const std::string& name)
{
    if (i < 0 || i >= count()) return false;
    m_names[i] = name.empty() ? defaultName(i) : name.substr(0, kMaxName);
    return true;
}

int ColorPalette::find(COLORREF c) const
{
    auto it = std::find(m_colors.begin(), m_colors.end(), c);
    return it == m_colors.end() ? -1 : static_cast<int>(it - m_colors.begin());
}

int ColorPalette::add(COLORREF c, bool reuse, const std::string& name)
{
    c &= 0xFFFFFF;
    if (reuse) {
        const int i = find(c);
        if (i >= 0) return i;
    }
    if (count() >= kMaxColors) return kNoColor;
    m_colors.push_back(c);
    m_names.push_back(name.empty() ? defaultName(count() - 1) : name.substr(0, kMaxName));
    return count() - 1;
}

int ColorPalette::addBatch(const std::vector<COLORREF>& colors)
{
    int added = 0;
    for (COLORREF c : colors) {
        if (count() >= kMaxColors) break;
        add(c, false);
        ++added;
    }
    return added;
}

int ColorPalette::replace(int i, COLORREF c)
{
    c &= 0xFFFFFF;
    const int existing = find(c);
    if (existing >= 0) return existing;
    if (i < 0 || i >= count()) return kNoColor;
    m_colors[i] = c;
    m_names[i] = defaultName(i);
    return i;
}

bool ColorPalette::setColor(int i, COLORREF c)
{
    if (i < 0 || i >= count()) return false;
    m_colors[i] = c & 0xFFFFFF;
    return true;
}

void ColorPalette::clear()
{
    m_colors.clear();
    m_names.clear();
    m_left = m_right = 0;
}

} // namespace qb
