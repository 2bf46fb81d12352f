#include "core/draft/draftsnapshot.h"
#include "core/draft/palettetools.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/draftproperties.h"
#include "core/transform/tieupops.h"
#include "core/transform/turndraft.h"
#include "core/wif/wifwriter.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

using namespace qb;

namespace {

std::unique_ptr<CQuillabyDoc> newDraft(int shafts = 8, int treadles = 8)
{
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults d;
    d.shafts = shafts;
    d.treadles = treadles;
    d.defaultColors = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000};
    doc->OnNewDocument(d);
    return doc;
}

// The saved file holds everything a user can change, so two states compare
// in one go.
std::string state(const CQuillabyDoc& doc)
{
    return WifText(doc, "1/1/2026");
}

// Counts what the document tells its observers about the history.
struct HistoryWatch : IDocumentObserver {
    void documentUpdated(const CQuillabyDoc&, const UpdateHint&) override {}
    void historyChanged(const CQuillabyDoc&) override { ++changes; }
    int changes = 0;
};

struct UndoFixture : ::testing::Test {
    std::unique_ptr<CQuillabyDoc> doc = newDraft();

    bool setEnd(int end, int shaft)
    {
        return doc->Transaction("Pencil", [&](Edit e) { doc->SetThreadingCell(e, end, shaft); });
    }
};

} // namespace

TEST_F(UndoFixture, UndoRestoresThePreviousShaftOrNone)
{
    setEnd(0, 3);
    setEnd(0, 5);
    ASSERT_TRUE(doc->Undo());
    EXPECT_EQ(doc->threading()->GetShaft(0), 3);
    ASSERT_TRUE(doc->Undo());
    // The end did not exist before: undo removes it again.
    EXPECT_EQ(doc->numEnds(), 0);
    EXPECT_FALSE(doc->history().canUndo());
    ASSERT_TRUE(doc->Redo());
    ASSERT_TRUE(doc->Redo());
    EXPECT_EQ(doc->threading()->GetShaft(0), 5);
    EXPECT_FALSE(doc->history().canRedo());
}

TEST_F(UndoFixture, OnlyTheLast64EditsCanBeUndone)
{
    for (int i = 0; i < 65; ++i) setEnd(i, 1 + i % 8);
    int undone = 0;
    while (doc->Undo()) ++undone;
    EXPECT_EQ(undone, 64);
    EXPECT_EQ(doc->numEnds(), 1); // the first edit stays
}

TEST_F(UndoFixture, NewEditAfterUndoEndsTheRedoBranch)
{
    setEnd(0, 1);
    setEnd(1, 2);
    setEnd(2, 3);
    doc->Undo();
    doc->Undo();
    EXPECT_TRUE(doc->history().canRedo());
    setEnd(5, 4);
    EXPECT_FALSE(doc->history().canRedo());
    EXPECT_EQ(doc->history().undoCount(), 2);
}

TEST_F(UndoFixture, NamesMoveWithUndoAndRedo)
{
    HistoryWatch watch;
    doc->subscribe(&watch);
    setEnd(0, 1);
    doc->Transaction("Clear Tieup", [&](Edit e) { ClearTieup(e, *doc); });
    EXPECT_EQ(doc->history().undoName(), "Clear Tieup");
    EXPECT_EQ(doc->history().redoName(), "");
    doc->Undo();
    EXPECT_EQ(doc->history().undoName(), "Pencil");
    EXPECT_EQ(doc->history().redoName(), "Clear Tieup");
    doc->Undo();
    EXPECT_EQ(doc->history().undoName(), "");
    EXPECT_EQ(doc->history().redoName(), "Pencil");
    doc->Redo();
    EXPECT_EQ(doc->history().undoName(), "Pencil");
    EXPECT_EQ(doc->history().redoName(), "Clear Tieup");
    EXPECT_EQ(watch.changes, 5);
    // An action that changes nothing leaves no step and no name behind.
    EXPECT_FALSE(doc->Transaction("Nothing", [&](Edit e) { doc->ClearThreadingCell(e, 40); }));
    EXPECT_EQ(doc->history().undoName(), "Pencil");
    doc->unsubscribe(&watch);
}

TEST_F(UndoFixture, NestedTransactionsMakeOneStep)
{
    doc->Transaction("Outer", [&](Edit e) {
        doc->SetThreadingCell(e, 0, 1);
        doc->Transaction("Inner", [&](Edit inner) { doc->SetThreadingCell(inner, 1, 2); });
    });
    EXPECT_EQ(doc->history().undoCount(), 1);
    EXPECT_EQ(doc->history().undoName(), "Outer");
    doc->Undo();
    EXPECT_EQ(doc->numEnds(), 0);
}

TEST_F(UndoFixture, HugeChangeBecomesOneSnapshotStep)
{
    setEnd(0, 1);
    auto* t = doc->raw().threadingMutable(0);
    t->Append(10000);
    for (int e = 0; e < 10000; ++e) t->SetValue(e, 1 + e % 8);
    const std::string before = state(*doc);
    doc->Transaction("Clear", [&](Edit e) { doc->ClearThreads(e, Side::Threading, 0, 10000); });
    const std::string after = state(*doc);
    EXPECT_EQ(doc->threading()->GetShaft(9999), 0);
    // Too many cell records are kept as one snapshot; the earlier steps stay.
    EXPECT_EQ(doc->history().undoCount(), 2);
    EXPECT_EQ(doc->history().groupCount(), 2);
    doc->Undo();
    EXPECT_EQ(state(*doc), before);
    doc->Redo();
    EXPECT_EQ(state(*doc), after);
}

TEST_F(UndoFixture, SnapshotMemoryDropsTheOldestSteps)
{
    // Each whole-draft step of a big draft holds a copy of it; the history
    // keeps about 100 MB of them and lets the oldest go.
    auto big = newDraft(64, 128);
    big->SetNumRows(kUnrecorded, Side::Threading, 4);
    big->SetNumRows(kUnrecorded, Side::Treadling, 4);
    big->SetThreadingCell(kUnrecorded, kMaxThreads - 1, 1);
    big->SetTreadlingCell(kUnrecorded, kMaxThreads - 1, 1);
    for (int i = 0; i < 60; ++i) big->Transaction("Invert", [&](Edit e) { InvertTieup(e, *big); });
    big->Transaction("Shafts", [&](Edit e) { big->SetNumShafts(e, 63); });
    big->Transaction("Shafts", [&](Edit e) { big->SetNumShafts(e, 62); });
    EXPECT_LE(big->history().bytes(), UndoHistory::kMaxBytes);
    EXPECT_EQ(big->history().undoName(), "Shafts");
    big->Undo();
    big->Undo();
    EXPECT_EQ(big->numShafts(), 64);
}

TEST_F(UndoFixture, InsertUndoDeletesAndRedoInserts)
{
    for (int e = 0; e < 20; ++e) doc->SetThreadingCell(kUnrecorded, e, 1);
    doc->Transaction("Insert", [&](Edit e) {
        doc->InsertThreads(e, Side::Threading, 10, 5);
        doc->SetThreadingCell(e, 14, 7);
    });
    EXPECT_EQ(doc->numEnds(), 25);
    doc->Undo();
    EXPECT_EQ(doc->numEnds(), 20);
    for (int e = 0; e < 20; ++e) EXPECT_EQ(doc->threading()->GetShaft(e), 1);
    doc->Redo();
    EXPECT_EQ(doc->numEnds(), 25);
    EXPECT_EQ(doc->threading()->GetShaft(10), 0);
    EXPECT_EQ(doc->threading()->GetShaft(14), 7);
}

TEST_F(UndoFixture, GroupOfSeveralRecordsReplaysInOrder)
{
    doc->SetNumRows(kUnrecorded, Side::Threading, 2);
    doc->SetThreadingCell(kUnrecorded, 3, 4, 1); // row 1 holds shaft 4 at end 3
    const std::string before = state(*doc);
    // One action: paint end 3 on shaft 4 in row 0 (takes it from row 1), color it.
    doc->Transaction("Pencil", [&](Edit e) {
        doc->SetThreadingCell(e, 3, 4, 0);
        doc->SetThreadColors(e, Side::Threading, 0, 5, 2, 0);
        doc->SetThreadingCell(e, 5, 2, 0);
    });
    const std::string after = state(*doc);
    EXPECT_EQ(doc->threading(1)->GetShaft(3), 0);
    doc->Undo();
    EXPECT_EQ(state(*doc), before);
    doc->Redo();
    EXPECT_EQ(state(*doc), after);
}

TEST_F(UndoFixture, DeleteUndoBringsBackEverything)
{
    for (int e = 0; e < 12; ++e) doc->SetThreadingCell(kUnrecorded, e, 1 + e % 8);
    doc->SetThreadColors(kUnrecorded, Side::Threading, 4, 6, 3);
    doc->SetThreadColors(kUnrecorded, Side::Threading, 0, 0, 1); // leaves the default color at 1
    doc->SetSymbol(kUnrecorded, Side::Threading, 5, 'x');
    doc->SetThick(kUnrecorded, Side::Threading, 6, true);
    doc->AddLabel(kUnrecorded, Side::Threading, Label{2, 6, "border"});
    doc->AddLabel(kUnrecorded, Side::Threading, Label{4, 2, "inner"});
    const std::string before = state(*doc);
    doc->Transaction("Delete", [&](Edit e) { doc->DeleteThreads(e, Side::Threading, 3, 5); });
    const std::string after = state(*doc);
    EXPECT_EQ(doc->numEnds(), 7);
    doc->Undo();
    EXPECT_EQ(state(*doc), before);
    doc->Redo();
    EXPECT_EQ(state(*doc), after);
}

TEST_F(UndoFixture, EditsOfAnotherDocumentRecordNothingHere)
{
    auto other = newDraft();
    doc->Transaction("Pencil", [&](Edit e) { other->SetThreadingCell(e, 0, 1); });
    EXPECT_FALSE(doc->history().canUndo());
    EXPECT_FALSE(other->history().canUndo());
}

// Hundreds of random edits in groups, cell edits mixed with palette, fill,
// text and property changes and the commands that change the whole draft:
// undo all gives back the draft exactly, redo all the edited draft exactly.
class UndoProperty : public ::testing::TestWithParam<int> {};

TEST_P(UndoProperty, UndoAllAndRedoAllAreExact)
{
    std::mt19937 rng(7 + GetParam());
    auto doc = newDraft(8, 10);
    if (GetParam() % 2) {
        doc->SetNumRows(kUnrecorded, Side::Threading, 2);
        doc->SetNumRows(kUnrecorded, Side::Treadling, 2);
    }
    doc->SetMultipleTreadles(kUnrecorded, GetParam() % 3 == 0);
    for (int e = 0; e < 30; ++e) doc->SetThreadingCell(kUnrecorded, e, 1 + e % 8);
    for (int p = 0; p < 30; ++p) doc->SetTreadlingCell(kUnrecorded, p, 1 + p % 10);
    const std::string start = state(*doc);

    auto any = [&](int n) { return int(rng() % unsigned(n)); };
    FixedPrompter yes(true);
    int edits = 0;
    for (int g = 0; g < 60; ++g) {
        doc->Transaction("Step", [&](Edit e) {
            for (int k = 0; k < 5; ++k, ++edits) {
                const int ends = std::max(1, doc->numEnds()), picks = std::max(1, doc->numPicks());
                const int wr = any(doc->numWarps()), fr = any(doc->numWefts());
                const int shafts = doc->numShafts(), treadles = doc->numTreadles();
                switch (any(k == 0 ? 26 : 17)) {
                case 0: doc->SetThreadingCell(e, any(ends + 5), 1 + any(shafts), wr); break;
                case 1: doc->ClearThreadingCell(e, any(ends), wr); break;
                case 2: doc->SetTreadlingCell(e, any(picks + 5), 1 + any(treadles), fr); break;
                case 3: doc->ClearTreadlingCell(e, any(picks), 1 + any(treadles), fr); break;
                case 4: doc->SetTieupCell(e, any(treadles), 1 + any(shafts)); break;
                case 5: doc->ClearTieupCell(e, any(treadles), 1 + any(shafts)); break;
                case 6: doc->InsertThreads(e, Side::Threading, any(ends + 2), 1 + any(4)); break;
                case 7: doc->DeleteThreads(e, Side::Threading, any(ends), 1 + any(4)); break;
                case 8: doc->InsertThreads(e, Side::Treadling, any(picks + 2), 1 + any(4)); break;
                case 9: doc->DeleteThreads(e, Side::Treadling, any(picks), 1 + any(4)); break;
                case 10: {
                    const int a = any(ends + 3);
                    doc->SetThreadColors(e, Side::Threading, a, a + any(4), any(5), wr);
                    break;
                }
                case 11: {
                    const int a = any(picks + 3);
                    doc->SetThreadColors(e, Side::Treadling, a, a + any(4), any(5), fr);
                    break;
                }
                case 12: doc->SetSymbol(e, SideOf(any(2)), any(ends), 'a' + any(3), 0); break;
                case 13: doc->SetThick(e, SideOf(any(2)), any(ends), any(2)); break;
                case 14:
                    doc->AddLabel(e, Side::Threading, Label{any(ends), 1 + any(5), "L" + std::to_string(any(9))}, 0);
                    break;
                case 15: {
                    const auto& row = doc->threading()->labelRow(0);
                    if (!row.empty()) doc->RemoveLabel(e, Side::Threading, row.front().start, row.front().length, 0);
                    break;
                }
                case 16: doc->SetRatio(e, SideOf(any(2)), 1 + any(5)); break;
                // Once per group at most: the edits that change whole parts.
                case 17: PlaceNewColor(e, *doc, COLORREF(rng() & 0xFFFFFF)); break;
                case 18: ClearPalette(e, *doc); break;
                case 19: FillThreadColors(e, *doc, SideOf(any(2)), 0, any(3), any(4), any(4)); break;
                case 20: ReplaceThreadColor(e, *doc, any(5), any(5), any(2), true); break;
                case 21: doc->SetTexts(e, doc->title(), doc->author(), doc->notes() + "n" + std::to_string(g)); break;
                case 22: {
                    DraftProperties v = ReadProperties(*doc);
                    v.shafts = 4 + any(8);
                    v.warpSettWhole = 5 + any(20);
                    v.risingShed = any(2);
                    ApplyProperties(e, *doc, v, yes);
                    break;
                }
                case 23:
                    if (doc->isLiftplan()) ConvertToTieup(e, *doc, yes);
                    else ConvertToLiftplan(e, *doc, yes);
                    break;
                case 24: TurnDraft(e, *doc, yes); break;
                case 25: doc->SetNumShafts(e, 4 + any(9)); break;
                }
            }
        });
    }
    EXPECT_GE(edits, 300);
    const std::string edited = state(*doc);
    while (doc->Undo()) {}
    EXPECT_EQ(state(*doc), start);
    while (doc->Redo()) {}
    EXPECT_EQ(state(*doc), edited);
}

INSTANTIATE_TEST_SUITE_P(Seeds, UndoProperty, ::testing::Range(0, 12));
