// Windows and OS/2 bitmaps read by hand: 1, 4, 8 bits with a palette
// (uncompressed or run-length coded), 16, 24 and 32 bits (with or without bit
// masks). Every offset and count from the file is checked against its size.
#include "core/picture/picturereader.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

namespace qb {

namespace {

std::uint32_t le16(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8);
}
std::uint32_t le32(const std::uint8_t* p)
{
    return le16(p) | (le16(p + 2) << 16);
}

enum Compression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3, kAlphaBitfields = 6 };

// One channel of a bit-field pixel, scaled to 0..255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;

    explicit Channel(std::uint32_t m = 0) : mask(m)
    {
        if (!m) return;
        shift = std::countr_zero(m);
        max = m >> shift;
    }
    bool contiguous() const { return !mask || ((max + 1) & max) == 0; }
    int value(std::uint32_t px) const
    {
        if (!max) return 0;
        return static_cast<int>((std::uint64_t((px & mask) >> shift) * 255 + max / 2) / max);
    }
};

struct Header {
    long long width = 0;
    long long height = 0; // negative: rows stored top down
    int bits = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t colorsUsed = 0;
    std::size_t paletteAt = 0;
    int paletteEntrySize = 4;
    std::uint32_t masks[3] = {0, 0, 0};
};

bool fail(std::string& reason, const char* why)
{
    reason = why;
    return false;
}

bool readHeader(const std::uint8_t* d, std::size_t n, Header& h, std::string& reason)
{
    if (n < 26 || d[0] != 'B' || d[1] != 'M') return fail(reason, "not a BMP file");
    const std::uint32_t infoSize = le32(d + 14);
    const std::uint8_t* info = d + 14;
    if (infoSize == 12) { // OS/2 1.x: 16-bit sizes, 3-byte palette entries
        h.width = le16(info + 4);
        h.height = le16(info + 6);
        h.bits = static_cast<int>(le16(info + 10));
        h.paletteEntrySize = 3;
    } else if (infoSize >= 40 && infoSize <= 256) {
        if (n < 14 + std::size_t(infoSize)) return fail(reason, "the file ends inside its header");
        h.width = static_cast<std::int32_t>(le32(info + 4));
        h.height = static_cast<std::int32_t>(le32(info + 8));
        h.bits = static_cast<int>(le16(info + 14));
        h.compression = le32(info + 16);
        h.colorsUsed = le32(info + 32);
        // OS/2 2.x numbers its compressions differently; only plain rows are read.
        if (infoSize == 64 && h.compression != kRgb) return fail(reason, "an OS/2 compressed bitmap is not supported");
        if (h.compression == kBitfields || h.compression == kAlphaBitfields) {
            // The masks follow a 40-byte header, or sit inside a larger one.
            if (n < 14 + 40 + 12) return fail(reason, "the file ends inside its header");
            for (int i = 0; i < 3; ++i) h.masks[i] = le32(info + 40 + 4 * i);
            if (infoSize == 40) h.paletteAt = 14 + 40 + (h.compression == kAlphaBitfields ? 16 : 12);
        }
    } else {
        return fail(reason, "the BMP header is of an unknown kind");
    }
    if (!h.paletteAt) h.paletteAt = 14 + std::size_t(infoSize);
    switch (h.bits) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32: break;
    default: return fail(reason, "the BMP has an unsupported number of bits per pixel");
    }
    const bool okCompression = h.compression == kRgb || (h.compression == kRle8 && h.bits == 8)
        || (h.compression == kRle4 && h.bits == 4)
        || ((h.compression == kBitfields || h.compression == kAlphaBitfields) && (h.bits == 16 || h.bits == 32));
    if (!okCompression) return fail(reason, "the BMP's compression is not supported");
    if ((h.compression == kRle8 || h.compression == kRle4) && h.height < 0)
        return fail(reason, "a run-length coded BMP cannot be stored top down");
    return true;
}

// The palette as opaque colors; missing entries read as black.
std::vector<std::uint32_t> readPalette(const std::uint8_t* d, std::size_t n, const Header& h)
{
    const std::size_t maxEntries = std::size_t(1) << h.bits;
    std::size_t count = h.colorsUsed && h.colorsUsed < maxEntries ? h.colorsUsed : maxEntries;
    std::vector<std::uint32_t> pal(maxEntries, OpaqueRgb(0, 0, 0));
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = h.paletteAt + i * h.paletteEntrySize;
        if (at + 3 > n) break;
        pal[i] = OpaqueRgb(d[at + 2], d[at + 1], d[at]);
    }
    return pal;
}

bool decodeRows(const std::uint8_t* d, std::size_t n, std::size_t offset, const Header& h,
                const std::vector<std::uint32_t>& pal, RgbPicture& pic, std::string& reason)
{
    const int w = pic.width, rows = pic.height;
    const std::size_t rowBytes = ((std::size_t(w) * h.bits + 31) / 32) * 4;
    // A file too short for its rows fails here, before any allocation.
    if (offset > n || rowBytes * rows > n - offset) return fail(reason, "the file ends before its last row");
    pic.pixels.resize(std::size_t(w) * rows);

    Channel r, g, b;
    if (h.compression == kBitfields || h.compression == kAlphaBitfields) {
        r = Channel(h.masks[0]);
        g = Channel(h.masks[1]);
        b = Channel(h.masks[2]);
        if (!r.contiguous() || !g.contiguous() || !b.contiguous())
            return fail(reason, "the BMP's color masks are not usable");
    } else if (h.bits == 16) {
        r = Channel(0x7C00);
        g = Channel(0x03E0);
        b = Channel(0x001F);
    } else if (h.bits == 32) {
        r = Channel(0xFF0000);
        g = Channel(0xFF00);
        b = Channel(0xFF);
    }
    for (int row = 0; row < rows; ++row) {
        const std::uint8_t* src = d + offset + rowBytes * row;
        const int y = h.height < 0 ? row : rows - 1 - row;
        std::uint32_t* dst = &pic.pixels[std::size_t(y) * w];
        for (int x = 0; x < w; ++x) {
            switch (h.bits) {
            case 1: dst[x] = pal[(src[x >> 3] >> (7 - (x & 7))) & 1]; break;
            case 4: dst[x] = pal[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15]; break;
            case 8: dst[x] = pal[src[x]]; break;
            case 24: dst[x] = OpaqueRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]); break;
            case 16:
            case 32: {
                const std::uint32_t px = h.bits == 16 ? le16(src + 2 * x) : le32(src + 4 * x);
                dst[x] = OpaqueRgb(r.value(px), g.value(px), b.value(px));
                break;
            }
            }
        }
    }
    return true;
}

// Run-length coded rows, bottom up. Pixels the runs skip keep color 0.
bool decodeRle(const std::uint8_t* d, std::size_t n, std::size_t offset, const Header& h,
               const std::vector<std::uint32_t>& pal, RgbPicture& pic, std::string& reason)
{
    const int w = pic.width, rows = pic.height;
    if (offset >= n) return fail(reason, "the file ends before its pixels");
    pic.pixels.assign(std::size_t(w) * rows, pal[0]);
    const bool four = h.compression == kRle4;
    std::size_t p = offset;
    long long x = 0, row = 0;
    auto put = [&](int index) {
        if (x < w && row < rows) pic.pixels[std::size_t(rows - 1 - row) * w + std::size_t(x)] = pal[index];
        ++x;
    };
    while (row < rows) {
        if (p + 2 > n) return fail(reason, "the file ends inside its pixels");
        const int count = d[p], value = d[p + 1];
        p += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i) put(four ? ((i & 1) ? value & 15 : value >> 4) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++row;
        } else if (value == 1) { // end of picture
            break;
        } else if (value == 2) { // move right and up
            if (p + 2 > n) return fail(reason, "the file ends inside its pixels");
            x += d[p];
            row += d[p + 1];
            p += 2;
        } else { // `value` pixels as they are, padded to a 16-bit boundary
            const std::size_t bytes = four ? (std::size_t(value) + 1) / 2 : std::size_t(value);
            if (p + bytes > n) return fail(reason, "the file ends inside its pixels");
            for (int i = 0; i < value; ++i) put(four ? ((i & 1) ? d[p + i / 2] & 15 : d[p + i / 2] >> 4) : d[p + i]);
            p += (bytes + 1) & ~std::size_t(1);
        }
    }
    return true;
}

} // namespace

bool DecodeBmp(const std::uint8_t* d, std::size_t n, RgbPicture& out, std::string& reason, const PictureLimits& limits)
{
    Header h;
    if (!readHeader(d, n, h, reason)) return false;
    const long long rows = h.height < 0 ? -h.height : h.height;
    if (!CheckPictureLimits(h.width, rows, limits, reason)) return false;
    const std::size_t offset = le32(d + 10);
    std::vector<std::uint32_t> pal;
    if (h.bits <= 8) pal = readPalette(d, n, h);
    else pal.assign(1, OpaqueRgb(0, 0, 0));

    RgbPicture pic;
    pic.width = static_cast<int>(h.width);
    pic.height = static_cast<int>(rows);
    const bool ok = h.compression == kRle8 || h.compression == kRle4 ? decodeRle(d, n, offset, h, pal, pic, reason)
                                                                     : decodeRows(d, n, offset, h, pal, pic, reason);
    if (!ok) return false;
    out = std::move(pic);
    return true;
}

} // namespace qb
