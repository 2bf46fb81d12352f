#include "stamppreview.h"

#include <QPainter>

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

void CStampPreview::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(255, 255, 160, 90));
    for (const QRect& r : m_cells) p.fillRect(r.adjusted(1, 1, -1, -1), QColor(0, 0, 0, 150));
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace qb
