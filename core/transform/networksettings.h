#pragma once

#include <string>

namespace qb {

class CQuillabyDoc;

// The settings of network drafting, kept for the whole run and stored by the
// editor (NetworkInitialW/H/B, NetworkHt, NetworkLen, NetworkTelescope,
// NetworkShaftRule, NetworkRibbonW, DfltNetworkStructure).
struct NetworkSettings {
    int initialWidth = 4;   // ends of the initial, 1..64
    int initialHeight = 4;  // shafts of the initial counted from shaft 1 (base included), 1..64
    int initialBase = 0;    // shafts below the initial, 0..64
    int height = 16;        // network height in shafts, 1..64
    int length = 48;        // ends in a repeat, 1..32768
    bool telescope = false; // scaling: telescope (else digitize)
    bool shaftRule = false;
    // Ribbon width of the plot and of "Ri&bbon Template...". Kept up to 128
    // so a template width chosen there survives the next start.
    int ribbonWidth = 4;

    // "Plot onto &Network..."
    std::string structurePath;
    bool useRibbonTemplate = false;
    bool fillRibbon = true;
    bool fillBackground = false;

    // Each value brought into its range, as when loaded.
    void clamp();
    bool operator==(const NetworkSettings&) const = default;
};

inline constexpr int kMinRibbonTemplateWidth = 2;
inline constexpr int kMaxRibbonWidth = 128;

// "from Weave Structure": Base := tiedown shafts, Height := tiedown shafts
// plus pattern shafts per block, Width := ends per block. False (nothing
// changed) when the draft does not define a structure.
bool InitialFromStructure(const CQuillabyDoc& structure, NetworkSettings& s);

// Why the scaling settings leave no shafts to draw on; empty when they are
// usable. The sheet refuses to finish while this is not empty.
std::string ScaleSettingsProblem(const NetworkSettings& s);

} // namespace qb
