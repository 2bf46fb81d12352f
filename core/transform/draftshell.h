#pragma once

#include <memory>

namespace qb {

class CQuillabyDoc;

// A copy of a draft to build a new draft in: its descriptive values (texts,
// sett, units, planner, notations) stay; its extra warps and wefts, color-bar
// binding, weave-structure values and weaving run do not. User-defined
// notation is turned off, as the new rows carry no symbols. The caller
// replaces the rows, tieup and loom size.
std::unique_ptr<CQuillabyDoc> DraftShellLike(const CQuillabyDoc& src);

} // namespace qb
