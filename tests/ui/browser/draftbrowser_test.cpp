#include "tests/ui/mainwindowfixture.h"
#include "ui/browser/browserfiles.h"
#include "ui/browser/draftbrowser.h"
#include "ui/browser/previewloader.h"

#include "core/draft/quillabydoc.h"
#include "core/wif/wifwriter.h"
#include "ui/base/storedsettings.h"
#include "ui/views/draftframe.h"

#include <QDirIterator>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

using namespace qb;

void touch(const QString& path, const QByteArray& bytes = "x")
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A small draft whose end count tells it apart.
void writeDraft(const QString& path, int ends)
{
    CQuillabyDoc doc;
    NewDraftDefaults d;
    d.shafts = d.treadles = 4;
    doc.OnNewDocument(d);
    for (int e = 0; e < ends; ++e) doc.SetThreadingCell(kUnrecorded, e, 1 + e % 4);
    for (int p = 0; p < 4; ++p) doc.SetTreadlingCell(kUnrecorded, p, 1 + p);
    ASSERT_TRUE(WriteWifFile(doc, QFile::encodeName(path).toStdString()));
}

TEST(BrowserFiles, DraftNamesByTheirRealExtension)
{
    const std::pair<const char*, bool> names[] = {
        {"A.WIF", true},       {"b.qlb", true}, {"c.Wif", true}, {"c.txt", false},     {"mywif", false},
        {"notes.xqlb", false}, {"wif", false},  {".wif", true},  {"x.wif.bak", false},
    };
    for (const auto& [name, draft] : names) EXPECT_EQ(IsDraftFileName(QString::fromLatin1(name)), draft) << name;

    QTemporaryDir dir;
    for (const char* n : {"A.WIF", "b.qlb", "c.txt", "mywif", "notes.xqlb"})
        touch(dir.filePath(QString::fromLatin1(n)));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("old.wif")));
    QStringList listed;
    for (const QFileInfo& fi : DraftFilesIn(dir.path())) listed << fi.fileName();
    listed.sort();
    EXPECT_EQ(listed, QStringList({QStringLiteral("A.WIF"), QStringLiteral("b.qlb")}));
    EXPECT_TRUE(DraftFilesIn(dir.filePath(QStringLiteral("missing"))).isEmpty());
    EXPECT_TRUE(DraftFilesIn(QString()).isEmpty());
}

TEST(BrowserFiles, DatesFollowTheLocale)
{
    const QDateTime early(QDate(2021, 3, 3), QTime(0, 5));
    const QDateTime afternoon(QDate(2021, 3, 3), QTime(13, 30));
    const QLocale us(QLocale::English, QLocale::UnitedStates), de(QLocale::German, QLocale::Germany);
    EXPECT_TRUE(ModifiedText(early, us).startsWith(QStringLiteral("3/3/21"))) << ModifiedText(early, us).toStdString();
    EXPECT_TRUE(ModifiedText(early, us).contains(QStringLiteral("12:05"))) << ModifiedText(early, us).toStdString();
    EXPECT_TRUE(ModifiedText(afternoon, us).contains(QStringLiteral("1:30")))
        << ModifiedText(afternoon, us).toStdString();
    EXPECT_EQ(ModifiedText(early, de), QStringLiteral("03.03.21 00:05"));
    EXPECT_EQ(ModifiedText(afternoon, de), QStringLiteral("03.03.21 13:30"));
}

TEST(BrowserFiles, LocationAndWindowSize)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("drafts")));
    const BrowseLocation a = SplitBrowseLocation(dir.filePath(QStringLiteral("drafts")));
    EXPECT_EQ(a.root, QFileInfo(dir.path()).absoluteFilePath());
    EXPECT_EQ(a.subfolder, QStringLiteral("drafts"));
    // Nothing stored, or a folder that is gone: the home folder.
    for (const QString& s : {QString(), dir.filePath(QStringLiteral("gone"))}) {
        const BrowseLocation h = SplitBrowseLocation(s);
        EXPECT_EQ(QDir(h.root).filePath(h.subfolder), QDir::homePath());
    }
    EXPECT_EQ(BrowserWindowSize(2000, 300, QSize(1200, 900)), QSize(800, 300));
    EXPECT_EQ(BrowserWindowSize(-1, 0, QSize(1200, 900)), QSize(800, 600));
    EXPECT_EQ(BrowserWindowSize(500, 900, QSize(1200, 900)), QSize(500, 600));
}

class DraftBrowserTest : public MainWindowTest {
protected:
    CDraftBrowser* open(const QString& folder)
    {
        m_main->settingsMutable().DfltBrowseLocn = folder;
        CDraftBrowser* b = OpenDraftBrowser(m_main.get());
        waitForPreview(b, b->selectedPath());
        return b;
    }
    static bool waitForPreview(CDraftBrowser* b, const QString& path)
    {
        return QTest::qWaitFor([&] { return !b->loader()->busy() && b->previewPath() == path; }, 5000);
    }
    static QStringList names(QTreeWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i) out << list->topLevelItem(i)->text(0);
        return out;
    }
};

TEST_F(DraftBrowserTest, ListsSortsAndPreviews)
{
    QTemporaryDir dir;
    writeDraft(dir.filePath(QStringLiteral("b.qlb")), 6);
    writeDraft(dir.filePath(QStringLiteral("A.WIF")), 5);
    writeDraft(dir.filePath(QStringLiteral("c.wif")), 7);
    touch(dir.filePath(QStringLiteral("notes.txt")));
    CDraftBrowser* b = open(dir.path());
    EXPECT_EQ(b->windowTitle(), QStringLiteral("Draft Browser"));
    QStringList listed = names(b->fileList());
    listed.sort();
    EXPECT_EQ(listed, QStringList({"A.WIF", "b.qlb", "c.wif"}));
    ASSERT_NE(b->previewDocument(), nullptr);
    EXPECT_EQ(b->previewPath(), b->selectedPath());
    ASSERT_NE(b->previewFrame(), nullptr);

    // Two clicks on "File Name": ascending without regard to case, then descending.
    QHeaderView* header = b->fileList()->header();
    emit header->sectionClicked(0);
    EXPECT_EQ(names(b->fileList()), QStringList({"A.WIF", "b.qlb", "c.wif"}));
    emit header->sectionClicked(0);
    EXPECT_EQ(names(b->fileList()), QStringList({"c.wif", "b.qlb", "A.WIF"}));

    // Moving down previews the next draft.
    b->fileList()->setCurrentItem(b->fileList()->topLevelItem(2));
    ASSERT_TRUE(waitForPreview(b, dir.filePath(QStringLiteral("A.WIF"))));
    EXPECT_EQ(b->previewDocument()->numEnds(), 5);

    // "Draft" opens it as a normal window.
    const int before = m_main->draftWindows().size();
    b->openSelected();
    EXPECT_EQ(m_main->draftWindows().size(), before + 1);
}

TEST_F(DraftBrowserTest, FileMenuSharesTheMainWindowsCommands)
{
    QTemporaryDir dir;
    writeDraft(dir.filePath(QStringLiteral("a.wif")), 5);
    CDraftBrowser* b = open(dir.path());
    QMenu* file = b->menuBar()->findChild<QMenu*>();
    ASSERT_NE(file, nullptr);
    QStringList texts;
    for (QAction* a : file->actions())
        if (!a->isSeparator()) texts << a->text();
    EXPECT_EQ(texts, QStringList({"&New", "&Open...", "Open &Recent", "Refresh Files", "Draft", "&Close", "E&xit"}));
    // New from the browser makes a draft in the main window, as File New does there.
    const int before = m_main->draftWindows().size();
    file->actions().front()->trigger();
    EXPECT_EQ(m_main->draftWindows().size(), before + 1);
}

TEST_F(DraftBrowserTest, AnUnreadableFileShowsWhyNotThePreviousDraft)
{
    QTemporaryDir dir;
    writeDraft(dir.filePath(QStringLiteral("a.wif")), 5);
    touch(dir.filePath(QStringLiteral("broken.wif")), QByteArray("\x00\x01garbage", 9));
    CDraftBrowser* b = open(dir.path());
    emit b->fileList()->header()->sectionClicked(0);
    b->fileList()->setCurrentItem(b->fileList()->topLevelItem(0));
    ASSERT_TRUE(waitForPreview(b, dir.filePath(QStringLiteral("a.wif"))));
    ASSERT_NE(b->previewDocument(), nullptr);
    b->fileList()->setCurrentItem(b->fileList()->topLevelItem(1));
    ASSERT_TRUE(waitForPreview(b, dir.filePath(QStringLiteral("broken.wif"))));
    EXPECT_EQ(b->previewDocument(), nullptr);
    EXPECT_TRUE(b->previewMessage().contains(QStringLiteral("broken.wif")));
    EXPECT_TRUE(m_told.isEmpty());
}

TEST_F(DraftBrowserTest, RapidMovesEndOnTheLastDraft)
{
    QTemporaryDir dir;
    for (int i = 0; i < 60; ++i) writeDraft(dir.filePath(QStringLiteral("d%1.wif").arg(i, 2, 10, QChar('0'))), 2 + i);
    CDraftBrowser* b = open(dir.path());
    emit b->fileList()->header()->sectionClicked(0);
    b->fileList()->setFocus();
    b->fileList()->setCurrentItem(b->fileList()->topLevelItem(0));
    for (int i = 0; i < 59; ++i) QTest::keyClick(b->fileList(), Qt::Key_Down);
    ASSERT_TRUE(waitForPreview(b, dir.filePath(QStringLiteral("d59.wif"))))
        << b->selectedPath().toStdString() << " shows " << b->previewPath().toStdString();
    ASSERT_NE(b->previewDocument(), nullptr);
    EXPECT_EQ(b->previewDocument()->numEnds(), 61);
}

TEST_F(DraftBrowserTest, EveryTestDraftPreviews)
{
    // Every draft file under the test data: a preview or a message, never a stale draft.
    QDirIterator it(QStringLiteral(QUILLABY_TEST_DATA), QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    QStringList folders{QStringLiteral(QUILLABY_TEST_DATA)};
    while (it.hasNext()) folders << it.next();
    m_main->settingsMutable().DfltBrowseLocn = folders.first();
    CDraftBrowser* b = OpenDraftBrowser(m_main.get());
    int seen = 0;
    for (const QString& folder : folders) {
        b->showFolder(folder);
        QTreeWidget* list = b->fileList();
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            list->setCurrentItem(list->topLevelItem(i));
            const QString path = b->selectedPath();
            ASSERT_TRUE(waitForPreview(b, path)) << path.toStdString() << " shows " << b->previewPath().toStdString()
                                                 << (b->loader()->busy() ? " (reading)" : "");
            EXPECT_TRUE(b->previewDocument() || !b->previewMessage().isEmpty()) << path.toStdString();
            ++seen;
        }
    }
    EXPECT_GT(seen, 5);
    EXPECT_TRUE(m_told.isEmpty());
}

TEST_F(DraftBrowserTest, SizesAndColumnWidthsAreKept)
{
    QTemporaryDir dir;
    writeDraft(dir.filePath(QStringLiteral("a.wif")), 5);
    CDraftBrowser* b = open(dir.path());
    b->resize(700, 500);
    b->fileList()->setColumnWidth(0, 123);
    b->fileList()->setColumnWidth(1, 98);
    b->close();
    const CStoredSettings& s = m_main->settings();
    EXPECT_EQ(s.BrowseNameWidth, 123);
    EXPECT_EQ(s.BrowseModfdWidth, 98);
    EXPECT_EQ(s.BrowseWidth, 700);
    EXPECT_EQ(s.BrowseHeight, 500);
    EXPECT_GT(s.BrowseDirWidth + s.BrowseFileWidth, 0);
    EXPECT_LE(s.BrowseDirWidth + s.BrowseFileWidth, 100 - CStoredSettings::kMinPreviewPercent);
}

} // namespace
