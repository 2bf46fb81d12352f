#pragma once

// Weave structures and profiles built in code for the block-substitution and
// network-drafting tests.
#include "core/transform/weavestructure.h"
#include "tests/core/transform/drafts.h"

#include <initializer_list>
#include <memory>
#include <vector>

namespace qbtest {

using namespace qb;

// A structure draft: `blocks` units of threading and treadling, `columns`
// the tieup (one shaft list per treadle).
struct StructureShape {
    int blocks = 2, ends = 4, picks = 4;
    int tiedownShafts = 0, tiedownTreadles = 0, patternShafts = 2, patternTreadles = 2;
    std::vector<int> threading;
    std::vector<int> treadling;
    std::vector<std::vector<int>> columns;
};
std::unique_ptr<CQuillabyDoc> MakeStructure(const StructureShape& s);

// A unit weave of `blocks` blocks of four ends (block k on shafts 2k-1, 2k):
// each block's two treadles weave plain weave on its own shafts (the
// pattern) and lift every other block's shafts on the first treadle only
// (the background).
StructureShape UnitWeaveShape(int blocks);
// The two-block unit weave with its keys for all four combinations, stored and marked valid, with
// automatic keys off.
std::unique_ptr<CQuillabyDoc> TwoBlockWithKeys();

// Two tiedown shafts and one pattern shaft per block (ends 1,3,2,3 and
// 1,4,2,4); tiedown treadles 1 and 2, two pattern treadles per block.
StructureShape TiedownShape();

// A profile: threading as blocks, treadling as treadles, and the tieup as
// the blocks each treadle ties (empty: a direct tieup over the treadles used).
std::unique_ptr<CQuillabyDoc> MakeProfile(const std::vector<int>& blocks, const std::vector<int>& treadles,
                                          const std::vector<std::vector<int>>& tieup = {});

std::vector<int> ColumnShafts(const Tieup& t, int treadle);
std::vector<std::vector<int>> TieupColumns(const Tieup& t);

} // namespace qbtest
