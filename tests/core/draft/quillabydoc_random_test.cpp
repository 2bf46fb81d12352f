#include "core/draft/draftinvariants.h"
#include "tests/core/draft/docsnapshot.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

using namespace qb;

namespace {

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
        case 0: name = "SetThreadingCell"; return d.SetThreadingCell(kUnrecorded, index(), shaft(), row());
        case 1: name = "ClearThreadingCell"; return d.ClearThreadingCell(kUnrecorded, index(), row());
        case 2: name = "SetTreadlingCell"; return d.SetTreadlingCell(kUnrecorded, index(), treadle(), row());
        case 3: name = "ClearTreadlingCell"; return d.ClearTreadlingCell(kUnrecorded, index(), treadle(), row());
        case 4: name = "SetTieupCell"; return d.SetTieupCell(kUnrecorded, treadle(), shaft());
        case 5: name = "ClearTieupCell"; return d.ClearTieupCell(kUnrecorded, treadle(), shaft());
        case 6: name = "SetTieupColumn"; return d.SetTieupColumn(kUnrecorded, treadle(), TUPTYPE(m_rng()));
        case 7: name = "InsertEnds"; return d.InsertThreads(kUnrecorded, Side::Threading, index(), count());
        case 8: {
            name = "InsertPicks";
            TreadleSet v;
            for (int k = pick(0, 2); k > 0; --k) v.set(treadle());
            return d.InsertThreads(kUnrecorded, Side::Treadling, index(), count());
        }
        case 9: name = "DeleteEnds"; return d.DeleteThreads(kUnrecorded, Side::Threading, index(), count());
        case 10: name = "DeletePicks"; return d.DeleteThreads(kUnrecorded, Side::Treadling, index(), count());
        case 11: name = "ClearEnds"; return d.ClearThreads(kUnrecorded, Side::Threading, index(), count());
        case 12: name = "ClearPicks"; return d.ClearThreads(kUnrecorded, Side::Treadling, index(), count());
        case 13: {
            name = "SetEndColors";
            const int first = index();
            return d.SetThreadColors(kUnrecorded, Side::Threading, first, first + pick(-1, 5), pick(-1, 6), row());
        }
        case 14: {
            name = "SetPickColors";
            const int first = index();
            return d.SetThreadColors(kUnrecorded, Side::Treadling, first, first + pick(-1, 5), pick(-1, 6), row());
        }
        case 15: name = "SetSymbol"; return d.SetSymbol(kUnrecorded, SideOf(warp), index(), pick(-1, 256), row());
        case 16: name = "SetThick"; return d.SetThick(kUnrecorded, SideOf(warp), index(), pick(0, 1));
        case 17: name = "SetRatio"; return d.SetRatio(kUnrecorded, SideOf(warp), pick(-1, 7));
        case 18:
            name = "AddLabel";
            return d.AddLabel(kUnrecorded, SideOf(warp), {index(), pick(-1, 8), std::string(pick(0, 40), 'l')}, row());
        case 19:
            name = "SetLabelText";
            return d.SetLabelText(kUnrecorded, SideOf(warp), pick(0, 10), pick(1, 4), "t", row());
        case 20: name = "RemoveLabel"; return d.RemoveLabel(kUnrecorded, SideOf(warp), pick(0, 10), pick(1, 4), row());
        case 21: name = "SetNumShafts"; return d.SetNumShafts(kUnrecorded, shaft());
        case 22: name = "SetNumTreadles"; return d.SetNumTreadles(kUnrecorded, treadle());
        case 23:
            name = "SetNumWarps";
            return d.SetNumRows(kUnrecorded, Side::Threading, pick(-1, 5), {pick(0, 5), pick(0, 5)});
        case 24:
            name = "SetNumWefts";
            return d.SetNumRows(kUnrecorded, Side::Treadling, pick(-1, 5), {pick(0, 5), pick(0, 5)});
        case 25: name = "SetMultipleTreadles"; return d.SetMultipleTreadles(kUnrecorded, pick(0, 1));
        case 26:
            name = "DeleteEndsAll";
            return d.DeleteThreads(kUnrecorded, Side::Threading, 0, 40); // keep the draft small
        default: name = "DeletePicksAll"; return d.DeleteThreads(kUnrecorded, Side::Treadling, 0, 40);
        }
    }

private:
    std::mt19937 m_rng;
};

class Counter : public IDocumentObserver {
public:
    void documentUpdated(const CQuillabyDoc&, const UpdateHint&) override { ++updates; }
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
    ASSERT_EQ(BrokenInvariant(doc), "");

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
        ASSERT_EQ(BrokenInvariant(doc), "") << "step " << i << ' ' << name;
    }
    doc.unsubscribe(&counter);
}

INSTANTIATE_TEST_SUITE_P(Seeds, DocRandomEdits, ::testing::Values(1u, 2u, 3u, 4u, 5u, 6u));
