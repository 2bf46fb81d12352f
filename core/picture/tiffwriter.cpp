// TIFF through libtiff, deflate-compressed. libtiff's messages are caught
// into the error text; nothing reaches the terminal.
#include "core/picture/outputfile.h"
#include "core/picture/picturesource.h"
#include "core/picture/picturewriter.h"
#include "core/picture/scanlines.h"

#include <tiffio.h>

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace qb {

namespace {

struct TiffMessages {
    std::string firstError;
};

int onError(TIFF*, void* user, const char* module, const char* fmt, va_list ap)
{
    auto* m = static_cast<TiffMessages*>(user);
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

void silenceGlobalHandlers()
{
    static const bool once = [] {
        TIFFSetErrorHandler(nullptr);
        TIFFSetWarningHandler(nullptr);
        return true;
    }();
    static_cast<void>(once);
}

} // namespace

bool WriteTiff(const std::string& path, PictureSource& src, std::string& error, const PictureOptions& options)
{
    const int w = src.width(), h = src.height();
    if (!CheckPictureSize(w, h, error)) return false;
    silenceGlobalHandlers();
    const bool indexed = UsableIndexedSource(src);
    const int depth = indexed ? src.indexedDepth() : 8;
    const std::vector<std::uint32_t> palette = indexed ? src.indexedPalette() : std::vector<std::uint32_t>();
    ScanLines lines(src, indexed);
    const std::size_t rowBytes = lines.rowBytes();
    const int level = lines.deflateLevel();
    // Classic TIFF ends at 4 GiB; beyond a safe margin use the 64-bit variant.
    const bool big = double(rowBytes) * h > 2.0 * 1024 * 1024 * 1024;

    TiffMessages messages;
    TIFFOpenOptions* opts = TIFFOpenOptionsAlloc();
    if (!opts) {
        error = WriteErrorText(path, "out of memory");
        return false;
    }
    TIFFOpenOptionsSetErrorHandlerExtR(opts, onError, &messages);
    TIFFOpenOptionsSetWarningHandlerExtR(opts, onWarning, nullptr);
    TIFF* tif = TIFFOpenExt(path.c_str(), big ? "w8" : "w", opts);
    TIFFOpenOptionsFree(opts);
    if (!tif) {
        error = WriteErrorText(path, messages.firstError.empty() ? "cannot create the file" : messages.firstError);
        return false;
    }

    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(w));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(h));
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, level ? COMPRESSION_ADOBE_DEFLATE : COMPRESSION_NONE);
    if (level) TIFFSetField(tif, TIFFTAG_ZIPQUALITY, level);
    TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    std::vector<std::uint16_t> map[3];
    if (indexed) {
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, depth);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
        for (auto& m : map) m.assign(std::size_t(1) << depth, 0);
        for (std::size_t i = 0; i < palette.size(); ++i) {
            map[0][i] = std::uint16_t(((palette[i] >> 16) & 0xFF) * 257);
            map[1][i] = std::uint16_t(((palette[i] >> 8) & 0xFF) * 257);
            map[2][i] = std::uint16_t((palette[i] & 0xFF) * 257);
        }
        TIFFSetField(tif, TIFFTAG_COLORMAP, map[0].data(), map[1].data(), map[2].data());
    } else {
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    }
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
    if (options.dotsPerInch > 0) {
        TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
        TIFFSetField(tif, TIFFTAG_XRESOLUTION, float(options.dotsPerInch));
        TIFFSetField(tif, TIFFTAG_YRESOLUTION, float(options.dotsPerInch));
    }

    std::vector<std::uint8_t> line(rowBytes);
    bool ok = true;
    for (int y = 0; y < h && ok; ++y) {
        lines.fetch(y, line.data());
        ok = TIFFWriteScanline(tif, line.data(), static_cast<std::uint32_t>(y), 0) == 1;
    }
    ok = TIFFFlush(tif) == 1 && ok;
    TIFFClose(tif);
    if (!ok || !messages.firstError.empty()) {
        RemovePartialFile(path);
        error = WriteErrorText(path, messages.firstError.empty() ? "write failed" : messages.firstError);
        return false;
    }
    return true;
}

} // namespace qb
