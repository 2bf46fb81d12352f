#pragma once

#include "core/draft/tieup.h"

#include <string>

namespace qb {

class CQuillabyDoc;
struct BlockSubstitutionParams;

// The tieup of a substituted draft: the structure's tiedown treadles, its
// skeleton treadles when it has a skeleton tieup, then for every profile
// treadle the PT columns of the key chosen by the blocks the profile ties to
// that treadle. `p` holds the structure's effective parameters; `countedBlocks`
// is the number of blocks a combination is counted among.
struct TieupAssembly {
    Tieup tieup;
    std::string error; // detail message; empty on success
};
TieupAssembly AssembleBlockTieup(const CQuillabyDoc& structure, const BlockSubstitutionParams& p,
                                 const Tieup& profileTieup, int profileTreadles, int shafts, int treadles,
                                 int countedBlocks);

} // namespace qb
