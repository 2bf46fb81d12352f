#pragma once

#include "core/picture/rgbpicture.h"

#include <cstdint>
#include <string>

namespace qb {

// The edits of the graphic window, as functions of a picture. Each either
// gives a new picture or changes the one passed; a failure changes nothing.

// A rectangle of pixels, (0, 0) the top-left pixel.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
    bool operator==(const PixelRect&) const = default;
};

inline constexpr const char* kEmptyCrop = "The selection holds no part of the picture: there is nothing to crop to.";

// Keeps the part of `in` inside `r` (cut to the picture). Refused with
// kEmptyCrop when nothing of the picture is inside.
bool CropPicture(const RgbPicture& in, PixelRect r, RgbPicture& out, std::string& error);

// A selection dragged in the window (in any direction; negative sizes allowed)
// as picture pixels at the given zoom: every pixel it touches.
PixelRect WindowRectToPicture(PixelRect window, double zoom);

// Turns the picture `degrees` clockwise (any angle, negative turns the other
// way). The canvas grows to hold the whole picture; the corners it uncovers
// take `background`. Multiples of 90 degrees move pixels exactly; other angles
// take the nearest pixel. Refused when the grown canvas exceeds `limits`.
bool RotatePicture(const RgbPicture& in, double degrees, RgbPicture& out, std::string& error,
                   std::uint32_t background = 0xFFFFFFFFu, const PictureLimits& limits = {});

// Every pixel becomes its grey value (Grayscale).
void MakeGreyScale(RgbPicture& picture);
bool IsGreyScale(const RgbPicture& picture);

inline constexpr int kMaxBrightness = 255;
inline constexpr int kMaxContrast = 100;

// Brightness (-255..255) is added to each channel; contrast (-100..100) then
// stretches each channel about mid-grey by that percentage (-100: all grey).
// 0, 0 leaves every pixel as it is. False, and no change, out of range.
bool ApplyLight(RgbPicture& picture, int brightness, int contrast);

// The Brightness/Contrast dialog's live view: a new picture from the one the
// dialog opened with, which stays untouched, so Cancel has nothing to undo.
RgbPicture LightPreview(const RgbPicture& original, int brightness, int contrast);

// Grid squares: each count is kept to 1..127 by the dialog.
inline constexpr int kMinGridSquares = 1;
inline constexpr int kMaxGridSquares = 127;
int ClampGridSquares(int n);

struct GridSquares {
    int across = 1;
    int down = 1;
    bool operator==(const GridSquares&) const = default;
};

// The overlay drawn over the picture shown at `displayedWidth` x
// `displayedHeight` pixels: the size of one square, at least 1 x 1.
struct OverlaySquare {
    int width = 1;
    int height = 1;
};
OverlaySquare GridOverlaySquare(int displayedWidth, int displayedHeight, GridSquares grid);

} // namespace qb
