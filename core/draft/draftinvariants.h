#pragma once

#include <string>

namespace qb {

class CQuillabyDoc;

// What is inconsistent in a draft, one line per fault, or empty when nothing
// is: row counts and presence, equal row lengths, values within the loom's
// limits, multiple treadles, labels, tieup size, palette and color indexes.
std::string BrokenInvariant(const CQuillabyDoc& doc);

} // namespace qb
