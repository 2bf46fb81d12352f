#pragma once

#include "core/transform/fabricanalysis.h"

#include <memory>
#include <vector>

namespace qb {

class CQuillabyDoc;
struct NewDraftDefaults;

// Fabric analysis cell by cell over a draft of many ends and picks, run on a
// stand-in draft that holds the end being drawn, the pick being drawn, and
// one end per shaft and one pick per treadle the other threads use. The cell
// operation's reductions depend on which shafts and treadles are in use, not
// on how many threads use each, and renumber all threads of a shaft (or
// treadle) alike; so the stand-in changes exactly as the whole draft would,
// at a cost that does not grow with the number of threads. Ends are drawn in
// order: once the next end is begun, the ones before are only ever renumbered.
class GroupedAnalysis {
public:
    // An empty draft of `ends` x `picks` from the defaults (tieup form,
    // rising shed expected).
    GroupedAnalysis(int ends, int picks, const NewDraftDefaults& defaults);
    ~GroupedAnalysis();

    // Lifts the cell (end, pick) as FabricAnalysisCell does; `end` never
    // goes back to an earlier end.
    CellOutcome lift(int end, int pick);
    int shaftsInUse() const;
    int treadlesInUse() const;
    // The whole draft: every end and pick with its group's shaft or treadle.
    std::unique_ptr<CQuillabyDoc> finish();

private:
    struct Groups {
        std::vector<int> parent, count, slot; // per group; count and slot valid for roots
        std::vector<int> live;                // the roots that still have threads
        std::vector<int> freeSlots;
        int find(int g);
        int make(int slotIndex);
    };

    void closeEnd();
    void removePick(int pick);
    void addPick(int pick, int treadle);
    // After a change: read every group's new number, joining groups that now share one.
    void regroup(Groups& groups, bool shafts);
    int value(bool shafts, int slot) const;
    void setValue(bool shafts, int slot, int v);
    int newSlot(Groups& groups, bool shafts);

    std::unique_ptr<CQuillabyDoc> m_doc;
    int m_ends, m_picks;
    int m_currentEnd = 0;
    std::vector<int> m_endGroup, m_pickGroup; // -1: no shaft / no treadle
    Groups m_shaftGroups, m_treadleGroups;
};

} // namespace qb
