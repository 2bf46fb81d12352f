#pragma once

#include "draft/edit.h"

#include <string>

namespace qb {

class CQuillabyDoc;
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

// "&Import Project Plan...": units, sett and the project-plan and notation
// values of the other draft, read as opening it would. Nothing else of the
// other draft is taken. One undo step.
ImportResult ImportProjectPlan(Edit e, CQuillabyDoc& doc, const std::string& path, IPrompter& messages);

} // namespace qb
