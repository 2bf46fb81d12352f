#include "ui/app/singleinstance.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <thread>

using namespace qb;

namespace {

// Each test gets its own runtime directory, so sockets and locks of other
// tests (or a real Quillaby) are never touched.
class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
    }
    void TearDown() override { qputenv("XDG_RUNTIME_DIR", m_oldRuntime); }

    // Runs a second start on another thread while this one serves requests.
    CSingleInstance::Role secondStart(const QString& key, const QString& file)
    {
        std::atomic<int> role{-1};
        std::thread t([&] {
            CSingleInstance second(key);
            role = int(second.start(file, 3000));
        });
        QDeadlineTimer deadline(5000);
        while (role < 0 && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        t.join();
        QCoreApplication::processEvents();
        return CSingleInstance::Role(role.load());
    }

    QTemporaryDir m_runtime;
    QByteArray m_oldRuntime;
};

QString quillabyExe()
{
    return QStringLiteral(QUILLABY_BINARY_DIR "/ui/quillaby");
}

QProcessEnvironment childEnv(const QString& runtime, const QString& config)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

bool waitForExit(QProcess& p, int ms)
{
    QDeadlineTimer deadline(ms);
    while (p.state() != QProcess::NotRunning && !deadline.hasExpired()) {
        p.waitForFinished(50);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return p.state() == QProcess::NotRunning;
}

} // namespace

TEST_F(SingleInstanceTest, SecondStartHandsOverAnAbsolutePath)
{
    CSingleInstance first(QStringLiteral("test.handover"));
    ASSERT_EQ(first.start(), CSingleInstance::Role::Primary) << first.errorString().toStdString();
    QSignalSpy spy(&first, &CSingleInstance::fileRequested);

    const QString relative = QStringLiteral("some dir/draft \xc3\xa9.wif");
    EXPECT_EQ(secondStart(QStringLiteral("test.handover"), relative), CSingleInstance::Role::Secondary);
    ASSERT_EQ(spy.size(), 1);
    const QString got = spy.at(0).at(0).toString();
    EXPECT_TRUE(QFileInfo(got).isAbsolute());
    EXPECT_EQ(got, QDir::current().absoluteFilePath(relative));

    // Without a file nothing is asked of the first instance.
    EXPECT_EQ(secondStart(QStringLiteral("test.handover"), QString()), CSingleInstance::Role::Secondary);
    EXPECT_EQ(spy.size(), 1);
}

TEST_F(SingleInstanceTest, NameCarriesTheUserAndKeysAreSeparate)
{
    CSingleInstance a(QStringLiteral("test.a"));
    CSingleInstance b(QStringLiteral("test.b"));
    EXPECT_TRUE(a.serverName().contains(QString::number(::getuid())));
    EXPECT_TRUE(a.serverName().startsWith(m_runtime.path()));
    EXPECT_EQ(a.start(), CSingleInstance::Role::Primary);
    EXPECT_EQ(b.start(), CSingleInstance::Role::Primary);
}

TEST_F(SingleInstanceTest, StaleSocketOfACrashedInstanceDoesNotBlock)
{
    CSingleInstance probe(QStringLiteral("test.stale"));
    const QByteArray path = probe.serverName().toLocal8Bit();
    // A bound socket whose owner is gone: the file stays, nobody listens.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    ASSERT_LT(size_t(path.size()), sizeof(addr.sun_path));
    std::memcpy(addr.sun_path, path.constData(), size_t(path.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
    ::close(fd);
    ASSERT_TRUE(QFileInfo::exists(probe.serverName()));

    CSingleInstance first(QStringLiteral("test.stale"));
    ASSERT_EQ(first.start(), CSingleInstance::Role::Primary) << first.errorString().toStdString();
    QSignalSpy spy(&first, &CSingleInstance::fileRequested);
    EXPECT_EQ(secondStart(QStringLiteral("test.stale"), QStringLiteral("/x.wif")), CSingleInstance::Role::Secondary);
    EXPECT_EQ(spy.size(), 1);
}

TEST_F(SingleInstanceTest, ProgramStartedSecondHandsItsFileToTheFirst)
{
    QTemporaryDir work;
    CSingleInstance first; // the program's own key
    ASSERT_EQ(first.start(), CSingleInstance::Role::Primary) << first.errorString().toStdString();
    QSignalSpy spy(&first, &CSingleInstance::fileRequested);

    QProcess second;
    second.setProcessEnvironment(childEnv(m_runtime.path(), work.path()));
    second.setWorkingDirectory(work.path());
    second.start(quillabyExe(), {QStringLiteral("cloth.wif")});
    ASSERT_TRUE(waitForExit(second, 10000)) << "second start did not end";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    ASSERT_EQ(spy.size(), 1);
    EXPECT_EQ(spy.at(0).at(0).toString(), QDir(work.path()).absoluteFilePath(QStringLiteral("cloth.wif")));

    QProcess third;
    third.setProcessEnvironment(childEnv(m_runtime.path(), work.path()));
    third.start(quillabyExe(), {});
    ASSERT_TRUE(waitForExit(third, 10000));
    EXPECT_EQ(third.exitCode(), 0);
    EXPECT_EQ(spy.size(), 1);
}

TEST_F(SingleInstanceTest, TwoSimultaneousStartsLeaveOneRunning)
{
    QTemporaryDir config;
    QProcess a, b;
    for (QProcess* p : {&a, &b}) {
        p->setProcessEnvironment(childEnv(m_runtime.path(), config.path()));
        p->start(quillabyExe(), {});
    }
    ASSERT_TRUE(a.waitForStarted(5000));
    ASSERT_TRUE(b.waitForStarted(5000));
    QDeadlineTimer deadline(10000);
    while (a.state() != QProcess::NotRunning && b.state() != QProcess::NotRunning && !deadline.hasExpired()) {
        a.waitForFinished(50);
        b.waitForFinished(50);
    }
    QThread::msleep(500); // give a wrongly started second primary time to show
    const int running = (a.state() != QProcess::NotRunning) + (b.state() != QProcess::NotRunning);
    EXPECT_EQ(running, 1);
    QProcess& ended = a.state() == QProcess::NotRunning ? a : b;
    EXPECT_EQ(ended.exitCode(), 0);
    for (QProcess* p : {&a, &b})
        if (p->state() != QProcess::NotRunning) {
            p->kill();
            p->waitForFinished(5000);
        }
}

TEST_F(SingleInstanceTest, KilledProgramDoesNotBlockTheNextStart)
{
    QTemporaryDir config;
    const QString socket = CSingleInstance().serverName();
    QProcess crashed;
    crashed.setProcessEnvironment(childEnv(m_runtime.path(), config.path()));
    crashed.start(quillabyExe(), {});
    QDeadlineTimer deadline(10000);
    while (!QFileInfo::exists(socket) && !deadline.hasExpired()) QThread::msleep(20);
    ASSERT_TRUE(QFileInfo::exists(socket));
    QThread::msleep(200);
    crashed.kill();
    ASSERT_TRUE(crashed.waitForFinished(5000));
    ASSERT_TRUE(QFileInfo::exists(socket)); // left behind

    // [WHEN] the program starts again, it must become the running instance
    QProcess next;
    next.setProcessEnvironment(childEnv(m_runtime.path(), config.path()));
    next.start(quillabyExe(), {});
    ASSERT_TRUE(next.waitForStarted(5000));
    EXPECT_FALSE(next.waitForFinished(1500)) << "the new start ended instead of taking over";

    // [THEN] and a further start hands over to it and ends
    QProcess handing;
    handing.setProcessEnvironment(childEnv(m_runtime.path(), config.path()));
    handing.start(quillabyExe(), {QStringLiteral("/tmp/none.wif")});
    EXPECT_TRUE(waitForExit(handing, 10000));
    EXPECT_EQ(handing.exitCode(), 0);
    EXPECT_EQ(next.state(), QProcess::Running);
    next.kill();
    next.waitForFinished(5000);
}
