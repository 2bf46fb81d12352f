#pragma once

#include "draft/threadlayout.h"

#include <cstdint>

namespace qb {

class CQuillabyDoc;
class DrawdownRows;

// How the drawdown is painted: shared by the drawdown and fabric panes, the
// picture exports and `quillaby-cli render`.
struct DrawdownStyle {
    int coloring = 0;        // 0 color, 1 warp (black = warp), 2 weft (black = weft)
    bool interlace = false;  // drawdown style 4
    bool back = false;       // seen from the back of the cloth
    int cellWidth = 12;      // end width in pixels
    int cellHeight = 12;     // pick height in pixels
    int markSize = 8;        // screen-scale mark size
    bool drawnUp = false;    // pick 1 at the bottom
    bool hidden = false;     // hidden drawdown pane
    bool showGridWhenHidden = false;
    // Selection rectangle in ends and picks (all four set, else -1): cells
    // outside are dimmed and drawn flat.
    int selFirstEnd = -1, selLastEnd = -1, selFirstPick = -1, selLastPick = -1;
    // The current weaving pick while connected to the loom (screen only), or -1.
    int currentPick = -1;
};

// Pixels are 0xAARRGGBB (alpha 0xFF), the layout of a QImage::Format_ARGB32 /
// Format_RGB32 scan line, row by row with `stride` pixels per row.
struct PixelBuffer {
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

// Paints the part of the whole drawdown picture that starts at pixel (x0, y0)
// into `out` (out.width x out.height pixels). The whole picture is
// ends.totalCells() * cellWidth wide and picks.totalCells() * cellHeight tall,
// end 1 at the right, pick 1 at the top (bottom when drawn up). Only threads
// inside the region are visited.
void RenderDrawdown(const CQuillabyDoc& doc, const DrawdownRows& rows, const DrawdownStyle& style,
                    const ThreadLayout& ends, const ThreadLayout& picks, int x0, int y0, PixelBuffer out);

} // namespace qb
