// JPEG through libjpeg. Its default error handler ends the process, so a
// handler of our own jumps back here with the message instead.
#include "core/picture/outputfile.h"
#include "core/picture/picturesource.h"
#include "core/picture/picturewriter.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace qb {

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onErrorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void onOutputMessage(j_common_ptr) {} // warnings: keep quiet

// All libjpeg work, in a function with no objects that need destructors, so
// that longjmp out of libjpeg skips nothing.
bool compress(std::FILE* file, PictureSource& src, int w, int h, int quality, int dpi, std::uint32_t* argb,
              JSAMPLE* rgb, char* message)
{
    jpeg_compress_struct cinfo;
    ErrorManager err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onErrorExit;
    err.pub.output_message = onOutputMessage;
    err.message[0] = 0;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", err.message);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = static_cast<JDIMENSION>(w);
    cinfo.image_height = static_cast<JDIMENSION>(h);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (dpi > 0) {
        cinfo.density_unit = 1;
        cinfo.X_density = cinfo.Y_density = static_cast<UINT16>(std::min(dpi, 65535));
    }
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        src.row(static_cast<int>(cinfo.next_scanline), argb);
        JSAMPLE* p = rgb;
        for (int x = 0; x < w; ++x) {
            const std::uint32_t c = argb[x];
            *p++ = JSAMPLE(c >> 16);
            *p++ = JSAMPLE(c >> 8);
            *p++ = JSAMPLE(c);
        }
        JSAMPROW rows[1] = {rgb};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

} // namespace

bool WriteJpeg(const std::string& path, PictureSource& src, std::string& error, const PictureOptions& options)
{
    const int w = src.width(), h = src.height();
    if (!CheckPictureSize(w, h, error)) return false;
    if (w > JPEG_MAX_DIMENSION || h > JPEG_MAX_DIMENSION) {
        error = "Image too large for a JPEG file (at most " + std::to_string(JPEG_MAX_DIMENSION) + " pixels a side).";
        return false;
    }
    std::vector<std::uint32_t> argb(static_cast<std::size_t>(w));
    std::vector<JSAMPLE> rgb(3 * static_cast<std::size_t>(w));
    OutputFile f;
    if (!f.open(path, error)) return false;
    char message[JMSG_LENGTH_MAX] = {0};
    const int quality = std::clamp(options.jpegQuality, 1, 100);
    if (!compress(f.handle(), src, w, h, quality, options.dotsPerInch, argb.data(), rgb.data(), message)) {
        error = WriteErrorText(path, message);
        return false; // the file is removed with f
    }
    return f.commit(error);
}

} // namespace qb
