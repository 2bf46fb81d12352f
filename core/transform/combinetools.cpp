#include "core/transform/combinetools.h"

#include "core/draft/drawdown.h"
#include "core/draft/quillabydoc.h"

namespace qb {

std::unique_ptr<Treadling> PicksInForm(const CQuillabyDoc& draft, const CQuillabyDoc& src, int row)
{
    auto out = std::make_unique<Treadling>(*src.treadling(row));
    if (draft.isLiftplan() && !src.isLiftplan()) {
        out->SetLimit(kMaxShafts);
        for (int p = 0; p < out->GetCount(); ++p) out->SetShafts(p, LiftedShafts(src, p, row));
    }
    return out;
}

void RaisePickLimit(CQuillabyDoc& doc, int needed)
{
    if (doc.isLiftplan()) {
        if (needed > doc.numShafts()) doc.SetNumShafts(kUnrecorded, needed);
    } else if (needed > doc.numTreadles()) {
        doc.SetNumTreadles(kUnrecorded, needed);
    }
}

void AllowSeveralTreadles(CQuillabyDoc& doc)
{
    if (doc.multipleTreadles()) return;
    for (int r = 0; r < doc.numWefts(); ++r)
        for (const TreadleSet& s : doc.treadling(r)->values())
            if (s.count() > 1) {
                for (int k = 0; k < doc.numWefts(); ++k) doc.raw().treadlingMutable(k)->setMultiple(true);
                return;
            }
}

} // namespace qb
