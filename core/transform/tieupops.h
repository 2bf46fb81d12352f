#pragma once

#include "command.h"

namespace qb {

class CQuillabyDoc;
class IUndoTarget;

// Tieup "&Direct" (treadle i ties shaft i+1), "In&vert" (complement within
// the shafts) and "&Clear". Recorded column by column.
CommandResult DirectTieup(CQuillabyDoc& doc, IUndoTarget* pane);
CommandResult InvertTieup(CQuillabyDoc& doc, IUndoTarget* pane);
CommandResult ClearTieup(CQuillabyDoc& doc, IUndoTarget* pane);

// "Convert to &Liftplan": every pick becomes the shafts it lifts, the tieup
// becomes direct and square. Cannot be undone: the history is cleared. With
// several wefts and a tieup that is not direct and square nothing happens.
// May ask the treadling-notation question first.
CommandResult ConvertToLiftplan(CQuillabyDoc& doc, IPrompter& prompter);

// "Convert to &Tieup": one treadle per distinct lift, in order of first use,
// shared by every weft row. Beyond 128 distinct lifts it asks "Not enough
// treadles ..."; No leaves the draft and its history exactly as they were.
// Yes (or no overflow) clears the history.
CommandResult ConvertToTieup(CQuillabyDoc& doc, IPrompter& prompter);

// "&Multiple Treadles": switching on may ask the notation question; switching
// off asks "Okay to convert to tieup format ..." and converts.
CommandResult SetMultipleTreadles(CQuillabyDoc& doc, bool on, IPrompter& prompter);

// Whether treadle i ties exactly shaft i+1 for every treadle, with as many
// treadles as shafts.
bool IsDirectSquare(const CQuillabyDoc& doc);

} // namespace qb
