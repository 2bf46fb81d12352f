#include "core/graphic/wholedraftimage.h"

#include "core/draft/drawdown.h"
#include "core/draft/quillabydoc.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace qb {

namespace {

// One direction of a grid pane: threads (a thick one spans several cells) or
// plain rows, laid out from `origin`, thread 0 first or at the far end.
struct Axis {
    const ThreadLayout* threads = nullptr; // null: `rows` single cells
    int rows = 0;
    int size = 1;
    bool reversed = false; // thread 0 at the right or bottom
    long long origin = 0;
    int heavyLimit = 0; // lines after threads 1..heavyLimit follow the period

    int count() const { return threads ? threads->count() : rows; }
    int cells() const { return threads ? threads->totalCells() : rows; }
    int cellOf(int i) const { return threads ? threads->cellOf(i) : i; }
    int cellsOf(int i) const { return threads ? threads->cellsOf(i) : 1; }
    int threadAt(int cell) const { return threads ? threads->threadAt(cell) : cell; }

    // The boundaries before and after thread i in pixel order (a < b).
    void span(int i, long long& a, long long& b) const
    {
        const long long c0 = cellOf(i), k = cellsOf(i), total = cells();
        if (!reversed) {
            a = origin + c0 * size;
            b = origin + (c0 + k) * size;
        } else {
            a = origin + (total - c0 - k) * size;
            b = origin + (total - c0) * size;
        }
    }
    // Threads touching pixels [p0, p1).
    bool visible(long long p0, long long p1, int& lo, int& hi) const
    {
        const long long total = cells();
        p0 = std::max(p0, origin);
        p1 = std::min(p1, origin + total * size + 1); // the last boundary line too
        if (p0 >= p1 || count() == 0) return false;
        long long c0 = (p0 - origin) / size, c1 = (p1 - 1 - origin) / size;
        c0 = std::clamp<long long>(c0, 0, total - 1);
        c1 = std::clamp<long long>(c1, 0, total - 1);
        if (reversed) {
            const long long t = total - 1 - c1;
            c1 = total - 1 - c0;
            c0 = t;
        }
        lo = threadAt(static_cast<int>(c0));
        hi = threadAt(static_cast<int>(c1));
        return lo >= 0 && hi >= lo;
    }
};

// Clipped fills into the region of the picture that `out` holds.
struct Canvas {
    PixelBuffer out;
    long long x0, y0;

    void fill(long long x, long long y, long long w, long long h, std::uint32_t c) const
    {
        const long long xa = std::max(x, x0), xb = std::min(x + w, x0 + out.width);
        const long long ya = std::max(y, y0), yb = std::min(y + h, y0 + out.height);
        if (xa >= xb || ya >= yb) return;
        for (long long yy = ya; yy < yb; ++yy) std::fill_n(out.pixels + (yy - y0) * out.stride + (xa - x0), xb - xa, c);
    }
    void dot(long long x, long long y, std::uint32_t c) const { fill(x, y, 1, 1, c); }
};

struct Rect {
    long long x, y, w, h;
};

enum class Mark { Plain, Plus, Hollow, Small, Dot, Cross };

// A set cell of a grid pane. Small cells always get the plain mark.
void drawMark(const Canvas& cv, Rect r, Mark kind, std::uint32_t color, int markSize)
{
    if (r.w <= 0 || r.h <= 0) return;
    if (r.w < markSize || r.h < markSize) kind = Mark::Plain;
    const long long m = std::min(r.w, r.h);
    switch (kind) {
    case Mark::Plain: cv.fill(r.x, r.y, r.w, r.h, color); return;
    case Mark::Plus: {
        const long long t = std::max<long long>(2, m / 5);
        cv.fill(r.x + 1, r.y + (r.h - t) / 2, r.w - 2, t, color);
        cv.fill(r.x + (r.w - t) / 2, r.y + 1, t, r.h - 2, color);
        return;
    }
    case Mark::Hollow: {
        const long long t = std::max<long long>(2, m / 6);
        cv.fill(r.x + 1, r.y + 1, r.w - 2, t, color);
        cv.fill(r.x + 1, r.y + r.h - 1 - t, r.w - 2, t, color);
        cv.fill(r.x + 1, r.y + 1, t, r.h - 2, color);
        cv.fill(r.x + r.w - 1 - t, r.y + 1, t, r.h - 2, color);
        return;
    }
    case Mark::Small: cv.fill(r.x + r.w / 4, r.y + r.h / 4, r.w - 2 * (r.w / 4), r.h - 2 * (r.h / 4), color); return;
    case Mark::Dot:
    case Mark::Cross: {
        // Too oblong a cell gets a filled mark instead of the symbol.
        if (r.h * 0.667 > r.w || r.h < r.w * 0.667) {
            cv.fill(r.x, r.y, r.w, r.h, color);
            return;
        }
        const long long side = (2 * m) / 3 + (kind == Mark::Dot ? 1 : 0);
        const long long sx = r.x + (r.w - side) / 2, sy = r.y + (r.h - side) / 2;
        if (kind == Mark::Dot) {
            const double rad = side / 2.0;
            for (long long j = 0; j < side; ++j) {
                const double dy = j + 0.5 - rad;
                const double dx = std::sqrt(std::max(0.0, rad * rad - dy * dy));
                const long long a = std::llround(rad - dx), b = std::llround(rad + dx);
                cv.fill(sx + a, sy + j, b - a, 1, color);
            }
        } else {
            const long long pen = std::max<long long>(2, side / 6);
            for (long long j = 0; j < side; ++j)
                for (long long i = 0; i < side; ++i) {
                    const long long d1 = i - j, d2 = i + j - (side - 1);
                    if (2 * std::abs(d1) < pen + 1 || 2 * std::abs(d2) < pen + 1) cv.dot(sx + i, sy + j, color);
                }
        }
        return;
    }
    }
}

Mark layerMark(int row)
{
    static const Mark marks[] = {Mark::Plain, Mark::Plus, Mark::Hollow, Mark::Small};
    return marks[std::clamp(row, 0, 3)];
}

class WholeRenderer {
public:
    WholeRenderer(const CQuillabyDoc& doc, const WholeDraftStyle& style, const WholeDraftLayout& layout, Canvas cv,
                  const MarkedCellSink* sink)
        : m_doc(doc)
        , m_style(style)
        , m_layout(layout)
        , m_cv(cv)
        , m_sink(sink)
    {
        m_mark = style.drawdown.markSize;
        m_period = style.period < 1 ? 4 : style.period;
        m_heavy = style.printing ? kDrawdownBlack : kGridHeavy;
    }

    void grid(const PaneRect& pane, const Axis& x, const Axis& y) const;
    // The interior of the cell at thread tx of x and ty of y.
    Rect cell(const Axis& x, int tx, const Axis& y, int ty) const
    {
        long long xa, xb, ya, yb;
        x.span(tx, xa, xb);
        y.span(ty, ya, yb);
        const int lx = x.size > m_mark ? 1 : 0, ly = y.size > m_mark ? 1 : 0;
        return {xa + lx, ya + ly, xb - xa - lx, yb - ya - ly};
    }
    void threading(const ThreadLayout& ends) const;
    void tieup() const;
    void treadling(const ThreadLayout& picks) const;

    int mark() const { return m_mark; }
    const Canvas& canvas() const { return m_cv; }

private:
    bool regionHits(const PaneRect& p) const
    {
        return p.w > 0 && p.h > 0 && p.x < m_cv.x0 + m_cv.out.width && p.x + p.w > m_cv.x0
            && p.y < m_cv.y0 + m_cv.out.height && p.y + p.h > m_cv.y0;
    }
    void lines(const PaneRect& pane, const Axis& a, bool vertical, bool heavyPass) const;
    // True when the sink takes the cell over.
    bool handOver(MarkedCell::Kind kind, const Rect& r, int value, int row, int thread) const
    {
        return m_sink && (*m_sink)(MarkedCell{kind, r.x, r.y, r.w, r.h, value, row, thread});
    }
    // The cells of threads a..b in one row or column, as one rectangle.
    Rect spanCells(const Axis& threads, int a, int b, const Axis& other, int at, bool threadsAcross) const
    {
        const Rect ra = threadsAcross ? cell(threads, a, other, at) : cell(other, at, threads, a);
        const Rect rb = threadsAcross ? cell(threads, b, other, at) : cell(other, at, threads, b);
        const long long x = std::min(ra.x, rb.x), y = std::min(ra.y, rb.y);
        return {x, y, std::max(ra.x + ra.w, rb.x + rb.w) - x, std::max(ra.y + ra.h, rb.y + rb.h) - y};
    }

    const CQuillabyDoc& m_doc;
    const WholeDraftStyle& m_style;
    const WholeDraftLayout& m_layout;
    Canvas m_cv;
    const MarkedCellSink* m_sink;
    int m_mark = 8;
    int m_period = 4;
    std::uint32_t m_heavy;
};

void WholeRenderer::lines(const PaneRect& pane, const Axis& a, bool vertical, bool heavyPass) const
{
    if (a.size <= m_mark) return; // too small for lines in this direction
    const long long p0 = vertical ? m_cv.x0 : m_cv.y0;
    const long long p1 = p0 + (vertical ? m_cv.out.width : m_cv.out.height);
    int lo, hi;
    if (!a.visible(p0 - 1, p1 + 1, lo, hi)) return;
    auto draw = [&](long long at, bool heavy) {
        if (heavy != heavyPass) return;
        const std::uint32_t c = heavy ? m_heavy : kGridThin;
        if (vertical) m_cv.fill(at, pane.y, 1, pane.h, c);
        else m_cv.fill(pane.x, at, pane.w, 1, c);
    };
    for (int i = lo; i <= hi; ++i) {
        long long s, e;
        a.span(i, s, e);
        const long long after = a.reversed ? s : e, before = a.reversed ? e : s;
        if (i == 0) draw(before, m_style.printing); // the outer border
        const int n = i + 1;
        draw(after, n <= a.heavyLimit && n % m_period == 0);
    }
}

void WholeRenderer::grid(const PaneRect& pane, const Axis& x, const Axis& y) const
{
    if (!regionHits(pane)) return;
    for (bool heavy : {false, true}) {
        lines(pane, x, true, heavy);
        lines(pane, y, false, heavy);
    }
}

int lastLabelRow(const Tding& t)
{
    int last = 0;
    for (int r = 0; r < kLabelRows; ++r)
        if (!t.labelRow(r).empty()) last = r + 1;
    return last;
}

int treadleColumns(const CQuillabyDoc& doc)
{
    return doc.isLiftplan() ? doc.numShafts() : doc.numTreadles();
}

} // namespace

WholeDraftLayout ComputeWholeDraftLayout(const CQuillabyDoc& doc, const WholeDraftStyle& style)
{
    WholeDraftLayout l;
    const long long cw = std::max(1, style.drawdown.cellWidth), ph = std::max(1, style.drawdown.cellHeight);
    const long long sh = style.shaftHeight > 0 ? style.shaftHeight : ph;
    const long long tw = style.treadleWidth > 0 ? style.treadleWidth : cw;
    const ThreadLayout ends(*doc.threading(0), doc.numEnds());
    const ThreadLayout picks(*doc.treadling(0), doc.numPicks());
    for (int j = 0; j < doc.numWarps(); ++j)
        if (doc.threading(j)) l.warpLabelRows = std::max(l.warpLabelRows, lastLabelRow(*doc.threading(j)));
    for (int k = 0; k < doc.numWefts(); ++k)
        if (doc.treadling(k)) l.weftLabelRows = std::max(l.weftLabelRows, lastLabelRow(*doc.treadling(k)));
    l.threadingRows = doc.numShafts() + 1 + doc.numWarps() + l.warpLabelRows;
    l.treadlingColumns = treadleColumns(doc) + 1 + doc.numWefts() + l.weftLabelRows;

    const long long gap = style.paneGap >= 0 ? style.paneGap : std::max<long long>(3, std::min(cw, ph) / 2);
    const long long leftW = ends.totalCells() * cw + 1, rightW = l.treadlingColumns * tw + 1;
    const long long topH = l.threadingRows * sh + 1, bottomH = picks.totalCells() * ph + 1;
    const long long tieW = doc.numTreadles() * tw + 1, tieH = doc.numShafts() * sh + 1;
    l.width = leftW + gap + rightW;
    l.height = topH + gap + bottomH;
    if (!style.drawdown.drawnUp) {
        l.threading = {0, 0, leftW, topH};
        l.tieup = {leftW + gap, topH - tieH, tieW, tieH};
        l.treadling = {leftW + gap, topH + gap, rightW, bottomH};
        l.drawdown = {0, topH + gap, leftW - 1, bottomH - 1};
    } else {
        l.drawdown = {0, 0, leftW - 1, bottomH - 1};
        l.treadling = {leftW + gap, 0, rightW, bottomH};
        l.threading = {0, bottomH + gap, leftW, topH};
        l.tieup = {leftW + gap, bottomH + gap, tieW, tieH};
    }
    return l;
}

void WholeRenderer::threading(const ThreadLayout& ends) const
{
    const PaneRect& p = m_layout.threading;
    if (!regionHits(p)) return;
    const bool up = m_style.drawdown.drawnUp;
    Axis x{&ends, 0, std::max(1, m_style.drawdown.cellWidth), true, p.x, ends.count()};
    const int sh = static_cast<int>(m_style.shaftHeight > 0 ? m_style.shaftHeight : m_style.drawdown.cellHeight);
    Axis y{nullptr, m_layout.threadingRows, std::max(1, sh), !up, p.y, m_doc.numShafts()};
    if (!m_style.threadingHidden) {
        int lo, hi, rlo, rhi;
        if (x.visible(m_cv.x0, m_cv.x0 + m_cv.out.width, lo, hi)
            && y.visible(m_cv.y0, m_cv.y0 + m_cv.out.height, rlo, rhi)) {
            const int shafts = m_doc.numShafts(), warps = m_doc.numWarps();
            const bool solid = m_doc.activeCorrelation() == 1;
            for (int e = lo; e <= hi; ++e) {
                for (int j = 0; j < warps; ++j) {
                    const Threading* t = m_doc.threading(j);
                    if (!t) continue;
                    const int s = t->GetShaft(e);
                    if (s >= 1 && s <= shafts && s - 1 >= rlo && s - 1 <= rhi) {
                        const Rect r = cell(x, e, y, s - 1);
                        if (solid) m_cv.fill(r.x, r.y, r.w, r.h, PixelOf(WarpColor(m_doc, e, j)));
                        else if (!handOver(MarkedCell::Threading, r, s, j, e))
                            drawMark(m_cv, r, warps > 1 ? layerMark(j) : Mark::Plain, kDrawdownBlack, m_mark);
                    }
                    const int bar = shafts + 1 + j;
                    if (!m_style.threadingBarHidden && bar >= rlo && bar <= rhi) {
                        const Rect r = cell(x, e, y, bar);
                        m_cv.fill(r.x, r.y, r.w, r.h, PixelOf(WarpColor(m_doc, e, j)));
                    }
                }
            }
            // Labels show as the span of threads they name (their text needs the panes' fonts).
            for (int L = 0; L < m_layout.warpLabelRows; ++L) {
                const int row = shafts + 1 + warps + L;
                if (row < rlo || row > rhi) continue;
                const std::vector<Label>& labels = m_doc.threading(0)->labelRow(L);
                for (std::size_t i = 0; i < labels.size(); ++i) {
                    const Label& lab = labels[i];
                    const int a = std::max(lab.start, lo), b = std::min(lab.last(), hi);
                    if (a > b) continue;
                    const int last = std::min(lab.last(), x.count() - 1);
                    if (m_sink && lab.start <= last
                        && handOver(MarkedCell::WarpLabel, spanCells(x, lab.start, last, y, row, true), 0, L, int(i)))
                        continue;
                    for (int e = a; e <= b; ++e) {
                        const Rect r = cell(x, e, y, row);
                        m_cv.fill(r.x, r.y + r.h / 3, r.w, std::max<long long>(1, r.h / 3), kDrawdownSilver);
                    }
                }
            }
        }
    }
    grid(p, x, y);
}

void WholeRenderer::tieup() const
{
    const PaneRect& p = m_layout.tieup;
    if (!regionHits(p)) return;
    const int tw = m_style.treadleWidth > 0 ? m_style.treadleWidth : m_style.drawdown.cellWidth;
    const int sh = m_style.shaftHeight > 0 ? m_style.shaftHeight : m_style.drawdown.cellHeight;
    const int treadles = m_doc.numTreadles(), shafts = m_doc.numShafts();
    Axis x{nullptr, treadles, std::max(1, tw), false, p.x, treadles};
    Axis y{nullptr, shafts, std::max(1, sh), !m_style.drawdown.drawnUp, p.y, shafts};
    int lo, hi, rlo, rhi;
    if (!m_style.tieupHidden && x.visible(m_cv.x0, m_cv.x0 + m_cv.out.width, lo, hi)
        && y.visible(m_cv.y0, m_cv.y0 + m_cv.out.height, rlo, rhi)) {
        const Mark kind = m_doc.notations().tieup == 2 ? (m_doc.isRisingShed() ? Mark::Dot : Mark::Cross) : Mark::Plain;
        for (int t = lo; t <= hi; ++t)
            for (int s = rlo; s <= rhi; ++s)
                if (m_doc.tieup().cell(t, s + 1) && !handOver(MarkedCell::Tieup, cell(x, t, y, s), s + 1, 0, t))
                    drawMark(m_cv, cell(x, t, y, s), kind, kDrawdownBlack, m_mark);
    }
    grid(p, x, y);
}

void WholeRenderer::treadling(const ThreadLayout& picks) const
{
    const PaneRect& p = m_layout.treadling;
    if (!regionHits(p)) return;
    const int tw = m_style.treadleWidth > 0 ? m_style.treadleWidth : m_style.drawdown.cellWidth;
    const int columns = treadleColumns(m_doc);
    Axis x{nullptr, m_layout.treadlingColumns, std::max(1, tw), false, p.x, columns};
    Axis y{&picks, 0, std::max(1, m_style.drawdown.cellHeight), m_style.drawdown.drawnUp, p.y, picks.count()};
    int lo, hi, clo, chi;
    if (!m_style.treadlingHidden && y.visible(m_cv.y0, m_cv.y0 + m_cv.out.height, lo, hi)
        && x.visible(m_cv.x0, m_cv.x0 + m_cv.out.width, clo, chi)) {
        const int wefts = m_doc.numWefts();
        const bool solid = m_doc.activeCorrelation() == 2;
        for (int pick = lo; pick <= hi; ++pick) {
            for (int k = 0; k < wefts; ++k) {
                const Treadling* t = m_doc.treadling(k);
                if (!t) continue;
                const TreadleSet set = t->GetSet(pick);
                set.forEach([&](int tr) {
                    const int c = tr - 1;
                    if (c >= columns || c < clo || c > chi) return;
                    const Rect r = cell(x, c, y, pick);
                    if (solid) m_cv.fill(r.x, r.y, r.w, r.h, PixelOf(WeftColor(m_doc, pick, k)));
                    else if (!handOver(MarkedCell::Treadling, r, tr, k, pick))
                        drawMark(m_cv, r, wefts > 1 ? layerMark(k) : Mark::Plain, kDrawdownBlack, m_mark);
                });
                const int bar = columns + 1 + k;
                if (!m_style.treadlingBarHidden && bar >= clo && bar <= chi) {
                    const Rect r = cell(x, bar, y, pick);
                    m_cv.fill(r.x, r.y, r.w, r.h, PixelOf(WeftColor(m_doc, pick, k)));
                }
            }
        }
        for (int L = 0; L < m_layout.weftLabelRows; ++L) {
            const int col = columns + 1 + wefts + L;
            if (col < clo || col > chi) continue;
            const std::vector<Label>& labels = m_doc.treadling(0)->labelRow(L);
            for (std::size_t i = 0; i < labels.size(); ++i) {
                const Label& lab = labels[i];
                const int a = std::max(lab.start, lo), b = std::min(lab.last(), hi);
                if (a > b) continue;
                const int last = std::min(lab.last(), y.count() - 1);
                if (m_sink && lab.start <= last
                    && handOver(MarkedCell::WeftLabel, spanCells(y, lab.start, last, x, col, false), 0, L, int(i)))
                    continue;
                for (int pick = a; pick <= b; ++pick) {
                    const Rect r = cell(x, col, y, pick);
                    m_cv.fill(r.x + r.w / 3, r.y, std::max<long long>(1, r.w / 3), r.h, kDrawdownSilver);
                }
            }
        }
    }
    grid(p, x, y);
}

void RenderWholeDraft(const CQuillabyDoc& doc, const DrawdownRows& rows, const WholeDraftStyle& style,
                      const WholeDraftLayout& layout, long long x0, long long y0, PixelBuffer out,
                      const MarkedCellSink* sink)
{
    if (!out.pixels || out.width <= 0 || out.height <= 0 || out.stride < out.width) return;
    const Canvas cv{out, x0, y0};
    cv.fill(x0, y0, out.width, out.height, kDrawdownWhite);
    const ThreadLayout ends(*doc.threading(0), doc.numEnds());
    const ThreadLayout picks(*doc.treadling(0), doc.numPicks());
    WholeRenderer r(doc, style, layout, cv, sink);
    r.threading(ends);
    r.tieup();
    r.treadling(picks);

    // The drawdown paints its own part of the region.
    const PaneRect& d = layout.drawdown;
    const long long xa = std::max(x0, d.x), xb = std::min(x0 + out.width, d.x + d.w);
    const long long ya = std::max(y0, d.y), yb = std::min(y0 + out.height, d.y + d.h);
    if (xa < xb && ya < yb) {
        PixelBuffer sub{out.pixels + (ya - y0) * out.stride + (xa - x0), static_cast<int>(xb - xa),
                        static_cast<int>(yb - ya), out.stride};
        RenderDrawdown(doc, rows, style.drawdown, ends, picks, static_cast<int>(xa - d.x), static_cast<int>(ya - d.y),
                       sub);
    }
}

WholeDraftSource::WholeDraftSource(const CQuillabyDoc& doc, const WholeDraftStyle& style)
    : m_doc(doc)
    , m_style(style)
    , m_layout(ComputeWholeDraftLayout(doc, style))
    , m_rows(std::make_unique<DrawdownRows>(doc, false))
{
    const long long cap = std::numeric_limits<int>::max();
    m_width = static_cast<int>(std::min(m_layout.width, cap));
    m_height = static_cast<int>(std::min(m_layout.height, cap));
}

WholeDraftSource::~WholeDraftSource() = default;

void WholeDraftSource::row(int y, std::uint32_t* out)
{
    if (y < m_stripY || y >= m_stripY + m_stripRows) {
        if (m_stripCap == 0) {
            const std::size_t stripPixels = std::size_t(1) << 22;
            m_stripCap = static_cast<int>(std::clamp<std::size_t>(stripPixels / static_cast<std::size_t>(m_width), 1,
                                                                  static_cast<std::size_t>(m_height)));
            m_strip.resize(static_cast<std::size_t>(m_stripCap) * static_cast<std::size_t>(m_width));
        }
        int start = y;
        if (m_stripRows > 0 && y < m_stripY) start = std::max(0, y - m_stripCap + 1);
        m_stripY = start;
        m_stripRows = std::min(m_stripCap, m_height - start);
        RenderWholeDraft(m_doc, *m_rows, m_style, m_layout, 0, start, {m_strip.data(), m_width, m_stripRows, m_width});
    }
    std::memcpy(out, m_strip.data() + static_cast<std::size_t>(y - m_stripY) * static_cast<std::size_t>(m_width),
                sizeof(std::uint32_t) * static_cast<std::size_t>(m_width));
}

} // namespace qb
