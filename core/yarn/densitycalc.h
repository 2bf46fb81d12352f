#pragma once

#include "core/yarn/measure.h"

#include <cstdint>

namespace qb {

// The density calculator: a measured length of yarn and its weight give the
// grist in yards per pound and metres per kilogram.
struct DensityInput {
    double quantity = 0.0;
    int quantityUnit = 0; // QuantityUnit: 0 yd, 1 m
    double weight = 1.0;
    int weightUnit = 0; // WeightUnit: 0 lb, 1 oz, 2 kg, 3 g

    // The calculator as it opens: yards and pounds in the English system,
    // metres and kilograms in the metric one, a weight of 1.
    static DensityInput Start(MeasureSystem s);
};

// Weights below this are taken as this; negative quantities as 0.
inline constexpr double kMinDensityWeight = 0.05;

struct DensityResult {
    double quantity = 0.0; // as used, written back into the field
    double weight = 0.0;   // likewise
    std::uint32_t yardsPerPound = 0;
    std::uint32_t metresPerKilogram = 0;

    // The value callers take: the one of the current system.
    std::uint32_t forSystem(MeasureSystem s) const
    {
        return s == MeasureSystem::Metric ? metresPerKilogram : yardsPerPound;
    }
};

DensityResult ComputeDensity(const DensityInput& in);

} // namespace qb
