#include "ui/yarn/planprint.h"

#include "ui/yarn/piecespicturewidget.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace qb {

namespace {

// The plan's picture on the clipboard: a letter page at 96 dots per inch.
constexpr int kPictureWidth = 816;
constexpr int kPictureMargin = 48;

struct Columns {
    double x[2];
    double captionWidth[2];
    double width[2];
    double pictureX;
};

Columns columnsFor(const QRectF& area, const PlanPage& plan, const QFontMetricsF& fm)
{
    Columns c{};
    c.x[0] = area.left();
    c.x[1] = area.left() + area.width() * 0.38;
    c.pictureX = area.left() + area.width() * 0.74;
    c.width[0] = c.x[1] - c.x[0];
    c.width[1] = c.pictureX - c.x[1];
    for (const PlanLine& l : plan.layout) {
        const auto tab = l.text.find('\t');
        if (l.kind != PlanLine::Kind::Text || tab == std::string::npos) continue;
        const int col = l.column == 1 ? 1 : 0;
        const double w = fm.horizontalAdvance(QString::fromUtf8(l.text.substr(0, tab))) + fm.averageCharWidth() * 2;
        c.captionWidth[col] = std::max(c.captionWidth[col], w);
    }
    return c;
}

} // namespace

double PaintPlan(QPainter& p, const QRectF& area, const PlanPage& plan, const std::function<void()>& newPage)
{
    p.save();
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(10);
    p.setFont(font);
    const QFontMetricsF fm(font, p.device());
    const double lineH = fm.lineSpacing();
    const Columns cols = columnsFor(area, plan, fm);
    QPen pen(Qt::black);
    pen.setWidthF(std::max(1.0, p.device()->logicalDpiY() / 96.0));
    p.setPen(pen);

    double blockTop = area.top();
    double y[2] = {blockTop, blockTop};
    bool picture = false;
    auto endBlock = [&](bool rule) {
        const double bottom = std::max(y[0], y[1]);
        if (picture && bottom > blockTop)
            PaintPieces(p, QRectF(cols.pictureX, blockTop, area.right() - cols.pictureX, bottom - blockTop),
                        plan.pieces, Qt::white);
        picture = false;
        double next = bottom;
        if (rule) {
            next += lineH * 0.5;
            p.drawLine(QPointF(area.left(), next), QPointF(area.right(), next));
            next += lineH * 0.5;
        }
        blockTop = y[0] = y[1] = next;
    };
    auto room = [&](int col) {
        if (!newPage || y[col] + lineH <= area.bottom()) return;
        p.restore();
        newPage();
        p.save();
        p.setFont(font);
        p.setPen(pen);
        picture = false;
        blockTop = y[0] = y[1] = area.top();
    };

    for (const PlanLine& l : plan.layout) {
        const int col = l.column == 1 ? 1 : 0;
        switch (l.kind) {
        case PlanLine::Kind::Text: {
            room(col);
            const double base = y[col] + fm.ascent();
            const auto tab = l.text.find('\t');
            if (tab == std::string::npos) {
                p.drawText(QPointF(cols.x[col], base), QString::fromUtf8(l.text));
            } else {
                p.drawText(QPointF(cols.x[col], base), QString::fromUtf8(l.text.substr(0, tab)));
                p.drawText(QPointF(cols.x[col] + cols.captionWidth[col], base),
                           QString::fromUtf8(l.text.substr(tab + 1)));
            }
            y[col] += lineH;
            break;
        }
        case PlanLine::Kind::ShortRule: {
            room(col);
            const double mid = y[col] + lineH * 0.5;
            const double x0 = cols.x[col] + cols.captionWidth[col];
            p.drawLine(QPointF(x0, mid), QPointF(x0 + cols.width[col] * 0.3, mid));
            y[col] += lineH;
            break;
        }
        case PlanLine::Kind::Picture: picture = true; break;
        case PlanLine::Kind::Rule: endBlock(true); break;
        }
    }
    endBlock(false);
    p.restore();
    return blockTop - area.top();
}

void PrintPlan(QPrinter& printer, const PlanPage& plan)
{
    QPainter p(&printer);
    if (!p.isActive()) return;
    const QRectF area(QPointF(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
    PaintPlan(p, area, plan, [&] { printer.newPage(); });
}

QImage PlanPicture(const PlanPage& plan)
{
    const double width = kPictureWidth - 2 * kPictureMargin;
    double height = 0;
    {
        // Measured first, so the picture is as tall as the plan.
        QImage probe(1, 1, QImage::Format_RGB32);
        QPainter p(&probe);
        height = PaintPlan(p, QRectF(kPictureMargin, kPictureMargin, width, 1e6), plan);
    }
    const int h = int(height) + 2 * kPictureMargin;
    QImage image(kPictureWidth, std::max(h, 1), QImage::Format_RGB32);
    if (image.isNull()) return image;
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    PaintPlan(p, QRectF(kPictureMargin, kPictureMargin, width, height + kPictureMargin), plan);
    return image;
}

} // namespace qb
