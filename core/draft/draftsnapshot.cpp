#include "core/draft/draftsnapshot.h"

#include "core/draft/quillabydoc.h"

namespace qb {

std::shared_ptr<DraftSnapshot> DraftSnapshot::Take(const CQuillabyDoc& doc, unsigned parts)
{
    auto s = std::make_shared<DraftSnapshot>();
    s->parts = parts & All;
    if (parts & Structure) {
        for (int r = 0; r < kMaxRows; ++r) {
            if (const Threading* t = doc.threading(r)) s->threading[r] = std::make_unique<Threading>(*t);
            if (const Treadling* t = doc.treadling(r)) s->treadling[r] = std::make_unique<Treadling>(*t);
        }
        s->tieup = std::make_unique<Tieup>(doc.tieup());
        for (const auto& k : doc.tieupKeys()) s->tieupKeys.push_back(k ? std::make_unique<TieupKey>(*k) : nullptr);
        s->hasTieupKeys = doc.hasTieupKeys();
        s->markers = doc.weaving().markers;
        s->shafts = doc.numShafts();
        s->treadles = doc.numTreadles();
        s->liftplan = doc.isLiftplan();
        s->risingShed = doc.isRisingShed();
        s->warps = doc.numWarps();
        s->wefts = doc.numWefts();
        s->correlationSide = doc.correlationSide();
        s->correlationOn = doc.correlationOn();
    }
    if (parts & Palette) s->palette = doc.palette();
    if (parts & Texts) {
        s->title = doc.title();
        s->author = doc.author();
        s->notes = doc.notes();
        s->date = doc.date();
        s->source = doc.source();
    }
    if (parts & Settings) {
        s->warpSettWhole = doc.warpSettWhole();
        s->warpSettFrac = doc.warpSettFrac();
        s->weftSettWhole = doc.weftSettWhole();
        s->weftSettFrac = doc.weftSettFrac();
        s->units = doc.units();
        s->plan = doc.plan();
        s->notations = doc.notations();
        s->blocks = doc.blocks();
    }
    return s;
}

LoomShape LoomShape::of(const CQuillabyDoc& doc)
{
    return {doc.numShafts(), doc.numTreadles(), doc.isLiftplan(),      doc.isRisingShed(),
            doc.numWarps(),  doc.numWefts(),    doc.correlationSide(), doc.correlationOn()};
}

UpdateHint DraftSnapshot::HintFor(unsigned parts, bool loomChanged)
{
    std::uint32_t changed = 0;
    if (parts & Structure)
        changed |= UpdateHint::Threading | UpdateHint::Treadling | UpdateHint::Tieup
            | (loomChanged ? UpdateHint::Structure : 0);
    if (parts & Palette) changed |= UpdateHint::Palette;
    if (parts & Texts) changed |= UpdateHint::Texts;
    if (parts & Settings) changed |= UpdateHint::Settings;
    // Rows and notations decide the panes' sizes; colors and texts do not.
    return UpdateHint::of(changed, (parts & (Structure | Settings)) != 0);
}

void DraftSnapshot::Restore(CQuillabyDoc& doc) const
{
    const bool loomChanged = (parts & Structure) && !(loomShape() == LoomShape::of(doc));
    // Views hear of the palette only when it changes, as with the step itself.
    const unsigned told = (parts & Palette) && palette == doc.palette() ? parts & ~Palette : parts;
    RawDraft raw = doc.raw();
    if (parts & Structure) {
        for (int r = 0; r < kMaxRows; ++r) {
            raw.replaceThreading(r, threading[r] ? std::make_unique<Threading>(*threading[r]) : nullptr);
            raw.replaceTreadling(r, treadling[r] ? std::make_unique<Treadling>(*treadling[r]) : nullptr);
        }
        raw.replaceTieup(std::make_unique<Tieup>(*tieup));
        raw.tieupKeys.clear();
        for (const auto& k : tieupKeys) raw.tieupKeys.push_back(k ? std::make_unique<TieupKey>(*k) : nullptr);
        raw.hasTieupKeys = hasTieupKeys;
        raw.weaving.markers = markers;
        raw.setLoomRaw(shafts, treadles, liftplan);
        raw.setRisingShed(risingShed);
        raw.setRowCountsRaw(warps, wefts);
        raw.setCorrelation(correlationSide, correlationOn);
    }
    if (parts & Palette) raw.paletteMutable() = palette;
    if (parts & Texts) {
        raw.title = title;
        raw.author = author;
        raw.notes = notes;
        raw.date = date;
        raw.source = source;
    }
    if (parts & Settings) {
        raw.setWarpSett(warpSettWhole, warpSettFrac);
        raw.setWeftSett(weftSettWhole, weftSettFrac);
        raw.setUnits(units);
        raw.plan = plan;
        raw.notations = notations;
        raw.blocks = blocks;
    }
    doc.changed(HintFor(told, loomChanged));
}

bool DraftSnapshot::Matches(const CQuillabyDoc& doc) const
{
    // Comparing every row of a big draft costs as much as keeping the step.
    if (parts & Structure) return false;
    if ((parts & Palette) && !(palette == doc.palette())) return false;
    if ((parts & Texts)
        && (title != doc.title() || author != doc.author() || notes != doc.notes() || date != doc.date()
            || source != doc.source()))
        return false;
    if ((parts & Settings)
        && (warpSettWhole != doc.warpSettWhole() || warpSettFrac != doc.warpSettFrac()
            || weftSettWhole != doc.weftSettWhole() || weftSettFrac != doc.weftSettFrac() || units != doc.units()
            || !(plan == doc.plan()) || !(notations == doc.notations()) || !(blocks == doc.blocks())))
        return false;
    return true;
}

std::size_t DraftSnapshot::bytes() const
{
    std::size_t n = sizeof(*this);
    auto row = [](const Tding& t, std::size_t valueSize) {
        // Value, color, symbol and thick flag per thread, plus the labels.
        std::size_t b = sizeof(t) + std::size_t(t.GetCount()) * (valueSize + 3);
        for (int r = 0; r < kLabelRows; ++r) b += t.labelRow(r).size() * (sizeof(Label) + 16);
        return b;
    };
    for (const auto& t : threading)
        if (t) n += row(*t, 1);
    for (const auto& t : treadling)
        if (t) n += row(*t, sizeof(TreadleSet));
    if (tieup) n += sizeof(Tieup) + std::size_t(tieup->treadleCount()) * sizeof(TUPTYPE);
    n += tieupKeys.size() * (sizeof(TieupKey) + kMaxTreadles * sizeof(TUPTYPE));
    n += markers.size() * sizeof(int) + title.size() + author.size() + notes.size() + date.size() + source.size();
    n += plan.warpYarn.size() + plan.weftYarn.size();
    return n;
}

} // namespace qb
