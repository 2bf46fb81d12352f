// The Float Search dialog on a 32768 x 32768 draft: counting again when the
// weaver changes the direction or the threshold (target: as fast as the
// core's count, 1 s), and stepping to the next thread with its highlight.
#include "ui/app/defaultpalette.h"
#include "ui/app/mainframe.h"
#include "ui/app/recentfilelist.h"
#include "ui/floats/floatsearchdialog.h"
#include "ui/views/draftwindow.h"

#include "core/draft/quillabydoc.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

using namespace qb;

namespace {

constexpr int kSize = 32768;

// 64 shafts drawn at random, 128 random tieup columns, one treadle per pick.
std::unique_ptr<CQuillabyDoc> bigDraft()
{
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults d;
    d.shafts = 64;
    d.treadles = 128;
    doc->OnNewDocument(d);
    std::mt19937_64 rng(42);
    Threading* th = doc->raw().threadingMutable(0);
    th->Append(kSize);
    for (int e = 0; e < kSize; ++e) th->SetValue(e, rng() % 100 == 0 ? 0 : 1 + int(rng() % 64));
    for (int t = 0; t < 128; ++t) doc->raw().tieupMutable().setColumn(t, TUPTYPE(rng()));
    Treadling* tr = doc->raw().treadlingMutable(0);
    tr->Append(kSize);
    for (int p = 0; p < kSize; ++p) tr->SetValue(p, 1 + int(rng() % 128));
    return doc;
}

struct Fixture {
    QTemporaryDir settings;
    CDefaultPalette palette;
    CRecentFileList recent;
    std::unique_ptr<CMainFrame> main;
    CFloatSearchDialog* dialog = nullptr;

    Fixture()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        main = std::make_unique<CMainFrame>(palette, recent);
        main->setMessageHandler([](const QString&) {});
        main->resize(1400, 900);
        main->show();
        main->addDocumentWindow(bigDraft(), QString());
        dialog = CFloatSearchDialog::open(main.get());
        dialog->thresholdBox()->setValue(7);
    }
};

// Made on first use, gone before the application object.
std::unique_ptr<Fixture> g_fixture;

Fixture& fixture()
{
    if (!g_fixture) g_fixture = std::make_unique<Fixture>();
    return *g_fixture;
}

// Argument: 0 warp, 1 weft; each iteration flips the threshold, which counts again.
void BM_DialogRecount(benchmark::State& state)
{
    CFloatSearchDialog* d = fixture().dialog;
    (state.range(0) ? d->weftButton() : d->warpButton())->setChecked(true);
    int k = 7;
    for (auto _ : state) {
        k = k == 7 ? 8 : 7;
        d->thresholdBox()->setValue(k);
        benchmark::DoNotOptimize(d->found());
    }
    state.counters["found"] = d->found();
}

// Show Next: the next thread, its floats framed in the drawdown and scrolled to.
void BM_ShowNext(benchmark::State& state)
{
    CFloatSearchDialog* d = fixture().dialog;
    (state.range(0) ? d->weftButton() : d->warpButton())->setChecked(true);
    for (auto _ : state) {
        if (!d->nextButton()->isEnabled()) d->recount();
        d->nextButton()->click();
        QApplication::processEvents();
    }
}

} // namespace

BENCHMARK(BM_DialogRecount)->ArgName("weft")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(BM_ShowNext)->ArgName("weft")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(20);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_fixture.reset();
    return 0;
}
