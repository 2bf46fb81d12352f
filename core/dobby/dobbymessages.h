#pragma once

#include "core/dobby/dobbyprotocol.h"

#include <string>
#include <string_view>

namespace qb {

// The weaver's texts around a dobby run, kept in one place for the windows
// and the command line.
namespace dobbytext {
inline constexpr std::string_view kCaption = "Dobby Head";
inline constexpr std::string_view kTimedOut = "Dobby Timed Out";
inline constexpr std::string_view kContinue = "Continue";
inline constexpr std::string_view kSelfTestRunning = "Performing self-test ...";
inline constexpr std::string_view kNoResponse = "No response from dobby head";
inline constexpr std::string_view kUnableToOpen = "Unable to open COM port";
inline constexpr std::string_view kNoSelfTest = "dobbyType is not LOUET or LeClerc2";
inline constexpr std::string_view kNotConfigured =
    "Dobby Settings need to be configured\nbefore starting up the dobby.\n";
inline constexpr std::string_view kPickLabel = "Dobby Pick:";
inline constexpr std::string_view kRepeatsLabel = "Repeats:";
} // namespace dobbytext

// "Couldn't open port on COM3" (or on the device path).
inline std::string CouldNotOpenPortMessage(std::string_view port)
{
    return "Couldn't open port on " + std::string(port);
}

// The nibble heads say it without the port.
inline std::string PortSetupFailedMessage(DobbyHeadType head, std::string_view port)
{
    if (head == DobbyHeadType::AVL2 || head == DobbyHeadType::AVL3) return "Port setup failed";
    return "Port setup on " + std::string(port) + " failed";
}

} // namespace qb
