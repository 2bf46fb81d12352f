// Recovery copies: kept while the editor runs, dropped on save and close,
// offered again after a crash, a kill or a stop by signal.
#include "tests/ui/mainwindowfixture.h"
#include "tests/ui/recoveryedits.h"
#include "ui/app/autosave.h"
#include "ui/app/draftreadwrite.h"
#include "ui/views/draftwindow.h"

#include "core/wif/wifreader.h"
#include "core/wif/wifwriter.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMdiArea>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

using namespace qb;

namespace {

class RecoveryTest : public MainWindowTest {
protected:
    void TearDown() override
    {
        CAutosave::setRecoveryQuestion({});
        MainWindowTest::TearDown();
    }
    QString root() const { return m_state.filePath(QStringLiteral("quillaby/recovery")); }
    std::unique_ptr<CAutosave> autosave()
    {
        auto a = std::make_unique<CAutosave>(*m_main, std::make_unique<CRecoveryStore>(root()));
        a->setIntervalSeconds(0);
        m_main->setAutosave(a.get());
        return a;
    }
    // Copies described in the recovery folder, of every run.
    QStringList copies() const
    {
        QStringList found;
        QDirIterator it(root(), {QStringLiteral("*.info")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) found << it.next();
        return found;
    }
    QStringList runFolders() const { return QDir(root()).entryList(QDir::Dirs | QDir::NoDotAndDotDot); }
    QString saved(const QString& name)
    {
        const QString path = m_files.filePath(name);
        QFile::copy(QStringLiteral(QUILLABY_SOURCE_SAMPLES "/twill.wif"), path);
        return path;
    }
    static std::string text(const CQuillabyDoc& doc) { return WifText(doc, "1/2/2026"); }

    QTemporaryDir m_state;
    QTemporaryDir m_files;
};

} // namespace

TEST_F(RecoveryTest, CopiesFollowEditsSavesAndCloses)
{
    auto keeper = autosave();
    CDraftWindow* untitled = m_main->newDocument();
    ASSERT_TRUE(m_main->openFile(saved(QStringLiteral("twill.wif"))));
    CDraftWindow* named = m_main->activeDraftWindow();
    ASSERT_NE(named, untitled);

    // Nothing changed: nothing kept, not even a folder.
    EXPECT_EQ(keeper->saveNow(), 0);
    EXPECT_TRUE(runFolders().isEmpty());

    recoverytest::ApplyEdits(named->document());
    recoverytest::ApplyEdits(untitled->document());
    EXPECT_EQ(keeper->saveNow(), 2);
    EXPECT_EQ(copies().size(), 2);
    // Unchanged since: not written again; changed again: written.
    EXPECT_EQ(keeper->saveNow(), 0);
    named->document().Transaction("Pencil", [&](Edit e) { named->document().SetThreadingCell(e, 1, 7, 0); });
    EXPECT_EQ(keeper->saveNow(), 1);

    // A running editor's copies are never offered to another start.
    EXPECT_TRUE(CRecoveryStore(root()).recovered().isEmpty());

    // Saved: its copy goes at once.
    ASSERT_TRUE(m_main->files().saveDocumentTo(named, m_files.filePath(QStringLiteral("saved.qlb"))));
    EXPECT_EQ(copies().size(), 1);
    // Closed with its changes discarded: its copy goes too.
    m_main->mdiArea()->setActiveSubWindow(m_main->mdiArea()->subWindowList().first());
    ASSERT_EQ(m_main->activeDraftWindow(), untitled);
    m_main->mdiArea()->closeActiveSubWindow();
    QApplication::processEvents();
    EXPECT_TRUE(copies().isEmpty());

    // A clean end leaves no folder behind.
    recoverytest::ApplyEdits(named->document());
    EXPECT_EQ(keeper->saveNow(), 1);
    keeper.reset();
    EXPECT_TRUE(runFolders().isEmpty());
    EXPECT_TRUE(QDir(root()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(RecoveryTest, TimerKeepsACopyOfAChangedDraft)
{
    auto keeper = autosave();
    CDraftWindow* w = m_main->newDocument();
    keeper->setIntervalSeconds(1);
    recoverytest::ApplyEdits(w->document());
    EXPECT_TRUE(QTest::qWaitFor([&] { return copies().size() == 1; }, 5000));
    // The interval follows the Options.
    CStoredSettings values = m_main->settings();
    values.AutosaveSeconds = 0;
    m_main->applyOptions(values);
    EXPECT_EQ(keeper->intervalSeconds(), 0);
}

TEST_F(RecoveryTest, EachLeftCopyIsRestoredOrDiscarded)
{
    // A run that was stopped: its copies stay, its lock is free.
    std::string namedText, untitledText;
    const QString path = saved(QStringLiteral("kept.wif"));
    {
        auto keeper = autosave();
        ASSERT_TRUE(m_main->openFile(path));
        CDraftWindow* named = m_main->activeDraftWindow();
        CDraftWindow* untitled = m_main->newDocument();
        CDraftWindow* dropped = m_main->newDocument();
        for (CDraftWindow* w : {named, untitled, dropped}) recoverytest::ApplyEdits(w->document());
        dropped->document().raw().title = "drop me";
        namedText = text(named->document());
        untitledText = text(untitled->document());
        keeper->saveForNextStart();
        m_main.reset();
    }
    ASSERT_EQ(copies().size(), 3);

    openMain();
    QStringList asked;
    CAutosave::setRecoveryQuestion([&](const RecoveredDraft& d) {
        asked << (d.path.isEmpty() ? d.title : d.path);
        QFile f(d.draftFile);
        f.open(QIODevice::ReadOnly);
        return !f.readAll().contains("drop me");
    });
    auto keeper = autosave();
    EXPECT_EQ(keeper->offerRecovered(), 2);
    EXPECT_EQ(asked.size(), 3);
    EXPECT_TRUE(asked.contains(path));

    const QList<CDraftWindow*> windows = m_main->draftWindows();
    ASSERT_EQ(windows.size(), 2);
    const CDraftWindow* named = windows[0]->path().isEmpty() ? windows[1] : windows[0];
    const CDraftWindow* untitled = windows[0]->path().isEmpty() ? windows[0] : windows[1];
    EXPECT_EQ(named->path(), path);
    EXPECT_EQ(named->title(), QStringLiteral("kept.wif"));
    EXPECT_TRUE(untitled->path().isEmpty());
    EXPECT_TRUE(untitled->title().startsWith(QStringLiteral("Draft")));
    for (const CDraftWindow* w : windows) {
        EXPECT_TRUE(w->document().isModified());
        EXPECT_TRUE(w->isWindowModified());
    }
    EXPECT_EQ(text(named->document()), namedText);
    EXPECT_EQ(text(untitled->document()), untitledText);

    // The old run's folder is gone; the restored drafts are already kept by this run.
    EXPECT_EQ(runFolders().size(), 1);
    EXPECT_EQ(copies().size(), 2);
    // Nothing is offered twice.
    EXPECT_EQ(keeper->offerRecovered(), 0);
}

TEST_F(RecoveryTest, UnreadableCopyIsReportedAndKept)
{
    {
        CRecoveryStore gone(root());
        auto doc = std::make_unique<CQuillabyDoc>();
        doc->OnNewDocument(m_main->newDraftDefaults());
        ASSERT_TRUE(gone.write(1, *doc, QString(), QStringLiteral("Draft1")));
        QFile broken(gone.sessionDir() + QStringLiteral("/draft-1.qlb"));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
        broken.write("not a draft");
        gone.keepCopies();
    }
    CAutosave::setRecoveryQuestion([](const RecoveredDraft&) { return true; });
    auto keeper = autosave();
    EXPECT_EQ(keeper->offerRecovered(), 0);
    // The reader may have said why first; then where the copy stays.
    ASSERT_FALSE(m_told.isEmpty());
    EXPECT_TRUE(m_told.last().contains(QStringLiteral("cannot be read"))) << m_told.last().toStdString();
    EXPECT_EQ(copies().size(), 1);
}

// The editor as a separate process, killed or stopped after its edits.
class RecoveryProcessTest : public RecoveryTest {
protected:
    QProcessEnvironment childEnv(int autosaveSeconds)
    {
        QDir(m_config.path()).mkpath(QStringLiteral("Oxbelle Software"));
        QFile conf(m_config.filePath(QStringLiteral("Oxbelle Software/Quillaby.conf")));
        EXPECT_TRUE(conf.open(QIODevice::WriteOnly));
        conf.write(QStringLiteral("[Settings]\nAutosaveSeconds=%1\n").arg(autosaveSeconds).toUtf8());
        conf.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
        env.insert(QStringLiteral("XDG_STATE_HOME"), m_state.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return env;
    }
    // Starts the editor and waits until it has made its edits.
    bool startEdited(QProcess& p, int autosaveSeconds, const QStringList& args)
    {
        p.setProcessEnvironment(childEnv(autosaveSeconds));
        p.start(QStringLiteral(QUILLABY_RECOVERY_EDITOR), args);
        QDeadlineTimer deadline(20000);
        QByteArray out;
        while (!out.contains("edited") && !deadline.hasExpired() && p.state() != QProcess::NotRunning) {
            p.waitForReadyRead(100);
            out += p.readAllStandardOutput();
        }
        return out.contains("edited");
    }
    static bool waitForExit(QProcess& p, int ms)
    {
        QDeadlineTimer deadline(ms);
        while (p.state() != QProcess::NotRunning && !deadline.hasExpired()) p.waitForFinished(50);
        return p.state() == QProcess::NotRunning;
    }
    // What the editor's draft must be: the same file (or a new draft) with the same edits.
    std::string expected(const QString& path)
    {
        CQuillabyDoc doc;
        if (path.isEmpty()) {
            doc.OnNewDocument(m_main->newDraftDefaults());
        } else {
            QString error;
            EXPECT_TRUE(ReadDraftFile(path, m_main->newDraftDefaults(), doc, error)) << error.toStdString();
            doc.EnsureComplete();
        }
        recoverytest::ApplyEdits(doc);
        return text(doc);
    }
    // Starts again (in this process) and restores everything offered.
    QList<CDraftWindow*> restoreAll()
    {
        CAutosave::setRecoveryQuestion([](const RecoveredDraft&) { return true; });
        m_keeper = autosave();
        m_keeper->offerRecovered();
        return m_main->draftWindows();
    }

    QTemporaryDir m_config;
    QTemporaryDir m_runtime;
    std::unique_ptr<CAutosave> m_keeper;
};

TEST_F(RecoveryProcessTest, KilledEditorsNamedDraftComesBackExactly)
{
    const QString path = saved(QStringLiteral("killed.wif"));
    QProcess editor;
    ASSERT_TRUE(startEdited(editor, 1, {path})) << editor.readAllStandardError().toStdString();
    // The timer's copy, then no chance to do anything more.
    ASSERT_TRUE(QTest::qWaitFor([&] { return copies().size() == 1; }, 10000));
    QThread::msleep(200);
    ::kill(pid_t(editor.processId()), SIGKILL);
    ASSERT_TRUE(waitForExit(editor, 5000));
    EXPECT_EQ(editor.exitStatus(), QProcess::CrashExit);

    const QList<CDraftWindow*> windows = restoreAll();
    ASSERT_EQ(windows.size(), 1);
    const CDraftWindow* w = windows.first();
    EXPECT_EQ(w->path(), path);
    EXPECT_EQ(w->title(), QStringLiteral("killed.wif"));
    EXPECT_TRUE(w->document().isModified());
    EXPECT_EQ(text(w->document()), expected(path));
}

TEST_F(RecoveryProcessTest, StoppedEditorsUntitledDraftComesBackExactly)
{
    QProcess editor;
    // No timer copy in this run: only the signal makes one.
    ASSERT_TRUE(startEdited(editor, 3600, {})) << editor.readAllStandardError().toStdString();
    QThread::msleep(200);
    EXPECT_TRUE(copies().isEmpty());
    editor.terminate(); // SIGTERM
    ASSERT_TRUE(waitForExit(editor, 10000));
    EXPECT_EQ(editor.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(editor.exitCode(), 0);
    ASSERT_EQ(copies().size(), 1);

    const QList<CDraftWindow*> windows = restoreAll();
    ASSERT_EQ(windows.size(), 1);
    const CDraftWindow* w = windows.first();
    EXPECT_TRUE(w->path().isEmpty());
    EXPECT_TRUE(w->title().startsWith(QStringLiteral("Draft")));
    EXPECT_TRUE(w->document().isModified());
    EXPECT_EQ(text(w->document()), expected(QString()));
}
