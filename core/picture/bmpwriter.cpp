// Uncompressed 24-bit BMP, rows bottom up as the format wants them.
#include "core/picture/outputfile.h"
#include "core/picture/picturesource.h"
#include "core/picture/picturewriter.h"

#include <cmath>
#include <vector>

namespace qb {

namespace {
void put16(std::uint8_t* p, std::uint32_t v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
void put32(std::uint8_t* p, std::uint32_t v)
{
    put16(p, v & 0xFFFF);
    put16(p + 2, v >> 16);
}
} // namespace

bool WriteBmp(const std::string& path, PictureSource& src, std::string& error, const PictureOptions& options)
{
    const int w = src.width(), h = src.height();
    if (!CheckPictureSize(w, h, error)) return false;
    const std::size_t rowBytes = (3 * static_cast<std::size_t>(w) + 3) & ~std::size_t(3);
    const unsigned long long fileSize = 54ULL + static_cast<unsigned long long>(rowBytes) * h;
    if (fileSize > 0xFFFFFFFFULL) {
        error = "Image too large for a BMP file (" + std::to_string(w) + " x " + std::to_string(h) + " pixels).";
        return false;
    }
    OutputFile f;
    if (!f.open(path, error)) return false;
    std::uint8_t head[54] = {'B', 'M'};
    put32(head + 2, static_cast<std::uint32_t>(fileSize));
    put32(head + 10, 54);
    put32(head + 14, 40);
    put32(head + 18, static_cast<std::uint32_t>(w));
    put32(head + 22, static_cast<std::uint32_t>(h)); // positive: bottom-up rows
    put16(head + 26, 1);
    put16(head + 28, 24);
    put32(head + 34, static_cast<std::uint32_t>(rowBytes * h));
    const auto perMetre = static_cast<std::uint32_t>(options.dotsPerInch > 0 ? std::lround(options.dotsPerInch / 0.0254)
                                                                             : 3780); // 96 dpi
    put32(head + 38, perMetre);
    put32(head + 42, perMetre);
    f.write(head, sizeof head);

    std::vector<std::uint32_t> argb(static_cast<std::size_t>(w));
    std::vector<std::uint8_t> line(rowBytes, 0);
    for (int y = h - 1; y >= 0 && !f.failed(); --y) {
        src.row(y, argb.data());
        std::uint8_t* p = line.data();
        for (int x = 0; x < w; ++x) {
            const std::uint32_t c = argb[x];
            *p++ = std::uint8_t(c);
            *p++ = std::uint8_t(c >> 8);
            *p++ = std::uint8_t(c >> 16);
        }
        f.write(line.data(), rowBytes);
    }
    return f.commit(error);
}

} // namespace qb
