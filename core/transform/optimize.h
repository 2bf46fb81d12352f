#pragma once

#include "core/transform/command.h"

namespace qb {

class CQuillabyDoc;

// Threading "Optimi&ze": clears the tieup of unused treadles, puts the ends of
// shafts with identical tieup rows on the first of them, and moves unused
// shafts (their rows cleared) to the top. Treadling "Optimi&ze" is the twin.
// The shaft and treadle counts stay; the cloth is unchanged. Refused in
// liftplan form, where shaft rows are not in the tieup.
CommandResult Optimize(Edit e, CQuillabyDoc& doc, Side side, IPrompter& prompter);

// "Optimi&ze Draft": a new draft reduced to the shafts and treadles it needs,
// with the source's tieup carried over (so the cloth is the same) and the
// source's form (liftplan or tieup).
NewDraftResult OptimizeDraft(const CQuillabyDoc& doc, IPrompter& prompter);

// The steps of Optimize on their own, no questions, no undo; fabric analysis
// uses them too.
void ClearUnusedTreadles(CQuillabyDoc& doc);
void ClearUnusedShaftRows(CQuillabyDoc& doc);
void MergeDuplicateShafts(CQuillabyDoc& doc);
void MergeDuplicateTreadles(CQuillabyDoc& doc);
void MoveUnusedShaftsUp(CQuillabyDoc& doc);
void MoveUnusedTreadlesRight(CQuillabyDoc& doc);

} // namespace qb
