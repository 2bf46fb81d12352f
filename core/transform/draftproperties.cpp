#include "core/transform/draftproperties.h"

#include "core/draft/draftsnapshot.h"
#include "core/draft/draftstep.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/messages.h"
#include "core/transform/tieupops.h"

#include <algorithm>

namespace qb {

DraftProperties ReadProperties(const CQuillabyDoc& doc)
{
    DraftProperties v;
    v.shafts = doc.numShafts();
    v.treadles = doc.isLiftplan() ? doc.numShafts() : doc.numTreadles();
    v.risingShed = doc.isRisingShed();
    v.liftplan = doc.isLiftplan();
    v.correlationSide = doc.correlationSide();
    v.numWarps = doc.numWarps();
    v.numWefts = doc.numWefts();
    v.correlationOn = doc.correlationOn();
    v.units = doc.units();
    v.warpSettWhole = doc.warpSettWhole();
    v.warpSettFrac = doc.warpSettFrac();
    v.weftSettWhole = doc.weftSettWhole();
    v.weftSettFrac = doc.weftSettFrac();
    v.warpRatio = (doc.threading(0) ? doc.threading(0)->ratio() : kMinRatio) + 1;
    v.weftRatio = (doc.treadling(0) ? doc.treadling(0)->ratio() : kMinRatio) + 1;
    return v;
}

DraftProperties NormalizeProperties(DraftProperties v)
{
    v.shafts = std::clamp(v.shafts, 1, kMaxShafts);
    v.treadles = v.liftplan ? v.shafts : std::clamp(v.treadles, 1, kMaxTreadles);
    v.numWarps = std::clamp(v.numWarps, 1, kMaxRows);
    v.numWefts = std::clamp(v.numWefts, 1, kMaxRows);
    if (v.correlationSide != 1 && v.correlationSide != 2) v.correlationSide = 0;
    if (v.correlationSide == 0 || (v.correlationSide == 1 && v.numWarps != v.shafts)
        || (v.correlationSide == 2 && v.numWefts != v.treadles))
        v.correlationOn = false;
    v.units = v.units == 1 ? 1 : 0;
    v.warpRatio = std::clamp(v.warpRatio, kMinRatio + 1, kMaxRatio + 1);
    v.weftRatio = std::clamp(v.weftRatio, kMinRatio + 1, kMaxRatio + 1);
    return v;
}

namespace {

// Whether every thread of the color-bar rows already sits on its own bar:
// row j on shaft (or treadle) j+1, for every row but the last.
bool barsInPlace(const CQuillabyDoc& doc, bool warp)
{
    const int rows = warp ? doc.numWarps() : doc.numWefts();
    for (int j = 0; j + 1 < rows; ++j) {
        if (warp) {
            const Threading& t = *doc.threading(j);
            for (int e = 0; e < t.GetCount(); ++e)
                if (t.GetShaft(e) != j + 1) return false;
        } else {
            const Treadling& t = *doc.treadling(j);
            for (int p = 0; p < t.GetCount(); ++p)
                if (!t.GetSet(p).test(j + 1)) return false;
        }
    }
    return true;
}

void putBarsInPlace(CQuillabyDoc& doc, bool warp)
{
    const int rows = warp ? doc.numWarps() : doc.numWefts();
    for (int j = 0; j + 1 < rows; ++j) {
        if (warp) {
            // An end is on a shaft in one row only.
            for (int e = 0; e < doc.numEnds(); ++e) {
                for (int k = 0; k < rows; ++k)
                    if (k != j && doc.threading(k)->GetShaft(e) == j + 1)
                        doc.raw().threadingMutable(k)->ClearValue(e, j + 1);
                doc.raw().threadingMutable(j)->SetValue(e, j + 1);
            }
        } else {
            Treadling& t = *doc.raw().treadlingMutable(j);
            for (int p = 0; p < t.GetCount(); ++p) t.SetValue(p, j + 1);
        }
    }
}

} // namespace

PropertiesOutcome ApplyProperties(Edit e, CQuillabyDoc& doc, const DraftProperties& requested, IPrompter& prompter,
                                  std::array<int, 2> paletteBarColors)
{
    PropertiesOutcome out;
    const DraftProperties before = ReadProperties(doc);
    DraftProperties v = NormalizeProperties(requested);
    if (v == before) return out;
    out.changed = true;
    // One step for the whole sheet, conversions included: the parts below
    // change through the raw door and replaying primitives.
    DraftStep step(e, doc, DraftSnapshot::Structure | DraftSnapshot::Settings);

    // The plain values first.
    doc.raw().setRisingShed(v.risingShed);
    doc.raw().setWarpSett(v.warpSettWhole, v.warpSettFrac);
    doc.raw().setWeftSett(v.weftSettWhole, v.weftSettFrac);
    doc.raw().setUnits(v.units);
    doc.raw().setCorrelation(v.correlationSide, v.correlationOn);
    out.ratioChanged = v.warpRatio != before.warpRatio || v.weftRatio != before.weftRatio;
    doc.SetRatio(kUnrecorded, Side::Threading, v.warpRatio - 1);
    doc.SetRatio(kUnrecorded, Side::Treadling, v.weftRatio - 1);

    // The form: a liftplan has one weft, more wefts need tieup form.
    if (doc.isLiftplan() && v.numWefts != before.numWefts) {
        bool toTieup = prompter.ask(msg::kConvertToTieup);
        if (toTieup) {
            const CommandResult r = ConvertToTieup(kUnrecorded, doc, prompter);
            out.converted = r.done();
            toTieup = r.done();
        }
        if (!toTieup) {
            doc.raw().setCorrelation(0, false);
            v.numWefts = doc.numWefts();
            v.liftplan = true;
        }
    } else if (v.liftplan != before.liftplan) {
        // A liftplan cannot hold several wefts: drop them first so the
        // conversion can take place.
        if (v.liftplan && v.numWefts < doc.numWefts())
            doc.SetNumRows(kUnrecorded, Side::Treadling, v.numWefts, paletteBarColors);
        const CommandResult r =
            v.liftplan ? ConvertToLiftplan(kUnrecorded, doc, prompter) : ConvertToTieup(kUnrecorded, doc, prompter);
        out.converted = r.done();
    }

    // Loom size and rows through the document operations.
    if (v.shafts != before.shafts) doc.SetNumShafts(kUnrecorded, v.shafts);
    // A liftplan that did not come about keeps its treadles.
    if (!doc.isLiftplan() && !v.liftplan && v.treadles != before.treadles && v.treadles != doc.numTreadles())
        doc.SetNumTreadles(kUnrecorded, v.treadles);
    if (v.numWarps != doc.numWarps()) doc.SetNumRows(kUnrecorded, Side::Threading, v.numWarps, paletteBarColors);
    if (v.numWefts != doc.numWefts()) doc.SetNumRows(kUnrecorded, Side::Treadling, v.numWefts, paletteBarColors);

    // Direct correlation: the bar rows must sit on their own shafts or
    // treadles, and the counts may have moved above.
    const int side = doc.correlationSide();
    if (doc.correlationOn()
        && ((side == 1 && doc.numWarps() != doc.numShafts()) || (side == 2 && doc.numWefts() != doc.numTreadles())))
        doc.raw().setCorrelation(side, false);
    if (doc.correlationOn() && !before.correlationOn) {
        const bool warp = side == 1;
        if (!barsInPlace(doc, warp)) {
            if (prompter.ask(warp ? msg::kCorrelateThreading : msg::kCorrelateTreadling)) {
                putBarsInPlace(doc, warp);
                out.converted = true;
            } else {
                doc.raw().setCorrelation(side, false);
            }
        }
    }

    // Ratios change thread widths; everything is shown again.
    const DraftProperties after = ReadProperties(doc);
    out.layoutChanged = after.shafts != before.shafts || after.treadles != before.treadles
        || after.liftplan != before.liftplan || after.numWarps != before.numWarps || after.numWefts != before.numWefts
        || out.ratioChanged;
    step.commit();
    return out;
}

} // namespace qb
