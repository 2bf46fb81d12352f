#include "printing/glyphs.h"

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <map>

namespace qb {

QString glyphText(GlyphStyle style, int value, int symbol)
{
    switch (style) {
    case GlyphStyle::Letter:
        if (value >= 1 && value <= 26) return QString(QChar('A' + value - 1));
        if (value >= 27 && value <= 52) return QString(QChar('a' + value - 27));
        break; // no letter beyond 52: show the number instead
    case GlyphStyle::UserSymbol:
        if (symbol > 32 && symbol < 256) return QString(QChar(symbol));
        break;
    case GlyphStyle::Number: break;
    default: return {};
    }
    return value > 0 ? QString::number(value % 10) : QString();
}

GlyphStyle styleForNotation(int notation, bool risingShed)
{
    switch (notation) {
    case kNumeric: return GlyphStyle::Number;
    case kSymbolic: return risingShed ? GlyphStyle::Dot : GlyphStyle::Cross;
    case kAlpha: return GlyphStyle::Letter;
    case kUserDefined: return GlyphStyle::UserSymbol;
    default: return GlyphStyle::Plain;
    }
}

GlyphStyle effectiveStyle(GlyphStyle requested, int cellWidth, int cellHeight, int markSize, int measuredTextHeight,
                          int innerCell)
{
    if (cellWidth < markSize || cellHeight < markSize) return GlyphStyle::Plain;
    const bool text =
        requested == GlyphStyle::Number || requested == GlyphStyle::Letter || requested == GlyphStyle::UserSymbol;
    if (text && measuredTextHeight < innerCell) return GlyphStyle::Plain;
    return requested;
}

int cellFontPixelSize(int w, int h)
{
    return std::max(1, std::min(w, h) + 1);
}

int measuredDigitsHeight(int pixelSize)
{
    static std::map<int, int> cache;
    auto it = cache.find(pixelSize);
    if (it != cache.end()) return it->second;
    QFont f("Arial");
    f.setPixelSize(pixelSize);
    const int h = QFontMetrics(f).boundingRect(QStringLiteral("0123")).height();
    cache.emplace(pixelSize, h);
    return h;
}

namespace {

// A centred square of side floor(2/3 * min), or the whole cell when the cell
// is too oblong for the symbol to read.
bool symbolSquare(const QRect& r, int extra, QRectF& out)
{
    const int w = r.width(), h = r.height();
    if (h * 0.667 > w || h < w * 0.667) return false;
    const int side = int(std::floor(2.0 / 3.0 * std::min(w, h))) + extra;
    out = QRectF(r.x() + (w - side) / 2.0, r.y() + (h - side) / 2.0, side, side);
    return true;
}

} // namespace

void paintCross(QPainter& p, const QRect& r)
{
    QRectF sq;
    if (!symbolSquare(r, 0, sq)) {
        p.fillRect(r, Qt::black);
        return;
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::black, std::max(2.0, sq.width() / 6.0), Qt::SolidLine, Qt::FlatCap));
    p.drawLine(sq.topLeft(), sq.bottomRight());
    p.drawLine(sq.topRight(), sq.bottomLeft());
    p.restore();
}

void paintDot(QPainter& p, const QRect& r)
{
    QRectF sq;
    if (!symbolSquare(r, 1, sq)) {
        p.fillRect(r, Qt::black);
        return;
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(sq);
    p.restore();
}

void paintLayerSymbol(QPainter& p, const QRect& rc, int warpIndex)
{
    const double rad = std::floor(std::min(rc.width(), rc.height()) * 0.667) / 2.0;
    const QPointF c(rc.x() + rc.width() / 2.0, rc.y() + rc.height() / 2.0);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::black, std::max(2.0, std::floor(2 * rad / 6)), Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    switch (warpIndex) {
    case 0: p.drawEllipse(c, rad - 1, rad - 1); break;
    case 1:
        p.drawLine(QPointF(c.x() - rad, c.y()), QPointF(c.x() + rad, c.y()));
        p.drawLine(QPointF(c.x(), c.y() - rad), QPointF(c.x(), c.y() + rad));
        break;
    case 2: {
        QPolygonF tri;
        for (double deg : {90.0, 210.0, 330.0}) {
            const double a = deg * M_PI / 180.0;
            tri << QPointF(c.x() + rad * std::cos(a), c.y() - rad * std::sin(a));
        }
        p.drawPolygon(tri);
        break;
    }
    default: // a fourth warp: a filled square, so its threading stays visible
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawRect(QRectF(c.x() - rad * 0.7, c.y() - rad * 0.7, rad * 1.4, rad * 1.4));
        break;
    }
    p.restore();
}

void paintCellText(QPainter& p, const QRect& r, const QString& text)
{
    if (text.isEmpty()) return;
    // Centre the ink of the glyph, not its line box: digits have no descent,
    // so centring the line would push them towards the cell's top.
    static QHash<QPair<int, QString>, QRect> inks;
    const QFont& f = p.font();
    const auto key = qMakePair(f.pixelSize(), text);
    auto it = inks.find(key);
    if (it == inks.end()) it = inks.insert(key, QFontMetrics(f).tightBoundingRect(text));
    const QRect ink = *it;
    const int x = r.x() + (r.width() - ink.width()) / 2 - ink.x();
    const int y = r.y() + (r.height() - ink.height() + 1) / 2 - ink.y();
    p.drawText(x, y, text);
}

} // namespace qb
