#pragma once

#include "core/transform/command.h"

namespace qb {

class CQuillabyDoc;

// Threading "Wrap U&p" (up = true: the top shaft wraps to shaft 1, all others
// move up one) and "Wrap Do&wn". Only the threadings change.
CommandResult WrapShafts(Edit e, CQuillabyDoc& doc, bool up, IPrompter& prompter);
// Treadling "Wrap &>>" (right = true: the last treadle wraps to treadle 1)
// and "Wrap &<<". Only the treadlings change.
CommandResult WrapTreadles(Edit e, CQuillabyDoc& doc, bool right, IPrompter& prompter);
// Threading "Wrap &>>" (toEnd = true: the first end moves to the last place)
// and "Wrap &<<" (the last end moves to the first place).
CommandResult WrapEnds(Edit e, CQuillabyDoc& doc, bool toEnd);
// Treadling "Wrap U&p" (up = true: the last pick moves to the first place)
// and "Wrap Do&wn" (the first pick moves to the last place).
CommandResult WrapPicks(Edit e, CQuillabyDoc& doc, bool up);

// Moves shaft position a to b (0-based, clamped), rotating those between, in
// the threadings and the tieup alike so the cloth stays the same (in liftplan
// form the liftplan rows follow instead of the tieup).
CommandResult MoveShaft(Edit e, CQuillabyDoc& doc, int a, int b);
// Moves treadle a to b (0-based, clamped) in the treadlings and the tieup. In
// liftplan form the treadles are the shafts, so this moves a shaft.
CommandResult MoveTreadle(Edit e, CQuillabyDoc& doc, int a, int b);

} // namespace qb
