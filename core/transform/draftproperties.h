#pragma once

#include "core/transform/command.h"

#include <array>

namespace qb {

class CQuillabyDoc;

namespace msg {
inline constexpr const char* kCorrelateTreadling =
    "Okay to convert treadling to direct correlation with color bars?\nThis conversion cannot be undone--\n"
    "select 'No' if you want to save the draft first.";
inline constexpr const char* kCorrelateThreading =
    "Okay to convert threading to direct correlation with color bars?\nThis conversion cannot be undone--\n"
    "select 'No' if you want to save the draft first.";
} // namespace msg

// The values of the draft's "Settings" properties page.
struct DraftProperties {
    int shafts = 8;
    int treadles = 8; // in liftplan form the shaft count
    bool risingShed = true;
    bool liftplan = false;
    int correlationSide = 0; // 0 balanced, 1 warp-faced, 2 weft-faced
    int numWarps = 1;
    int numWefts = 1;
    bool correlationOn = false;
    int units = 0; // 0 English, 1 Metric
    int warpSettWhole = 10, warpSettFrac = 0;
    int weftSettWhole = 10, weftSettFrac = 0;
    // Thick-to-thin ratios as the page shows them: the stored ratio + 1.
    int warpRatio = 2;
    int weftRatio = 2;

    bool operator==(const DraftProperties&) const = default;
};

// The page's values for a draft.
DraftProperties ReadProperties(const CQuillabyDoc& doc);

// Rules of the page: counts within their limits, the treadles equal to the
// shafts in liftplan form, direct correlation only where it can hold.
DraftProperties NormalizeProperties(DraftProperties v);

struct PropertiesOutcome {
    bool changed = false;       // anything was applied
    bool converted = false;     // a conversion ran
    bool ratioChanged = false;  // thick threads change width: lay out again
    bool layoutChanged = false; // sizes or forms changed
};

// Applies the page's values after OK, in this order: plain values, the
// liftplan/tieup conversion (or the question when wefts are added to a
// liftplan), shafts, treadles, warps and wefts, the color-bar correlation
// conversion, ratios. Questions go through `prompter`. The whole change is
// one undo step.
PropertiesOutcome ApplyProperties(Edit e, CQuillabyDoc& doc, const DraftProperties& values, IPrompter& prompter,
                                  std::array<int, 2> paletteBarColors = {0, 1});

} // namespace qb
