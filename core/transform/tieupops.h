#pragma once

#include "core/transform/command.h"

namespace qb {

class CQuillabyDoc;

// Tieup "&Direct" (treadle i ties shaft i+1), "In&vert" (complement within
// the shafts) and "&Clear". Recorded column by column.
CommandResult DirectTieup(Edit e, CQuillabyDoc& doc);
CommandResult InvertTieup(Edit e, CQuillabyDoc& doc);
CommandResult ClearTieup(Edit e, CQuillabyDoc& doc);

// "Convert to &Liftplan": every pick becomes the shafts it lifts, the tieup
// becomes direct and square; one snapshot step. With several wefts and a
// tieup that is not direct and square nothing happens. May ask the
// treadling-notation question first.
CommandResult ConvertToLiftplan(Edit e, CQuillabyDoc& doc, IPrompter& prompter);

// "Convert to &Tieup": one treadle per distinct lift, in order of first use,
// shared by every weft row. Beyond 128 distinct lifts it asks "Not enough
// treadles ..."; No leaves the draft and its history exactly as they were.
CommandResult ConvertToTieup(Edit e, CQuillabyDoc& doc, IPrompter& prompter);

// "&Multiple Treadles": switching on may ask the notation question; switching
// off asks "Okay to convert to tieup format ..." and converts.
CommandResult SetMultipleTreadles(Edit e, CQuillabyDoc& doc, bool on, IPrompter& prompter);

// Whether treadle i ties exactly shaft i+1 for every treadle, with as many
// treadles as shafts.
bool IsDirectSquare(const CQuillabyDoc& doc);

} // namespace qb
