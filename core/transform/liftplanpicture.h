#pragma once

#include "core/transform/command.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qb {

class CQuillabyDoc;

// A picture as 32-bit pixels 0xAARRGGBB, row by row from the top.
struct PixelGrid {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;

    std::uint32_t at(int x, int y) const { return argb[static_cast<std::size_t>(y) * width + x]; }
    // An 8-bit gray picture (one byte per pixel, rows of `width` bytes).
    static PixelGrid FromGray(int width, int height, const std::uint8_t* gray);
};

// "Load Li&ftplan": the pixels of a picture file (.bmp, .jpg/.jpeg,
// .tif/.tiff or .png). False with a message for the user when the file is not
// a picture that can be read; `out` is then left as it was.
bool ReadLiftplanPicture(const std::string& path, PixelGrid& out, std::string& error);

// The gray value (30 R + 59 G + 11 B) / 100; a pixel presses its treadle
// when it is below 250. A mostly transparent pixel counts as white.
int PixelGray(std::uint32_t argb);
bool PixelPresses(std::uint32_t argb);

// "P&aste Liftplan" / "Load Li&ftplan" after the picture has been obtained:
// column x of row y presses treadle x + 1 of pick y. The picture is cut to
// the 64 columns a direct tieup can reach (told when cut); more than 32768
// rows are refused. With `flip` (the FlipOnPasteLiftplan setting) every pick
// is mirrored. The tieup becomes direct, dobby markers go, and an empty
// threading gets one end per shaft. One undo step.
CommandResult LiftplanFromPicture(Edit e, CQuillabyDoc& doc, const PixelGrid& picture, bool flip, IPrompter& prompter);

} // namespace qb
