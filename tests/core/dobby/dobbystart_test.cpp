#include "tests/core/dobby/fakehost.h"

#include "core/dobby/documentdobbyhost.h"
#include "core/dobby/weavingrun.h"
#include "core/draft/drawdown.h"
#include "core/draft/quillabydoc.h"

#include <gtest/gtest.h>

using namespace qb;
using namespace qb::test;

namespace {

// A liftplan draft whose pick p lifts lifts[p].
std::unique_ptr<CQuillabyDoc> LiftplanDraft(int shafts, const std::vector<TUPTYPE>& lifts)
{
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults d;
    d.shafts = shafts;
    d.liftplan = true;
    doc->OnNewDocument(d);
    for (int p = 0; p < static_cast<int>(lifts.size()); ++p) {
        doc->InsertThreads(kUnrecorded, Side::Treadling, p, 1);
        for (int s = 1; s <= shafts; ++s)
            if (lifts[p].test(s)) doc->SetTreadlingCell(kUnrecorded, p, s);
    }
    return doc;
}

TEST(DobbyStartCheck, Preconditions)
{
    auto empty = LiftplanDraft(8, {});
    auto r = CheckDobbyStart(*empty, 0, 8);
    EXPECT_EQ(r.problem, DobbyStartCheck::Problem::NoPicks);
    EXPECT_EQ(r.message, "Cannot start dobby. There are no picks in the treadling.");

    auto doc = LiftplanDraft(24, {Shafts({1}), Shafts({17, 20})});
    ASSERT_EQ(LiftedShafts(*doc, 1), Shafts({17, 20}));
    EXPECT_TRUE(CheckDobbyStart(*doc, static_cast<int>(DobbyHeadType::Louet), 24).ok());
    EXPECT_TRUE(CheckDobbyStart(*doc, static_cast<int>(DobbyHeadType::AVL2), 40).ok());

    r = CheckDobbyStart(*doc, 5, 24);
    EXPECT_EQ(r.problem, DobbyStartCheck::Problem::NoHead);
    EXPECT_EQ(r.message, "Dobby Settings need to be configured\nbefore starting up the dobby.\n");

    r = CheckDobbyStart(*doc, static_cast<int>(DobbyHeadType::Leclerc1), 24);
    EXPECT_EQ(r.problem, DobbyStartCheck::Problem::UnliftableShaft);
    EXPECT_NE(r.message.find("Pick 2 lifts shaft 17"), std::string::npos) << r.message;
    EXPECT_NE(r.message.find("LeClerc I"), std::string::npos);

    r = CheckDobbyStart(*doc, static_cast<int>(DobbyHeadType::AVL3), 16);
    EXPECT_EQ(r.problem, DobbyStartCheck::Problem::UnliftableShaft);

    ASSERT_TRUE(doc->SetNumRows(kUnrecorded, Side::Treadling, 2));
    r = CheckDobbyStart(*doc, 0, 24);
    EXPECT_EQ(r.problem, DobbyStartCheck::Problem::MultipleWefts);
    EXPECT_EQ(r.message,
              "Cannot start dobby. Draft has multiple wefts.\nConvert to a thread-by-thread draft "
              "before\nsending it to the loom.");
}

TEST(DocumentDobbyHost, DrivesTheDocumentPosition)
{
    auto doc = LiftplanDraft(8, {Shafts({1, 2}), Shafts({3}), Shafts({8})});
    doc->raw().weaving.savedState = true;
    doc->SetModified(false);
    WeavingPosition position(*doc);
    DocumentDobbyHost host(*doc, position);
    auto head = MakeDobbyHead(DobbyHeadType::Louet, host, 8);
    ASSERT_TRUE(head->start());
    head->onBytes(B({0x1B, 'O', 'K', 0x0D}));
    head->onBytes(B({0x1B, 'C', 'C', 0x0D}));
    EXPECT_EQ(doc->weaving().currentPick, 1);
    EXPECT_TRUE(doc->isModified());
    const Bytes out = head->takeOutput();
    ASSERT_GE(out.size(), 20u);
    // ... ESC 'D' CR, ESC 'S' 04 00 00 00 CR, ESC 'E' CR
    EXPECT_EQ(Bytes(out.end() - 13, out.end()), B({0x1B, 'D', 0x0D, 0x1B, 'S', 0x04, 0, 0, 0, 0x0D, 0x1B, 'E', 0x0D}));
}

} // namespace

namespace {

TEST(WeavingRun, RefusedRunHasNoHead)
{
    auto doc = LiftplanDraft(8, {});
    WeavingRun run(*doc, 2, 8);
    EXPECT_FALSE(run.check().ok());
    EXPECT_EQ(run.head(), nullptr);
    EXPECT_FALSE(run.start());

    auto wide = LiftplanDraft(20, {Shafts({18})});
    WeavingRun leclerc(*wide, static_cast<int>(DobbyHeadType::Leclerc1), 20);
    EXPECT_EQ(leclerc.check().problem, DobbyStartCheck::Problem::UnliftableShaft);
    EXPECT_FALSE(leclerc.start());
}

TEST(WeavingRun, WeaverCommandsResendTheLift)
{
    auto doc = LiftplanDraft(8, {Shafts({1}), Shafts({2}), Shafts({3}), Shafts({4})});
    doc->raw().weaving.unweave = true; // never carried into a run
    doc->raw().weaving.currentPick = 2;
    WeavingRun run(*doc, static_cast<int>(DobbyHeadType::Leclerc2), 8);
    ASSERT_TRUE(run.check().ok());
    ASSERT_TRUE(run.start());
    EXPECT_FALSE(doc->weaving().unweave);
    CDobbyHead& head = *run.head();
    EXPECT_EQ(head.takeOutput(), B({0x1B, 'Q', 0x0D}));

    // Before the head answers nothing is sent, but the position moves.
    run.SameShed();
    EXPECT_EQ(doc->weaving().currentPick, 1);
    EXPECT_FALSE(head.hasOutput());
    EXPECT_EQ(Feed(head, B({0x1B, 'S', 0x0D})).size(), 10u);

    const Bytes tail = B({0x1B, 'R', 0x0D, 0x1B, 'E', 0x0D});
    run.SameShed();
    EXPECT_EQ(head.previousPick(), 1);
    EXPECT_EQ(head.takeOutput(), Cat({B({0x1B, 'I', 0x01, 0, 0, 0, 0x0D}), tail}));

    run.SetPick(4);
    EXPECT_EQ(head.previousPick(), 0);
    EXPECT_EQ(head.takeOutput(), Cat({B({0x1B, 'I', 0x08, 0, 0, 0, 0x0D}), tail}));

    // Unweaving: the loom's next requests go backwards; Same Shed is off meanwhile.
    run.ToggleUnweave();
    EXPECT_FALSE(run.canSameShed());
    EXPECT_EQ(doc->weaving().currentPick, 2);
    head.takeOutput();
    Feed(head, B({0x1B, 'C', 0x0D}));
    EXPECT_EQ(doc->weaving().currentPick, 1);
    run.SameShed();
    EXPECT_EQ(doc->weaving().currentPick, 1);

    run.stop();
    EXPECT_FALSE(doc->weaving().unweave);
    EXPECT_EQ(head.takeOutput(), B({0x1B, 'R', 0x0D}));
    EXPECT_FALSE(run.isRunning());
}

TEST(WeavingRun, DeletingPicksDuringTheRun)
{
    auto doc = LiftplanDraft(12, {Shafts({1}), Shafts({2}), Shafts({3}), Shafts({4}), Shafts({5})});
    doc->raw().weaving.currentPick = 4;
    WeavingRun run(*doc, static_cast<int>(DobbyHeadType::AVL2), 16);
    ASSERT_TRUE(run.start());
    CDobbyHead& head = *run.head();
    head.takeOutput();
    Feed(head, B({0x7F, 0x03}));
    ASSERT_TRUE(doc->DeleteThreads(kUnrecorded, Side::Treadling, 3, 2));
    ASSERT_TRUE(doc->SetNumShafts(kUnrecorded, 8));
    run.DraftChanged();
    EXPECT_EQ(doc->weaving().currentPick, 2);
    EXPECT_EQ(head.liftByteCount(), 2);
    run.SetPick(1);
    EXPECT_EQ(head.takeOutput(), B({0x11, 0x20, 0x7F}));
}

} // namespace
