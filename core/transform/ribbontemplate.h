#pragma once

#include "core/transform/command.h"

namespace qb {

class CQuillabyDoc;

// "Ri&bbon Template...": every pick that presses a treadle widens into
// `width` consecutive treadles from its first one, wrapping past the last
// treadle; multiple treadles are switched on. Asks the color-bar question
// for the weft and, under user-defined treadling notation, the notation
// question first. One undo step through `e`.
CommandResult RibbonTemplate(Edit e, CQuillabyDoc& doc, int width, IPrompter& prompter);

} // namespace qb
