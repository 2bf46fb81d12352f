#pragma once

#include <memory>

namespace qb {

class CQuillabyDoc;
class Treadling;

// Helpers of the commands that take picks from other drafts.

// Weft row `row` of `src` in the form of `draft`: lifted shafts when the
// draft is in liftplan form (a treadling goes through src's tieup), treadle
// sets otherwise (a liftplan's shafts taken as treadles). Colors, thick flags
// and symbols as src has them.
std::unique_ptr<Treadling> PicksInForm(const CQuillabyDoc& draft, const CQuillabyDoc& src, int row = 0);

// Raises the draft's treadle count (in liftplan form its shaft count, which
// the treadles follow) so that picks using `needed` fit.
void RaisePickLimit(CQuillabyDoc& doc, int needed);

// Switches Multiple Treadles on when some pick now has several treadles; a
// treadling without the flag would keep only one of them.
void AllowSeveralTreadles(CQuillabyDoc& doc);

} // namespace qb
