#pragma once

#include "core/draft/colorpalette.h"

#include <array>
#include <vector>

class QSettings;

namespace qb {

// The colors every new draft's palette starts with. Kept in the store as
// "Settings"/NumDefaultColors and "Colors"/color0, color1, ...
class CDefaultPalette {
public:
    static constexpr const char* kColorsSection = "Colors";
    static constexpr const char* kCountKey = "NumDefaultColors";
    // white, black, grey, navy, blue, purple, magenta, green, lime, teal,
    // aqua, maroon, red, olive, yellow (0x00BBGGRR).
    static const std::array<COLORREF, 15> kBuiltIn;

    CDefaultPalette();

    // A stored count of 1..90 reads that many colors (a missing one is
    // black); any other count, or none, restores the built-in colors and
    // writes them back.
    void load(QSettings& store);
    // Set Default Palette: these colors become the default, in memory and in
    // the store (count and every color; colors beyond the count are removed).
    void store(QSettings& store, const std::vector<COLORREF>& colors);

    const std::vector<COLORREF>& colors() const { return m_colors; }
    int count() const { return static_cast<int>(m_colors.size()); }

    static bool isValidCount(int n) { return n >= 1 && n <= kMaxColors; }

private:
    std::vector<COLORREF> m_colors;
};

} // namespace qb
