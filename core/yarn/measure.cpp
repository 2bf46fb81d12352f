#include "core/yarn/measure.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qb {

namespace {

// Relative slack: a few units in the last place of numbers up to millions.
double slack(double x)
{
    return 1e-9 * std::max(1.0, std::fabs(x));
}

} // namespace

std::string_view SmallLengthWord(MeasureSystem s)
{
    return s == MeasureSystem::Metric ? "cm" : "in";
}

std::string_view LargeLengthWord(MeasureSystem s)
{
    return s == MeasureSystem::Metric ? "m" : "yd";
}

std::string_view SettWord(MeasureSystem s)
{
    return s == MeasureSystem::Metric ? "epcm" : "epi";
}

std::string_view BeatWord(MeasureSystem s)
{
    return s == MeasureSystem::Metric ? "ppcm" : "ppi";
}

std::string_view DensityWord(MeasureSystem s)
{
    return s == MeasureSystem::Metric ? "m/kg" : "yd/lb";
}

QuantityUnit QuantityUnitOf(int unit)
{
    return unit == 1 ? QuantityUnit::Metres : QuantityUnit::Yards;
}

WeightUnit WeightUnitOf(int unit)
{
    return unit >= 0 && unit <= 3 ? static_cast<WeightUnit>(unit) : WeightUnit::Pounds;
}

std::string_view QuantityWord(int unit)
{
    return QuantityUnitOf(unit) == QuantityUnit::Metres ? "m" : "yd";
}

std::string_view WeightWord(int unit)
{
    switch (WeightUnitOf(unit)) {
    case WeightUnit::Ounces: return "oz";
    case WeightUnit::Kilograms: return "kg";
    case WeightUnit::Grams: return "g";
    case WeightUnit::Pounds: break;
    }
    return "lb";
}

double CeilTolerant(double x)
{
    if (!std::isfinite(x)) return x;
    return std::ceil(x - slack(x));
}

double TruncTolerant(double x)
{
    if (!std::isfinite(x)) return x;
    return x < 0 ? -std::floor(-x + slack(x)) : std::floor(x + slack(x));
}

SettParts SplitSett(double value)
{
    if (!std::isfinite(value)) return {};
    value = std::clamp(value, -1e9, 1e9);
    const double whole = std::ceil(value - 0.5);
    return {static_cast<int>(whole), static_cast<int>(TruncTolerant((value - whole) * 10000.0))};
}

double ConvertSettValue(double sett, MeasureSystem from, MeasureSystem to)
{
    if (from == to) return sett;
    return to == MeasureSystem::English ? sett * measure::kCmPerInch : sett / measure::kCmPerInch;
}

SettParts ConvertSett(SettParts sett, MeasureSystem from, MeasureSystem to)
{
    if (from == to) return sett;
    return SplitSett(ConvertSettValue(sett.value(), from, to));
}

double ConvertLength(double length, MeasureSystem from, MeasureSystem to)
{
    if (from == to) return length;
    return to == MeasureSystem::Metric ? length * measure::kCmPerInch : length / measure::kCmPerInch;
}

std::uint32_t ConvertDensity(std::uint32_t density, MeasureSystem from, MeasureSystem to)
{
    if (from == to) return density;
    const double d = density;
    const double v = to == MeasureSystem::Metric
        ? d * measure::kMetresPerYard * measure::kGramsPerKilogram / measure::kGramsPerPound
        : d * measure::kGramsPerPound / (measure::kMetresPerYard * measure::kGramsPerKilogram);
    return static_cast<std::uint32_t>(
        std::clamp(TruncTolerant(v), 0.0, double(std::numeric_limits<std::uint32_t>::max())));
}

} // namespace qb
