#pragma once

#include "core/draft/colorpalette.h"
#include "core/transform/command.h"

#include <array>
#include <vector>

namespace qb {

class CQuillabyDoc;

// Each command that changes the open draft records one undo step through `e`.

// The values of the Echo dialog, which the editor stores as NumEchos and
// EchoOffset.
struct EchoSettings {
    static constexpr int kMinEchos = 1, kMaxEchos = 3;
    static constexpr int kMinOffset = 1, kMaxOffset = 64;
    int numEchos = 2;
    int offset = 4; // shafts between echoes
    // Stored values outside the ranges are moved in.
    EchoSettings clamped() const;
};

// Interleaved threads are colored by their source: the draft's own black,
// the other sequences light grey, grey and white.
inline constexpr std::array<COLORREF, 4> kInterleaveColors = {rgb(0, 0, 0), rgb(192, 192, 192), rgb(128, 128, 128),
                                                              rgb(255, 255, 255)};

// "Ech&o...": the threading interleaved with its echoes, echo j putting each
// end j x offset shafts higher (wrapping at the shaft count); unthreaded ends
// stay unthreaded. Only with one warp.
CommandResult EchoThreading(Edit e, CQuillabyDoc& doc, const EchoSettings& echo, IPrompter& prompter);
// Treadling "Echo...": weft k (k >= 1) becomes the first weft with every
// treadle moved k places (wrapping at the treadle count). Asks the color-bar
// guard; with one weft nothing changes.
CommandResult EchoTreadling(Edit e, CQuillabyDoc& doc, IPrompter& prompter);

// "Interlea&ve...": end i of the draft followed by end i of each other draft's
// first threading (1..3 of them), over the shortest length; then the draft's
// remaining ends. Only with one warp. Shafts the others use beyond the draft's
// count raise it. A result past 32768 ends, or interleave colors that no
// longer fit the palette, are refused with a message before anything changes.
CommandResult InterleaveThreading(Edit e, CQuillabyDoc& doc, const std::vector<const CQuillabyDoc*>& others,
                                  IPrompter& prompter);
// The same on the picks (read in the draft's form); only with one weft.
CommandResult InterleaveTreadling(Edit e, CQuillabyDoc& doc, const std::vector<const CQuillabyDoc*>& others,
                                  IPrompter& prompter);

} // namespace qb
