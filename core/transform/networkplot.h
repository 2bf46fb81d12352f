#pragma once

#include "core/transform/command.h"
#include "core/transform/networksettings.h"

#include <string>

namespace qb {

class CQuillabyDoc;

// The Yes/No warning Plot onto Network asks about the threading before it
// plots, or null when none applies: the line is taller than the network, or
// the network's height above the tiedowns is not whole initials (turtle-
// shaped lines that fit under the last band pass).
const char* PlotThreadingWarning(const CQuillabyDoc& line, const CQuillabyDoc& structure, int networkHeight);

// Whether a pattern line's first and last ends lie less than two shafts apart.
bool IsTurtleShaped(const CQuillabyDoc& line);

// "Plot onto &Network...": a new draft in liftplan form, NH shafts, whose
// threading plots the pattern line onto bands of block 1's threading unit and
// whose liftplan lays a ribbon of block 1's pattern lifts along the line's
// treadling. A structure's lifts are shaft sets, so they are split by its
// shaft layout: tiedown shafts, then the pattern shafts of block 1 (the
// ribbon) and of block 2 (the background). Warnings are asked; No gives no
// draft. A structure without ends, pattern shafts, picks or pattern treadles
// per block gives no draft silently. `structurePath` names it in messages.
NewDraftResult PlotOntoNetwork(const CQuillabyDoc& line, const CQuillabyDoc& structure,
                               const std::string& structurePath, const NetworkSettings& s, IPrompter& prompter);

} // namespace qb
