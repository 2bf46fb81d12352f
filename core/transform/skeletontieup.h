#pragma once

#include "core/draft/tieup.h"
#include "core/transform/command.h"

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

namespace qb {

// The skeleton treadles to press for a pick that lifts `lift`: the tiedown
// treadles the pick already pressed (`pressed`, they keep their columns),
// then for the tiedown shafts and for the pattern shafts still to lift the
// skeleton treadle that lifts exactly them, or failing that every skeleton
// treadle lifting only some of them.
TreadleSet SkeletonPick(const Tieup& skeleton, TreadleSet pressed, TUPTYPE lift, int tiedownShafts,
                        int tiedownTreadles);

// Turns a weave structure's tieup into its skeleton tieup and rewrites every
// pick to press the skeleton treadles that lift the same shafts (multiple
// treadles switched on). Raw change, no undo step: the caller records it.
// False, with the reason told and nothing changed, when no skeleton tieup
// can be built or the draft is in liftplan form.
bool ConvertToSkeletonTieup(CQuillabyDoc& structure, IPrompter& prompter);

} // namespace qb
