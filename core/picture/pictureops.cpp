#include "core/picture/pictureops.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace qb {

bool CropPicture(const RgbPicture& in, PixelRect r, RgbPicture& out, std::string& error)
{
    const long long x0 = std::max<long long>(r.x, 0), y0 = std::max<long long>(r.y, 0);
    const long long x1 = std::min<long long>(static_cast<long long>(r.x) + std::max(r.width, 0), in.width);
    const long long y1 = std::min<long long>(static_cast<long long>(r.y) + std::max(r.height, 0), in.height);
    if (in.empty() || x1 <= x0 || y1 <= y0) {
        error = kEmptyCrop;
        return false;
    }
    RgbPicture p;
    p.width = static_cast<int>(x1 - x0);
    p.height = static_cast<int>(y1 - y0);
    p.pixels.resize(static_cast<std::size_t>(p.width) * p.height);
    for (int y = 0; y < p.height; ++y) {
        const auto from = in.pixels.begin() + static_cast<std::ptrdiff_t>((y0 + y) * in.width + x0);
        std::copy(from, from + p.width, p.pixels.begin() + static_cast<std::ptrdiff_t>(y) * p.width);
    }
    out = std::move(p);
    return true;
}

PixelRect WindowRectToPicture(PixelRect w, double zoom)
{
    if (!(zoom > 0)) return {};
    const double left = std::min(w.x, w.x + w.width), right = std::max(w.x, w.x + w.width);
    const double top = std::min(w.y, w.y + w.height), bottom = std::max(w.y, w.y + w.height);
    PixelRect r;
    r.x = static_cast<int>(std::floor(left / zoom));
    r.y = static_cast<int>(std::floor(top / zoom));
    r.width = static_cast<int>(std::ceil(right / zoom)) - r.x;
    r.height = static_cast<int>(std::ceil(bottom / zoom)) - r.y;
    return r;
}

namespace {

// Quarter turns clockwise, pixel for pixel.
RgbPicture quarterTurns(const RgbPicture& in, int quarters)
{
    const int w = in.width, h = in.height;
    RgbPicture p;
    p.width = quarters % 2 ? h : w;
    p.height = quarters % 2 ? w : h;
    p.pixels.resize(in.pixels.size());
    for (int y = 0; y < p.height; ++y) {
        std::uint32_t* dst = &p.pixels[static_cast<std::size_t>(y) * p.width];
        for (int x = 0; x < p.width; ++x) {
            switch (quarters) {
            case 1: dst[x] = in.at(y, h - 1 - x); break;
            case 2: dst[x] = in.at(w - 1 - x, h - 1 - y); break;
            default: dst[x] = in.at(w - 1 - y, x); break;
            }
        }
    }
    return p;
}

} // namespace

bool RotatePicture(const RgbPicture& in, double degrees, RgbPicture& out, std::string& error, std::uint32_t background,
                   const PictureLimits& limits)
{
    if (in.empty()) {
        error = "There is no picture to rotate.";
        return false;
    }
    if (!std::isfinite(degrees)) {
        error = "The angle is not a number.";
        return false;
    }
    double a = std::fmod(degrees, 360.0);
    if (a < 0) a += 360.0;
    const double quarter = a / 90.0, nearest = std::round(quarter);
    if (std::abs(quarter - nearest) < 1e-9) {
        const int q = static_cast<int>(nearest) % 4;
        out = q == 0 ? in : quarterTurns(in, q);
        return true;
    }
    const double t = a * std::numbers::pi / 180.0, c = std::cos(t), s = std::sin(t);
    const double w = in.width, h = in.height;
    // A whisker off the exact size, so that rounding does not add a column.
    const double nw = std::ceil(w * std::abs(c) + h * std::abs(s) - 1e-6);
    const double nh = std::ceil(w * std::abs(s) + h * std::abs(c) - 1e-6);
    if (!CheckPictureLimits(static_cast<long long>(nw), static_cast<long long>(nh), limits, error)) {
        error = "The rotated picture would be too large: " + error;
        return false;
    }
    RgbPicture p = RgbPicture::Blank(static_cast<int>(nw), static_cast<int>(nh), background);
    // Each target pixel's centre turned back onto the source: x = u c + v s,
    // y = -u s + v c about the centres, stepping along a row by (c, -s).
    for (int y = 0; y < p.height; ++y) {
        const double v = y + 0.5 - nh / 2, u0 = 0.5 - nw / 2;
        double sx = u0 * c + v * s + w / 2, sy = -u0 * s + v * c + h / 2;
        std::uint32_t* dst = &p.pixels[static_cast<std::size_t>(y) * p.width];
        for (int x = 0; x < p.width; ++x, sx += c, sy -= s) {
            const double fx = std::floor(sx), fy = std::floor(sy);
            if (fx >= 0 && fy >= 0 && fx < w && fy < h) dst[x] = in.at(static_cast<int>(fx), static_cast<int>(fy));
        }
    }
    out = std::move(p);
    return true;
}

void MakeGreyScale(RgbPicture& picture)
{
    for (std::uint32_t& p : picture.pixels) {
        const int g = GreyValue(p);
        p = OpaqueRgb(g, g, g);
    }
}

bool IsGreyScale(const RgbPicture& picture)
{
    return std::all_of(picture.pixels.begin(), picture.pixels.end(), [](std::uint32_t p) {
        return ((p >> 16) & 0xFF) == ((p >> 8) & 0xFF) && ((p >> 8) & 0xFF) == (p & 0xFF);
    });
}

bool ApplyLight(RgbPicture& picture, int brightness, int contrast)
{
    if (std::abs(brightness) > kMaxBrightness || std::abs(contrast) > kMaxContrast) return false;
    std::array<std::uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v) {
        const int lit = std::clamp(v + brightness, 0, 255);
        const long stretched = std::lround((lit - 128) * (100.0 + contrast) / 100.0) + 128;
        table[v] = static_cast<std::uint8_t>(std::clamp<long>(stretched, 0, 255));
    }
    for (std::uint32_t& p : picture.pixels)
        p = OpaqueRgb(table[(p >> 16) & 0xFF], table[(p >> 8) & 0xFF], table[p & 0xFF]);
    return true;
}

RgbPicture LightPreview(const RgbPicture& original, int brightness, int contrast)
{
    RgbPicture copy = original;
    // One table for all three channels: a grey picture stays grey.
    ApplyLight(copy, brightness, contrast);
    return copy;
}

int ClampGridSquares(int n)
{
    return std::clamp(n, kMinGridSquares, kMaxGridSquares);
}

OverlaySquare GridOverlaySquare(int displayedWidth, int displayedHeight, GridSquares grid)
{
    OverlaySquare s;
    s.width = std::max(1, displayedWidth / std::max(1, grid.across));
    s.height = std::max(1, displayedHeight / std::max(1, grid.down));
    return s;
}

} // namespace qb
