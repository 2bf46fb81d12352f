// The document's own writes beside the cell primitives: whole-part steps,
// the notations and texts saved with the draft, the loom's run, saving, and
// the raw door that loaders write through.
#include "core/draft/draftstep.h"
#include "core/draft/notation.h"
#include "core/draft/quillabydoc.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

using namespace qb;

namespace {

// One window on the draft, counting what it hears.
struct Window : IDocumentObserver {
    void documentUpdated(const CQuillabyDoc& d, const UpdateHint& hint) override
    {
        ++updates;
        if (hint.has(UpdateHint::Structure)) ++loomSizes;
        seen = d.notations();
    }
    void weavingPickMoved(const CQuillabyDoc&, int previous, int current) override
    {
        moves.emplace_back(previous, current);
    }
    int updates = 0;
    int loomSizes = 0;
    DisplayNotations seen;
    std::vector<std::pair<int, int>> moves;
};

struct DocumentEdits : ::testing::Test {
    DocumentEdits()
    {
        NewDraftDefaults d;
        d.shafts = d.treadles = 4;
        doc.OnNewDocument(d);
        doc.subscribe(&first);
        doc.subscribe(&second);
    }
    ~DocumentEdits() override
    {
        doc.unsubscribe(&first);
        doc.unsubscribe(&second);
    }
    CQuillabyDoc doc;
    Window first, second;
};

} // namespace

TEST_F(DocumentEdits, NotationChangeIsOneUndoStepThatEveryWindowFollows)
{
    struct Row {
        const char* step;
        std::function<bool(Edit)> toggle;
        int DisplayNotations::*field;
        int after;
    };
    const DisplayNotations start = doc.notations(); // numeric threading, plain treadling, symbolic tieup, interlaced
    const std::vector<Row> rows = {
        {"Alpha Threading", [&](Edit e) { return ToggleThreadingNotation(e, doc, kAlpha); },
         &DisplayNotations::threading, kAlpha},
        // Choosing the notation shown returns to plain marks.
        {"Numeric Threading", [&](Edit e) { return ToggleThreadingNotation(e, doc, kNumeric); },
         &DisplayNotations::threading, kNumeric},
        {"Numeric Threading", [&](Edit e) { return ToggleThreadingNotation(e, doc, kNumeric); },
         &DisplayNotations::threading, kPlain},
        {"User-defined Treadling", [&](Edit e) { return ToggleTreadlingNotation(e, doc, kUserDefined); },
         &DisplayNotations::treadling, kUserDefined},
        {"Symbolic Tieup", [&](Edit e) { return ToggleTieupNotation(e, doc, kSymbolic); }, &DisplayNotations::tieup,
         kPlain},
        {"Interlace", [&](Edit e) { return ToggleInterlace(e, doc); }, &DisplayNotations::drawdown, kPlain},
        {"Interlace", [&](Edit e) { return ToggleInterlace(e, doc); }, &DisplayNotations::drawdown, kInterlaced},
    };
    int steps = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.step);
        const int firstHeard = first.updates, secondHeard = second.updates;
        EXPECT_TRUE(doc.Transaction(r.step, r.toggle));
        EXPECT_EQ(doc.notations().*r.field, r.after);
        EXPECT_EQ(doc.history().undoCount(), ++steps);
        EXPECT_EQ(doc.history().undoName(), r.step);
        // One notification each, after the change.
        EXPECT_EQ(first.updates, firstHeard + 1);
        EXPECT_EQ(second.updates, secondHeard + 1);
        EXPECT_EQ(second.seen.*r.field, r.after);
    }
    EXPECT_TRUE(doc.isModified());
    while (doc.Undo()) {}
    EXPECT_EQ(doc.notations(), start);
    EXPECT_EQ(second.seen, start);
}

TEST_F(DocumentEdits, TextsAndNotationsThatComeOutTheSameAreNoStep)
{
    EXPECT_FALSE(doc.Transaction("Properties", [&](Edit e) { doc.SetTexts(e, "", "", ""); }));
    EXPECT_FALSE(doc.Transaction("Notation", [&](Edit e) { doc.SetNotations(e, doc.notations()); }));
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(first.updates, 0);

    EXPECT_TRUE(doc.Transaction("Properties", [&](Edit e) { doc.SetTexts(e, "Title", "Me", "a\r\nb"); }));
    EXPECT_EQ(doc.title(), "Title");
    EXPECT_EQ(doc.author(), "Me");
    EXPECT_EQ(doc.notes(), "a\r\nb");
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.title(), "");
    EXPECT_EQ(doc.notes(), "");
}

TEST_F(DocumentEdits, DraftStepRecordsOnceAndTellsTheLoomSizeOnlyWhenItChanged)
{
    // A structure step is kept without comparing the rows.
    EXPECT_TRUE(doc.Transaction("Rows", [&](Edit e) {
        DraftStep step(e, doc, DraftSnapshot::Structure);
        doc.raw().threadingMutable(0)->Append(1);
        doc.raw().threadingMutable(0)->SetValue(0, 2);
        EXPECT_TRUE(step.commit());
        EXPECT_FALSE(step.commit()); // once only
    }));
    EXPECT_EQ(first.updates, 1);
    EXPECT_EQ(first.loomSizes, 0);
    EXPECT_TRUE(doc.isModified());

    EXPECT_TRUE(doc.Transaction("Loom", [&](Edit e) {
        DraftStep step(e, doc, DraftSnapshot::Structure);
        doc.raw().setLoomRaw(6, 6, false);
        doc.raw().replaceTieup(std::make_unique<Tieup>(6, 6));
        doc.raw().threadingMutable(0)->SetLimit(6);
        doc.raw().treadlingMutable(0)->SetLimit(6);
        step.commit();
    }));
    EXPECT_EQ(first.loomSizes, 1);
    EXPECT_EQ(first.updates, 2);
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.numShafts(), 4);
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.numEnds(), 0);

    // A step never committed records nothing.
    EXPECT_FALSE(doc.Transaction("Abandoned", [&](Edit e) { DraftStep step(e, doc); }));
}

TEST_F(DocumentEdits, TheLoomsRunIsKeptWithoutUndoAndTheMarkedPickMovesOnItsOwn)
{
    WeavingRunState run = doc.weaving();
    run.currentPick = 3;
    run.markers = {5};
    doc.SetWeavingRun(run);
    EXPECT_EQ(doc.weaving(), run);
    EXPECT_EQ(first.updates, 0);
    EXPECT_TRUE(first.moves.empty());
    // The panes mark a pick only when told to, and hear each move once.
    doc.MarkPick(3);
    doc.MarkPick(3);
    doc.MarkPick(-1);
    EXPECT_EQ(first.moves, (std::vector<std::pair<int, int>>{{-1, 3}, {3, -1}}));
    EXPECT_EQ(second.moves, first.moves);
    EXPECT_EQ(doc.history().undoCount(), 0);
    EXPECT_FALSE(doc.isModified());
}

TEST_F(DocumentEdits, SavingTakesTheFilesDateAndSymbolsAndLeavesTheDraftUnmodified)
{
    doc.SetModified();
    doc.MarkSaved("4/5/2026", true, false);
    EXPECT_EQ(doc.date(), "4/5/2026");
    EXPECT_TRUE(doc.notations().threadingSymbols);
    EXPECT_FALSE(doc.notations().treadlingSymbols);
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.history().undoCount(), 0);
}

TEST_F(DocumentEdits, TheRawDoorChangesTheDraftAsItIsAndTellsNobody)
{
    RawDraft raw = doc.raw();
    raw.title = "Loaded";
    raw.notations.threading = kAlpha;
    raw.blocks.numBlocks = 3;
    raw.tieupKeys.push_back(std::make_unique<TieupKey>(4, 1));
    raw.setWarpSett(24, 5000);
    raw.setUnits(1);
    EXPECT_EQ(doc.title(), "Loaded");
    EXPECT_EQ(doc.notations().threading, kAlpha);
    EXPECT_EQ(doc.blocks().numBlocks, 3);
    EXPECT_EQ(doc.tieupKeys().size(), 1u);
    EXPECT_DOUBLE_EQ(doc.warpSett(), 24.5);
    EXPECT_EQ(doc.units(), 1);
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(first.updates, 0);
    // A copy carries what was written.
    const auto copy = doc.Clone();
    EXPECT_EQ(copy->title(), "Loaded");
    EXPECT_EQ(copy->blocks(), doc.blocks());
    EXPECT_EQ(copy->tieupKeys().size(), 1u);
}
