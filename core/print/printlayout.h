#pragma once

#include "core/draft/threadlayout.h"

#include <string>
#include <vector>

namespace qb {

class CQuillabyDoc;

// What a frame puts on paper: the four panes of a draft window, or one pane
// alone. A threading or treadling alone is printed in strips; a treadling
// may instead print as a dobby-bar chart (its picks as bars, the shafts they
// lift as pegs).
enum class PrintKind { Draft, Threading, Tieup, Treadling, DobbyBars, Fabric };

// The device: resolution and printable area in dots. A missing resolution
// (no printer) reads as 300 dots per inch, a missing area as a US Letter
// sheet at that resolution.
struct PrinterMetrics {
    int dpiX = 0, dpiY = 0;
    int pageWidth = 0, pageHeight = 0;
};

// The draft's own choices beside the standard print dialog, kept for the
// program's lifetime and shared by every frame.
struct PrintOptions {
    int coloring = 0;       // drawdown on paper: 0 color/grayscale, 1 warp, 2 weft
    bool interlace = false; // for a treadling frame: dobby bars instead of the liftplan
    bool fit = false;       // Size to Fit
    int scale = 10;         // squares per inch, 4..32
    int dobbyBarH = 47;     // dobby-bar cell, hundredths of an inch
    int dobbyBarV = 114;
    static constexpr int kMinScale = 4, kMaxScale = 32;
};

// The grid a frame prints, in cells: threads run across (ends) and down
// (picks); the threading's rows sit above the ends, the treadling's columns
// beside the picks, the tieup where they meet.
struct PrintGrid {
    PrintKind kind = PrintKind::Draft;
    ThreadLayout ends, picks;
    int threadingRows = 0;    // shafts, a blank row, warp color bars, label rows
    int treadlingColumns = 0; // treadles (shafts in liftplan form), blank, weft bars, labels
};
PrintGrid PrintGridOf(const CQuillabyDoc& doc, PrintKind kind);

struct DotRect {
    int x = 0, y = 0, w = 0, h = 0;
};

// Threads [first, first + count) of one side.
struct ThreadRange {
    int first = 0, count = 0;
};

// One strip on a page: its threads, and the cells of the band across them
// (all of it unless the band is too big for a page).
struct StripPiece {
    ThreadRange threads;
    ThreadRange cells;
};

// Everything about the printed pages but the drawing.
struct PageLayout {
    PrintKind kind = PrintKind::Draft;
    PrinterMetrics device;             // with the 300-dpi fallbacks applied
    int cellWidth = 0, cellHeight = 0; // printed cell in dots (0 when shrunk)
    // Size to Fit of a grid too large for one page even at the smallest
    // cell: the whole grid is drawn as a picture shrunk onto one page, this
    // many dots to a cell (below 2).
    double shrunkCell = 0;
    int effectiveScale = 0; // squares per inch the cell amounts to (vertical)
    int sideMargin = 0, headerBand = 0, footerBand = 0, gap = 0;
    DotRect header, footer, body; // bands and printable area of a page
    int paneGap = 0;              // between the panes on paper
    // Threads on each page column / row of pages; for strips, one entry per
    // strip, and `stripsPerPage` strips stack on a page. A tieup alone holds
    // its treadle columns and shaft rows here, in cells.
    std::vector<ThreadRange> endPages, pickPages;
    // For strips: the band across the threads (shaft rows of a threading,
    // treadle columns of a treadling) in pieces that fit a page; every strip
    // prints once per piece.
    std::vector<ThreadRange> bandPieces;
    // A treadling too wide to stand beside every page's ends (a threading too
    // tall to stand above every page's picks) gets page columns (rows) of its
    // own when that takes fewer pages: the band's cells on each, after the
    // ends' columns (before the picks' rows).
    std::vector<ThreadRange> treadlingPages, threadingPages;
    int stripsPerPage = 1;
    int endNumberBand = 0; // under each threading strip, for its end numbers
    int pagesAcross = 1, pagesDown = 1, totalPages = 1;
    // Grid text on paper: font size in points, and whether numbers and
    // letters fit the cells (else plain marks).
    double cellFontPoints = 0;
    bool textInCells = false;
    static constexpr double kEndNumberPoints = 6;

    // Ends and picks of page n (0-based; pages run across first). For strip
    // kinds, the strips stacked on the page.
    ThreadRange endsOf(int page) const;
    ThreadRange picksOf(int page) const;
    // Which of `treadlingPages` / `threadingPages` page n shows, or -1.
    int treadlingPageOf(int page) const;
    int threadingPageOf(int page) const;
    std::vector<ThreadRange> stripsOf(int page) const;
    std::vector<StripPiece> piecesOf(int page) const;
};

PageLayout ComputePageLayout(const PrintGrid& grid, const PrinterMetrics& device, const PrintOptions& options);

// Blank cells between strips stacked on a page (dobby bars, being large, sit closer).
int StripSpacing(PrintKind kind);

// The page-number line of the footer.
std::string PageNumberText(int page, int total);

} // namespace qb
