#include "core/picture/picturereader.h"

#include "core/picture/picturesource.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <sys/stat.h>

namespace qb {

std::string ReadErrorText(const std::string& path, const std::string& reason)
{
    return "Unable to read \"" + path + "\": " + reason;
}

PictureFormat SniffPictureFormat(const std::uint8_t* d, std::size_t n)
{
    if (n >= 8 && std::memcmp(d, "\x89PNG\r\n\x1a\n", 8) == 0) return PictureFormat::Png;
    if (n >= 3 && d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF) return PictureFormat::Jpeg;
    if (n >= 4
        && ((d[0] == 'I' && d[1] == 'I' && (d[2] == 42 || d[2] == 43) && d[3] == 0)
            || (d[0] == 'M' && d[1] == 'M' && d[2] == 0 && (d[3] == 42 || d[3] == 43))))
        return PictureFormat::Tiff;
    if (n >= 2 && d[0] == 'B' && d[1] == 'M') return PictureFormat::Bmp;
    return PictureFormat::Unknown;
}

bool DecodePicture(const std::uint8_t* data, std::size_t size, PictureFormat format, RgbPicture& out,
                   std::string& reason, const PictureLimits& limits)
{
    const PictureFormat sniffed = SniffPictureFormat(data, size);
    if (sniffed != PictureFormat::Unknown) format = sniffed;
    RgbPicture pic;
    bool ok = false;
    switch (format) {
    case PictureFormat::Bmp: ok = DecodeBmp(data, size, pic, reason, limits); break;
    case PictureFormat::Jpeg: ok = DecodeJpeg(data, size, pic, reason, limits); break;
    case PictureFormat::Tiff: ok = DecodeTiff(data, size, pic, reason, limits); break;
    case PictureFormat::Png: ok = DecodePng(data, size, pic, reason, limits); break;
    case PictureFormat::Unknown: reason = "not a picture that can be read"; break;
    }
    if (!ok) return false;
    out = std::move(pic);
    return true;
}

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The whole file, unless it is not a plain file or is beyond the limit.
bool slurp(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& bytes, std::string& reason)
{
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
    if (!f) {
        reason = std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fileno(f.get()), &st) != 0 || !S_ISREG(st.st_mode)) {
        reason = "not a file";
        return false;
    }
    if (static_cast<unsigned long long>(st.st_size) > maxBytes) {
        reason = "the file is too large (" + std::to_string(st.st_size) + " bytes)";
        return false;
    }
    bytes.resize(static_cast<std::size_t>(st.st_size));
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), f.get()) != bytes.size()) {
        reason = std::ferror(f.get()) ? std::strerror(errno) : "the file changed while it was read";
        return false;
    }
    return true;
}

} // namespace

bool ReadPictureFile(const std::string& path, RgbPicture& out, std::string& error, const PictureLimits& limits)
{
    const PictureFormat format = PictureFormatForPath(path);
    if (format == PictureFormat::Unknown) {
        error = "Unknown picture type of \"" + path + "\" (use .bmp, .jpg, .tif or .png).";
        return false;
    }
    std::vector<std::uint8_t> bytes;
    std::string reason;
    if (!slurp(path, limits.maxFileBytes, bytes, reason)
        || !DecodePicture(bytes.data(), bytes.size(), format, out, reason, limits)) {
        error = ReadErrorText(path, reason);
        return false;
    }
    return true;
}

bool WritePictureFile(const std::string& path, const RgbPicture& picture, std::string& error)
{
    if (picture.empty() || picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.height) {
        error = "The picture is empty.";
        return false;
    }
    BufferSource src(picture.pixels.data(), picture.width, picture.height, picture.width);
    return WritePicture(path, src, error);
}

} // namespace qb
