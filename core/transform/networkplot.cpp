#include "core/transform/networkplot.h"

#include "core/draft/limits.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/blockmessages.h"
#include "core/transform/blockunits.h"
#include "core/transform/draftshell.h"
#include "core/transform/structurefile.h"

#include <algorithm>

namespace qb {

namespace {

int ceilDiv(int a, int b)
{
    return (a + b - 1) / b;
}

// The shafts a structure pick lifts.
TUPTYPE liftOf(const CQuillabyDoc& structure, TreadleSet pick)
{
    if (structure.isLiftplan()) return pick.shafts();
    TUPTYPE lift;
    pick.forEach([&](int t) { lift |= structure.tieup().column(t - 1); });
    return lift;
}

// `count` shafts of a lift from shaft `from` + 1 on, moved down to shaft 1.
TUPTYPE part(TUPTYPE lift, int from, int count)
{
    const std::uint64_t bits = from >= 64 ? 0 : lift.bits() >> from;
    return TUPTYPE(bits) & TUPTYPE::firstShafts(count);
}

} // namespace

bool IsTurtleShaped(const CQuillabyDoc& line)
{
    const Threading& th = *line.threading(0);
    if (th.GetCount() == 0) return false;
    return std::abs(th.GetShaft(0) - th.GetShaft(th.GetCount() - 1)) < 2;
}

const char* PlotThreadingWarning(const CQuillabyDoc& line, const CQuillabyDoc& structure, int nh)
{
    const int ts = structure.blocks().tiedownShafts, ps = structure.blocks().patternShaftsPerBlock;
    const int m = line.threading(0)->HighestValue();
    const int d = nh - ts;
    if (nh < ts + m) return blockmsg::kPlotTooHigh;
    if (ps < 1 || d % ps == 0) return nullptr;
    if (!IsTurtleShaped(line)) return blockmsg::kPlotNotMultiple;
    return d - ps + 1 >= m ? nullptr : blockmsg::kPlotTurtle;
}

NewDraftResult PlotOntoNetwork(const CQuillabyDoc& line, const CQuillabyDoc& structure,
                               const std::string& structurePath, const NetworkSettings& settings, IPrompter& prompter)
{
    NewDraftResult out;
    if (!structure.blocks().definesStructure) {
        out.result = CommandResult::refused(prompter, NotAStructureMessage(structurePath, StructureUse::Plot));
        return out;
    }
    NetworkSettings s = settings;
    s.clamp();
    const BlockSubstitutionParams& b = structure.blocks();
    const int e = b.endsPerBlock, ps = b.patternShaftsPerBlock, ts = b.tiedownShafts;
    const int unitPicks = b.picksPerBlock, pt = b.patternTreadlesPerBlock;
    // Checked before any division by them.
    if (e < 1 || ps < 1 || unitPicks < 1 || pt < 1) return out;
    const int nh = s.height;
    if (nh <= ts) {
        out.result = CommandResult::refused(prompter, blockmsg::plotHeading(blockmsg::kPlotTooLow));
        return out;
    }
    const auto initial = ThreadingUnitForBlock(structure, 1);
    const auto pickUnit = TreadlingUnitForBlock(structure, 1);
    if (!initial || !pickUnit) return out;

    if (const char* warning = PlotThreadingWarning(line, structure, nh); warning && !prompter.ask(warning)) {
        out.result = CommandResult::declined();
        return out;
    }
    const Threading& lth = *line.threading(0);
    const Treadling& ltr = *line.treadling(0);
    if (lth.GetCount() % e != 0 && !prompter.ask(blockmsg::kPlotLength)) {
        out.result = CommandResult::declined();
        return out;
    }
    if (ltr.GetCount() % unitPicks != 0 && !prompter.ask(blockmsg::kPlotLength)) {
        out.result = CommandResult::declined();
        return out;
    }

    const int room = nh - ts; // shafts above the tiedowns
    const int bands = ceilDiv(room, ps);
    auto th = std::make_unique<Threading>(*structure.threading(0));
    th->Delete(0, th->GetCount());
    th->ClearLabels();
    th->SetLimit(nh);
    th->Append(lth.GetCount());
    for (int i = 0; i < lth.GetCount(); ++i) {
        const int u = i % e;
        const int sh = initial->GetShaft(u);
        int v = sh;
        if (sh > ts) {
            const int t = lth.GetShaft(i);
            if (t == 0) {
                v = 0;
            } else {
                int j = ceilDiv(t, ps);
                if (sh < ts + (j < 2 ? t : t - ps * (j - 1))) ++j;
                if (j > bands) j = 1;
                v = sh + (j - 1) * ps;
                // A partial last band wraps to the first rather than leave the network.
                if (v > nh) v = sh;
            }
        }
        if (v <= nh) th->SetValue(i, v);
        th->SetColor(i, initial->GetColor(u));
        th->SetThick(i, initial->GetThick(u) != 0);
    }

    auto tr = std::make_unique<Treadling>(*structure.treadling(0));
    tr->Delete(0, tr->GetCount());
    tr->ClearLabels();
    tr->SetLimit(nh);
    tr->setMultiple(true);
    tr->Append(ltr.GetCount());
    const int w = std::clamp(s.ribbonWidth, 1, kMaxRibbonWidth);
    for (int i = 0; i < ltr.GetCount(); ++i) {
        const int r = i % unitPicks;
        const TUPTYPE lift = liftOf(structure, pickUnit->GetSet(r));
        const TUPTYPE ribbon = part(lift, ts, ps);
        const TUPTYPE background = part(lift, ts + ps, ps);
        TUPTYPE pick = part(lift, 0, ts);
        if (s.fillBackground)
            for (int k = 0; k < bands; ++k)
                for (int x = 1; x <= ps; ++x)
                    if (background.test(x)) pick.set(ts + k * ps + x);
        const auto ribbonShaft = [&](int y) {
            const int shaft = ts + y % room + 1;
            if (s.fillRibbon && ribbon.test(y % ps + 1)) pick.set(shaft);
            else pick.clear(shaft);
        };
        const TreadleSet used = ltr.GetSet(i);
        if (!used.empty()) {
            if (s.useRibbonTemplate) {
                used.forEach([&](int t) {
                    if (t - 1 < room) ribbonShaft(t - 1);
                });
            } else {
                for (int y = used.lowest() - 1, k = 0; k < w; ++k, ++y) ribbonShaft(y);
            }
        }
        tr->SetSet(i, TreadleSet(pick & TUPTYPE::firstShafts(nh)));
        tr->SetColor(i, pickUnit->GetColor(r));
        tr->SetThick(i, pickUnit->GetThick(r) != 0);
    }

    auto d = DraftShellLike(line);
    d->raw().paletteMutable() = structure.palette();
    d->raw().setRisingShed(structure.isRisingShed());
    d->raw().setLoomRaw(nh, nh, true);
    d->raw().replaceThreading(0, std::move(th));
    d->raw().replaceTreadling(0, std::move(tr));
    auto tieup = std::make_unique<Tieup>(nh, nh);
    tieup->makeDirect();
    d->raw().replaceTieup(std::move(tieup));
    ColorPalette& pal = d->raw().paletteMutable();
    if (pal.leftColor() >= pal.count()) pal.setLeftColor(0);
    if (pal.rightColor() >= pal.count()) pal.setRightColor(pal.count() > 1 ? 1 : 0);
    d->EnsureComplete();
    return NewDraftResult::made(std::move(d));
}

} // namespace qb
