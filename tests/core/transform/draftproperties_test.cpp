// The properties page's OK: the order in which values, questions and
// conversions are applied, and what stays undoable.

#include "tests/core/transform/drafts.h"

#include "core/transform/draftproperties.h"
#include "core/transform/messages.h"
#include "core/transform/tieupops.h"

#include <gtest/gtest.h>

#include <deque>

using namespace qbtest;

namespace {

// Answers from a script, in order; records every question.
class ScriptedPrompter : public IPrompter {
public:
    explicit ScriptedPrompter(std::deque<bool> answers = {}) : m_answers(std::move(answers)) {}
    bool ask(const std::string& q) override
    {
        asked.push_back(q);
        if (m_answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << q;
            return false;
        }
        const bool a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    void tell(const std::string& m) override { told.push_back(m); }
    std::vector<std::string> asked;
    std::vector<std::string> told;

private:
    std::deque<bool> m_answers;
};

// A 4-shaft liftplan whose four picks lift four different sets.
std::unique_ptr<CQuillabyDoc> LiftplanDraft()
{
    auto doc = NewDraft(4, 4);
    SetShafts(*doc, {1, 2, 3, 4, 1, 2});
    SetTreadles(*doc, {1, 2, 3, 4});
    FixedPrompter yes(true);
    ConvertToLiftplan(kUnrecorded, *doc, yes);
    EXPECT_TRUE(doc->isLiftplan());
    doc->SetModified(false);
    return doc;
}

} // namespace

TEST(DraftProperties, UnchangedValuesChangeNothing)
{
    auto doc = NewDraft(8, 10);
    ScriptedPrompter none;
    const auto out = ApplyProperties(kUnrecorded, *doc, ReadProperties(*doc), none);
    EXPECT_FALSE(out.changed);
    EXPECT_FALSE(doc->isModified());
}

TEST(DraftProperties, PlainValuesAndRatiosAreWritten)
{
    auto doc = NewDraft(8, 10);
    SetShafts(*doc, {1, 2, 3});
    doc->Transaction("Pencil", [&](Edit e) { doc->SetThreadingCell(e, 0, 5, 0); });
    const double sett = doc->warpSett();
    DraftProperties v = ReadProperties(*doc);
    EXPECT_EQ(v.warpRatio, 2); // ratio 1 shown as 2
    v.risingShed = false;
    v.units = 1;
    v.warpSettWhole = 24;
    v.warpSettFrac = 5000;
    v.weftSettWhole = 12;
    v.warpRatio = 4;  // stored as 3
    v.weftRatio = 99; // cut to 5
    ScriptedPrompter none;
    PropertiesOutcome out;
    doc->Transaction("Properties", [&](Edit e) { out = ApplyProperties(e, *doc, v, none); });
    EXPECT_TRUE(out.changed);
    EXPECT_TRUE(out.ratioChanged);
    EXPECT_FALSE(out.converted);
    EXPECT_FALSE(doc->isRisingShed());
    EXPECT_EQ(doc->units(), 1);
    EXPECT_DOUBLE_EQ(doc->warpSett(), 24.5);
    EXPECT_DOUBLE_EQ(doc->weftSett(), 12.0);
    EXPECT_EQ(doc->threading(0)->ratio(), 3);
    EXPECT_EQ(doc->treadling(0)->ratio(), 5);
    EXPECT_TRUE(doc->isModified());

    // One undo step puts shed, ratios, sett and units back, a second one the
    // earlier edit.
    ASSERT_EQ(doc->history().undoCount(), 2);
    doc->Undo();
    EXPECT_TRUE(doc->isRisingShed());
    EXPECT_EQ(doc->threading(0)->ratio(), 1);
    EXPECT_EQ(doc->treadling(0)->ratio(), 1);
    EXPECT_DOUBLE_EQ(doc->warpSett(), sett);
    EXPECT_EQ(doc->units(), 0);
    doc->Undo();
    EXPECT_EQ(Shafts(*doc)[0], 1);
    doc->Redo();
    doc->Redo();
    EXPECT_FALSE(doc->isRisingShed());
    EXPECT_EQ(doc->threading(0)->ratio(), 3);
}

TEST(DraftProperties, UnrecordedChangesLeaveTheHistoryAlone)
{
    auto doc = NewDraft(8, 8);
    doc->Transaction("Pencil", [&](Edit e) { doc->SetThreadingCell(e, 0, 5, 0); });
    DraftProperties v = ReadProperties(*doc);
    v.weftSettWhole = 30;
    v.shafts = 6;
    ScriptedPrompter none;
    ApplyProperties(kUnrecorded, *doc, v, none);
    EXPECT_EQ(doc->history().undoCount(), 1);
    EXPECT_EQ(doc->numShafts(), 6);
}

TEST(DraftProperties, ShaftsTreadlesAndRowsThroughTheDocument)
{
    auto doc = NewDraft(8, 10);
    SetShafts(*doc, {1, 8, 3});
    SetTreadles(*doc, {10, 2});
    DraftProperties v = ReadProperties(*doc);
    v.shafts = 6;
    v.treadles = 4;
    v.numWarps = 3;
    v.numWefts = 0; // below 1 becomes 1
    ScriptedPrompter none;
    PropertiesOutcome out;
    doc->Transaction("Properties", [&](Edit e) { out = ApplyProperties(e, *doc, v, none); });
    EXPECT_TRUE(out.layoutChanged);
    EXPECT_EQ(doc->numShafts(), 6);
    EXPECT_EQ(doc->numTreadles(), 4);
    EXPECT_EQ(doc->tieup().shaftCount(), 6);
    EXPECT_EQ(doc->tieup().treadleCount(), 4);
    EXPECT_EQ(Shafts(*doc), (std::vector<int>{1, 0, 3})); // shaft 8 is gone
    EXPECT_EQ(Treadles(*doc), (std::vector<int>{0, 2}));
    EXPECT_EQ(doc->numWarps(), 3);
    EXPECT_EQ(doc->threading(2)->GetCount(), 3);
    EXPECT_EQ(doc->numWefts(), 1);

    // The whole change is one step back.
    doc->Undo();
    EXPECT_EQ(doc->numShafts(), 8);
    EXPECT_EQ(doc->numTreadles(), 10);
    EXPECT_EQ(doc->numWarps(), 1);
    EXPECT_EQ(Shafts(*doc), (std::vector<int>{1, 8, 3}));
}

TEST(DraftProperties, LiftplanOnConvertsBeforeTheShaftsGrow)
{
    auto doc = NewDraft(4, 6);
    SetShafts(*doc, {1, 2, 3, 4});
    doc->raw().tieupMutable().setColumn(5, TUPTYPE::firstShafts(3));
    SetTreadles(*doc, {6, 1});
    const auto cloth = Drawdown(*doc);
    DraftProperties v = ReadProperties(*doc);
    v.liftplan = true;
    v.shafts = 6;
    ScriptedPrompter none;
    PropertiesOutcome out;
    doc->Transaction("Properties", [&](Edit e) { out = ApplyProperties(e, *doc, v, none); });
    EXPECT_TRUE(out.converted);
    EXPECT_TRUE(doc->isLiftplan());
    // Converted with 4 shafts (pick 1 lifts shafts 1..3), then widened.
    EXPECT_EQ(doc->numShafts(), 6);
    EXPECT_EQ(doc->numTreadles(), 6);
    EXPECT_EQ(doc->treadling(0)->GetSet(0).count(), 3);
    EXPECT_EQ(Drawdown(*doc), cloth);
    // The conversion is one undo step with the rest of the sheet.
    doc->Undo();
    EXPECT_FALSE(doc->isLiftplan());
    EXPECT_EQ(doc->numShafts(), 4);
    doc->Redo();

    // And back to tieup form: one treadle per distinct lift.
    v = ReadProperties(*doc);
    v.liftplan = false;
    ApplyProperties(kUnrecorded, *doc, v, none);
    EXPECT_FALSE(doc->isLiftplan());
    EXPECT_EQ(Drawdown(*doc), cloth);
}

TEST(DraftProperties, LiftplanOnWithFewerWeftsDropsThemFirst)
{
    auto doc = NewDraft(4, 6);
    doc->SetNumRows(kUnrecorded, Side::Treadling, 2);
    DraftProperties v = ReadProperties(*doc);
    v.liftplan = true;
    v.numWefts = 1;
    ScriptedPrompter none;
    ApplyProperties(kUnrecorded, *doc, v, none);
    EXPECT_TRUE(doc->isLiftplan());
    EXPECT_EQ(doc->numWefts(), 1);
}

TEST(DraftProperties, MoreWeftsInLiftplanFormAsksFirst)
{
    // No: the draft keeps its liftplan and its single weft, correlation off.
    {
        auto doc = LiftplanDraft();
        DraftProperties v = ReadProperties(*doc);
        v.numWefts = 2;
        v.correlationSide = 2;
        v.weftSettWhole = 20;
        ScriptedPrompter no({false});
        ApplyProperties(kUnrecorded, *doc, v, no);
        EXPECT_EQ(no.asked, std::vector<std::string>{msg::kConvertToTieup});
        EXPECT_TRUE(doc->isLiftplan());
        EXPECT_EQ(doc->numWefts(), 1);
        EXPECT_EQ(doc->correlationSide(), 0);
        EXPECT_DOUBLE_EQ(doc->weftSett(), 20.0); // written before the question
    }
    // Yes: tieup form, then the wefts are added.
    {
        auto doc = LiftplanDraft();
        const auto cloth = Drawdown(*doc);
        DraftProperties v = ReadProperties(*doc);
        v.numWefts = 2;
        ScriptedPrompter yes({true});
        const auto out = ApplyProperties(kUnrecorded, *doc, v, yes);
        EXPECT_TRUE(out.converted);
        EXPECT_FALSE(doc->isLiftplan());
        EXPECT_EQ(doc->numWefts(), 2);
        EXPECT_EQ(doc->numTreadles(), 4);
        EXPECT_EQ(Drawdown(*doc), cloth);
    }
}

TEST(DraftProperties, QuestionsComeInTheirOrder)
{
    // Liftplan with four distinct lifts: to tieup form (4 treadles), then 4
    // wefts bound to the weft color bars.
    auto doc = LiftplanDraft();
    DraftProperties v = ReadProperties(*doc);
    v.numWefts = 4;
    v.correlationSide = 2;
    v.correlationOn = true;
    ScriptedPrompter yes({true, true});
    ApplyProperties(kUnrecorded, *doc, v, yes);
    EXPECT_EQ(yes.asked, (std::vector<std::string>{msg::kConvertToTieup, msg::kCorrelateTreadling}));
    EXPECT_EQ(doc->activeCorrelation(), 2);
    for (int j = 0; j < 3; ++j)
        for (int p = 0; p < doc->numPicks(); ++p) {
            TreadleSet only;
            only.set(j + 1);
            EXPECT_EQ(doc->treadling(j)->GetSet(p), only) << "row " << j << " pick " << p;
        }
}

TEST(DraftProperties, DirectCorrelation)
{
    // Weft-faced with as many wefts as treadles: the bars are set on Yes ...
    {
        auto doc = NewDraft(4, 3);
        SetTreadles(*doc, {3, 2, 1});
        DraftProperties v = ReadProperties(*doc);
        v.numWefts = 3;
        v.correlationSide = 2;
        v.correlationOn = true;
        ScriptedPrompter yes({true});
        ApplyProperties(kUnrecorded, *doc, v, yes);
        ASSERT_EQ(yes.asked.size(), 1u);
        EXPECT_TRUE(doc->correlationOn());
        EXPECT_EQ(Treadles(*doc, 0), (std::vector<int>{1, 1, 1}));
        EXPECT_EQ(Treadles(*doc, 1), (std::vector<int>{2, 2, 2}));

        // ... and asked no more once they are in place.
        DraftProperties off = ReadProperties(*doc);
        off.correlationOn = false;
        ApplyProperties(kUnrecorded, *doc, off, yes);
        ScriptedPrompter none;
        ApplyProperties(kUnrecorded, *doc, ReadProperties(*doc), none);
        off.correlationOn = true;
        ApplyProperties(kUnrecorded, *doc, off, none);
        EXPECT_TRUE(none.asked.empty());
        EXPECT_TRUE(doc->correlationOn());
    }
    // No turns correlation off and leaves the treadling.
    {
        auto doc = NewDraft(4, 2);
        SetTreadles(*doc, {2, 2});
        DraftProperties v = ReadProperties(*doc);
        v.numWefts = 2;
        v.correlationSide = 2;
        v.correlationOn = true;
        ScriptedPrompter no({false});
        ApplyProperties(kUnrecorded, *doc, v, no);
        EXPECT_EQ(no.asked, std::vector<std::string>{msg::kCorrelateTreadling});
        EXPECT_FALSE(doc->correlationOn());
        EXPECT_EQ(doc->correlationSide(), 2);
        EXPECT_EQ(Treadles(*doc), (std::vector<int>{2, 2}));
    }
    // Warp side: row 0 on shaft 1, and no end keeps shaft 1 in another row.
    {
        auto doc = NewDraft(2, 4);
        doc->SetNumRows(kUnrecorded, Side::Threading, 2);
        doc->raw().threadingMutable(0)->Append(3);
        doc->raw().threadingMutable(1)->Append(3);
        doc->raw().threadingMutable(1)->SetValue(0, 1);
        doc->raw().threadingMutable(0)->SetValue(1, 2);
        DraftProperties v = ReadProperties(*doc);
        v.correlationSide = 1;
        v.correlationOn = true;
        ScriptedPrompter yes({true});
        ApplyProperties(kUnrecorded, *doc, v, yes);
        EXPECT_EQ(yes.asked, std::vector<std::string>{msg::kCorrelateThreading});
        EXPECT_EQ(Shafts(*doc, 0), (std::vector<int>{1, 1, 1}));
        EXPECT_EQ(Shafts(*doc, 1), (std::vector<int>{0, 0, 0}));
    }
    // Forced off where it cannot hold: balanced, or counts that differ.
    {
        DraftProperties v;
        v.shafts = 8;
        v.numWarps = 2;
        v.correlationSide = 1;
        v.correlationOn = true;
        EXPECT_FALSE(NormalizeProperties(v).correlationOn);
        v.numWarps = 8 > kMaxRows ? kMaxRows : 8;
        v.shafts = v.numWarps;
        EXPECT_TRUE(NormalizeProperties(v).correlationOn);
        v.correlationSide = 0;
        EXPECT_FALSE(NormalizeProperties(v).correlationOn);
    }
}

TEST(DraftProperties, DeclinedLiftplanKeepsTheTreadles)
{
    auto doc = NewDraft(4, 6);
    doc->raw().notations.treadling = 5; // user-defined: liftplan form asks first
    DraftProperties v = ReadProperties(*doc);
    v.liftplan = true;
    v.treadles = 4;
    ScriptedPrompter no({false});
    ApplyProperties(kUnrecorded, *doc, v, no);
    EXPECT_EQ(no.asked, std::vector<std::string>{msg::kMultipleNotation});
    EXPECT_FALSE(doc->isLiftplan());
    EXPECT_EQ(doc->numTreadles(), 6);
}
