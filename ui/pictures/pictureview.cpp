#include "ui/pictures/pictureview.h"

#include "ui/views/tools/toolstate.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace qb {

CPictureView::CPictureView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pictureView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&CToolState::instance(), &CToolState::toolChanged, this, [this] { updateCursor(); });
    updateCursor();
}

void CPictureView::setPicture(const RgbPicture* picture)
{
    m_picture = picture;
    if (picture && !picture->empty())
        m_image = QImage(reinterpret_cast<const uchar*>(picture->pixels.data()), picture->width, picture->height,
                         picture->width * 4, QImage::Format_RGB32);
    else m_image = QImage();
    // A selection beyond a smaller picture keeps only what is left of it.
    setSelection(m_selection);
    resize(displayedSize());
    updateGeometry();
    update();
}

void CPictureView::setZoom(double zoom)
{
    m_zoom = zoom;
    resize(displayedSize());
    updateGeometry();
    update();
}

QSize CPictureView::displayedSize() const
{
    if (!m_picture || m_picture->empty()) return {1, 1};
    return {std::max(1, int(std::lround(m_picture->width * m_zoom))),
            std::max(1, int(std::lround(m_picture->height * m_zoom)))};
}

void CPictureView::setGrid(GridSquares grid)
{
    m_grid = grid;
    update();
}

void CPictureView::setSelection(PixelRect r)
{
    PixelRect cut;
    if (m_picture && !r.empty()) {
        const int x0 = std::max(r.x, 0), y0 = std::max(r.y, 0);
        const int x1 = std::min(r.x + r.width, m_picture->width), y1 = std::min(r.y + r.height, m_picture->height);
        if (x1 > x0 && y1 > y0) cut = {x0, y0, x1 - x0, y1 - y0};
    }
    if (cut == m_selection) return;
    m_selection = cut;
    update();
    emit selectionChanged();
}

QPoint CPictureView::pixelAt(QPoint pos) const
{
    return {int(std::floor(pos.x() / m_zoom)), int(std::floor(pos.y() / m_zoom))};
}

QRect CPictureView::windowRect(PixelRect r) const
{
    const int x0 = int(std::lround(r.x * m_zoom)), y0 = int(std::lround(r.y * m_zoom));
    const int x1 = int(std::lround((r.x + r.width) * m_zoom)), y1 = int(std::lround((r.y + r.height) * m_zoom));
    return QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1));
}

void CPictureView::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    const QRect r = e->rect();
    p.fillRect(r, palette().window());
    if (m_image.isNull()) return;
    // Nearest pixel, so that a zoomed picture shows its pixels as squares.
    const QRectF source(r.x() / m_zoom, r.y() / m_zoom, r.width() / m_zoom, r.height() / m_zoom);
    p.drawImage(QRectF(r), m_image, source);

    const QSize shown = displayedSize();
    if (m_grid.across > 1 || m_grid.down > 1) {
        // End 1 is the rightmost square and pick 1 the top one: the squares
        // are counted from the top right corner, as Generate Draft reads them.
        const OverlaySquare sq = GridOverlaySquare(shown.width(), shown.height(), m_grid);
        QPen light(QColor(255, 255, 255), 1), dark(QColor(0, 0, 0), 1, Qt::DashLine);
        for (const QPen& pen : {light, dark}) {
            p.setPen(pen);
            for (int k = 1; k < m_grid.across; ++k) {
                const int x = shown.width() - k * sq.width;
                if (x <= 0) break;
                if (x >= r.left() - 1 && x <= r.right() + 1) p.drawLine(x, r.top(), x, r.bottom());
            }
            for (int k = 1; k < m_grid.down; ++k) {
                const int y = k * sq.height;
                if (y >= shown.height()) break;
                if (y >= r.top() - 1 && y <= r.bottom() + 1) p.drawLine(r.left(), y, r.right(), y);
            }
        }
    }
    if (!m_selection.empty()) {
        // Tinted, so that it stands out from the grid lines.
        const QRect s = windowRect(m_selection);
        QColor tint = palette().color(QPalette::Highlight);
        p.setPen(QPen(tint, 1));
        tint.setAlpha(60);
        p.setBrush(tint);
        p.drawRect(s);
    }
}

PixelRect CPictureView::bandSelection(QPoint to) const
{
    const QSize shown = displayedSize();
    const QPoint end(std::clamp(to.x(), 0, shown.width()), std::clamp(to.y(), 0, shown.height()));
    const PixelRect window{m_anchor.x(), m_anchor.y(), end.x() - m_anchor.x(), end.y() - m_anchor.y()};
    if (window.width == 0 || window.height == 0) return {};
    return WindowRectToPicture(window, m_zoom);
}

void CPictureView::pick(QPoint pos)
{
    const QPoint px = pixelAt(pos);
    if (!m_picture || px.x() < 0 || px.y() < 0 || px.x() >= m_picture->width || px.y() >= m_picture->height) return;
    emit colorPicked(px, m_picture->at(px.x(), px.y()));
}

void CPictureView::mousePressEvent(QMouseEvent* e)
{
    if (!m_picture || m_picture->empty()) return;
    const QPoint pos = e->position().toPoint();
    const bool left = e->button() == Qt::LeftButton, right = e->button() == Qt::RightButton;
    switch (CToolState::instance().tool()) {
    case Tool::Zoom:
        // Left zooms in and right out; Shift turns either around.
        if (left || right) emit zoomClicked(left != bool(e->modifiers() & Qt::ShiftModifier), pos);
        return;
    case Tool::PickupColor:
        if (!left && !right) return;
        m_drag = Drag::Pick;
        pick(pos);
        return;
    default: break;
    }
    if (!left) return;
    const QSize shown = displayedSize();
    m_anchor = QPoint(std::clamp(pos.x(), 0, shown.width()), std::clamp(pos.y(), 0, shown.height()));
    if (!m_selection.empty() && windowRect(m_selection).contains(pos)) {
        m_drag = Drag::Move;
        m_moveFrom = m_selection;
    } else {
        m_drag = Drag::Band;
        setSelection({});
    }
}

void CPictureView::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    switch (m_drag) {
    case Drag::Band: setSelection(bandSelection(pos)); break;
    case Drag::Move: {
        // Whole pixels, and the rectangle stays on the picture.
        PixelRect r = m_moveFrom;
        r.x += int(std::lround((pos.x() - m_anchor.x()) / m_zoom));
        r.y += int(std::lround((pos.y() - m_anchor.y()) / m_zoom));
        r.x = std::clamp(r.x, 0, std::max(0, m_picture->width - r.width));
        r.y = std::clamp(r.y, 0, std::max(0, m_picture->height - r.height));
        setSelection(r);
        break;
    }
    case Drag::Pick: pick(pos); break;
    case Drag::None: break;
    }
}

void CPictureView::mouseReleaseEvent(QMouseEvent* e)
{
    if (m_drag == Drag::Band) setSelection(bandSelection(e->position().toPoint()));
    m_drag = Drag::None;
}

void CPictureView::updateCursor()
{
    setCursor(CToolState::instance().tool() == Tool::Zoom ? Qt::PointingHandCursor : Qt::CrossCursor);
}

} // namespace qb
