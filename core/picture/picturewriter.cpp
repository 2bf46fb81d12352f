#include "core/picture/picturewriter.h"

#include "core/picture/picturesource.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace qb {

void BufferSource::row(int y, std::uint32_t* out)
{
    std::memcpy(out, m_pixels + static_cast<std::ptrdiff_t>(y) * m_stride,
                sizeof(std::uint32_t) * static_cast<std::size_t>(m_width));
}

PictureFormat PictureFormatForPath(const std::string& path)
{
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return PictureFormat::Unknown;
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (ext == "png") return PictureFormat::Png;
    if (ext == "tif" || ext == "tiff") return PictureFormat::Tiff;
    if (ext == "jpg" || ext == "jpeg") return PictureFormat::Jpeg;
    if (ext == "bmp") return PictureFormat::Bmp;
    return PictureFormat::Unknown;
}

bool CheckPictureSize(long long width, long long height, std::string& error)
{
    if (width <= 0 || height <= 0) {
        error = "The picture is empty.";
        return false;
    }
    if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels) {
        error = "Image too large (" + std::to_string(width) + " x " + std::to_string(height) + " pixels).";
        return false;
    }
    return true;
}

bool WritePicture(const std::string& path, PictureSource& src, std::string& error, PictureFormat format,
                  const PictureOptions& options)
{
    if (format == PictureFormat::Unknown) format = PictureFormatForPath(path);
    switch (format) {
    case PictureFormat::Png: return WritePng(path, src, error, options);
    case PictureFormat::Tiff: return WriteTiff(path, src, error, options);
    case PictureFormat::Jpeg: return WriteJpeg(path, src, error, options);
    case PictureFormat::Bmp: return WriteBmp(path, src, error, options);
    case PictureFormat::Unknown: break;
    }
    error = "Unknown picture type of \"" + path + "\" (use .png, .tif, .jpg or .bmp).";
    return false;
}

} // namespace qb
