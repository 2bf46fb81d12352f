#include "tests/ui/mainwindowfixture.h"
#include "ui/app/defaultpalette.h"
#include "ui/app/documentfiles.h"
#include "ui/app/mainframe.h"
#include "ui/app/recentfilelist.h"
#include "ui/app/windowplacement.h"
#include "ui/views/draftframe.h"
#include "ui/views/draftwindow.h"

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

using namespace qb;

namespace {

class MainFrameTest : public MainWindowTest {
protected:
    bool startsWithWindow() const override { return false; }
    // A main window made after the test stored its settings.
    std::unique_ptr<CMainFrame> makeFrame()
    {
        QSettings s = TestSettingsDir::store();
        m_palette.load(s);
        auto frame = std::make_unique<CMainFrame>(m_palette, m_recent);
        frame->setMessageHandler([this](const QString& text) { m_told << text; });
        return frame;
    }
    void store(const char* key, const QVariant& value)
    {
        QSettings s = TestSettingsDir::store();
        s.setValue(QLatin1String(key), value);
    }
};

} // namespace

TEST_F(MainFrameTest, FileNewUsesTheStoredDefaults)
{
    store("Settings/DfltNumShafts", 12);
    store("Settings/DfltNumTreadles", 200);
    store("Settings/DfltRisingShed", 0);
    store("Settings/UnitMeasure", 1);
    store("Settings/DfltWasteLength", 40);
    store("Settings/DfltThreading", 3);
    store("Settings/NumDefaultColors", 3);
    store("Colors/color0", 0x0000FF);
    store("Colors/color1", 0xFFFFFF);
    store("Colors/color2", 0x0000FF);
    auto frame = makeFrame();

    CDraftWindow* w = frame->newDocument();
    ASSERT_NE(w, nullptr);
    const CQuillabyDoc& d = w->document();
    EXPECT_EQ(d.numShafts(), 12);
    EXPECT_EQ(d.numTreadles(), 128);
    EXPECT_FALSE(d.isLiftplan());
    EXPECT_FALSE(d.isRisingShed());
    EXPECT_EQ(d.units(), 1);
    EXPECT_EQ(d.plan().loomWaste, 40);
    EXPECT_EQ(d.notations().threading, 3);
    EXPECT_EQ(d.notations().tieup, 2);
    // White first, duplicates collapse.
    EXPECT_EQ(d.palette().colors(), (std::vector<COLORREF>{0xFFFFFF, 0x0000FF}));
    EXPECT_EQ(w->title(), QStringLiteral("Draft1"));
    EXPECT_TRUE(w->path().isEmpty());
    EXPECT_FALSE(d.isModified());
    EXPECT_EQ(frame->newDocument()->title(), QStringLiteral("Draft2"));
    EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 2);
}

TEST_F(MainFrameTest, LiftplanDefaultMakesTreadlesFollowShafts)
{
    store("Settings/DfltNumShafts", 6);
    store("Settings/DfltLiftPlan", 1);
    auto frame = makeFrame();
    const CQuillabyDoc& d = frame->newDocument()->document();
    EXPECT_TRUE(d.isLiftplan());
    EXPECT_EQ(d.numTreadles(), 6);
    EXPECT_EQ(d.palette().count(), 15); // the built-ins already hold white
}

TEST_F(MainFrameTest, OptionsOkIsWrittenAtOnceAndAllSettingsOnDestruction)
{
    auto frame = makeFrame();
    CStoredSettings v = frame->settings();
    v.DfltNumShafts = 20;
    frame->applyOptions(v);
    EXPECT_EQ(TestSettingsDir::store().value("Settings/DfltNumShafts").toInt(), 20);
    EXPECT_EQ(frame->newDocument()->document().numShafts(), 20);

    frame->move(40, 30);
    frame->resize(700, 500);
    frame->show();
    frame->close();
    frame.reset();
    QSettings s = TestSettingsDir::store();
    EXPECT_EQ(s.value("Settings/InitialWidth").toInt(), 700);
    EXPECT_EQ(s.value("Settings/InitialHeight").toInt(), 500);
    EXPECT_TRUE(s.contains("Settings/DfltNetworkFile"));
}

TEST_F(MainFrameTest, MaximisedWindowIsRememberedAtTheOrigin)
{
    auto frame = makeFrame();
    frame->showMaximized();
    QApplication::processEvents();
    ASSERT_TRUE(frame->isMaximized());
    frame->close();
    frame.reset();
    QSettings s = TestSettingsDir::store();
    EXPECT_EQ(s.value("Settings/InitialXPos").toInt(), 0);
    EXPECT_EQ(s.value("Settings/InitialYPos").toInt(), 0);
    EXPECT_GT(s.value("Settings/InitialWidth").toInt(), 0);
    EXPECT_GT(s.value("Settings/InitialHeight").toInt(), 0);
}

TEST_F(MainFrameTest, PlacementOnlyOnAPresentScreen)
{
    const QList<QRect> screens{QRect(0, 0, 1600, 1000)};
    EXPECT_TRUE(WindowPlacement::isUsable(QRect(10, 10, 800, 600), screens));
    EXPECT_TRUE(WindowPlacement::isUsable(QRect(-400, 5, 800, 600), screens));
    EXPECT_FALSE(WindowPlacement::isUsable(QRect(2500, 10, 800, 600), screens));
    EXPECT_FALSE(WindowPlacement::isUsable(QRect(10, -300, 800, 200), screens));
    EXPECT_FALSE(WindowPlacement::isUsable(QRect(10, 10, 0, 600), screens));
    EXPECT_FALSE(WindowPlacement::isUsable(QRect(10, 10, 800, -1), screens));

    store("Settings/InitialXPos", 5000);
    store("Settings/InitialYPos", 5000);
    store("Settings/InitialWidth", 300);
    store("Settings/InitialHeight", 200);
    auto frame = makeFrame();
    WindowPlacement::restore(*frame, frame->settings());
    EXPECT_EQ(frame->size(), QSize(300, 200));
    EXPECT_NE(frame->pos(), QPoint(5000, 5000));
}

TEST_F(MainFrameTest, OpenFileIsTheOneHookForReading)
{
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("cloth.wif"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[WIF]\n");
    f.close();
    auto frame = makeFrame();

    // Not a draft file: the weaver is told, nothing opens.
    EXPECT_FALSE(frame->openFile(path));
    ASSERT_EQ(m_told.size(), 1);
    EXPECT_FALSE(frame->openFile(files.filePath(QStringLiteral("missing.wif"))));
    EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 0);

    int reads = 0;
    CDocumentFiles::setDocumentLoader([&](const QString& p, const NewDraftDefaults& d, CQuillabyDoc& doc, QString&) {
        ++reads;
        EXPECT_EQ(p, path);
        doc.OnNewDocument(d);
        return true;
    });
    ASSERT_TRUE(frame->openFile(path));
    EXPECT_TRUE(frame->openFile(path)); // already open: activated, not read again
    EXPECT_EQ(reads, 1);
    ASSERT_EQ(frame->draftWindows().size(), 1);
    EXPECT_EQ(frame->draftWindows().first()->title(), QStringLiteral("cloth.wif"));
    EXPECT_EQ(m_recent.files(), QStringList{path});
    EXPECT_EQ(TestSettingsDir::store().value("Recent File List/File1").toString(), path);

    CDocumentFiles::setDocumentLoader([](const QString&, const NewDraftDefaults&, CQuillabyDoc&, QString& e) {
        e = QStringLiteral("Not a weaving file.");
        return false;
    });
    const QString other = files.filePath(QStringLiteral("other.wif"));
    QFile::copy(path, other);
    EXPECT_FALSE(frame->openFile(other));
    EXPECT_EQ(m_told.last(), QStringLiteral("Not a weaving file."));
    EXPECT_EQ(frame->draftWindows().size(), 1);
}

TEST_F(MainFrameTest, DroppedFilesGoThroughOpenFile)
{
    auto frame = makeFrame();
    frame->show();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QStringLiteral("/no/such/dropped.wif"))});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    // Delivered straight to the window, as the platform drag code does.
    static_cast<QObject*>(frame.get())->event(&drop);
    ASSERT_EQ(m_told.size(), 1);
    EXPECT_TRUE(m_told.first().contains(QStringLiteral("dropped.wif")));
}

TEST_F(MainFrameTest, SetDefaultPaletteStoresTheActiveDraftsColors)
{
    auto frame = makeFrame();
    CDraftWindow* w = frame->newDocument();
    w->document().raw().paletteMutable().clear();
    w->document().raw().paletteMutable().add(0x112233, false);
    w->document().raw().paletteMutable().add(0x445566, false);
    ASSERT_TRUE(frame->setDefaultPaletteFromActive());
    QSettings s = TestSettingsDir::store();
    EXPECT_EQ(s.value("Settings/NumDefaultColors").toInt(), 2);
    EXPECT_EQ(s.value("Colors/color1").toInt(), 0x445566);
    EXPECT_FALSE(s.contains("Colors/color2"));
    EXPECT_EQ(frame->newDocument()->document().palette().colors(),
              (std::vector<COLORREF>{0xFFFFFF, 0x112233, 0x445566}));
}

TEST_F(MainFrameTest, RequestFromASecondStartBringsTheWindowBack)
{
    auto frame = makeFrame();
    EXPECT_EQ(CMainFrame::instance(), frame.get());
    frame->showMinimized();
    QApplication::processEvents();
    frame->openRequestedFile(QStringLiteral("/no/such/handed.wif"));
    QApplication::processEvents();
    EXPECT_FALSE(frame->isMinimized());
    EXPECT_TRUE(frame->isVisible());
    ASSERT_EQ(m_told.size(), 1);
    EXPECT_TRUE(m_told.first().contains(QStringLiteral("handed.wif")));
}

TEST_F(MainFrameTest, MissingRecentFileLeavesTheList)
{
    m_recent.add(QStringLiteral("/no/such/old.wif"));
    m_recent.add(QStringLiteral("/no/such/new.wif"));
    auto frame = makeFrame();
    EXPECT_FALSE(frame->openFile(QStringLiteral("/no/such/old.wif")));
    EXPECT_EQ(m_recent.files(), QStringList{QStringLiteral("/no/such/new.wif")});
}

TEST_F(MainFrameTest, ModifiedDraftClosesOnlyWithConsent)
{
    auto frame = makeFrame();
    frame->show();
    CDraftWindow* w = frame->newDocument();
    w->document().SetModified();
    QStringList asked;
    CDocumentFiles::SaveAnswer answer = CDocumentFiles::SaveAnswer::Cancel;
    frame->files().setSaveQuestion([&](const QString& title) {
        asked << title;
        return answer;
    });

    // [WHEN] the weaver cancels, neither the draft nor the main window closes
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(asked, QStringList{QStringLiteral("Draft1")});
    // (the next steps name a file, so Save needs no file dialog)
    EXPECT_EQ(frame->draftWindows().size(), 1);

    // [WHEN] saving fails (the folder is gone), the draft stays open
    answer = CDocumentFiles::SaveAnswer::Save;
    w->setPath(QStringLiteral("/nonexistent-folder/cloth.wif"), QStringLiteral("cloth.wif"));
    frame->mdiArea()->subWindowList().first()->close();
    QApplication::processEvents();
    EXPECT_EQ(frame->draftWindows().size(), 1);
    EXPECT_FALSE(m_told.isEmpty());

    // [WHEN] saving works, the draft closes
    QString written;
    CDocumentFiles::setDocumentSaver([&](const QString& p, const CQuillabyDoc&, QString&) {
        written = p;
        return true;
    });
    frame->mdiArea()->subWindowList().first()->close();
    QApplication::processEvents();
    CDocumentFiles::setDocumentSaver({});
    EXPECT_EQ(written, QStringLiteral("/nonexistent-folder/cloth.wif"));
    EXPECT_EQ(frame->draftWindows().size(), 0);

    // [THEN] an unmodified draft closes without a question
    frame->newDocument();
    asked.clear();
    EXPECT_TRUE(frame->close());
    EXPECT_TRUE(asked.isEmpty());
}

TEST_F(MainFrameTest, DrawnUpAndHiddenGridOptionsReachOpenWindows)
{
    auto frame = makeFrame();
    frame->show();
    CDraftWindow* w = frame->newDocument();
    QMdiArea* area = frame->findChild<QMdiArea*>();
    ASSERT_TRUE(area);
    CGridFrame* threading = w->openFrame(FrameKind::Threading, area);
    ASSERT_TRUE(w->frame()->threadingOnTop());
    CStoredSettings v = frame->settings();
    v.DraftDrawnUp = 1;
    v.ShowGridWhenHidden = 1;
    frame->applyOptions(v);
    EXPECT_FALSE(w->frame()->threadingOnTop());
    EXPECT_FALSE(threading->threadingOnTop());
    EXPECT_TRUE(w->frame()->showGridWhenHidden());
    // Windows opened afterwards start drawn up as well.
    EXPECT_FALSE(w->openFrame(FrameKind::Treadling, area)->threadingOnTop());
}
