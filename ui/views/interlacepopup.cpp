#include "ui/views/interlacepopup.h"

#include "ui/views/draftview.h"

#include "core/draft/drawdown.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <cmath>

namespace qb {

CPopupWnd::CPopupWnd(QWidget* owner) : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

CSlicePopup::CSlicePopup(CDraftView* view, int thread) : CPopupWnd(view), m_view(view), m_thread(thread)
{
    connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { reposition(); });
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { reposition(); });
}

void CSlicePopup::setThread(int thread)
{
    m_thread = thread;
    reposition();
}

void CSlicePopup::reposition()
{
    const QRect r = sliceRect();
    setGeometry(QRect(m_view->viewport()->mapToGlobal(r.topLeft()), r.size()));
    update();
}

namespace {

// Band size of a popup side: ceil(side * 0.5625), at least 1.
int bandOf(int side)
{
    return std::max(1, int(std::ceil(side * 0.5625)));
}

void edgeLines(QPainter& p, const QRect& band, bool horizontal)
{
    p.setPen(Qt::black);
    if (horizontal) {
        p.drawLine(band.topLeft(), band.topRight());
        p.drawLine(band.bottomLeft(), band.bottomRight());
    } else {
        p.drawLine(band.topLeft(), band.bottomLeft());
        p.drawLine(band.topRight(), band.bottomRight());
    }
}

} // namespace

CWarpInterlacePopup::CWarpInterlacePopup(CDraftView* view, int end) : CInterlacePopup(view, end)
{
    reposition();
}

QRect CWarpInterlacePopup::sliceRect() const
{
    const QRect cell = m_view->itemRect(m_thread, 0);
    return QRect(cell.left(), 0, cell.width(), m_view->viewport()->height());
}

void CWarpInterlacePopup::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const CQuillabyDoc& doc = *m_view->document();
    const int shaft = doc.threading(0) ? doc.threading(0)->GetShaft(m_thread) : 0;
    const int b = bandOf(width());
    const QRect bar((width() - b) / 2, 0, b, height());
    const int dy = m_view->contentOffset().y();
    const auto [p0, p1] = m_view->rows().itemsIn(-dy, -dy + height());
    for (int pick = p0; pick <= std::min(p1, doc.numPicks() - 1); ++pick) {
        const QRect row(0, m_view->rows().itemStart(pick) + dy, width(), m_view->rows().itemExtent(pick));
        const QRect band(0, row.top() + (row.height() - b) / 2, width(), b);
        const QRect barPart = bar & row;
        if (WarpUp(shaft, LiftedShafts(doc, pick), doc.isRisingShed())) {
            p.fillRect(band, QColor::fromRgb(kOlive));
            edgeLines(p, band, true);
            p.fillRect(barPart, Qt::black);
        } else {
            p.fillRect(barPart, Qt::black);
            p.fillRect(band, QColor::fromRgb(kYellow));
            edgeLines(p, band, true);
        }
    }
}

CWeftInterlacePopup::CWeftInterlacePopup(CDraftView* view, int pick) : CInterlacePopup(view, pick)
{
    reposition();
}

QRect CWeftInterlacePopup::sliceRect() const
{
    const QRect cell = m_view->itemRect(0, m_thread);
    return QRect(0, cell.top(), m_view->viewport()->width(), cell.height());
}

void CWeftInterlacePopup::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const CQuillabyDoc& doc = *m_view->document();
    const TUPTYPE lifted = LiftedShafts(doc, m_thread);
    const int b = bandOf(height());
    const QRect band(0, (height() - b) / 2, width(), b);
    const int dx = m_view->contentOffset().x();
    const auto [e0, e1] = m_view->columns().itemsIn(-dx, -dx + width());
    // Ends beneath the pick first, then the black pick, then the ends over it.
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1) p.fillRect(band, Qt::black);
        for (int end = e0; end <= std::min(e1, doc.numEnds() - 1); ++end) {
            const QRect col(m_view->columns().itemStart(end) + dx, 0, m_view->columns().itemExtent(end), height());
            const int shaft = doc.threading(0)->GetShaft(end);
            const bool over = WarpUp(shaft, lifted, doc.isRisingShed());
            if (over != (pass == 1)) continue;
            const QRect endBand(col.left() + (col.width() - b) / 2, 0, b, height());
            p.fillRect(endBand, QColor::fromRgb(over ? kYellow : kOlive));
            edgeLines(p, endBand, false);
        }
    }
}

} // namespace qb
