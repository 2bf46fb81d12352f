#pragma once

#include "core/transform/command.h"

namespace qb {

class CQuillabyDoc;

inline constexpr int kMinExpandFactor = 2;
inline constexpr int kMaxExpandFactor = 20;

// "E&xpand...": every thread of every row of the side repeated `factor`
// times in place, with its value, color, thick flag and symbol; labels widen
// with their threads. Refused with a message when the result would pass
// 32768 threads.
CommandResult ExpandThreads(Edit e, CQuillabyDoc& doc, Side side, int factor, IPrompter& prompter);

} // namespace qb
