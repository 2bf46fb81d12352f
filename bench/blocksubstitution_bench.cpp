// Block substitution of a 4-block profile of 2000 ends and 2000 picks with an
// 8-end, 8-pick unit: a 16000 x 16000 draft.
#include "core/draft/quillabydoc.h"
#include "core/transform/blocksubstitution.h"
#include "core/transform/weavestructure.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace qb;

namespace {

std::unique_ptr<CQuillabyDoc> newDoc(int shafts, int treadles)
{
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults d;
    d.shafts = shafts;
    d.treadles = treadles;
    doc->OnNewDocument(d);
    return doc;
}

// Four blocks of eight ends: two tiedown shafts, two pattern shafts per block.
std::unique_ptr<CQuillabyDoc> structure()
{
    auto doc = newDoc(10, 10);
    Threading& th = *doc->raw().threadingMutable(0);
    Treadling& tr = *doc->raw().treadlingMutable(0);
    th.Append(32);
    tr.Append(32);
    for (int k = 0; k < 4; ++k)
        for (int i = 0; i < 8; ++i) {
            th.SetValue(8 * k + i, i % 2 == 0 ? 1 + i / 2 % 2 : 3 + 2 * k + i / 2 % 2);
            tr.SetValue(8 * k + i, 3 + 2 * k + i % 2);
        }
    for (int t = 0; t < 10; ++t) doc->raw().tieupMutable().setColumn(t, TUPTYPE(0x2AAull >> (t % 2)));
    BlockSubstitutionParams& b = doc->raw().blocks;
    b.numBlocks = 4;
    b.endsPerBlock = b.picksPerBlock = 8;
    b.tiedownShafts = b.tiedownTreadles = 2;
    b.patternShaftsPerBlock = b.patternTreadlesPerBlock = 2;
    SetDefinesStructure(kUnrecorded, *doc, true);
    return doc;
}

std::unique_ptr<CQuillabyDoc> profile()
{
    auto doc = newDoc(4, 4);
    std::mt19937 rng(13);
    Threading& th = *doc->raw().threadingMutable(0);
    Treadling& tr = *doc->raw().treadlingMutable(0);
    th.Append(2000);
    tr.Append(2000);
    for (int i = 0; i < 2000; ++i) {
        th.SetValue(i, 1 + int(rng() % 4));
        tr.SetValue(i, 1 + int(rng() % 4));
    }
    for (int t = 0; t < 4; ++t) doc->raw().tieupMutable().setColumn(t, TUPTYPE(rng() & 0xF));
    return doc;
}

void BM_SubstituteBlocks(benchmark::State& state)
{
    const auto s = structure();
    const auto p = profile();
    FixedPrompter yes(true);
    for (auto _ : state) {
        NewDraftResult r = SubstituteBlocks(*p, *s, "bench.qlb", yes);
        if (!r.draft || r.draft->numEnds() != 16000 || r.draft->numPicks() != 16000) state.SkipWithError("no draft");
        benchmark::DoNotOptimize(r.draft->numPicks());
    }
}
BENCHMARK(BM_SubstituteBlocks)->Unit(benchmark::kMillisecond);

} // namespace
