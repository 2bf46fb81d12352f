#include "core/transform/networksettings.h"

#include "core/draft/limits.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/blockmessages.h"

#include <algorithm>

namespace qb {

void NetworkSettings::clamp()
{
    initialWidth = std::clamp(initialWidth, 1, kMaxShafts);
    initialHeight = std::clamp(initialHeight, 1, kMaxShafts);
    initialBase = std::clamp(initialBase, 0, kMaxShafts);
    height = std::clamp(height, 1, kMaxShafts);
    length = std::clamp(length, 1, kMaxThreads);
    ribbonWidth = std::clamp(ribbonWidth, 1, kMaxRibbonWidth);
}

bool InitialFromStructure(const CQuillabyDoc& structure, NetworkSettings& s)
{
    const BlockSubstitutionParams& b = structure.blocks();
    if (!b.definesStructure) return false;
    s.initialBase = b.tiedownShafts;
    s.initialHeight = b.tiedownShafts + b.patternShaftsPerBlock;
    s.initialWidth = b.endsPerBlock;
    s.clamp();
    return true;
}

std::string ScaleSettingsProblem(const NetworkSettings& s)
{
    if (s.height <= s.initialBase) return blockmsg::kNetworkBelowBase;
    if (s.initialHeight <= s.initialBase) return blockmsg::kInitialBelowBase;
    const int room = s.height - s.initialBase;
    const int h = s.initialHeight - s.initialBase;
    if (s.shaftRule && room - h + 1 < 1) return blockmsg::kShaftRuleTooHigh;
    return {};
}

} // namespace qb
