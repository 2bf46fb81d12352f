#include "core/yarn/projectplan.h"

#include "core/draft/draftstep.h"

#include "core/yarn/yarn.h"

#include "core/draft/quillabydoc.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qb {

namespace {

// The draft file reads 32767 and more as nothing: counts stay below.
constexpr int kMaxStoredCount = 32766;

int unitOf(int v, int hi)
{
    return std::clamp(v, 0, hi);
}

double nonNegative(double v)
{
    return v > 0 ? v : 0.0;
}

} // namespace

PlanInputs PlanInputsOf(const CQuillabyDoc& doc, MeasureSystem shown)
{
    const ProjectPlanValues& p = doc.plan();
    const MeasureSystem own = MeasureSystemOf(doc.units());
    const auto length = [&](double v) { return ConvertLength(v, own, shown); };
    const auto density = [&](int d) { return ConvertDensity(static_cast<std::uint32_t>(std::max(0, d)), own, shown); };
    PlanInputs in;
    in.system = shown;
    in.itemWidth = length(p.itemWidth);
    in.itemLength = length(p.itemLength);
    in.itemsOnWarp = std::clamp(p.itemsOnWarp, 1, kMaxItemsOnWarp);
    in.itemsOnWeft = std::clamp(p.itemsOnWeft, 1, kMaxItemsOnWeft);
    in.betweenItemsWarp = length(p.betweenItemsWarp);
    in.betweenItemsWeft = length(p.betweenItemsWeft);
    in.drawIn = length(p.drawIn);
    in.shrinkageWidth = std::max(0, p.shrinkageWidth);
    in.takeUp = std::max(0, p.takeUp);
    in.shrinkageLength = std::max(0, p.shrinkageLength);
    in.loomWaste = length(std::max(0, p.loomWaste));
    in.sample = length(std::max(0, p.sample));
    in.lengthUnit = unitOf(p.lengthUnit, 1);
    in.warpYarn = p.warpYarn;
    in.weftYarn = p.weftYarn;
    in.sett = ConvertSett({doc.warpSettWhole(), doc.warpSettFrac()}, own, shown).value();
    in.beat = ConvertSett({doc.weftSettWhole(), doc.weftSettFrac()}, own, shown).value();
    in.warpDensity = density(p.warpDensity);
    in.weftDensity = density(p.weftDensity);
    in.warpQuantityUnit = unitOf(p.warpQuantityUnit, 1);
    in.weftQuantityUnit = unitOf(p.weftQuantityUnit, 1);
    in.warpWeightUnit = unitOf(p.warpWeightUnit, 3);
    in.weftWeightUnit = unitOf(p.weftWeightUnit, 3);
    return in;
}

bool StorePlanChanges(CQuillabyDoc& doc, const PlanInputs& shown, const PlanInputs& edited)
{
    ProjectPlanValues& p = doc.raw().plan;
    const MeasureSystem own = MeasureSystemOf(doc.units());
    const MeasureSystem from = shown.system;
    bool changed = false;
    const auto put = [&](auto& field, auto value) {
        if (field == value) return;
        field = value;
        changed = true;
    };
    const auto length = [&](double& field, double PlanInputs::*member) {
        if (edited.*member != shown.*member) put(field, ConvertLength(edited.*member, from, own));
    };
    const auto whole = [&](int& field, double PlanInputs::*member) {
        if (edited.*member == shown.*member) return;
        const double v = std::round(ConvertLength(nonNegative(edited.*member), from, own));
        put(field, static_cast<int>(std::min(v, double(kMaxStoredCount))));
    };
    const auto count = [&](int& field, int PlanInputs::*member, int lo, int hi) {
        if (edited.*member != shown.*member) put(field, std::clamp(edited.*member, lo, hi));
    };
    const auto density = [&](int& field, std::uint32_t PlanInputs::*member) {
        if (edited.*member == shown.*member) return;
        const std::uint32_t d = ConvertDensity(edited.*member, from, own);
        put(field, static_cast<int>(std::min<std::uint32_t>(d, std::numeric_limits<int>::max())));
    };

    length(p.itemWidth, &PlanInputs::itemWidth);
    length(p.itemLength, &PlanInputs::itemLength);
    count(p.itemsOnWarp, &PlanInputs::itemsOnWarp, 1, kMaxItemsOnWarp);
    count(p.itemsOnWeft, &PlanInputs::itemsOnWeft, 1, kMaxItemsOnWeft);
    length(p.betweenItemsWarp, &PlanInputs::betweenItemsWarp);
    length(p.betweenItemsWeft, &PlanInputs::betweenItemsWeft);
    length(p.drawIn, &PlanInputs::drawIn);
    count(p.shrinkageWidth, &PlanInputs::shrinkageWidth, 0, kMaxStoredCount);
    count(p.takeUp, &PlanInputs::takeUp, 0, kMaxStoredCount);
    count(p.shrinkageLength, &PlanInputs::shrinkageLength, 0, kMaxStoredCount);
    whole(p.loomWaste, &PlanInputs::loomWaste);
    whole(p.sample, &PlanInputs::sample);
    count(p.lengthUnit, &PlanInputs::lengthUnit, 0, 1);
    put(p.warpYarn, edited.warpYarn);
    put(p.weftYarn, edited.weftYarn);
    density(p.warpDensity, &PlanInputs::warpDensity);
    density(p.weftDensity, &PlanInputs::weftDensity);
    count(p.warpQuantityUnit, &PlanInputs::warpQuantityUnit, 0, 1);
    count(p.weftQuantityUnit, &PlanInputs::weftQuantityUnit, 0, 1);
    count(p.warpWeightUnit, &PlanInputs::warpWeightUnit, 0, 3);
    count(p.weftWeightUnit, &PlanInputs::weftWeightUnit, 0, 3);

    // Any new sett is kept, also one whose whole part is unchanged once it is
    // converted back (21 epi in a draft counted in ends per centimetre).
    if (edited.sett != shown.sett) {
        const SettParts s = SplitSett(ConvertSettValue(nonNegative(edited.sett), from, own));
        if (s != SettParts{doc.warpSettWhole(), doc.warpSettFrac()}) {
            doc.raw().setWarpSett(s.whole, s.frac);
            changed = true;
        }
    }
    if (edited.beat != shown.beat) {
        const SettParts s = SplitSett(ConvertSettValue(nonNegative(edited.beat), from, own));
        if (s != SettParts{doc.weftSettWhole(), doc.weftSettFrac()}) {
            doc.raw().setWeftSett(s.whole, s.frac);
            changed = true;
        }
    }
    return changed;
}

PlannerSession::PlannerSession(const CQuillabyDoc& doc, MeasureSystem shown)
    : m_loaded(PlanInputsOf(doc, shown))
    , m_pages(m_loaded)
{
    // The Woven Dimensions page works with a whole draw-in, whole in the
    // draft's own unit so that a draft viewed in the other system keeps it.
    const double ceiled = CeilTolerant(doc.plan().drawIn);
    if (ceiled != doc.plan().drawIn) m_pages.drawIn = ConvertLength(ceiled, MeasureSystemOf(doc.units()), shown);
}

void PlannerSession::setEnds(long long ends)
{
    m_pages.itemWidth = ItemWidthForEnds(m_pages, ends);
}

void PlannerSession::applyWarpYarn(const CYarn& y)
{
    m_pages.warpYarn = y.DisplayName();
    m_pages.warpDensity = y.density();
    if (y.sett() != 0) m_pages.sett = y.sett();
}

void PlannerSession::applyWeftYarn(const CYarn& y)
{
    m_pages.weftYarn = y.DisplayName();
    m_pages.weftDensity = y.density();
    if (y.sett() != 0) m_pages.beat = y.sett();
}

CommandResult FinishProjectPlanner(Edit e, CQuillabyDoc& doc, const PlannerSession& session)
{
    // The plan's values, sett and units are the draft's settings: one step.
    DraftStep step(e, doc, DraftSnapshot::Settings);
    const bool stored = StorePlanChanges(doc, session.loaded(), session.pages());
    step.commit();
    return stored ? CommandResult::doneResult() : CommandResult::noChange();
}

unsigned ShownSett(double sett)
{
    const int w = SplitSett(sett).whole;
    return w > 0 ? static_cast<unsigned>(w) : 0u;
}

} // namespace qb
