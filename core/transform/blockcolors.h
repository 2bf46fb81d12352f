#pragma once

#include "core/transform/blockassembly.h"
#include "core/transform/command.h"

#include <vector>

namespace qb {

class CQuillabyDoc;
struct BlockSubstitutionParams;

// Gives the substituted ends and picks their colors as the structure's Color
// page says. Every thread carries the profile thread and unit place it was
// written for, so colors land where the units did, balance shifts included.
// `profileColors` maps the profile's palette indexes to the new draft's.
// Without "Use color from design" the threads keep the structure's colors.
void ColorSubstitutedThreads(const CQuillabyDoc& profile, const CQuillabyDoc& structure,
                             const BlockSubstitutionParams& p, const std::vector<int>& profileColors,
                             std::vector<PlacedThread<int>>& ends, std::vector<PlacedThread<TreadleSet>>& picks,
                             IPrompter& prompter);

} // namespace qb
