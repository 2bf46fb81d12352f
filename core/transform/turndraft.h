#pragma once

#include "core/transform/command.h"

namespace qb {

class CQuillabyDoc;

// "&Turn Draft": warp and weft exchanged. Cell (e, p) of the result is the
// opposite of cell (p, e) of the source. Refused with multiple treadles on or
// when more than 64 shafts would be needed; with several warps or wefts it
// asks "Cannot undo this operation ..." and clears the history on Yes.
// Otherwise one undo step.
CommandResult TurnDraft(Edit e, CQuillabyDoc& doc, IPrompter& prompter);

} // namespace qb
