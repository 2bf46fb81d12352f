#pragma once

#include "core/yarn/plancalc.h"

#include <QWidget>

class QPainter;

namespace qb {

// The finished pieces as a grid of rectangles, to scale, as the Finished
// Dimensions page and the plan window show them.
class CPiecesPicture : public QWidget {
    Q_OBJECT
public:
    explicit CPiecesPicture(QWidget* parent = nullptr);
    void setPlan(const PlanInputs& in);
    QSize sizeHint() const override { return {160, 160}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    PlanInputs m_in;
};

// Draws the pieces into `area` of any painter (screen, printer, image).
void PaintPieces(QPainter& p, const QRectF& area, const PlanInputs& in, const QColor& background);

} // namespace qb
