#pragma once

#include "core/draft/limits.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qb {

using COLORREF = std::uint32_t; // 0x00BBGGRR

inline constexpr COLORREF rgb(int r, int g, int b)
{
    return COLORREF(r & 0xFF) | (COLORREF(g & 0xFF) << 8) | (COLORREF(b & 0xFF) << 16);
}
inline constexpr int red(COLORREF c)
{
    return int(c & 0xFF);
}
inline constexpr int green(COLORREF c)
{
    return int((c >> 8) & 0xFF);
}
inline constexpr int blue(COLORREF c)
{
    return int((c >> 16) & 0xFF);
}

// The draft's colors: at most 90, each with a name of up to 11 characters,
// plus the colors on the left and right mouse buttons.
class ColorPalette {
public:
    static constexpr int kMaxName = 11;

    int count() const { return static_cast<int>(m_colors.size()); }
    COLORREF color(int i) const { return i >= 0 && i < count() ? m_colors[i] : 0; }
    const std::string& name(int i) const;
    bool setName(int i, const std::string& name);
    // Index of c, or -1.
    int find(COLORREF c) const;

    // Adds a color; with `reuse` an equal color already present is returned
    // instead. Returns kNoColor (255) when the palette is full.
    int add(COLORREF c, bool reuse, const std::string& name = {});
    // Adds at most 90 - count colors; returns how many were added.
    int addBatch(const std::vector<COLORREF>& colors);
    // Replaces slot i by c (see the rules in the .cpp); returns the index of c
    // or kNoColor.
    int replace(int i, COLORREF c);
    bool setColor(int i, COLORREF c);
    void clear();

    int leftColor() const { return m_left; }
    int rightColor() const { return m_right; }
    // The mouse-button colors must name a color of the palette.
    bool setLeftColor(int i) { return setButton(m_left, i); }
    bool setRightColor(int i) { return setButton(m_right, i); }

    const std::vector<COLORREF>& colors() const { return m_colors; }
    static std::string defaultName(int index) { return "color" + std::to_string(index + 1); }

    bool operator==(const ColorPalette&) const = default;

private:
    bool setButton(std::uint8_t& field, int i)
    {
        if (i < 0 || i >= count()) return false;
        field = static_cast<std::uint8_t>(i);
        return true;
    }

    std::vector<COLORREF> m_colors;
    std::vector<std::string> m_names;
    std::uint8_t m_left = 0;
    std::uint8_t m_right = 0;
};

} // namespace qb
