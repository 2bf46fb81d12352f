#pragma once

#include "core/yarn/plancalc.h"

#include "core/transform/command.h"

namespace qb {

class CQuillabyDoc;
class CYarn;

// The draft's project plan as the planner shows it in `shown`, the current
// measurement system. When the draft was made in the other system every
// length, the sett, the beat and the densities are converted, so that the
// ends, picks and quantities come out the same in both systems.
PlanInputs PlanInputsOf(const CQuillabyDoc& doc, MeasureSystem shown);

// Stores into the draft what the weaver changed: every value of `edited`
// that differs from `shown` (both in the same system, `shown` being what
// PlanInputsOf gave), converted back into the draft's system. Values left
// alone are not converted back, so they never drift. Counts and percentages
// are brought into what the draft file keeps. Returns whether anything
// changed.
bool StorePlanChanges(CQuillabyDoc& doc, const PlanInputs& shown, const PlanInputs& edited);

// The "Yarn Calculator" wizard's state: the draft's values as loaded and as
// the four pages show and edit them. `pages` keeps the draft's exact sett,
// beat and densities until the weaver types new ones.
class PlannerSession {
public:
    PlannerSession(const CQuillabyDoc& doc, MeasureSystem shown);

    const PlanInputs& loaded() const { return m_loaded; }
    PlanInputs& pages() { return m_pages; }
    const PlanInputs& pages() const { return m_pages; }

    // What the pages show for their current values.
    PlanResults results() const { return ComputePlan(m_pages, WarpRounding::BeforeWeight); }

    // Typing a number of ends on the Warp page: the width of one piece
    // follows.
    void setEnds(long long ends);
    // Choosing a yarn on the Warp or Weft page: its name and density, and
    // its sett when it has one.
    void applyWarpYarn(const CYarn& y);
    void applyWeftYarn(const CYarn& y);

private:
    PlanInputs m_loaded;
    PlanInputs m_pages;
};

// Finish in the wizard: the pages' values go into the draft. Done (the draft
// marked modified, its views updated) when anything changed.
CommandResult FinishProjectPlanner(Edit e, CQuillabyDoc& doc, const PlannerSession& session);

// The whole part shown for a sett, beat or density field ("%u").
unsigned ShownSett(double sett);

} // namespace qb
