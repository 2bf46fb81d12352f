// Opening and saving the largest draft a file can hold: 32768 ends and picks,
// 4 warps and 4 wefts, 64 shafts, 128 treadles, 90 colors, every thread
// colored, labels, characters and thick threads. The same file is also
// parsed by Python's configparser for comparison (when python3 is there).
#include "core/draft/iprompter.h"
#include "core/draft/quillabydoc.h"
#include "core/wif/inifile.h"
#include "core/wif/wifreader.h"
#include "core/wif/wifwriter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sys/resource.h>
#include <unistd.h>

using namespace qb;

namespace {

constexpr int kSize = 32768;

std::unique_ptr<CQuillabyDoc> bigDraft()
{
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults d;
    d.shafts = 64;
    d.treadles = 128;
    doc->OnNewDocument(d);
    std::mt19937_64 rng(7);
    ColorPalette& pal = doc->raw().paletteMutable();
    while (pal.count() < kMaxColors) pal.add(static_cast<COLORREF>(rng() & 0xFFFFFF), false, "yarn");
    doc->SetNumRows(kUnrecorded, Side::Threading, 4);
    doc->SetNumRows(kUnrecorded, Side::Treadling, 4);
    for (int r = 0; r < 4; ++r) {
        Threading& t = *doc->raw().threadingMutable(r);
        t.Append(kSize);
        Treadling& w = *doc->raw().treadlingMutable(r);
        w.Append(kSize);
        for (int i = 0; i < kSize; ++i) {
            t.SetValue(i, 1 + int(rng() % 64));
            t.SetColor(i, int(rng() % kMaxColors));
            w.SetValue(i, 1 + int(rng() % 128));
            w.SetColor(i, int(rng() % kMaxColors));
        }
    }
    for (int i = 0; i < kSize; i += 7) {
        doc->raw().threadingMutable(0)->SetSymbol(i, 'a' + i % 26);
        doc->raw().threadingMutable(0)->SetThick(i, true);
        doc->raw().treadlingMutable(0)->SetThick(i, true);
    }
    for (int i = 0; i < kSize; i += 64) doc->raw().threadingMutable(0)->AddLabel(Label{i, 32, "block"});
    for (int t = 0; t < 128; ++t) doc->raw().tieupMutable().setColumn(t, TUPTYPE(rng()));
    doc->raw().notes = "A benchmark draft.\r\n";
    return doc;
}

std::string g_path;

const std::string& bigPath()
{
    if (g_path.empty()) {
        g_path = "/tmp/quillaby-bench-" + std::to_string(::getpid()) + ".wif";
        auto doc = bigDraft();
        WriteWifFile(*doc, g_path);
        std::atexit([] { std::remove(g_path.c_str()); });
    }
    return g_path;
}

long peakRssKb()
{
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss;
}

void BM_OpenLargestDraft(benchmark::State& state)
{
    const std::string& path = bigPath();
    QuietPrompter quiet;
    WifReadOptions options;
    options.liftplan = LiftplanChoice::Treadling;
    for (auto _ : state) {
        CQuillabyDoc doc;
        if (!ReadWifFile(path, doc, quiet, options)) state.SkipWithError("open failed");
        benchmark::DoNotOptimize(doc.numEnds());
    }
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    state.counters["file_MB"] = double(in.tellg()) / 1e6;
    state.counters["peak_rss_MB"] = double(peakRssKb()) / 1024.0;
}
BENCHMARK(BM_OpenLargestDraft)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SaveLargestDraft(benchmark::State& state)
{
    auto doc = bigDraft();
    const std::string path = bigPath() + ".saved.wif";
    for (auto _ : state) {
        std::string error;
        if (!WriteWifFile(*doc, path, &error)) state.SkipWithError(error.c_str());
    }
    std::remove(path.c_str());
    state.counters["peak_rss_MB"] = double(peakRssKb()) / 1024.0;
}
BENCHMARK(BM_SaveLargestDraft)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same file through Python's configparser, timed inside Python.
void BM_PythonConfigparserParse(benchmark::State& state)
{
    const std::string cmd = "python3 -c \"import configparser,sys,time\n"
                            "t=time.perf_counter()\n"
                            "c=configparser.ConfigParser(strict=False,interpolation=None)\n"
                            "c.read(sys.argv[1],encoding='latin-1')\n"
                            "print(time.perf_counter()-t)\" "
        + bigPath() + " 2>/dev/null";
    for (auto _ : state) {
        FILE* p = ::popen(cmd.c_str(), "r");
        double seconds = -1;
        if (!p || std::fscanf(p, "%lf", &seconds) != 1) {
            if (p) ::pclose(p);
            state.SkipWithError("python3 not available");
            return;
        }
        ::pclose(p);
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_PythonConfigparserParse)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_IndexOnly(benchmark::State& state)
{
    std::ifstream in(bigPath(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (auto _ : state) {
        IniFile ini(bytes);
        benchmark::DoNotOptimize(ini.hasSection("THREADING"));
    }
}
BENCHMARK(BM_IndexOnly)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
