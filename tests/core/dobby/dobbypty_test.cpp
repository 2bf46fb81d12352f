// A weaving run over a real pseudo-terminal: the driver on one side (with the
// few lines of byte pumping a serial adapter does), the emulated loom on the other.

#include "tests/core/dobby/fakehost.h"

#include "core/dobby/documentdobbyhost.h"
#include "core/draft/drawdown.h"
#include "core/draft/quillabydoc.h"

#include "tests/core/dobby/ptyport.h"
#include "tools/loom-emulator/loomsession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace qb;
using namespace qb::test;
using namespace std::chrono;

namespace {

struct RunResult {
    std::vector<TUPTYPE> sheds;
    std::vector<std::string> problems;
    std::vector<double> replyTimes;   // request sent to lift received, at the loom
    std::vector<double> programTimes; // request read to lift written, in the program
    bool lineOk = false;
    std::string line;
    bool release = false;
    int liftsSent = 0;
};

// Weaves `picks` picks after the first lift, the loom asking as fast as it can.
RunResult Weave(DobbyHeadType type, CQuillabyDoc& doc, int picks)
{
    RunResult r;
    loom::PtyLoom loom(type);
    if (!loom.open()) {
        r.problems.push_back(loom.error());
        return r;
    }
    loom::LoomSession session(loom);
    std::atomic<bool> loomDone{false};
    std::thread loomThread([&] {
        loom::LoomSession::AutoOptions o;
        o.picks = picks;
        o.patience = seconds(5);
        session.runAuto(o);
        loomDone = true;
    });

    WeavingPosition position(doc);
    DocumentDobbyHost host(doc, position);
    auto head = MakeDobbyHead(type, host, 16);
    Port port;
    if (!port.open(loom.device(), head->baudRate())) {
        session.requestStop();
        loomThread.join();
        r.problems.push_back("cannot open " + loom.device());
        return r;
    }
    head->start();
    port.send(*head);
    const auto deadline = steady_clock::now() + seconds(30);
    while (!loomDone && steady_clock::now() < deadline) {
        port.pump(*head, 5);
        for (const DobbyEvent& e : head->takeEvents()) {
            if (e.kind == DobbyEvent::Kind::LiftSent) ++r.liftsSent;
            if (e.kind == DobbyEvent::Kind::Error) r.problems.push_back(e.message);
        }
        if (r.liftsSent == picks + 1 && !head->isStopped()) {
            head->stop();
            port.send(*head);
            port.drain();
        }
    }
    session.requestStop();
    loomThread.join();
    r.programTimes = port.replyTimes;
    r.sheds = session.sheds();
    r.problems.insert(r.problems.end(), session.problems().begin(), session.problems().end());
    r.replyTimes = session.replyTimes();
    r.lineOk = session.lineOk();
    r.line = session.lineSettings();
    r.release = session.releaseHeard();
    return r;
}

class DobbyOverPty : public ::testing::TestWithParam<DobbyHeadType> {};

TEST_P(DobbyOverPty, WeavesFiftyPicksWithEveryLiftRight)
{
    // [GIVEN] a 22-pick draft woven in a loop from its first pick
    auto doc = PointTwillDraft();
    doc->raw().weaving.loop = true;
    const int n = doc->numPicks();
    ASSERT_EQ(n, 22);

    // [WHEN] the loom asks for 50 picks
    const RunResult r = Weave(GetParam(), *doc, 50);

    // [THEN] it opened 51 sheds, each the draft's lift of the pick in turn
    EXPECT_TRUE(r.problems.empty()) << r.problems.front();
    EXPECT_TRUE(r.lineOk) << r.line;
    ASSERT_EQ(r.sheds.size(), 51u);
    for (int i = 0; i < 51; ++i) EXPECT_EQ(r.sheds[i], LiftedShafts(*doc, i % n)) << "shed " << i;
    EXPECT_EQ(doc->weaving().currentPick, 50 % n);
    EXPECT_EQ(doc->weaving().repeatCount, 2);
    // and the run ended with the release where the head has one
    EXPECT_EQ(r.release, GetParam() != DobbyHeadType::AVL2 && GetParam() != DobbyHeadType::AVL3);
}

INSTANTIATE_TEST_SUITE_P(Heads, DobbyOverPty,
                         ::testing::Values(DobbyHeadType::AVL2, DobbyHeadType::AVL3, DobbyHeadType::Louet,
                                           DobbyHeadType::Leclerc1, DobbyHeadType::Leclerc2),
                         [](const auto& info) { return std::string(DobbyHead(info.param).key); });

TEST(DobbyOverPty, ReplyTimeOverAThousandPicks)
{
    for (DobbyHeadType type : {DobbyHeadType::AVL2, DobbyHeadType::Louet}) {
        auto doc = PointTwillDraft();
        doc->raw().weaving.loop = true;
        const RunResult r = Weave(type, *doc, 1000);
        ASSERT_TRUE(r.problems.empty()) << r.problems.front();
        ASSERT_EQ(r.sheds.size(), 1001u);
        for (int i = 0; i < 1001; ++i) ASSERT_EQ(r.sheds[i], LiftedShafts(*doc, i % doc->numPicks()));
        const auto stats = [](std::vector<double> t) {
            std::sort(t.begin(), t.end());
            return std::array<double, 3>{t[t.size() / 2], t[t.size() * 99 / 100], t.back()};
        };
        ASSERT_GE(r.programTimes.size(), 1000u);
        const auto loomSide = stats(r.replyTimes);
        const auto programSide = stats(r.programTimes);
        std::printf("%s, 1000 picks: program reads request -> lift written: median %.3f, 99%% %.3f, worst %.3f ms;"
                    " loom sends request -> lift received over the pty: median %.3f, 99%% %.3f, worst %.3f ms\n",
                    std::string(DobbyHead(type).name).c_str(), programSide[0], programSide[1], programSide[2],
                    loomSide[0], loomSide[1], loomSide[2]);
        // The driver answers in microseconds; a single odd figure is the busy
        // machine taking the processor away, so the bound is on the 99th percentile.
        EXPECT_LT(programSide[1], 5.0);
        const double worst = programSide[2];
        RecordProperty(std::string(DobbyHead(type).key) + "_worst_ms", std::to_string(worst));
    }
}

} // namespace
