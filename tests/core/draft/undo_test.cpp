#include "draft/quillabydoc.h"
#include "wif/wifwriter.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

using namespace qb;

namespace {

// A stand-in for a grid pane: replays requests through the document.
class TestPane : public IUndoTarget {
public:
    TestPane(CQuillabyDoc& doc, Kind kind) : m_doc(doc), m_kind(kind) {}
    Kind undoKind() const override { return m_kind; }
    void handleUndoRequest(const UndoRequest& r) override
    {
        ++requests;
        ApplyUndoRequest(m_doc, r);
    }
    int requests = 0;

private:
    CQuillabyDoc& m_doc;
    Kind m_kind;
};

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

// Everything an edit can touch, as text, so two states compare in one go.
std::string state(const CQuillabyDoc& doc)
{
    std::ostringstream o;
    o << doc.numShafts() << ' ' << doc.numTreadles() << ' ' << doc.numWarps() << ' ' << doc.numWefts() << '\n';
    auto tding = [&](const Tding& t) {
        o << "count " << t.GetCount() << " default " << t.defaultColor() << " ratio " << t.ratio() << '\n';
        for (int i = 0; i < t.GetCount(); ++i)
            o << t.FirstValue(i) << ':' << t.GetColor(i) << ':' << t.GetSymbol(i) << ':' << t.GetThick(i) << ' ';
        for (int r = 0; r < kLabelRows; ++r) {
            o << "\nlabels " << r << ':';
            for (const Label& l : t.labelRow(r)) o << ' ' << l.start << '+' << l.length << '=' << l.text;
        }
        o << '\n';
    };
    for (int r = 0; r < doc.numWarps(); ++r) tding(*doc.threading(r));
    for (int r = 0; r < doc.numWefts(); ++r) {
        const Treadling& t = *doc.treadling(r);
        tding(t);
        for (int i = 0; i < t.GetCount(); ++i) o << std::hex << t.GetSet(i).lo() << ',' << t.GetSet(i).hi() << ' ';
        o << std::dec << '\n';
    }
    for (int t = 0; t < doc.tieup().treadleCount(); ++t) o << doc.tieup().column(t).bits() << ' ';
    return o.str();
}

struct UndoFixture : ::testing::Test {
    std::unique_ptr<CQuillabyDoc> doc = newDraft();
    TestPane threading{*doc, IUndoTarget::Kind::Threading};
    TestPane treadling{*doc, IUndoTarget::Kind::Treadling};
    TestPane tieup{*doc, IUndoTarget::Kind::Tieup};

    bool setEnd(int end, int shaft)
    {
        return doc->Transaction(&threading, [&](EditSource s) { doc->SetThreadingCell(end, shaft, 0, s); });
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

TEST_F(UndoFixture, HugeChangeEmptiesTheHistory)
{
    setEnd(0, 1);
    auto* t = doc->threadingMutable(0);
    t->Append(10000);
    for (int e = 0; e < 10000; ++e) t->SetValue(e, 1 + e % 8);
    const bool kept = doc->Transaction(&threading, [&](EditSource s) { doc->ClearEnds(0, 10000, s); });
    EXPECT_FALSE(kept);
    EXPECT_FALSE(doc->history().canUndo());
    // The change itself stays made.
    EXPECT_EQ(doc->threading()->GetShaft(9999), 0);
}

TEST_F(UndoFixture, InsertUndoDeletesAndRedoInsertsWithTheValue)
{
    for (int e = 0; e < 20; ++e) doc->SetThreadingCell(e, 1);
    doc->Transaction(&threading, [&](EditSource s) { doc->InsertEnds(10, 5, 7, 0, s); });
    EXPECT_EQ(doc->numEnds(), 25);
    EXPECT_EQ(doc->threading()->GetShaft(14), 7);
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
    doc->SetNumWarps(2);
    doc->SetThreadingCell(3, 4, 1); // row 1 holds shaft 4 at end 3
    const std::string before = state(*doc);
    // One action: paint end 3 on shaft 4 in row 0 (takes it from row 1), color it.
    doc->Transaction(&threading, [&](EditSource s) {
        doc->SetThreadingCell(3, 4, 0, s);
        doc->SetEndColors(0, 5, 2, 0, s);
        doc->SetThreadingCell(5, 2, 0, s);
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
    for (int e = 0; e < 12; ++e) doc->SetThreadingCell(e, 1 + e % 8);
    doc->SetEndColors(4, 6, 3);
    doc->SetEndColors(0, 0, 1); // leaves the default color at 1
    doc->SetSymbol(true, 5, 'x');
    doc->SetThick(true, 6, true);
    doc->AddLabel(true, Label{2, 6, "border"});
    doc->AddLabel(true, Label{4, 2, "inner"});
    const std::string before = state(*doc);
    doc->Transaction(&threading, [&](EditSource s) { doc->DeleteEnds(3, 5, s); });
    const std::string after = state(*doc);
    EXPECT_EQ(doc->numEnds(), 7);
    doc->Undo();
    EXPECT_EQ(state(*doc), before);
    doc->Redo();
    EXPECT_EQ(state(*doc), after);
}

TEST_F(UndoFixture, ClosingPaneRetargetsOrDropsItsGroups)
{
    TestPane other(*doc, IUndoTarget::Kind::Threading);
    setEnd(0, 1);
    setEnd(1, 2);
    doc->history().paneClosing(&threading, &other);
    doc->Undo();
    EXPECT_EQ(threading.requests, 0);
    EXPECT_GT(other.requests, 0);
    doc->Transaction(&tieup, [&](EditSource s) { doc->SetTieupCell(0, 5, s); });
    doc->history().paneClosing(&other, nullptr);
    // Only the tieup's group is left, and undoing it never reaches a closed pane.
    EXPECT_EQ(doc->history().groupCount(), 1);
    const int before = other.requests;
    doc->Undo();
    EXPECT_EQ(other.requests, before);
    EXPECT_FALSE(doc->tieup().cell(0, 5));
}

// Hundreds of random edits in groups: undo all gives back the draft exactly,
// redo all gives back the edited draft exactly.
class UndoProperty : public ::testing::TestWithParam<int> {};

TEST_P(UndoProperty, UndoAllAndRedoAllAreExact)
{
    std::mt19937 rng(7 + GetParam());
    auto doc = newDraft(8, 10);
    if (GetParam() % 2) {
        doc->SetNumWarps(2);
        doc->SetNumWefts(2);
    }
    doc->SetMultipleTreadles(GetParam() % 3 == 0);
    TestPane panes[] = {{*doc, IUndoTarget::Kind::Threading}, {*doc, IUndoTarget::Kind::Treadling},
                        {*doc, IUndoTarget::Kind::Tieup}};
    for (int e = 0; e < 30; ++e) doc->SetThreadingCell(e, 1 + e % 8);
    for (int p = 0; p < 30; ++p) doc->SetTreadlingCell(p, 1 + p % 10);
    const std::string start = state(*doc);
    const std::string startFile = WifText(*doc, "1/1/2026");

    auto any = [&](int n) { return int(rng() % unsigned(n)); };
    int edits = 0;
    for (int g = 0; g < 60; ++g) {
        doc->Transaction(&panes[any(3)], [&](EditSource s) {
            for (int k = 0; k < 5; ++k, ++edits) {
                const int ends = std::max(1, doc->numEnds()), picks = std::max(1, doc->numPicks());
                const int wr = any(doc->numWarps()), fr = any(doc->numWefts());
                switch (any(16)) {
                case 0: doc->SetThreadingCell(any(ends + 5), 1 + any(8), wr, s); break;
                case 1: doc->ClearThreadingCell(any(ends), wr, s); break;
                case 2: doc->SetTreadlingCell(any(picks + 5), 1 + any(10), fr, s); break;
                case 3: doc->ClearTreadlingCell(any(picks), 1 + any(10), fr, s); break;
                case 4: doc->SetTieupCell(any(10), 1 + any(8), s); break;
                case 5: doc->ClearTieupCell(any(10), 1 + any(8), s); break;
                case 6: doc->InsertEnds(any(ends + 2), 1 + any(4), any(9), wr, s); break;
                case 7: doc->DeleteEnds(any(ends), 1 + any(4), s); break;
                case 8: doc->InsertPicks(any(picks + 2), 1 + any(4), TreadleSet(1u << any(10), 0), fr, s); break;
                case 9: doc->DeletePicks(any(picks), 1 + any(4), s); break;
                case 10: { const int a = any(ends + 3); doc->SetEndColors(a, a + any(4), any(5), wr, s); break; }
                case 11: { const int a = any(picks + 3); doc->SetPickColors(a, a + any(4), any(5), fr, s); break; }
                case 12: doc->SetSymbol(any(2), any(ends), 'a' + any(3), 0, s); break;
                case 13: doc->SetThick(any(2), any(ends), any(2), s); break;
                case 14: doc->AddLabel(true, Label{any(ends), 1 + any(5), "L" + std::to_string(any(9))}, 0, s); break;
                case 15: {
                    const auto& row = doc->threading()->labelRow(0);
                    if (!row.empty()) doc->RemoveLabel(true, row.front().start, row.front().length, 0, s);
                    break;
                }
                }
            }
        });
    }
    EXPECT_GE(edits, 300);
    const std::string edited = state(*doc);
    const std::string editedFile = WifText(*doc, "1/1/2026");
    while (doc->Undo()) {}
    EXPECT_EQ(state(*doc), start);
    EXPECT_EQ(WifText(*doc, "1/1/2026"), startFile); // the saved file too
    while (doc->Redo()) {}
    EXPECT_EQ(state(*doc), edited);
    EXPECT_EQ(WifText(*doc, "1/1/2026"), editedFile);
}

INSTANTIATE_TEST_SUITE_P(Seeds, UndoProperty, ::testing::Range(0, 12));
