#pragma once

#include <string>
#include <vector>

namespace qb {

class CQuillabyDoc;

// Heddles each shaft needs: element s - 1 counts the ends on shaft s over
// every warp row in use, for shafts 1 .. the draft's shaft count.
std::vector<int> HeddleCounts(const CQuillabyDoc& doc);

// The text of the "Heddle Counts" window: one line "%d:\t%6d" per shaft.
std::string HeddleCountText(const CQuillabyDoc& doc);

} // namespace qb
