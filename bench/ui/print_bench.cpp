// Printing to PDF: a 32768 x 32768 draft at Size to Fit (target 5 s), and a
// page of a draft at a fixed scale.
#include "printing/draftpages.h"

#include "core/draft/quillabydoc.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

using namespace qb;

namespace {

std::unique_ptr<CQuillabyDoc> draftOf(int size)
{
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults d;
    d.shafts = 64;
    d.treadles = 128;
    doc->OnNewDocument(d);
    std::mt19937_64 rng(7);
    Threading* th = doc->raw().threadingMutable(0);
    th->Append(size);
    for (int e = 0; e < size; ++e) th->SetValue(e, 1 + int(rng() % 64));
    for (int t = 0; t < 128; ++t) doc->raw().tieupMutable().setColumn(t, TUPTYPE(rng()));
    Treadling* tr = doc->raw().treadlingMutable(0);
    tr->Append(size);
    for (int p = 0; p < size; ++p) tr->SetValue(p, 1 + int(rng() % 128));
    return doc;
}

// Arguments: threads each way, dots per inch; Size to Fit.
void BM_PrintFitToPdf(benchmark::State& state)
{
    const auto doc = draftOf(int(state.range(0)));
    QTemporaryDir dir;
    PrintOptions options;
    options.fit = true;
    int pages = 0;
    for (auto _ : state) {
        QString error;
        WriteDraftPdf(*doc, PrintKind::Draft, options, {}, QStringLiteral("big"), dir.filePath(QStringLiteral("b.pdf")),
                      int(state.range(1)), &error, &pages);
    }
    state.counters["pages"] = pages;
}

// Arguments: threads each way; scale 10 at 300 dpi, every page.
void BM_PrintScaledToPdf(benchmark::State& state)
{
    const auto doc = draftOf(int(state.range(0)));
    QTemporaryDir dir;
    PrintOptions options;
    int pages = 0;
    for (auto _ : state) {
        QString error;
        WriteDraftPdf(*doc, PrintKind::Draft, options, {}, QStringLiteral("page"),
                      dir.filePath(QStringLiteral("p.pdf")), 300, &error, &pages);
    }
    state.counters["pages"] = pages;
}

} // namespace

BENCHMARK(BM_PrintFitToPdf)
    ->Args({32768, 300})
    ->Args({32768, 1200})
    ->Args({2000, 1200})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_PrintScaledToPdf)->Arg(64)->Arg(400)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
