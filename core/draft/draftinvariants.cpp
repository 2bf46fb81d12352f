#include "core/draft/draftinvariants.h"

#include "core/draft/quillabydoc.h"

#include <sstream>

namespace qb {

std::string BrokenInvariant(const CQuillabyDoc& d)
{
    std::ostringstream why;
    if (d.numWarps() < 1 || d.numWarps() > kMaxRows) why << "warps " << d.numWarps() << '\n';
    if (d.numWefts() < 1 || d.numWefts() > kMaxRows) why << "wefts " << d.numWefts() << '\n';
    if (d.numShafts() < 1 || d.numShafts() > kMaxShafts) why << "shafts " << d.numShafts() << '\n';
    if (d.numTreadles() < 1 || d.numTreadles() > kMaxTreadles) why << "treadles " << d.numTreadles() << '\n';
    if (d.isLiftplan() && d.numTreadles() != d.numShafts()) why << "liftplan counts differ\n";
    if (d.numEnds() > kMaxThreads || d.numPicks() > kMaxThreads) why << "too long\n";
    for (int r = 0; r < kMaxRows; ++r) {
        const Threading* t = d.threading(r);
        if ((t != nullptr) != (r < d.numWarps())) {
            why << "warp row " << r << " presence\n";
            continue;
        }
        if (!t) continue;
        if (t->GetCount() != d.numEnds()) why << "warp row " << r << " length\n";
        if (static_cast<int>(t->values().size()) != t->GetCount()) why << "warp row " << r << " values\n";
        if (t->limit() != d.numShafts()) why << "warp row " << r << " limit\n";
        if (t->HighestValue() > t->limit()) why << "warp row " << r << " shaft above limit\n";
    }
    for (int r = 0; r < kMaxRows; ++r) {
        const Treadling* t = d.treadling(r);
        if ((t != nullptr) != (r < d.numWefts())) {
            why << "weft row " << r << " presence\n";
            continue;
        }
        if (!t) continue;
        if (t->GetCount() != d.numPicks()) why << "weft row " << r << " length\n";
        if (static_cast<int>(t->values().size()) != t->GetCount()) why << "weft row " << r << " values\n";
        if (t->limit() != d.numTreadles()) why << "weft row " << r << " limit\n";
        if (t->HighestValue() > t->limit()) why << "weft row " << r << " treadle above limit\n";
        if (d.isLiftplan() && !t->multiple()) why << "liftplan without multiple\n";
        if (t->multiple() != d.treadling(0)->multiple()) why << "multiple differs between rows\n";
        if (!t->multiple())
            for (const TreadleSet& s : t->values())
                if (s.count() > 1) {
                    why << "several treadles without multiple\n";
                    break;
                }
    }
    for (const Tding* t : {static_cast<const Tding*>(d.threading(0)), static_cast<const Tding*>(d.treadling(0))}) {
        for (int row = 0; row < kLabelRows; ++row) {
            int end = -1;
            for (const Label& l : t->labelRow(row)) {
                if (l.start <= end || l.length < 1 || l.text.size() > 31) why << "label row " << row << '\n';
                end = l.last();
            }
        }
    }
    const Tieup& tu = d.tieup();
    if (tu.shaftCount() != d.numShafts() || tu.treadleCount() != d.numTreadles()) why << "tieup size\n";
    for (int t = 0; t < tu.treadleCount(); ++t)
        if (tu.column(t).highest() > tu.shaftCount()) why << "tieup column " << t << " above shafts\n";
    const ColorPalette& p = d.palette();
    if (p.count() < 1 || p.count() > kMaxColors) why << "palette count\n";
    if (p.leftColor() >= p.count() || p.rightColor() >= p.count()) why << "button colors\n";
    for (bool warp : {true, false})
        for (int r = 0; r < kMaxRows; ++r) {
            const Tding* t = warp ? static_cast<const Tding*>(d.threading(r)) : d.treadling(r);
            if (!t) continue;
            if (t->HighestColor() >= p.count() || t->defaultColor() >= p.count())
                why << (warp ? "warp" : "weft") << " row " << r << " colors outside the palette\n";
        }
    return why.str();
}

} // namespace qb
