#pragma once

#include "core/draft/colorpalette.h"
#include "core/transform/command.h"

namespace qb {

class CQuillabyDoc;

struct AddTabbyOptions {
    int groundTreadles = 2;   // "Number of treadles used for ground", 2..64
    bool addTreadles = false; // "Add treadles for tabby picks"
    COLORREF tabbyColor = 0;  // "Tabby color:"
};

// "&Add Tabby...": a tabby pick before every pick, on treadles 1..g in turn,
// in the tabby color. With addTreadles the old treadles (and their tieup)
// first move right by g, leaving g empty treadles at the left. Refused when
// the treadles would pass 128, the tabby treadles would not exist, the picks
// would pass 32768, in liftplan form, or with several wefts. Labels of the
// treadling stretch over the doubled picks.
CommandResult AddTabby(Edit e, CQuillabyDoc& doc, const AddTabbyOptions& options, IPrompter& prompter);

// The palette index the tabby color gets: its own entry, a new one, the
// first entry from index 2 on that no thread uses (overwritten), else 0.
// Sets `changed` when the palette was changed.
int TabbyColorIndex(CQuillabyDoc& doc, COLORREF color, bool& changed);

} // namespace qb
