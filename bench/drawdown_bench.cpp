// Full drawdown of a 32768 x 32768 draft on 64 shafts and 128 treadles,
// through the bit-parallel rows and through the per-cell rule.
#include "core/draft/drawdown.h"
#include "core/draft/quillabydoc.h"

#include <benchmark/benchmark.h>

#include <bit>
#include <random>

using namespace qb;

namespace {

constexpr int kSize = 32768;

enum class Picks { SingleTreadle, FewTreadles, RandomLiftplan };

std::unique_ptr<CQuillabyDoc> bigDraft(Picks kind)
{
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults d;
    d.shafts = 64;
    d.treadles = 128;
    d.liftplan = kind == Picks::RandomLiftplan;
    doc->OnNewDocument(d);
    std::mt19937_64 rng(42);
    Threading* th = doc->raw().threadingMutable(0);
    th->Append(kSize);
    for (int e = 0; e < kSize; ++e) th->SetValue(e, 1 + int(rng() % 64));
    for (int t = 0; t < 128; ++t) doc->raw().tieupMutable().setColumn(t, TUPTYPE(rng()));
    Treadling* tr = doc->raw().treadlingMutable(0);
    tr->setMultiple(kind != Picks::SingleTreadle);
    tr->Append(kSize);
    for (int p = 0; p < kSize; ++p) {
        switch (kind) {
        case Picks::SingleTreadle: tr->SetValue(p, 1 + int(rng() % 128)); break;
        case Picks::FewTreadles: // two to four treadles: thousands of distinct lifts
            for (int i = 0, n = 2 + int(rng() % 3); i < n; ++i) tr->SetValue(p, 1 + int(rng() % 128));
            break;
        case Picks::RandomLiftplan: tr->SetShafts(p, TUPTYPE(rng())); break; // every lift distinct
        }
    }
    return doc;
}

void runRows(benchmark::State& state, Picks kind)
{
    auto doc = bigDraft(kind);
    for (auto _ : state) {
        DrawdownRows rows(*doc);
        std::uint64_t ups = 0;
        for (int p = 0; p < rows.picks(); ++p) {
            const auto r = rows.row(p);
            for (int w = 0; w < rows.words(); ++w) ups += std::popcount(r.warpUp[w]);
        }
        benchmark::DoNotOptimize(ups);
    }
    state.counters["cells/s"] =
        benchmark::Counter(double(kSize) * kSize, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_FastPath_SingleTreadle(benchmark::State& state)
{
    runRows(state, Picks::SingleTreadle);
}
void BM_FastPath_FewTreadles(benchmark::State& state)
{
    runRows(state, Picks::FewTreadles);
}
void BM_FastPath_RandomLiftplan(benchmark::State& state)
{
    runRows(state, Picks::RandomLiftplan);
}

void BM_PerCell(benchmark::State& state)
{
    auto doc = bigDraft(Picks::SingleTreadle);
    for (auto _ : state) {
        std::uint64_t ups = 0;
        for (int p = 0; p < kSize; ++p)
            for (int e = 0; e < kSize; ++e) ups += DrawdownCell(*doc, e, p) == Cell::WarpUp;
        benchmark::DoNotOptimize(ups);
    }
    state.counters["cells/s"] =
        benchmark::Counter(double(kSize) * kSize, benchmark::Counter::kIsIterationInvariantRate);
}

} // namespace

BENCHMARK(BM_FastPath_SingleTreadle)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FastPath_FewTreadles)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FastPath_RandomLiftplan)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PerCell)->Unit(benchmark::kMillisecond)->Iterations(1);
