// Scripted looms over a pseudo-terminal: time-outs, self-test and line settings.

#include "tests/core/dobby/ptyport.h"

#include "core/dobby/documentdobbyhost.h"
#include "core/draft/drawdown.h"

#include "tools/loom-emulator/loomsession.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <sstream>
#include <thread>

using namespace qb;
using namespace qb::test;
using namespace std::chrono;

namespace {

struct Played {
    std::vector<DobbyEvent> events;
    std::vector<TUPTYPE> sheds;
    std::vector<std::string> problems;
    bool scriptOk = false;
    bool lineOk = false;
    std::string line;
    bool release = false;
    bool selfTest = false;
};

// Runs `script` on an emulated loom while `head` talks to it at `baud`;
// `finished` decides from the events so far when the weaver stops the run.
Played Play(DobbyHeadType type, CDobbyHead& head, int baud, const std::string& script,
            const std::function<bool(const std::vector<DobbyEvent>&)>& finished)
{
    Played r;
    loom::PtyLoom loom(type);
    if (!loom.open()) {
        r.problems.push_back(loom.error());
        return r;
    }
    loom::LoomSession session(loom);
    std::atomic<bool> done{false};
    std::thread loomThread([&] {
        std::istringstream in(script);
        r.scriptOk = session.runScript(in);
        done = true;
    });
    Port port;
    if (port.open(loom.device(), baud)) {
        head.start();
        port.send(head);
        const auto deadline = steady_clock::now() + seconds(20);
        while (!done && steady_clock::now() < deadline) {
            port.pump(head, 5);
            for (DobbyEvent& e : head.takeEvents()) r.events.push_back(std::move(e));
            if (!head.isStopped() && finished(r.events)) {
                head.stop();
                for (DobbyEvent& e : head.takeEvents()) r.events.push_back(std::move(e));
                port.send(head);
                port.drain();
            }
        }
    } else {
        r.problems.push_back("cannot open " + loom.device());
    }
    session.requestStop();
    loomThread.join();
    r.sheds = session.sheds();
    r.problems.insert(r.problems.end(), session.problems().begin(), session.problems().end());
    r.lineOk = session.lineOk();
    r.line = session.lineSettings();
    r.release = session.releaseHeard();
    r.selfTest = session.selfTestHeard();
    return r;
}

int Count(const std::vector<DobbyEvent>& events, DobbyEvent::Kind kind)
{
    return CountEvents(events, kind);
}

TEST(ScriptedLoom, LouetTimeoutClearsAndWeavingGoesOn)
{
    auto doc = PointTwillDraft();
    WeavingPosition position(*doc);
    DocumentDobbyHost host(*doc, position);
    auto head = MakeDobbyHead(DobbyHeadType::Louet, host, 16);
    const std::string script = R"(
        wait query 3000
        expect-line
        ready
        wait shed 3000
        pick 3
        timeout          # the head gives up waiting
        sleep 30
        status-flag
        status           # cleared: the program continues by itself
        wait push 3000
        pick 2
        wait release 3000
    )";
    const Played r = Play(DobbyHeadType::Louet, *head, 2400, script,
                          [](const auto& events) { return CountEvents(events, DobbyEvent::Kind::LiftSent) == 6; });
    EXPECT_TRUE(r.problems.empty()) << r.problems.front();
    EXPECT_TRUE(r.scriptOk);
    EXPECT_TRUE(r.lineOk) << r.line;
    EXPECT_EQ(Count(r.events, DobbyEvent::Kind::TimedOut), 1);
    EXPECT_EQ(Count(r.events, DobbyEvent::Kind::TimeoutCleared), 1);
    // First lift, three picks, the shed opened again by Continue, two more picks.
    ASSERT_EQ(r.sheds.size(), 7u);
    const int picks[] = {0, 1, 2, 3, 3, 4, 5};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(r.sheds[i], LiftedShafts(*doc, picks[i])) << "shed " << i;
    EXPECT_TRUE(r.release);
}

TEST(ScriptedLoom, LeclercIISelfTest)
{
    auto head = MakeSelfTestHead(DobbyHeadType::Leclerc2, 16);
    const std::string script = R"(
        wait query 3000
        expect-line
        ready
        wait test 3000
        wait release 3000
    )";
    const Played r = Play(DobbyHeadType::Leclerc2, *head, 1200, script, [](const auto& events) {
        return CountEvents(events, DobbyEvent::Kind::SelfTestStarted) == 1;
    });
    EXPECT_TRUE(r.problems.empty()) << r.problems.front();
    EXPECT_TRUE(r.scriptOk);
    EXPECT_TRUE(r.selfTest);
    EXPECT_TRUE(r.release);
    ASSERT_EQ(Count(r.events, DobbyEvent::Kind::SelfTestResult), 1);
    EXPECT_TRUE(r.events.back().ok);
}

TEST(ScriptedLoom, SilentHeadFailsTheSelfTest)
{
    auto head = MakeSelfTestHead(DobbyHeadType::Louet, 16);
    int polls = 0;
    const Played r = Play(DobbyHeadType::Louet, *head, 2400, "wait query 3000\nwait release 3000\n",
                          [&](const auto&) { return ++polls > 10; });
    EXPECT_TRUE(r.release);
    ASSERT_FALSE(r.events.empty());
    EXPECT_EQ(r.events.back().kind, DobbyEvent::Kind::SelfTestResult);
    EXPECT_FALSE(r.events.back().ok);
    EXPECT_EQ(r.events.back().message, "No response from dobby head");
}

TEST(ScriptedLoom, WrongLineSettingsAreReported)
{
    auto doc = PointTwillDraft();
    WeavingPosition position(*doc);
    DocumentDobbyHost host(*doc, position);
    auto head = MakeDobbyHead(DobbyHeadType::Leclerc2, host, 16);
    const Played r =
        Play(DobbyHeadType::Leclerc2, *head, 9600, "wait query 3000\nexpect-line\n", [](const auto&) { return false; });
    EXPECT_FALSE(r.lineOk);
    EXPECT_EQ(r.line, "9600 8N1");
    EXPECT_FALSE(r.scriptOk);
    EXPECT_FALSE(r.problems.empty());
}

} // namespace
