// What a weaver waits for in a graphic window holding a 4000 x 4000 scan:
// one repaint of the picture with a 127 x 127 grid laid over it, and one live
// Brightness/Contrast preview.
#include "core/picture/pictureops.h"
#include "ui/pictures/pictureview.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

using namespace qb;

namespace {

RgbPicture scan()
{
    RgbPicture p = RgbPicture::Blank(4000, 4000);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) p.at(x, y) = OpaqueRgb((x * 7) & 255, (y * 3) & 255, ((x ^ y) * 5) & 255);
    return p;
}

const RgbPicture& picture()
{
    static const RgbPicture p = scan();
    return p;
}

void BM_PaintPicture(benchmark::State& state)
{
    CPictureView view;
    view.setPicture(&picture());
    view.setGrid({127, 127});
    view.setZoom(double(state.range(0)) / 100.0);
    // A 1600 x 1000 window's worth of the picture.
    QImage target(1600, 1000, QImage::Format_RGB32);
    const QRect shown = QRect(QPoint(0, 0), view.displayedSize()).intersected(target.rect());
    for (auto _ : state) {
        QPainter p(&target);
        view.render(&p, QPoint(), QRegion(shown));
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_PaintPicture)->Arg(25)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

void BM_LightPreview(benchmark::State& state)
{
    for (auto _ : state) {
        RgbPicture preview = LightPreview(picture(), 40, 25);
        benchmark::DoNotOptimize(preview.pixels.data());
    }
}
BENCHMARK(BM_LightPreview)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
