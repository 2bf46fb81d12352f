#pragma once

#include "core/transform/command.h"

namespace qb {

class CQuillabyDoc;

enum class ArrangeKind { Sequential, Parallel };

// "Arran&ge...": renumbers the shafts (threading) or treadles (treadling) so
// the sequence reads in first-use order (Sequential) or odd positions first
// (Parallel), moving the tieup along so the cloth is unchanged. Only for a
// tieup-form draft with more than one thread and a single warp (weft; and no
// multiple treadles); otherwise nothing happens.
CommandResult Arrange(Edit e, CQuillabyDoc& doc, Side side, ArrangeKind kind, IPrompter& prompter);

// Whether Arrange would act on this draft.
bool CanArrange(const CQuillabyDoc& doc, Side side);

} // namespace qb
