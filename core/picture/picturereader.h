#pragma once

#include "core/picture/picturewriter.h"
#include "core/picture/rgbpicture.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace qb {

// Opens a .bmp, .jpg/.jpeg, .tif/.tiff or .png picture (the extension, in any
// case, says whether the file is a picture at all; the bytes say which of the
// four it really is). On failure returns false with a message for the user in
// `error` and leaves `out` as it was. Never prints, never ends the program:
// a damaged or hostile file is only a failure.
bool ReadPictureFile(const std::string& path, RgbPicture& out, std::string& error, const PictureLimits& limits = {});

// The same from bytes in memory. `format` is used when the bytes carry no
// known signature. `reason` says what is wrong, without a file name.
bool DecodePicture(const std::uint8_t* data, std::size_t size, PictureFormat format, RgbPicture& out,
                   std::string& reason, const PictureLimits& limits = {});

// The format the bytes start like, or Unknown.
PictureFormat SniffPictureFormat(const std::uint8_t* data, std::size_t size);

// One decoder per format; each checks the size from the header against
// `limits` before it allocates the pixels.
bool DecodeBmp(const std::uint8_t* data, std::size_t size, RgbPicture& out, std::string& reason,
               const PictureLimits& limits);
bool DecodeJpeg(const std::uint8_t* data, std::size_t size, RgbPicture& out, std::string& reason,
                const PictureLimits& limits);
bool DecodeTiff(const std::uint8_t* data, std::size_t size, RgbPicture& out, std::string& reason,
                const PictureLimits& limits);
bool DecodePng(const std::uint8_t* data, std::size_t size, RgbPicture& out, std::string& reason,
               const PictureLimits& limits);

// Saves the picture in the format of the path's extension (Save, Save As).
bool WritePictureFile(const std::string& path, const RgbPicture& picture, std::string& error);

// "Unable to read \"path\": reason".
std::string ReadErrorText(const std::string& path, const std::string& reason);

} // namespace qb
