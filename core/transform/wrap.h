#pragma once

#include "command.h"

namespace qb {

class CQuillabyDoc;
class IUndoTarget;

// Threading "Wrap U&p" (up = true: the top shaft wraps to shaft 1, all others
// move up one) and "Wrap Do&wn". Only the threadings change.
CommandResult WrapShafts(CQuillabyDoc& doc, bool up, IPrompter& prompter, IUndoTarget* pane);
// Treadling "Wrap &>>" (right = true: the last treadle wraps to treadle 1)
// and "Wrap &<<". Only the treadlings change.
CommandResult WrapTreadles(CQuillabyDoc& doc, bool right, IPrompter& prompter, IUndoTarget* pane);
// Threading "Wrap &>>" (toEnd = true: the first end moves to the last place)
// and "Wrap &<<" (the last end moves to the first place).
CommandResult WrapEnds(CQuillabyDoc& doc, bool toEnd, IUndoTarget* pane);
// Treadling "Wrap U&p" (up = true: the last pick moves to the first place)
// and "Wrap Do&wn" (the first pick moves to the last place).
CommandResult WrapPicks(CQuillabyDoc& doc, bool up, IUndoTarget* pane);

// Moves shaft position a to b (0-based, clamped), rotating those between, in
// the threadings and the tieup alike so the cloth stays the same (in liftplan
// form the liftplan rows follow instead of the tieup).
CommandResult MoveShaft(CQuillabyDoc& doc, int a, int b, IUndoTarget* pane);
// Moves treadle a to b (0-based, clamped) in the treadlings and the tieup. In
// liftplan form the treadles are the shafts, so this moves a shaft.
CommandResult MoveTreadle(CQuillabyDoc& doc, int a, int b, IUndoTarget* pane);

} // namespace qb
