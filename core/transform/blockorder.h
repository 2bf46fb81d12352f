#pragma once

#include <vector>

namespace qb {

// How the blocks of a profile's ends (or picks) follow each other. Blocks
// are 1-based and wrap: below block 1 lies block n, above block n block 1.
// Block 0 (an unthreaded end, an empty pick) follows nothing.
struct BlockOrder {
    // turning[i]: the direction (up or down through the blocks) changes
    // right after thread i. The first two threads and the last never turn.
    std::vector<bool> turning;
    int firstJump = -1;   // first thread whose block neither repeats nor steps by one
    int firstRepeat = -1; // first thread that repeats the block before it
};

BlockOrder AnalyseBlockOrder(const std::vector<int>& blocks, int n);

} // namespace qb
