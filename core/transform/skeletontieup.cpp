#include "skeletontieup.h"

#include "blockmessages.h"
#include "draft/limits.h"
#include "draft/quillabydoc.h"

namespace qb {

std::optional<Tieup> SkeletonTieup(const CQuillabyDoc& structure, IPrompter& prompter)
{
    const BlockSubstitutionParams& p = structure.blocks;
    const int ts = p.tiedownShafts, tt = p.tiedownTreadles, pt = p.patternTreadlesPerBlock;
    if (ts <= 0) {
        prompter.tell(blockmsg::format(blockmsg::kSkeletonHeading, std::string(blockmsg::kSkeletonNoTiedowns)));
        return std::nullopt;
    }
    if (pt % ts != 0) {
        prompter.tell(blockmsg::format(blockmsg::kSkeletonHeading, std::string(blockmsg::kSkeletonDivisible)));
        return std::nullopt;
    }
    const Tieup& src = structure.tieup();
    const int shafts = src.shaftCount();
    const int c = pt / ts;
    const int treadles = std::min(c * p.numBlocks + tt + ts, kMaxTreadles);
    const TUPTYPE tiedowns = TUPTYPE::firstShafts(ts);
    Tieup out(shafts, treadles);
    for (int t = 0; t < tt && t < treadles; ++t) out.setColumn(t, src.column(t));
    for (int i = 0; i < ts && tt + i < treadles; ++i) out.setColumn(tt + i, src.column(tt + i * c) & tiedowns);
    // Later blocks replace a column an earlier one wrote at the same place;
    // columns past the last treadle are dropped (setColumn refuses them).
    for (int j = 0; j < p.numBlocks; ++j)
        for (int i = 0; i < ts; ++i) out.setColumn(tt + ts + c * j + i, src.column(tt + pt * j + i) & ~tiedowns);
    return out;
}

} // namespace qb
