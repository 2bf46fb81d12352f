// quillaby-cli weave against the emulated loom.

#include "tests/ui/loom/dobbyfixture.h"

#include "core/draft/drawdown.h"

#include "tools/loom-emulator/loomsession.h"

#include <QProcess>

#include <csignal>
#include <thread>

using namespace qb;
using namespace qb::test;
using namespace std::chrono;

namespace {

const QString kDraft = QStringLiteral(QUILLABY_TEST_DATA "/dobby/advancingtwill16.wif");

QString Cli()
{
    return QStringLiteral(QUILLABY_BINARY_DIR "/cli/quillaby-cli");
}

bool Finish(QProcess& p, int ms)
{
    return RunUntil([&] { return p.state() == QProcess::NotRunning; }, ms);
}

QString Lines(const CQuillabyDoc& doc, int first, int last)
{
    QString s;
    for (int p = first; p <= last; ++p) {
        QStringList shafts;
        const TUPTYPE lift = LiftedShafts(doc, p);
        for (int sh = 1; sh <= 64; ++sh)
            if (lift.test(sh)) shafts << QString::number(sh);
        s += QStringLiteral("pick %1: shafts %2\n").arg(p + 1).arg(shafts.join(QLatin1Char(',')));
    }
    return s;
}

} // namespace

TEST(CliWeave, WeavesTheGivenPicksFromTheStartPickAndReleases)
{
    auto doc = LoadDraft("dobby/advancingtwill16.wif");
    ASSERT_TRUE(doc);
    loom::PtyLoom loom(DobbyHeadType::Leclerc1);
    ASSERT_TRUE(loom.open());
    loom::LoomSession session(loom);
    std::thread t([&] {
        loom::LoomSession::AutoOptions o;
        // The fifth request ends the run: it gets the release, not a lift.
        o.picks = 5;
        o.patience = milliseconds(800);
        session.runAuto(o);
    });
    QProcess p;
    p.start(Cli(),
            {QStringLiteral("weave"), kDraft, QStringLiteral("--head"), QStringLiteral("leclerc1"),
             QStringLiteral("--port"), QString::fromStdString(loom.device()), QStringLiteral("--start-pick"),
             QStringLiteral("3"), QStringLiteral("--picks"), QStringLiteral("5")});
    ASSERT_TRUE(Finish(p, 20000));
    t.join();
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()), Lines(*doc, 2, 6) + QStringLiteral("woven 5 picks\n"));
    ASSERT_EQ(session.sheds().size(), 5u);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(session.sheds()[static_cast<std::size_t>(i)], LiftedShafts(*doc, 2 + i));
    EXPECT_TRUE(session.releaseHeard());
    EXPECT_TRUE(session.lineOk()) << session.lineSettings();
}

TEST(CliWeave, CtrlCEndsTheRunWithTheRelease)
{
    loom::PtyLoom loom(DobbyHeadType::Louet);
    ASSERT_TRUE(loom.open());
    loom::LoomSession session(loom);
    std::thread t([&] {
        loom::LoomSession::AutoOptions o;
        o.picks = 0; // until the program stops answering
        o.interval = milliseconds(10);
        o.patience = milliseconds(1500);
        session.runAuto(o);
    });
    QProcess p;
    p.start(Cli(),
            {QStringLiteral("weave"), kDraft, QStringLiteral("--head"), QStringLiteral("Louet"),
             QStringLiteral("--port"), QString::fromStdString(loom.device())});
    QByteArray out;
    ASSERT_TRUE(RunUntil(
        [&] {
            out += p.readAllStandardOutput();
            return out.count('\n') >= 4;
        },
        20000));
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    ASSERT_TRUE(Finish(p, 10000));
    session.requestStop();
    t.join();
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_TRUE(out.startsWith("pick 1: shafts "));
    EXPECT_TRUE(session.releaseHeard());
}

TEST(CliWeave, RefusalsExitNonZeroWithTheMessage)
{
    QProcess p;
    p.start(Cli(),
            {QStringLiteral("weave"), kDraft, QStringLiteral("--head"), QStringLiteral("avl2"),
             QStringLiteral("--port"), QStringLiteral("/nonexistent/loom")});
    ASSERT_TRUE(Finish(p, 10000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(p.readAllStandardError().startsWith("Couldn't open port on /nonexistent/loom"));

    // The head cannot lift shafts 9 to 16 of this draft with 8 set up.
    p.start(Cli(),
            {QStringLiteral("weave"), kDraft, QStringLiteral("--head"), QStringLiteral("louet"),
             QStringLiteral("--port"), QStringLiteral("/nonexistent/loom"), QStringLiteral("--shafts"),
             QStringLiteral("8")});
    ASSERT_TRUE(Finish(p, 10000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(p.readAllStandardError().startsWith("Cannot start dobby. Pick "));

    for (const QStringList& args :
         {QStringList{QStringLiteral("weave"), kDraft, QStringLiteral("--head"), QStringLiteral("jacquard"),
                      QStringLiteral("--port"), QStringLiteral("/dev/null")},
          QStringList{QStringLiteral("weave"), kDraft, QStringLiteral("--head"), QStringLiteral("avl2")},
          QStringList{QStringLiteral("weave"), kDraft, QStringLiteral("--head"), QStringLiteral("avl2"),
                      QStringLiteral("--port"), QStringLiteral("/dev/null"), QStringLiteral("--shafts"),
                      QStringLiteral("41")}}) {
        p.start(Cli(), args);
        ASSERT_TRUE(Finish(p, 10000));
        EXPECT_EQ(p.exitCode(), 2) << args.join(QLatin1Char(' ')).toStdString();
    }
}
