#pragma once

#include "core/draft/tieup.h"
#include "core/transform/weavestructure.h"

#include <optional>
#include <string>

namespace qb {

class CQuillabyDoc;

// The tieup keys of a weave structure: one slot per combination of blocks,
// indexed by the combination read as a binary number (block k is bit k-1).
// A key is defined once drawn or read (first flag) and usable when it is
// also marked "Valid combination" (second flag); only usable keys are saved.
int TieupKeySlots(const BlockSubstitutionParams& p);
inline bool KeyDefined(const TieupKey* k)
{
    return k && k->flag1 != 0;
}
inline bool KeyUsable(const TieupKey* k)
{
    return k && k->isStored();
}

// Brings the key list in line with the draft: one slot per combination of
// the draft's blocks, each key as tall as the draft's shafts and as wide as
// its pattern treadles per block. Keys already drawn keep their cells.
void FitTieupKeys(CQuillabyDoc& doc);

// The odd (A, C, ..) and even (B, D, ..) groups of blocks.
bool SpansBothGroups(BlockSet set);
// Two blocks next to each other (k and k+1).
bool HasNeighbouringBlocks(BlockSet set);
// Whether the sheet lets this combination be marked valid: combinations of
// several blocks need "Allow Tieup Combinations"; with "Adjacent tieup keys
// cannot be combined" a combination may not mix the two groups.
bool CombinationCanBeValid(const BlockSubstitutionParams& p, BlockSet set);

// Draws or clears one cell of a combination's key (treadle 0-based, shaft
// 1-based); the key becomes defined. False outside the key.
bool SetKeyCell(CQuillabyDoc& doc, BlockSet set, int treadle, int shaft, bool on);
// "Valid combination" for one combination. Marking a combination the rules
// forbid is refused (false); a key not yet drawn is defined empty.
bool SetKeyValid(CQuillabyDoc& doc, BlockSet set, bool valid);
// "Make all valid" (valid = true) or "Invalidate all": every defined key the
// rules allow is marked, or every mark is cleared.
void MakeAllValid(CQuillabyDoc& doc, bool valid);
// Whether there is a defined key that may be valid, and every such key is.
bool AllKeysValid(const CQuillabyDoc& doc);
// The button's caption: "Invalidate all" when AllKeysValid, else "Make all
// valid".
std::string MakeAllValidCaption(const CQuillabyDoc& doc);

// The key of block set {1} (block 1 pattern, block 2 background) as the
// structure's tieup holds it: the pattern treadles of block 1. Fails with the
// structure's own messages when the tieup is too small to hold two blocks.
std::optional<TieupKey> FirstKeyFromTieup(const CQuillabyDoc& structure, std::string* error = nullptr);
// The first key of automatic generation: the stored key of {1} when defined,
// else the one in the structure's tieup.
std::optional<TieupKey> AutomaticFirstKey(const CQuillabyDoc& structure, std::string* error = nullptr);

// An automatically generated key for a combination: `shafts` tall, PT wide;
// the tiedown rows come from the first key (none with a skeleton tieup), and
// the rows of block i are the first key's block-1 rows (pattern) when i is in
// the set, else its block-2 rows (background), up to the last shaft.
TieupKey AutomaticKey(const TieupKey& first, BlockSet set, int shafts, const BlockSubstitutionParams& p);

// What the key picture shows for a combination: the generated key with
// automatic keys on, else the stored one (nullopt when none is drawn).
std::optional<TieupKey> KeyForCombination(const CQuillabyDoc& structure, BlockSet set);

} // namespace qb
