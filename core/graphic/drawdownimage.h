#pragma once

#include "core/draft/threadlayout.h"

#include <cstdint>

namespace qb {

class CQuillabyDoc;
class DrawdownRows;

// How the drawdown is painted: shared by the drawdown and fabric panes, the
// picture exports and `quillaby-cli render`.
struct DrawdownStyle {
    int coloring = 0;       // 0 color, 1 warp (black = warp), 2 weft (black = weft)
    bool interlace = false; // drawdown style 4
    bool back = false;      // seen from the back of the cloth
    int cellWidth = 12;     // end width in pixels
    int cellHeight = 12;    // pick height in pixels
    int markSize = 8;       // screen-scale mark size
    bool drawnUp = false;   // pick 1 at the bottom
    bool hidden = false;    // hidden drawdown pane
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

// The margins left round the thread bands of an interlaced cell, and whether
// the cells are large enough to interlace at all (both sides 6 pixels or more).
struct InterlaceMargins {
    int mx = 0;
    int my = 0;
    bool interlaceFits = false;
};
InterlaceMargins ComputeInterlaceMargins(int cellWidth, int cellHeight, int markSize, bool correlation);

// Pixel geometry of the drawdown picture, shared by painting, hit testing
// and the repaint of bands: end 1 at the right, pick 1 at the top (at the
// bottom when drawn up), a thick thread over all of its cells.
struct PixelSpan {
    long long first = 0; // first pixel
    long long end = 0;   // one past the last
};
PixelSpan DrawdownEndColumns(const ThreadLayout& ends, int cellWidth, int end);
PixelSpan DrawdownPickRows(const ThreadLayout& picks, int cellHeight, int pick, bool drawnUp);
// The thread under a pixel of the picture, -1 outside.
int DrawdownEndAt(const ThreadLayout& ends, int cellWidth, long long x);
int DrawdownPickAt(const ThreadLayout& picks, int cellHeight, long long y, bool drawnUp);

// The fabric frames' cell with the sett and beat proportions: with
// x = weft sett / warp sett (1 when either is 0) a cell of w x h becomes
// w x max(2, w / x) when x > 1, or max(2, h * x) x h when x < 1. Setts keep
// their fractions: 10 and 12 ends per inch give 5/6, not 0.
struct CellSize {
    int width = 0;
    int height = 0;
};
CellSize ProportionedCell(int w, int h, double warpSett, double weftSett);

// Pixel colors used by the drawdown (0xAARRGGBB).
inline constexpr std::uint32_t kDrawdownSilver = 0xFFC0C0C0;
inline constexpr std::uint32_t kDrawdownWhite = 0xFFFFFFFF;
inline constexpr std::uint32_t kDrawdownBlack = 0xFF000000;
inline constexpr std::uint32_t kPickMarkerOrange = 0xFFFF4000;
inline constexpr std::uint32_t kPickMarkerYellow = 0xFFFFFF00;
inline constexpr std::uint32_t kGridThin = 0xFF808080;
inline constexpr std::uint32_t kGridHeavy = 0xFF000080;

// A draft color 0x00BBGGRR as an opaque 0xAARRGGBB pixel.
inline constexpr std::uint32_t PixelOf(std::uint32_t colorref)
{
    return 0xFF000000u | ((colorref & 0xFFu) << 16) | (colorref & 0xFF00u) | ((colorref >> 16) & 0xFFu);
}

// Paints the part of the whole drawdown picture that starts at pixel (x0, y0)
// into `out` (out.width x out.height pixels). The whole picture is
// ends.totalCells() * cellWidth wide and picks.totalCells() * cellHeight tall,
// end 1 at the right, pick 1 at the top (bottom when drawn up). Only threads
// inside the region are visited. `rows` may have been built for either side
// of the cloth; `style.back` decides which side is shown.
//
// Pixel layout shared with the other panes: the boundary between two cells
// lies on the first (left or top) pixel column or row of the later cell, so a
// grid of n cells with its lines is n * cell + 1 pixels. When the drawdown
// leaves a one-pixel gap between cells, the gap is that boundary pixel.
void RenderDrawdown(const CQuillabyDoc& doc, const DrawdownRows& rows, const DrawdownStyle& style,
                    const ThreadLayout& ends, const ThreadLayout& picks, int x0, int y0, PixelBuffer out);

} // namespace qb
