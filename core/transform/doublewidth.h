#pragma once

#include "core/transform/command.h"

namespace qb {

class CQuillabyDoc;

struct DoubleWidthOptions {
    bool foldRight = false; // "Fold on:" Left / Right
    bool tubular = false;   // "Tubular"
    int shuttles = 1;       // "Number of shuttles:", 1..6
    int picksPerUnit = 1;   // "Picks per unit:", at least 1
};

// Whether "Double &Width..." can start (checked before the dialog): refused
// with its message when multiple treadles are on or in liftplan form.
CommandResult CanFoldDoubleWidth(const CQuillabyDoc& doc, IPrompter& prompter);

// "Double &Width...": a new draft folded into two layers, front on shafts and
// treadles 1..S/1..T, back on S+1..2S/T+1..2T. Each layer keeps the source's
// interlacement. Unthreaded ends stay unthreaded in either layer.
NewDraftResult DoubleWidth(const CQuillabyDoc& doc, const DoubleWidthOptions& options, IPrompter& prompter);

} // namespace qb
