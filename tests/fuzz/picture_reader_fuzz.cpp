// Any bytes must give a picture or a clear failure: no crash, no hang, no
// unbounded memory, nothing printed. The limits are smaller than the
// program's so that a run tries many files a second.
#include "core/picture/picturereader.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    qb::PictureLimits limits;
    limits.maxSide = 1 << 14;
    limits.maxPixels = 1 << 20;
    qb::RgbPicture picture;
    std::string reason;
    // The format named by the extension only matters when the bytes carry no
    // signature; the size picks one so that each decoder sees such bytes.
    static const qb::PictureFormat kFormats[] = {qb::PictureFormat::Bmp, qb::PictureFormat::Jpeg,
                                                 qb::PictureFormat::Tiff, qb::PictureFormat::Png};
    if (!qb::DecodePicture(data, size, kFormats[size % 4], picture, reason, limits)) {
        if (reason.empty()) __builtin_trap();
        return 0;
    }
    if (picture.empty() || picture.pixels.size() != std::size_t(picture.width) * std::size_t(picture.height))
        __builtin_trap();
    // Every pixel is read, so that a short buffer shows under the sanitizer.
    std::uint32_t all = 0;
    for (std::uint32_t p : picture.pixels) all |= p;
    if ((all >> 24) != 0xFF) __builtin_trap(); // pixels are always opaque
    return 0;
}
