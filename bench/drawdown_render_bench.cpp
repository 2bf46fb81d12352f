// Painting a pane-sized region of the drawdown picture of a 32768 x 32768
// draft (64 shafts, 128 treadles, random), as the drawdown pane does per paint.
#include "core/draft/drawdown.h"
#include "core/draft/quillabydoc.h"
#include "core/draft/threadlayout.h"
#include "core/graphic/drawdownimage.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

using namespace qb;

namespace {

constexpr int kSize = 32768;
constexpr int kPaneW = 1600, kPaneH = 1000;

std::unique_ptr<CQuillabyDoc> makeDraft(bool liftplan)
{
    auto d = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults defaults;
    defaults.shafts = 64;
    defaults.treadles = 128;
    defaults.liftplan = liftplan;
    defaults.defaultColors = {0x0000FF, 0xFF0000, 0x00FF00};
    d->OnNewDocument(defaults);
    std::mt19937_64 rng(42);
    Threading* th = d->raw().threadingMutable(0);
    th->Append(kSize);
    for (int e = 0; e < kSize; ++e) {
        th->SetValue(e, 1 + int(rng() % 64));
        th->SetColor(e, 1 + int(rng() % 3));
    }
    for (int t = 0; t < 128; ++t) d->raw().tieupMutable().setColumn(t, TUPTYPE(rng()));
    Treadling* tr = d->raw().treadlingMutable(0);
    tr->Append(kSize);
    for (int p = 0; p < kSize; ++p) {
        if (liftplan) tr->SetShafts(p, TUPTYPE(rng())); // every pick its own lift
        else tr->SetValue(p, 1 + int(rng() % 128));
        tr->SetColor(p, int(rng() % 4));
    }
    return d;
}

const CQuillabyDoc& bigDraft(bool liftplan = false)
{
    static std::unique_ptr<CQuillabyDoc> treadled = makeDraft(false);
    static std::unique_ptr<CQuillabyDoc> lifted = makeDraft(true);
    return liftplan ? *lifted : *treadled;
}

void paint(benchmark::State& state, int cell, bool interlace)
{
    const CQuillabyDoc& doc = bigDraft();
    DrawdownRows rows(doc); // built once per draft change, not per paint
    const ThreadLayout ends(*doc.threading(0), doc.numEnds());
    const ThreadLayout picks(*doc.treadling(0), doc.numPicks());
    DrawdownStyle style;
    style.cellWidth = style.cellHeight = cell;
    style.interlace = interlace;
    style.coloring = static_cast<int>(state.range(0));
    std::vector<std::uint32_t> px(static_cast<std::size_t>(kPaneW) * kPaneH);
    std::mt19937 rng(1);
    for (auto _ : state) {
        // A different scroll position each paint.
        const int x0 = int(rng() % (ends.totalCells() * cell - kPaneW));
        const int y0 = int(rng() % (picks.totalCells() * cell - kPaneH));
        RenderDrawdown(doc, rows, style, ends, picks, x0, y0, {px.data(), kPaneW, kPaneH, kPaneW});
        benchmark::DoNotOptimize(px.data());
    }
}

void BM_Paint1px(benchmark::State& state)
{
    paint(state, 1, false);
}
void BM_Paint12pxInterlaced(benchmark::State& state)
{
    paint(state, 12, true);
}
void BM_Paint12pxFlat(benchmark::State& state)
{
    paint(state, 12, false);
}

// After an edit: new rows, then the first paint computes the rows of the lifts it meets.
void BM_Paint1pxAfterEdit(benchmark::State& state)
{
    // Arg 1: a random liftplan, so no two visible picks share a row.
    const CQuillabyDoc& doc = bigDraft(state.range(0) == 1);
    const ThreadLayout ends(*doc.threading(0), doc.numEnds());
    const ThreadLayout picks(*doc.treadling(0), doc.numPicks());
    DrawdownStyle style;
    style.cellWidth = style.cellHeight = 1;
    std::vector<std::uint32_t> px(static_cast<std::size_t>(kPaneW) * kPaneH);
    for (auto _ : state) {
        DrawdownRows rows(doc);
        RenderDrawdown(doc, rows, style, ends, picks, 5000, 7000, {px.data(), kPaneW, kPaneH, kPaneW});
        benchmark::DoNotOptimize(px.data());
    }
}

void BM_BuildRows(benchmark::State& state)
{
    const CQuillabyDoc& doc = bigDraft();
    for (auto _ : state) {
        DrawdownRows rows(doc);
        benchmark::DoNotOptimize(rows.row(0).warpUp);
    }
}

} // namespace

BENCHMARK(BM_Paint1px)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paint12pxInterlaced)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paint12pxFlat)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paint1pxAfterEdit)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildRows)->Unit(benchmark::kMillisecond);
