// `quillaby-cli floats --count` and the Float Search dialog's recount on a
// 32768 x 32768 draft (target: 1 s). Loading the file is not timed.
#include "core/draft/quillabydoc.h"
#include "core/transform/floatsearch.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace qb;

namespace {

constexpr int kSize = 32768;

// 64 shafts drawn at random (one end in a hundred unthreaded), 128 treadles
// with random tieup columns, one treadle per pick; or a liftplan whose every
// pick lifts a different random set of shafts (the worst case).
std::unique_ptr<CQuillabyDoc> bigDraft(bool liftplan)
{
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults d;
    d.shafts = 64;
    d.treadles = 128;
    d.liftplan = liftplan;
    doc->OnNewDocument(d);
    std::mt19937_64 rng(42);
    Threading* th = doc->raw().threadingMutable(0);
    th->Append(kSize);
    for (int e = 0; e < kSize; ++e) th->SetValue(e, rng() % 100 == 0 ? 0 : 1 + int(rng() % 64));
    for (int t = 0; t < 128; ++t) doc->raw().tieupMutable().setColumn(t, TUPTYPE(rng()));
    Treadling* tr = doc->raw().treadlingMutable(0);
    tr->Append(kSize);
    for (int p = 0; p < kSize; ++p) {
        if (liftplan) tr->SetShafts(p, TUPTYPE(rng()));
        else tr->SetValue(p, 1 + int(rng() % 128));
    }
    return doc;
}

const CQuillabyDoc& draft(bool liftplan)
{
    static const auto tieup = bigDraft(false), lift = bigDraft(true);
    return liftplan ? *lift : *tieup;
}

// Arguments: liftplan (0/1), threshold, face only (0/1).
void BM_FloatsCount(benchmark::State& state)
{
    const CQuillabyDoc& doc = draft(state.range(0) != 0);
    const FloatCriteria c{static_cast<int>(state.range(1)), state.range(2) != 0};
    for (auto _ : state) {
        const FloatThreads t = FindFloatThreads(doc, c);
        benchmark::DoNotOptimize(t.endCount + t.pickCount);
    }
}

// The dialog recounts one direction: 0 warp, 1 weft. Arguments: liftplan, direction.
void BM_DialogRecount(benchmark::State& state)
{
    const CQuillabyDoc& doc = draft(state.range(0) != 0);
    const FloatDirection d = state.range(1) ? FloatDirection::Weft : FloatDirection::Warp;
    for (auto _ : state) {
        const FloatSearch s(doc, d, {7, false});
        benchmark::DoNotOptimize(s.found());
    }
}

} // namespace

BENCHMARK(BM_FloatsCount)
    ->ArgNames({"liftplan", "min", "face"})
    ->Args({0, 7, 0})
    ->Args({0, 7, 1})
    ->Args({0, 99, 0})
    ->Args({1, 7, 0})
    ->Args({1, 99, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_DialogRecount)
    ->ArgNames({"liftplan", "weft"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
