#include "core/transform/tieupkeys.h"

#include "core/draft/limits.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/blockmessages.h"

#include <algorithm>
#include <bit>

namespace qb {

namespace {

constexpr BlockSet kOddBlocks = 0x5555555555555555ULL; // A, C, E, .. are bits 0, 2, 4, ..

int keyWidth(const BlockSubstitutionParams& p)
{
    return std::clamp(p.patternTreadlesPerBlock, 0, kMaxTreadles);
}

TieupKey* slot(CQuillabyDoc& doc, BlockSet set)
{
    FitTieupKeys(doc);
    if (set >= doc.tieupKeys().size()) return nullptr;
    auto& k = doc.raw().tieupKeys[static_cast<std::size_t>(set)];
    if (!k) k = std::make_unique<TieupKey>(doc.numShafts(), keyWidth(doc.blocks()));
    return k.get();
}

} // namespace

int TieupKeySlots(const BlockSubstitutionParams& p)
{
    return 1 << std::clamp(p.numBlocks, 1, 8);
}

void FitTieupKeys(CQuillabyDoc& doc)
{
    const int width = keyWidth(doc.blocks());
    doc.raw().tieupKeys.resize(static_cast<std::size_t>(TieupKeySlots(doc.blocks())));
    for (auto& k : doc.raw().tieupKeys) {
        if (!k || (k->shaftCount() == doc.numShafts() && k->treadleCount() == width)) continue;
        auto fitted = std::make_unique<TieupKey>(doc.numShafts(), width);
        for (int t = 0; t < width; ++t) fitted->setColumn(t, k->column(t));
        fitted->flag1 = k->flag1;
        fitted->flag2 = k->flag2;
        k = std::move(fitted);
    }
}

bool SpansBothGroups(BlockSet set)
{
    return (set & kOddBlocks) != 0 && (set & ~kOddBlocks) != 0;
}
bool HasNeighbouringBlocks(BlockSet set)
{
    return (set & (set >> 1)) != 0;
}

bool CombinationCanBeValid(const BlockSubstitutionParams& p, BlockSet set)
{
    if (std::popcount(set) > 1 && !p.allowTieupCombinations) return false;
    return !(p.adjacentKeysNotCombined && SpansBothGroups(set));
}

bool SetKeyCell(CQuillabyDoc& doc, BlockSet set, int treadle, int shaft, bool on)
{
    TieupKey* k = slot(doc, set);
    if (!k || treadle < 0 || treadle >= k->treadleCount() || shaft < 1 || shaft > k->shaftCount()) return false;
    if (on) k->setCell(treadle, shaft);
    else k->clearCell(treadle, shaft);
    k->flag1 = 1;
    doc.SetModified();
    return true;
}

bool SetKeyValid(CQuillabyDoc& doc, BlockSet set, bool valid)
{
    if (valid && !CombinationCanBeValid(doc.blocks(), set)) return false;
    TieupKey* k = slot(doc, set);
    if (!k) return false;
    k->flag1 = 1;
    k->flag2 = valid ? 1 : 0;
    doc.SetModified();
    return true;
}

void MakeAllValid(CQuillabyDoc& doc, bool valid)
{
    FitTieupKeys(doc);
    for (std::size_t i = 0; i < doc.tieupKeys().size(); ++i) {
        TieupKey* k = doc.raw().tieupKeys[i].get();
        if (!KeyDefined(k)) continue;
        k->flag2 = valid && CombinationCanBeValid(doc.blocks(), i) ? 1 : 0;
    }
    doc.SetModified();
}

bool AllKeysValid(const CQuillabyDoc& doc)
{
    bool any = false;
    for (std::size_t i = 0; i < doc.tieupKeys().size(); ++i) {
        const TieupKey* k = doc.tieupKeys()[i].get();
        if (!KeyDefined(k) || !CombinationCanBeValid(doc.blocks(), i)) continue;
        any = true;
        if (!KeyUsable(k)) return false;
    }
    return any;
}

std::string MakeAllValidCaption(const CQuillabyDoc& doc)
{
    return AllKeysValid(doc) ? "Invalidate all" : "Make all valid";
}

std::optional<TieupKey> FirstKeyFromTieup(const CQuillabyDoc& structure, std::string* error)
{
    const BlockSubstitutionParams& p = structure.blocks();
    const Tieup& tu = structure.tieup();
    const int ts = p.tiedownShafts, ps = p.patternShaftsPerBlock, pt = p.patternTreadlesPerBlock;
    const int first = p.tiedownTreadles + (p.skeletonTieup ? ts : 0);
    const auto fail = [&](const char* text) {
        if (error) *error = text;
        return std::nullopt;
    };
    if (p.numBlocks < 2 || ps < 1 || tu.shaftCount() < ts + 2 * ps) return fail(blockmsg::kTwoBlocks);
    if (pt < 1 || tu.treadleCount() < first + pt) return fail(blockmsg::kCorrupted);
    TieupKey key(structure.numShafts(), pt);
    for (int t = 0; t < pt; ++t) key.setColumn(t, tu.column(first + t));
    key.flag1 = key.flag2 = 1;
    return key;
}

std::optional<TieupKey> AutomaticFirstKey(const CQuillabyDoc& structure, std::string* error)
{
    if (structure.tieupKeys().size() > 1 && KeyDefined(structure.tieupKeys()[1].get()))
        return *structure.tieupKeys()[1];
    return FirstKeyFromTieup(structure, error);
}

TieupKey AutomaticKey(const TieupKey& first, BlockSet set, int shafts, const BlockSubstitutionParams& p)
{
    const int pt = std::max(0, p.patternTreadlesPerBlock);
    const int ts = p.tiedownShafts, ps = p.patternShaftsPerBlock;
    TieupKey key(shafts, pt);
    for (int t = 0; t < pt; ++t) {
        const TUPTYPE src = first.column(t);
        TUPTYPE col;
        if (!p.skeletonTieup)
            for (int s = 1; s <= ts && s <= shafts; ++s)
                if (src.test(s)) col.set(s);
        // Every row that fits, the last shaft included.
        for (int block = 1; ps > 0 && ts + (block - 1) * ps + 1 <= shafts; ++block) {
            const bool pattern = block <= 64 && (set >> (block - 1) & 1);
            const int from = ts + (pattern ? 0 : ps);
            for (int r = 1; r <= ps; ++r) {
                const int to = ts + (block - 1) * ps + r;
                if (to > shafts) break;
                if (src.test(from + r)) col.set(to);
            }
        }
        key.setColumn(t, col);
    }
    key.flag1 = key.flag2 = 1;
    return key;
}

std::optional<TieupKey> KeyForCombination(const CQuillabyDoc& structure, BlockSet set)
{
    const BlockSubstitutionParams& p = structure.blocks();
    if (p.automaticallyGenerated && p.allowTieupCombinations) {
        auto first = AutomaticFirstKey(structure);
        if (!first) return std::nullopt;
        return AutomaticKey(*first, set, structure.numShafts(), p);
    }
    if (set >= structure.tieupKeys().size() || !KeyDefined(structure.tieupKeys()[set].get())) return std::nullopt;
    return *structure.tieupKeys()[set];
}

} // namespace qb
