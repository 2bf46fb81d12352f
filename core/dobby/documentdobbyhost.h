#pragma once

#include "core/dobby/idobbyhost.h"

#include <string>

namespace qb {

class CQuillabyDoc;
class WeavingPosition;

// The draft and its weaving position as the driver sees them.
class DocumentDobbyHost : public IDobbyHost {
public:
    DocumentDobbyHost(const CQuillabyDoc& doc, WeavingPosition& position);

    int draftShafts() const override;
    int numPicks() const override;
    int currentPick() const override;
    int advancePick() override;
    TUPTYPE liftOf(int pick) const override;

private:
    const CQuillabyDoc& m_doc;
    WeavingPosition& m_position;
};

// Why a weaving run cannot start, with the weaver's message.
struct DobbyStartCheck {
    enum class Problem { None, NoPicks, MultipleWefts, NoHead, UnliftableShaft };
    Problem problem = Problem::None;
    std::string message;
    bool ok() const { return problem == Problem::None; }
};

// The checks before a run opens any port: picks, wefts, a configured head
// (`headIndex` as stored), and every pick liftable by that head with
// `configuredShafts`. NoHead means the dobby settings page should open.
DobbyStartCheck CheckDobbyStart(const CQuillabyDoc& doc, int headIndex, int configuredShafts);

} // namespace qb
