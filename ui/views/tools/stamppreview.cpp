#include "ui/views/tools/stamppreview.h"

#include "ui/views/tdinggridview.h"

#include <QPainter>

#include <algorithm>

namespace qb {

CStampPreview::CStampPreview(QWidget* viewport) : QWidget(viewport)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setObjectName(QStringLiteral("stampPreview"));
}

void CStampPreview::showAt(const QRect& frame, std::vector<QRect> cells)
{
    for (QRect& r : cells) r.translate(-frame.topLeft());
    m_cells = std::move(cells);
    setGeometry(frame);
    raise();
    show();
    update();
}

bool CStampPreview::showThreads(const CTdingGridView& pane, int first, const ThreadCopy& copy)
{
    const bool warp = pane.isWarpSide();
    const CTdingGridView* t = &pane;
    const int n = std::min(int(copy.colors.size()), t->threadAxis().itemCount() - first);
    if (n <= 0 || first < 0) {
        return false;
    }
    // The frame spans the copied threads over all shaft or treadle rows.
    const int values = t->valueCount();
    const QRect frame = warp ? pane.itemRect(first, 0).united(pane.itemRect(first + n - 1, values - 1))
                             : pane.itemRect(0, first).united(pane.itemRect(values - 1, first + n - 1));
    std::vector<QRect> cells;
    for (int k = 0; k < n; ++k) {
        if (warp) {
            if (const int v = copy.shafts[k]; v >= 1 && v <= values) cells.push_back(pane.itemRect(first + k, v - 1));
        } else {
            for (int v = 1; v <= values; ++v)
                if (copy.sets[k].test(v)) cells.push_back(pane.itemRect(v - 1, first + k));
        }
    }
    showAt(frame, std::move(cells));
    return true;
}

void CStampPreview::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(255, 255, 160, 90));
    for (const QRect& r : m_cells) p.fillRect(r.adjusted(1, 1, -1, -1), QColor(0, 0, 0, 150));
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace qb
