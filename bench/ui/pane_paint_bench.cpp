// Painting the visible drawdown of a 1600 x 1000 pane of a 32768 x 32768
// draft: what a weaver waits for on every scroll and edit.
#include "ui/views/draftview.h"
#include "ui/views/paneframes.h"

#include "core/draft/quillabydoc.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <memory>

using namespace qb;

namespace {

std::unique_ptr<CQuillabyDoc> bigDraft()
{
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults d;
    d.shafts = d.treadles = 16;
    d.defaultColors = {0x202020, 0x3060C0, 0xC08030, 0x30A050};
    doc->OnNewDocument(d);
    Threading* t = doc->raw().threadingMutable(0);
    Treadling* tr = doc->raw().treadlingMutable(0);
    t->Append(32768);
    tr->Append(32768);
    for (int i = 0; i < 32768; ++i) {
        const int k = i % 30, v = 1 + (k < 16 ? k : 30 - k);
        t->SetValue(i, v);
        tr->SetValue(i, 1 + (i * 7 / 3) % 16);
        t->SetColor(i, 1 + (i / 8) % 3);
        tr->SetColor(i, 1 + (i / 5) % 4);
    }
    Tieup& tu = doc->raw().tieupMutable();
    for (int c = 0; c < 16; ++c) {
        tu.setColumn(c, TUPTYPE());
        for (int s : {0, 1, 2, 5, 9}) tu.setCell(c, 1 + (c + s) % 16);
    }
    return doc;
}

struct Pane {
    std::unique_ptr<CQuillabyDoc> doc = bigDraft();
    CFabricFrame* frame = nullptr;
    CDraftView* view = nullptr;
    QImage target{1600, 1000, QImage::Format_RGB32};

    Pane(int cell, bool interlace)
    {
        doc->raw().notations.drawdown = interlace ? 4 : 0;
        frame = new CFabricFrame(doc.get(), CellScale{}, false);
        frame->setCellSizes(cell, cell, cell, cell);
        frame->show();
        view = frame->draftView();
        // Size the frame so the drawdown's viewport is exactly 1600 x 1000.
        const QSize extra = frame->size() - view->viewport()->size();
        frame->resize(QSize(1600, 1000) + extra);
        QApplication::processEvents();
        view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum() / 2);
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum() / 2);
    }
    ~Pane() { delete frame; }
    void paint()
    {
        QPainter p(&target);
        view->viewport()->render(&p);
    }
};

void paintVisible(benchmark::State& state, int cell, bool interlace)
{
    Pane pane(cell, interlace);
    if (pane.view->viewport()->size() != QSize(1600, 1000)) state.SkipWithError("viewport not 1600 x 1000");
    pane.paint(); // the rows are built once per draft change
    for (auto _ : state) {
        pane.paint();
        benchmark::DoNotOptimize(pane.target.constBits());
    }
    state.counters["cells"] = double(1600 / cell) * (1000 / cell);
}

void BM_Paint1px(benchmark::State& s)
{
    paintVisible(s, 1, false);
}
void BM_Paint12pxInterlaced(benchmark::State& s)
{
    paintVisible(s, 12, true);
}
void BM_Paint12px(benchmark::State& s)
{
    paintVisible(s, 12, false);
}

// Scrolling one page and painting the newly shown part.
void BM_ScrollPage1px(benchmark::State& state)
{
    Pane pane(1, false);
    QScrollBar* bar = pane.view->verticalScrollBar();
    int dir = 1;
    for (auto _ : state) {
        int v = bar->value() + dir * bar->pageStep();
        if (v > bar->maximum() || v < 0) dir = -dir, v = bar->value() + dir * bar->pageStep();
        bar->setValue(v);
        pane.paint();
    }
}

// An edit: the rows are rebuilt and the pane repainted.
void BM_EditThenPaint1px(benchmark::State& state)
{
    Pane pane(1, false);
    int shaft = 1;
    for (auto _ : state) {
        pane.doc->SetThreadingCell(kUnrecorded, 16000, shaft = shaft % 16 + 1);
        pane.paint();
    }
}

} // namespace

BENCHMARK(BM_Paint1px)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paint12pxInterlaced)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paint12px)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollPage1px)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditThenPaint1px)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
