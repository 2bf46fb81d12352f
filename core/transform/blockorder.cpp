#include "core/transform/blockorder.h"

namespace qb {

namespace {

enum class Step { Repeat, Down, Up, Jump };

Step step(int from, int to, int n)
{
    if (from == to) return Step::Repeat;
    if (from < 1 || to < 1 || from > n || to > n) return Step::Jump;
    const int below = from == 1 ? n : from - 1;
    const int above = from == n ? 1 : from + 1;
    // With two blocks below and above are the same block: it counts as down.
    if (to == below) return Step::Down;
    if (to == above) return Step::Up;
    return Step::Jump;
}

} // namespace

BlockOrder AnalyseBlockOrder(const std::vector<int>& blocks, int n)
{
    BlockOrder out;
    const int count = static_cast<int>(blocks.size());
    out.turning.assign(blocks.size(), false);
    if (count == 0) return out;
    bool down = false;
    for (int i = 1; i < count; ++i)
        if (blocks[i] != blocks[0]) {
            down = step(blocks[0], blocks[i], n) == Step::Down;
            break;
        }
    for (int i = 1; i < count; ++i) {
        const Step s = step(blocks[i - 1], blocks[i], n);
        if (s == Step::Repeat && out.firstRepeat < 0) out.firstRepeat = i;
        if (s == Step::Jump && out.firstJump < 0) out.firstJump = i;
        if (s != Step::Down && s != Step::Up) continue;
        const bool nowDown = s == Step::Down;
        if (nowDown != down && i - 1 >= 2 && i - 1 < count - 1) out.turning[static_cast<std::size_t>(i - 1)] = true;
        down = nowDown;
    }
    return out;
}

} // namespace qb
