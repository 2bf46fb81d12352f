#pragma once

#include "core/transform/command.h"

namespace qb {

class CQuillabyDoc;
class Tding;

// The shortest length p that divides the sequence into identical runs (the
// whole length when there is none). Threads compare by shaft or treadle set.
int FindRepeatLength(const Tding& t);

// Every row of the side repeated `times` (2..100) times, every attribute
// copied. Refused with a message when the result would pass 32768 threads.
CommandResult RepeatThreads(Edit e, CQuillabyDoc& doc, Side side, int times, IPrompter& prompter);
// Every row of the side cut to one repeat: the shortest length that repeats
// in all rows at once.
CommandResult SingleRepeat(Edit e, CQuillabyDoc& doc, Side side);
// Both sides cut to one repeat ("&Single Repeat" of the draft frame).
CommandResult SingleRepeatDraft(Edit e, CQuillabyDoc& doc);
// Both sides repeated three times ("SuperSi&ze It").
CommandResult SuperSize(Edit e, CQuillabyDoc& doc, IPrompter& prompter);
// Point reflection about the last thread: n threads become 2n - 1.
CommandResult ReflectThreads(Edit e, CQuillabyDoc& doc, Side side, IPrompter& prompter);
// The order of the threads reversed, every attribute and label included.
CommandResult ReverseThreads(Edit e, CQuillabyDoc& doc, Side side);

} // namespace qb
