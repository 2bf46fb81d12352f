#include "core/imagedraft/groupedanalysis.h"

#include "core/draft/quillabydoc.h"
#include "core/transform/sequencetools.h"

#include <algorithm>
#include <array>

namespace qb {

// Position 0 of the stand-in threading is the end being drawn and position 0
// of its treadling the pick being drawn; the groups' threads follow.

int GroupedAnalysis::Groups::find(int g)
{
    while (parent[g] != g) {
        parent[g] = parent[parent[g]];
        g = parent[g];
    }
    return g;
}

int GroupedAnalysis::Groups::make(int slotIndex)
{
    const int g = static_cast<int>(parent.size());
    parent.push_back(g);
    count.push_back(0);
    slot.push_back(slotIndex);
    live.push_back(g);
    return g;
}

GroupedAnalysis::GroupedAnalysis(int ends, int picks, const NewDraftDefaults& defaults)
    : m_doc(std::make_unique<CQuillabyDoc>())
    , m_ends(ends)
    , m_picks(picks)
    , m_endGroup(static_cast<std::size_t>(ends), -1)
    , m_pickGroup(static_cast<std::size_t>(picks), -1)
{
    m_doc->OnNewDocument(defaults);
    m_doc->raw().threadingMutable(0)->Append(1);
    m_doc->raw().treadlingMutable(0)->Append(1);
}

GroupedAnalysis::~GroupedAnalysis() = default;

int GroupedAnalysis::value(bool shafts, int slot) const
{
    return shafts ? m_doc->threading(0)->GetShaft(slot) : m_doc->treadling(0)->FirstValue(slot);
}

void GroupedAnalysis::setValue(bool shafts, int slot, int v)
{
    if (shafts) {
        m_doc->raw().threadingMutable(0)->SetValue(slot, v);
        return;
    }
    TreadleSet set;
    if (v) set.set(v);
    m_doc->raw().treadlingMutable(0)->SetSet(slot, set);
}

int GroupedAnalysis::newSlot(Groups& groups, bool shafts)
{
    if (!groups.freeSlots.empty()) {
        const int s = groups.freeSlots.back();
        groups.freeSlots.pop_back();
        return s;
    }
    Tding& seq = shafts ? static_cast<Tding&>(*m_doc->raw().threadingMutable(0)) : *m_doc->raw().treadlingMutable(0);
    seq.Append(1);
    return seq.GetCount() - 1;
}

int GroupedAnalysis::shaftsInUse() const
{
    return FindUsedShafts(*m_doc);
}
int GroupedAnalysis::treadlesInUse() const
{
    return FindUsedTreadles(*m_doc);
}

void GroupedAnalysis::closeEnd()
{
    const int v = value(true, 0);
    if (v > 0) {
        Groups& g = m_shaftGroups;
        int owner = -1;
        for (int r : g.live)
            if (value(true, g.slot[r]) == v) {
                owner = r;
                break;
            }
        if (owner < 0) {
            owner = g.make(newSlot(g, true));
            setValue(true, g.slot[owner], v);
        }
        ++g.count[owner];
        m_endGroup[static_cast<std::size_t>(m_currentEnd)] = owner;
    }
    setValue(true, 0, 0);
}

void GroupedAnalysis::removePick(int pick)
{
    Groups& g = m_treadleGroups;
    const int member = m_pickGroup[static_cast<std::size_t>(pick)];
    if (member < 0) {
        setValue(false, 0, 0);
        return;
    }
    const int root = g.find(member);
    setValue(false, 0, value(false, g.slot[root]));
    m_pickGroup[static_cast<std::size_t>(pick)] = -1;
    if (--g.count[root] > 0) return;
    // Its last pick left: the treadle is no longer used through this group.
    setValue(false, g.slot[root], 0);
    g.freeSlots.push_back(g.slot[root]);
    g.live.erase(std::find(g.live.begin(), g.live.end(), root));
}

void GroupedAnalysis::addPick(int pick, int treadle)
{
    setValue(false, 0, 0);
    if (treadle <= 0) return;
    Groups& g = m_treadleGroups;
    int owner = -1;
    for (int r : g.live)
        if (value(false, g.slot[r]) == treadle) {
            owner = r;
            break;
        }
    if (owner < 0) {
        owner = g.make(newSlot(g, false));
        setValue(false, g.slot[owner], treadle);
    }
    ++g.count[owner];
    m_pickGroup[static_cast<std::size_t>(pick)] = owner;
}

void GroupedAnalysis::regroup(Groups& g, bool shafts)
{
    std::array<int, kMaxTreadles + 1> owner;
    owner.fill(-1);
    std::vector<int> kept;
    kept.reserve(g.live.size());
    for (int r : g.live) {
        const int v = value(shafts, g.slot[r]);
        if (owner[static_cast<std::size_t>(v)] < 0) {
            owner[static_cast<std::size_t>(v)] = r;
            kept.push_back(r);
            continue;
        }
        // Merged onto another group's shaft or treadle: one thread stands for both.
        const int a = owner[static_cast<std::size_t>(v)];
        g.parent[r] = a;
        g.count[a] += g.count[r];
        setValue(shafts, g.slot[r], 0);
        g.freeSlots.push_back(g.slot[r]);
    }
    g.live = std::move(kept);
}

CellOutcome GroupedAnalysis::lift(int end, int pick)
{
    if (end != m_currentEnd) {
        closeEnd();
        m_currentEnd = end;
    }
    removePick(pick);
    const CellOutcome r = FabricAnalysisCell(kUnrecorded, *m_doc, 0, 0, true);
    if (r == CellOutcome::Changed) {
        regroup(m_shaftGroups, true);
        regroup(m_treadleGroups, false);
    }
    addPick(pick, value(false, 0));
    return r;
}

std::unique_ptr<CQuillabyDoc> GroupedAnalysis::finish()
{
    closeEnd();
    auto th = std::make_unique<Threading>(*m_doc->threading(0));
    th->Delete(0, th->GetCount());
    th->Append(m_ends);
    for (int e = 0; e < m_ends; ++e)
        if (const int g = m_endGroup[static_cast<std::size_t>(e)]; g >= 0)
            th->SetValue(e, value(true, m_shaftGroups.slot[m_shaftGroups.find(g)]));
    auto tr = std::make_unique<Treadling>(*m_doc->treadling(0));
    tr->Delete(0, tr->GetCount());
    tr->Append(m_picks);
    for (int p = 0; p < m_picks; ++p)
        if (const int g = m_pickGroup[static_cast<std::size_t>(p)]; g >= 0) {
            TreadleSet set;
            set.set(value(false, m_treadleGroups.slot[m_treadleGroups.find(g)]));
            tr->SetSet(p, set);
        }
    m_doc->raw().replaceThreading(0, std::move(th));
    m_doc->raw().replaceTreadling(0, std::move(tr));
    return std::move(m_doc);
}

} // namespace qb
