#include "ui/views/tdinggridview.h"

#include "core/draft/heavylines.h"

#include <QPainter>

#include <algorithm>

namespace qb {

int CTdingGridView::rowsInUse() const
{
    return isWarpSide() ? document()->numWarps() : document()->numWefts();
}

int CTdingGridView::labelRows() const
{
    const Tding* s = seq(0);
    return s ? s->LabelRowCount() : 0;
}

const Tding* CTdingGridView::seq(int row) const
{
    if (isWarpSide()) return document()->threading(row);
    return document()->treadling(row);
}

int CTdingGridView::threadCount() const
{
    return isWarpSide() ? document()->numEnds() : document()->numPicks();
}

QRect CTdingGridView::threadCell(int thread, int valueItem) const
{
    return isWarpSide() ? contentItemRect(thread, valueItem) : contentItemRect(valueItem, thread);
}

void CTdingGridView::buildAxes(bool exporting)
{
    (void)exporting;
    const Tding* s = seq(0);
    const int n = threadCount();
    ThreadLayout probe = s ? ThreadLayout(*s, n) : ThreadLayout::uniform(n);
    const int count = fillCount(n, probe, threadPitch(), isWarpSide());
    GridAxis threads(count == n ? std::move(probe) : (s ? ThreadLayout(*s, count) : ThreadLayout::uniform(count)),
                     threadPitch(), threadsReversed());
    GridAxis values(ThreadLayout::uniform(valueItemCount()), valuePitch(), valuesReversed());
    if (isWarpSide()) {
        m_cols = std::move(threads);
        m_rows = std::move(values);
    } else {
        m_cols = std::move(values);
        m_rows = std::move(threads);
    }
}

QRect CTdingGridView::valueSpan(int firstItem, int lastItem) const
{
    const GridAxis& v = valueAxis();
    const int a = v.itemStart(firstItem), b = v.itemStart(lastItem);
    const int lo = std::min(a, b), hi = std::max(a + v.itemExtent(firstItem), b + v.itemExtent(lastItem));
    return isWarpSide() ? QRect(0, lo, gridSize().width(), hi - lo + 1)
                        : QRect(lo, 0, hi - lo + 1, gridSize().height());
}

void CTdingGridView::paintCells(QPainter& p, const QRect& area)
{
    if (frame()->isPaneHidden(paneKind())) return;
    const bool warp = isWarpSide();
    auto [t0, t1] =
        warp ? m_cols.itemsIn(area.left(), area.right() + 1) : m_rows.itemsIn(area.top(), area.bottom() + 1);
    t1 = std::min(t1, threadCount() - 1);
    const int values = valueCount();
    const int rows = rowsInUse();
    for (int t = t0; t <= t1; ++t) {
        for (int r = 0; r < rows; ++r) {
            valuesOf(t, r).forEach([&](int v) {
                if (v > values) return;
                const QRect cell = threadCell(t, v - 1);
                if (cell.intersects(area)) paintValue(p, inside(cell), t, r, v);
            });
        }
        if (frame()->isColorBarHidden(warp)) continue;
        for (int r = 0; r < rows; ++r) {
            const QRect cell = threadCell(t, colorBarItem(r));
            if (!cell.intersects(area)) continue;
            const Tding* s = seq(r);
            p.fillRect(inside(cell), colorOf(document()->palette().color(s ? s->GetColor(t) : 0)));
        }
    }
    paintLabels(p, t0, t1);
}

void CTdingGridView::paintLabels(QPainter& p, int t0, int t1)
{
    const Tding* s = seq(0);
    if (!s || labelRows() == 0 || t1 < t0) return;
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(std::max(2, std::min(cellWidth(), cellHeight()) + 2));
    p.save();
    p.setFont(f);
    p.setPen(Qt::black);
    for (int lr = 0; lr < kLabelRows; ++lr) {
        for (const Label& l : s->labelRow(lr)) {
            const int last = std::min(l.last(), threadCount() - 1);
            if (last < t0 || l.start > t1 || l.start > last) continue;
            QRect r = threadCell(l.start, labelItem(lr)).united(threadCell(last, labelItem(lr)));
            const QString text = QString::fromStdString(l.text);
            p.fillRect(inside(r), QColor(235, 235, 235));
            if (isWarpSide()) {
                p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, text);
            } else {
                // Along the picks the text runs top to bottom.
                p.save();
                p.translate(r.center());
                p.rotate(90);
                const QRect rr(-r.height() / 2, -r.width() / 2, r.height(), r.width());
                p.drawText(rr, Qt::AlignCenter | Qt::TextSingleLine, text);
                p.restore();
            }
        }
    }
    p.restore();
}

void CTdingGridView::paintGridLines(QPainter& p, const QRect& area)
{
    const bool warp = isWarpSide();
    const bool threadLines = warp ? drawsVerticalLines() : drawsHorizontalLines();
    const bool valueLines = warp ? drawsHorizontalLines() : drawsVerticalLines();
    auto [t0, t1] =
        warp ? m_cols.itemsIn(area.left(), area.right() + 1) : m_rows.itemsIn(area.top(), area.bottom() + 1);
    const int values = valueCount();
    const int rows = rowsInUse();
    const QRect valueBand = valueSpan(0, values - 1);
    const QRect barBand = valueSpan(colorBarItem(0), colorBarItem(rows - 1));
    const int across = warp ? gridSize().width() : gridSize().height();
    auto spanOf = [&](const QRect& band) {
        return warp ? std::pair{band.top(), band.bottom() + 1} : std::pair{band.left(), band.right() + 1};
    };
    if (threadLines) {
        const int period = HeavyLinePeriod(document()->blocks(), warp);
        auto [a, b] = spanOf(valueBand);
        drawLines(p, threadAxis(), warp, t0, t1, a, b, period);
        auto [c, d] = spanOf(barBand);
        drawLines(p, threadAxis(), warp, t0, t1, c, d, period);
    }
    if (valueLines) {
        drawLines(p, valueAxis(), !warp, 0, values - 1, 0, across);
        drawLines(p, valueAxis(), !warp, colorBarItem(0), colorBarItem(rows - 1), 0, across, 1000);
    }
}

} // namespace qb
