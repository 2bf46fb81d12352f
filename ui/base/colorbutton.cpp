#include "ui/base/colorbutton.h"

#include <QMouseEvent>
#include <QPainter>

namespace qb {

CColorButton::CColorButton(QSize size, bool dropMark, QWidget* parent) : QWidget(parent), m_dropMark(dropMark)
{
    setFixedSize(size);
}

void CColorButton::setColor(QColor c)
{
    if (c == m_color) return;
    m_color = c;
    update();
}

void CColorButton::setCurrent(bool on)
{
    if (on == m_current) return;
    m_current = on;
    update();
}

void CColorButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    p.fillRect(r, m_color);
    p.setPen(m_current ? QPen(palette().highlight().color(), 2) : QPen(Qt::darkGray));
    p.drawRect(m_current ? r.adjusted(1, 1, 0, 0) : r);
    if (m_dropMark) {
        // A small triangle in the corner, in a color that shows on any swatch.
        const QColor mark = m_color.lightness() < 128 ? Qt::white : Qt::black;
        const QPoint c(r.right() - 4, r.bottom() - 4);
        const QPoint tri[3] = {c + QPoint(-3, -2), c + QPoint(3, -2), c + QPoint(0, 2)};
        p.setPen(Qt::NoPen);
        p.setBrush(mark);
        p.drawPolygon(tri, 3);
    }
}

void CColorButton::mousePressEvent(QMouseEvent* e)
{
    emit clicked(e->button());
}

} // namespace qb
