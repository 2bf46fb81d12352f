// Weaving through the main window's Dobby menu, the Qt serial link and a real
// pseudo-terminal, with the emulated loom on the other end.

#include "tests/ui/loom/dobbyfixture.h"

#include "core/draft/drawdown.h"
#include "ui/loom/dobbybars.h"
#include "ui/loom/dobbytimedoutdialog.h"
#include "ui/views/draftframe.h"

#include "tools/loom-emulator/loomsession.h"

#include <QLineEdit>

#include <algorithm>
#include <array>
#include <atomic>
#include <thread>

using namespace qb;
using namespace qb::test;
using namespace std::chrono;

namespace {

struct LoomThread {
    loom::PtyLoom loom;
    loom::LoomSession session{loom};
    std::atomic<bool> done{false};
    std::thread thread;

    explicit LoomThread(DobbyHeadType type) : loom(type) {}
    ~LoomThread()
    {
        session.requestStop();
        if (thread.joinable()) thread.join();
    }
    void weave(int picks, bool thenUnplug = false)
    {
        thread = std::thread([this, picks, thenUnplug] {
            loom::LoomSession::AutoOptions o;
            o.picks = picks;
            o.patience = seconds(5);
            o.waitForRelease = !thenUnplug;
            session.runAuto(o);
            if (thenUnplug) loom.close();
            done = true;
        });
    }
    void join()
    {
        if (thread.joinable()) thread.join();
    }
};

class DobbyRunTest : public DobbyWindowTest, public ::testing::WithParamInterface<DobbyHeadType> {};

bool Releases(DobbyHeadType t)
{
    return t != DobbyHeadType::AVL2 && t != DobbyHeadType::AVL3;
}

} // namespace

TEST_P(DobbyRunTest, FiftyPicksThroughTheMenuEveryLiftRight)
{
    const DobbyHeadType type = GetParam();
    makeFrame();
    CQuillabyDoc* doc = openDraft();
    ASSERT_TRUE(doc);
    ASSERT_EQ(doc->numPicks(), 60);
    LoomThread loom(type);
    ASSERT_TRUE(loom.loom.open()) << loom.loom.error();
    useHead(type, loom.loom.device());
    loom.weave(50);

    ASSERT_TRUE(act(DobbyMenuItem::Start)->isEnabled());
    act(DobbyMenuItem::Start)->trigger();
    ASSERT_TRUE(dobby->hasRun()) << messages.join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(dobby->controlBar()->isVisibleTo(frame.get()));
    EXPECT_TRUE(dobby->repeatBar()->isVisibleTo(frame.get()));
    EXPECT_FALSE(act(DobbyMenuItem::Start)->isEnabled());
    EXPECT_TRUE(act(DobbyMenuItem::Stop)->isEnabled());
    EXPECT_FALSE(act(DobbyMenuItem::Settings)->isEnabled());

    // The loom asks for 50 picks after the first lift.
    ASSERT_TRUE(RunUntil([&] { return doc->weaving().currentPick == 50 || loom.done; }, 20000));
    EXPECT_EQ(dobby->controlBar()->pickText(), QStringLiteral("51"));
    // The draft's panes mark the pick on the loom, until the run ends.
    CDraftWindow* window = frame->activeDraftWindow();
    ASSERT_TRUE(window && window->frame());
    EXPECT_EQ(doc->markedPick(), 50);
    act(DobbyMenuItem::Stop)->trigger();
    EXPECT_EQ(doc->markedPick(), -1);
    EXPECT_FALSE(dobby->hasRun());
    EXPECT_FALSE(dobby->controlBar()->isVisibleTo(frame.get()));
    ASSERT_TRUE(RunUntil([&] { return loom.done.load(); }, 10000));
    loom.join();

    EXPECT_TRUE(messages.isEmpty()) << messages.join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(loom.session.problems().empty()) << loom.session.problems().front();
    EXPECT_TRUE(loom.session.lineOk()) << loom.session.lineSettings();
    const auto& sheds = loom.session.sheds();
    ASSERT_EQ(sheds.size(), 51u);
    for (int i = 0; i < 51; ++i)
        EXPECT_EQ(sheds[static_cast<std::size_t>(i)], LiftedShafts(*doc, i)) << "pick " << i + 1;
    EXPECT_EQ(loom.session.releaseHeard(), Releases(type));
    // The position stays in the draft, for the file and the next run.
    EXPECT_EQ(doc->weaving().currentPick, 50);
    EXPECT_FALSE(doc->weaving().unweave);
}

INSTANTIATE_TEST_SUITE_P(Heads, DobbyRunTest,
                         ::testing::Values(DobbyHeadType::AVL2, DobbyHeadType::AVL3, DobbyHeadType::Louet,
                                           DobbyHeadType::Leclerc1, DobbyHeadType::Leclerc2),
                         [](const auto& info) { return std::string(DobbyHead(info.param).key); });

TEST_F(DobbyWindowTest, ReplyTimeOverAThousandPicks)
{
    for (DobbyHeadType type : {DobbyHeadType::AVL2, DobbyHeadType::Louet}) {
        makeFrame();
        CQuillabyDoc* doc = openDraft();
        ASSERT_TRUE(doc);
        doc->raw().weaving.loop = true;
        LoomThread loom(type);
        ASSERT_TRUE(loom.loom.open());
        useHead(type, loom.loom.device());
        loom.weave(1000);
        ASSERT_TRUE(dobby->startRun(*doc));
        ASSERT_TRUE(
            RunUntil([&] { return doc->weaving().repeatCount == 16 && doc->weaving().currentPick == 40; }, 60000));
        const std::vector<double> programTimes = dobby->link()->replyTimes();
        dobby->stopRun();
        ASSERT_TRUE(RunUntil([&] { return loom.done.load(); }, 10000));
        loom.join();
        ASSERT_TRUE(loom.session.problems().empty()) << loom.session.problems().front();
        const auto& sheds = loom.session.sheds();
        ASSERT_EQ(sheds.size(), 1001u);
        for (int i = 0; i < 1001; ++i)
            ASSERT_EQ(sheds[static_cast<std::size_t>(i)], LiftedShafts(*doc, i % 60)) << "pick " << i + 1;
        const auto stats = [](std::vector<double> t) {
            std::sort(t.begin(), t.end());
            return std::array<double, 3>{t[t.size() / 2], t[t.size() * 99 / 100], t.back()};
        };
        const auto loomSide = stats(loom.session.replyTimes());
        const auto programSide = stats(programTimes);
        std::printf("%s through the Qt link, 1000 picks: read -> lift written median %.3f, 99%% %.3f, worst %.3f ms;"
                    " loom sends request -> lift received median %.3f, 99%% %.3f, worst %.3f ms\n",
                    std::string(DobbyHead(type).name).c_str(), programSide[0], programSide[1], programSide[2],
                    loomSide[0], loomSide[1], loomSide[2]);
        // The program answers in microseconds; the slow tail is the shared
        // machine taking the processor away from one side or the other.
        EXPECT_LT(programSide[1], 5.0);
        EXPECT_LT(loomSide[0], 5.0);
        frame.reset();
    }
}

TEST_F(DobbyWindowTest, PortThatCannotBeOpenedOrSetUp)
{
    makeFrame();
    CQuillabyDoc* doc = openDraft();
    ASSERT_TRUE(doc);
    useHead(DobbyHeadType::Louet, "/nonexistent/loom");
    act(DobbyMenuItem::Start)->trigger();
    EXPECT_FALSE(dobby->hasRun());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages.front(), QStringLiteral("Couldn't open port on /nonexistent/loom"));
    EXPECT_FALSE(dobby->controlBar()->isVisibleTo(frame.get()));
    EXPECT_TRUE(act(DobbyMenuItem::Start)->isEnabled());

    // A pty refuses 7 data bits with even parity: the line setup fails.
    loom::PtyLoom loom(DobbyHeadType::Louet);
    ASSERT_TRUE(loom.open());
    dobby->setLineHook([](CSerialLink::LineSettings& l) {
        l.dataBits = QSerialPort::Data7;
        l.parity = QSerialPort::EvenParity;
    });
    for (DobbyHeadType type : {DobbyHeadType::Louet, DobbyHeadType::AVL2}) {
        messages.clear();
        useHead(type, loom.device());
        act(DobbyMenuItem::Start)->trigger();
        EXPECT_FALSE(dobby->hasRun());
        ASSERT_EQ(messages.size(), 1);
        EXPECT_EQ(messages.front(),
                  type == DobbyHeadType::AVL2
                      ? QStringLiteral("Port setup failed")
                      : QStringLiteral("Port setup on %1 failed").arg(QString::fromStdString(loom.device())));
    }
    // The port was let go: a run opens it again.
    dobby->setLineHook({});
    messages.clear();
    EXPECT_TRUE(dobby->startRun(*doc)) << messages.join(QStringLiteral(" | ")).toStdString();
}

TEST_F(DobbyWindowTest, UnpluggedAdapterStopsTheRunAndKeepsThePick)
{
    makeFrame();
    CQuillabyDoc* doc = openDraft();
    ASSERT_TRUE(doc);
    LoomThread loom(DobbyHeadType::AVL3);
    ASSERT_TRUE(loom.loom.open());
    useHead(DobbyHeadType::AVL3, loom.loom.device());
    loom.weave(3, true);
    ASSERT_TRUE(dobby->startRun(*doc));
    ASSERT_TRUE(RunUntil([&] { return !messages.isEmpty(); }, 10000));
    loom.join();
    EXPECT_FALSE(dobby->hasRun());
    EXPECT_FALSE(dobby->controlBar()->isVisibleTo(frame.get()));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.front().startsWith(QStringLiteral("Lost the connection to the dobby head")))
        << messages.front().toStdString();
    EXPECT_TRUE(messages.front().contains(QStringLiteral("pick 4"))) << messages.front().toStdString();
    // Three picks were asked for after the first: the loom holds pick 4.
    EXPECT_EQ(loom.session.sheds().size(), 4u);
    EXPECT_EQ(doc->weaving().currentPick, 3);
    EXPECT_TRUE(act(DobbyMenuItem::Start)->isEnabled());
}
