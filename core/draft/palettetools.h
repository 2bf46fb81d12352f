#pragma once

#include "core/draft/colorpalette.h"
#include "core/draft/edit.h"
#include "core/draft/side.h"

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
// colors, left = 0 and right = 1. One undo step.
void ClearPalette(Edit e, CQuillabyDoc& doc);

// "Choose New": the index the chosen color gets. An equal color is reused;
// otherwise it is added, or with a full palette it overwrites the first
// index from 2 up that nothing uses (`keep`: further indexes that must stay,
// such as the other button's color). -1 when every index is in use. A
// changed palette is one undo step.
int PlaceNewColor(Edit e, CQuillabyDoc& doc, COLORREF c, const std::vector<int>& keep = {});

// A palette entry's name (cut to the longest a name may be); one undo step.
bool RenameColor(Edit e, CQuillabyDoc& doc, int index, const std::string& name);

// "Fill &Warp", "Fill We&ft" and the paint bucket: every thread of the row
// recolored. Pattern 0 (solid) gives every thread `first`; 1 alternates
// thread by thread (threads 1, 3, 5, ... `second`), 2 in pairs (threads 1-2,
// 5-6, ... `first`, 3-4, 7-8, ... `second`). The row keeps the pattern for
// threads added later. One undo step; false when nothing changed.
bool FillThreadColors(Edit e, CQuillabyDoc& doc, Side side, int row, int pattern, int first, int second);

// "R&eplace...": every thread of the chosen sides colored `from` gets `to`,
// and so do the rows' default and alternate colors, so that threads added
// later follow. One undo step; false when nothing used `from`.
bool ReplaceThreadColor(Edit e, CQuillabyDoc& doc, int from, int to, bool warp, bool weft);

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
