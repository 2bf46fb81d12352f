#include "tests/ui/yarn/yarnsfixture.h"

#include "ui/yarn/yarndialog.h"
#include "ui/yarn/yarnlistctrl.h"
#include "ui/yarn/yarnsheet.h"
#include "ui/yarn/yarnwindow.h"

#include "core/yarn/yarnarchive.h"
#include "core/yarn/yarnmessages.h"

#include <QComboBox>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

using namespace qb;

namespace {

const QByteArray kThreeYarns = "10/2; cotton; 4200; 5; 24; mercerised\r\n"
                               "8/2; wool; 2200; 10; 12; \r\n"
                               "20/2; silk; 8400; 3; 36; \r\n";

class YarnDatabaseTest : public YarnsFixture {
protected:
    void SetUp() override
    {
        YarnsFixture::SetUp();
        CYarnDialog::sortOrder() = YarnSortOrder();
    }

    // The database at a stored path, loaded without a question.
    CYarnDoc* storedDatabase(const QByteArray& lines = kThreeYarns)
    {
        const QString file = writeYarnFile(QStringLiteral("yarnDoc.txt"), lines);
        m_main->settingsMutable().DfltYarnDocFileLocn = file;
        return yarns()->database();
    }

    // Runs "&Yarn Database..." with `work` done in the open dialog; `ok`
    // closes it with OK, else Cancel.
    bool runDatabaseDialog(const std::function<void(CYarnDialog&)>& work, bool ok)
    {
        dialogs.push_back([work, ok](QDialog& d) {
            auto* dlg = qobject_cast<CYarnDialog*>(&d);
            EXPECT_NE(dlg, nullptr);
            if (!dlg) return false;
            work(*dlg);
            if (!ok) return false;
            dlg->accept();
            return true;
        });
        QAction* a = item(QStringLiteral("&Tools"), QStringLiteral("&Yarn Database..."));
        EXPECT_NE(a, nullptr);
        if (a) a->trigger();
        return dialogs.empty();
    }

    // Answers the next "Yarn" sheet with these values.
    void answerSheet(const QString& size, const QString& fiber, const QString& density, int shrinkage, int sett)
    {
        dialogs.push_back([=](QDialog& d) {
            auto* sheet = qobject_cast<CYarnSheet*>(&d);
            EXPECT_NE(sheet, nullptr);
            if (!sheet) return false;
            sheet->findChild<QComboBox*>(QStringLiteral("size"))->setEditText(size);
            sheet->findChild<QComboBox*>(QStringLiteral("fiber"))->setEditText(fiber);
            type(sheet->findChild<QLineEdit*>(QStringLiteral("density")), density);
            sheet->findChild<QSpinBox*>(QStringLiteral("shrinkage"))->setValue(shrinkage);
            sheet->findChild<QSpinBox*>(QStringLiteral("sett"))->setValue(sett);
            return true;
        });
    }
};

QStringList fibers(const CAllKeysListCtrl* list)
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) out << list->topLevelItem(i)->text(1);
    return out;
}

} // namespace

TEST_F(YarnDatabaseTest, StoredPathLoadsWithoutAQuestion)
{
    CYarnDoc* db = storedDatabase();
    ASSERT_NE(db, nullptr);
    EXPECT_EQ(db->count(), 3);
    EXPECT_TRUE(m_asked.isEmpty());
    // Loaded once: later uses do not read the file again.
    EXPECT_EQ(yarns()->database(), db);
}

TEST_F(YarnDatabaseTest, LocateAnsweredYesOpensTheChosenFileAndStoresItsPath)
{
    const QString file = writeYarnFile(QStringLiteral("mine.txt"), kThreeYarns);
    m_main->settingsMutable().DfltYarnDocFileLocn = path(QStringLiteral("missing.txt"));
    answers = {true};
    files = {file};
    CYarnDoc* db = yarns()->database();
    ASSERT_NE(db, nullptr);
    EXPECT_EQ(db->count(), 3);
    ASSERT_EQ(m_asked.size(), 1);
    EXPECT_EQ(m_asked.first(), QString::fromLatin1(yarnmsg::kNotFound));
    ASSERT_EQ(fileQuestions.size(), 1u);
    EXPECT_EQ(fileQuestions[0].kind, YarnFileQuestion::Kind::Open);
    EXPECT_EQ(m_main->settings().DfltYarnDocFileLocn, file);
}

TEST_F(YarnDatabaseTest, LocateCancelledOrUnreadableLeavesNoDatabaseAndThePathAlone)
{
    answers = {true};
    EXPECT_EQ(yarns()->database(), nullptr); // dialog cancelled
    EXPECT_TRUE(m_main->settings().DfltYarnDocFileLocn.isEmpty());

    // A damaged archive is refused with a message.
    QFile bad(path(QStringLiteral("bad.yrn")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray("\x05\x00\xff\xff\xff\xff\xff\xff\xff", 9));
    bad.close();
    answers = {true};
    files = {bad.fileName()};
    EXPECT_EQ(yarns()->database(), nullptr);
    EXPECT_FALSE(m_told.isEmpty());
    EXPECT_TRUE(m_main->settings().DfltYarnDocFileLocn.isEmpty());
}

TEST_F(YarnDatabaseTest, CreateAnsweredNoSavesANewDatabaseAndStoresItsPath)
{
    answers = {false};
    const QString file = path(QStringLiteral("new.txt"));
    files = {file};
    CYarnDoc* db = yarns()->database();
    ASSERT_NE(db, nullptr);
    EXPECT_EQ(db->count(), 0);
    ASSERT_EQ(fileQuestions.size(), 1u);
    EXPECT_EQ(fileQuestions[0].kind, YarnFileQuestion::Kind::Save);
    EXPECT_EQ(fileQuestions[0].title, QString::fromLatin1(yarnmsg::kSaveAsTitle));
    EXPECT_TRUE(fileQuestions[0].start.endsWith(QStringLiteral("yarnDoc.txt")));
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_EQ(m_main->settings().DfltYarnDocFileLocn, file);
}

TEST_F(YarnDatabaseTest, CreateThatCannotBeSavedIsDiscarded)
{
    answers = {false};
    files = {path(QStringLiteral("no/such/folder/yarnDoc.txt"))};
    EXPECT_EQ(yarns()->database(), nullptr);
    EXPECT_FALSE(m_told.isEmpty());
    EXPECT_TRUE(m_main->settings().DfltYarnDocFileLocn.isEmpty());
}

TEST_F(YarnDatabaseTest, DialogShowsColumnsAndSortsByHeaderClicks)
{
    ASSERT_NE(storedDatabase(), nullptr);
    runDatabaseDialog(
        [](CYarnDialog& dlg) {
            CAllKeysListCtrl* list = dlg.list();
            EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Yarn Database"));
            const QStringList captions = {"Size", "Fiber", "Density", "Shrinkage", "Sett"};
            const int widths[] = {50, 150, 100, 80, 100};
            for (int c = 0; c < 5; ++c) {
                EXPECT_EQ(list->headerItem()->text(c), captions[c]);
                EXPECT_EQ(list->columnWidth(c), widths[c]);
            }
            EXPECT_TRUE(list->header()->sectionsMovable());
            // Opens sorted by fiber, ascending.
            EXPECT_EQ(fibers(list), QStringList({"cotton", "silk", "wool"}));
            EXPECT_EQ(list->rowTexts().first(), QStringLiteral("10/2|cotton|4200 yd/lb|5%|24"));
            // First click on Size clears its flag: the leading numbers ascend.
            dlg.sortBy(0);
            EXPECT_EQ(fibers(list), QStringList({"wool", "cotton", "silk"}));
            dlg.sortBy(0);
            EXPECT_EQ(fibers(list), QStringList({"silk", "cotton", "wool"}));
            // Numbers sort descending with the flag set, so one click
            // ascends.
            dlg.sortBy(2);
            EXPECT_EQ(fibers(list), QStringList({"wool", "cotton", "silk"}));
        },
        false);
    // The last sort is kept for the next opening.
    runDatabaseDialog(
        [](CYarnDialog& dlg) {
            EXPECT_EQ(fibers(dlg.list()), QStringList({"wool", "cotton", "silk"}));
        },
        false);
}

TEST_F(YarnDatabaseTest, AddWithOkSavesAndCancelThrowsTheChangesAway)
{
    CYarnDoc* db = storedDatabase();
    ASSERT_NE(db, nullptr);
    // [WHEN] a yarn is added with the button and the dialog is cancelled
    runDatabaseDialog(
        [this](CYarnDialog& dlg) {
            answerSheet("5/2", "linen", "1500", 4, 15);
            dlg.findChild<QPushButton*>(QStringLiteral("addYarn"))->click();
            EXPECT_EQ(dlg.list()->topLevelItemCount(), 4);
            EXPECT_EQ(dlg.list()->selectedYarn()->fiber(), "linen");
        },
        false);
    // [THEN] the file is read again, without it
    ASSERT_NE(yarns()->loadedDatabase(), nullptr);
    EXPECT_EQ(yarns()->loadedDatabase()->count(), 3);

    // [WHEN] added with Insert and closed with OK
    runDatabaseDialog(
        [this](CYarnDialog& dlg) {
            answerSheet("5/2", "linen", "1500", 4, 15);
            QTest::keyClick(dlg.list(), Qt::Key_Insert);
            EXPECT_EQ(dlg.list()->topLevelItemCount(), 4);
        },
        true);
    // [THEN] the file holds it, and it is the selected yarn
    CYarnDoc reread;
    ASSERT_TRUE(reread.Open(QFile::encodeName(path(QStringLiteral("yarnDoc.txt"))).toStdString()).ok);
    ASSERT_EQ(reread.count(), 4);
    EXPECT_EQ(reread.yarn(3), CYarn("5/2", "linen", 1500, 4, 15));
    ASSERT_NE(yarns()->loadedDatabase()->selected(), nullptr);
    EXPECT_EQ(yarns()->loadedDatabase()->selected()->fiber(), "linen");
}

TEST_F(YarnDatabaseTest, DeleteKeyAsksAndTheButtonDoesNot)
{
    ASSERT_NE(storedDatabase(), nullptr);
    runDatabaseDialog(
        [this](CYarnDialog& dlg) {
            CAllKeysListCtrl* list = dlg.list();
            list->setCurrentItem(list->topLevelItem(0)); // cotton
            answers = {false};
            QTest::keyClick(list, Qt::Key_Delete);
            EXPECT_EQ(m_asked.last(), QString::fromLatin1(yarnmsg::kDeleteSelected));
            EXPECT_EQ(list->topLevelItemCount(), 3);
            answers = {true};
            QTest::keyClick(list, Qt::Key_Delete);
            EXPECT_EQ(fibers(list), QStringList({"silk", "wool"}));
            const int questions = m_asked.size();
            list->setCurrentItem(list->topLevelItem(0));
            dlg.findChild<QPushButton*>(QStringLiteral("deleteYarn"))->click();
            EXPECT_EQ(fibers(list), QStringList({"wool"}));
            EXPECT_EQ(m_asked.size(), questions);
        },
        true);
    CYarnDoc reread;
    ASSERT_TRUE(reread.Open(QFile::encodeName(path(QStringLiteral("yarnDoc.txt"))).toStdString()).ok);
    ASSERT_EQ(reread.count(), 1);
    EXPECT_EQ(reread.yarn(0).fiber(), "wool");
}

TEST_F(YarnDatabaseTest, EnterEditsTheSelectedYarnAndEscCancels)
{
    ASSERT_NE(storedDatabase(), nullptr);
    runDatabaseDialog(
        [this](CYarnDialog& dlg) {
            CAllKeysListCtrl* list = dlg.list();
            list->setCurrentItem(list->topLevelItem(2)); // wool
            answerSheet("8/2", "wool", "2300", 10, 12);
            QTest::keyClick(list, Qt::Key_Return);
            EXPECT_EQ(list->topLevelItem(2)->text(2), QStringLiteral("2300 yd/lb"));
            QTest::keyClick(list, Qt::Key_Escape);
            EXPECT_EQ(dlg.result(), QDialog::Rejected);
        },
        false);
    EXPECT_EQ(yarns()->loadedDatabase()->yarn(1).density(), 2200u);
}

TEST_F(YarnDatabaseTest, SheetOffersEveryDistinctSizeAndFiberAndKeepsLimits)
{
    CYarnDoc* db = storedDatabase("8/2; cotton; 1; 0; 0;\r\n8/2; wool; 1; 0; 0;\r\n10/2; cotton; 1; 0; 0;\r\n");
    ASSERT_NE(db, nullptr);
    CYarnSheet sheet(CYarn(), DistinctSizes(*db), DistinctFibers(*db), MeasureSystem::Metric);
    EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Yarn"));
    EXPECT_EQ(sheet.tabs()->tabText(0), QStringLiteral("Characteristics"));
    EXPECT_EQ(sheet.tabs()->tabText(1), QStringLiteral("Notes"));
    auto* size = sheet.findChild<QComboBox*>(QStringLiteral("size"));
    auto* fiber = sheet.findChild<QComboBox*>(QStringLiteral("fiber"));
    EXPECT_EQ(size->count(), 2);
    EXPECT_EQ(fiber->count(), 2);
    EXPECT_EQ(sheet.findChild<QSpinBox*>(QStringLiteral("shrinkage"))->maximum(), 100);
    EXPECT_EQ(sheet.findChild<QSpinBox*>(QStringLiteral("sett"))->maximum(), 255);
    auto* notes = sheet.findChild<QPlainTextEdit*>(QStringLiteral("notes"));
    notes->setPlainText(QString(300, QLatin1Char('n')));
    EXPECT_EQ(sheet.yarn().notes().size(), 256u);

    // The calculator's result goes into the density, in the current system.
    dialogs.push_back([](QDialog& d) {
        d.findChild<QComboBox*>(QStringLiteral("quantityUnit"))->setCurrentIndex(0); // yd
        d.findChild<QComboBox*>(QStringLiteral("weightUnit"))->setCurrentIndex(0);   // lb
        type(d.findChild<QLineEdit*>(QStringLiteral("quantity")), QStringLiteral("840"));
        return true;
    });
    sheet.findChild<QPushButton*>(QStringLiteral("densityCalculator"))->click();
    EXPECT_EQ(sheet.findChild<QLineEdit*>(QStringLiteral("density"))->text(), QStringLiteral("1682"));
}

TEST_F(YarnDatabaseTest, YarnFilesOpenInAYarnWindowOffTheRecentList)
{
    const QString file = writeYarnFile(QStringLiteral("stash.txt"), kThreeYarns);
    CYarnDoc archive;
    ASSERT_TRUE(archive.Open(QFile::encodeName(file).toStdString()).ok);
    const QString yrn = path(QStringLiteral("stash.yrn"));
    ASSERT_TRUE(archive.Save(QFile::encodeName(yrn).toStdString()).ok);

    ASSERT_TRUE(m_main->openFile(yrn));
    ASSERT_EQ(m_main->mdiArea()->subWindowList().size(), 1);
    QMdiSubWindow* sub = m_main->mdiArea()->subWindowList().first();
    auto* view = qobject_cast<CYarnView*>(sub->widget());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Yarn Database <stash.yrn>[*]"));
    EXPECT_EQ(sub->size(), QSize(400, 200));
    // File order, and headers that do not sort.
    CAllKeysListCtrl* list = view->list();
    EXPECT_EQ(fibers(list), QStringList({"cotton", "wool", "silk"}));
    EXPECT_FALSE(list->header()->sectionsClickable());
    EXPECT_TRUE(m_recent.files().isEmpty());
    // Opening it again brings the same window forward.
    ASSERT_TRUE(m_main->openFile(yrn));
    EXPECT_EQ(m_main->mdiArea()->subWindowList().size(), 1);

    // Delete removes the selected yarn without asking; Save writes it.
    list->setCurrentItem(list->topLevelItem(1));
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(fibers(list), QStringList({"cotton", "silk"}));
    EXPECT_TRUE(m_asked.isEmpty());
    EXPECT_TRUE(view->isWindowModified());
    ASSERT_TRUE(view->save());
    CYarnDoc reread;
    ASSERT_TRUE(reread.Open(QFile::encodeName(yrn).toStdString()).ok);
    EXPECT_EQ(reread.count(), 2);

    // A ".txt" file is a yarn file too.
    ASSERT_TRUE(m_main->openFile(file));
    EXPECT_EQ(m_main->mdiArea()->subWindowList().size(), 2);
}

TEST_F(YarnDatabaseTest, ExportWritesAnArchiveAsTextAndReportsFailure)
{
    CYarnDoc archive;
    archive.AppendNew("8/2", "cotton; combed", 3360, 8, 20);
    const QString yrn = path(QStringLiteral("old.yrn"));
    ASSERT_TRUE(archive.Save(QFile::encodeName(yrn).toStdString()).ok);

    QAction* exportData = item(QStringLiteral("&File"), QStringLiteral("Export &Yarn Data..."));
    ASSERT_NE(exportData, nullptr);
    files = {yrn, path(QStringLiteral("old.txt"))};
    exportData->trigger();
    ASSERT_EQ(fileQuestions.size(), 2u);
    EXPECT_EQ(fileQuestions[1].start, path(QStringLiteral("old.txt")));
    ASSERT_EQ(m_told.size(), 1);
    EXPECT_EQ(m_told.last(), QString::fromLatin1(yarnmsg::kExported));
    CYarnDoc text;
    ASSERT_TRUE(text.Open(QFile::encodeName(path(QStringLiteral("old.txt"))).toStdString()).ok);
    ASSERT_EQ(text.count(), 1);
    EXPECT_EQ(text.yarn(0).fiber(), "cotton; combed");

    // A save that fails says so instead of claiming success.
    files = {yrn, path(QStringLiteral("gone/old.txt"))};
    exportData->trigger();
    ASSERT_EQ(m_told.size(), 2);
    EXPECT_NE(m_told.last(), QString::fromLatin1(yarnmsg::kExported));

    // A text file is not exported.
    files = {path(QStringLiteral("old.txt"))};
    fileQuestions.clear();
    exportData->trigger();
    EXPECT_EQ(fileQuestions.size(), 1u);
    EXPECT_EQ(m_told.size(), 2);
}

TEST_F(YarnDatabaseTest, YarnWindowEditsAndAsksBeforeLosingThem)
{
    const QString file = writeYarnFile(QStringLiteral("stash.txt"), kThreeYarns);
    ASSERT_TRUE(m_main->openFile(file));
    auto* view = qobject_cast<CYarnView*>(m_main->mdiArea()->subWindowList().first()->widget());
    ASSERT_NE(view, nullptr);
    CAllKeysListCtrl* list = view->list();
    list->setCurrentItem(list->topLevelItem(2));
    answerSheet("20/2", "tussah silk", "8000", 3, 36);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(list->topLevelItem(2)->text(1), QStringLiteral("tussah silk"));
    EXPECT_TRUE(view->isWindowModified());

    // Closing asks to save; Yes writes the file.
    answers = {true};
    ASSERT_TRUE(m_main->mdiArea()->subWindowList().first()->close());
    EXPECT_EQ(m_asked.last(), QStringLiteral("Save changes to stash.txt?"));
    CYarnDoc reread;
    ASSERT_TRUE(reread.Open(QFile::encodeName(file).toStdString()).ok);
    EXPECT_EQ(reread.yarn(2).fiber(), "tussah silk");
}

TEST_F(YarnDatabaseTest, MenusCarryTheirPrompts)
{
    struct Item {
        const char* menu;
        const char* text;
        const char* prompt;
    };
    const Item items[] = {
        {"&Tools", "&Yarn Database...", "Open yarn database"},
        {"&File", "Export &Yarn Data...", "Save the yarn database as a text file"},
        {"&Tools", "&Project Planner...", "Calculate warp and weft quantities needed for the project"},
    };
    for (const Item& i : items) {
        QAction* a = item(QString::fromLatin1(i.menu), QString::fromLatin1(i.text));
        ASSERT_NE(a, nullptr) << i.text;
        EXPECT_EQ(a->statusTip(), QString::fromLatin1(i.prompt));
    }
    // The planner needs a draft.
    EXPECT_FALSE(item(QStringLiteral("&Tools"), QStringLiteral("&Project Planner..."))->isEnabled());
    m_main->newDocument();
    EXPECT_TRUE(item(QStringLiteral("&Tools"), QStringLiteral("&Project Planner..."))->isEnabled());
}

TEST_F(YarnDatabaseTest, DatabaseFileInAWindowStaysInStepWithTheDialog)
{
    // [GIVEN] the database file also open in a yarn window
    ASSERT_NE(storedDatabase(), nullptr);
    ASSERT_TRUE(m_main->openFile(path(QStringLiteral("yarnDoc.txt"))));
    auto* view = qobject_cast<CYarnView*>(m_main->mdiArea()->subWindowList().first()->widget());
    ASSERT_NE(view, nullptr);

    // [WHEN] the dialog adds a yarn and saves [THEN] the window shows it
    runDatabaseDialog(
        [this](CYarnDialog& dlg) {
            answerSheet("5/2", "linen", "1500", 4, 15);
            dlg.addYarn();
        },
        true);
    EXPECT_EQ(view->list()->topLevelItemCount(), 4);
    EXPECT_FALSE(view->isWindowModified());

    // [WHEN] the window deletes one and saves [THEN] the database follows,
    // and saving it later does not bring the yarn back
    view->list()->setCurrentItem(view->list()->topLevelItem(0));
    ASSERT_TRUE(view->deleteSelected());
    ASSERT_TRUE(view->save());
    EXPECT_EQ(yarns()->loadedDatabase()->count(), 3);
    runDatabaseDialog(
        [](CYarnDialog& dlg) {
            dlg.list()->setCurrentItem(dlg.list()->topLevelItem(0)); // linen, sorted by fiber
            dlg.deleteSelected(false);
        },
        true);
    CYarnDoc reread;
    ASSERT_TRUE(reread.Open(QFile::encodeName(path(QStringLiteral("yarnDoc.txt"))).toStdString()).ok);
    ASSERT_EQ(reread.count(), 2);
    EXPECT_EQ(reread.yarn(0).fiber(), "wool");
    EXPECT_EQ(reread.yarn(1).fiber(), "silk");
    EXPECT_EQ(view->list()->topLevelItemCount(), 2);
}
