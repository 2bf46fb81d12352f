// The weaver's commands during a run, the time-out window, the self-test and
// the start checks, with the emulated loom answering from the test itself.

#include "tests/ui/loom/dobbyfixture.h"
#include "ui/app/documentfiles.h"

#include "core/dobby/dobbymessages.h"
#include "core/draft/drawdown.h"
#include "core/wif/wifwriter.h"
#include "ui/loom/dobbybars.h"
#include "ui/loom/dobbytimedoutdialog.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

using namespace qb;
using namespace qb::test;
using namespace std::chrono;
using Kind = loom::Heard::Kind;

namespace {

// The loom's side, played by the test between turns of the event loop.
class ScriptedLoomTest : public DobbyWindowTest {
protected:
    bool openLoom(DobbyHeadType type)
    {
        m_loom = std::make_unique<loom::PtyLoom>(type);
        return m_loom->open();
    }
    loom::PtyLoom& loom() { return *m_loom; }
    // What the program sent, once it stopped sending for a moment.
    std::vector<Kind> hear(int settleMs = 30)
    {
        std::vector<loom::Heard> heard;
        RunFor(settleMs);
        while (m_loom->receive(milliseconds(settleMs), heard) && !heard.empty() && m_loom->protocol().hasPending())
            ;
        for (const auto& h : m_loom->protocol().flush()) heard.push_back(h);
        std::vector<Kind> kinds;
        for (const auto& h : heard) kinds.push_back(h.kind);
        return kinds;
    }
    // Says `r` and lets the program answer.
    std::vector<Kind> say(loom::Reply r)
    {
        m_loom->send(r);
        return hear();
    }
    // Starts weaving `doc` on `type` up to the first shed.
    void startWeaving(DobbyHeadType type, CQuillabyDoc& doc)
    {
        ASSERT_TRUE(openLoom(type));
        useHead(type, loom().device());
        ASSERT_TRUE(dobby->startRun(doc)) << messages.join(QStringLiteral(" | ")).toStdString();
        if (type == DobbyHeadType::Louet || type == DobbyHeadType::Leclerc2) {
            ASSERT_EQ(hear(), std::vector<Kind>{Kind::Query});
            ASSERT_EQ(say(loom::Reply::Ready), (std::vector<Kind>{Kind::Pattern, Kind::Push}));
        }
    }
    TUPTYPE shed() const { return m_loom->protocol().shed(); }

    std::unique_ptr<loom::PtyLoom> m_loom;
};

const std::vector<Kind> kNextPick{Kind::Release, Kind::Pattern, Kind::Push};
const std::vector<Kind> kRepeatLift{Kind::Pattern, Kind::Release, Kind::Push};

} // namespace

TEST_F(ScriptedLoomTest, WeaversCommandsMoveThePositionAndResendTheLift)
{
    makeFrame();
    CQuillabyDoc* doc = openDraft();
    ASSERT_TRUE(doc);
    startWeaving(DobbyHeadType::Louet, *doc);
    for (int i = 0; i < 4; ++i) ASSERT_EQ(say(loom::Reply::PickRequest), kNextPick);
    ASSERT_EQ(doc->weaving().currentPick, 4);
    EXPECT_EQ(shed(), LiftedShafts(*doc, 4));

    // Same Shed (F3) opens the previous shed again at once.
    EXPECT_EQ(act(DobbyMenuItem::SameShed)->shortcut(), QKeySequence(Qt::Key_F3));
    act(DobbyMenuItem::SameShed)->trigger();
    EXPECT_EQ(hear(), kRepeatLift);
    EXPECT_EQ(doc->weaving().currentPick, 3);
    EXPECT_EQ(shed(), LiftedShafts(*doc, 3));
    EXPECT_EQ(dobby->controlBar()->pickText(), QStringLiteral("4"));
    ASSERT_EQ(say(loom::Reply::PickRequest), kNextPick);
    EXPECT_EQ(doc->weaving().currentPick, 4);

    // Unweave steps back, and the loom's requests keep going backwards.
    act(DobbyMenuItem::Unweave)->trigger();
    EXPECT_TRUE(act(DobbyMenuItem::Unweave)->isChecked());
    EXPECT_TRUE(dobby->controlBar()->button("unweave")->isChecked());
    EXPECT_FALSE(act(DobbyMenuItem::SameShed)->isEnabled());
    EXPECT_EQ(hear(), kRepeatLift);
    EXPECT_EQ(doc->weaving().currentPick, 3);
    ASSERT_EQ(say(loom::Reply::PickRequest), kNextPick);
    EXPECT_EQ(doc->weaving().currentPick, 2);
    EXPECT_EQ(shed(), LiftedShafts(*doc, 2));
    // The bar's button does what the menu does.
    dobby->controlBar()->button("unweave")->click();
    EXPECT_FALSE(act(DobbyMenuItem::Unweave)->isChecked());
    EXPECT_FALSE(dobby->controlBar()->button("unweave")->isChecked());
    EXPECT_EQ(hear(), kRepeatLift);
    EXPECT_EQ(doc->weaving().currentPick, 3);

    // Set Pick takes the pick as shown.
    dobby->setPick(10);
    EXPECT_EQ(hear(), kRepeatLift);
    EXPECT_EQ(doc->weaving().currentPick, 9);
    EXPECT_EQ(shed(), LiftedShafts(*doc, 9));
    EXPECT_EQ(dobby->controlBar()->pickText(), QStringLiteral("10"));

    // Reverse and Loop change the way on, and send nothing.
    act(DobbyMenuItem::Reverse)->trigger();
    EXPECT_TRUE(doc->weaving().reverse);
    EXPECT_TRUE(act(DobbyMenuItem::Reverse)->isChecked());
    EXPECT_TRUE(dobby->controlBar()->button("reverse")->isChecked());
    EXPECT_TRUE(hear().empty());
    ASSERT_EQ(say(loom::Reply::PickRequest), kNextPick);
    EXPECT_EQ(doc->weaving().currentPick, 8);

    EXPECT_FALSE(act(DobbyMenuItem::RepeatCount)->isEnabled());
    dobby->controlBar()->button("loop")->click();
    EXPECT_TRUE(doc->weaving().loop);
    EXPECT_TRUE(act(DobbyMenuItem::RepeatCount)->isEnabled());
    EXPECT_TRUE(dobby->setRepeatCount(999));
    EXPECT_FALSE(dobby->setRepeatCount(1000));
    EXPECT_EQ(doc->weaving().repeatCount, 999);
    EXPECT_EQ(dobby->repeatBar()->countText(), QStringLiteral("999"));
    EXPECT_TRUE(hear().empty());

    // Markers: once each, and all removed at once.
    dobby->addMarker(*doc, 5);
    dobby->addMarker(*doc, 5);
    dobby->addMarker(*doc, 12);
    EXPECT_EQ(doc->weaving().markers, (std::vector<int>{4, 11}));
    dobby->removeMarker(*doc, 7);
    EXPECT_EQ(doc->weaving().markers.size(), 2u);
    dobby->removeMarker(*doc, -1);
    EXPECT_TRUE(doc->weaving().markers.empty());

    // A request that comes in while the weaver's command is sent waits its
    // turn: neither command sequence is cut into the other.
    ASSERT_EQ(doc->weaving().currentPick, 8);
    loom().send(loom::Reply::PickRequest);
    dobby->sameShed(); // against the reversed direction: forwards to 9
    std::vector<Kind> both = kRepeatLift;
    both.insert(both.end(), kNextPick.begin(), kNextPick.end());
    EXPECT_EQ(hear(), both);
    EXPECT_EQ(doc->weaving().currentPick, 8);
    EXPECT_EQ(shed(), LiftedShafts(*doc, 8));

    dobby->controlBar()->button("stop")->click();
    EXPECT_FALSE(dobby->hasRun());
    EXPECT_EQ(hear(), std::vector<Kind>{Kind::Release});
    EXPECT_FALSE(doc->weaving().unweave);
}

TEST_F(ScriptedLoomTest, TimeOutWindowWaitsForContinue)
{
    makeFrame();
    CQuillabyDoc* doc = openDraft();
    ASSERT_TRUE(doc);
    startWeaving(DobbyHeadType::Leclerc2, *doc);
    CDobbyTimedOutDialog* window = dobby->timeoutWindow();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Dobby Head"));
    EXPECT_EQ(window->continueButton()->text(), QStringLiteral("Continue"));

    EXPECT_TRUE(say(loom::Reply::Timeout).empty());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(say(loom::Reply::Timeout).empty());
    // The head clears the time-out itself: the program continues.
    EXPECT_TRUE(say(loom::Reply::StatusFlag).empty());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(say(loom::Reply::Status), std::vector<Kind>{Kind::Push});
    EXPECT_FALSE(window->isVisible());
    ASSERT_EQ(say(loom::Reply::PickRequest), kNextPick);

    // Or the weaver presses Continue.
    EXPECT_TRUE(say(loom::Reply::Timeout).empty());
    EXPECT_TRUE(window->isVisible());
    window->continueButton()->click();
    EXPECT_EQ(hear(), std::vector<Kind>{Kind::Push});
    EXPECT_FALSE(window->isVisible());

    // Stopping while the window is open closes it.
    EXPECT_TRUE(say(loom::Reply::Timeout).empty());
    dobby->stopRun();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(hear(), std::vector<Kind>{Kind::Release});
}

TEST_F(ScriptedLoomTest, SelfTest)
{
    makeFrame();
    ASSERT_TRUE(openLoom(DobbyHeadType::Louet));
    useHead(DobbyHeadType::Louet, loom().device());
    EXPECT_TRUE(act(DobbyMenuItem::SelfTest)->isEnabled());
    std::vector<Kind> during;
    bool startDisabled = false;
    dobby->setSelfTestWait([&] {
        startDisabled = !act(DobbyMenuItem::Settings)->isEnabled();
        during = hear();
        const auto more = say(loom::Reply::Ready);
        during.insert(during.end(), more.begin(), more.end());
    });
    EXPECT_TRUE(dobby->selfTest());
    EXPECT_TRUE(startDisabled);
    EXPECT_EQ(during, (std::vector<Kind>{Kind::Query, Kind::Test}));
    EXPECT_EQ(hear(), std::vector<Kind>{Kind::Release});
    EXPECT_TRUE(messages.isEmpty());

    // A silent head.
    dobby->setSelfTestWait([] {});
    act(DobbyMenuItem::SelfTest)->trigger();
    EXPECT_EQ(hear(), (std::vector<Kind>{Kind::Query, Kind::Release}));
    EXPECT_EQ(messages, QStringList{QStringLiteral("No response from dobby head")});

    // Heads without a self-test.
    messages.clear();
    useHead(DobbyHeadType::AVL2, loom().device());
    EXPECT_FALSE(act(DobbyMenuItem::SelfTest)->isEnabled());
    EXPECT_FALSE(dobby->selfTest());
    EXPECT_EQ(messages, QStringList{QStringLiteral("dobbyType is not LOUET or LeClerc2")});

    messages.clear();
    useHead(DobbyHeadType::Leclerc2, "/nonexistent/loom");
    EXPECT_FALSE(dobby->selfTest());
    EXPECT_EQ(messages,
              (QStringList{QStringLiteral("Couldn't open port on /nonexistent/loom"),
                           QStringLiteral("Unable to open COM port")}));
}

TEST_F(ScriptedLoomTest, StartChecksComeBeforeThePort)
{
    makeFrame();
    EXPECT_FALSE(act(DobbyMenuItem::Start)->isEnabled()); // no draft
    EXPECT_EQ(act(DobbyMenuItem::Start)->text(), QStringLiteral("&Start"));
    EXPECT_EQ(act(DobbyMenuItem::Stop)->shortcut(), QKeySequence(Qt::Key_F8));
    CQuillabyDoc* doc = openDraft();
    ASSERT_TRUE(doc);
    EXPECT_TRUE(act(DobbyMenuItem::Start)->isEnabled());
    EXPECT_FALSE(act(DobbyMenuItem::SetPick)->isEnabled());
    EXPECT_TRUE(act(DobbyMenuItem::Markers)->isEnabled());
    EXPECT_TRUE(act(DobbyMenuItem::Settings)->isEnabled());

    // No head: the settings open.
    act(DobbyMenuItem::Start)->trigger();
    EXPECT_EQ(messages, QStringList{QString::fromLatin1(dobbytext::kNotConfigured.data())});
    EXPECT_EQ(settingsOpened, 1);

    // More shafts lifted than the head is set up for: refused before any port opens.
    messages.clear();
    useHead(DobbyHeadType::Louet, "/nonexistent/loom", 12);
    act(DobbyMenuItem::Start)->trigger();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.front().startsWith(QStringLiteral("Cannot start dobby. Pick ")))
        << messages.front().toStdString();
    EXPECT_FALSE(dobby->hasRun());

    messages.clear();
    CQuillabyDoc* wefts = openDraft();
    ASSERT_TRUE(wefts);
    ASSERT_TRUE(wefts->SetNumRows(kUnrecorded, Side::Treadling, 2));
    act(DobbyMenuItem::Start)->trigger();
    EXPECT_EQ(messages,
              QStringList{QStringLiteral("Cannot start dobby. Draft has multiple wefts.\nConvert to a "
                                         "thread-by-thread draft before\nsending it to the loom.")});
}

TEST_F(ScriptedLoomTest, OneRunAtATimeAndClosingTheDraftStopsIt)
{
    makeFrame();
    frame->files().setSaveQuestion([](const QString&) { return CDocumentFiles::SaveAnswer::Discard; });
    CQuillabyDoc* first = openDraft();
    ASSERT_TRUE(first);
    startWeaving(DobbyHeadType::Louet, *first);
    ASSERT_EQ(say(loom::Reply::PickRequest), kNextPick);
    auto firstLoom = std::move(m_loom);

    // A run of a second draft ends the first one properly.
    CQuillabyDoc* second = openDraft();
    ASSERT_TRUE(second);
    EXPECT_TRUE(act(DobbyMenuItem::Start)->isEnabled());
    EXPECT_FALSE(act(DobbyMenuItem::Stop)->isEnabled());
    startWeaving(DobbyHeadType::Leclerc2, *second);
    EXPECT_EQ(dobby->runDocument(), second);
    std::vector<loom::Heard> heard;
    ASSERT_TRUE(firstLoom->receive(milliseconds(200), heard));
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].kind, Kind::Release);
    EXPECT_EQ(first->weaving().currentPick, 1);

    // Closing the draft being woven ends its run first.
    ASSERT_EQ(say(loom::Reply::PickRequest), kNextPick);
    frame->mdiArea()->closeActiveSubWindow();
    EXPECT_FALSE(dobby->hasRun());
    EXPECT_EQ(hear(), std::vector<Kind>{Kind::Release});
    EXPECT_FALSE(dobby->controlBar()->isVisibleTo(frame.get()));
}

TEST_F(ScriptedLoomTest, PicksDeletedWhileWeaving)
{
    makeFrame();
    CQuillabyDoc* doc = openDraft();
    ASSERT_TRUE(doc);
    startWeaving(DobbyHeadType::Louet, *doc);
    for (int i = 0; i < 10; ++i) ASSERT_EQ(say(loom::Reply::PickRequest), kNextPick);
    ASSERT_TRUE(doc->DeleteThreads(kUnrecorded, Side::Treadling, 5, 55));
    RunFor(20);
    // The position stays on the last pick that is left (not back to the first);
    // the loom keeps its shed until the weaver or the loom moves on.
    EXPECT_EQ(doc->weaving().currentPick, 4);
    EXPECT_EQ(dobby->controlBar()->pickText(), QStringLiteral("5"));
    EXPECT_TRUE(hear().empty());
    // At the end of the treadling the loom gets nothing more.
    EXPECT_TRUE(say(loom::Reply::PickRequest).empty());
    EXPECT_TRUE(dobby->hasRun());

    ASSERT_TRUE(doc->DeleteThreads(kUnrecorded, Side::Treadling, 0, 5));
    RunFor(20);
    EXPECT_FALSE(dobby->hasRun());
    EXPECT_EQ(messages, QStringList{QStringLiteral("There are no picks in the treadling.")});
    EXPECT_EQ(hear(), std::vector<Kind>{Kind::Release});
}

TEST_F(ScriptedLoomTest, RunStateIsSavedWithTheDraft)
{
    makeFrame();
    CQuillabyDoc* doc = openDraft();
    ASSERT_TRUE(doc);
    startWeaving(DobbyHeadType::Louet, *doc);
    for (int i = 0; i < 7; ++i) ASSERT_EQ(say(loom::Reply::PickRequest), kNextPick);
    dobby->toggleLoop();
    dobby->toggleReverse();
    dobby->addMarker(*doc, 20);
    dobby->addMarker(*doc, 3);
    ASSERT_TRUE(dobby->setRepeatCount(12));
    dobby->stopRun();

    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("woven.qlb")).toStdString();
    std::string error;
    ASSERT_TRUE(WriteWifFile(*doc, path, &error)) << error;
    CQuillabyDoc back;
    QuietPrompter quiet;
    ASSERT_TRUE(ReadWifFile(path, back, quiet, WifReadOptions{}, &error)) << error;
    EXPECT_EQ(back.weaving().currentPick, 7);
    EXPECT_TRUE(back.weaving().loop);
    EXPECT_TRUE(back.weaving().reverse);
    EXPECT_EQ(back.weaving().markers, (std::vector<int>{2, 19}));
    EXPECT_EQ(back.weaving().repeatCount, 12);
    EXPECT_FALSE(back.weaving().unweave);
}
