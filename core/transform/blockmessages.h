#pragma once

#include <cstdint>
#include <string>

namespace qb::blockmsg {

// The texts block substitution and network drafting show, verbatim.
inline constexpr const char* kHeading = "Unable to substitute this weave structure.\n\n%s";
inline constexpr const char* kMultipleTreadles =
    "Profile draft has multiple treadles enabled.\nTry either Edit->Convert to Tieup or\n"
    "unchecking Treadling->Multiple Treadles before proceeding.";
inline constexpr const char* kNotStructure = "File %s\ndoes not define substitution blocks.";
inline constexpr const char* kNotEnoughBlocks = "Weave structure definition does not\ncontain enough blocks.\n[%d]";
inline constexpr const char* kTooManyShafts =
    "Number of shafts required (%d),\nexceeds program capabilities, so\nsome blocks could not be threaded.";
inline constexpr const char* kTooManyTreadles =
    "Number of treadles required (%d),\nexceeds program capabilities, so\nsome blocks could not be treadled.";
inline constexpr const char* kSequential =
    "Profile draft must contain only\nsequential threading blocks for this structure.";
inline constexpr const char* kRepeated = "Profile draft cannot contain repeated\nthreading blocks for this structure.";
inline constexpr const char* kOverlapThreading =
    "Weave structure definition does not contain\noverlapping threading blocks.\n[%d]";
inline constexpr const char* kOverlapTreadling =
    "Weave structure definition does not contain\noverlapping treadling blocks.\n[%d]";
inline constexpr const char* kEnoughThreading =
    "Weave structure definition does not contain\nenough threading blocks.\n[%d]";
// Printed in decimal like its threading twin: a hex "[a]" for block 10 reads as a letter.
inline constexpr const char* kEnoughTreadling =
    "Weave structure definition does not contain\nenough treadling blocks.\n[%d]";
inline constexpr const char* kCombinations =
    "Weave structure definition does not contain\nvalid tieup combinations.\n[%0x]";
inline constexpr const char* kOddEven =
    "Profile draft does not support\nodd-even order of ground shafts in tieup.\n[%d]";
inline constexpr const char* kColorBarsDivisible =
    "Ends per block must be divisible  \nby the number of colorbars\nin the profile draft\n";
inline constexpr const char* kPaletteLimit =
    "Color palette is limited to %d colors.\n\nRemove unused colors with Clear Palette on the Color menu.";

inline constexpr const char* kSkeletonHeading = "Cannot automatically convert to a skeleton tieup.\n%s";
inline constexpr const char* kSkeletonNoTiedowns = "The number of tiedown shafts must be greater than zero.\n";
inline constexpr const char* kSkeletonDivisible =
    "Pattern treadles per block must be divisible by the\nnumber of tiedown shafts.\n";
inline constexpr const char* kCorrupted =
    "Corrupted block substitution doc:\nBlock A and Block B could not be determined.\n";
inline constexpr const char* kTwoBlocks = "Tieup must contain at least two blocks.\n";

inline constexpr const char* kPlotNoStructure = "Sorry, cannot plot onto network: \nNo weave structure was specified.";
inline constexpr const char* kPlotHeading = "Unable to plot on network draft.\n\n%s";
inline constexpr const char* kPlotTooHigh =
    "WARNING:  Height of the pattern line\nis greater than the network height.\n\nContinue anyway?";
inline constexpr const char* kPlotTurtle =
    "WARNING:  Turtle shaped pattern lines require\nthe shaft rule unless the network height is a multiple\n"
    "of the height of the initial.\n\nContinue anyway?";
inline constexpr const char* kPlotNotMultiple =
    "WARNING:  Network height less base of the initial\nis not a multiple of the initial height.\n\nContinue anyway?";
inline constexpr const char* kPlotLength =
    "WARNING:  Length of the pattern line is not\na multiple of the width of the initial.\n\nContinue anyway?";

// Our own texts, for settings that would leave no shafts to draw on.
inline constexpr const char* kScaleHeading = "Unable to scale the pattern line.\n\n%s";
inline constexpr const char* kNetworkBelowBase = "The network height must be greater than\nthe base of the initial.";
inline constexpr const char* kInitialBelowBase = "The height of the initial must be greater\nthan its base.";
inline constexpr const char* kShaftRuleTooHigh =
    "With the shaft rule the initial must not be\nhigher than the network above its base.";
inline constexpr const char* kPlotTooLow =
    "The network height must be greater than the\ntiedown shafts of the weave structure.";
inline constexpr const char* kUnreadable = "File %s\ncould not be read as a draft.";
inline constexpr const char* kThreadsRequired = "Number of %s required (%d)\n exceeds program capabilities.\n";

// "%s" and "%d" filled in; heading() wraps a detail in kHeading.
std::string format(const char* pattern, long long n);
std::string format(const char* pattern, const std::string& s);
std::string heading(const std::string& detail);
std::string plotHeading(const std::string& detail);
std::string combinations(std::uint64_t blockSet);

} // namespace qb::blockmsg
