#pragma once

#include "core/transform/command.h"

#include <string>

namespace qb {

class CQuillabyDoc;

// "&Block Substitution..." before the structure is chosen: a profile with
// multiple treadles is refused (told through the prompter).
bool ProfileAcceptsSubstitution(const CQuillabyDoc& profile, IPrompter& prompter);

// "&Block Substitution...": a new draft in tieup form in which every end of
// the profile becomes the structure's threading unit for its block, every
// pick the treadling unit for its treadle, and every profile treadle the
// tieup key of the blocks it ties. The profile is not changed. Every failure
// is told under "Unable to substitute this weave structure." and gives no
// draft; too many shafts or treadles are told and cut to the limit.
// `structurePath` names the structure file in messages.
NewDraftResult SubstituteBlocks(const CQuillabyDoc& profile, const CQuillabyDoc& structure,
                                const std::string& structurePath, IPrompter& prompter);

} // namespace qb
