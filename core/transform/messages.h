#pragma once

#include <string>

namespace qb::msg {

// The texts the whole-draft commands show, verbatim.
inline constexpr const char* kColorBars = "Okay to eliminate direct correlation with color bars?";
inline constexpr const char* kCannotUndo = "Cannot undo this operation, continue anyway?\n";
inline constexpr const char* kConvertToTieup = "Okay to convert to tieup format and continue?";
inline constexpr const char* kNotEnoughTreadles = "Not enough treadles to convert to tieup, continue anyway?\n";
inline constexpr const char* kMultipleNotation =
    "When multiple treadles are enabled, user-defined characters\ncan no longer be used for the treadling "
    "notation.\n\n Okay to turn user-defined notation off and continue?";
inline constexpr const char* kTurnMultiple = "Cannot turn draft with multiple treadles enabled.";
inline constexpr const char* kFoldMultiple =
    "Cannot fold a draft that has multiple treadles\nenabled or is in liftplan format.\n\nUse the "
    "Edit->Convert to (Liftplan/Tieup)\ncommands to reformat the draft.\n\nJust in case, save it first.";

// "%d" and "%s" filled in.
std::string cannotTranslate(const std::string& detail);
std::string shaftsRequired(int n);
std::string treadlesRequired(int n);
std::string endsRequired(int n);
std::string picksRequired(int n);
std::string turnShafts(int n);
std::string tabbyTreadles(int n);
std::string tabbyGround(int ground, int treadles);
std::string needsTieupForm(const std::string& command);
std::string needsOneWeft(const std::string& command);
std::string pictureTooWide(int used);
// "Color palette is limited to 90 colors. ..."
std::string paletteLimit();

} // namespace qb::msg
