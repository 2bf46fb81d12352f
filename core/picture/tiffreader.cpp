// TIFF through libtiff, reading from memory. libtiff's messages are caught
// into the failure text; nothing reaches the terminal. The first page is read
// through libtiff's RGBA interface, which knows every photometric kind,
// strips and tiles, bit depth and orientation.
#include "core/picture/picturereader.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

namespace qb {

namespace {

struct MemoryFile {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos;
};

tmsize_t readProc(thandle_t h, void* buf, tmsize_t n)
{
    auto* f = static_cast<MemoryFile*>(h);
    if (n <= 0 || f->pos >= f->size) return 0;
    const std::size_t take = std::min(static_cast<std::size_t>(n), f->size - f->pos);
    std::memcpy(buf, f->data + f->pos, take);
    f->pos += take;
    return static_cast<tmsize_t>(take);
}

tmsize_t writeProc(thandle_t, void*, tmsize_t)
{
    return -1;
}

toff_t seekProc(thandle_t h, toff_t off, int whence)
{
    auto* f = static_cast<MemoryFile*>(h);
    unsigned long long base = 0;
    if (whence == SEEK_CUR) base = f->pos;
    else if (whence == SEEK_END) base = f->size;
    const unsigned long long to = base + off;
    if (to < base || to > f->size) return static_cast<toff_t>(-1);
    f->pos = static_cast<std::size_t>(to);
    return to;
}

int closeProc(thandle_t)
{
    return 0;
}
toff_t sizeProc(thandle_t h)
{
    return static_cast<MemoryFile*>(h)->size;
}
int mapProc(thandle_t, void**, toff_t*)
{
    return 0;
}
void unmapProc(thandle_t, void*, toff_t) {}

struct Messages {
    std::string firstError;
};

int onError(TIFF*, void* user, const char* module, const char* fmt, va_list ap)
{
    auto* m = static_cast<Messages*>(user);
    if (m && m->firstError.empty()) {
        char buf[512];
        std::vsnprintf(buf, sizeof buf, fmt, ap);
        m->firstError = (module && *module ? std::string(module) + ": " : std::string()) + buf;
    }
    return 1; // handled: keep it off stderr
}

int onWarning(TIFF*, void*, const char*, const char*, va_list)
{
    return 1;
}

// The handlers of the library as a whole stay silent too: a few of its
// messages are raised before a file's own handlers are known.
void silenceGlobalHandlers()
{
    static const bool once = [] {
        TIFFSetErrorHandler(nullptr);
        TIFFSetWarningHandler(nullptr);
        return true;
    }();
    static_cast<void>(once);
}

struct TiffCloser {
    TIFF* tif;
    ~TiffCloser()
    {
        if (tif) TIFFClose(tif);
    }
};

} // namespace

bool DecodeTiff(const std::uint8_t* data, std::size_t size, RgbPicture& out, std::string& reason,
                const PictureLimits& limits)
{
    silenceGlobalHandlers();
    MemoryFile file{data, size, 0};
    Messages messages;
    TIFFOpenOptions* opts = TIFFOpenOptionsAlloc();
    if (!opts) {
        reason = "not enough memory";
        return false;
    }
    TIFFOpenOptionsSetErrorHandlerExtR(opts, onError, &messages);
    TIFFOpenOptionsSetWarningHandlerExtR(opts, onWarning, nullptr);
    // No single buffer of libtiff's may be larger than the pixels we allow.
    TIFFOpenOptionsSetMaxSingleMemAlloc(opts, static_cast<tmsize_t>(limits.maxPixels * 4 + (1 << 20)));
    TiffCloser tif{TIFFClientOpenExt("picture", "rm", &file, readProc, writeProc, seekProc, closeProc, sizeProc,
                                     mapProc, unmapProc, opts)};
    TIFFOpenOptionsFree(opts);
    auto failed = [&](const char* fallback) {
        reason = messages.firstError.empty() ? fallback : messages.firstError;
        return false;
    };
    if (!tif.tif) return failed("not a TIFF file");

    std::uint32_t w = 0, h = 0;
    if (!TIFFGetField(tif.tif, TIFFTAG_IMAGEWIDTH, &w) || !TIFFGetField(tif.tif, TIFFTAG_IMAGELENGTH, &h))
        return failed("the TIFF file has no picture size");
    if (!CheckPictureLimits(w, h, limits, reason)) return false;
    char why[1024] = {0};
    if (!TIFFRGBAImageOK(tif.tif, why)) {
        reason = std::string("the TIFF picture cannot be read: ") + why;
        return false;
    }

    RgbPicture pic;
    try {
        pic.pixels.resize(static_cast<std::size_t>(w) * h);
    } catch (const std::bad_alloc&) {
        reason = "not enough memory for the picture";
        return false;
    }
    pic.width = static_cast<int>(w);
    pic.height = static_cast<int>(h);
    if (TIFFReadRGBAImageOriented(tif.tif, w, h, pic.pixels.data(), ORIENTATION_TOPLEFT, 1) != 1)
        return failed("the TIFF picture is damaged");
    // libtiff gives A, B, G, R from the high byte down, the colors already
    // multiplied by alpha: white shows through by what alpha leaves.
    for (std::uint32_t& p : pic.pixels) {
        const int white = 255 - int(TIFFGetA(p));
        p = OpaqueRgb(std::min(255, int(TIFFGetR(p)) + white), std::min(255, int(TIFFGetG(p)) + white),
                      std::min(255, int(TIFFGetB(p)) + white));
    }
    out = std::move(pic);
    return true;
}

} // namespace qb
