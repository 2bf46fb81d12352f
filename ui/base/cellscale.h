#pragma once

namespace qb {

// The screen-scale cell sizes a frame starts from (12, 10 and 8 pixels at
// 96 dots per inch); the application computes them for the screen.
struct CellScale {
    int baseCell = 12;  // base cell size
    int innerCell = 10; // text glyphs need a font at least this tall
    int markSize = 8;   // below this, cells show plain marks and no grid lines

    bool operator==(const CellScale&) const = default;
};

} // namespace qb
