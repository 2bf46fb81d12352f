#pragma once

#include "core/draft/draftsettings.h"
#include "core/draft/edit.h"
#include "core/transform/command.h"

#include <cstdint>
#include <string>

namespace qb {

class CQuillabyDoc;

// A set of blocks: block k (1-based) is bit k-1, as in a profile tieup column.
using BlockSet = std::uint64_t;

// Blocks are named A, B, .. Z, then a, b, .. z (block numbers 1..52).
char BlockLetter(int block);
std::string BlockSetLetters(BlockSet set);

// The "Color" page options, unpacked from the stored bits.
struct BlockColorOptions {
    bool useDesignColors = true; // "Use color from design"
    bool barsInWeft = false;     // "Additional colorbars:" in the weft (else the warp)
    bool alternate = false;      // "Alternate colors"
    bool exceptWarpTiedowns = false;
    bool exceptWeftTiedowns = false;
    int additionalBars = 0; // 0..3

    bool operator==(const BlockColorOptions&) const = default;
};
BlockColorOptions DecodeColorOptions(int bits);
int EncodeColorOptions(const BlockColorOptions& o);
inline constexpr int kMaxAdditionalColorBars = 3;

// The values a substitution works with once the sheet's rules are applied:
// odd-even tiedowns need one pattern treadle per block, two tiedown treadles
// and no skeleton; turning balance needs sequential blocks; flipping needs
// units of at least two threads; automatic keys need combinations.
BlockSubstitutionParams EffectiveBlockParams(const BlockSubstitutionParams& p);

// Which controls of the "&Weave Structure..." sheet can be used.
struct WeaveStructureSheetRules {
    bool oddEvenTiedowns = true;  // "Enforce odd-even tiedowns"
    bool threadingTurning = true; // the threading "Balance turning blocks by"
    bool treadlingTurning = true;
    bool threadingFlip = true; // "Flip transition blocks to" (ends)
    bool treadlingFlip = true;
    bool threadingFlipChoice = true; // its two-way choice
    bool treadlingFlipChoice = true;
    bool automaticKeys = true;      // "Automatically generated"
    bool keyList = true;            // the key list and the key picture
    bool validCombination = true;   // the per-key "Valid combination"
    bool makeAllValid = true;       // "Make all valid" / "Invalidate all"
    bool colorDetails = true;       // the Color page below "Use color from design"
    bool additionalBarsSide = true; // "warp" / "weft" beside the color-bar count
    // The largest balance of either kind: one thread short of a whole unit.
    int threadingBalanceMost = 0;
    int treadlingBalanceMost = 0;
};
// `layoutChanged`: the number of blocks, the pattern treadles per block, or
// the pattern shafts per block and tiedown shafts were changed on the other
// pages since the keys were drawn (see KeyLayoutChanged).
WeaveStructureSheetRules SheetRules(const BlockSubstitutionParams& p, bool layoutChanged);
bool KeyLayoutChanged(const BlockSubstitutionParams& before, const BlockSubstitutionParams& after);
// The parameters as the sheet keeps them: "Enforce odd-even tiedowns" and
// automatic keys read as off where the rules do not allow them.
BlockSubstitutionParams SheetParams(const BlockSubstitutionParams& p);

// "De&fines Structure": marks the draft as a weave structure (or not). A
// structure shows no user-defined characters and carries one tieup-key slot
// per combination of blocks.
CommandResult SetDefinesStructure(Edit e, CQuillabyDoc& doc, bool on);

} // namespace qb
