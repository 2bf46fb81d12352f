#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qb {

// A picture opened from a file: opaque pixels 0xFFRRGGBB, rows from the top.
// Transparency is flattened onto white when the file is read, so a
// transparent pixel is never dark.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool empty() const { return width <= 0 || height <= 0; }
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    // The grey value of column x, row y counted from the bottom row.
    int greyFromBottom(int x, int y) const;

    // An all-white picture; no size checks (callers check first).
    static RgbPicture Blank(int width, int height, std::uint32_t color = 0xFFFFFFFFu);
    bool operator==(const RgbPicture&) const = default;
};

// (30 R + 59 G + 11 B) / 100, the grey the whole program uses for pictures.
inline int GreyValue(std::uint32_t p)
{
    return (30 * int((p >> 16) & 0xFF) + 59 * int((p >> 8) & 0xFF) + 11 * int(p & 0xFF)) / 100;
}

inline std::uint32_t OpaqueRgb(int r, int g, int b)
{
    return 0xFF000000u | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | std::uint32_t(b);
}

// A pixel with coverage `alpha` (0..255) laid over white.
inline std::uint32_t OverWhite(int r, int g, int b, int alpha)
{
    const int back = 255 * (255 - alpha);
    return OpaqueRgb((r * alpha + back + 127) / 255, (g * alpha + back + 127) / 255, (b * alpha + back + 127) / 255);
}

// How large a picture file may claim to be before anything is allocated for
// it. The defaults allow a 600 dpi scan of a large page (512 MiB of pixels).
struct PictureLimits {
    int maxSide = 65535;
    long long maxPixels = 1LL << 27;
    std::size_t maxFileBytes = std::size_t(1) << 30;
};

// False with a message when width x height is empty or beyond the limits.
bool CheckPictureLimits(long long width, long long height, const PictureLimits& limits, std::string& error);

} // namespace qb
