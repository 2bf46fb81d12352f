#include "draftsnapshot.h"

#include "quillabydoc.h"

namespace qb {

std::shared_ptr<const DraftSnapshot> DraftSnapshot::Take(const CQuillabyDoc& doc)
{
    auto s = std::make_shared<DraftSnapshot>();
    for (int r = 0; r < kMaxRows; ++r) {
        if (const Threading* t = doc.threading(r)) s->threading[r] = std::make_unique<Threading>(*t);
        if (const Treadling* t = doc.treadling(r)) s->treadling[r] = std::make_unique<Treadling>(*t);
    }
    s->tieup = std::make_unique<Tieup>(doc.tieup());
    s->palette = doc.palette();
    s->markers = doc.weaving.markers;
    s->shafts = doc.numShafts();
    s->treadles = doc.numTreadles();
    s->liftplan = doc.isLiftplan();
    s->risingShed = doc.isRisingShed();
    s->warps = doc.numWarps();
    s->wefts = doc.numWefts();
    s->correlationSide = doc.correlationSide();
    s->correlationOn = doc.correlationOn();
    return s;
}

void DraftSnapshot::Restore(CQuillabyDoc& doc) const
{
    const bool sized = doc.numShafts() != shafts || doc.numTreadles() != treadles;
    for (int r = 0; r < kMaxRows; ++r) {
        doc.replaceThreading(r, threading[r] ? std::make_unique<Threading>(*threading[r]) : nullptr);
        doc.replaceTreadling(r, treadling[r] ? std::make_unique<Treadling>(*treadling[r]) : nullptr);
    }
    doc.replaceTieup(std::make_unique<Tieup>(*tieup));
    doc.paletteMutable() = palette;
    doc.weaving.markers = markers;
    doc.setLoomRaw(shafts, treadles, liftplan);
    doc.setRisingShed(risingShed);
    doc.setRowCountsRaw(warps, wefts);
    doc.setCorrelation(correlationSide, correlationOn);
    doc.SetModified();
    if (sized) doc.NotifyLoomSize();
    doc.UpdateAllViews(nullptr);
}

} // namespace qb
