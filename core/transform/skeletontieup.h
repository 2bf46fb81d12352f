#pragma once

#include "command.h"
#include "draft/tieup.h"

#include <optional>

namespace qb {

class CQuillabyDoc;

// The skeleton tieup of a weave structure: its tiedown treadles unchanged,
// then one treadle per tiedown shaft holding only the tiedown shafts, then
// per block PT / TS treadles holding only the pattern shafts. Needs at least
// one tiedown shaft and PT divisible by TS; otherwise the prompter is told
// why and nothing is built.
std::optional<Tieup> SkeletonTieup(const CQuillabyDoc& structure, IPrompter& prompter);

} // namespace qb
