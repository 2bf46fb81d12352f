// The drawdown pencil on a 32768 x 32768 draft: one click, worked out and
// recorded (the loom grows by a shaft and a treadle at most), then undone
// outside the timing.
#include "core/draft/drawdown.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/drawcrossing.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace qb;

namespace {

constexpr int kSize = 32768;

std::unique_ptr<CQuillabyDoc> largeDraft(bool liftplan)
{
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults d;
    d.shafts = 32;
    d.treadles = 64;
    d.defaultColors = {0x000000, 0x0000FF};
    doc->OnNewDocument(d);
    if (liftplan) {
        doc->raw().setLoomRaw(32, 32, true);
        doc->raw().treadlingMutable(0)->SetLimit(32);
        doc->raw().treadlingMutable(0)->setMultiple(true);
        doc->raw().replaceTieup(std::make_unique<Tieup>(32, 32));
        doc->raw().tieupMutable().makeDirect();
    }
    std::mt19937_64 rng(7);
    Threading* th = doc->raw().threadingMutable(0);
    Treadling* tr = doc->raw().treadlingMutable(0);
    th->Append(kSize);
    tr->Append(kSize);
    for (int i = 0; i < kSize; ++i) {
        th->SetValue(i, 1 + int(rng() % 32));
        if (liftplan) tr->SetShafts(i, TUPTYPE(rng() & 0xFFFFFFFFu));
        else tr->SetValue(i, 1 + int(rng() % 64));
    }
    if (!liftplan)
        for (int t = 0; t < 64; ++t) doc->raw().tieupMutable().setColumn(t, TUPTYPE(rng() & 0xFFFFFFFFu));
    doc->DiscardHistory();
    return doc;
}

void clicks(benchmark::State& state, bool liftplan)
{
    auto doc = largeDraft(liftplan);
    std::mt19937 rng(3);
    for (auto _ : state) {
        const int end = int(rng() % kSize), pick = int(rng() % kSize);
        const bool up = DrawdownCell(*doc, end, pick) != Cell::WarpUp;
        doc->Transaction("Pencil", [&](Edit e) { benchmark::DoNotOptimize(DrawCrossing(e, *doc, end, pick, up)); });
        state.PauseTiming();
        doc->Undo();
        doc->DiscardHistory();
        state.ResumeTiming();
    }
}

void BM_DrawCrossingTieup(benchmark::State& state)
{
    clicks(state, false);
}
void BM_DrawCrossingLiftplan(benchmark::State& state)
{
    clicks(state, true);
}

} // namespace

BENCHMARK(BM_DrawCrossingTieup)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawCrossingLiftplan)->Unit(benchmark::kMillisecond);
