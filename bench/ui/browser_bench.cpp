// The Draft Browser on a folder of 2000 drafts: the first preview after the
// folder is chosen (target 200 ms), and the longest the window is kept busy
// by one step to the next file with the arrow key (target 50 ms).
#include "ui/app/defaultpalette.h"
#include "ui/app/mainframe.h"
#include "ui/app/recentfilelist.h"
#include "ui/base/storedsettings.h"
#include "ui/browser/draftbrowser.h"
#include "ui/browser/previewloader.h"

#include "core/draft/quillabydoc.h"
#include "core/wif/wifwriter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <random>

using namespace qb;

namespace {

constexpr int kDrafts = 2000;

struct Fixture {
    QTemporaryDir settings;
    QTemporaryDir folder;
    CDefaultPalette palette;
    CRecentFileList recent;
    std::unique_ptr<CMainFrame> main;

    Fixture()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        // Synthetic drafts of 8 to 24 shafts and 50 to 400 threads.
        std::mt19937 rng(3);
        for (int i = 0; i < kDrafts; ++i) {
            CQuillabyDoc doc;
            NewDraftDefaults d;
            d.shafts = d.treadles = 8 + int(rng() % 17);
            doc.OnNewDocument(d);
            const int n = 50 + int(rng() % 350);
            for (int e = 0; e < n; ++e) doc.SetThreadingCell(kUnrecorded, e, 1 + int(rng() % d.shafts));
            for (int p = 0; p < n; ++p) doc.SetTreadlingCell(kUnrecorded, p, 1 + int(rng() % d.treadles));
            for (int t = 1; t <= d.treadles; ++t) doc.SetTieupCell(kUnrecorded, t, 1 + int(rng() % d.shafts));
            WriteWifFile(doc, folder.filePath(QStringLiteral("d%1.wif").arg(i, 4, 10, QChar('0'))).toStdString());
        }
        main = std::make_unique<CMainFrame>(palette, recent);
        main->setMessageHandler([](const QString&) {});
        main->resize(1400, 900);
        main->show();
    }
};

std::unique_ptr<Fixture> g_fixture;

Fixture& fixture()
{
    if (!g_fixture) g_fixture = std::make_unique<Fixture>();
    return *g_fixture;
}

CDraftBrowser* browser()
{
    fixture().main->settingsMutable().DfltBrowseLocn = fixture().folder.path();
    return OpenDraftBrowser(fixture().main.get());
}

// From choosing the folder to its first draft drawn in the preview.
void BM_FirstPreview(benchmark::State& state)
{
    CDraftBrowser* b = browser();
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        b->showFolder(fixture().folder.path());
        const QString first = b->selectedPath();
        while (b->previewPath() != first || b->loader()->busy())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
    }
    state.counters["files"] = b->fileList()->topLevelItemCount();
}

// Arrow keys through the folder: the longest single stretch the window's
// thread spends on a key press or on showing a preview that arrived.
void BM_NextFileBlocks(benchmark::State& state)
{
    CDraftBrowser* b = browser();
    QTreeWidget* list = b->fileList();
    list->setFocus();
    double longest = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
        QCoreApplication::sendEvent(list, &press);
        QCoreApplication::sendEvent(list, &release);
        double ms = t.nsecsElapsed() / 1e6;
        longest = std::max(longest, ms);
        // Let a finished read reach the window, and time that too.
        for (int i = 0; i < 3; ++i) {
            t.restart();
            QCoreApplication::processEvents();
            longest = std::max(longest, t.nsecsElapsed() / 1e6);
            QThread::msleep(2);
        }
    }
    state.counters["longest_ms"] = longest;
}

} // namespace

BENCHMARK(BM_FirstPreview)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_NextFileBlocks)->Unit(benchmark::kMillisecond)->Iterations(300);

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
