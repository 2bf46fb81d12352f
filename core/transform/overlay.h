#pragma once

#include "core/transform/command.h"

#include <vector>

namespace qb {

class CQuillabyDoc;

// "Overla&y...": each pegplan in turn is ORed into the treadling over the
// picks both have, and its picks beyond the treadling's end are appended
// (treadles beyond the draft's count dropped). Multiple Treadles is switched
// on, but only once there is something to overlay: with no pegplan or with
// several wefts nothing changes at all.
CommandResult OverlayPegplan(Edit e, CQuillabyDoc& doc, const std::vector<const CQuillabyDoc*>& pegplans,
                             IPrompter& prompter);

// Treadling "Append...": the other draft's first weft (in the draft's form)
// after the last pick, with its colors looked up in this palette and added
// when missing. Only with one weft; refused with a message when the picks
// would pass 32768 or the colors do not fit the palette.
CommandResult AppendTreadling(Edit e, CQuillabyDoc& doc, const CQuillabyDoc& other, IPrompter& prompter);

} // namespace qb
