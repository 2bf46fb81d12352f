// The Set Dobby Pick, Set Dobby Markers and Repeat Counter dialogs.

#include "tests/ui/loom/dobbyfixture.h"

#include "ui/loom/dobbydialogs.h"

#include <QPushButton>

using namespace qb;
using namespace qb::test;

namespace {

// Records the rows the panes are asked to repaint.
// The pick marker's moves (from, to) as the panes hear them.
struct HintLog : IDocumentObserver {
    std::vector<std::pair<int, int>> rows;
    void documentUpdated(const CQuillabyDoc&, const UpdateHint&) override {}
    void weavingPickMoved(const CQuillabyDoc&, int previous, int current) override
    {
        rows.emplace_back(previous, current);
    }
};

} // namespace

TEST(DobbyDialogs, SetPickPreviewsStaysInRangeAndJumpsToMarkers)
{
    auto doc = LoadDraft("dobby/advancingtwill16.wif");
    ASSERT_TRUE(doc);
    // As while weaving: the loom's pick is marked.
    doc->MarkPick(4);
    HintLog log;
    doc->subscribe(&log);
    {
        const std::vector<int> markers{9, 29};
        auto next = [&](int q) {
            for (int m : markers)
                if (m > q) return m;
            return 0;
        };
        CSetDobbyPickDialog dlg(*doc, 4, false, next);
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Set Dobby Pick"));
        EXPECT_EQ(dlg.value(), 5);
        dlg.setValue(7);
        // The marker leaves the old row for the new one; the draft did not change.
        ASSERT_EQ(log.rows.size(), 1u);
        EXPECT_EQ(log.rows[0], std::make_pair(4, 6));
        dlg.setValue(8);
        ASSERT_EQ(log.rows.size(), 2u);
        EXPECT_EQ(log.rows[1], std::make_pair(6, 7));
        EXPECT_FALSE(doc->isModified());
        dlg.setValue(500);
        EXPECT_EQ(dlg.value(), 60);
        dlg.setValue(0);
        EXPECT_EQ(dlg.value(), 1);
        dlg.nextMarker();
        EXPECT_EQ(dlg.value(), 10);
        dlg.nextMarker();
        EXPECT_EQ(dlg.value(), 30);
        dlg.nextMarker(); // none after: back to the first pick
        EXPECT_EQ(dlg.value(), 1);
        // Up goes towards the top of a treadling drawn from the top down.
        dlg.field()->setInverted(true);
        dlg.setValue(20);
        dlg.field()->stepBy(1);
        EXPECT_EQ(dlg.value(), 19);
        log.rows.clear();
    }
    // Closing marks the loom's pick again.
    ASSERT_EQ(log.rows.size(), 1u);
    EXPECT_EQ(log.rows[0], std::make_pair(18, 4));
    doc->unsubscribe(&log);
}

TEST(DobbyDialogs, MarkersAndRepeatCounter)
{
    auto doc = LoadDraft("dobby/advancingtwill16.wif");
    ASSERT_TRUE(doc);
    CSetDobbyMarker markers(*doc, 2, true, [](int) { return 0; });
    EXPECT_EQ(markers.windowTitle(), QStringLiteral("Set Dobby Markers"));
    EXPECT_EQ(markers.value(), 3);
    markers.findChild<QPushButton*>(QStringLiteral("removeAll"))->click();
    EXPECT_EQ(markers.action(), CSetDobbyMarker::RemoveAll);
    EXPECT_EQ(markers.result(), QDialog::Accepted);

    CRepeatCounterDialog counter(12);
    EXPECT_EQ(counter.windowTitle(), QStringLiteral("Repeat Counter"));
    EXPECT_EQ(counter.value(), 12);
    counter.field()->setValue(999);
    EXPECT_EQ(counter.value(), 999);
    counter.field()->setValue(1000);
    EXPECT_EQ(counter.value(), 999);
    counter.findChild<QPushButton*>(QStringLiteral("clear"))->click();
    EXPECT_EQ(counter.value(), 0);
}
