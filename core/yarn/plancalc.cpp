#include "core/yarn/plancalc.h"

#include <algorithm>
#include <cmath>

namespace qb {

namespace {

// Counts and quantities stay far inside long long however wild the inputs.
constexpr double kCountCeiling = 1e15;

long long toCount(double x)
{
    if (!(x > 0)) return 0;
    return static_cast<long long>(std::min(x, kCountCeiling));
}

double percentFactor(int percent)
{
    return 1.0 + percent / 100.0;
}

double largeUnitLength(double small, MeasureSystem s)
{
    return small / (s == MeasureSystem::Metric ? measure::kCmPerMetre : measure::kInchesPerYard);
}

// Ends x warp length (or picks x width) in every unit, from the small unit of
// the planner's system.
YarnAmount amountOf(double small, MeasureSystem s)
{
    YarnAmount a;
    if (s == MeasureSystem::Metric) {
        a.centimetres = small;
        a.inches = small / measure::kCmPerInch;
    } else {
        a.inches = small;
        a.centimetres = small * measure::kCmPerInch;
    }
    a.yards = a.inches / measure::kInchesPerYard;
    a.metres = a.centimetres / measure::kCmPerMetre;
    return a;
}

// The grist turns the yarn's length in the system's large unit into pounds
// (English) or kilograms (metric).
Weights weightOf(const YarnAmount& a, std::uint32_t density, MeasureSystem s)
{
    if (density == 0) return {};
    if (s == MeasureSystem::Metric) return WeightsFromKilograms(a.metres / density);
    return WeightsFromPounds(a.yards / density);
}

} // namespace

double Weights::in(int weightUnit) const
{
    switch (WeightUnitOf(weightUnit)) {
    case WeightUnit::Ounces: return ounces;
    case WeightUnit::Kilograms: return kilograms;
    case WeightUnit::Grams: return grams;
    case WeightUnit::Pounds: break;
    }
    return pounds;
}

Weights WeightsFromPounds(double pounds)
{
    Weights w;
    w.pounds = pounds;
    w.ounces = pounds * measure::kOuncesPerPound;
    w.grams = w.ounces * measure::kGramsPerOunce;
    w.kilograms = w.grams / measure::kGramsPerKilogram;
    return w;
}

Weights WeightsFromKilograms(double kilograms)
{
    Weights w;
    w.kilograms = kilograms;
    w.grams = kilograms * measure::kGramsPerKilogram;
    w.ounces = w.grams / measure::kGramsPerOunce;
    w.pounds = w.ounces / measure::kOuncesPerPound;
    return w;
}

FinishedSize ComputeFinished(const PlanInputs& in)
{
    FinishedSize f;
    const int across = std::max(1, in.itemsOnWeft);
    const int along = std::max(1, in.itemsOnWarp);
    f.totalWidth = across <= 1 ? in.itemWidth : (across - 1) * in.betweenItemsWeft + across * in.itemWidth;
    f.totalLength = (along - 1) * in.betweenItemsWarp + along * in.itemLength;
    return f;
}

WovenSize ComputeWoven(const PlanInputs& in, const FinishedSize& finished)
{
    WovenSize w;
    w.widthInReed = CeilTolerant(percentFactor(in.shrinkageWidth) * finished.totalWidth + in.drawIn);
    const double warp = percentFactor(in.takeUp + in.shrinkageLength) * finished.totalLength + in.loomWaste + in.sample;
    w.warpLengthLarge = CeilTolerant(largeUnitLength(warp, in.system));
    w.totalLengthLarge = CeilTolerant(largeUnitLength(finished.totalLength, in.system));
    w.warpLength = CeilTolerant(warp);
    return w;
}

void ComputeWarp(const PlanInputs& in, PlanResults& out, WarpRounding rounding)
{
    out.ends = in.sett > 0 ? toCount(TruncTolerant(in.sett * out.woven.widthInReed)) : 0;
    YarnAmount a = amountOf(static_cast<double>(out.ends) * std::max(0.0, out.woven.warpLength), in.system);
    if (rounding == WarpRounding::BeforeWeight) {
        a.yards = CeilTolerant(a.yards);
        a.metres = CeilTolerant(a.metres);
    }
    a.weight = weightOf(a, in.warpDensity, in.system);
    out.warp = a;
}

void ComputeWeft(const PlanInputs& in, PlanResults& out)
{
    out.picks = in.beat > 0 ? toCount(CeilTolerant((out.woven.warpLength - in.loomWaste) * in.beat)) : 0;
    YarnAmount a = amountOf(static_cast<double>(out.picks) * std::max(0.0, out.woven.widthInReed), in.system);
    a.weight = weightOf(a, in.weftDensity, in.system);
    out.weft = a;
}

PlanResults ComputePlan(const PlanInputs& in, WarpRounding rounding)
{
    PlanResults r;
    r.finished = ComputeFinished(in);
    r.woven = ComputeWoven(in, r.finished);
    ComputeWarp(in, r, rounding);
    ComputeWeft(in, r);
    return r;
}

double ItemWidthForEnds(const PlanInputs& in, long long ends)
{
    if (!(in.sett > 0) || ends <= 0) return 0.0;
    const double factor = percentFactor(in.shrinkageWidth);
    if (!(factor > 0)) return 0.0;
    const double widthInReed = static_cast<double>(ends) / in.sett;
    const double total = (widthInReed - in.drawIn) / factor;
    const int across = std::max(1, in.itemsOnWeft);
    const double item = (total - (across - 1) * in.betweenItemsWeft) / across;
    return std::isfinite(item) ? std::max(0.0, item) : 0.0;
}

long long ShownQuantity(const YarnAmount& a, int quantityUnit)
{
    return toCount(CeilTolerant(a.in(quantityUnit)));
}

double ShownWeight(const YarnAmount& a, int weightUnit)
{
    const double w = CeilTolerant(a.weight.in(weightUnit));
    return std::isfinite(w) && w > 0 ? std::min(w, kCountCeiling) : 0.0;
}

} // namespace qb
