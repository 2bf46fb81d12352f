#include "core/transform/blockcolors.h"

#include "core/draft/quillabydoc.h"
#include "core/transform/blockmessages.h"
#include "core/transform/blockunits.h"
#include "core/transform/weavestructure.h"

#include <algorithm>

namespace qb {

namespace {

struct ColorSide {
    const Tding* own;   // the profile row of this side
    const Tding* other; // the profile row of the other side
    int reference;      // the structure row's current color
};

int mapped(const std::vector<int>& map, int c)
{
    return c >= 0 && c < static_cast<int>(map.size()) ? map[static_cast<std::size_t>(c)] : 0;
}

// Profile thread j's color, or the other side's (its last thread's once j
// passes its end) where the unit thread has the structure's current color.
template <class V>
void alternate(std::vector<PlacedThread<V>>& threads, const ColorSide& s, const std::vector<int>& map)
{
    const int otherCount = s.other->GetCount();
    for (auto& t : threads) {
        if (t.source < 0) continue;
        if (t.color != s.reference) t.color = static_cast<std::uint8_t>(mapped(map, s.own->GetColor(t.source)));
        else if (otherCount > 0)
            t.color = static_cast<std::uint8_t>(mapped(map, s.other->GetColor(std::min(t.source, otherCount - 1))));
    }
}

// Profile thread j's color in row (place mod (m + 1)) of that side.
template <class V>
void colorBars(std::vector<PlacedThread<V>>& threads, const CQuillabyDoc& profile, bool warp, int m,
               const std::vector<int>& map)
{
    for (auto& t : threads) {
        if (t.source < 0) continue;
        const int row = t.offset % (m + 1);
        const Tding* r = warp ? static_cast<const Tding*>(profile.threading(row)) : profile.treadling(row);
        if (r) t.color = static_cast<std::uint8_t>(mapped(map, r->GetColor(t.source)));
    }
}

} // namespace

void ColorSubstitutedThreads(const CQuillabyDoc& profile, const CQuillabyDoc& structure,
                             const BlockSubstitutionParams& p, const std::vector<int>& profileColors,
                             std::vector<PlacedThread<int>>& ends, std::vector<PlacedThread<TreadleSet>>& picks,
                             IPrompter& prompter)
{
    const BlockColorOptions o = DecodeColorOptions(p.colorOptions);
    if (!o.useDesignColors) return;
    // "The structure threading's current color": the color its new threads get.
    const ColorSide warp{profile.threading(0), profile.treadling(0), structure.threading(0)->defaultColor()};
    const ColorSide weft{profile.treadling(0), profile.threading(0), structure.treadling(0)->defaultColor()};
    const int m = o.additionalBars;
    if (m > 0) {
        const bool inWarp = !o.barsInWeft;
        const int rows = inWarp ? profile.numWarps() : profile.numWefts();
        if (rows > m) {
            const int unit = inWarp ? p.endsPerBlock : p.picksPerBlock;
            if (unit % (m + 1) != 0) prompter.tell(blockmsg::kColorBarsDivisible);
            else if (inWarp) colorBars(ends, profile, true, m, profileColors);
            else colorBars(picks, profile, false, m, profileColors);
        } else if (m == 1) {
            if (inWarp) alternate(ends, warp, profileColors);
            else alternate(picks, weft, profileColors);
        }
        return;
    }
    if (o.alternate) {
        alternate(ends, warp, profileColors);
        alternate(picks, weft, profileColors);
        return;
    }
    const int ts = p.tiedownShafts;
    for (auto& t : ends) {
        if (t.source < 0 || (o.exceptWarpTiedowns && t.value >= 1 && t.value <= ts)) continue;
        t.color = static_cast<std::uint8_t>(mapped(profileColors, warp.own->GetColor(t.source)));
    }
    const TreadleSet tiedowns = TreadleSet::firstTreadles(TiedownTreadleCount(structure));
    for (auto& t : picks) {
        const bool tiedownPick = !t.value.empty() && (t.value & ~tiedowns).empty();
        if (t.source < 0 || (o.exceptWeftTiedowns && tiedownPick)) continue;
        t.color = static_cast<std::uint8_t>(mapped(profileColors, weft.own->GetColor(t.source)));
    }
}

} // namespace qb
