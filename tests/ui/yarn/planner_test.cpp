#include "tests/ui/yarn/yarnsfixture.h"

#include "ui/views/draftwindow.h"
#include "ui/yarn/densitycalculatordialog.h"
#include "ui/yarn/materialpage.h"
#include "ui/yarn/piecespicturewidget.h"
#include "ui/yarn/plannerwizard.h"
#include "ui/yarn/planwindow.h"
#include "ui/yarn/yarncommands.h"
#include "ui/yarn/yarndialog.h"
#include "ui/yarn/yarnlistctrl.h"

#include "core/wif/wifwriter.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>

using namespace qb;

namespace {

template <class T> T* field(QWidget* page, const char* name)
{
    T* f = page->findChild<T*>(QLatin1String(name));
    EXPECT_NE(f, nullptr) << name;
    return f;
}

QString text(QWidget* page, const char* name)
{
    QLineEdit* e = field<QLineEdit>(page, name);
    return e ? e->text() : QString();
}

class PlannerTest : public YarnsFixture {
protected:
    // Fills the four pages with the worked example and checks what each
    // page shows on the way.
    void workedExample(CPlannerWizard& wiz)
    {
        wiz.show();
        QWizardPage* p = wiz.currentPage();
        EXPECT_EQ(p->title(), QStringLiteral("Finished Dimensions"));
        EXPECT_FALSE(wiz.button(QWizard::BackButton)->isVisible());
        EXPECT_TRUE(wiz.button(QWizard::NextButton)->isVisible());
        type(field<QLineEdit>(p, "itemWidth"), QStringLiteral("20"));
        type(field<QLineEdit>(p, "itemLength"), QStringLiteral("60"));
        field<QSpinBox>(p, "itemsOnWeft")->setValue(1);
        field<QSpinBox>(p, "itemsOnWarp")->setValue(1);

        wiz.next();
        p = wiz.currentPage();
        EXPECT_EQ(p->title(), QStringLiteral("Woven Dimensions"));
        type(field<QLineEdit>(p, "drawIn"), QStringLiteral("1"));
        field<QSpinBox>(p, "shrinkageWidth")->setValue(10);
        field<QSpinBox>(p, "takeUp")->setValue(5);
        field<QSpinBox>(p, "shrinkageLength")->setValue(10);
        field<QSpinBox>(p, "loomWaste")->setValue(30);
        field<QSpinBox>(p, "sample")->setValue(0);
        field<QComboBox>(p, "lengthUnit")->setCurrentIndex(0);
        EXPECT_EQ(text(p, "totalWidth"), QStringLiteral("20.0"));
        EXPECT_EQ(text(p, "widthInReed"), QStringLiteral("23.0"));
        EXPECT_EQ(text(p, "warpLength"), QStringLiteral("99.0"));

        wiz.next();
        p = wiz.currentPage();
        EXPECT_EQ(p->title(), QStringLiteral("Warp"));
        type(field<QLineEdit>(p, "sett"), QStringLiteral("20"));
        type(field<QLineEdit>(p, "density"), QStringLiteral("2100"));
        EXPECT_EQ(text(p, "ends"), QStringLiteral("460"));
        EXPECT_EQ(text(p, "quantity"), QStringLiteral("1265"));
        EXPECT_EQ(text(p, "weight"), QStringLiteral("1.0"));

        wiz.next();
        p = wiz.currentPage();
        EXPECT_EQ(p->title(), QStringLiteral("Weft"));
        EXPECT_TRUE(wiz.button(QWizard::BackButton)->isVisible());
        EXPECT_TRUE(wiz.button(QWizard::FinishButton)->isVisible());
        type(field<QLineEdit>(p, "beat"), QStringLiteral("20"));
        type(field<QLineEdit>(p, "density"), QStringLiteral("2100"));
        EXPECT_EQ(text(p, "picks"), QStringLiteral("1380"));
        EXPECT_EQ(text(p, "quantity"), QStringLiteral("882"));
    }

    // Runs "&Project Planner..." on the active draft, the wizard driven by
    // `drive`, then Finish.
    void runPlanner(const std::function<void(CPlannerWizard&)>& drive)
    {
        dialogs.push_back([drive](QDialog& d) {
            auto* wiz = qobject_cast<CPlannerWizard*>(&d);
            EXPECT_NE(wiz, nullptr);
            if (!wiz) return false;
            drive(*wiz);
            wiz->hide();
            return true;
        });
        QAction* a = item(QStringLiteral("&Tools"), QStringLiteral("&Project Planner..."));
        ASSERT_NE(a, nullptr);
        a->trigger();
    }

    CPlanFormView* planView()
    {
        for (QMdiSubWindow* sub : m_main->mdiArea()->subWindowList())
            if (auto* v = qobject_cast<CPlanFormView*>(sub->widget())) return v;
        return nullptr;
    }

    // A draft with the worked example as its plan, through the wizard.
    CDraftWindow* plannedDraft()
    {
        CDraftWindow* w = m_main->newDocument();
        w->document().raw().title = "Table runner\r\nfor the hall";
        w->document().raw().notes = "Wash warm.";
        runPlanner([this](CPlannerWizard& wiz) { workedExample(wiz); });
        return w;
    }
};

} // namespace

TEST_F(PlannerTest, WorkedExampleFinishesAsOneUndoStepAndOpensThePlan)
{
    CDraftWindow* w = m_main->newDocument();
    const ProjectPlanValues before = w->document().plan();
    runPlanner([this](CPlannerWizard& wiz) {
        EXPECT_EQ(wiz.windowTitle(), QStringLiteral("Yarn Calculator"));
        workedExample(wiz);
    });
    const CQuillabyDoc& doc = w->document();
    EXPECT_EQ(doc.plan().itemWidth, 20.0);
    EXPECT_EQ(doc.plan().itemLength, 60.0);
    EXPECT_EQ(doc.plan().warpDensity, 2100);
    EXPECT_EQ(doc.plan().lengthUnit, 0);
    EXPECT_EQ(doc.warpSettWhole(), 20);
    EXPECT_TRUE(doc.isModified());
    ASSERT_TRUE(doc.history().canUndo());
    EXPECT_EQ(doc.history().undoName(), "Project Planner");

    CPlanFormView* plan = planView();
    ASSERT_NE(plan, nullptr);
    EXPECT_TRUE(plan->text().contains(QStringLiteral("Width in reed:\t23.0 in")));
    EXPECT_TRUE(plan->text().contains(QStringLiteral("Number of picks:\t1380")));
    // The plan window stands for its draft in the menus.
    EXPECT_EQ(m_main->activeDraftWindow(), w);

    w->document().Undo();
    EXPECT_EQ(doc.plan(), before);
    EXPECT_FALSE(doc.history().canUndo());
    // The window follows the draft.
    EXPECT_FALSE(plan->text().contains(QStringLiteral("Number of ends:\t460")));
}

TEST_F(PlannerTest, CancelledWizardChangesNothing)
{
    CDraftWindow* w = m_main->newDocument();
    dialogs.push_back([this](QDialog& d) {
        workedExample(*qobject_cast<CPlannerWizard*>(&d));
        d.hide();
        return false;
    });
    item(QStringLiteral("&Tools"), QStringLiteral("&Project Planner..."))->trigger();
    EXPECT_FALSE(w->document().isModified());
    EXPECT_FALSE(w->document().history().canUndo());
    EXPECT_EQ(planView(), nullptr);
}

TEST_F(PlannerTest, PagesComputeEdgeCases)
{
    CDraftWindow* w = m_main->newDocument();
    runPlanner([this](CPlannerWizard& wiz) {
        wiz.show();
        QWizardPage* p = wiz.currentPage();
        // Three pieces across, 10 in each, 2 in apart.
        type(field<QLineEdit>(p, "itemWidth"), QStringLiteral("10"));
        field<QSpinBox>(p, "itemsOnWeft")->setValue(3);
        type(field<QLineEdit>(p, "betweenItemsWeft"), QStringLiteral("2"));
        // The range the page accepts.
        EXPECT_EQ(field<QSpinBox>(p, "itemsOnWeft")->maximum(), 25);
        EXPECT_EQ(field<QSpinBox>(p, "itemsOnWarp")->maximum(), 50);
        wiz.next();
        EXPECT_EQ(text(wiz.currentPage(), "totalWidth"), QStringLiteral("34.0"));
        wiz.next();
        p = wiz.currentPage();
        // A sett of 0: no ends and no weight.
        type(field<QLineEdit>(p, "density"), QStringLiteral("2100"));
        type(field<QLineEdit>(p, "sett"), QStringLiteral("0"));
        EXPECT_EQ(text(p, "ends"), QStringLiteral("0"));
        EXPECT_EQ(text(p, "weight"), QStringLiteral("0.0"));
        // Typing ends works back to the width of one piece.
        type(field<QLineEdit>(p, "sett"), QStringLiteral("10"));
        type(field<QLineEdit>(p, "ends"), QStringLiteral("400"));
        EXPECT_EQ(text(p, "ends"), QStringLiteral("400"));
    });
    // (400 / 10 - 1) / 1.1 = 35.45 across, less two 2 in gaps, in three.
    EXPECT_NEAR(w->document().plan().itemWidth, (35.4545454 - 4) / 3, 1e-4);
}

TEST_F(PlannerTest, MetricSettShowsInEndsPerInch)
{
    CDraftWindow* w = m_main->newDocument();
    w->document().raw().setUnits(1);
    w->document().raw().setWarpSett(8, 0);
    w->document().SetModified(false);
    runPlanner([this](CPlannerWizard& wiz) {
        wiz.show();
        wiz.next();
        wiz.next();
        QWizardPage* p = wiz.currentPage();
        EXPECT_EQ(text(p, "sett"), QStringLiteral("20"));
        bool epi = false;
        for (const QLabel* l : p->findChildren<QLabel*>()) epi = epi || l->text() == QStringLiteral("epi");
        EXPECT_TRUE(epi);
    });
    // Passing through the pages stores nothing.
    EXPECT_EQ(w->document().warpSettWhole(), 8);
    EXPECT_EQ(w->document().warpSettFrac(), 0);
    EXPECT_FALSE(w->document().history().canUndo());
}

TEST_F(PlannerTest, YarnFromTheDatabaseFillsDensityAndSett)
{
    m_main->settingsMutable().DfltYarnDocFileLocn =
        writeYarnFile(QStringLiteral("yarnDoc.txt"), "8/2; cotton; 3360; 8; 20;\r\n-; boucle; 1800; 0; 0;\r\n");
    CYarnDialog::sortOrder() = YarnSortOrder();
    CDraftWindow* w = m_main->newDocument();
    runPlanner([this](CPlannerWizard& wiz) {
        wiz.show();
        wiz.next();
        wiz.next();
        auto* page = qobject_cast<CMaterialQuantity*>(wiz.currentPage());
        ASSERT_NE(page, nullptr);
        auto* list = field<QComboBox>(page, "yarn");
        ASSERT_EQ(list->count(), 2);
        EXPECT_EQ(list->itemText(0), QStringLiteral("8/2 cotton"));
        EXPECT_EQ(list->itemText(1), QStringLiteral("boucle"));
        page->chooseYarn(0);
        EXPECT_EQ(text(page, "density"), QStringLiteral("3360"));
        EXPECT_EQ(text(page, "sett"), QStringLiteral("20"));
        // Through the Yarn Database dialog: the row chosen there is applied.
        dialogs.push_back([](QDialog& d) {
            auto* dlg = qobject_cast<CYarnDialog*>(&d);
            dlg->list()->setCurrentItem(dlg->list()->topLevelItem(0)); // boucle, sorted by fiber
            dlg->accept();
            return true;
        });
        field<QPushButton>(page, "openYarnDatabase")->click();
        EXPECT_EQ(list->currentText(), QStringLiteral("boucle"));
        EXPECT_EQ(text(page, "density"), QStringLiteral("1800"));
        EXPECT_EQ(text(page, "sett"), QStringLiteral("20")); // a yarn without sett keeps it
    });
    EXPECT_EQ(w->document().plan().warpYarn, "boucle");
    EXPECT_EQ(w->document().plan().warpDensity, 1800);
}

TEST_F(PlannerTest, NoDatabaseDisablesItsButton)
{
    m_main->newDocument();
    answers = {true}; // locate, then cancel the file dialog
    runPlanner([this](CPlannerWizard& wiz) {
        wiz.show();
        wiz.next();
        wiz.next();
        EXPECT_FALSE(field<QPushButton>(wiz.currentPage(), "openYarnDatabase")->isEnabled());
        EXPECT_EQ(field<QComboBox>(wiz.currentPage(), "yarn")->count(), 0);
    });
}

TEST_F(PlannerTest, DensityCalculator)
{
    CDensityCalculatorDialog calc(MeasureSystem::English);
    EXPECT_EQ(calc.windowTitle(), QStringLiteral("Density Calculator"));
    EXPECT_EQ(field<QComboBox>(&calc, "quantityUnit")->currentText(), QStringLiteral("yd"));
    EXPECT_EQ(field<QComboBox>(&calc, "weightUnit")->currentText(), QStringLiteral("lb"));
    type(field<QLineEdit>(&calc, "quantity"), QStringLiteral("840"));
    EXPECT_EQ(text(&calc, "density"), QStringLiteral("840"));
    field<QComboBox>(&calc, "densityUnit")->setCurrentIndex(1);
    EXPECT_EQ(text(&calc, "density"), QStringLiteral("1682"));
    EXPECT_EQ(calc.densityForSystem(), 840u);
    // A weight below 0.05 counts as 0.05 and is written back on leaving.
    type(field<QLineEdit>(&calc, "weight"), QStringLiteral("0"));
    emit field<QLineEdit>(&calc, "weight")->editingFinished();
    EXPECT_EQ(text(&calc, "weight"), QStringLiteral("0.05"));

    CDensityCalculatorDialog metric(MeasureSystem::Metric);
    EXPECT_EQ(field<QComboBox>(&metric, "quantityUnit")->currentText(), QStringLiteral("m"));
    EXPECT_EQ(field<QComboBox>(&metric, "weightUnit")->currentText(), QStringLiteral("kg"));
    EXPECT_EQ(field<QComboBox>(&metric, "densityUnit")->currentText(), QStringLiteral("m/kg"));
}

TEST_F(PlannerTest, PlanWindowShowsWhatTheCommandLinePrints)
{
    CDraftWindow* w = plannedDraft();
    CPlanFormView* plan = planView();
    ASSERT_NE(plan, nullptr);
    const QString file = path(QStringLiteral("runner.qlb"));
    ASSERT_TRUE(WriteWifFile(w->document(), QFile::encodeName(file).toStdString()));

    for (const char* system : {"--english", "--metric"}) {
        m_main->settingsMutable().UnitMeasure = QLatin1String(system) == QLatin1String("--metric") ? 1 : 0;
        plan->refresh();
        QProcess cli;
        cli.start(QStringLiteral(QUILLABY_BINARY_DIR "/cli/quillaby-cli"),
                  {QStringLiteral("plan"), file, QLatin1String(system)});
        ASSERT_TRUE(cli.waitForFinished(30000));
        EXPECT_EQ(cli.exitCode(), 0);
        EXPECT_EQ(plan->text(), QString::fromUtf8(cli.readAllStandardOutput())) << system;
    }
    EXPECT_TRUE(plan->text().startsWith(QStringLiteral("Description:\nTable runner\nfor the hall\n")));
}

TEST_F(PlannerTest, PrintingGivesOnePageWithThePlan)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) GTEST_SKIP() << "no pdftotext";
    plannedDraft();
    CPlanFormView* plan = planView();
    ASSERT_NE(plan, nullptr);
    const QString pdf = path(QStringLiteral("plan.pdf"));
    dialogs.push_back([pdf](QDialog& d) {
        auto* dialog = qobject_cast<QPrintDialog*>(&d);
        EXPECT_NE(dialog, nullptr);
        if (!dialog) return false;
        dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog->printer()->setOutputFileName(pdf);
        return true;
    });
    plan->printAction()->trigger();
    ASSERT_TRUE(QFile::exists(pdf));
    if (qEnvironmentVariableIsSet("QUILLABY_KEEP_PLAN_PDF"))
        QFile::copy(pdf, qEnvironmentVariable("QUILLABY_KEEP_PLAN_PDF"));

    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    if (info.waitForFinished(30000) && info.exitCode() == 0) {
        const QString pages = QString::fromUtf8(info.readAllStandardOutput());
        EXPECT_TRUE(pages.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << pages.toStdString();
    }
    QProcess toText;
    toText.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(toText.waitForFinished(30000));
    const QString text = QString::fromUtf8(toText.readAllStandardOutput());
    // Spaces come out of the page as the glyphs' positions suggest.
    QString printed = text;
    printed.remove(QRegularExpression(QStringLiteral("\\s")));
    EXPECT_EQ(text.count(QLatin1Char('\f')), 1) << text.toStdString();
    // Every entry of the plan, caption and value, is on the page.
    for (const QString& line : plan->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1Char('-'))) continue;
        const QStringList parts = line.split(QLatin1Char('\t'));
        for (QString part : parts) EXPECT_TRUE(printed.contains(part.remove(QLatin1Char(' ')))) << part.toStdString();
    }
}

TEST_F(PlannerTest, PreviewAndClipboardShowThePrintedLayout)
{
    plannedDraft();
    CPlanFormView* plan = planView();
    ASSERT_NE(plan, nullptr);
    int pages = -1;
    dialogs.push_back([&pages](QDialog& d) {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(&d);
        EXPECT_NE(preview, nullptr);
        if (!preview) return false;
        auto* widget = preview->findChild<QPrintPreviewWidget*>();
        widget->updatePreview();
        pages = widget->pageCount();
        return true;
    });
    plan->previewAction()->trigger();
    EXPECT_EQ(pages, 1);

    QApplication::clipboard()->clear();
    ASSERT_TRUE(plan->copyToClipboard());
    const QImage image = QApplication::clipboard()->image();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 816);
    int dark = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) dark += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(dark, 500);
}

TEST_F(PlannerTest, PiecesPictureOfNothingDrawsNothing)
{
    PlanInputs in; // new-draft values: pieces of no size
    CPiecesPicture picture;
    picture.resize(100, 100);
    picture.setPlan(in);
    const QImage empty = picture.grab().toImage();
    in.itemWidth = 10;
    in.itemLength = 20;
    in.itemsOnWeft = 2;
    picture.setPlan(in);
    const QImage two = picture.grab().toImage();
    EXPECT_NE(empty, two);
}

TEST_F(PlannerTest, SettTypedInTheOtherSystemIsKept)
{
    // 21 epi is 8.27 epcm: the whole part is unchanged, the edit still counts.
    CDraftWindow* w = m_main->newDocument();
    w->document().raw().setUnits(1);
    w->document().raw().setWarpSett(8, 0);
    runPlanner([this](CPlannerWizard& wiz) {
        wiz.show();
        wiz.next();
        wiz.next();
        type(field<QLineEdit>(wiz.currentPage(), "sett"), QStringLiteral("21"));
    });
    EXPECT_EQ(w->document().warpSettWhole(), 8);
    EXPECT_EQ(w->document().warpSettFrac(), 2677);
    EXPECT_EQ(w->document().history().undoName(), "Project Planner");
}

TEST_F(PlannerTest, PlanWindowIsOnePerDraftAndClosesWithIt)
{
    CDraftWindow* first = m_main->newDocument();
    QAction* plan = item(QStringLiteral("&View"), QStringLiteral("&Project Plan"));
    ASSERT_NE(plan, nullptr);
    EXPECT_EQ(plan->statusTip(), QStringLiteral("View plan and calculations for the project"));
    plan->trigger();
    CPlanFormView* view = planView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->parentWidget()->windowTitle(), QStringLiteral("Project Plan <Draft1>"));
    // Again on the same draft: the same window.
    m_main->mdiArea()->setActiveSubWindow(m_main->mdiArea()->subWindowList().first());
    plan->trigger();
    EXPECT_EQ(m_main->mdiArea()->subWindowList().size(), 2);

    // Another draft gets its own; closing a draft takes its plan along.
    CDraftWindow* second = m_main->newDocument();
    yarns()->showProjectPlan(second);
    EXPECT_EQ(m_main->mdiArea()->subWindowList().size(), 4);
    m_main->mdiArea()->setActiveSubWindow(m_main->mdiArea()->subWindowList().first());
    first->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_main->mdiArea()->subWindowList().size(), 2);
    ASSERT_NE(planView(), nullptr);
    EXPECT_EQ(planView()->draftWindow(), second);
}

TEST_F(PlannerTest, DensityCalculatorCommandStandsAlone)
{
    QAction* calc = item(QStringLiteral("&Tools"), QStringLiteral("&Density Calculator..."));
    ASSERT_NE(calc, nullptr);
    EXPECT_EQ(calc->statusTip(), QStringLiteral("Calculate yards per pound (m per kg)"));
    m_main->settingsMutable().UnitMeasure = 1;
    bool shown = false;
    dialogs.push_back([&shown](QDialog& d) {
        shown = qobject_cast<CDensityCalculatorDialog*>(&d) != nullptr;
        EXPECT_EQ(d.findChild<QComboBox*>(QStringLiteral("densityUnit"))->currentText(), QStringLiteral("m/kg"));
        return true;
    });
    calc->trigger();
    EXPECT_TRUE(shown);
}

TEST_F(PlannerTest, ImportedPlanOpensThePlanWindow)
{
    CDraftWindow* source = plannedDraft();
    const QString file = path(QStringLiteral("source.qlb"));
    ASSERT_TRUE(WriteWifFile(source->document(), QFile::encodeName(file).toStdString()));
    source->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(planView(), nullptr);

    CDraftWindow* w = m_main->newDocument();
    ASSERT_TRUE(ImportProjectPlanFrom(m_main.get(), w, file));
    ASSERT_NE(planView(), nullptr);
    EXPECT_EQ(planView()->draftWindow(), w);
    EXPECT_TRUE(planView()->text().contains(QStringLiteral("Number of picks:\t1380")));
}
