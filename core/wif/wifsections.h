#pragma once

#include <array>
#include <string_view>

namespace qb {

// The sections a draft file lists in CONTENTS, in the order they are listed
// and written.
enum class WifSection {
    ColorPalette,
    WarpSymbolPalette,
    WeftSymbolPalette,
    Text,
    Weaving,
    Warp,
    Weft,
    Notes,
    Tieup,
    ColorTable,
    WarpSymbolTable,
    WeftSymbolTable,
    Threading,
    WarpThickness,
    WarpThicknessZoom,
    WarpSpacing,
    WarpSpacingZoom,
    WarpColors,
    WarpSymbols,
    Treadling,
    Liftplan,
    WeftThickness,
    WeftThicknessZoom,
    WeftSpacing,
    WeftSpacingZoom,
    WeftColors,
    WeftSymbols,
    Private,
};

inline constexpr std::array<std::string_view, 28> kWifSectionNames = {
    "COLOR PALETTE",
    "WARP SYMBOL PALETTE",
    "WEFT SYMBOL PALETTE",
    "TEXT",
    "WEAVING",
    "WARP",
    "WEFT",
    "NOTES",
    "TIEUP",
    "COLOR TABLE",
    "WARP SYMBOL TABLE",
    "WEFT SYMBOL TABLE",
    "THREADING",
    "WARP THICKNESS",
    "WARP THICKNESS ZOOM",
    "WARP SPACING",
    "WARP SPACING ZOOM",
    "WARP COLORS",
    "WARP SYMBOLS",
    "TREADLING",
    "LIFTPLAN",
    "WEFT THICKNESS",
    "WEFT THICKNESS ZOOM",
    "WEFT SPACING",
    "WEFT SPACING ZOOM",
    "WEFT COLORS",
    "WEFT SYMBOLS",
    "PRIVATE QUILLABY",
};

inline constexpr std::string_view sectionName(WifSection s)
{
    return kWifSectionNames[static_cast<std::size_t>(s)];
}

// Texts shown to the user while reading (placeholders filled by the reader).
namespace wifmsg {
inline constexpr std::string_view kVersion = "WIF Version %s is not\nsupported by this application.";
inline constexpr std::string_view kUnits =
    "Warp and weft measurement units do not match.\nConverting weft values to %s equivalents.";
inline constexpr std::string_view kPaletteCut = "Only the first %d colors will be loaded.\n";
inline constexpr std::string_view kUhOh = "Uh oh. %s";
inline constexpr std::string_view kShaftsReduced = "Number of shafts reduced to %d.\nSome loss of detail may occur.";
inline constexpr std::string_view kTreadlesReduced =
    "Number of treadles reduced to %d.\nSome loss of detail may occur.";
inline constexpr std::string_view kLiftplanQuestion =
    "This draft includes a liftplan as well as a tieup and treadling.\nDo you want to load the liftplan?";
} // namespace wifmsg

} // namespace qb
