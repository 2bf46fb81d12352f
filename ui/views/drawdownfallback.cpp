#include "drawdownfallback.h"

#include "draft/drawdown.h"
#include "draft/quillabydoc.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace qb {

namespace {

constexpr std::uint32_t kSilver = 0xFFC0C0C0u;
constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

std::uint32_t argb(COLORREF c)
{
    return 0xFF000000u | (std::uint32_t(red(c)) << 16) | (std::uint32_t(green(c)) << 8) | std::uint32_t(blue(c));
}

std::uint32_t mask(std::uint32_t argbColor, std::uint32_t m)
{
    return 0xFF000000u | (argbColor & m);
}

} // namespace

int interlaceMargin(int side, int markSize, bool correlation)
{
    const double k = correlation ? 0.875 : 0.78;
    int band;
    if (side < markSize) {
        band = side - 2;
    } else {
        band = int(std::floor(side * k));
        if ((side - band) % 2) ++band;
    }
    if (band < 3) return 0;
    return (side - band) / 2;
}

bool interlacePossible(int w, int h)
{
    return std::ceil((w - 1) * 0.78) < w - 1 && std::ceil((h - 1) * 0.78) < h - 1;
}

void RenderDrawdownFallback(const CQuillabyDoc& doc, const DrawdownRows& rows, const DrawdownStyle& st,
                            const ThreadLayout& ends, const ThreadLayout& picks, int x0, int y0, PixelBuffer out)
{
    const int cw = std::max(1, st.cellWidth), ch = std::max(1, st.cellHeight);
    for (int y = 0; y < out.height; ++y) std::fill_n(out.pixels + std::size_t(y) * out.stride, out.width, kSilver);
    const int picW = ends.totalCells() * cw, picH = picks.totalCells() * ch;
    if (picW == 0 || picH == 0 || out.width <= 0 || out.height <= 0) return;

    const int correlation = doc.activeCorrelation();
    const bool interlace = st.interlace && correlation == 0 && interlacePossible(cw, ch);
    const bool gaps = !interlace && cw > st.markSize && ch > st.markSize;
    const int mx = interlace ? interlaceMargin(cw, st.markSize, false) : 0;
    const int my = interlace ? interlaceMargin(ch, st.markSize, false) : 0;
    const bool selection = st.selFirstEnd >= 0 && st.selLastEnd >= 0 && st.selFirstPick >= 0 && st.selLastPick >= 0;
    const bool blankWarpUp = !doc.isRisingShed() != st.back;

    // Ends inside the region, right to left: pixel x of end e starts at picW - (cellOf(e) + cells) * cw.
    const int xa = std::max(0, x0), xb = std::min(picW, x0 + out.width);
    const int ya = std::max(0, y0), yb = std::min(picH, y0 + out.height);
    if (xa >= xb || ya >= yb) return;
    const int eFirst = ends.threadAt((picW - xb) / cw), eLast = ends.threadAt((picW - 1 - xa) / cw);
    auto cellRowOf = [&](int y) { return st.drawnUp ? (picH - 1 - y) / ch : y / ch; };
    int pA = picks.threadAt(cellRowOf(ya)), pB = picks.threadAt(cellRowOf(yb - 1));
    if (pA > pB) std::swap(pA, pB);

    std::vector<std::uint32_t> warpColor(std::size_t(eLast - eFirst + 1));
    for (int e = eFirst; e <= eLast; ++e) warpColor[e - eFirst] = argb(WarpColor(doc, e, 0));
    std::vector<std::uint32_t> lineBand(std::size_t(out.width)), lineGap(std::size_t(out.width));

    for (int p = pA; p <= pB; ++p) {
        const DrawdownRows::Row row = rows.row(p);
        const std::uint32_t weft = argb(WeftColor(doc, p, 0));
        const bool pickSelected = !selection || (p >= st.selFirstPick && p <= st.selLastPick);
        // Two kinds of scan line per pick: inside the horizontal band, and outside it.
        for (int kind = 0; kind < 2; ++kind) {
            std::vector<std::uint32_t>& line = kind == 0 ? lineBand : lineGap;
            if (kind == 1 && !interlace) break;
            for (int e = eFirst; e <= eLast; ++e) {
                const bool up = (row.warpUp[e >> 6] >> (e & 63)) & 1;
                const bool blank = (row.blank[e >> 6] >> (e & 63)) & 1;
                std::uint32_t top, under;
                bool warpUp = up;
                if (correlation != 0 && st.coloring == 0) {
                    const ColoredCell c = DrawdownColoredCell(doc, e, p, st.back);
                    top = argb(c.top);
                    under = argb(c.second);
                } else if (st.coloring == 0) {
                    if (blank) warpUp = blankWarpUp;
                    const std::uint32_t warp = warpColor[e - eFirst];
                    top = warpUp ? warp : weft;
                    under = warpUp ? weft : warp;
                } else {
                    const bool blackTop = (st.coloring == 1) == (up && !blank);
                    top = blackTop ? kBlack : kWhite;
                    under = blackTop ? kWhite : kBlack;
                }
                const bool dim = selection && !(pickSelected && e >= st.selFirstEnd && e <= st.selLastEnd);
                if (dim) {
                    top = mask(top, 0x333333);
                    under = mask(under, 0x333333);
                }
                const int xs = picW - (ends.cellOf(e) + ends.cellsOf(e)) * cw;
                const int n = ends.cellsOf(e) * cw;
                for (int x = std::max(xs, xa); x < std::min(xs + n, xb); ++x) {
                    const int dx = (x - xs) % cw;
                    std::uint32_t c = top;
                    if (interlace && !dim) {
                        const bool inV = dx >= mx && dx < cw - mx;
                        const bool inH = kind == 0;
                        const std::uint32_t masked = mask(under, 0x555555);
                        if (warpUp) c = inV ? top : (inH ? masked : kBlack);
                        else c = inH ? top : (inV ? masked : kBlack);
                    } else if (gaps && x == xs) {
                        c = kSilver;
                    }
                    line[std::size_t(x - x0)] = c;
                }
            }
        }
        const int cells = picks.cellsOf(p);
        const int ys = st.drawnUp ? picH - (picks.cellOf(p) + cells) * ch : picks.cellOf(p) * ch;
        for (int y = std::max(ys, ya); y < std::min(ys + cells * ch, yb); ++y) {
            const int dy = (y - ys) % ch;
            std::uint32_t* dst = out.pixels + std::size_t(y - y0) * out.stride + (xa - x0);
            if (gaps && y == ys) {
                std::fill_n(dst, xb - xa, kSilver);
                continue;
            }
            const bool inH = !interlace || (dy >= my && dy < ch - my);
            const std::uint32_t* src = (inH ? lineBand.data() : lineGap.data()) + (xa - x0);
            std::copy_n(src, xb - xa, dst);
        }
    }
}

} // namespace qb
