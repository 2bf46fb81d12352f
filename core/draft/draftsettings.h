#pragma once

#include "core/draft/notation.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qb {

// The numbers of pieces the project planner accepts, across and along.
inline constexpr int kMaxItemsOnWeft = 25;
inline constexpr int kMaxItemsOnWarp = 50;

// Project-plan and finished-dimension values carried in the draft file.
struct ProjectPlanValues {
    double itemWidth = 0.0;
    double itemLength = 0.0;
    int itemsOnWarp = 1;
    int itemsOnWeft = 1;
    double betweenItemsWarp = 1.0;
    double betweenItemsWeft = 0.0;
    double drawIn = 1.0;
    int shrinkageWidth = 10;
    int takeUp = 5;
    int shrinkageLength = 10;
    int loomWaste = 30;
    int sample = 0;
    int lengthUnit = 1; // 0 in/cm, 1 yd/m
    std::string warpYarn;
    std::string weftYarn;
    int warpDensity = 0;
    int weftDensity = 0;
    int warpQuantityUnit = 0; // 0 yd, 1 m
    int weftQuantityUnit = 0;
    int warpWeightUnit = 0; // 0 lb, 1 oz, 2 kg, 3 g
    int weftWeightUnit = 0;

    bool operator==(const ProjectPlanValues&) const = default;
};

// How the draft's panes show it; read and written with the draft.
struct DisplayNotations {
    // Notation values, kept as the file's numbers.
    int threading = kNumeric;
    int treadling = kPlain;
    int tieup = kSymbolic;
    int drawdown = kInterlaced;
    bool threadingSymbols = false; // lines carry user-defined characters
    bool treadlingSymbols = false;

    bool operator==(const DisplayNotations&) const = default;
};

// Parameters of block substitution kept with a draft.
struct BlockSubstitutionParams {
    bool definesStructure = false;
    int numBlocks = 2;
    bool fixedNumberOfBlocks = false;
    int endsPerBlock = 1;
    int picksPerBlock = 1;
    int tiedownShafts = 0;
    int tiedownTreadles = 0;
    int patternShaftsPerBlock = 1;
    int patternTreadlesPerBlock = 1;
    bool repeatableUnits = true;
    bool sequentialBlockOrder = false;
    bool adjacentKeysNotCombined = false;
    bool enforceOddEvenTiedowns = false;
    bool allowTieupCombinations = true;
    bool skeletonTieup = false;
    bool automaticallyGenerated = true;
    bool threadingFlipTransition = false;
    bool threadingFlipChoice = false;
    bool treadlingFlipTransition = false;
    bool treadlingFlipChoice = false;
    int threadingBalanceTurning = 0;
    int threadingBalanceTransition = 0;
    bool threadingBalanceTurningChoice = true;
    bool threadingBalanceTransitionChoice = true;
    int treadlingBalanceTurning = 0;
    int treadlingBalanceTransition = 0;
    bool treadlingBalanceTurningChoice = true;
    bool treadlingBalanceTransitionChoice = true;
    int colorOptions = 0;

    bool operator==(const BlockSubstitutionParams&) const = default;
};

// Where a weaving run on the loom stands; saved with the draft.
struct WeavingRunState {
    bool savedState = false;
    bool reverse = false;
    bool loop = false;
    bool unweave = false;
    int currentPick = 0;
    std::vector<int> markers;
    int repeatCount = 0;

    bool operator==(const WeavingRunState&) const = default;
};

// The application's defaults a new draft starts from.
struct NewDraftDefaults {
    int shafts = 8;
    int treadles = 8;
    bool liftplan = false;
    bool risingShed = true;
    int units = 0; // 0 English, 1 Metric
    int wasteLength = 30;
    DisplayNotations notations;
    std::vector<std::uint32_t> defaultColors;
};

} // namespace qb
