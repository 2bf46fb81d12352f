#pragma once

#include "core/draft/iprompter.h"

namespace qb {

class CQuillabyDoc;

// The color-bar guard: when the side's sequences are bound to the color bars,
// asks whether to drop the binding. False when the user said No. A raw
// change: call it inside the command's DraftStep.
bool ColorBarGuard(CQuillabyDoc& doc, bool warp, IPrompter& prompter);

} // namespace qb
