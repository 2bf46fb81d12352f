#include "printing/draftpages.h"

#include "core/draft/drawdown.h"
#include "core/draft/iprompter.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/tieupops.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace qb {

namespace {

// Pages are drawn as pictures of at most this many pixels per inch, scaled
// onto the device: a 1200-dpi page stays a few megapixels.
constexpr int kRasterDpi = 300;
// A very large grid shrunk onto a page is an overview of the cloth: every
// pixel samples a thread, so finer pixels would only cost time.
constexpr int kShrunkDpi = 150;
constexpr long long kOverviewThreads = 8192;

int rasterCell(int cellDots, int dpi)
{
    if (dpi <= kRasterDpi) return cellDots;
    return std::clamp((cellDots * kRasterDpi + dpi / 2) / dpi, 1, cellDots);
}

// Pixel span [a, b) of threads r (in pixel order, including the grid line
// after the last), relative to the drawdown's corner.
std::pair<long long, long long> endSpan(const ThreadLayout& ends, int cw, ThreadRange r)
{
    if (r.count <= 0) return {0, 1};
    const PixelSpan last = DrawdownEndColumns(ends, cw, r.first + r.count - 1);
    const PixelSpan first = DrawdownEndColumns(ends, cw, r.first);
    return {std::min(first.first, last.first), std::max(first.end, last.end) + 1};
}

std::pair<long long, long long> pickSpan(const ThreadLayout& picks, int ch, ThreadRange r, bool drawnUp)
{
    if (r.count <= 0) return {0, 1};
    const PixelSpan a = DrawdownPickRows(picks, ch, r.first, drawnUp);
    const PixelSpan b = DrawdownPickRows(picks, ch, r.first + r.count - 1, drawnUp);
    return {std::min(a.first, b.first), std::max(a.end, b.end) + 1};
}

struct Blit {
    int dx, dy;
    long long sx, sy;
    int w, h;
};

} // namespace

DraftPages::DraftPages(const CQuillabyDoc& doc, PrintKind kind, const PrintOptions& options, const PaperLook& look,
                       const QString& title)
    : m_doc(&doc)
    , m_kind(kind)
    , m_options(options)
    , m_look(look)
    , m_title(title)
{
    if (kind == PrintKind::DobbyBars && !doc.isLiftplan()) {
        // The chart shows the shafts each pick lifts: the draft in liftplan form.
        m_liftplanCopy = doc.Clone();
        FixedPrompter yes(true); // a notation question is answered Yes, silently
        ConvertToLiftplan(kUnrecorded, *m_liftplanCopy, yes);
        if (m_liftplanCopy->isLiftplan()) m_doc = m_liftplanCopy.get();
        else m_kind = PrintKind::Treadling; // several wefts on an irregular tieup: no single lift per pick
    }
    m_grid = PrintGridOf(*m_doc, m_kind);
    m_rows = std::make_unique<DrawdownRows>(*m_doc, false);
    layOut({});
}

DraftPages::~DraftPages() = default;

void DraftPages::layOut(const PrinterMetrics& device)
{
    m_layout = ComputePageLayout(m_grid, device, m_options);
}

PrinterMetrics DraftPages::metricsOf(const QPagedPaintDevice& device)
{
    PrinterMetrics m;
    m.dpiX = device.logicalDpiX();
    m.dpiY = device.logicalDpiY();
    const QRect r = device.pageLayout().paintRectPixels(m.dpiY);
    m.pageWidth = r.width();
    m.pageHeight = r.height();
    return m;
}

void DraftPages::print(QPagedPaintDevice& device, int first, int last)
{
    if (last < 0 || last >= pageCount()) last = pageCount() - 1;
    first = std::clamp(first, 0, std::max(0, last));
    QPainter p(&device);
    for (int i = first; i <= last; ++i) {
        if (i > first) device.newPage();
        paintPage(p, i);
    }
}

void DraftPages::paintPage(QPainter& p, int page) const
{
    const PrinterMetrics& d = m_layout.device;
    p.save();
    p.fillRect(QRect(0, 0, d.pageWidth, d.pageHeight), Qt::white);
    if (m_layout.shrunkCell > 0) paintShrunk(p);
    else paintGrid(p, page);
    paintBands(p, page);
    p.restore();
}

void DraftPages::paintBands(QPainter& p, int page) const
{
    const PageLayout& l = m_layout;
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(10);
    p.setFont(font);
    const QFontMetricsF fm(font, p.device());
    const double textH = fm.height();
    const double rule = std::max(1, l.device.dpiY / 100);
    p.setPen(Qt::black);

    // The name, shortened in the middle when it is too long, above a rule
    // along the header's lower edge.
    const double headerBottom = l.header.y + l.header.h;
    const QString name = fm.elidedText(m_title, Qt::ElideMiddle, l.header.w);
    p.drawText(QRectF(l.header.x, headerBottom - 1.75 * textH, l.header.w, textH), Qt::AlignHCenter | Qt::AlignTop,
               name);
    p.fillRect(QRectF(l.header.x, headerBottom - rule, l.header.w, rule), Qt::black);

    // The page number at the bottom, a rule above it.
    const double bottom = l.footer.y + l.footer.h;
    p.fillRect(QRectF(l.footer.x, bottom - 1.75 * textH, l.footer.w, rule), Qt::black);
    p.drawText(QRectF(l.footer.x, bottom - textH, l.footer.w, textH), Qt::AlignHCenter | Qt::AlignBottom,
               QString::fromStdString(PageNumberText(page + 1, l.totalPages)));
}

void DraftPages::paintGrid(QPainter& p, int page) const
{
    const PageLayout& l = m_layout;
    const int rcw = rasterCell(l.cellWidth, l.device.dpiX), rch = rasterCell(l.cellHeight, l.device.dpiY);
    const double sx = double(l.cellWidth) / rcw, sy = double(l.cellHeight) / rch;

    WholeDraftStyle st;
    st.drawdown.coloring = m_options.coloring;
    st.drawdown.interlace = m_options.interlace;
    st.drawdown.cellWidth = rcw;
    st.drawdown.cellHeight = rch;
    st.drawdown.drawnUp = m_look.drawnUp && m_kind == PrintKind::Draft;
    st.drawdown.hidden = m_look.drawdownHidden;
    st.drawdown.showGridWhenHidden = m_look.showGridWhenHidden;
    st.drawdown.back = m_look.back;
    st.shaftHeight = rch;
    st.treadleWidth = rcw;
    st.threadingHidden = m_look.threadingHidden;
    st.tieupHidden = m_look.tieupHidden;
    st.treadlingHidden = m_look.treadlingHidden;
    st.threadingBarHidden = m_look.threadingBarHidden;
    st.treadlingBarHidden = m_look.treadlingBarHidden;
    st.printing = true;
    st.paneGap = std::max(1, int(std::lround(l.paneGap / sx)));
    const WholeDraftLayout whole = ComputeWholeDraftLayout(*m_doc, st);
    const int gap = st.paneGap;

    std::vector<Blit> blits;
    std::vector<std::pair<ThreadRange, QRectF>> strips; // threading strips and their number bands
    int width = 0, height = 0;
    const bool up = st.drawdown.drawnUp;
    auto picksBand = [&](ThreadRange r) {
        const auto [a, b] = pickSpan(m_grid.picks, rch, r, up);
        return std::pair(whole.drawdown.y + a, int(b - a));
    };
    switch (m_kind) {
    case PrintKind::Draft: {
        // The page is a grid of pieces of the whole picture: across, the
        // page's ends and the treadling beside them (or a part of the
        // treadling alone); down, the threading and the page's picks.
        struct Piece {
            long long at;
            int len;
        };
        auto bandPart = [](long long origin, int cell, ThreadRange r) {
            return Piece{origin + static_cast<long long>(r.first) * cell, r.count * cell + 1};
        };
        std::vector<Piece> across, down;
        if (const int t = l.treadlingPageOf(page); t >= 0) {
            across.push_back(bandPart(whole.treadling.x, rcw, l.treadlingPages[t]));
        } else {
            const auto [xa, xb] = endSpan(m_grid.ends, rcw, l.endsOf(page));
            across.push_back({xa, int(xb - xa)});
            if (l.treadlingPages.empty()) across.push_back({whole.treadling.x, int(whole.treadling.w)});
        }
        if (const int t = l.threadingPageOf(page); t >= 0) {
            down.push_back(bandPart(whole.threading.y, rch, l.threadingPages[t]));
        } else {
            const auto [py, ph] = picksBand(l.picksOf(page));
            down.push_back({py, ph});
            if (l.threadingPages.empty()) {
                const Piece threads{whole.threading.y, int(whole.threading.h)};
                down.insert(up ? down.end() : down.begin(), threads);
            }
        }
        int dy = 0;
        for (const Piece& d : down) {
            int dx = 0;
            for (const Piece& a : across) {
                blits.push_back({dx, dy, a.at, d.at, a.len, d.len});
                dx += a.len + gap;
            }
            width = dx - gap;
            dy += d.len + gap;
        }
        height = dy - gap;
        break;
    }
    case PrintKind::Fabric: {
        const auto [xa, xb] = endSpan(m_grid.ends, rcw, l.endsOf(page));
        const auto [py, ph] = picksBand(l.picksOf(page));
        blits.push_back({0, 0, whole.drawdown.x + xa, py, int(xb - xa - 1), ph - 1});
        width = int(xb - xa - 1);
        height = ph - 1;
        break;
    }
    case PrintKind::Tieup: {
        // Columns and rows of cells, counted from the tieup's top-left corner.
        const ThreadRange cols = l.endsOf(page), rows = l.picksOf(page);
        const int w = cols.count * rcw + 1, h = rows.count * rch + 1;
        blits.push_back({0, 0, whole.tieup.x + static_cast<long long>(cols.first) * rcw,
                         whole.tieup.y + static_cast<long long>(rows.first) * rch, w, h});
        width = w;
        height = h;
        break;
    }
    case PrintKind::Threading: {
        const int band = int(std::lround(l.endNumberBand / sy));
        int y = 0;
        for (const StripPiece& piece : l.piecesOf(page)) {
            const auto [xa, xb] = endSpan(m_grid.ends, rcw, piece.threads);
            const int th = piece.cells.count * rch + 1;
            blits.push_back(
                {0, y, xa, whole.threading.y + static_cast<long long>(piece.cells.first) * rch, int(xb - xa), th});
            strips.push_back(
                {piece.threads, QRectF(l.body.x, l.body.y + (y + th) * sy, (xb - xa) * sx, l.endNumberBand)});
            width = std::max(width, int(xb - xa));
            height = y + th;
            y += th + band + StripSpacing(m_kind) * rch;
        }
        break;
    }
    case PrintKind::Treadling:
    case PrintKind::DobbyBars: {
        int x = 0;
        for (const StripPiece& piece : l.piecesOf(page)) {
            const auto [py, ph] = picksBand(piece.threads);
            const int rw = piece.cells.count * rcw + 1;
            blits.push_back({x, 0, whole.treadling.x + static_cast<long long>(piece.cells.first) * rcw, py, rw, ph});
            height = std::max(height, ph);
            width = x + rw;
            x += rw + StripSpacing(m_kind) * rcw;
        }
        break;
    }
    }
    if (width <= 0 || height <= 0) return;
    QImage img(width, height, QImage::Format_RGB32);
    if (img.isNull()) return;
    img.fill(Qt::white);

    // Numbers, letters, symbols and label text are set in type on top of the
    // picture, in cells the picture leaves blank for them.
    std::vector<PlacedCell> placed;
    const Blit* current = nullptr;
    QRectF clip;
    const MarkedCellSink sink = [&](const MarkedCell& c) {
        const GlyphStyle style = glyphFor(c);
        if (style == GlyphStyle::Blank) return false;
        const Blit& b = *current;
        const QRectF r(l.body.x + (b.dx + (c.x - b.sx)) * sx, l.body.y + (b.dy + (c.y - b.sy)) * sy, c.w * sx,
                       c.h * sy);
        if (r.intersects(clip)) placed.push_back({c, r, clip, style});
        return true;
    };
    const bool glyphs = l.textInCells && m_kind != PrintKind::DobbyBars;
    for (const Blit& b : blits) {
        const int w = std::min(b.w, width - b.dx), h = std::min(b.h, height - b.dy);
        if (w <= 0 || h <= 0) continue;
        PixelBuffer out{reinterpret_cast<std::uint32_t*>(img.scanLine(b.dy)) + b.dx, w, h, int(img.bytesPerLine() / 4)};
        current = &b;
        clip = QRectF(l.body.x + b.dx * sx, l.body.y + b.dy * sy, w * sx, h * sy);
        RenderWholeDraft(*m_doc, *m_rows, st, whole, b.sx, b.sy, out, glyphs ? &sink : nullptr);
    }
    p.drawImage(QRectF(l.body.x, l.body.y, width * sx, height * sy), img);
    paintGlyphs(p, placed);
    paintEndNumbers(p, strips);
}

GlyphStyle DraftPages::glyphFor(const MarkedCell& c) const
{
    const CQuillabyDoc& doc = *m_doc;
    auto notation = [](int chosen, int own) { return chosen >= 0 ? chosen : own; };
    switch (c.kind) {
    case MarkedCell::Threading:
    case MarkedCell::Treadling: {
        const bool warp = c.kind == MarkedCell::Threading;
        GlyphStyle s = styleForNotation(warp ? notation(m_look.threadingNotation, doc.notations().threading)
                                             : notation(m_look.treadlingNotation, doc.notations().treadling),
                                        doc.isRisingShed());
        if (s == GlyphStyle::Letter && !warp) s = GlyphStyle::Number; // picks are numbered, never lettered
        if (s != GlyphStyle::Number && s != GlyphStyle::Letter && s != GlyphStyle::UserSymbol) return GlyphStyle::Blank;
        // Several warps or wefts keep their layer marks; user symbols name the first.
        const int layers = warp ? doc.numWarps() : doc.numWefts();
        if (layers > 1 && !(c.row == 0 && s == GlyphStyle::UserSymbol)) return GlyphStyle::Blank;
        return s;
    }
    case MarkedCell::Tieup: {
        const GlyphStyle s =
            styleForNotation(notation(m_look.tieupNotation, doc.notations().tieup), doc.isRisingShed());
        return s == GlyphStyle::Letter || s == GlyphStyle::UserSymbol ? GlyphStyle::Plain : s;
    }
    case MarkedCell::WarpLabel:
    case MarkedCell::WeftLabel: return GlyphStyle::Letter; // the label's own text
    }
    return GlyphStyle::Blank;
}

void DraftPages::paintGlyphs(QPainter& p, const std::vector<PlacedCell>& cells) const
{
    if (cells.empty()) return;
    const PageLayout& l = m_layout;
    // The grid's type: 75 % of the cell, in dots so any device sizes it alike.
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, int(std::lround(std::min(l.cellWidth, l.cellHeight) * 0.75))));
    p.save();
    p.setFont(font);
    p.setPen(Qt::black);
    for (const PlacedCell& pc : cells) {
        const MarkedCell& c = pc.cell;
        const QRect r = pc.onPage.toRect();
        p.setClipRect(pc.clip);
        switch (c.kind) {
        case MarkedCell::WarpLabel:
        case MarkedCell::WeftLabel: {
            const bool warp = c.kind == MarkedCell::WarpLabel;
            const Tding* seq = warp ? static_cast<const Tding*>(m_doc->threading(0)) : m_doc->treadling(0);
            const auto& row = seq->labelRow(c.row);
            if (c.thread < 0 || c.thread >= int(row.size())) break;
            const QString text = QString::fromStdString(row[c.thread].text);
            p.fillRect(pc.onPage, QColor(235, 235, 235));
            if (warp) {
                p.drawText(pc.onPage, Qt::AlignCenter | Qt::TextSingleLine, text);
            } else {
                // Along the picks the text runs top to bottom.
                p.save();
                p.translate(pc.onPage.center());
                p.rotate(90);
                p.drawText(
                    QRectF(-pc.onPage.height() / 2, -pc.onPage.width() / 2, pc.onPage.height(), pc.onPage.width()),
                    Qt::AlignCenter | Qt::TextSingleLine, text);
                p.restore();
            }
            break;
        }
        case MarkedCell::Threading:
        case MarkedCell::Treadling:
        case MarkedCell::Tieup: {
            int symbol = 0;
            if (pc.style == GlyphStyle::UserSymbol) {
                const Tding* seq = c.kind == MarkedCell::Threading ? static_cast<const Tding*>(m_doc->threading(c.row))
                                                                   : m_doc->treadling(c.row);
                symbol = seq ? seq->GetSymbol(c.thread) : 0;
            }
            switch (pc.style) {
            case GlyphStyle::Dot: paintDot(p, r); break;
            case GlyphStyle::Cross: paintCross(p, r); break;
            case GlyphStyle::Number:
            case GlyphStyle::Letter:
            case GlyphStyle::UserSymbol: paintCellText(p, r, glyphText(pc.style, c.value, symbol)); break;
            default: p.fillRect(pc.onPage, Qt::black); break;
            }
            break;
        }
        }
    }
    p.restore();
}

void DraftPages::paintEndNumbers(QPainter& p, const std::vector<std::pair<ThreadRange, QRectF>>& strips) const
{
    if (strips.empty()) return;
    const PageLayout& l = m_layout;
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, int(std::lround(PageLayout::kEndNumberPoints * l.device.dpiY / 72.0))));
    p.save();
    p.setFont(font);
    p.setPen(Qt::black);
    const int rcw = rasterCell(l.cellWidth, l.device.dpiX);
    for (const auto& [r, band] : strips) {
        if (r.count <= 0) continue;
        // Each number goes to the side of the strip where its end lies (the
        // threading may read from the right).
        const int first = r.first, last = r.first + r.count - 1;
        const bool firstLeft =
            DrawdownEndColumns(m_grid.ends, rcw, first).first <= DrawdownEndColumns(m_grid.ends, rcw, last).first;
        const QString left = QString::number((firstLeft ? first : last) + 1);
        const QString right = QString::number((firstLeft ? last : first) + 1);
        p.drawText(band, Qt::AlignLeft | Qt::AlignVCenter, left);
        if (last != first) p.drawText(band, Qt::AlignRight | Qt::AlignVCenter, right);
    }
    p.restore();
}

void DraftPages::paintShrunk(QPainter& p) const
{
    // The whole grid at one pixel a cell, sampled down onto the page.
    const PageLayout& l = m_layout;
    WholeDraftStyle st;
    st.drawdown.coloring = m_options.coloring;
    st.drawdown.cellWidth = st.drawdown.cellHeight = 1;
    st.drawdown.back = m_look.back;
    st.drawdown.hidden = m_look.drawdownHidden;
    st.shaftHeight = st.treadleWidth = 1;
    st.threadingBarHidden = m_look.threadingBarHidden;
    st.treadlingBarHidden = m_look.treadlingBarHidden;
    st.paneGap = 2;
    const WholeDraftLayout whole = ComputeWholeDraftLayout(*m_doc, st);
    PaneRect src{0, 0, whole.width, whole.height};
    switch (m_kind) {
    case PrintKind::Draft: break;
    case PrintKind::Fabric: src = whole.drawdown; break;
    case PrintKind::Tieup: src = whole.tieup; break;
    case PrintKind::Threading: src = whole.threading; break;
    case PrintKind::Treadling:
    case PrintKind::DobbyBars: src = whole.treadling; break;
    }
    if (src.w <= 0 || src.h <= 0) return;
    const double s = std::min(double(l.body.w) / src.w, double(l.body.h) / src.h);
    const double tw = src.w * s, th = src.h * s;
    const double dpi = std::max(src.w, src.h) > kOverviewThreads ? kShrunkDpi : kRasterDpi;
    const double rx = std::min(1.0, dpi / l.device.dpiX), ry = std::min(1.0, dpi / l.device.dpiY);
    const int w = std::max(1, int(std::min<double>(tw * rx, src.w))),
              h = std::max(1, int(std::min<double>(th * ry, src.h)));
    QImage img(w, h, QImage::Format_RGB32);
    if (img.isNull()) return;
    std::vector<std::uint32_t> row(static_cast<std::size_t>(src.w));
    std::vector<int> column(static_cast<std::size_t>(w));
    for (int i = 0; i < w; ++i) column[i] = int((long long)i * src.w / w);
    for (int j = 0; j < h; ++j) {
        const long long y = src.y + (long long)j * src.h / h;
        RenderWholeDraft(*m_doc, *m_rows, st, whole, src.x, y, {row.data(), int(src.w), 1, int(src.w)});
        auto* out = reinterpret_cast<std::uint32_t*>(img.scanLine(j));
        for (int i = 0; i < w; ++i) out[i] = row[column[i]];
    }
    p.drawImage(QRectF(l.body.x, l.body.y, tw, th), img);
}

bool WriteDraftPdf(const CQuillabyDoc& doc, PrintKind kind, const PrintOptions& options, const PaperLook& look,
                   const QString& title, const QString& path, int dpi, QString* error, int* pages)
{
    QPdfWriter writer(path);
    writer.setResolution(dpi > 0 ? dpi : 300);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Quillaby"));
    DraftPages job(doc, kind, options, look, title);
    job.layOut(DraftPages::metricsOf(writer));
    {
        QPainter probe;
        if (!probe.begin(&writer)) {
            if (error) *error = QStringLiteral("cannot write %1").arg(path);
            return false;
        }
        for (int i = 0; i < job.pageCount(); ++i) {
            if (i > 0) writer.newPage();
            job.paintPage(probe, i);
        }
        probe.end();
    }
    if (pages) *pages = job.pageCount();
    return true;
}

} // namespace qb
