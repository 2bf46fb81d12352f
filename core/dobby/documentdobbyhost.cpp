#include "core/dobby/documentdobbyhost.h"

#include "core/dobby/dobbyhead.h"
#include "core/dobby/weavingposition.h"

#include "core/draft/drawdown.h"
#include "core/draft/quillabydoc.h"

#include <algorithm>

namespace qb {

DocumentDobbyHost::DocumentDobbyHost(const CQuillabyDoc& doc, WeavingPosition& position)
    : m_doc(doc)
    , m_position(position)
{}

int DocumentDobbyHost::draftShafts() const
{
    return m_doc.numShafts();
}
int DocumentDobbyHost::numPicks() const
{
    return m_doc.numPicks();
}
int DocumentDobbyHost::currentPick() const
{
    return m_position.currentPick();
}
int DocumentDobbyHost::advancePick()
{
    return m_position.AdvancePick();
}
TUPTYPE DocumentDobbyHost::liftOf(int pick) const
{
    return LiftedShafts(m_doc, pick, 0);
}

namespace {

// Only what the driver's host needs for the shaft check, without a position.
class LiftScan : public IDobbyHost {
public:
    explicit LiftScan(const CQuillabyDoc& doc) : m_doc(doc) {}
    int draftShafts() const override { return m_doc.numShafts(); }
    int numPicks() const override { return m_doc.numPicks(); }
    int currentPick() const override { return 0; }
    int advancePick() override { return 1; }
    TUPTYPE liftOf(int pick) const override { return LiftedShafts(m_doc, pick, 0); }

private:
    const CQuillabyDoc& m_doc;
};

} // namespace

DobbyStartCheck CheckDobbyStart(const CQuillabyDoc& doc, int headIndex, int configuredShafts)
{
    using P = DobbyStartCheck::Problem;
    const std::string heading = "Cannot start dobby. ";
    if (doc.numPicks() <= 0) return {P::NoPicks, heading + "There are no picks in the treadling."};
    if (doc.numWefts() >= 2)
        return {P::MultipleWefts,
                heading
                    + "Draft has multiple wefts.\nConvert to a thread-by-thread draft before\nsending it to the loom."};
    if (!IsDobbyHeadType(headIndex))
        return {P::NoHead, "Dobby Settings need to be configured\nbefore starting up the dobby.\n"};
    const DobbyHeadInfo& head = kDobbyHeads[headIndex];
    const int limit = std::min(std::clamp(configuredShafts, kDobbyMinShafts, kDobbyMaxShafts), head.maxShafts);
    LiftScan scan(doc);
    int shaft = 0;
    const int pick = CDobbyHead::FindUnliftablePick(scan, limit, shaft);
    if (pick >= 0) return {P::UnliftableShaft, heading + CDobbyHead::UnliftableDetail(head, limit, pick, shaft)};
    return {};
}

} // namespace qb
