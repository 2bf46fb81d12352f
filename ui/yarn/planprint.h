#pragma once

#include "core/yarn/plancalc.h"
#include "core/yarn/plantext.h"

#include <QImage>

#include <functional>
#include <vector>

class QPainter;
class QPrinter;
class QRectF;

namespace qb {

// The printed plan: its entries top to bottom, tabbed text in two columns,
// rules between the blocks and the pieces picture at the right edge of its
// block.
struct PlanPage {
    std::vector<PlanLine> layout;
    PlanInputs pieces; // for the picture
};

// Draws the plan into `area`; `newPage` is called when an entry would run
// off its bottom (none: it runs on). Returns the height used on the last
// page.
double PaintPlan(QPainter& p, const QRectF& area, const PlanPage& plan, const std::function<void()>& newPage = {});

// The whole plan on the printer, one page unless the texts are long.
void PrintPlan(QPrinter& printer, const PlanPage& plan);

// The printed layout as a picture at screen resolution, for the clipboard;
// a null image when it cannot be made.
QImage PlanPicture(const PlanPage& plan);

} // namespace qb
