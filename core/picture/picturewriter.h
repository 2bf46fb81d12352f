#pragma once

#include <string>

namespace qb {

class PictureSource;

enum class PictureFormat { Unknown, Png, Tiff, Jpeg, Bmp };

// By the file name's extension: png, tif/tiff, jpg/jpeg, bmp (any case).
PictureFormat PictureFormatForPath(const std::string& path);

struct PictureOptions {
    int dotsPerInch = 0;  // stored in the file when set
    int jpegQuality = 92; // 1..100
};

// Writes the picture in the given format (Unknown: by the extension). On
// failure returns false with a message for the user in `error`, and leaves no
// partial file behind. Never prints anything.
bool WritePicture(const std::string& path, PictureSource& src, std::string& error,
                  PictureFormat format = PictureFormat::Unknown, const PictureOptions& options = {});

bool WritePng(const std::string& path, PictureSource& src, std::string& error, const PictureOptions& options = {});
bool WriteBmp(const std::string& path, PictureSource& src, std::string& error, const PictureOptions& options = {});
bool WriteTiff(const std::string& path, PictureSource& src, std::string& error, const PictureOptions& options = {});
bool WriteJpeg(const std::string& path, PictureSource& src, std::string& error, const PictureOptions& options = {});

// Largest picture any writer accepts, in pixels and per side.
inline constexpr long long kMaxPicturePixels = 1LL << 32;
inline constexpr int kMaxPictureSide = 1 << 24;
// The common size check; false with a message when the picture is empty or too large.
bool CheckPictureSize(long long width, long long height, std::string& error);

} // namespace qb
