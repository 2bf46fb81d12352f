#include "ui/yarn/piecespicturewidget.h"

#include "core/yarn/piecespicture.h"

#include <QPainter>

namespace qb {

CPiecesPicture::CPiecesPicture(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("piecesPicture"));
    setMinimumSize(120, 120);
}

void CPiecesPicture::setPlan(const PlanInputs& in)
{
    if (in == m_in) return;
    m_in = in;
    update();
}

void CPiecesPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Base));
    PaintPieces(p, QRectF(rect()).adjusted(4, 4, -4, -4), m_in, palette().color(QPalette::Window));
}

void PaintPieces(QPainter& p, const QRectF& area, const PlanInputs& in, const QColor& background)
{
    if (area.width() <= 0 || area.height() <= 0) return;
    p.save();
    QPen pen(Qt::black);
    pen.setCosmetic(true);
    p.setPen(pen);
    for (const PieceRect& r : PiecesPicture(in, area.width(), area.height())) {
        const QRectF rect(area.left() + r.x, area.top() + r.y, r.width, r.height);
        p.fillRect(rect, background);
        if (r.hatched) p.fillRect(rect, QBrush(Qt::black, Qt::BDiagPattern));
        p.drawRect(rect);
    }
    p.restore();
}

} // namespace qb
