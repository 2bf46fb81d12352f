#pragma once

#include "core/yarn/measure.h"

#include "core/draft/draftsettings.h"

#include <cstdint>
#include <string>

namespace qb {

// Everything the project planner computes from, counted in one measurement
// system: lengths in its small unit (inches or centimetres), sett and beat
// per small unit, densities in yards per pound or metres per kilogram.
struct PlanInputs {
    MeasureSystem system = MeasureSystem::English;
    double itemWidth = 0.0;
    double itemLength = 0.0;
    int itemsOnWarp = 1;
    int itemsOnWeft = 1;
    double betweenItemsWarp = 1.0;
    double betweenItemsWeft = 0.0;
    double drawIn = 1.0;
    int shrinkageWidth = 10;  // percent
    int takeUp = 5;           // percent
    int shrinkageLength = 10; // percent
    double loomWaste = 30.0;
    double sample = 0.0;
    int lengthUnit = 1; // 0 small unit, 1 large unit (yd or m)
    std::string warpYarn;
    std::string weftYarn;
    double sett = 10.0; // warp ends per small unit
    double beat = 10.0; // weft picks per small unit
    std::uint32_t warpDensity = 0;
    std::uint32_t weftDensity = 0;
    int warpQuantityUnit = 0; // QuantityUnit
    int weftQuantityUnit = 0;
    int warpWeightUnit = 0; // WeightUnit
    int weftWeightUnit = 0;

    bool operator==(const PlanInputs&) const = default;
};

// One weight in all four units.
struct Weights {
    double pounds = 0.0;
    double ounces = 0.0;
    double kilograms = 0.0;
    double grams = 0.0;
    double in(int weightUnit) const;
};
Weights WeightsFromPounds(double pounds);
Weights WeightsFromKilograms(double kilograms);

// The yarn for the warp or the weft: its length in every unit and its weight.
struct YarnAmount {
    double inches = 0.0;
    double centimetres = 0.0;
    double yards = 0.0;
    double metres = 0.0;
    Weights weight;
    double in(int quantityUnit) const { return QuantityUnitOf(quantityUnit) == QuantityUnit::Metres ? metres : yards; }
};

// The size of the finished cloth, all pieces with the gaps between them.
struct FinishedSize {
    double totalWidth = 0.0;
    double totalLength = 0.0;
};

// The cloth on the loom. Widths and lengths in the small unit; the large-unit
// lengths are rounded up to whole yards or metres.
struct WovenSize {
    double widthInReed = 0.0; // rounded up to a whole number
    double warpLength = 0.0;  // rounded up to a whole number
    double warpLengthLarge = 0.0;
    double totalLengthLarge = 0.0;
};

struct PlanResults {
    FinishedSize finished;
    WovenSize woven;
    long long ends = 0;
    long long picks = 0;
    YarnAmount warp;
    YarnAmount weft;

    // In the length unit the weaver chose (0 small, 1 large).
    double totalLengthIn(int lengthUnit) const
    {
        return lengthUnit == 1 ? woven.totalLengthLarge : finished.totalLength;
    }
    double warpLengthIn(int lengthUnit) const { return lengthUnit == 1 ? woven.warpLengthLarge : woven.warpLength; }
};

// The wizard rounds the warp up to whole yards (metres) before weighing it;
// the plan window weighs the exact length.
enum class WarpRounding { BeforeWeight, AfterWeight };

FinishedSize ComputeFinished(const PlanInputs& in);
WovenSize ComputeWoven(const PlanInputs& in, const FinishedSize& finished);
// The warp: sets `ends` and `warp` of `out` from the woven size already in it.
void ComputeWarp(const PlanInputs& in, PlanResults& out, WarpRounding rounding);
// The weft: sets `picks` and `weft` of `out` from the woven size already in it.
void ComputeWeft(const PlanInputs& in, PlanResults& out);
PlanResults ComputePlan(const PlanInputs& in, WarpRounding rounding);

// Typing a number of ends on the Warp page works backwards to the width of
// one piece; never below 0, and 0 when the sett is 0.
double ItemWidthForEnds(const PlanInputs& in, long long ends);

// The figures as the screens round them: quantities up to whole units,
// weights up to whole units (shown with one decimal).
long long ShownQuantity(const YarnAmount& a, int quantityUnit);
double ShownWeight(const YarnAmount& a, int weightUnit);

} // namespace qb
