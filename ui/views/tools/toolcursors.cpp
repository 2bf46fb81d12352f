#include "ui/views/tools/toolcursors.h"

#include "ui/views/tools/panetool.h"
#include "ui/views/tools/toolstate.h"

#include "ui/views/gridview.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <map>
#include <tuple>

namespace qb {

namespace {

// Cursors are drawn on a 32 x 32 grid of logical pixels.
constexpr int kSize = 32;

// A black shape with a white rim, visible on dark and light cells alike.
void outlined(QPainter& p, const QPainterPath& path, const QColor& fill)
{
    p.setPen(QPen(Qt::white, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(path);
}

void line(QPainter& p, QPointF a, QPointF b)
{
    QPainterPath path(a);
    path.lineTo(b);
    outlined(p, path, Qt::NoBrush);
}

// A slanted tool from the top right down to a tip at the lower left.
void slanted(QPainter& p, const QPolygonF& body, const QColor& color, const QPolygonF& tip, const QColor& tipColor)
{
    QPainterPath b;
    b.addPolygon(body);
    b.closeSubpath();
    outlined(p, b, color);
    QPainterPath t;
    t.addPolygon(tip);
    t.closeSubpath();
    outlined(p, t, tipColor);
}

void drawPencil(QPainter& p)
{
    slanted(p, QPolygonF({{8, 20}, {24, 4}, {28, 8}, {12, 24}}), QColor(250, 200, 40),
            QPolygonF({{8, 20}, {12, 24}, {2, 30}}), QColor(60, 60, 60));
}

void drawBrush(QPainter& p)
{
    slanted(p, QPolygonF({{14, 16}, {27, 3}, {30, 6}, {17, 19}}), QColor(150, 90, 40),
            QPolygonF({{10, 16}, {17, 23}, {8, 28}, {2, 30}, {5, 22}}), QColor(200, 40, 40));
}

void drawPickup(QPainter& p)
{
    slanted(p, QPolygonF({{6, 22}, {19, 9}, {23, 13}, {10, 26}}), QColor(220, 230, 240),
            QPolygonF({{6, 22}, {10, 26}, {2, 30}}), QColor(60, 60, 60));
    QPainterPath bulb;
    bulb.addEllipse(QPointF(24, 8), 5, 5);
    outlined(p, bulb, QColor(40, 40, 40));
}

void drawBucket(QPainter& p)
{
    QPainterPath pail;
    pail.addPolygon(QPolygonF({{12, 8}, {28, 14}, {24, 28}, {10, 22}}));
    pail.closeSubpath();
    outlined(p, pail, QColor(170, 170, 190));
    // The paint runs out of the rim down to the hot spot.
    QPainterPath drip(QPointF(12, 8));
    drip.cubicTo(QPointF(6, 10), QPointF(3, 18), QPointF(3, 29));
    drip.lineTo(QPointF(6, 20));
    drip.closeSubpath();
    outlined(p, drip, QColor(40, 90, 220));
}

void drawCross(QPainter& p, QPointF c, double arm)
{
    line(p, {c.x() - arm, c.y()}, {c.x() + arm, c.y()});
    line(p, {c.x(), c.y() - arm}, {c.x(), c.y() + arm});
}

void drawLine(QPainter& p)
{
    drawCross(p, {7, 7}, 6);
    line(p, {13, 28}, {28, 13});
    QPainterPath ends;
    ends.addEllipse(QPointF(13, 28), 2, 2);
    ends.addEllipse(QPointF(28, 13), 2, 2);
    outlined(p, ends, Qt::black);
}

void drawSelection(QPainter& p)
{
    drawCross(p, {15, 15}, 8);
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(19.5, 19.5, 10, 9));
}

void drawStamp(QPainter& p)
{
    QPainterPath handle;
    handle.addEllipse(QPointF(16, 6), 5, 4);
    handle.addRect(QRectF(14, 9, 4, 9));
    outlined(p, handle, QColor(150, 90, 40));
    QPainterPath base;
    base.addRect(QRectF(6, 18, 20, 6));
    outlined(p, base, QColor(90, 90, 90));
    QPainterPath pad;
    pad.addRect(QRectF(8, 24, 16, 5));
    outlined(p, pad, QColor(200, 40, 40));
}

void drawZoom(QPainter& p)
{
    line(p, {19, 19}, {29, 29});
    QPainterPath lens;
    lens.addEllipse(QPointF(12, 12), 9, 9);
    outlined(p, lens, QColor(220, 235, 255, 200));
    drawCross(p, {12, 12}, 4);
}

// The erase mark: a small eraser in the top right corner.
void drawEraseBadge(QPainter& p)
{
    QPainterPath r;
    r.addRect(QRectF(21, 1, 10, 6));
    outlined(p, r, QColor(240, 130, 160));
}

// The row 2..4 as a digit in the lower right corner.
void drawRowBadge(QPainter& p, int row)
{
    QPainterPath box;
    box.addRect(QRectF(22, 21, 9, 10));
    outlined(p, box, Qt::white);
    QFont f;
    f.setPixelSize(9);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRectF(22, 21, 9, 10), Qt::AlignCenter, QString::number(row + 1));
}

QPoint hotSpot(Tool t)
{
    switch (t) {
    case Tool::Line: return {7, 7};
    case Tool::Selection: return {15, 15};
    case Tool::Stamp: return {16, 29};
    case Tool::Zoom: return {12, 12};
    case Tool::PaintBucket: return {3, 29};
    default: return {2, 30};
    }
}

QCursor drawn(Tool t, CursorVariant v, qreal dpr)
{
    QPixmap pix(QSize(kSize, kSize) * dpr);
    pix.setDevicePixelRatio(dpr);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    switch (t) {
    case Tool::Pencil: drawPencil(p); break;
    case Tool::Line: drawLine(p); break;
    case Tool::PickupColor: drawPickup(p); break;
    case Tool::PaintBucket: drawBucket(p); break;
    case Tool::PaintBrush: drawBrush(p); break;
    case Tool::Selection: drawSelection(p); break;
    case Tool::Stamp: drawStamp(p); break;
    default: drawZoom(p); break;
    }
    if (v.erase) drawEraseBadge(p);
    if (v.row > 0) drawRowBadge(p, v.row);
    p.end();
    const QPoint hot = hotSpot(t);
    return QCursor(pix, hot.x(), hot.y());
}

} // namespace

QCursor ToolCursor(Tool t, CursorVariant v, qreal dpr)
{
    if (t == Tool::Move || t == Tool::WarpInterlace || t == Tool::WeftInterlace) return QCursor(Qt::OpenHandCursor);
    // Only the drawing tools show the erase and row variants.
    const bool variants = t == Tool::Pencil || t == Tool::Line || t == Tool::PaintBucket || t == Tool::PaintBrush;
    if (!variants) v = {};
    static std::map<std::tuple<int, bool, int, qreal>, QCursor> made;
    const auto key = std::make_tuple(int(t), v.erase, v.row, dpr);
    auto it = made.find(key);
    if (it == made.end()) it = made.emplace(key, drawn(t, v, dpr)).first;
    return it->second;
}

bool PaneTakesTool(PaneKind pane, Tool t, bool liftplan)
{
    if (pane == PaneKind::Tieup && liftplan) return t == Tool::Zoom;
    const bool threads = pane == PaneKind::Threading || pane == PaneKind::Treadling;
    switch (t) {
    case Tool::Pencil:
    case Tool::Selection:
    case Tool::Zoom: return true;
    case Tool::Line:
    case Tool::Move: return pane != PaneKind::Drawdown;
    case Tool::WarpInterlace:
    case Tool::WeftInterlace: return pane == PaneKind::Drawdown;
    default: return threads;
    }
}

void UpdateToolCursor(CGridView* pane, Qt::KeyboardModifiers mods, int button)
{
    const Tool t = CToolState::instance().tool();
    const qreal dpr = pane->devicePixelRatioF();
    if (!PaneTakesTool(pane->paneKind(), t, pane->document()->isLiftplan())) {
        pane->viewport()->setCursor(ToolCursor(Tool::Stamp, {}, dpr));
        return;
    }
    const bool shift = mods & Qt::ShiftModifier;
    const bool rowShift = (mods & Qt::ControlModifier) && (mods & Qt::AltModifier);
    CursorVariant v;
    v.row = RowForModifiers(mods, t == Tool::Line);
    if (t == Tool::Pencil) v.erase = (button == 2) != (shift && !rowShift);
    else if (t == Tool::Line) v.erase = shift;
    else v.erase = button == 2;
    pane->viewport()->setCursor(ToolCursor(t, v, dpr));
}

void UpdateToolCursor(CGridView* pane)
{
    UpdateToolCursor(pane, QGuiApplication::keyboardModifiers());
}

} // namespace qb
