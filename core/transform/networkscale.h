#pragma once

#include "core/transform/command.h"
#include "core/transform/networksettings.h"

#include <vector>

namespace qb {

class CQuillabyDoc;

// The two scalings of a pattern line's threading, as shaft lists (0 = not
// threaded). Vertical: onto `shafts` shafts, by telescoping (wrapping) when
// asked and the line is taller than `target`, else by digitizing (stretching
// shafts 1..e onto 1..shafts). Horizontal: compressed or stretched to
// `length` ends, the gaps of a stretch filled by straight lines.
std::vector<int> ScaleShaftsVertically(std::vector<int> shafts, int target, int shaftCount, bool telescope);
// Where each new end comes from: the source end's index, or -1 for an end
// filled in between two placed ends.
struct HorizontalScale {
    std::vector<int> shafts;
    std::vector<int> source;
};
HorizontalScale ScaleShaftsHorizontally(const std::vector<int>& shafts, int length);

// "Scale Pattern &Line...": a new draft of NH - B shafts (less the initial's
// height plus one with the shaft rule and digitizing) whose threading is the
// line scaled to the network and whose treadling mirrors it. Settings that
// leave no shafts are refused with a message.
NewDraftResult ScalePatternLine(const CQuillabyDoc& line, const NetworkSettings& s, IPrompter& prompter);

} // namespace qb
