// Weaving without windows, against the emulated loom.

#include "tests/core/dobby/ptyport.h"

#include "core/dobby/headlessweave.h"
#include "core/draft/drawdown.h"

#include "tools/loom-emulator/loomsession.h"

#include <gtest/gtest.h>

#include <sstream>
#include <thread>

using namespace qb;
using namespace qb::test;
using namespace std::chrono;

namespace {

std::string Lines(const CQuillabyDoc& doc, int first, int last)
{
    std::string s;
    for (int p = first; p <= last; ++p) {
        s += "pick " + std::to_string(p + 1) + ": shafts ";
        std::string list;
        const TUPTYPE lift = LiftedShafts(doc, p);
        for (int sh = 1; sh <= 64; ++sh)
            if (lift.test(sh)) list += (list.empty() ? "" : ",") + std::to_string(sh);
        s += list + "\n";
    }
    return s;
}

TEST(HeadlessWeave, WeavesTheGivenPicksAndReleases)
{
    auto doc = PointTwillDraft();
    loom::PtyLoom loom(DobbyHeadType::Louet);
    ASSERT_TRUE(loom.open());
    loom::LoomSession session(loom);
    std::thread loomThread([&] {
        loom::LoomSession::AutoOptions o;
        o.picks = 5;
        o.patience = milliseconds(500);
        session.runAuto(o);
    });
    HeadlessWeaveOptions o;
    o.device = loom.device();
    o.headIndex = static_cast<int>(DobbyHeadType::Louet);
    o.startPick = 3;
    o.picks = 5;
    std::ostringstream out, err;
    const int rc = RunHeadlessWeave(*doc, o, out, err);
    loomThread.join();
    EXPECT_EQ(rc, 0) << err.str();
    EXPECT_EQ(out.str(), Lines(*doc, 2, 6) + "woven 5 picks\n");
    ASSERT_EQ(session.sheds().size(), 5u);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(session.sheds()[i], LiftedShafts(*doc, 2 + i));
    EXPECT_TRUE(session.releaseHeard());
    EXPECT_TRUE(session.lineOk()) << session.lineSettings();
    EXPECT_EQ(doc->weaving().currentPick, 6);
}

TEST(HeadlessWeave, UnpluggedLoomStopsWithTheNextPick)
{
    auto doc = PointTwillDraft();
    loom::PtyLoom loom(DobbyHeadType::AVL3);
    ASSERT_TRUE(loom.open());
    loom::LoomSession session(loom);
    std::thread loomThread([&] {
        loom::LoomSession::AutoOptions o;
        o.picks = 3;
        o.patience = seconds(5);
        session.runAuto(o);
        loom.close();
    });
    HeadlessWeaveOptions o;
    o.device = loom.device();
    o.headIndex = static_cast<int>(DobbyHeadType::AVL3);
    std::ostringstream out, err;
    const int rc = RunHeadlessWeave(*doc, o, out, err);
    loomThread.join();
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(out.str(), Lines(*doc, 0, 3));
    EXPECT_NE(err.str().find("Lost the connection to the dobby head"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("stopped at pick 4"), std::string::npos) << err.str();
    EXPECT_EQ(doc->weaving().currentPick, 3);
}

TEST(HeadlessWeave, InterruptedBeforeTheHeadAnswers)
{
    auto doc = PointTwillDraft();
    loom::PtyLoom loom(DobbyHeadType::Leclerc2);
    ASSERT_TRUE(loom.open());
    std::atomic<bool> stop{true};
    HeadlessWeaveOptions o;
    o.device = loom.device();
    o.headIndex = static_cast<int>(DobbyHeadType::Leclerc2);
    o.interrupted = &stop;
    std::ostringstream out, err;
    EXPECT_EQ(RunHeadlessWeave(*doc, o, out, err), 0);
    // The bytes may arrive in more than one read on a busy machine.
    std::vector<loom::Heard> heard;
    for (int i = 0; i < 20 && heard.size() < 2; ++i) ASSERT_TRUE(loom.receive(milliseconds(100), heard));
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].kind, loom::Heard::Kind::Query);
    EXPECT_EQ(heard[1].kind, loom::Heard::Kind::Release);
}

TEST(HeadlessWeave, RefusalsComeWithTheirMessages)
{
    auto doc = PointTwillDraft();
    HeadlessWeaveOptions o;
    o.device = "/nonexistent/loom";
    o.headIndex = 0;
    std::ostringstream out, err;
    EXPECT_EQ(RunHeadlessWeave(*doc, o, out, err), 1);
    EXPECT_EQ(err.str().rfind("Couldn't open port on /nonexistent/loom", 0), 0u) << err.str();

    // 12 shafts on a head set up for 8.
    o.shafts = 8;
    err.str("");
    EXPECT_EQ(RunHeadlessWeave(*doc, o, out, err), 1);
    EXPECT_NE(err.str().find("can raise only shafts 1 to 8"), std::string::npos) << err.str();

    o.shafts = 0;
    o.startPick = 23;
    err.str("");
    EXPECT_EQ(RunHeadlessWeave(*doc, o, out, err), 1);
    EXPECT_TRUE(out.str().empty());
}

} // namespace
