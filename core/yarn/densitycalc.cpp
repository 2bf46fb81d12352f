#include "core/yarn/densitycalc.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qb {

namespace {

std::uint32_t grist(double length, double weight)
{
    const double v = TruncTolerant(length / weight);
    if (!(v > 0)) return 0;
    return static_cast<std::uint32_t>(std::min(v, double(std::numeric_limits<std::uint32_t>::max())));
}

} // namespace

DensityInput DensityInput::Start(MeasureSystem s)
{
    DensityInput in;
    if (s == MeasureSystem::Metric) {
        in.quantityUnit = static_cast<int>(QuantityUnit::Metres);
        in.weightUnit = static_cast<int>(WeightUnit::Kilograms);
    }
    return in;
}

DensityResult ComputeDensity(const DensityInput& in)
{
    using namespace measure;
    DensityResult r;
    // NaN fails both comparisons and ends up at the floor as well.
    r.quantity = in.quantity > 0 ? in.quantity : 0.0;
    r.weight = in.weight > kMinDensityWeight ? in.weight : kMinDensityWeight;

    double yards, metres;
    if (QuantityUnitOf(in.quantityUnit) == QuantityUnit::Metres) {
        metres = r.quantity;
        yards = r.quantity / kMetresPerYard;
    } else {
        yards = r.quantity;
        metres = r.quantity * kMetresPerYard;
    }

    const double w = r.weight;
    double pounds = w, kilograms = w * kOuncesPerPound * kGramsPerOunce / kGramsPerKilogram;
    switch (WeightUnitOf(in.weightUnit)) {
    case WeightUnit::Ounces:
        pounds = w / kOuncesPerPound;
        kilograms = w * kGramsPerOunce / kGramsPerKilogram;
        break;
    case WeightUnit::Kilograms:
        kilograms = w;
        pounds = w * kGramsPerKilogram / kGramsPerOunce / kOuncesPerPound;
        break;
    case WeightUnit::Grams:
        kilograms = w / kGramsPerKilogram;
        pounds = w / kGramsPerOunce / kOuncesPerPound;
        break;
    case WeightUnit::Pounds: break;
    }
    r.yardsPerPound = grist(yards, pounds);
    r.metresPerKilogram = grist(metres, kilograms);
    return r;
}

} // namespace qb
