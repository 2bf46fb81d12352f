#include "core/yarn/piecespicture.h"

#include <algorithm>
#include <cmath>

namespace qb {

std::vector<PieceRect> PiecesPicture(const PlanInputs& in, double width, double height)
{
    std::vector<PieceRect> out;
    const double itemW = in.itemWidth, itemL = in.itemLength;
    if (!(itemW > 0) || !(itemL > 0) || !(width > 0) || !(height > 0)) return out;
    if (!std::isfinite(itemW) || !std::isfinite(itemL)) return out;
    const int across = std::clamp(in.itemsOnWeft, 1, kMaxItemsOnWeft);
    const int down = std::clamp(in.itemsOnWarp, 1, kMaxItemsOnWarp);
    const double gapW = std::isfinite(in.betweenItemsWeft) ? std::max(0.0, in.betweenItemsWeft) : 0.0;
    const double gapL = std::isfinite(in.betweenItemsWarp) ? std::max(0.0, in.betweenItemsWarp) : 0.0;
    const double totalW = across * itemW + (across - 1) * gapW;
    const double totalL = down * itemL + (down - 1) * gapL;
    const double scale = std::min(width / totalW, height / totalL);
    if (!(scale > 0) || !std::isfinite(scale)) return out;
    const double left = (width - totalW * scale) / 2;
    const double top = (height - totalL * scale) / 2;
    const double w = itemW * scale, h = itemL * scale;
    const bool hatched = w >= kHatchedPieceSize && h >= kHatchedPieceSize;
    out.reserve(static_cast<std::size_t>(across * down));
    for (int r = 0; r < down; ++r)
        for (int c = 0; c < across; ++c)
            out.push_back({left + c * (itemW + gapW) * scale, top + r * (itemL + gapL) * scale, w, h, hatched});
    return out;
}

} // namespace qb
