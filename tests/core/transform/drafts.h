#pragma once

// Shared helpers of the transform tests: seeded random drafts and
// whole-state / drawdown snapshots to compare.

#include "core/draft/drawdown.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/command.h"

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace qbtest {

using namespace qb;

struct DraftShape {
    int shafts = 8;
    int treadles = 10;
    int ends = 40;
    int picks = 30;
    bool liftplan = false;
    bool rising = true;
    bool multiple = false;
    int warps = 1;
    int wefts = 1;
    bool weftBars = false; // weft rows bound to the color bars
    int unthreadedPercent = 10;
    int emptyPercent = 10;
};

std::unique_ptr<CQuillabyDoc> NewDraft(int shafts = 8, int treadles = 8);
std::unique_ptr<CQuillabyDoc> RandomDraft(const DraftShape& shape, std::mt19937& rng);
// A draft shape with random sizes and forms.
DraftShape RandomShape(std::mt19937& rng, bool allowLiftplan = true, int maxWefts = 4);

// Every cell of the black-and-white drawdown, row by row.
std::vector<Cell> Drawdown(const CQuillabyDoc& doc);
// Everything a command can change, as text.
std::string State(const CQuillabyDoc& doc);

// Threading row 0 as a list of shafts; treadling row 0 as first treadles.
std::vector<int> Shafts(const CQuillabyDoc& doc, int row = 0);
std::vector<int> Treadles(const CQuillabyDoc& doc, int row = 0);
void SetShafts(CQuillabyDoc& doc, const std::vector<int>& shafts);
void SetTreadles(CQuillabyDoc& doc, const std::vector<int>& treadles);

// Counts what a draft's views hear while it watches.
struct Listener : IDocumentObserver {
    explicit Listener(CQuillabyDoc& d) : doc(d) { doc.subscribe(this); }
    ~Listener() override { doc.unsubscribe(this); }
    void documentUpdated(const CQuillabyDoc&, const UpdateHint& hint) override { hints.push_back(hint); }
    void paletteChanged(const CQuillabyDoc&) override { ++paletteNotices; }
    CQuillabyDoc& doc;
    std::vector<UpdateHint> hints;
    int paletteNotices = 0;
};

} // namespace qbtest
