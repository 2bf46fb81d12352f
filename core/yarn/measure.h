#pragma once

#include <cstdint>
#include <string_view>

namespace qb {

// The two measurement systems: English counts in inches, yards and pounds,
// metric in centimetres, metres and kilograms. The numbers are the ones the
// draft file and the settings store use.
enum class MeasureSystem : int { English = 0, Metric = 1 };

inline MeasureSystem MeasureSystemOf(int units)
{
    return units == 1 ? MeasureSystem::Metric : MeasureSystem::English;
}

// The weaver's reference figures. 0.91 m to the yard and 28.4 g to the ounce
// are rounder than the true ones; densities and weights are computed with
// them everywhere, so a yarn label computed here matches the planner.
namespace measure {
inline constexpr double kInchesPerYard = 36.0;
inline constexpr double kCmPerMetre = 100.0;
inline constexpr double kCmPerInch = 2.54;
inline constexpr double kMetresPerYard = 0.91;
inline constexpr double kGramsPerOunce = 28.4;
inline constexpr double kOuncesPerPound = 16.0;
inline constexpr double kGramsPerPound = kGramsPerOunce * kOuncesPerPound; // 454.4
inline constexpr double kGramsPerKilogram = 1000.0;
} // namespace measure

// Unit choices stored with the plan and offered in the lists.
enum class QuantityUnit : int { Yards = 0, Metres = 1 };
enum class WeightUnit : int { Pounds = 0, Ounces = 1, Kilograms = 2, Grams = 3 };

// The words the screens show.
std::string_view SmallLengthWord(MeasureSystem s); // "in", "cm"
std::string_view LargeLengthWord(MeasureSystem s); // "yd", "m"
std::string_view SettWord(MeasureSystem s);        // "epi", "epcm"
std::string_view BeatWord(MeasureSystem s);        // "ppi", "ppcm"
std::string_view DensityWord(MeasureSystem s);     // "yd/lb", "m/kg"
std::string_view QuantityWord(int unit);           // "yd", "m"
std::string_view WeightWord(int unit);             // "lb", "oz", "kg", "g"

// Unit numbers from files and lists, kept inside their ranges.
QuantityUnit QuantityUnitOf(int unit);
WeightUnit WeightUnitOf(int unit);

// Whole-number rounding that forgives the last bits of a double, so that
// 1.1 x 50 (55.000000000000007) rounds up to 55 and 0.3 / 0.1 truncates to 3.
double CeilTolerant(double x);
double TruncTolerant(double x);

// A sett or beat as the draft keeps it: whole threads plus ten-thousandths.
struct SettParts {
    int whole = 0;
    int frac = 0;
    double value() const { return whole + frac / 10000.0; }
    bool operator==(const SettParts&) const = default;
};

// Splits a sett into the nearest whole number (a tie goes down) and the
// remainder in ten-thousandths, truncated; the remainder may be negative.
SettParts SplitSett(double value);
// A sett counted per unit of the other system (per inch is 2.54 times per
// centimetre).
double ConvertSettValue(double sett, MeasureSystem from, MeasureSystem to);
// The same, split again as the draft keeps it.
SettParts ConvertSett(SettParts sett, MeasureSystem from, MeasureSystem to);
// A length (inches or centimetres) in the other system's small unit.
double ConvertLength(double length, MeasureSystem from, MeasureSystem to);
// A grist (yards per pound or metres per kilogram) in the other system,
// truncated as it is stored.
std::uint32_t ConvertDensity(std::uint32_t density, MeasureSystem from, MeasureSystem to);

} // namespace qb
