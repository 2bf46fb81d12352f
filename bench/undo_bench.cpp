// Undo and redo of whole-draft commands on a 32768 x 32768 draft with 64
// shafts, 128 treadles, four warps and four wefts (the largest draft there
// is), and the cost of recording a pencil stroke cell by cell.
#include "core/draft/quillabydoc.h"
#include "core/transform/repeat.h"
#include "core/transform/tieupops.h"
#include "core/transform/turndraft.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace qb;

namespace {

constexpr int kSize = 32768;

std::unique_ptr<CQuillabyDoc> largestDraft(int rows = 4)
{
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults d;
    d.shafts = 64;
    d.treadles = 128;
    d.defaultColors = {0x000000, 0x0000FF, 0x00FF00};
    doc->OnNewDocument(d);
    doc->SetNumRows(kUnrecorded, Side::Threading, rows);
    doc->SetNumRows(kUnrecorded, Side::Treadling, rows);
    std::mt19937_64 rng(42);
    for (int r = 0; r < rows; ++r) {
        Threading* th = doc->raw().threadingMutable(r);
        th->Append(kSize);
        Treadling* tr = doc->raw().treadlingMutable(r);
        tr->Append(kSize);
        for (int i = 0; i < kSize; ++i) {
            if (r == 0) th->SetValue(i, 1 + int(rng() % 64));
            if (r == 0) tr->SetValue(i, 1 + int(rng() % 64)); // turning needs at most 64
            th->SetColor(i, int(rng() % 3));
            tr->SetColor(i, int(rng() % 3));
        }
    }
    for (int t = 0; t < 128; ++t) doc->raw().tieupMutable().setColumn(t, TUPTYPE(rng()));
    return doc;
}

// One command done once, then undone and redone over and over: each
// iteration is one undo or one redo.
template <class F> void undoRedo(benchmark::State& state, F&& command, int rows = 4)
{
    auto doc = largestDraft(rows);
    FixedPrompter yes(true);
    doc->Transaction("Command", [&](Edit e) { command(e, *doc, yes); });
    bool undo = true;
    for (auto _ : state) {
        if (undo) doc->Undo();
        else doc->Redo();
        undo = !undo;
        benchmark::DoNotOptimize(doc->numEnds());
    }
}

void BM_UndoRedoReverseThreading(benchmark::State& state)
{
    undoRedo(state, [](Edit e, CQuillabyDoc& d, IPrompter&) { ReverseThreads(e, d, Side::Threading); });
}

void BM_UndoRedoTurnDraft(benchmark::State& state)
{
    undoRedo(state, [](Edit e, CQuillabyDoc& d, IPrompter& p) { TurnDraft(e, d, p); });
}

void BM_UndoRedoConvertToLiftplan(benchmark::State& state)
{
    // A liftplan holds one weft.
    undoRedo(
        state, [](Edit e, CQuillabyDoc& d, IPrompter& p) { ConvertToLiftplan(e, d, p); }, 1);
}

// A stroke of the pencil across 1000 ends of the largest draft: the time per
// cell, recording included, and the undo of the whole stroke.
void BM_PencilStrokePerCell(benchmark::State& state)
{
    auto doc = largestDraft();
    constexpr int kCells = 1000;
    int shaft = 1;
    for (auto _ : state) {
        doc->Transaction("Pencil", [&](Edit e) {
            for (int end = 0; end < kCells; ++end) doc->SetThreadingCell(e, 5000 + end, shaft);
        });
        shaft = shaft % 64 + 1;
        state.PauseTiming();
        doc->DiscardHistory();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kCells);
}

} // namespace

BENCHMARK(BM_UndoRedoReverseThreading)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoRedoTurnDraft)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoRedoConvertToLiftplan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PencilStrokePerCell)->Unit(benchmark::kMicrosecond);
