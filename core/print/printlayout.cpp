#include "core/print/printlayout.h"

#include "core/draft/quillabydoc.h"
#include "core/graphic/wholedraftimage.h"

#include <algorithm>
#include <cstdio>

namespace qb {

namespace {

constexpr int kFallbackDpi = 300;
bool isStripKind(PrintKind k)
{
    return k == PrintKind::Threading || k == PrintKind::Treadling || k == PrintKind::DobbyBars;
}

// Splits threads into runs of at most `cells` cells; a thread wider than
// that still gets a run of its own, so every page shows at least one.
std::vector<ThreadRange> splitThreads(const ThreadLayout& threads, long long cells)
{
    std::vector<ThreadRange> runs;
    const int n = threads.count();
    if (n == 0) return {ThreadRange{0, 0}};
    int i = 0;
    while (i < n) {
        const long long start = threads.cellOf(i);
        int j = i + 1;
        while (j < n && threads.cellOf(j) + threads.cellsOf(j) - start <= cells) ++j;
        runs.push_back({i, j - i});
        i = j;
    }
    return runs;
}

// Cells 0..total-1 of a band in runs of at most `cells`.
std::vector<ThreadRange> splitCells(int total, long long cells)
{
    std::vector<ThreadRange> runs;
    const int step = static_cast<int>(std::clamp<long long>(cells, 1, std::max(1, total)));
    for (int i = 0; i < total; i += step) runs.push_back({i, std::min(step, total - i)});
    return runs;
}

// Threads beside a band, or threads on pages of their own and the band on
// further pages, whichever takes fewer pages.
void placeBand(const ThreadLayout& threads, int bandCells, long long beside, long long full,
               std::vector<ThreadRange>& threadPages, std::vector<ThreadRange>& bandPages)
{
    bandPages.clear();
    if (beside >= 1) threadPages = splitThreads(threads, beside);
    std::vector<ThreadRange> alone = splitThreads(threads, full), band = splitCells(bandCells, full);
    if (beside < 1 || alone.size() + band.size() < threadPages.size()) {
        threadPages = std::move(alone);
        bandPages = std::move(band);
    }
}

int paneGapFor(int cw, int ch)
{
    return std::max(3, std::min(cw, ch) / 2);
}

// Lays out the pages for one cell size.
void layoutCells(const PrintGrid& g, PageLayout& l, int cw, int ch)
{
    l.cellWidth = cw;
    l.cellHeight = ch;
    l.shrunkCell = 0;
    l.paneGap = paneGapFor(cw, ch);
    const long long W = l.body.w, H = l.body.h;
    l.stripsPerPage = 1;
    l.treadlingPages.clear();
    l.threadingPages.clear();
    l.bandPieces = {ThreadRange{0, 0}};
    switch (g.kind) {
    case PrintKind::Draft: {
        const long long availW = W - (static_cast<long long>(g.treadlingColumns) * cw + 1 + l.paneGap) - 1;
        const long long availH = H - (static_cast<long long>(g.threadingRows) * ch + 1 + l.paneGap) - 1;
        placeBand(g.ends, g.treadlingColumns, availW / cw, (W - 1) / cw, l.endPages, l.treadlingPages);
        placeBand(g.picks, g.threadingRows, availH / ch, (H - 1) / ch, l.pickPages, l.threadingPages);
        break;
    }
    case PrintKind::Fabric:
        l.endPages = splitThreads(g.ends, W / cw);
        l.pickPages = splitThreads(g.picks, H / ch);
        break;
    case PrintKind::Tieup:
        l.endPages = splitCells(g.treadlingColumns, (W - 1) / cw);
        l.pickPages = splitCells(g.threadingRows, (H - 1) / ch);
        if (l.endPages.empty()) l.endPages = {ThreadRange{0, 0}};
        if (l.pickPages.empty()) l.pickPages = {ThreadRange{0, 0}};
        break;
    case PrintKind::Threading: {
        l.endPages = splitThreads(g.ends, (W - 1) / cw);
        l.pickPages = {ThreadRange{0, 0}};
        // 64 shafts at a coarse scale are taller than a page: the rows go in pieces.
        const long long room = H - 1 - l.endNumberBand;
        l.bandPieces = splitCells(g.threadingRows, room / ch);
        if (l.bandPieces.empty()) l.bandPieces = {ThreadRange{0, 0}};
        const long long strip = static_cast<long long>(l.bandPieces.front().count) * ch + 1 + l.endNumberBand;
        const long long pitch = strip + static_cast<long long>(StripSpacing(g.kind)) * ch;
        l.stripsPerPage = H < strip ? 1 : static_cast<int>((H - strip) / pitch + 1);
        break;
    }
    case PrintKind::Treadling:
    case PrintKind::DobbyBars: {
        l.pickPages = splitThreads(g.picks, (H - 1) / ch);
        l.endPages = {ThreadRange{0, 0}};
        l.bandPieces = splitCells(g.treadlingColumns, (W - 1) / cw);
        if (l.bandPieces.empty()) l.bandPieces = {ThreadRange{0, 0}};
        const long long strip = static_cast<long long>(l.bandPieces.front().count) * cw + 1;
        const long long pitch = strip + static_cast<long long>(StripSpacing(g.kind)) * cw;
        l.stripsPerPage = W < strip ? 1 : static_cast<int>((W - strip) / pitch + 1);
        break;
    }
    }
    if (isStripKind(g.kind)) {
        const int runs = static_cast<int>(g.kind == PrintKind::Threading ? l.endPages.size() : l.pickPages.size());
        const int strips = runs * static_cast<int>(l.bandPieces.size());
        l.pagesAcross = (strips + l.stripsPerPage - 1) / l.stripsPerPage;
        l.pagesDown = 1;
    } else {
        l.pagesAcross = static_cast<int>(l.endPages.size() + l.treadlingPages.size());
        l.pagesDown = static_cast<int>(l.threadingPages.size() + l.pickPages.size());
    }
    l.totalPages = l.pagesAcross * l.pagesDown;
    l.effectiveScale = std::max(1, (l.device.dpiY + ch / 2) / ch);
    l.cellFontPoints = std::min(cw, ch) * 0.75 * 72.0 / l.device.dpiY;
    // Numbers need a cell of 1/14 inch; the 75 % font always fits its height.
    l.textInCells = static_cast<long long>(ch) * 14 >= l.device.dpiY;
}

// Cells of the whole grid across and down, for shrinking it onto one page.
void wholeGridCells(const PrintGrid& g, double& across, double& down)
{
    const double ends = g.ends.totalCells(), picks = g.picks.totalCells();
    switch (g.kind) {
    case PrintKind::Draft:
        across = ends + g.treadlingColumns + 2;
        down = picks + g.threadingRows + 2;
        return;
    case PrintKind::Fabric:
        across = ends;
        down = picks;
        return;
    case PrintKind::Tieup:
        across = g.treadlingColumns;
        down = g.threadingRows;
        return;
    case PrintKind::Threading:
        across = ends;
        down = g.threadingRows;
        return;
    case PrintKind::Treadling:
    case PrintKind::DobbyBars:
        across = g.treadlingColumns;
        down = picks;
        return;
    }
}

} // namespace

PrintGrid PrintGridOf(const CQuillabyDoc& doc, PrintKind kind)
{
    PrintGrid g;
    g.kind = kind;
    const int ends = doc.numEnds(), picks = doc.numPicks();
    g.ends = doc.threading(0) ? ThreadLayout(*doc.threading(0), ends) : ThreadLayout::uniform(ends);
    g.picks = doc.treadling(0) ? ThreadLayout(*doc.treadling(0), picks) : ThreadLayout::uniform(picks);
    const WholeDraftLayout whole = ComputeWholeDraftLayout(doc, WholeDraftStyle{});
    g.threadingRows = whole.threadingRows;
    g.treadlingColumns = whole.treadlingColumns;
    if (kind == PrintKind::Tieup) {
        g.threadingRows = doc.numShafts();
        g.treadlingColumns = doc.numTreadles(); // as the whole picture draws it
    } else if (kind == PrintKind::DobbyBars) {
        // One bar per pick, one peg hole per shaft, all bars alike.
        g.picks = ThreadLayout::uniform(picks);
        g.treadlingColumns = doc.numShafts();
    }
    return g;
}

PageLayout ComputePageLayout(const PrintGrid& grid, const PrinterMetrics& device, const PrintOptions& options)
{
    PageLayout l;
    l.kind = grid.kind;
    PrinterMetrics& d = l.device;
    d = device;
    if (d.dpiX <= 0 || d.dpiY <= 0) d.dpiX = d.dpiY = kFallbackDpi;
    if (d.pageWidth <= 0 || d.pageHeight <= 0) {
        d.pageWidth = d.dpiX * 17 / 2;
        d.pageHeight = d.dpiY * 11;
    }
    l.sideMargin = d.dpiX / 4;
    l.headerBand = l.footerBand = d.dpiY / 2;
    l.gap = d.dpiY * 3 / 16;
    // One line of the 6-point end numbers, with its leading.
    if (grid.kind == PrintKind::Threading)
        l.endNumberBand = static_cast<int>(d.dpiY * PageLayout::kEndNumberPoints * 1.5 / 72);
    const int bodyW = std::max(1, d.pageWidth - 2 * l.sideMargin);
    l.header = {l.sideMargin, 0, bodyW, l.headerBand};
    l.footer = {l.sideMargin, std::max(0, d.pageHeight - l.footerBand), bodyW, l.footerBand};
    l.body = {l.sideMargin, l.headerBand, bodyW, std::max(1, d.pageHeight - l.headerBand - l.footerBand)};
    if (grid.kind == PrintKind::DobbyBars) {
        l.body.w = std::max(1, l.body.w - l.gap);
        l.body.y += l.gap;
        l.body.h = std::max(1, l.body.h - l.gap);
    }

    const int scale = std::clamp(options.scale, PrintOptions::kMinScale, PrintOptions::kMaxScale);
    int cw = std::max(1, d.dpiX / scale), ch = std::max(1, d.dpiY / scale);
    if (grid.kind == PrintKind::DobbyBars && options.dobbyBarH > 0 && options.dobbyBarV > 0) {
        cw = std::max(1, static_cast<int>(static_cast<long long>(d.dpiX) * options.dobbyBarH / 100));
        ch = std::max(1, static_cast<int>(static_cast<long long>(d.dpiY) * options.dobbyBarV / 100));
    }
    if (!options.fit || grid.kind == PrintKind::DobbyBars) {
        layoutCells(grid, l, cw, ch);
        return l;
    }

    // Size to Fit: the largest square cell of at least 2 dots that puts the
    // whole grid on one page, never larger than the coarsest scale.
    auto pagesAt = [&](int c) {
        PageLayout t = l;
        layoutCells(grid, t, c, c);
        return t.totalPages;
    };
    const int largest = std::max(2, d.dpiY / PrintOptions::kMinScale);
    if (pagesAt(2) > 1) {
        // Not even the smallest cell fits: shrink the whole grid as a picture.
        double across = 1, down = 1;
        wholeGridCells(grid, across, down);
        layoutCells(grid, l, 1, 1);
        l.endPages = {ThreadRange{0, grid.ends.count()}};
        l.pickPages = {ThreadRange{0, grid.picks.count()}};
        l.stripsPerPage = 1;
        l.treadlingPages.clear();
        l.threadingPages.clear();
        l.pagesAcross = l.pagesDown = l.totalPages = 1;
        l.cellWidth = l.cellHeight = 0;
        l.shrunkCell = std::min(l.body.w / std::max(1.0, across), l.body.h / std::max(1.0, down));
        l.effectiveScale = static_cast<int>(d.dpiY / std::max(1e-9, l.shrunkCell) + 0.5);
        l.textInCells = false;
        l.cellFontPoints = 0;
        return l;
    }
    int lo = 2, hi = largest;
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (pagesAt(mid) == 1) lo = mid;
        else hi = mid - 1;
    }
    // The scale that cell amounts to, when the cells it gives still fit;
    // otherwise the fitted cell itself (a scale beyond the spin box's range).
    const int fitScale = std::clamp((d.dpiY + lo - 1) / lo, PrintOptions::kMinScale, PrintOptions::kMaxScale);
    PageLayout scaled = l;
    layoutCells(grid, scaled, std::max(1, d.dpiX / fitScale), std::max(1, d.dpiY / fitScale));
    if (scaled.totalPages == 1) return scaled;
    layoutCells(grid, l, lo, lo);
    return l;
}

namespace {

ThreadRange spanOf(const std::vector<ThreadRange>& strips)
{
    if (strips.empty()) return {};
    return {strips.front().first, strips.back().first + strips.back().count - strips.front().first};
}

} // namespace

ThreadRange PageLayout::endsOf(int page) const
{
    if (kind == PrintKind::Threading) return spanOf(stripsOf(page));
    if (isStripKind(kind) || pagesAcross <= 0 || endPages.empty() || page < 0) return {};
    const int col = page % pagesAcross;
    return col < static_cast<int>(endPages.size()) ? endPages[col] : ThreadRange{};
}

int PageLayout::treadlingPageOf(int page) const
{
    if (treadlingPages.empty() || pagesAcross <= 0 || page < 0) return -1;
    const int i = page % pagesAcross - static_cast<int>(endPages.size());
    return i >= 0 && i < static_cast<int>(treadlingPages.size()) ? i : -1;
}

int PageLayout::threadingPageOf(int page) const
{
    if (threadingPages.empty() || pagesAcross <= 0 || page < 0) return -1;
    const int i = page / pagesAcross;
    return i < static_cast<int>(threadingPages.size()) ? i : -1;
}

ThreadRange PageLayout::picksOf(int page) const
{
    if (kind == PrintKind::Treadling || kind == PrintKind::DobbyBars) return spanOf(stripsOf(page));
    if (isStripKind(kind) || pagesAcross <= 0 || pickPages.empty() || page < 0) return {};
    const int row = page / pagesAcross - static_cast<int>(threadingPages.size());
    return row >= 0 && row < static_cast<int>(pickPages.size()) ? pickPages[row] : ThreadRange{};
}

std::vector<StripPiece> PageLayout::piecesOf(int page) const
{
    if (!isStripKind(kind) || page < 0 || bandPieces.empty()) return {};
    const std::vector<ThreadRange>& runs = kind == PrintKind::Threading ? endPages : pickPages;
    // The pieces of one run of threads follow each other.
    const int pieces = static_cast<int>(bandPieces.size());
    const int total = static_cast<int>(runs.size()) * pieces;
    std::vector<StripPiece> out;
    const int last = std::min((page + 1) * stripsPerPage, total);
    for (int i = page * stripsPerPage; i < last; ++i) out.push_back({runs[i / pieces], bandPieces[i % pieces]});
    return out;
}

std::vector<ThreadRange> PageLayout::stripsOf(int page) const
{
    std::vector<ThreadRange> out;
    for (const StripPiece& s : piecesOf(page)) out.push_back(s.threads);
    return out;
}

int StripSpacing(PrintKind kind)
{
    return kind == PrintKind::DobbyBars ? 1 : 8;
}

std::string PageNumberText(int page, int total)
{
    char buf[48];
    std::snprintf(buf, sizeof buf, "Page %d of %d", page, total);
    return buf;
}

} // namespace qb
