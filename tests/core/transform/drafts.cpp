#include "tests/core/transform/drafts.h"

#include <sstream>

namespace qbtest {

std::unique_ptr<CQuillabyDoc> NewDraft(int shafts, int treadles)
{
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults d;
    d.shafts = shafts;
    d.treadles = treadles;
    d.defaultColors = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};
    doc->OnNewDocument(d);
    return doc;
}

DraftShape RandomShape(std::mt19937& rng, bool allowLiftplan, int maxWefts)
{
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    DraftShape s;
    s.shafts = pick(1, 16);
    s.treadles = pick(1, 20);
    s.ends = pick(0, 60);
    s.picks = pick(0, 60);
    s.liftplan = allowLiftplan && pick(0, 2) == 0;
    s.rising = pick(0, 1) == 1;
    s.multiple = s.liftplan || pick(0, 3) == 0;
    s.wefts = pick(1, maxWefts);
    s.weftBars = s.wefts > 1 && pick(0, 1) == 1;
    return s;
}

std::unique_ptr<CQuillabyDoc> RandomDraft(const DraftShape& shape, std::mt19937& rng)
{
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int treadles = shape.liftplan ? shape.shafts : shape.treadles;
    auto doc = NewDraft(shape.shafts, treadles);
    doc->raw().setLoomRaw(shape.shafts, treadles, shape.liftplan);
    doc->raw().setRisingShed(shape.rising);
    doc->raw().treadlingMutable(0)->SetLimit(treadles);
    doc->raw().treadlingMutable(0)->setMultiple(shape.multiple || shape.liftplan);
    doc->raw().replaceTieup(std::make_unique<Tieup>(shape.shafts, treadles));
    if (shape.liftplan) doc->raw().tieupMutable().makeDirect();
    else
        for (int t = 0; t < treadles; ++t)
            for (int s = 1; s <= shape.shafts; ++s)
                if (pick(0, 1)) doc->raw().tieupMutable().setCell(t, s);
    doc->SetNumRows(kUnrecorded, Side::Threading, shape.warps);
    doc->SetNumRows(kUnrecorded, Side::Treadling, shape.wefts);
    if (shape.weftBars) doc->raw().setCorrelation(2, true);
    for (int e = 0; e < shape.ends; ++e) {
        for (int r = 0; r < shape.warps; ++r) doc->raw().threadingMutable(r)->Append(1);
        const int row = pick(0, shape.warps - 1);
        const int s = pick(0, 99) < shape.unthreadedPercent ? 0 : pick(1, shape.shafts);
        doc->raw().threadingMutable(row)->SetValue(e, s);
        doc->raw().threadingMutable(0)->SetColor(e, pick(0, 4));
        doc->raw().threadingMutable(0)->SetThick(e, pick(0, 5) == 0);
        doc->raw().threadingMutable(0)->SetSymbol(e, pick(0, 3) == 0 ? 'a' + pick(0, 5) : 0);
    }
    for (int p = 0; p < shape.picks; ++p) {
        for (int r = 0; r < shape.wefts; ++r) {
            Treadling& t = *doc->raw().treadlingMutable(r);
            t.Append(1);
            if (pick(0, 99) < shape.emptyPercent) continue;
            TreadleSet set;
            set.set(pick(1, treadles));
            if (shape.multiple)
                for (int k = pick(0, 3); k > 0; --k) set.set(pick(1, treadles));
            t.SetSet(p, set);
        }
        doc->raw().treadlingMutable(0)->SetColor(p, pick(0, 4));
        doc->raw().treadlingMutable(0)->SetThick(p, pick(0, 5) == 0);
    }
    doc->raw().threadingMutable(0)->setDefaultColor(1);
    doc->raw().treadlingMutable(0)->setDefaultColor(0);
    doc->DiscardHistory();
    return doc;
}

std::vector<Cell> Drawdown(const CQuillabyDoc& doc)
{
    std::vector<Cell> out;
    out.reserve(static_cast<std::size_t>(doc.numEnds()) * doc.numPicks());
    for (int p = 0; p < doc.numPicks(); ++p)
        for (int e = 0; e < doc.numEnds(); ++e) out.push_back(DrawdownCell(doc, e, p));
    return out;
}

std::string State(const CQuillabyDoc& doc)
{
    std::ostringstream o;
    o << "loom " << doc.numShafts() << ' ' << doc.numTreadles() << ' ' << doc.isLiftplan() << ' ' << doc.isRisingShed()
      << ' ' << doc.numWarps() << ' ' << doc.numWefts() << ' ' << doc.correlationSide() << doc.correlationOn() << ' '
      << doc.multipleTreadles() << '\n';
    auto tding = [&](const Tding& t) {
        o << "count " << t.GetCount() << " limit " << t.limit() << " default " << t.defaultColor() << " ratio "
          << t.ratio() << '\n';
        for (int i = 0; i < t.GetCount(); ++i)
            o << t.GetColor(i) << ':' << t.GetSymbol(i) << ':' << t.GetThick(i) << ' ';
        for (int r = 0; r < kLabelRows; ++r) {
            o << "\nlabels " << r << ':';
            for (const Label& l : t.labelRow(r)) o << ' ' << l.start << '+' << l.length << '=' << l.text;
        }
        o << '\n';
    };
    for (int r = 0; r < doc.numWarps(); ++r) {
        tding(*doc.threading(r));
        for (int s : doc.threading(r)->values()) o << s << ' ';
        o << '\n';
    }
    for (int r = 0; r < doc.numWefts(); ++r) {
        const Treadling& t = *doc.treadling(r);
        tding(t);
        for (int i = 0; i < t.GetCount(); ++i) o << std::hex << t.GetSet(i).lo() << ',' << t.GetSet(i).hi() << ' ';
        o << std::dec << '\n';
    }
    o << "tieup " << doc.tieup().shaftCount() << 'x' << doc.tieup().treadleCount() << ':';
    for (int t = 0; t < doc.tieup().treadleCount(); ++t) o << ' ' << doc.tieup().column(t).bits();
    o << "\npalette";
    for (int i = 0; i < doc.palette().count(); ++i) o << ' ' << doc.palette().color(i);
    o << "\nmarkers";
    for (int m : doc.weaving().markers) o << ' ' << m;
    return o.str();
}

std::vector<int> Shafts(const CQuillabyDoc& doc, int row)
{
    const auto& v = doc.threading(row)->values();
    return {v.begin(), v.end()};
}

std::vector<int> Treadles(const CQuillabyDoc& doc, int row)
{
    std::vector<int> out;
    const Treadling& t = *doc.treadling(row);
    for (int p = 0; p < t.GetCount(); ++p) out.push_back(t.FirstValue(p));
    return out;
}

void SetShafts(CQuillabyDoc& doc, const std::vector<int>& shafts)
{
    Threading& t = *doc.raw().threadingMutable(0);
    if (t.GetCount()) t.Delete(0, t.GetCount());
    t.Append(static_cast<int>(shafts.size()));
    for (int i = 0; i < static_cast<int>(shafts.size()); ++i) t.SetValue(i, shafts[i]);
}

void SetTreadles(CQuillabyDoc& doc, const std::vector<int>& treadles)
{
    Treadling& t = *doc.raw().treadlingMutable(0);
    if (t.GetCount()) t.Delete(0, t.GetCount());
    t.Append(static_cast<int>(treadles.size()));
    for (int i = 0; i < static_cast<int>(treadles.size()); ++i) {
        TreadleSet s;
        s.set(treadles[i]);
        t.SetSet(i, s);
    }
}

} // namespace qbtest
