#include "docsnapshot.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

using namespace qb;

namespace {

// What must hold after every edit, whatever the arguments were.
std::string brokenInvariant(const CQuillabyDoc& d)
{
    std::ostringstream why;
    if (d.numWarps() < 1 || d.numWarps() > kMaxRows) why << "warps " << d.numWarps() << '\n';
    if (d.numWefts() < 1 || d.numWefts() > kMaxRows) why << "wefts " << d.numWefts() << '\n';
    if (d.numShafts() < 1 || d.numShafts() > kMaxShafts) why << "shafts " << d.numShafts() << '\n';
    if (d.numTreadles() < 1 || d.numTreadles() > kMaxTreadles) why << "treadles " << d.numTreadles() << '\n';
    if (d.isLiftplan() && d.numTreadles() != d.numShafts()) why << "liftplan counts differ\n";
    if (d.numEnds() > kMaxThreads || d.numPicks() > kMaxThreads) why << "too long\n";
    for (int r = 0; r < kMaxRows; ++r) {
        const Threading* t = d.threading(r);
        if ((t != nullptr) != (r < d.numWarps())) { why << "warp row " << r << " presence\n"; continue; }
        if (!t) continue;
        if (t->GetCount() != d.numEnds()) why << "warp row " << r << " length\n";
        if (static_cast<int>(t->values().size()) != t->GetCount()) why << "warp row " << r << " values\n";
        if (t->limit() != d.numShafts()) why << "warp row " << r << " limit\n";
        if (t->HighestValue() > t->limit()) why << "warp row " << r << " shaft above limit\n";
    }
    for (int r = 0; r < kMaxRows; ++r) {
        const Treadling* t = d.treadling(r);
        if ((t != nullptr) != (r < d.numWefts())) { why << "weft row " << r << " presence\n"; continue; }
        if (!t) continue;
        if (t->GetCount() != d.numPicks()) why << "weft row " << r << " length\n";
        if (static_cast<int>(t->values().size()) != t->GetCount()) why << "weft row " << r << " values\n";
        if (t->limit() != d.numTreadles()) why << "weft row " << r << " limit\n";
        if (t->HighestValue() > t->limit()) why << "weft row " << r << " treadle above limit\n";
        if (d.isLiftplan() && !t->multiple()) why << "liftplan without multiple\n";
        if (t->multiple() != d.treadling(0)->multiple()) why << "multiple differs between rows\n";
        if (!t->multiple())
            for (const TreadleSet& s : t->values())
                if (s.count() > 1) { why << "several treadles without multiple\n"; break; }
    }
    for (const Tding* t : {static_cast<const Tding*>(d.threading(0)), static_cast<const Tding*>(d.treadling(0))}) {
        for (int row = 0; row < kLabelRows; ++row) {
            int end = -1;
            for (const Label& l : t->labelRow(row)) {
                if (l.start <= end || l.length < 1 || l.text.size() > 31) why << "label row " << row << '\n';
                end = l.last();
            }
        }
    }
    const Tieup& tu = d.tieup();
    if (tu.shaftCount() != d.numShafts() || tu.treadleCount() != d.numTreadles()) why << "tieup size\n";
    for (int t = 0; t < tu.treadleCount(); ++t)
        if (tu.column(t).highest() > tu.shaftCount()) why << "tieup column " << t << " above shafts\n";
    const ColorPalette& p = d.palette();
    if (p.count() < 1 || p.count() > kMaxColors) why << "palette count\n";
    if (p.leftColor() >= p.count() || p.rightColor() >= p.count()) why << "button colors\n";
    return why.str();
}

class Fuzzer {
public:
    explicit Fuzzer(unsigned seed) : m_rng(seed) {}

    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    int index() { return pick(0, 9) == 0 ? pick(32765, 32770) * (pick(0, 1) ? 1 : -1) : pick(-2, 40); }
    int shaft() { return pick(-1, 66); }
    int treadle() { return pick(-1, 130); }
    int row() { return pick(-1, 4); }
    int count() { return pick(0, 9) == 0 ? pick(32760, 40000) : pick(-1, 6); }

    // One random primitive; returns its result and a name for failures.
    bool step(CQuillabyDoc& d, std::string& name)
    {
        const bool warp = pick(0, 1);
        switch (pick(0, 27)) {
        case 0: name = "SetThreadingCell"; return d.SetThreadingCell(index(), shaft(), row());
        case 1: name = "ClearThreadingCell"; return d.ClearThreadingCell(index(), row());
        case 2: name = "SetTreadlingCell"; return d.SetTreadlingCell(index(), treadle(), row());
        case 3: name = "ClearTreadlingCell"; return d.ClearTreadlingCell(index(), treadle(), row());
        case 4: name = "SetTieupCell"; return d.SetTieupCell(treadle(), shaft());
        case 5: name = "ClearTieupCell"; return d.ClearTieupCell(treadle(), shaft());
        case 6: name = "SetTieupColumn"; return d.SetTieupColumn(treadle(), TUPTYPE(m_rng()));
        case 7: name = "InsertEnds"; return d.InsertEnds(index(), count(), shaft(), row());
        case 8: {
            name = "InsertPicks";
            TreadleSet v;
            for (int k = pick(0, 2); k > 0; --k) v.set(treadle());
            return d.InsertPicks(index(), count(), v, row());
        }
        case 9: name = "DeleteEnds"; return d.DeleteEnds(index(), count());
        case 10: name = "DeletePicks"; return d.DeletePicks(index(), count());
        case 11: name = "ClearEnds"; return d.ClearEnds(index(), count());
        case 12: name = "ClearPicks"; return d.ClearPicks(index(), count());
        case 13: {
            name = "SetEndColors";
            const int first = index();
            return d.SetEndColors(first, first + pick(-1, 5), pick(-1, 6), row());
        }
        case 14: {
            name = "SetPickColors";
            const int first = index();
            return d.SetPickColors(first, first + pick(-1, 5), pick(-1, 6), row());
        }
        case 15: name = "SetSymbol"; return d.SetSymbol(warp, index(), pick(-1, 256), row());
        case 16: name = "SetThick"; return d.SetThick(warp, index(), pick(0, 1));
        case 17: name = "SetRatio"; return d.SetRatio(warp, pick(-1, 7));
        case 18: name = "AddLabel"; return d.AddLabel(warp, {index(), pick(-1, 8), std::string(pick(0, 40), 'l')}, row());
        case 19: name = "SetLabelText"; return d.SetLabelText(warp, pick(0, 10), pick(1, 4), "t", row());
        case 20: name = "RemoveLabel"; return d.RemoveLabel(warp, pick(0, 10), pick(1, 4), row());
        case 21: name = "SetNumShafts"; return d.SetNumShafts(shaft());
        case 22: name = "SetNumTreadles"; return d.SetNumTreadles(treadle());
        case 23: name = "SetNumWarps"; return d.SetNumWarps(pick(-1, 5), {pick(0, 5), pick(0, 5)});
        case 24: name = "SetNumWefts"; return d.SetNumWefts(pick(-1, 5), {pick(0, 5), pick(0, 5)});
        case 25: name = "SetMultipleTreadles"; return d.SetMultipleTreadles(pick(0, 1));
        case 26: name = "DeleteEndsAll"; return d.DeleteEnds(0, 40); // keep the draft small
        default: name = "DeletePicksAll"; return d.DeletePicks(0, 40);
        }
    }

private:
    std::mt19937 m_rng;
};

class Counter : public IDocumentObserver {
public:
    void documentUpdated(const CQuillabyDoc&, const UpdateHint*) override { ++updates; }
    int updates = 0;
};

} // namespace

// Random edits with arguments in and out of range: a refused edit changes
// nothing and notifies nobody; an accepted one keeps the draft consistent.
class DocRandomEdits : public ::testing::TestWithParam<unsigned> {};

TEST_P(DocRandomEdits, RefusalsChangeNothingAndTheDraftStaysConsistent)
{
    Fuzzer f(GetParam());
    CQuillabyDoc doc;
    NewDraftDefaults d;
    d.shafts = f.pick(1, 12);
    d.treadles = f.pick(1, 12);
    d.liftplan = GetParam() % 2 == 1;
    d.defaultColors = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000};
    doc.OnNewDocument(d);
    Counter counter;
    doc.subscribe(&counter);
    ASSERT_EQ(brokenInvariant(doc), "");

    for (int i = 0; i < 1500; ++i) {
        const std::string before = qbtest::snapshot(doc);
        const int heard = counter.updates;
        doc.SetModified(false);
        std::string name;
        const bool ok = f.step(doc, name);
        if (!ok) {
            ASSERT_EQ(qbtest::snapshot(doc), before) << "step " << i << ' ' << name;
            ASSERT_EQ(counter.updates, heard) << "step " << i << ' ' << name;
            ASSERT_FALSE(doc.isModified()) << "step " << i << ' ' << name;
        }
        ASSERT_EQ(brokenInvariant(doc), "") << "step " << i << ' ' << name;
    }
    doc.unsubscribe(&counter);
}

INSTANTIATE_TEST_SUITE_P(Seeds, DocRandomEdits, ::testing::Values(1u, 2u, 3u, 4u, 5u, 6u));
