#pragma once

#include "core/draft/quillabydoc.h"

#include <sstream>
#include <string>

namespace qbtest {

// A readable dump of everything a draft holds, so "changes nothing" and
// "is an equal copy" can be checked with one comparison.
inline void dumpRow(std::ostringstream& os, const qb::Tding& t)
{
    os << " limit=" << t.limit() << " count=" << t.GetCount() << " dflt=" << t.defaultColor()
       << " alt=" << t.alternateColor() << " mode=" << int(t.alternation()) << " ratio=" << t.ratio()
       << " ref=" << t.referenceColor() << "\n  v:";
    for (int i = 0; i < t.GetCount(); ++i) {
        if (const auto* th = dynamic_cast<const qb::Threading*>(&t)) os << ' ' << th->GetShaft(i);
        else {
            const auto& tr = static_cast<const qb::Treadling&>(t);
            os << ' ' << tr.GetSet(i).lo() << '/' << tr.GetSet(i).hi();
        }
        os << ':' << t.GetColor(i) << ':' << t.GetSymbol(i) << ':' << t.GetThick(i);
    }
    if (const auto* tr = dynamic_cast<const qb::Treadling*>(&t)) os << "\n  multiple=" << tr->multiple();
    for (int r = 0; r < qb::kLabelRows; ++r) {
        os << "\n  labels" << r << ':';
        for (const qb::Label& l : t.labelRow(r)) os << " [" << l.start << ',' << l.length << ',' << l.text << ']';
    }
    os << '\n';
}

inline std::string snapshot(const qb::CQuillabyDoc& d)
{
    std::ostringstream os;
    os << "shafts=" << d.numShafts() << " treadles=" << d.numTreadles() << " liftplan=" << d.isLiftplan()
       << " rising=" << d.isRisingShed() << " warps=" << d.numWarps() << " wefts=" << d.numWefts()
       << " corr=" << d.correlationSide() << '/' << d.correlationOn() << '\n';
    for (int r = 0; r < qb::kMaxRows; ++r) {
        if (const auto* t = d.threading(r)) {
            os << "warp" << r;
            dumpRow(os, *t);
        }
        if (const auto* t = d.treadling(r)) {
            os << "weft" << r;
            dumpRow(os, *t);
        }
    }
    const qb::Tieup& tu = d.tieup();
    os << "tieup " << tu.shaftCount() << 'x' << tu.treadleCount() << ':';
    for (int t = 0; t < tu.treadleCount(); ++t) os << ' ' << tu.column(t).bits();
    const qb::ColorPalette& p = d.palette();
    os << "\npalette " << p.count() << " L" << p.leftColor() << " R" << p.rightColor() << ':';
    for (int i = 0; i < p.count(); ++i) os << ' ' << p.color(i) << '=' << p.name(i);
    os << "\nsett " << d.warpSettWhole() << ' ' << d.warpSettFrac() << ' ' << d.weftSettWhole() << ' '
       << d.weftSettFrac() << " units=" << d.units() << "\ntexts " << d.title() << '|' << d.date() << '|' << d.source()
       << '|' << d.author() << '|' << d.notes() << "\nkeys " << d.tieupKeys().size() << ' ' << d.hasTieupKeys();
    for (const auto& k : d.tieupKeys()) {
        os << " {" << k->flag1 << k->flag2;
        for (int t = 0; t < k->treadleCount(); ++t) os << ' ' << k->column(t).bits();
        os << '}';
    }
    os << "\nplan " << (d.plan() == qb::ProjectPlanValues()) << " blocks " << d.blocks().numBlocks << " weaving "
       << d.weaving().currentPick << '\n';
    return os.str();
}

} // namespace qbtest
