#pragma once

#include "core/draft/edit.h"

#include <string>

namespace qb {

class CQuillabyDoc;
class ColorPalette;
class IPrompter;

enum class ImportResult {
    Refused,  // unreadable file or no WIF version; the user was told
    NoChange, // the file has nothing to take (no color table)
    Done,
};

// "&Color Palette...": the other draft's palette replaces this one. Every
// thread keeps its color value: a value missing from the new palette is
// appended to it, and only when the palette is full does the thread keep its
// old index. One undo step.
ImportResult ImportPalette(Edit e, CQuillabyDoc& doc, const std::string& path, IPrompter& messages);

// The palette change of "&Color Palette..." without the undo bookkeeping:
// `fresh` replaces the palette, every thread keeping its color value (see
// above), and the mouse buttons take the colors of end 1 and pick 1.
void AdoptPalette(CQuillabyDoc& doc, const ColorPalette& palette);

// "&Import Project Plan...": units, sett and the project-plan and notation
// values of the other draft, read as opening it would. Nothing else of the
// other draft is taken. One undo step.
ImportResult ImportProjectPlan(Edit e, CQuillabyDoc& doc, const std::string& path, IPrompter& messages);

} // namespace qb
