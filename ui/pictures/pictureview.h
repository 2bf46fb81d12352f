#pragma once

#include "core/picture/pictureops.h"
#include "core/picture/rgbpicture.h"

#include <QImage>
#include <QWidget>

namespace qb {

// The picture of a graphic window at its zoom, with the grid squares laid
// over it and the selection rectangle. The mouse works with the tool of the
// tool bar: the zoom tool zooms, the pick-up tool reads a color, and every
// other tool drags a selection (or moves the one there is).
class CPictureView : public QWidget {
    Q_OBJECT
public:
    explicit CPictureView(QWidget* parent = nullptr);

    // The picture shown; not owned. Call again whenever it changes.
    void setPicture(const RgbPicture* picture);
    const RgbPicture* picture() const { return m_picture; }

    double zoom() const { return m_zoom; }
    void setZoom(double zoom);
    // The picture's size times the zoom, at least 1 x 1.
    QSize displayedSize() const;

    GridSquares grid() const { return m_grid; }
    void setGrid(GridSquares grid);

    // The selection in picture pixels, cut to the picture; empty for none.
    PixelRect selection() const { return m_selection; }
    void setSelection(PixelRect r);
    void clearSelection() { setSelection({}); }

    // The picture pixel under a point of this widget (may lie outside).
    QPoint pixelAt(QPoint pos) const;

    QSize sizeHint() const override { return displayedSize(); }

signals:
    void selectionChanged();
    // A zoom tool click: in or out, about the point clicked.
    void zoomClicked(bool in, QPoint pos);
    // The pick-up tool read the pixel `pixel`.
    void colorPicked(QPoint pixel, QRgb color);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QRect windowRect(PixelRect r) const;
    PixelRect bandSelection(QPoint to) const;
    void pick(QPoint pos);
    void updateCursor();

    const RgbPicture* m_picture = nullptr;
    QImage m_image; // shares the picture's pixels
    double m_zoom = 1.0;
    GridSquares m_grid;
    PixelRect m_selection;
    enum class Drag { None, Band, Move, Pick } m_drag = Drag::None;
    QPoint m_anchor;
    PixelRect m_moveFrom;
};

} // namespace qb
