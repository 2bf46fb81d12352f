#include "core/dobby/dobbymenu.h"

#include "core/dobby/dobbyprotocol.h"

#include <algorithm>

namespace qb {

DobbyMenuItemState DobbyMenuState(DobbyMenuItem item, const DobbyMenuContext& c)
{
    const bool run = c.draftHasRun;
    switch (item) {
    case DobbyMenuItem::Start: return {!run, false};
    case DobbyMenuItem::SetPick: return {run, false};
    case DobbyMenuItem::SameShed: return {run && !c.unweave, false};
    case DobbyMenuItem::Unweave: return {run, c.unweave};
    case DobbyMenuItem::Reverse: return {run, c.reverse};
    case DobbyMenuItem::Loop: return {run, c.loop};
    case DobbyMenuItem::Markers: return {true, false};
    case DobbyMenuItem::RepeatCount: return {run && c.loop, false};
    // The settings and the self-test need the port, which a run of any draft holds.
    case DobbyMenuItem::Settings: return {!c.anyRun, false};
    case DobbyMenuItem::SelfTest:
        return {!c.anyRun && IsDobbyHeadType(c.headIndex) && kDobbyHeads[c.headIndex].selfTest, false};
    case DobbyMenuItem::Stop: return {run, false};
    }
    return {};
}

int CheckedSerialPortNum(int stored, const std::vector<int>& listed)
{
    if (stored >= 1 && std::find(listed.begin(), listed.end(), stored) == listed.end()) stored = -1;
    if (stored < 0 && !listed.empty()) stored = listed.front();
    return stored;
}

} // namespace qb
