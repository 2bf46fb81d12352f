// Shows a sample draft in the draft window, for looking at the panes by eye:
//   quillaby-viewdemo [--drawn-up] [--fabric] [--back] [--grab out.png] [--zoom N] [--interlace]
//                     [--warp|--weft] [--alpha] [--numeric-tieup] [--warps N] [--hide-drawdown]
//                     [--file draft.wif]
#include "ui/views/draftframe.h"
#include "ui/views/paneframes.h"

#include "core/draft/iprompter.h"
#include "core/draft/quillabydoc.h"
#include "core/wif/wifreader.h"

#include <QApplication>
#include <QFileInfo>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

using namespace qb;

static void buildSample(CQuillabyDoc& doc, int warps)
{
    NewDraftDefaults d;
    d.defaultColors = {0x000000, 0x0000C0, 0x2080E0, 0x804000, 0x00A000};
    doc.OnNewDocument(d);
    if (warps > 1) doc.SetNumRows(kUnrecorded, Side::Threading, warps);
    const int ends = 64, picks = 48;
    for (int e = 0; e < ends; ++e) {
        const int k = e % 14;
        const int shaft = 1 + (k < 8 ? k : 14 - k);
        doc.SetThreadingCell(kUnrecorded, e, shaft, warps > 1 ? e % warps : 0);
        doc.SetThreadColors(kUnrecorded, Side::Threading, e, e, (e / 4) % 2 ? 2 : 3);
    }
    for (int p = 0; p < picks; ++p) {
        const int k = p % 14;
        doc.SetTreadlingCell(kUnrecorded, p, 1 + (k < 8 ? k : 14 - k));
        doc.SetThreadColors(kUnrecorded, Side::Treadling, p, p, (p / 6) % 2 ? 4 : 1);
    }
    Tieup& t = doc.raw().tieupMutable();
    for (int tr = 0; tr < 8; ++tr) {
        t.setColumn(tr, TUPTYPE());
        for (int s : {0, 1, 4}) t.setCell(tr, 1 + (tr + s) % 8);
    }
    doc.SetThick(kUnrecorded, Side::Threading, 10, true);
    doc.SetRatio(kUnrecorded, Side::Threading, 2);
    doc.AddLabel(kUnrecorded, Side::Threading, Label{2, 8, "Border"});
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    auto has = [&](const char* a) { return args.contains(QString::fromUtf8(a)); };
    auto value = [&](const char* a, const QString& def) {
        const int i = args.indexOf(QString::fromUtf8(a));
        return i >= 0 && i + 1 < args.size() ? args[i + 1] : def;
    };
    CQuillabyDoc doc;
    const QString file = value("--file", QString());
    QString title = QStringLiteral("sample.wif");
    if (file.isEmpty()) {
        buildSample(doc, value("--warps", "1").toInt());
    } else {
        QuietPrompter quiet;
        WifReadOptions options;
        options.liftplan = LiftplanChoice::Liftplan;
        std::string error;
        if (!ReadWifFile(file.toStdString(), doc, quiet, options, &error)) {
            qWarning("%s", error.c_str());
            return 1;
        }
        title = QFileInfo(file).fileName();
    }
    if (has("--alpha")) doc.raw().notations.threading = kAlpha;
    if (has("--numeric-tieup")) doc.raw().notations.tieup = kNumeric;
    doc.raw().notations.drawdown = has("--interlace") ? kInterlaced : kPlain;

    QMainWindow win;
    auto* mdi = new QMdiArea;
    win.setCentralWidget(mdi);
    win.resize(1600, 1000);
    CellScale scale;
    const bool drawnUp = has("--drawn-up");
    CGridFrame* frame = has("--fabric") || has("--back")
        ? CreateGridFrame(has("--back") ? FrameKind::FabricBack : FrameKind::Fabric, &doc, scale, drawnUp, true)
        : CDraftFrame::create(&doc, scale, drawnUp, true);
    frame->setDocumentTitle(title);
    QMdiSubWindow* sub = mdi->addSubWindow(frame);
    sub->setWindowTitle(frame->frameTitle());
    sub->resize(1400, 900);
    for (QAction* a : frame->frameActions()) (void)a;
    for (int i = value("--zoom", "0").toInt(); i > 0; --i) frame->zoomIn();
    for (int i = value("--zoom", "0").toInt(); i < 0; ++i) frame->zoomOut();
    if (has("--warp")) frame->setColoring(1);
    if (has("--weft")) frame->setColoring(2);
    if (has("--hide-drawdown")) frame->toggleHidden(PaneKind::Drawdown);
    win.show();
    const QString grab = value("--grab", QString());
    if (!grab.isEmpty()) {
        QTimer::singleShot(300, [&] {
            win.grab().save(grab);
            app.quit();
        });
    }
    return app.exec();
}
