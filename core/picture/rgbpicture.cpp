#include "core/picture/rgbpicture.h"

namespace qb {

int RgbPicture::greyFromBottom(int x, int y) const
{
    return GreyValue(at(x, height - 1 - y));
}

RgbPicture RgbPicture::Blank(int width, int height, std::uint32_t color)
{
    RgbPicture p;
    p.width = width;
    p.height = height;
    p.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), color);
    return p;
}

bool CheckPictureLimits(long long width, long long height, const PictureLimits& limits, std::string& error)
{
    if (width <= 0 || height <= 0) {
        error = "The picture is empty (" + std::to_string(width) + " x " + std::to_string(height) + " pixels).";
        return false;
    }
    // Each side is bounded first, so the product cannot overflow.
    if (width > limits.maxSide || height > limits.maxSide || width * height > limits.maxPixels) {
        error = "The picture is too large (" + std::to_string(width) + " x " + std::to_string(height)
            + " pixels); at most " + std::to_string(limits.maxSide) + " pixels a side and "
            + std::to_string(limits.maxPixels) + " pixels in all can be opened.";
        return false;
    }
    return true;
}

} // namespace qb
