// JPEG through libjpeg. Its default error handler ends the process, so a
// handler of our own jumps back with the message instead. A file that ends
// too early is a failure too (libjpeg would fill the rest with grey); other
// warnings about the data, common in files from cameras, are kept quiet.
#include "core/picture/picturereader.h"

#include <csetjmp>
#include <cstdio>
#include <new>

#include <jerror.h>
#include <jpeglib.h>

namespace qb {

namespace {

// Progressive files may hold any number of scans, each a full pass over the
// picture; real ones have about ten.
constexpr int kMaxScans = 500;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

struct Monitor {
    jpeg_progress_mgr pub;
    ErrorManager* err;
};

void onErrorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void onOutputMessage(j_common_ptr) {}

void onEmitMessage(j_common_ptr cinfo, int level)
{
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) onErrorExit(cinfo);
}

void onProgress(j_common_ptr cinfo)
{
    auto* monitor = reinterpret_cast<Monitor*>(cinfo->progress);
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
        std::snprintf(monitor->err->message, JMSG_LENGTH_MAX, "the JPEG file has too many scans");
        std::longjmp(monitor->err->jump, 1);
    }
}

std::uint32_t* allocatePixels(RgbPicture& pic, int w, int h) noexcept
{
    try {
        pic.width = w;
        pic.height = h;
        pic.pixels.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
        return pic.pixels.data();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

std::uint32_t fromCmyk(int c, int m, int y, int k, bool inverted)
{
    if (!inverted) {
        c = 255 - c;
        m = 255 - m;
        y = 255 - y;
        k = 255 - k;
    }
    return OpaqueRgb(c * k / 255, m * k / 255, y * k / 255);
}

// All libjpeg work, in a function with no objects that need destructors, so
// that longjmp out of libjpeg skips nothing. 0: done; 1: a libjpeg error in
// `message`; 2: the size check failed (`message` unused).
int decompress(const std::uint8_t* data, std::size_t size, RgbPicture& pic, const PictureLimits& limits,
               std::string& sizeReason, char* message)
{
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    Monitor monitor;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onErrorExit;
    err.pub.output_message = onOutputMessage;
    err.pub.emit_message = onEmitMessage;
    err.message[0] = 0;
    monitor.pub.progress_monitor = onProgress;
    monitor.err = &err;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", err.message);
        return 1;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &monitor.pub;
    // Whole-picture buffers of progressive files are bounded with the pixels.
    cinfo.mem->max_memory_to_use = static_cast<long>(limits.maxPixels * 10 + (16L << 20));
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    if (!CheckPictureLimits(cinfo.image_width, cinfo.image_height, limits, sizeReason)) {
        jpeg_destroy_decompress(&cinfo);
        return 2;
    }
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cinfo.jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const int w = static_cast<int>(cinfo.output_width), h = static_cast<int>(cinfo.output_height);
    const int n = cinfo.output_components;
    std::uint32_t* px = allocatePixels(pic, w, h);
    if (!px) {
        jpeg_destroy_decompress(&cinfo);
        std::snprintf(message, JMSG_LENGTH_MAX, "not enough memory for the picture");
        return 1;
    }
    JSAMPARRAY line = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                 static_cast<JDIMENSION>(w * n), 1);
    const bool inverted = cinfo.saw_Adobe_marker;
    while (cinfo.output_scanline < cinfo.output_height) {
        std::uint32_t* dst = px + static_cast<std::size_t>(cinfo.output_scanline) * w;
        jpeg_read_scanlines(&cinfo, line, 1);
        const JSAMPLE* s = line[0];
        for (int x = 0; x < w; ++x, s += n) {
            if (n == 1) dst[x] = OpaqueRgb(s[0], s[0], s[0]);
            else if (n == 3) dst[x] = OpaqueRgb(s[0], s[1], s[2]);
            else dst[x] = fromCmyk(s[0], s[1], s[2], s[3], inverted);
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return 0;
}

} // namespace

bool DecodeJpeg(const std::uint8_t* data, std::size_t size, RgbPicture& out, std::string& reason,
                const PictureLimits& limits)
{
    if (size == 0) {
        reason = "the file is empty";
        return false;
    }
    RgbPicture pic;
    char message[JMSG_LENGTH_MAX] = {0};
    std::string sizeReason;
    const int rc = decompress(data, size, pic, limits, sizeReason, message);
    if (rc == 2) reason = sizeReason;
    else if (rc == 1) reason = message;
    if (rc != 0) return false;
    out = std::move(pic);
    return true;
}

} // namespace qb
