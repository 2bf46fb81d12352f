#pragma once

#include "core/draft/edit.h"

namespace qb {

class CQuillabyDoc;

// How a pane shows its cells, as the draft keeps it (DisplayNotations) and
// its file stores it. Threading: plain, numeric, alpha or user-defined;
// treadling: plain, numeric or user-defined; tieup: plain, numeric or
// symbolic; drawdown: plain or interlaced.
enum Notation { kPlain = 0, kNumeric = 1, kSymbolic = 2, kAlpha = 3, kInterlaced = 4, kUserDefined = 5 };

// The notation menus of the panes, each one recorded change of the draft's
// notations: choosing the notation a pane shows returns it to plain marks.
// False when nothing changed.
bool ToggleThreadingNotation(Edit e, CQuillabyDoc& doc, Notation n);
bool ToggleTreadlingNotation(Edit e, CQuillabyDoc& doc, Notation n);
bool ToggleTieupNotation(Edit e, CQuillabyDoc& doc, Notation n);
// The drawdown between interlaced and plain.
bool ToggleInterlace(Edit e, CQuillabyDoc& doc);

} // namespace qb
