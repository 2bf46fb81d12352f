// Dragging the line tool across 2000 ends in the threading of a 32768-end
// draft: the time of one mouse move (the edit, the update hints and the
// repaint of what changed), which has to stay well under a screen frame.
#include "ui/views/draftframe.h"
#include "ui/views/draftview.h"
#include "ui/views/tdinggridview.h"
#include "ui/views/tools/toolstate.h"

#include "core/draft/quillabydoc.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

using namespace qb;

namespace {

std::unique_ptr<CQuillabyDoc> bigDraft()
{
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults d;
    d.shafts = d.treadles = 16;
    doc->OnNewDocument(d);
    Threading* t = doc->raw().threadingMutable(0);
    Treadling* tr = doc->raw().treadlingMutable(0);
    t->Append(32768);
    tr->Append(32768);
    for (int i = 0; i < 32768; ++i) {
        t->SetValue(i, 1 + i % 16);
        tr->SetValue(i, 1 + (i * 7 / 3) % 16);
    }
    return doc;
}

void send(CGridView* pane, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons held)
{
    QWidget* vp = pane->viewport();
    QMouseEvent e(type, QPointF(pos), QPointF(vp->mapToGlobal(pos)), button, held, Qt::NoModifier);
    QApplication::sendEvent(vp, &e);
}

// Counts the paint events of the panes, to show each move is really painted.
struct PaintCounter : QObject {
    long paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

void BM_LineDragMove(benchmark::State& state)
{
    auto doc = bigDraft();
    const int cell = int(state.range(0));
    CDraftFrame* frame = CDraftFrame::create(doc.get(), CellScale{}, false, false);
    frame->setCellSizes(cell, 8, 8, cell);
    frame->resize(2000 * cell + 300, 900);
    frame->show();
    QApplication::processEvents();
    CThreadingView* th = frame->threadingView();
    // Start in the middle of the draft.
    th->horizontalScrollBar()->setValue(th->horizontalScrollBar()->maximum() / 2);
    QApplication::processEvents();
    CToolState::instance().setLineKind(LineKind::Point);
    CToolState::instance().setTool(Tool::Line);

    const int width = th->viewport()->width();
    const int ends = std::min(2000, width / cell - 2);
    const int y = th->itemRect(0, 3).center().y();
    auto xOf = [&](int k) { return width - 1 - cell / 2 - k * cell; };
    PaintCounter counter;
    th->viewport()->installEventFilter(&counter);
    frame->draftView()->viewport()->installEventFilter(&counter);
    int k = 0;
    send(th, QEvent::MouseButtonPress, QPoint(xOf(0), y), Qt::LeftButton, Qt::LeftButton);
    for (auto _ : state) {
        if (++k >= ends) {
            state.PauseTiming();
            send(th, QEvent::MouseButtonRelease, QPoint(xOf(k - 1), y), Qt::LeftButton, Qt::NoButton);
            doc->DiscardHistory();
            k = 1;
            send(th, QEvent::MouseButtonPress, QPoint(xOf(0), y), Qt::LeftButton, Qt::LeftButton);
            QApplication::processEvents();
            state.ResumeTiming();
        }
        send(th, QEvent::MouseMove, QPoint(xOf(k), y), Qt::NoButton, Qt::LeftButton);
        QApplication::processEvents(); // the repaint of the changed band
    }
    send(th, QEvent::MouseButtonRelease, QPoint(xOf(k), y), Qt::LeftButton, Qt::NoButton);
    state.counters["ends"] = ends;
    state.counters["paints/move"] = double(counter.paints) / std::max<double>(1, double(state.iterations()));
    delete frame;
}

} // namespace

BENCHMARK(BM_LineDragMove)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
