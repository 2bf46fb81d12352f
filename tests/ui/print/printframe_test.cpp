#include "tests/ui/mainwindowfixture.h"
#include "ui/print/printcommands.h"

#include "core/draft/quillabydoc.h"
#include "printing/draftpages.h"
#include "ui/base/imainwindow.h"
#include "ui/heddles/heddlewindow.h"
#include "ui/views/draftframe.h"
#include "ui/views/draftwindow.h"
#include "ui/views/paneframes.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>

namespace {

using namespace qb;

int pdfPages(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    p.waitForFinished();
    for (const QByteArray& line : p.readAllStandardOutput().split('\n'))
        if (line.startsWith("Pages:")) return line.mid(6).trimmed().toInt();
    return -1;
}

class PrintFrameTest : public MainWindowTest {
protected:
    CDraftWindow* draft(int ends)
    {
        m_main->newDocument();
        CDraftWindow* w = m_main->activeDraftWindow();
        CQuillabyDoc& doc = w->document();
        doc.Transaction("Set up", [&](Edit e) {
            for (int i = 0; i < ends; ++i) {
                doc.SetThreadingCell(e, i, 1 + i % 8);
                doc.SetTreadlingCell(e, i, 1 + i % 8);
            }
        });
        return w;
    }
    void TearDown() override
    {
        SharedPrintOptions() = PrintOptions{};
        MainWindowTest::TearDown();
    }
};

TEST_F(PrintFrameTest, FileMenuOffersPrintingAndTheBrowser)
{
    draft(10);
    ASSERT_NE(item(QStringLiteral("&File"), QStringLiteral("&Print...")), nullptr);
    ASSERT_NE(item(QStringLiteral("&File"), QStringLiteral("Print Pre&view")), nullptr);
    QAction* browse = item(QStringLiteral("&File"), QStringLiteral("Draft Browser"));
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(browse->shortcut(), QKeySequence(QStringLiteral("Ctrl+H")));
}

TEST_F(PrintFrameTest, PrintsToPdfWithTheDraftsChoices)
{
    CDraftWindow* w = draft(400);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("draft.pdf"));
    // The dialog as a weaver fills it: Warp, scale 32, then Size to Fit.
    int pagesAtScale = 0;
    SetDialogRunner([&](QDialog& d) {
        auto* tab = d.findChild<CPrintOptionsTab*>();
        if (!tab) return false;
        tab->coloringButton(1)->setChecked(true);
        tab->fitBox()->setChecked(false);
        tab->scaleBox()->setValue(32);
        auto* printer = static_cast<QPrintDialog&>(d).printer();
        pagesAtScale = tab->relayout(printer);
        tab->fitBox()->setChecked(true);
        EXPECT_FALSE(tab->scaleBox()->isEnabled());
        return true;
    });
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    ASSERT_TRUE(PrintFrame(m_main.get(), w->frame(), printer));
    EXPECT_GT(pagesAtScale, 1);
    EXPECT_EQ(pdfPages(pdf), 1);
    // The choices stay for the next print.
    EXPECT_EQ(SharedPrintOptions().coloring, 1);
    EXPECT_TRUE(SharedPrintOptions().fit);

    // Cancel prints nothing.
    SetDialogRunner([](QDialog&) { return false; });
    QPrinter again(QPrinter::HighResolution);
    again.setOutputFormat(QPrinter::PdfFormat);
    again.setOutputFileName(dir.filePath(QStringLiteral("none.pdf")));
    EXPECT_FALSE(PrintFrame(m_main.get(), w->frame(), again));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("none.pdf"))));
}

TEST_F(PrintFrameTest, SinglePaneFramesPrintTheirOwnWay)
{
    CDraftWindow* w = draft(40);
    CQuillabyDoc* doc = &w->document();
    const CellScale scale;
    std::unique_ptr<CGridFrame> threading(CreateGridFrame(FrameKind::Threading, doc, scale, false, false));
    std::unique_ptr<CGridFrame> treadling(CreateGridFrame(FrameKind::Treadling, doc, scale, false, false));
    std::unique_ptr<CGridFrame> back(CreateGridFrame(FrameKind::FabricBack, doc, scale, false, false));
    EXPECT_EQ(PrintKindOf(threading.get(), true), PrintKind::Threading);
    EXPECT_EQ(PrintKindOf(treadling.get(), false), PrintKind::Treadling);
    EXPECT_EQ(PrintKindOf(treadling.get(), true), PrintKind::DobbyBars);
    EXPECT_EQ(PrintKindOf(back.get(), false), PrintKind::Fabric);
    EXPECT_TRUE(PaperLookOf(back.get()).back);
    EXPECT_EQ(PrintKindOf(w->frame(), true), PrintKind::Draft);

    PrintOptions options;
    CPrintOptionsTab threadingTab(threading.get(), options);
    EXPECT_TRUE(threadingTab.interlaceBox()->isHidden());
    CPrintOptionsTab treadlingTab(treadling.get(), options);
    EXPECT_EQ(treadlingTab.interlaceBox()->text(), QStringLiteral("Dobby bars"));

    // Dobby bars: one page holds few bars at 0.47 x 1.14 inch.
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("bars.pdf")));
    SharedPrintOptions().interlace = true;
    const int printed = PrintFramePages(treadling.get(), QStringLiteral("bars"), printer);
    EXPECT_GT(printed, 1);
    EXPECT_EQ(pdfPages(dir.filePath(QStringLiteral("bars.pdf"))), printed);
}

TEST_F(PrintFrameTest, PageRangeAndHeddleCounts)
{
    CDraftWindow* w = draft(400);
    QTemporaryDir dir;
    // Scale 32 spreads 400 ends over several pages; pages 2 to 3 only.
    SharedPrintOptions().scale = 32;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("range.pdf")));
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 3);
    EXPECT_EQ(PrintFramePages(w->frame(), QStringLiteral("range"), printer), 2);
    EXPECT_EQ(pdfPages(dir.filePath(QStringLiteral("range.pdf"))), 2);

    // With the Heddle Counts window active, File > Print prints the counts.
    ASSERT_NE(OpenHeddleCounts(m_main.get()), nullptr);
    QString title;
    SetDialogRunner([&](QDialog& d) {
        title = d.windowTitle();
        return false;
    });
    QAction* print = item(QStringLiteral("&File"), QStringLiteral("&Print..."));
    ASSERT_NE(print, nullptr);
    ASSERT_TRUE(print->isEnabled());
    print->trigger();
    EXPECT_EQ(title, QStringLiteral("Print Heddle Counts"));
}

TEST_F(PrintFrameTest, PreviewShowsThePagesThatWouldPrint)
{
    draft(400);
    SharedPrintOptions().scale = 32;
    int previewPages = -1, dark = 0;
    SetDialogRunner([&](QDialog& d) {
        auto* preview = d.findChild<QPrintPreviewWidget*>();
        if (!qobject_cast<QPrintPreviewDialog*>(&d) || !preview) return false;
        d.resize(800, 1000);
        d.show();
        preview->updatePreview();
        QCoreApplication::processEvents();
        previewPages = preview->pageCount();
        // The first page as the weaver sees it: the grid and the header's ink.
        const QImage shot = preview->grab().toImage();
        for (int y = 0; y < shot.height(); y += 2)
            for (int x = 0; x < shot.width(); x += 2)
                if (qGray(shot.pixel(x, y)) < 64) ++dark;
        d.hide();
        return false;
    });
    QAction* preview = item(QStringLiteral("&File"), QStringLiteral("Print Pre&view"));
    ASSERT_NE(preview, nullptr);
    preview->trigger();

    QPrinter printer(QPrinter::HighResolution);
    const PrintKind kind = PrintKindOf(m_main->activeGridFrame(), false);
    DraftPages job(*m_main->activeGridFrame()->document(), kind, SharedPrintOptions(), PaperLook{}, QString());
    job.layOut(DraftPages::metricsOf(printer));
    EXPECT_GT(job.pageCount(), 1);
    EXPECT_EQ(previewPages, job.pageCount());
    EXPECT_GT(dark, 100);
}

} // namespace
