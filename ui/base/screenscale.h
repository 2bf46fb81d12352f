#pragma once

#include "ui/base/cellscale.h"

class QScreen;
class QWidget;

namespace qb {

// Cell sizes of the grid panes for the screen's resolution: 12, 10 and 8
// pixels at 96 dots per inch, scaled in proportion to the DPI.
struct ScreenScale {
    int baseCell = 12;  // base cell size
    int innerCell = 10; // inner cell size: base * 5 / 6
    int markSize = 8;   // mark size: inner - 2

    // Rounded proportional scaling, so 72 DPI still gives usable cells and
    // 120 or 144 DPI get bigger ones; never below kMinBaseCell.
    static ScreenScale fromDpi(double dpi);
    // The logical DPI of the screen (per monitor); 96 when there is none.
    static ScreenScale forScreen(const QScreen* screen);
    static ScreenScale forWidget(const QWidget* widget);

    // The same sizes as the grid panes take them.
    CellScale cells() const { return {baseCell, innerCell, markSize}; }

    static constexpr int kMinBaseCell = 8;
    bool operator==(const ScreenScale&) const = default;
};

} // namespace qb
