#pragma once

// The command table's entries by family, each in its own file; the table
// puts them together.
#include "core/transform/commandtable.h"

#include <vector>

namespace qb {

std::vector<CommandEntry> SequenceCommandEntries(); // Threading and Treadling sequences
std::vector<CommandEntry> TieupCommandEntries();    // tieup, treadles, liftplan and the draft's form
std::vector<CommandEntry> DrawdownCommandEntries(); // Drawdown and Tools
std::vector<CommandEntry> CombineCommandEntries();  // with the draft itself or other files
std::vector<CommandEntry> ProfileCommandEntries();  // profile and network drafting

} // namespace qb
