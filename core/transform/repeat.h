#pragma once

#include "command.h"

namespace qb {

class CQuillabyDoc;
class IUndoTarget;
class Tding;

// The shortest length p that divides the sequence into identical runs (the
// whole length when there is none). Threads compare by shaft or treadle set.
int FindRepeatLength(const Tding& t);

// Every row of the side repeated `times` (2..100) times, every attribute
// copied. Refused with a message when the result would pass 32768 threads.
CommandResult RepeatThreads(CQuillabyDoc& doc, Side side, int times, IPrompter& prompter, IUndoTarget* pane);
// Every row of the side cut to one repeat: the shortest length that repeats
// in all rows at once.
CommandResult SingleRepeat(CQuillabyDoc& doc, Side side, IUndoTarget* pane);
// Both sides cut to one repeat ("&Single Repeat" of the draft frame).
CommandResult SingleRepeatDraft(CQuillabyDoc& doc, IUndoTarget* pane);
// Both sides repeated three times ("SuperSi&ze It").
CommandResult SuperSize(CQuillabyDoc& doc, IPrompter& prompter, IUndoTarget* pane);
// Point reflection about the last thread: n threads become 2n - 1.
CommandResult ReflectThreads(CQuillabyDoc& doc, Side side, IPrompter& prompter, IUndoTarget* pane);
// The order of the threads reversed, every attribute and label included.
CommandResult ReverseThreads(CQuillabyDoc& doc, Side side, IUndoTarget* pane);

} // namespace qb
