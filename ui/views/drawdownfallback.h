#pragma once

#include "graphic/drawdownimage.h"

namespace qb {

// Stand-in for RenderDrawdown until the shared renderer lands; same contract.
void RenderDrawdownFallback(const CQuillabyDoc& doc, const DrawdownRows& rows, const DrawdownStyle& style,
                            const ThreadLayout& ends, const ThreadLayout& picks, int x0, int y0, PixelBuffer out);

// Margin of the interlaced bands for a cell side, and whether interlacing is
// possible at all for a cell of w x h.
int interlaceMargin(int side, int markSize, bool correlation);
bool interlacePossible(int w, int h);

} // namespace qb
