#include "core/draft/iprompter.h"
#include "tests/ui/mainwindowfixture.h"
#include "ui/app/defaultpalette.h"
#include "ui/app/draftreadwrite.h"
#include "ui/app/mainframe.h"
#include "ui/app/recentfilelist.h"
#include "ui/views/draftwindow.h"

#include "core/wif/wifreader.h"
#include "core/wif/wifwriter.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qb;

namespace {

class DraftFilesTest : public MainWindowTest {
protected:
    QTemporaryDir m_tmp;
};

} // namespace

TEST_F(DraftFilesTest, OpenEditSaveAndOpenAgain)
{
    // [GIVEN] a draft opened from a file
    ASSERT_TRUE(m_main->openFile(QStringLiteral(QUILLABY_TEST_DATA "/wif/multiweft.wif")));
    CDraftWindow* w = m_main->activeDraftWindow();
    ASSERT_NE(w, nullptr);
    CQuillabyDoc& doc = w->document();
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.numEnds(), 2);
    EXPECT_EQ(doc.numPicks(), 3);

    // [WHEN] it is edited and saved in the native format
    ASSERT_TRUE(doc.SetThreadingCell(kUnrecorded, 0, 5));
    ASSERT_TRUE(doc.isModified());
    const QString path = m_tmp.filePath(QStringLiteral("copy.qlb"));
    ASSERT_TRUE(m_main->files().saveDocumentTo(w, path)) << m_told.join('\n').toStdString();
    EXPECT_FALSE(doc.isModified());
    const std::string saved = WifText(doc, doc.date());

    // [THEN] the window now names the saved file, and reading it gives the same draft
    EXPECT_EQ(w->path(), path);
    ASSERT_TRUE(m_main->openFile(path));
    EXPECT_EQ(m_main->activeDraftWindow(), w); // already open: brought up, not read twice
    CQuillabyDoc again;
    QuietPrompter quiet;
    ASSERT_TRUE(ReadWifFile(path.toStdString(), again, quiet));
    EXPECT_EQ(WifText(again, doc.date()), saved);
    EXPECT_TRUE(m_told.isEmpty()) << m_told.join('\n').toStdString();
}

TEST_F(DraftFilesTest, BothTreadlingAndLiftplanAsksWhichToLoad)
{
    QStringList asked;
    m_main->setYesNoQuestion([&](const QString& q) {
        asked << q;
        return false; // No: treadling and tieup
    });
    ASSERT_TRUE(m_main->openFile(QStringLiteral(QUILLABY_TEST_DATA "/wif/bothforms.wif")));
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked.front().startsWith(QStringLiteral("This draft includes a liftplan")));
    EXPECT_FALSE(m_main->activeDraftWindow()->document().isLiftplan());
}

TEST_F(DraftFilesTest, FailedSaveKeepsTheDraftModifiedAndSaysWhy)
{
    m_main->newDocument();
    CDraftWindow* w = m_main->activeDraftWindow();
    ASSERT_NE(w, nullptr);
    w->document().SetThreadingCell(kUnrecorded, 0, 1);
    EXPECT_FALSE(m_main->files().saveDocumentTo(w, m_tmp.filePath(QStringLiteral("no/such/folder/d.wif"))));
    EXPECT_TRUE(w->document().isModified());
    ASSERT_EQ(m_told.size(), 1);
    EXPECT_TRUE(m_told.front().startsWith(QStringLiteral("Unable to save")));
}

TEST_F(DraftFilesTest, FileWithoutVersionIsRefusedWithTheMessage)
{
    const QString path = m_tmp.filePath(QStringLiteral("noversion.wif"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[CONTENTS]\r\nWEAVING=true\r\n[WEAVING]\r\nShafts=4\r\n");
    f.close();
    const auto before = m_main->draftWindows().size();
    EXPECT_FALSE(m_main->openFile(path));
    EXPECT_EQ(m_main->draftWindows().size(), before);
    // The version message, once, and nothing after it.
    EXPECT_EQ(m_told, QStringList{QStringLiteral("WIF Version  is not\nsupported by this application.")});
}
