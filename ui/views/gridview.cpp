#include "ui/views/gridview.h"

#include "ui/views/tools/panetool.h"
#include "ui/views/tools/toolcursors.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>
#include <optional>

namespace qb {

namespace {

const QColor kThinLine(128, 128, 128);
const QColor kHeavyLine(0, 0, 128);

} // namespace

CGridView::CGridView(CGridFrame* frame, QWidget* parent)
    : QAbstractScrollArea(parent)
    , m_frame(frame)
    , m_doc(frame->document())
{
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setFocusPolicy(Qt::ClickFocus);
    m_doc->subscribe(this);
    m_frame->registerPane(this);
}

CGridView::~CGridView()
{
    m_doc->unsubscribe(this);
    m_frame->unregisterPane(this);
}

void CGridView::setFarEdges(bool right, bool bottom)
{
    m_farRight = right;
    m_farBottom = bottom;
}

QPoint CGridView::contentOffset() const
{
    const QSize v = viewport()->size();
    const QSize c = gridSize();
    const int x = c.width() <= v.width() ? (m_farRight ? v.width() - c.width() : 0) : -horizontalScrollBar()->value();
    const int y =
        c.height() <= v.height() ? (m_farBottom ? v.height() - c.height() : 0) : -verticalScrollBar()->value();
    return {x, y};
}

QRect CGridView::contentItemRect(int col, int row) const
{
    return QRect(m_cols.itemStart(col), m_rows.itemStart(row), m_cols.itemExtent(col), m_rows.itemExtent(row));
}

QRect CGridView::itemRect(int col, int row) const
{
    return contentItemRect(col, row).translated(contentOffset());
}

QRect CGridView::inside(const QRect& r) const
{
    return r.adjusted(drawsVerticalLines() ? 1 : 0, drawsHorizontalLines() ? 1 : 0, 0, 0);
}

int CGridView::fillCount(int items, const ThreadLayout& layout, int pitch, bool horizontal) const
{
    if (m_exporting || !m_fillsPane) return items;
    const int v = horizontal ? viewport()->width() : viewport()->height();
    const int fit = std::max(0, (v - 1) / std::max(1, pitch));
    return std::min(kMaxThreads, items + std::max(0, fit - layout.totalCells()));
}

void CGridView::computeStyle()
{
    const int w = cellWidth(), h = cellHeight();
    const int px = cellFontPixelSize(w, h);
    m_requested = notationStyle();
    m_style = effectiveStyle(m_requested, w, h, m_frame->scale().markSize, measuredDigitsHeight(px),
                             m_frame->scale().innerCell);
    m_cellFont = QFont(QStringLiteral("Arial"));
    m_cellFont.setPixelSize(px);
}

void CGridView::updateScrollBars()
{
    const QSize v = viewport()->size();
    const QSize c = gridSize();
    auto setup = [](QScrollBar* bar, int content, int view, int step, bool far) {
        // Panes that scroll together each work out the same position; a
        // signal now would reach a partner still holding its old range.
        const QSignalBlocker quiet(bar);
        const int oldMax = bar->maximum(), oldValue = bar->value(), oldStep = std::max(1, bar->singleStep());
        const int max = std::max(0, content - view);
        // Keep the same number of cells between the view and the edge thread 1
        // sits at, also across a zoom.
        const auto scaled = [&](int px) { return int(qint64(px) * std::max(1, step) / oldStep); };
        const int value = far ? (oldMax > 0 ? max - scaled(oldMax - oldValue) : max) : scaled(oldValue);
        bar->setRange(0, max);
        bar->setPageStep(std::max(1, view));
        bar->setSingleStep(std::max(1, step));
        bar->setValue(std::clamp(value, 0, max));
    };
    setup(horizontalScrollBar(), c.width(), v.width(), cellWidth(), m_farRight);
    setup(verticalScrollBar(), c.height(), v.height(), cellHeight(), m_farBottom);
}

void CGridView::relayout()
{
    if (m_inRelayout || m_frame->isClosing()) return;
    // The tools follow the current tool's changes (and its cursor) from the first layout on.
    tool();
    m_inRelayout = true;
    buildAxes(false);
    computeStyle();
    updateScrollBars();
    m_inRelayout = false;
    updateAll();
}

void CGridView::setSelection(int firstCol, int lastCol, int firstRow, int lastRow)
{
    m_sel[0] = std::min(firstCol, lastCol);
    m_sel[1] = std::max(firstCol, lastCol);
    m_sel[2] = std::min(firstRow, lastRow);
    m_sel[3] = std::max(firstRow, lastRow);
    updateAll();
}

QSize CGridView::exportSize()
{
    m_exporting = true;
    buildAxes(true);
    const QSize s = gridSize();
    m_exporting = false;
    buildAxes(false);
    return s;
}

void CGridView::renderExport(QPainter& p)
{
    m_exporting = true;
    buildAxes(true);
    computeStyle();
    const QRect area(QPoint(0, 0), gridSize());
    p.save();
    p.setClipRect(area);
    p.fillRect(area, Qt::white);
    p.setFont(m_cellFont);
    paintCells(p, area);
    paintGridLines(p, area);
    p.restore();
    m_exporting = false;
    buildAxes(false);
    computeStyle();
}

void CGridView::documentUpdated(const CQuillabyDoc&, const UpdateHint& hint)
{
    // The button colors and the texts show nowhere in the panes.
    if (hint.has(UpdateHint::ButtonColors) || !(hint.parts & ~UpdateHint::Texts)) return;
    // Copying the drawdown depends on the draft's content: one pane per frame refreshes the commands.
    if (m_frame->activePane() == this) m_frame->updateActionStates();
    if (hint.layout) {
        relayout();
        return;
    }
    // Counts may have changed with the edit: re-read them first.
    const QSize before = gridSize();
    buildAxes(false);
    computeStyle();
    if (gridSize() != before) {
        updateScrollBars();
        updateAll();
        return;
    }
    reactToHint(hint);
}

void CGridView::weavingPickMoved(const CQuillabyDoc&, int previous, int current)
{
    // Only the panes that show picks mark the one on the loom.
    for (int pick : {previous, current})
        if (pick >= 0) markPick(pick);
}

void CGridView::updateContent(const QRect& r)
{
    const QRect v = r.translated(contentOffset()) & viewport()->rect();
    if (v.isEmpty()) return;
    if (m_spy) m_spy(v);
    viewport()->update(v);
}

void CGridView::updateAll()
{
    if (m_spy) m_spy(viewport()->rect());
    viewport()->update();
}

void CGridView::updateColumnItems(int first, int last)
{
    first = std::max(0, first);
    last = std::min(last, m_cols.itemCount() - 1);
    if (first > last) return;
    const int a = m_cols.itemStart(first), b = m_cols.itemStart(last);
    const int x0 = std::min(a, b), x1 = std::max(a + m_cols.itemExtent(first), b + m_cols.itemExtent(last));
    updateContent(QRect(x0, 0, x1 - x0 + 1, gridSize().height()));
}

void CGridView::updateRowItems(int first, int last)
{
    first = std::max(0, first);
    last = std::min(last, m_rows.itemCount() - 1);
    if (first > last) return;
    const int a = m_rows.itemStart(first), b = m_rows.itemStart(last);
    const int y0 = std::min(a, b), y1 = std::max(a + m_rows.itemExtent(first), b + m_rows.itemExtent(last));
    updateContent(QRect(0, y0, gridSize().width(), y1 - y0 + 1));
}

void CGridView::drawLines(QPainter& p, const GridAxis& along, bool vertical, int firstItem, int lastItem, int spanFrom,
                          int spanTo, int period)
{
    if (period < 1) period = 4; // a missing block count must not divide by zero
    if (along.itemCount() == 0 || spanTo <= spanFrom) return;
    firstItem = std::max(0, firstItem);
    lastItem = lastItem < 0 ? along.itemCount() - 1 : std::min(lastItem, along.itemCount() - 1);
    const ThreadLayout& l = along.layout();
    auto line = [&](int n, const QColor& c) {
        const int px = along.boundaryPx(l.cellOf(n));
        if (vertical) p.fillRect(px, spanFrom, 1, spanTo - spanFrom, c);
        else p.fillRect(spanFrom, px, spanTo - spanFrom, 1, c);
    };
    // Line n lies after item n (1-based); line 0 is the border before item 1.
    for (int n = firstItem; n <= lastItem + 1; ++n)
        if (n == 0 || n % period != 0) line(n, kThinLine);
    for (int n = std::max(1, firstItem); n <= lastItem + 1; ++n)
        if (n % period == 0) line(n, kHeavyLine);
}

void CGridView::paintGridLines(QPainter&, const QRect&) {}

void CGridView::paintEvent(QPaintEvent* e)
{
    QPainter p(viewport());
    const QRect r = e->rect();
    p.fillRect(r, backgroundColor());
    const QPoint off = contentOffset();
    const QRect area = r.translated(-off) & QRect(QPoint(0, 0), gridSize());
    if (area.isEmpty()) return;
    p.translate(off);
    p.setClipRect(area);
    p.setFont(m_cellFont);
    paintCells(p, area);
    paintGridLines(p, area);
    paintHighlight(p);
    // The drawdown shows its selection by dimming the rest; the other panes
    // lay a tint over the selected cells.
    if (hasSelection() && paneKind() != PaneKind::Drawdown) {
        const QRect sel = contentItemRect(m_sel[0], m_sel[2]).united(contentItemRect(m_sel[1], m_sel[3]));
        p.fillRect(sel, QColor(0, 0, 128, 50));
        p.setPen(QPen(QColor(0, 0, 128), 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(sel.adjusted(0, 0, -1, -1));
    }
    if (m_tool && !m_exporting) m_tool->paintCurrent(p);
}

std::pair<int, int> CGridView::itemSpan(const GridAxis& axis, int first, int last)
{
    const int a = axis.itemStart(first), b = axis.itemStart(last);
    return {std::min(a, b), std::max(a + axis.itemExtent(first), b + axis.itemExtent(last))};
}

// Which axis shows the highlighted thread in this pane: columns (true) or
// rows (false); nothing when the pane does not show that side.
static std::optional<bool> highlightAxis(PaneKind kind, bool warp)
{
    switch (kind) {
    case PaneKind::Drawdown: return warp;
    case PaneKind::Threading: return warp ? std::optional<bool>(true) : std::nullopt;
    case PaneKind::Treadling: return warp ? std::nullopt : std::optional<bool>(false);
    default: return std::nullopt;
    }
}

QRect CGridView::highlightContentBand() const
{
    const ThreadHighlight& h = m_frame->highlight();
    const std::optional<bool> cols = highlightAxis(paneKind(), h.warp);
    if (h.thread < 0 || !cols) return {};
    const GridAxis& along = *cols ? m_cols : m_rows;
    const GridAxis& across = *cols ? m_rows : m_cols;
    if (h.thread >= along.itemCount() || across.itemCount() == 0) return {};
    const auto [a, b] = itemSpan(along, h.thread, h.thread);
    // In the drawdown the band stays over the draft's own threads.
    int last = across.itemCount() - 1;
    if (paneKind() == PaneKind::Drawdown) last = std::min(last, (h.warp ? m_doc->numPicks() : m_doc->numEnds()) - 1);
    if (last < 0) return {};
    const auto [c, d] = itemSpan(across, 0, last);
    return *cols ? QRect(a, c, b - a + 1, d - c + 1) : QRect(c, a, d - c + 1, b - a + 1);
}

QRect CGridView::highlightBand() const
{
    return highlightContentBand().translated(contentOffset());
}

void CGridView::paintHighlight(QPainter& p)
{
    const ThreadHighlight& h = m_frame->highlight();
    const QRect band = highlightContentBand();
    if (m_exporting || band.isEmpty()) return;
    const bool cols = h.warp;
    const GridAxis& across = cols ? m_rows : m_cols;
    const auto [a, b] = cols ? std::pair(band.left(), band.right()) : std::pair(band.top(), band.bottom());
    const QColor mark(220, 0, 0);
    p.save();
    p.fillRect(band, QColor(255, 0, 0, 45));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(mark, 1, Qt::DashLine));
    p.drawRect(band.adjusted(0, 0, -1, -1));
    if (paneKind() == PaneKind::Drawdown) {
        // The floats themselves, in a frame that holds on any cell color.
        for (const auto& [first, last] : h.spans) {
            if (first < 0 || last >= across.itemCount() || first > last) continue;
            const auto [c, d] = itemSpan(across, first, last);
            const QRect r = cols ? QRect(a, c, b - a, d - c) : QRect(c, a, d - c, b - a);
            p.setPen(QPen(Qt::white, 3));
            p.drawRect(r.adjusted(-1, -1, 0, 0));
            p.setPen(QPen(mark, 2));
            p.drawRect(r.adjusted(-1, -1, 0, 0));
        }
    }
    p.restore();
}

void CGridView::scrollToItems(int c0, int c1, int r0, int r1)
{
    auto bring = [](QScrollBar* bar, const GridAxis& axis, int first, int last, int view) {
        if (first < 0 || last < first || last >= axis.itemCount()) return;
        const auto [a, b] = itemSpan(axis, first, last);
        const int v = bar->value();
        if (a >= v && b <= v + view) return;
        // Centred when it fits, else its start at the edge.
        const int to = b - a <= view ? a - (view - (b - a)) / 2 : a;
        bar->setValue(std::clamp(to, bar->minimum(), bar->maximum()));
    };
    bring(horizontalScrollBar(), m_cols, c0, c1, viewport()->width());
    bring(verticalScrollBar(), m_rows, r0, r1, viewport()->height());
}

void CGridView::resizeEvent(QResizeEvent* e)
{
    QAbstractScrollArea::resizeEvent(e);
    relayout();
}

void CGridView::scrollContentsBy(int dx, int dy)
{
    viewport()->scroll(dx, dy);
}

CPaneTool& CGridView::tool()
{
    if (!m_tool) m_tool = std::make_unique<CPaneTool>(this);
    return *m_tool;
}

void CGridView::mousePressEvent(QMouseEvent* e)
{
    m_frame->setActivePane(this);
    if (!tool().mousePress(e)) QAbstractScrollArea::mousePressEvent(e);
}

void CGridView::mouseMoveEvent(QMouseEvent* e)
{
    if (!tool().mouseMove(e)) QAbstractScrollArea::mouseMoveEvent(e);
}

void CGridView::mouseReleaseEvent(QMouseEvent* e)
{
    if (!tool().mouseRelease(e)) QAbstractScrollArea::mouseReleaseEvent(e);
}

void CGridView::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (!tool().mouseDoubleClick(e)) QAbstractScrollArea::mouseDoubleClickEvent(e);
}

void CGridView::leaveEvent(QEvent* e)
{
    tool().pointerLeft();
    QAbstractScrollArea::leaveEvent(e);
}

void CGridView::keyReleaseEvent(QKeyEvent* e)
{
    tool().modifiersChanged(e);
    QAbstractScrollArea::keyReleaseEvent(e);
}

void CGridView::enterEvent(QEnterEvent* e)
{
    // Modifiers may have changed while the pointer was elsewhere.
    UpdateToolCursor(this);
    QAbstractScrollArea::enterEvent(e);
}

void CGridView::keyPressEvent(QKeyEvent* e)
{
    if (!tool().keyPress(e)) QAbstractScrollArea::keyPressEvent(e);
}

} // namespace qb
