#pragma once

#include "core/transform/command.h"

namespace qb {

class CQuillabyDoc;

// "Fabric &Analysis": the user draws the cloth in the drawdown and the draft
// follows. Needs tieup form, one pick per treadle, one warp and one weft.
CommandResult CanAnalyzeFabric(const CQuillabyDoc& doc, IPrompter& prompter);

// Entering the mode: the analysis works in rising shed. A sinking-shed draft
// is switched with its tieup inverted, so the cloth shown is the same.
// Returns the shed to restore on leaving.
bool FabricAnalysisEnter(Edit e, CQuillabyDoc& doc);

enum class CellOutcome { Changed, Unchanged, NoRoom, NotAvailable };

// Sets (lifted = true) or clears one drawdown cell: end `end` gets a new
// shaft and pick `pick` a new treadle so that exactly that cell changes, then
// the draft is reduced to the shafts and treadles it needs. One undo step.
// NoRoom: 63 shafts or 127 treadles in use; the caller leaves the mode.
// NotAvailable: the draft does not meet CanAnalyzeFabric; nothing changes.
CellOutcome FabricAnalysisCell(Edit e, CQuillabyDoc& doc, int end, int pick, bool lifted);

// Leaving the mode: restores the shed (inverting the tieup back), cuts the
// counts to what is used, puts unthreaded ends on one extra shaft and empty
// picks on one extra treadle, then arranges both sides sequentially. Not
// recorded for undo.
void FabricAnalysisLeave(Edit e, CQuillabyDoc& doc, bool risingShed);

} // namespace qb
