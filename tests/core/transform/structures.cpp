#include "tests/core/transform/structures.h"

#include "core/draft/limits.h"
#include "core/transform/tieupkeys.h"

#include <algorithm>

namespace qbtest {

std::unique_ptr<CQuillabyDoc> MakeStructure(const StructureShape& s)
{
    const int shafts = std::max(1, *std::max_element(s.threading.begin(), s.threading.end()));
    int treadles = std::max<int>(1, static_cast<int>(s.columns.size()));
    for (int t : s.treadling) treadles = std::max(treadles, t);
    auto doc = NewDraft(shafts, treadles);
    SetShafts(*doc, s.threading);
    SetTreadles(*doc, s.treadling);
    doc->raw().replaceTieup(std::make_unique<Tieup>(shafts, treadles));
    for (std::size_t t = 0; t < s.columns.size(); ++t)
        for (int sh : s.columns[t]) doc->raw().tieupMutable().setCell(static_cast<int>(t), sh);
    BlockSubstitutionParams& b = doc->raw().blocks;
    b.numBlocks = s.blocks;
    b.endsPerBlock = s.ends;
    b.picksPerBlock = s.picks;
    b.tiedownShafts = s.tiedownShafts;
    b.tiedownTreadles = s.tiedownTreadles;
    b.patternShaftsPerBlock = s.patternShafts;
    b.patternTreadlesPerBlock = s.patternTreadles;
    SetDefinesStructure(kUnrecorded, *doc, true);
    return doc;
}

StructureShape UnitWeaveShape(int blocks)
{
    StructureShape s;
    s.blocks = blocks;
    for (int k = 1; k <= blocks; ++k) {
        for (int v : {2 * k - 1, 2 * k, 2 * k - 1, 2 * k}) {
            s.threading.push_back(v);
            s.treadling.push_back(v);
        }
        std::vector<int> first = {2 * k - 1};
        for (int o = 1; o <= 2 * blocks; ++o)
            if ((o + 1) / 2 != k) first.push_back(o);
        s.columns.push_back(first);
        s.columns.push_back({2 * k});
    }
    return s;
}

std::unique_ptr<CQuillabyDoc> TwoBlockWithKeys()
{
    auto doc = MakeStructure(UnitWeaveShape(2));
    doc->raw().blocks.automaticallyGenerated = false;
    const std::vector<std::vector<std::vector<int>>> keys = {
        {{1, 2, 3, 4}, {}}, {{1, 3, 4}, {2}}, {{1, 2, 3}, {4}}, {{1, 3}, {2, 4}}};
    for (std::size_t k = 0; k < keys.size(); ++k) {
        for (int t = 0; t < 2; ++t)
            for (int sh : keys[k][static_cast<std::size_t>(t)]) SetKeyCell(*doc, k, t, sh, true);
        SetKeyValid(*doc, k, true);
    }
    return doc;
}

StructureShape TiedownShape()
{
    StructureShape s;
    s.tiedownShafts = 2;
    s.tiedownTreadles = 2;
    s.patternShafts = 1;
    s.threading = {1, 3, 2, 3, 1, 4, 2, 4};
    s.treadling = {3, 4, 3, 4, 5, 6, 5, 6};
    s.columns = {{1}, {2}, {1, 4}, {2, 4}, {1, 3}, {2, 3}};
    return s;
}

std::unique_ptr<CQuillabyDoc> MakeProfile(const std::vector<int>& blocks, const std::vector<int>& treadles,
                                          const std::vector<std::vector<int>>& tieup)
{
    const int shafts = std::max(1, blocks.empty() ? 1 : *std::max_element(blocks.begin(), blocks.end()));
    int count = std::max<int>(1, static_cast<int>(tieup.size()));
    for (int t : treadles) count = std::max(count, t);
    auto doc = NewDraft(shafts, count);
    SetShafts(*doc, blocks);
    SetTreadles(*doc, treadles);
    auto tu = std::make_unique<Tieup>(shafts, count);
    if (tieup.empty()) tu->makeDirect();
    for (std::size_t t = 0; t < tieup.size(); ++t)
        for (int b : tieup[t]) tu->setCell(static_cast<int>(t), b);
    doc->raw().replaceTieup(std::move(tu));
    return doc;
}

std::vector<int> ColumnShafts(const Tieup& t, int treadle)
{
    std::vector<int> out;
    for (int s = 1; s <= t.shaftCount(); ++s)
        if (t.cell(treadle, s)) out.push_back(s);
    return out;
}

std::vector<std::vector<int>> TieupColumns(const Tieup& t)
{
    std::vector<std::vector<int>> out;
    for (int c = 0; c < t.treadleCount(); ++c) out.push_back(ColumnShafts(t, c));
    return out;
}

} // namespace qbtest
