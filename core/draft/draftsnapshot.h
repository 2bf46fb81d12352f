#pragma once

#include "colorpalette.h"
#include "limits.h"
#include "threading.h"
#include "tieup.h"
#include "treadling.h"

#include <array>
#include <memory>
#include <vector>

namespace qb {

class CQuillabyDoc;

// The structure of a draft at one moment: its rows, tieup, loom size, forms,
// palette and dobby markers. Whole-draft commands that replace sequences,
// change the loom size or switch forms record one of these before and one
// after, because the cell requests cannot express such a change and a big
// draft would overflow a group of cell records.
struct DraftSnapshot {
    std::array<std::unique_ptr<Threading>, kMaxRows> threading;
    std::array<std::unique_ptr<Treadling>, kMaxRows> treadling;
    std::unique_ptr<Tieup> tieup;
    ColorPalette palette;
    std::vector<int> markers;
    int shafts = 0;
    int treadles = 0;
    bool liftplan = false;
    bool risingShed = true;
    int warps = 1;
    int wefts = 1;
    int correlationSide = 0;
    bool correlationOn = false;

    static std::shared_ptr<const DraftSnapshot> Take(const CQuillabyDoc& doc);
    // Puts the draft back as it was, then marks the document modified and
    // tells every view.
    void Restore(CQuillabyDoc& doc) const;
};

} // namespace qb
