// A 4000 x 4000 picture under a 400 x 400 grid becomes a draft (target: a
// second at most), and the same picture read from each kind of file.
#include "core/draft/quillabydoc.h"
#include "core/imagedraft/picturedraft.h"
#include "core/picture/picturereader.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <random>

using namespace qb;

namespace {

constexpr int kSide = 4000;
constexpr int kGrid = 400;

// A scanned motif: a ring, a diagonal band and a block of checks, in greys
// with a little noise, as a photograph of a drawing would be.
RgbPicture motif()
{
    RgbPicture p = RgbPicture::Blank(kSide, kSide);
    std::mt19937 rng(1);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const double r = std::hypot(x - 1400.0, y - 1500.0);
            const bool ring = r > 700 && r < 1100;
            const bool band = std::abs((x - y) - 1500) < 250;
            const bool checks = x > 2600 && y > 2600 && ((x / 200 + y / 200) % 2 == 0);
            const int base = ring || band || checks ? 40 : 215;
            const int g = std::clamp(base + int(rng() % 41) - 20, 0, 255);
            p.at(x, y) = OpaqueRgb(g, g, g);
        }
    return p;
}

// Thirty kinds of column crossed with thirty kinds of row, at random: a
// block design that fits the loom, so the whole grid is converted and the
// cell operation changes the draft at most dark squares.
RgbPicture blocks()
{
    RgbPicture p = RgbPicture::Blank(kSide, kSide);
    std::mt19937 rng(2);
    std::vector<std::vector<bool>> design(30, std::vector<bool>(30));
    for (auto& row : design)
        for (std::size_t i = 0; i < row.size(); ++i) row[i] = rng() % 2;
    std::vector<int> columnKind(kGrid), rowKind(kGrid);
    for (int& k : columnKind) k = int(rng() % 30);
    for (int& k : rowKind) k = int(rng() % 30);
    const int side = kSide / kGrid;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            if (design[columnKind[x / side]][rowKind[y / side]]) p.at(x, y) = 0xFF000000;
    return p;
}

void generate(benchmark::State& state, const RgbPicture& pic)
{
    FixedPrompter prompter;
    NewDraftDefaults defaults;
    defaults.defaultColors = {0x000000};
    int shafts = 0, treadles = 0;
    bool full = false;
    for (auto _ : state) {
        PictureDraft made = GenerateDraft(pic, {kGrid, kGrid}, defaults, prompter);
        shafts = made.made.draft->numShafts();
        treadles = made.made.draft->numTreadles();
        full = made.full;
        benchmark::DoNotOptimize(made.made.draft.get());
    }
    state.counters["shafts"] = shafts;
    state.counters["treadles"] = treadles;
    state.counters["full"] = full;
}

void BM_GenerateDraftMotif(benchmark::State& state)
{
    generate(state, motif());
}
void BM_GenerateDraftBlocks(benchmark::State& state)
{
    generate(state, blocks());
}
void BM_GenerateDraftBlack(benchmark::State& state)
{
    generate(state, RgbPicture::Blank(kSide, kSide, 0xFF000000));
}

void BM_ReadPicture(benchmark::State& state, const char* ext)
{
    const std::string path = std::string("/tmp/quillaby-picture-bench.") + ext;
    std::string error;
    if (!WritePictureFile(path, motif(), error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state) {
        RgbPicture p;
        if (!ReadPictureFile(path, p, error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(p.pixels.data());
    }
    std::remove(path.c_str());
}

} // namespace

BENCHMARK(BM_GenerateDraftMotif)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenerateDraftBlocks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenerateDraftBlack)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadPicture, png, "png")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadPicture, bmp, "bmp")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadPicture, tiff, "tif")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadPicture, jpeg, "jpg")->Unit(benchmark::kMillisecond);
