#include "ui/views/draftview.h"

#include <QPainter>

#include <algorithm>

namespace qb {

namespace {

const QColor kSilver(192, 192, 192);

void renderInto(const CQuillabyDoc& doc, const DrawdownRows& rows, const DrawdownStyle& st, const ThreadLayout& ends,
                const ThreadLayout& picks, int x0, int y0, QImage& img)
{
    PixelBuffer buf{reinterpret_cast<std::uint32_t*>(img.bits()), img.width(), img.height(),
                    int(img.bytesPerLine() / 4)};
    RenderDrawdown(doc, rows, st, ends, picks, x0, y0, buf);
}

} // namespace

CDraftView::CDraftView(CGridFrame* frame, QWidget* parent) : CGridView(frame, parent)
{
    orientationChanged();
}

QSize CDraftView::cellSize() const
{
    return frame()->drawdownCell();
}

DrawdownStyle CDraftView::style() const
{
    DrawdownStyle st;
    st.coloring = frame()->drawdownColoring();
    st.interlace = frame()->drawdownInterlace();
    st.back = frame()->fabricBack();
    st.cellWidth = cellWidth();
    st.cellHeight = cellHeight();
    st.markSize = frame()->scale().markSize;
    st.drawnUp = !frame()->threadingOnTop();
    st.hidden = frame()->isPaneHidden(PaneKind::Drawdown);
    st.showGridWhenHidden = frame()->showGridWhenHidden();
    if (hasSelection() && !exporting()) {
        st.selFirstEnd = selection(0), st.selLastEnd = selection(1);
        st.selFirstPick = selection(2), st.selLastPick = selection(3);
    }
    st.currentPick = exporting() ? -1 : document()->markedPick();
    return st;
}

const DrawdownRows& CDraftView::drawdownRows()
{
    if (!m_rowsCache) m_rowsCache = std::make_unique<DrawdownRows>(*document(), frame()->fabricBack());
    return *m_rowsCache;
}

void CDraftView::documentUpdated(const CQuillabyDoc& doc, const UpdateHint& hint)
{
    // The cloth's interlacing follows the threads, the tieup and the loom, not the colors.
    constexpr std::uint32_t kWeave =
        UpdateHint::Threading | UpdateHint::Treadling | UpdateHint::Tieup | UpdateHint::Structure;
    if (hint.parts & kWeave) m_rowsCache.reset();
    CGridView::documentUpdated(doc, hint);
}

void CDraftView::buildAxes(bool exporting)
{
    (void)exporting;
    const CQuillabyDoc& doc = *document();
    const QSize cell = cellSize();
    m_ends = doc.threading(0) ? ThreadLayout(*doc.threading(0), doc.numEnds()) : ThreadLayout::uniform(0);
    m_picks = doc.treadling(0) ? ThreadLayout(*doc.treadling(0), doc.numPicks()) : ThreadLayout::uniform(0);
    const int nEnds = fillCount(doc.numEnds(), m_ends, cell.width(), true);
    const int nPicks = fillCount(doc.numPicks(), m_picks, cell.height(), false);
    m_cols = GridAxis(nEnds == doc.numEnds() ? m_ends : ThreadLayout(*doc.threading(0), nEnds), cell.width(), true);
    m_rows = GridAxis(nPicks == doc.numPicks() ? m_picks : ThreadLayout(*doc.treadling(0), nPicks), cell.height(),
                      !frame()->threadingOnTop());
}

QColor CDraftView::backgroundColor() const
{
    return frame()->isPaneHidden(PaneKind::Drawdown) && frame()->showGridWhenHidden() ? Qt::white : kSilver;
}

void CDraftView::paintCells(QPainter& p, const QRect& area)
{
    if (frame()->isPaneHidden(PaneKind::Drawdown)) {
        p.fillRect(area, backgroundColor());
        return;
    }
    const DrawdownStyle st = style();
    // Where the draft's own cells lie in the pane: ends keep to the right,
    // picks to the top (bottom when drawn up); the rest are empty cells.
    const int picW = m_ends.totalCells() * st.cellWidth, picH = m_picks.totalCells() * st.cellHeight;
    const int px = m_cols.totalCells() * st.cellWidth - picW;
    const int py = st.drawnUp ? m_rows.totalCells() * st.cellHeight - picH : 0;
    const QRect pic(px, py, picW, picH);
    const bool gaps = st.cellWidth > st.markSize && st.cellHeight > st.markSize
        && !(st.interlace && ComputeInterlaceMargins(st.cellWidth, st.cellHeight, st.markSize, false).interlaceFits);
    // Empty cells: white, with the background showing between them.
    p.fillRect(area, Qt::white);
    if (gaps) {
        for (int x = area.left() - area.left() % st.cellWidth; x <= area.right(); x += st.cellWidth)
            p.fillRect(x, area.top(), 1, area.height(), kSilver);
        for (int y = area.top() - area.top() % st.cellHeight; y <= area.bottom(); y += st.cellHeight)
            p.fillRect(area.left(), y, area.width(), 1, kSilver);
    }
    p.fillRect(QRect(m_cols.totalCells() * st.cellWidth, area.top(), 1, area.height()), kSilver);
    const QRect part = area & pic;
    if (part.isEmpty()) return;
    QImage img(part.size(), QImage::Format_RGB32);
    renderInto(*document(), drawdownRows(), st, m_ends, m_picks, part.left() - px, part.top() - py, img);
    p.drawImage(part.topLeft(), img);
}

void CDraftView::paintGridLines(QPainter& p, const QRect& area)
{
    // The drawdown draws no lines of its own; a hidden one may show the grid.
    if (!frame()->isPaneHidden(PaneKind::Drawdown) || !frame()->showGridWhenHidden()) return;
    const auto [c0, c1] = m_cols.itemsIn(area.left(), area.right() + 1);
    const auto [r0, r1] = m_rows.itemsIn(area.top(), area.bottom() + 1);
    if (drawsVerticalLines()) drawLines(p, m_cols, true, c0, c1, area.top(), area.bottom() + 1);
    if (drawsHorizontalLines()) drawLines(p, m_rows, false, r0, r1, area.left(), area.right() + 1);
}

void CDraftView::reactToHint(const UpdateHint& hint)
{
    if (!(hint.parts & ~UpdateHint::Texts)) return;
    if (hint.ranged() && hint.parts == UpdateHint::Treadling) updateRowItems(hint.first, hint.last);
    else if (hint.ranged() && hint.parts == UpdateHint::Threading) updateColumnItems(hint.first, hint.last);
    else updateAll();
}

void CDraftView::markPick(int pick)
{
    updateRowItems(pick, pick);
}

QImage CDraftView::renderImage(const DrawdownStyle& st)
{
    const int w = m_ends.totalCells() * st.cellWidth, h = m_picks.totalCells() * st.cellHeight;
    QImage img(std::max(1, w), std::max(1, h), QImage::Format_RGB32);
    if (img.isNull()) return img;
    img.fill(Qt::white);
    if (w == 0 || h == 0) return img;
    if (st.back == frame()->fabricBack()) {
        renderInto(*document(), drawdownRows(), st, m_ends, m_picks, 0, 0, img);
    } else {
        const DrawdownRows rows(*document(), st.back);
        renderInto(*document(), rows, st, m_ends, m_picks, 0, 0, img);
    }
    return img;
}

} // namespace qb
