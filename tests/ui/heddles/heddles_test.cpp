// The Heddle Counts window and the Thread Thickness dialog through their menus.
#include "tests/ui/commandfixture.h"

#include "ui/heddles/heddlewindow.h"
#include "ui/heddles/threadthicknessdialog.h"

#include "core/transform/heddlecount.h"
#include "core/wif/wifwriter.h"

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace qbtest;

namespace {

QString CliHeddles(const QString& file)
{
    QProcess p;
    p.start(QStringLiteral(QUILLABY_BINARY_DIR "/cli/quillaby-cli"), {QStringLiteral("heddles"), file});
    RunEventsUntil([&] { return p.state() == QProcess::NotRunning; }, 20000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

std::unique_ptr<CQuillabyDoc> Draft(int shafts, int ends)
{
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults d;
    d.shafts = shafts;
    d.treadles = 4;
    doc->OnNewDocument(d);
    for (int e = 0; e < ends; ++e) doc->SetThreadingCell(kUnrecorded, e, e * 7 % (shafts + 1));
    for (int p = 0; p < 6; ++p) doc->SetTreadlingCell(kUnrecorded, p, p % 4 + 1);
    return doc;
}

class HeddlesTest : public CommandWindowTest {
protected:
    CHeddleView* heddles()
    {
        EXPECT_TRUE(choose(QStringLiteral("&View"), QStringLiteral("&Heddle Count")));
        QMdiSubWindow* sub = m_main->mdiArea()->activeSubWindow();
        return sub ? qobject_cast<CHeddleView*>(sub->widget()) : nullptr;
    }
    QTemporaryDir m_files;
};

// Clicks cell `k` of the dialog's grid.
void Click(CThreadThicknessDialog& d, int k, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = {})
{
    QTest::mouseClick(d.grid(), b, m, d.grid()->cellRect(k).center());
}

std::vector<bool> Thick(const CQuillabyDoc& doc, bool warp)
{
    const Tding& t = warp ? static_cast<const Tding&>(*doc.threading(0)) : *doc.treadling(0);
    std::vector<bool> out;
    for (int i = 0; i < t.GetCount(); ++i) out.push_back(t.GetThick(i) != 0);
    return out;
}

} // namespace

TEST_F(HeddlesTest, WindowShowsWhatTheCommandLinePrintsAndFollowsEveryChange)
{
    auto doc = Draft(12, 50);
    doc->SetNumRows(kUnrecorded, Side::Threading, 2);
    for (int e = 0; e < 50; e += 3) doc->raw().threadingMutable(1)->SetValue(e, 12 - e % 12);
    const QString path = m_files.filePath(QStringLiteral("heddles.wif"));
    ASSERT_TRUE(WriteWifFile(*doc, path.toStdString()));
    ASSERT_TRUE(m_main->openFile(path));
    CDraftWindow* w = m_main->activeDraftWindow();
    ASSERT_NE(w, nullptr);

    CHeddleView* view = heddles();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->text(), CliHeddles(path));
    EXPECT_EQ(view->toPlainText() + QLatin1Char('\n'), view->text());
    EXPECT_EQ(view->parentWidget()->windowTitle(), QStringLiteral("Heddle Counts <heddles.wif>"));

    // Every change shows at once: an edit, its undo, more shafts.
    CQuillabyDoc& d = w->document();
    const QString before = view->text();
    d.Transaction("Pencil", [&](Edit e) { d.SetThreadingCell(e, 0, 5); });
    EXPECT_NE(view->text(), before);
    EXPECT_TRUE(view->text().contains(QStringLiteral("5:\t%1").arg(HeddleCounts(d)[4], 6)));
    d.Undo();
    EXPECT_EQ(view->text(), before);
    d.Transaction("Shafts", [&](Edit e) { d.SetNumShafts(e, 14); });
    EXPECT_TRUE(view->text().endsWith(QStringLiteral("14:\t     0\n")));

    // The same window again, not a second one.
    m_main->mdiArea()->setActiveSubWindow(m_main->mdiArea()->subWindowList().first());
    EXPECT_EQ(heddles(), view);

    // Printed on one page; 64 shafts on a postcard run on to more pages.
    auto printedPages = [&](QPageSize::PageSizeId size) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(size));
        const QString pdf = m_files.filePath(QStringLiteral("heddles.pdf"));
        printer.setOutputFileName(pdf);
        view->print(&printer);
        QFile out(pdf);
        if (!out.open(QIODevice::ReadOnly)) return -1;
        const QByteArray bytes = out.readAll();
        EXPECT_TRUE(bytes.startsWith("%PDF"));
        return int(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "));
    };
    EXPECT_EQ(printedPages(QPageSize::A4), 1);
    d.Transaction("Shafts", [&](Edit e) { d.SetNumShafts(e, 64); });
    EXPECT_GE(printedPages(QPageSize::A6), 2);
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {m_files.filePath(QStringLiteral("heddles.pdf")), QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished());
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    for (int s = 1; s <= 64; ++s) EXPECT_TRUE(printed.contains(QStringLiteral("%1:").arg(s))) << s;

    // The window goes with its draft.
    QPointer<CHeddleView> gone = view;
    w->close();
    RunEventsUntil([&] { return gone.isNull(); }, 2000);
    EXPECT_TRUE(gone.isNull());
}

TEST_F(HeddlesTest, ThicknessPatternFromTheDialogIsOneUndoStep)
{
    CDraftWindow* w = show(Draft(4, 7));
    CQuillabyDoc& doc = w->document();
    const std::string before = DraftState(doc);
    std::vector<bool> shown;
    SetDialogRunner([&](QDialog& dlg) {
        auto* d = qobject_cast<CThreadThicknessDialog*>(&dlg);
        if (!d) return false;
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Thread Thickness"));
        Click(*d, 2);                                    // thin, thin, thin
        Click(*d, 0);                                    // thick, thin, thin
        Click(*d, 9, Qt::RightButton);                   // past the end: ignored
        Click(*d, 5, Qt::LeftButton, Qt::ShiftModifier); // Shift: a right click, past the end
        shown = d->pattern().thick();
        return true;
    });
    ASSERT_TRUE(choose(QStringLiteral("Thre&ading"), QStringLiteral("Thic&kness...")));
    EXPECT_EQ(shown, (std::vector<bool>{true, false, false}));
    EXPECT_EQ(Thick(doc, true), (std::vector<bool>{true, false, false, true, false, false, true}));
    EXPECT_EQ(undo(), QStringLiteral("&Undo Warp Thickness"));
    EXPECT_EQ(DraftState(doc), before);

    // The pattern is offered again; a drag with the right button clears entries
    // as it enters cells; Cancel changes nothing.
    SetDialogRunner([&](QDialog& dlg) {
        auto* d = qobject_cast<CThreadThicknessDialog*>(&dlg);
        shown = d->pattern().thick();
        return false;
    });
    ASSERT_TRUE(choose(QStringLiteral("T&readling"), QStringLiteral("Thic&kness...")));
    EXPECT_EQ(shown, (std::vector<bool>{true, false, false}));
    EXPECT_EQ(DraftState(doc), before);

    ThicknessPattern p;
    CThreadThicknessDialog d(p);
    CThicknessWnd* g = d.grid();
    QTest::mousePress(g, Qt::LeftButton, {}, g->cellRect(0).center());
    for (int k = 1; k <= 4; ++k) {
        QMouseEvent move(QEvent::MouseMove, QPointF(g->cellRect(k).center()), g->mapToGlobal(g->cellRect(k).center()),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(g, &move);
    }
    QTest::mouseRelease(g, Qt::LeftButton, {}, g->cellRect(4).center());
    // Each cell entered once: five thin entries, the first toggled once.
    EXPECT_EQ(d.pattern().thick(), (std::vector<bool>{false, false, false, false, false}));
    Click(d, 4);
    EXPECT_EQ(d.pattern().thick().back(), true);
    // The grid draws thick cells filled and thin ones as dots.
    const QImage img = g->grab().toImage();
    EXPECT_EQ(QColor(img.pixel(g->cellRect(4).topLeft() + QPoint(2, 2))), QColor(Qt::black));
    EXPECT_EQ(QColor(img.pixel(g->cellRect(1).topLeft() + QPoint(2, 2))), QColor(Qt::white));
    EXPECT_EQ(QColor(img.pixel(g->cellRect(1).center())), QColor(Qt::black));
}
