#include "fakehost.h"

#include "dobby/documentdobbyhost.h"
#include "draft/drawdown.h"
#include "draft/quillabydoc.h"

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
        doc->InsertPicks(p, 1);
        for (int s = 1; s <= shafts; ++s)
            if (lifts[p].test(s)) doc->SetTreadlingCell(p, s);
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

    ASSERT_TRUE(doc->SetNumWefts(2));
    r = CheckDobbyStart(*doc, 0, 24);
    EXPECT_EQ(r.problem, DobbyStartCheck::Problem::MultipleWefts);
    EXPECT_EQ(r.message, "Cannot start dobby. Draft has multiple wefts.\nConvert to a thread-by-thread draft "
                         "before\nsending it to the loom.");
}

TEST(DocumentDobbyHost, DrivesTheDocumentPosition)
{
    auto doc = LiftplanDraft(8, {Shafts({1, 2}), Shafts({3}), Shafts({8})});
    doc->weaving.savedState = true;
    doc->SetModified(false);
    WeavingPosition position(*doc);
    DocumentDobbyHost host(*doc, position);
    auto head = MakeDobbyHead(DobbyHeadType::Louet, host, 8);
    ASSERT_TRUE(head->start());
    head->onBytes(B({0x1B, 'O', 'K', 0x0D}));
    head->onBytes(B({0x1B, 'C', 'C', 0x0D}));
    EXPECT_EQ(doc->weaving.currentPick, 1);
    EXPECT_TRUE(doc->isModified());
    const Bytes out = head->takeOutput();
    ASSERT_GE(out.size(), 20u);
    // ... ESC 'D' CR, ESC 'S' 04 00 00 00 CR, ESC 'E' CR
    EXPECT_EQ(Bytes(out.end() - 13, out.end()),
              B({0x1B, 'D', 0x0D, 0x1B, 'S', 0x04, 0, 0, 0, 0x0D, 0x1B, 'E', 0x0D}));
}

} // namespace
