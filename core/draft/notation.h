#pragma once

namespace qb {

// How a pane shows its cells, as the draft keeps it (DisplayNotations) and
// its file stores it. Threading: plain, numeric, alpha or user-defined;
// treadling: plain, numeric or user-defined; tieup: plain, numeric or
// symbolic; drawdown: plain or interlaced.
enum Notation { kPlain = 0, kNumeric = 1, kSymbolic = 2, kAlpha = 3, kInterlaced = 4, kUserDefined = 5 };

} // namespace qb
