#pragma once

#include "core/draft/threading.h"
#include "core/draft/treadling.h"

#include <memory>

namespace qb {

class CQuillabyDoc;

// The structure's unit for block k (1-based) as a new sequence: E ends
// (P picks) of its first threading (treadling). A block beyond the
// structure's B blocks reuses block ((k-1) mod B) + 1 with its pattern
// shafts (treadles) raised by one block's worth for every B blocks passed;
// tiedown shafts (treadles) stay. Each thread keeps its thick flag and, when
// asked, its color. Null when the structure holds no such unit (no ends per
// block, or a threading too short for it).
std::unique_ptr<Threading> ThreadingUnitForBlock(const CQuillabyDoc& structure, int k, bool withColors = true);
std::unique_ptr<Treadling> TreadlingUnitForBlock(const CQuillabyDoc& structure, int k, bool withColors = true);

// The structure block whose unit block k reuses, and how many whole rounds
// of B blocks lie below it.
struct UnitSource {
    int block = 0; // 1-based
    int rounds = 0;
};
UnitSource UnitSourceFor(int k, int numBlocks);

// Treadles below this number are tiedown treadles in a structure's treadling
// (TT, plus TS with a skeleton tieup).
int TiedownTreadleCount(const CQuillabyDoc& structure);

} // namespace qb
