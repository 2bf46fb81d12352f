// PNG through libpng, reading from memory. Errors jump back here with the
// message; warnings are kept quiet. Every kind of PNG comes out as 8-bit RGBA
// and is then laid over white.
#include "core/picture/picturereader.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>

namespace qb {

namespace {

struct Source {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos;
};

struct ErrorState {
    std::jmp_buf jump;
    char message[256];
};

[[noreturn]] void onError(png_structp png, png_const_charp msg)
{
    auto* err = static_cast<ErrorState*>(png_get_error_ptr(png));
    std::snprintf(err->message, sizeof err->message, "%s", msg ? msg : "the PNG file is damaged");
    std::longjmp(err->jump, 1);
}

void onWarning(png_structp, png_const_charp) {}

void readData(png_structp png, png_bytep out, png_size_t n)
{
    auto* src = static_cast<Source*>(png_get_io_ptr(png));
    if (n > src->size - src->pos) png_error(png, "the file ends too early");
    std::memcpy(out, src->data + src->pos, n);
    src->pos += n;
}

bool allocatePixels(RgbPicture& pic, int w, int h) noexcept
{
    try {
        pic.width = w;
        pic.height = h;
        pic.pixels.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// All libpng work, in a function with no objects that need destructors, so
// that longjmp out of libpng skips nothing. 0: done; 1: an error in
// `message`; 2: the size check failed.
int decode(Source& src, RgbPicture& pic, const PictureLimits& limits, std::string& sizeReason, char* message)
{
    ErrorState err;
    err.message[0] = 0;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &err, onError, onWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        if (png) png_destroy_read_struct(&png, nullptr, nullptr);
        std::snprintf(message, sizeof err.message, "not enough memory");
        return 1;
    }
    if (setjmp(err.jump)) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::snprintf(message, sizeof err.message, "%s", err.message);
        return 1;
    }
    png_set_read_fn(png, &src, readData);
    // The size is judged below, with our own message; libpng's limit is only
    // its format's.
    png_set_user_limits(png, 0x7FFFFFFFu, 0x7FFFFFFFu);
    // Text and other side chunks may not grow without bound either.
    png_set_chunk_malloc_max(png, 8u << 20);
    png_read_info(png, info);
    const png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    if (!CheckPictureLimits(w, h, limits, sizeReason)) {
        png_destroy_read_struct(&png, &info, nullptr);
        return 2;
    }
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != 4 * static_cast<png_size_t>(w)) png_error(png, "unexpected PNG row layout");
    if (!allocatePixels(pic, static_cast<int>(w), static_cast<int>(h)))
        png_error(png, "not enough memory for the picture");
    for (int pass = 0; pass < passes; ++pass)
        for (png_uint_32 y = 0; y < h; ++y)
            png_read_row(png, reinterpret_cast<png_bytep>(pic.pixels.data() + static_cast<std::size_t>(y) * w),
                         nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return 0;
}

} // namespace

bool DecodePng(const std::uint8_t* data, std::size_t size, RgbPicture& out, std::string& reason,
               const PictureLimits& limits)
{
    Source src{data, size, 0};
    RgbPicture pic;
    char message[256] = {0};
    std::string sizeReason;
    const int rc = decode(src, pic, limits, sizeReason, message);
    if (rc == 2) reason = sizeReason;
    else if (rc == 1) reason = message;
    if (rc != 0) return false;
    // The rows hold R, G, B, A bytes.
    for (std::uint32_t& p : pic.pixels) {
        std::uint8_t b[4];
        std::memcpy(b, &p, 4);
        p = OverWhite(b[0], b[1], b[2], b[3]);
    }
    out = std::move(pic);
    return true;
}

} // namespace qb
