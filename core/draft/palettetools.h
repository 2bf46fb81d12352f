#pragma once

#include "colorpalette.h"

#include <vector>

namespace qb {

class CQuillabyDoc;
class Tding;

// Whether palette index i is in use: by a thread of any warp or weft row, a
// row's default or alternate color, or one of the `alsoUsed` indexes.
std::vector<bool> UsedColors(const CQuillabyDoc& doc, const std::vector<int>& alsoUsed = {});

// "&Clear Palette": a palette of only the colors in use, black and white
// first when there is room for them, every index of the draft remapped into
// it (threads, rows' default and alternate colors), names kept with their
// colors, left = 0 and right = 1. Cannot be undone, so the undo history is
// emptied (its records hold the old indexes).
void ClearPalette(CQuillabyDoc& doc);

// "Choose New": the index the chosen color gets. An equal color is reused;
// otherwise it is added, or with a full palette it overwrites the first
// index from 2 up that nothing uses (`keep`: further indexes that must stay,
// such as the other button's color). -1 when every index is in use.
int PlaceNewColor(CQuillabyDoc& doc, COLORREF c, const std::vector<int>& keep = {});

// Whether every one of `colors` is in the palette or can still be added to
// it: commands check this before changing anything, so that a full palette
// never hands out its failure index 255 as a thread color.
bool ColorsFit(const ColorPalette& palette, const std::vector<COLORREF>& colors);

// A color order as the color order windows show it: runs of one color with
// their thread counts, and each color's total in order of first use.
struct ColorRun {
    int color = 0;
    int count = 0;
    bool operator==(const ColorRun&) const = default;
};
std::vector<ColorRun> ColorRuns(const Tding& seq, int count);
std::vector<ColorRun> ColorTotals(const Tding& seq, int count);

} // namespace qb

namespace qb {

// Color of thread i under a fill pattern (0 solid, 1 alternating, 2 double
// alternating) given the two colors in the order the fill receives them:
// the first thread gets `second`, so a fill passed (right, left) starts with
// the left color.
inline int FillPatternColor(int i, int pattern, int first, int second)
{
    if (pattern == 1) return i % 2 == 0 ? second : first;
    if (pattern == 2) return (i / 2) % 2 == 0 ? second : first;
    return second;
}

} // namespace qb
