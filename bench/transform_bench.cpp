// Whole-draft commands on a 32768 x 32768 draft with 64 shafts and 128
// treadles, and fabric analysis drawing a 512 x 512 area cell by cell.
#include "core/draft/drawdown.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/arrange.h"
#include "core/transform/fabricanalysis.h"
#include "core/transform/optimize.h"
#include "core/transform/tieupops.h"
#include "core/transform/turndraft.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace qb;

namespace {

constexpr int kSize = 32768;

// `usedTreadles` below 128 leaves the rest idle (turning needs at most 64).
std::unique_ptr<CQuillabyDoc> bigDraft(int usedTreadles = 128)
{
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults d;
    d.shafts = 64;
    d.treadles = 128;
    doc->OnNewDocument(d);
    std::mt19937_64 rng(42);
    Threading* th = doc->raw().threadingMutable(0);
    th->Append(kSize);
    for (int e = 0; e < kSize; ++e) th->SetValue(e, 1 + int(rng() % 64));
    for (int t = 0; t < 128; ++t) doc->raw().tieupMutable().setColumn(t, TUPTYPE(rng()));
    Treadling* tr = doc->raw().treadlingMutable(0);
    tr->Append(kSize);
    for (int p = 0; p < kSize; ++p) tr->SetValue(p, 1 + int(rng() % usedTreadles));
    return doc;
}

template <class F> void runOnCopies(benchmark::State& state, const CQuillabyDoc& source, F&& command)
{
    FixedPrompter yes(true);
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = source.Clone();
        state.ResumeTiming();
        command(*doc, yes);
        benchmark::DoNotOptimize(doc->numPicks());
    }
}

void BM_ConvertToLiftplanAndBack(benchmark::State& state)
{
    const auto source = bigDraft();
    runOnCopies(state, *source, [](CQuillabyDoc& d, IPrompter& p) {
        ConvertToLiftplan(kUnrecorded, d, p);
        ConvertToTieup(kUnrecorded, d, p);
    });
}

// Shafts 2k+1 and 2k+2 tied alike, treadles in identical pairs, the top
// 28 treadles unused: Optimize has merging and moving to do.
std::unique_ptr<CQuillabyDoc> redundantDraft()
{
    auto doc = bigDraft(100);
    std::mt19937_64 rng(9);
    for (int t = 0; t < 128; t += 2) {
        std::uint64_t half = rng() & 0x5555555555555555ull;
        const TUPTYPE c(half | (half << 1));
        doc->raw().tieupMutable().setColumn(t, c);
        doc->raw().tieupMutable().setColumn(t + 1, c);
    }
    return doc;
}

void BM_OptimizeShaftsAndTreadles(benchmark::State& state)
{
    const auto source = redundantDraft();
    runOnCopies(state, *source, [](CQuillabyDoc& d, IPrompter& p) {
        Optimize(kUnrecorded, d, Side::Threading, p);
        Optimize(kUnrecorded, d, Side::Treadling, p);
    });
}

void BM_TurnDraft(benchmark::State& state)
{
    const auto source = bigDraft(64);
    runOnCopies(state, *source, [](CQuillabyDoc& d, IPrompter& p) { TurnDraft(kUnrecorded, d, p); });
}

void BM_ArrangeBothKindsBothSides(benchmark::State& state)
{
    const auto source = bigDraft();
    runOnCopies(state, *source, [](CQuillabyDoc& d, IPrompter& p) {
        for (ArrangeKind k : {ArrangeKind::Sequential, ArrangeKind::Parallel}) {
            Arrange(kUnrecorded, d, Side::Threading, k, p);
            Arrange(kUnrecorded, d, Side::Treadling, k, p);
        }
    });
}

// The design of a 16-shaft, 16-treadle draft drawn cell by cell over an empty
// 512 x 512 area, row after row, then the mode is left.
void BM_FabricAnalysis512(benchmark::State& state)
{
    const bool record = state.range(0) != 0;
    constexpr int kArea = 512;
    std::mt19937 rng(7);
    std::vector<int> shaft(kArea), treadle(kArea);
    std::vector<std::uint32_t> tieup(16);
    for (int& s : shaft) s = int(rng() % 16);
    for (int& t : treadle) t = int(rng() % 16);
    for (auto& c : tieup) c = rng() & 0xFFFF;
    std::size_t cells = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CQuillabyDoc>();
        doc->OnNewDocument(NewDraftDefaults{});
        doc->raw().threadingMutable(0)->Append(kArea);
        doc->raw().treadlingMutable(0)->Append(kArea);
        state.ResumeTiming();
        const bool rising = FabricAnalysisEnter(kUnrecorded, *doc);
        for (int p = 0; p < kArea; ++p)
            for (int e = 0; e < kArea; ++e)
                if ((tieup[treadle[p]] >> shaft[e]) & 1) {
                    if (record)
                        doc->Transaction("Fabric Analysis", [&](Edit t) { FabricAnalysisCell(t, *doc, e, p, true); });
                    else FabricAnalysisCell(kUnrecorded, *doc, e, p, true);
                    ++cells;
                }
        FabricAnalysisLeave(kUnrecorded, *doc, rising);
        benchmark::DoNotOptimize(doc->numShafts());
    }
    state.counters["cells"] = benchmark::Counter(double(cells), benchmark::Counter::kAvgIterations);
}

} // namespace

BENCHMARK(BM_ConvertToLiftplanAndBack)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OptimizeShaftsAndTreadles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TurnDraft)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArrangeBothKindsBothSides)->Unit(benchmark::kMillisecond);
// Argument 1: each cell recorded as an undo step, as the drawdown pane does.
BENCHMARK(BM_FabricAnalysis512)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);
