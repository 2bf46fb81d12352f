#include "core/graphic/drawdownimage.h"

#include "core/draft/drawdown.h"
#include "core/draft/quillabydoc.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace qb {

InterlaceMargins ComputeInterlaceMargins(int w, int h, int markSize, bool correlation)
{
    // Band widths are whole pixels of k = 0.875 or 0.78 of the cell; kept as
    // exact fractions so the results never depend on rounding of doubles.
    const int num = correlation ? 875 : 780, den = 1000;
    auto margin = [&](int side, bool isHeight) {
        if (side < markSize) {
            if (isHeight) return 1;
            return side - 2 < 3 ? 0 : 1;
        }
        int band = side * num / den;
        if ((side - band) % 2 != 0) ++band;
        if (band < 3) return 0;
        return (side - band) / 2;
    };
    InterlaceMargins m;
    m.mx = std::max(0, margin(w, false));
    m.my = std::max(0, margin(h, true));
    // ceil((side - 1) * 0.78) < side - 1, i.e. both sides at least 6 pixels.
    auto roomy = [](int side) {
        const int s = side - 1;
        return s > 0 && (s * 78 + 99) / 100 < s;
    };
    m.interlaceFits = roomy(w) && roomy(h);
    return m;
}

PixelSpan DrawdownEndColumns(const ThreadLayout& ends, int cellWidth, int end)
{
    const long long w = std::max(1, cellWidth), total = ends.totalCells();
    return {(total - ends.cellOf(end) - ends.cellsOf(end)) * w, (total - ends.cellOf(end)) * w};
}

PixelSpan DrawdownPickRows(const ThreadLayout& picks, int cellHeight, int pick, bool drawnUp)
{
    const long long h = std::max(1, cellHeight), total = picks.totalCells();
    if (drawnUp) return {(total - picks.cellOf(pick) - picks.cellsOf(pick)) * h, (total - picks.cellOf(pick)) * h};
    return {picks.cellOf(pick) * h, (picks.cellOf(pick) + picks.cellsOf(pick)) * h};
}

int DrawdownEndAt(const ThreadLayout& ends, int cellWidth, long long x)
{
    const long long w = std::max(1, cellWidth), total = ends.totalCells();
    if (x < 0 || x >= total * w) return -1;
    return ends.threadAt(static_cast<int>(total - 1 - x / w));
}

int DrawdownPickAt(const ThreadLayout& picks, int cellHeight, long long y, bool drawnUp)
{
    const long long h = std::max(1, cellHeight), total = picks.totalCells();
    if (y < 0 || y >= total * h) return -1;
    const long long cell = y / h;
    return picks.threadAt(static_cast<int>(drawnUp ? total - 1 - cell : cell));
}

CellSize ProportionedCell(int w, int h, double warpSett, double weftSett)
{
    CellSize c{w, h};
    if (!(warpSett > 0) || !(weftSett > 0)) return c;
    const double x = weftSett / warpSett;
    if (x > 1) c.height = std::max(2, static_cast<int>(std::floor(w / x)));
    else if (x < 1) c.width = std::max(2, static_cast<int>(std::floor(h * x)));
    return c;
}

namespace {

constexpr std::uint32_t kUnderMask = 0xFF555555; // thread seen beneath another: darker
constexpr std::uint32_t kDimMask = 0xFF333333;   // cells outside the selection

inline void fillSpan(std::uint32_t* line, int a, int b, std::uint32_t c)
{
    if (b - a == 1) {
        line[a] = c;
        return;
    }
    for (int x = a; x < b; ++x) line[x] = c;
}

inline bool bitOf(const std::uint64_t* words, int e)
{
    return (words[e >> 6] >> (e & 63)) & 1;
}

// One visible end: where it lies in the output row and what it carries.
struct EndSpan {
    int end;
    int a, b;   // filled pixels, output coordinates, clipped
    int va, vb; // the thread's own band when interlaced, clipped
    bool dimEnd;
    std::uint32_t warpPixel;          // palette color of row 0
    std::array<int, kMaxRows> shafts; // per warp row (correlation), row 0 otherwise
    std::array<COLORREF, kMaxRows> colors;
};

// What one cell shows in the current pick.
struct CellLook {
    std::uint32_t top;
    std::uint32_t under;
    bool up;
    bool flat;
};

class Renderer {
public:
    Renderer(const CQuillabyDoc& doc, const DrawdownRows& rows, const DrawdownStyle& style, const ThreadLayout& ends,
             const ThreadLayout& picks, int x0, int y0, PixelBuffer out)
        : m_doc(doc)
        , m_rows(rows)
        , m_style(style)
        , m_ends(ends)
        , m_picks(picks)
        , m_x0(x0)
        , m_y0(y0)
        , m_out(out)
    {}

    void run();

private:
    std::uint32_t* outRow(int y) const { return m_out.pixels + static_cast<std::ptrdiff_t>(y) * m_out.stride; }
    void fillAll(std::uint32_t c) const;
    void drawHiddenGrid() const;
    void collectEnds();
    void lookOfPick(int pick);
    void buildLine(std::uint32_t* line, bool marker, bool inBand, bool inYellow) const;
    bool plainLine(int pick, std::uint32_t* line) const;

    const CQuillabyDoc& m_doc;
    const DrawdownRows& m_rows;
    const DrawdownStyle& m_style;
    const ThreadLayout& m_ends;
    const ThreadLayout& m_picks;
    int m_x0, m_y0;
    PixelBuffer m_out;

    int m_cw = 1, m_ch = 1;
    long long m_width = 0, m_height = 0; // the whole picture
    int m_gap = 0;
    bool m_interlace = false;
    InterlaceMargins m_margins;
    int m_correlation = 0;
    bool m_rising = true;
    bool m_hasSelection = false;
    int m_selE0 = 0, m_selE1 = 0, m_selP0 = 0, m_selP1 = 0;

    std::vector<EndSpan> m_spans;
    std::vector<CellLook> m_look;
};

void Renderer::fillAll(std::uint32_t c) const
{
    for (int y = 0; y < m_out.height; ++y) std::fill_n(outRow(y), m_out.width, c);
}

// A hidden drawdown may still show its grid: thin lines, heavy every fourth thread.
void Renderer::drawHiddenGrid() const
{
    const int mark = m_style.markSize;
    if (m_cw > mark) {
        // The boundary after end n is the left edge of end n (end 1 at the right).
        for (int e = 0; e < m_ends.count(); ++e) {
            const long long x = DrawdownEndColumns(m_ends, m_cw, e).first - m_x0;
            if (x < 0 || x >= m_out.width) continue;
            const std::uint32_t c = (e + 1) % 4 == 0 ? kGridHeavy : kGridThin;
            for (int y = 0; y < m_out.height; ++y) outRow(y)[x] = c;
        }
    }
    if (m_ch > mark) {
        for (int p = -1; p < m_picks.count(); ++p) {
            // p = -1 is the border before pick 1; drawn up it lies below the picture.
            if (p < 0 && m_style.drawnUp) continue;
            long long y = 0;
            if (p >= 0) {
                const PixelSpan rows = DrawdownPickRows(m_picks, m_ch, p, m_style.drawnUp);
                y = m_style.drawnUp ? rows.first : rows.end;
            }
            y -= m_y0;
            if (y < 0 || y >= m_out.height) continue;
            const std::uint32_t c = p >= 0 && (p + 1) % 4 == 0 ? kGridHeavy : kGridThin;
            std::uint32_t* row = outRow(static_cast<int>(y));
            for (int x = 0; x < m_out.width; ++x)
                if (row[x] != kGridHeavy) row[x] = c;
        }
    }
}

void Renderer::collectEnds()
{
    const long long xs = std::max<long long>(m_x0, 0), xe = std::min<long long>(m_x0 + m_out.width, m_width);
    if (xs >= xe) return;
    const int eHi = DrawdownEndAt(m_ends, m_cw, xs), eLo = DrawdownEndAt(m_ends, m_cw, xe - 1);
    if (eHi < 0 || eLo < 0) return;
    const int warps = m_correlation == 1 ? std::max(1, m_doc.numWarps()) : 1;
    m_spans.reserve(static_cast<std::size_t>(eHi - eLo + 1));
    for (int e = eHi; e >= eLo; --e) { // left to right on screen
        EndSpan s{};
        s.end = e;
        const PixelSpan cols = DrawdownEndColumns(m_ends, m_cw, e);
        const long long X0 = cols.first - m_x0, X1 = cols.end - m_x0;
        const long long F0 = X0 + m_gap;
        auto clip = [&](long long v) { return static_cast<int>(std::clamp<long long>(v, 0, m_out.width)); };
        s.a = clip(F0);
        s.b = clip(X1);
        s.va = clip(F0 + m_margins.mx);
        s.vb = clip(std::max(F0 + m_margins.mx, X1 - m_margins.mx));
        s.dimEnd = m_hasSelection && (e < m_selE0 || e > m_selE1);
        s.warpPixel = PixelOf(WarpColor(m_doc, e, 0));
        for (int j = 0; j < warps; ++j) {
            const Threading* t = m_doc.threading(j);
            s.shafts[j] = t ? t->GetShaft(e) : 0;
            s.colors[j] = WarpColor(m_doc, e, j);
        }
        m_spans.push_back(s);
    }
}

// Top and under colors, warp-up flag and shape of every visible cell of a pick.
void Renderer::lookOfPick(int pick)
{
    const std::size_t n = m_spans.size();
    m_look.resize(n);
    const bool back = m_style.back;
    const int coloring = m_style.coloring;
    const bool dimPick = m_hasSelection && (pick < m_selP0 || pick > m_selP1);
    const std::uint32_t weftPixel = PixelOf(WeftColor(m_doc, pick, 0));

    const bool classModes = coloring == 1 || coloring == 2;
    const bool needBits = !(m_correlation != 0 && !classModes);
    const std::uint64_t* upBits = nullptr;
    const std::uint64_t* blankBits = nullptr;
    const bool rowsBack = m_rows.back();
    const int rowEnds = m_rows.ends();
    if (needBits && pick < m_rows.picks()) {
        const DrawdownRows::Row r = m_rows.row(pick);
        upBits = r.warpUp;
        blankBits = r.blank;
    }

    // Correlation in color mode follows the per-row rule of the colored cell.
    std::array<TUPTYPE, kMaxRows> lifts{};
    std::array<COLORREF, kMaxRows> weftColors{};
    const int wefts = std::max(1, m_doc.numWefts());
    const int warps = std::max(1, m_doc.numWarps());
    if (m_correlation != 0 && !classModes) {
        for (int k = 0; k < (m_correlation == 2 ? wefts : 1); ++k) {
            lifts[k] = LiftedShafts(m_doc, pick, k);
            weftColors[k] = WeftColor(m_doc, pick, k);
        }
    }

    // Warp mode: black is the warp. Weft mode: black is the weft.
    const std::uint32_t cls0Top = coloring == 1 ? kDrawdownBlack : kDrawdownWhite;
    const std::uint32_t cls1Top = coloring == 1 ? kDrawdownWhite : kDrawdownBlack;

    for (std::size_t i = 0; i < n; ++i) {
        const EndSpan& s = m_spans[i];
        const int e = s.end;
        CellLook c{};
        c.flat = m_correlation != 0;
        // A blank cell has no warp to show and looks the same from the back.
        bool blankCell = false;
        if (m_correlation != 0 && !classModes) {
            int top = -1, second = -1;
            if (m_correlation == 1) {
                bool threaded = false;
                for (int j = 0; j < warps; ++j) {
                    threaded = threaded || s.shafts[j] != 0;
                    const bool up = WarpUp(s.shafts[j], lifts[0], m_rising);
                    if (up && top < 0) top = j;
                    if (!up && second < 0) second = j;
                }
                blankCell = !threaded || lifts[0].empty();
                c.up = top >= 0;
                c.top = PixelOf(s.colors[top >= 0 ? top : warps - 1]);
                c.under = PixelOf(s.colors[second >= 0 ? second : warps - 1]);
                if (blankCell) {
                    c.up = false;
                    c.top = c.under = PixelOf(WeftColor(m_doc, pick, 0));
                }
            } else {
                for (int k = 0; k < wefts; ++k) {
                    const bool up = WarpUp(s.shafts[0], lifts[k], m_rising);
                    if (!up && top < 0) top = k;
                    if (up && second < 0) second = k;
                }
                c.up = top < 0;
                c.top = PixelOf(weftColors[top >= 0 ? top : wefts - 1]);
                c.under = PixelOf(weftColors[second >= 0 ? second : wefts - 1]);
                bool anyLift = false;
                for (int k = 0; k < wefts; ++k) anyLift = anyLift || !lifts[k].empty();
                blankCell = s.shafts[0] == 0 || !anyLift;
                if (blankCell) {
                    c.up = false;
                    c.top = c.under = weftColors[0] ? PixelOf(weftColors[0]) : weftPixel;
                }
            }
        } else {
            bool blank = true, faceUp = false;
            if (upBits && e < rowEnds) {
                blank = bitOf(blankBits, e);
                const bool up = bitOf(upBits, e);
                faceUp = rowsBack ? (!up && !blank) : up;
            }
            // Blank as the text drawdown leaves it: an unthreaded end, or a
            // correlated pick that lifts nothing.
            const int cls = blank ? 2 : (faceUp ? 0 : 1);
            blankCell = cls == 2;
            if (classModes) {
                c.top = cls == 0 ? cls0Top : cls1Top;
                c.under = cls == 0 ? cls1Top : cls0Top;
                c.up = cls == 0;
            } else if (blankCell) {
                c.up = false;
                c.top = c.under = weftPixel;
            } else {
                c.up = cls == 0;
                c.top = c.up ? s.warpPixel : weftPixel;
                c.under = c.up ? weftPixel : s.warpPixel;
            }
        }
        if (back && !blankCell) {
            std::swap(c.top, c.under);
            c.up = !c.up;
        }
        if (dimPick || s.dimEnd) {
            c.top &= kDimMask;
            c.under &= kDimMask;
            c.flat = true;
        }
        m_look[i] = c;
    }
}

void Renderer::buildLine(std::uint32_t* line, bool marker, bool inBand, bool inYellow) const
{
    std::fill_n(line, m_out.width, kDrawdownSilver);
    const std::size_t n = m_spans.size();
    for (std::size_t i = 0; i < n; ++i) {
        const EndSpan& s = m_spans[i];
        if (s.a >= s.b) continue;
        const CellLook& c = m_look[i];
        if (marker) {
            fillSpan(line, s.a, s.b, inBand ? kDrawdownBlack : kPickMarkerOrange);
            if (inYellow && c.up && s.va < s.vb) fillSpan(line, s.va, s.vb, kPickMarkerYellow);
        } else if (c.flat || !m_interlace) {
            fillSpan(line, s.a, s.b, c.top);
        } else {
            const std::uint32_t under = c.under & kUnderMask;
            if (c.up) {
                fillSpan(line, s.a, s.b, inBand ? under : kDrawdownBlack);
                if (s.va < s.vb) fillSpan(line, s.va, s.vb, c.top);
            } else if (inBand) {
                fillSpan(line, s.a, s.b, c.top);
            } else {
                fillSpan(line, s.a, s.b, kDrawdownBlack);
                if (s.va < s.vb) fillSpan(line, s.va, s.vb, under);
            }
        }
    }
}

// The common case in one pass: no bands, no correlation rules, no marker.
// Each cell is one of two colors chosen by a single bit.
bool Renderer::plainLine(int pick, std::uint32_t* line) const
{
    const bool classModes = m_style.coloring == 1 || m_style.coloring == 2;
    if (m_interlace || pick == m_style.currentPick || pick >= m_rows.picks()) return false;
    if (m_correlation != 0 && (!classModes || m_rows.effectiveLift(pick).empty())) return false;

    const DrawdownRows::Row r = m_rows.row(pick);
    const bool rowsBack = m_rows.back();
    const int rowEnds = m_rows.ends();
    const bool dimPick = m_hasSelection && (pick < m_selP0 || pick > m_selP1);
    // Bit: the warp covers the pick on the face.
    // Ends past the draft count as blank.
    auto blankAt = [&](int e) -> bool { return e >= rowEnds || (r.blank[e >> 6] & (std::uint64_t(1) << (e & 63))); };
    auto bitAt = [&](int e) -> bool {
        const int w = e >> 6;
        const std::uint64_t m = std::uint64_t(1) << (e & 63);
        bool up = r.warpUp[w] & m;
        if (rowsBack) up = !up;
        return up;
    };
    const bool back = m_style.back;
    std::uint32_t onColor, offColor; // class modes
    if (m_style.coloring == 1) {
        onColor = kDrawdownBlack;
        offColor = kDrawdownWhite;
    } else {
        onColor = kDrawdownWhite;
        offColor = kDrawdownBlack;
    }
    // Blank cells look as the face shows the weft on top, from both sides.
    const std::uint32_t weftPixel = PixelOf(WeftColor(m_doc, pick, 0));
    const std::uint32_t blankPixel = classModes ? offColor : weftPixel;
    if (back) std::swap(onColor, offColor);

    std::fill_n(line, m_out.width, kDrawdownSilver);
    const std::size_t n = m_spans.size();
    const std::uint32_t pickMask = dimPick ? kDimMask : 0xFFFFFFFFu;
    // Branch-free choice: the bits of a woven pattern are as good as random.
    for (std::size_t i = 0; i < n; ++i) {
        const EndSpan& s = m_spans[i];
        const std::uint32_t dim = pickMask & (s.dimEnd ? kDimMask : 0xFFFFFFFFu);
        if (blankAt(s.end)) {
            fillSpan(line, s.a, s.b, blankPixel & dim);
            continue;
        }
        const std::uint32_t sel = 0u - static_cast<std::uint32_t>(bitAt(s.end) != (back && !classModes));
        const std::uint32_t onPx = classModes ? onColor : s.warpPixel;
        const std::uint32_t offPx = classModes ? offColor : weftPixel;
        const std::uint32_t c = ((onPx & sel) | (offPx & ~sel)) & dim;
        fillSpan(line, s.a, s.b, c);
    }
    return true;
}

void Renderer::run()
{
    if (!m_out.pixels || m_out.width <= 0 || m_out.height <= 0 || m_out.stride < m_out.width) return;
    m_cw = std::max(1, m_style.cellWidth);
    m_ch = std::max(1, m_style.cellHeight);
    m_width = static_cast<long long>(m_ends.totalCells()) * m_cw;
    m_height = static_cast<long long>(m_picks.totalCells()) * m_ch;

    if (m_style.hidden) {
        if (!m_style.showGridWhenHidden) {
            fillAll(kDrawdownSilver);
            return;
        }
        fillAll(kDrawdownWhite);
        drawHiddenGrid();
        return;
    }

    m_correlation = m_doc.activeCorrelation();
    m_rising = m_doc.isRisingShed();
    m_margins = ComputeInterlaceMargins(m_cw, m_ch, m_style.markSize, m_correlation != 0);
    m_interlace = m_style.interlace && m_margins.interlaceFits;
    m_gap = (m_cw > m_style.markSize && m_ch > m_style.markSize && !m_interlace) ? 1 : 0;
    m_hasSelection =
        m_style.selFirstEnd >= 0 && m_style.selLastEnd >= 0 && m_style.selFirstPick >= 0 && m_style.selLastPick >= 0;
    if (m_hasSelection) {
        m_selE0 = std::min(m_style.selFirstEnd, m_style.selLastEnd);
        m_selE1 = std::max(m_style.selFirstEnd, m_style.selLastEnd);
        m_selP0 = std::min(m_style.selFirstPick, m_style.selLastPick);
        m_selP1 = std::max(m_style.selFirstPick, m_style.selLastPick);
    }

    collectEnds();
    const long long ys = std::max<long long>(m_y0, 0), ye = std::min<long long>(m_y0 + m_out.height, m_height);
    if (m_spans.empty() || ys >= ye) {
        fillAll(kDrawdownSilver);
        return;
    }

    // Rows above and below the picture.
    for (long long y = 0; y < ys - m_y0; ++y) std::fill_n(outRow(static_cast<int>(y)), m_out.width, kDrawdownSilver);
    for (long long y = ye - m_y0; y < m_out.height; ++y)
        std::fill_n(outRow(static_cast<int>(y)), m_out.width, kDrawdownSilver);

    // Picks in screen order: from the top, or from the bottom when drawn up.
    const int pTop = DrawdownPickAt(m_picks, m_ch, ys, m_style.drawnUp);
    const int pBottom = DrawdownPickAt(m_picks, m_ch, ye - 1, m_style.drawnUp);
    const int step = m_style.drawnUp ? -1 : 1;

    // At most four different scan lines per pick; built once, copied to the rest.
    std::array<std::vector<std::uint32_t>, 4> lines;
    for (auto& l : lines) l.resize(static_cast<std::size_t>(m_out.width));
    for (int p = pTop;; p += step) {
        const PixelSpan rowSpan = DrawdownPickRows(m_picks, m_ch, p, m_style.drawnUp);
        const long long Y0 = rowSpan.first, Y1 = rowSpan.end;
        const bool marker = p == m_style.currentPick;
        bool looked = false;
        const long long F0 = Y0 + m_gap, fh = Y1 - F0;
        std::array<bool, 4> built{};
        const long long from = std::max(Y0, ys), to = std::min(Y1, ye);
        for (long long y = from; y < to; ++y) {
            std::uint32_t* dst = outRow(static_cast<int>(y - m_y0));
            if (y < F0) { // the gap between picks
                std::fill_n(dst, m_out.width, kDrawdownSilver);
                continue;
            }
            const long long r = y - F0;
            // Without bands every row of a plain pick looks the same.
            const bool inBand = (!marker && !m_interlace) || (r >= m_margins.my && r < fh - m_margins.my);
            const bool inYellow = marker && r >= 1 && r < fh - 1;
            const int kind = (inBand ? 1 : 0) + (inYellow ? 2 : 0);
            if (!built[kind]) {
                if (kind != 1 || !plainLine(p, lines[kind].data())) {
                    if (!looked) lookOfPick(p);
                    looked = true;
                    buildLine(lines[kind].data(), marker, inBand, inYellow);
                }
                built[kind] = true;
            }
            std::memcpy(dst, lines[kind].data(), sizeof(std::uint32_t) * static_cast<std::size_t>(m_out.width));
        }
        if (p == pBottom) break;
    }
}

} // namespace

void RenderDrawdown(const CQuillabyDoc& doc, const DrawdownRows& rows, const DrawdownStyle& style,
                    const ThreadLayout& ends, const ThreadLayout& picks, int x0, int y0, PixelBuffer out)
{
    Renderer(doc, rows, style, ends, picks, x0, y0, out).run();
}

} // namespace qb
