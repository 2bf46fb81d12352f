#pragma once

#include "core/yarn/plancalc.h"

#include <vector>

namespace qb {

// One finished piece in the pieces picture, in pixels of the picture.
struct PieceRect {
    double x = 0, y = 0, width = 0, height = 0;
    bool hatched = false; // big enough for the diagonal hatch
};

// The smallest piece, in pixels each way, that is drawn hatched.
inline constexpr double kHatchedPieceSize = 9.0;

// The pieces as a grid, items on weft across and items on warp down, with
// the gaps to scale, the whole scaled to fit a picture of `width` x `height`
// pixels and centred in it. Nothing to draw (empty) while the pieces have no
// size or the picture no room.
std::vector<PieceRect> PiecesPicture(const PlanInputs& in, double width, double height);

} // namespace qb
