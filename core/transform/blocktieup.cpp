#include "core/transform/blocktieup.h"

#include "core/draft/quillabydoc.h"
#include "core/transform/blockmessages.h"
#include "core/transform/tieupkeys.h"

#include <bit>

namespace qb {

namespace {

// Tiedown shaft s becomes TS + 1 - s (with two tiedowns: 1 and 2 swap).
TUPTYPE mirrorTiedowns(TUPTYPE col, int ts)
{
    TUPTYPE out = col & ~TUPTYPE::firstShafts(ts);
    for (int s = 1; s <= ts; ++s)
        if (col.test(s)) out.set(ts + 1 - s);
    return out;
}

TieupAssembly failed(std::string message)
{
    TieupAssembly r;
    r.error = std::move(message);
    return r;
}

} // namespace

TieupAssembly AssembleBlockTieup(const CQuillabyDoc& structure, const BlockSubstitutionParams& p,
                                 const Tieup& profileTieup, int profileTreadles, int shafts, int treadles,
                                 int countedBlocks)
{
    const Tieup& st = structure.tieup();
    const int ts = p.tiedownShafts, tt = p.tiedownTreadles, pt = p.patternTreadlesPerBlock;
    const TUPTYPE tiedownRows = TUPTYPE::firstShafts(ts);
    TieupAssembly r;
    r.tieup = Tieup(shafts, treadles);
    Tieup& out = r.tieup;
    for (int t = 0; t < tt; ++t) out.setColumn(t, st.column(t));
    int offset = tt;
    if (p.skeletonTieup && !p.enforceOddEvenTiedowns) {
        for (int i = 0; i < ts; ++i) out.setColumn(tt + i, st.column(tt + i));
        offset += ts;
    }
    std::optional<TieupKey> first;
    if (p.automaticallyGenerated) {
        std::string why;
        first = AutomaticFirstKey(structure, &why);
        if (!first) return failed(why);
    }
    const BlockSet counted = TUPTYPE::firstShafts(countedBlocks).bits();
    std::optional<TUPTYPE> previous;
    if (tt > 0) previous = out.column(tt - 1) & tiedownRows;
    for (int t = 0; t < profileTreadles; ++t) {
        const BlockSet set = profileTieup.column(t).bits();
        const BlockSet among = set & counted;
        if (std::popcount(among) > 1
            && (!p.allowTieupCombinations || (p.adjacentKeysNotCombined && HasNeighbouringBlocks(among))))
            return failed(blockmsg::combinations(set));
        TieupKey key;
        if (first) {
            key = AutomaticKey(*first, set, shafts, p);
        } else {
            if (set >= structure.tieupKeys().size() || !KeyUsable(structure.tieupKeys()[set].get()))
                return failed(blockmsg::combinations(set));
            key = *structure.tieupKeys()[set];
        }
        for (int j = 0; j < pt; ++j) {
            TUPTYPE col = key.column(j) & TUPTYPE::firstShafts(shafts);
            if (p.enforceOddEvenTiedowns) {
                const TUPTYPE td = col & tiedownRows;
                if (previous && !td.empty() && td == *previous && t == 0) {
                    // At the start the tiedown treadles themselves can turn over.
                    for (int c = 0; c < tt; ++c) out.setColumn(c, mirrorTiedowns(out.column(c), ts));
                    previous = out.column(tt - 1) & tiedownRows;
                }
                if (previous && !td.empty() && td == *previous) {
                    if (p.adjacentKeysNotCombined) return failed(blockmsg::format(blockmsg::kOddEven, t + 1));
                    col = mirrorTiedowns(col, ts);
                }
                previous = col & tiedownRows;
            }
            out.setColumn(offset + j, col);
        }
        offset += pt;
    }
    return r;
}

} // namespace qb
