// PNG written with zlib alone: the core and the command line stay free of
// any GUI library.
#include "core/picture/outputfile.h"
#include "core/picture/picturesource.h"
#include "core/picture/picturewriter.h"
#include "core/picture/scanlines.h"

#include <zlib.h>

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace qb {

namespace {

void put32(std::uint8_t* p, std::uint32_t v)
{
    p[0] = std::uint8_t(v >> 24);
    p[1] = std::uint8_t(v >> 16);
    p[2] = std::uint8_t(v >> 8);
    p[3] = std::uint8_t(v);
}

bool writeChunk(OutputFile& f, const char* type, const std::uint8_t* data, std::size_t n)
{
    std::uint8_t head[8];
    put32(head, static_cast<std::uint32_t>(n));
    std::memcpy(head + 4, type, 4);
    uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(type), 4);
    if (n) crc = crc32_z(crc, data, n);
    std::uint8_t tail[4];
    put32(tail, static_cast<std::uint32_t>(crc));
    return f.write(head, 8) && f.write(data, n) && f.write(tail, 4);
}

// Deflate state that always ends, whatever path leaves the writer.
struct Deflater {
    z_stream z{};
    bool live = false;
    ~Deflater()
    {
        if (live) deflateEnd(&z);
    }
};

} // namespace

bool WritePng(const std::string& path, PictureSource& src, std::string& error, const PictureOptions& options)
{
    const int w = src.width(), h = src.height();
    if (!CheckPictureSize(w, h, error)) return false;
    const bool indexed = UsableIndexedSource(src);
    const int depth = indexed ? src.indexedDepth() : 8;
    const std::vector<std::uint32_t> palette = indexed ? src.indexedPalette() : std::vector<std::uint32_t>();
    ScanLines lines(src, indexed);
    const std::size_t rowBytes = lines.rowBytes();

    OutputFile f;
    if (!f.open(path, error)) return false;
    static const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    f.write(signature, 8);
    std::uint8_t ihdr[13];
    put32(ihdr, static_cast<std::uint32_t>(w));
    put32(ihdr + 4, static_cast<std::uint32_t>(h));
    ihdr[8] = std::uint8_t(indexed ? depth : 8);
    ihdr[9] = indexed ? 3 : 2; // palette or RGB
    ihdr[10] = ihdr[11] = ihdr[12] = 0;
    writeChunk(f, "IHDR", ihdr, sizeof ihdr);
    if (indexed) {
        std::vector<std::uint8_t> plte;
        for (std::uint32_t c : palette) {
            plte.push_back(std::uint8_t(c >> 16));
            plte.push_back(std::uint8_t(c >> 8));
            plte.push_back(std::uint8_t(c));
        }
        writeChunk(f, "PLTE", plte.data(), plte.size());
    }
    if (options.dotsPerInch > 0) {
        std::uint8_t phys[9];
        const auto perMetre = static_cast<std::uint32_t>(std::lround(options.dotsPerInch / 0.0254));
        put32(phys, perMetre);
        put32(phys + 4, perMetre);
        phys[8] = 1;
        writeChunk(f, "pHYs", phys, sizeof phys);
    }

    Deflater d;
    if (deflateInit(&d.z, lines.deflateLevel()) != Z_OK) {
        error = WriteErrorText(path, "out of memory");
        return false;
    }
    d.live = true;

    std::vector<std::uint8_t> line(rowBytes + 1, 0); // filter byte 0: none
    std::vector<std::uint8_t> out(1 << 18);
    auto drain = [&](int flush) {
        do {
            d.z.next_out = out.data();
            d.z.avail_out = static_cast<uInt>(out.size());
            const int rc = deflate(&d.z, flush);
            if (rc == Z_STREAM_ERROR) return false;
            const std::size_t have = out.size() - d.z.avail_out;
            if (have && !writeChunk(f, "IDAT", out.data(), have)) return false;
        } while (d.z.avail_out == 0);
        return true;
    };
    for (int y = 0; y < h && !f.failed(); ++y) {
        lines.fetch(y, line.data() + 1);
        d.z.next_in = line.data();
        d.z.avail_in = static_cast<uInt>(line.size());
        if (!drain(Z_NO_FLUSH)) break;
    }
    d.z.next_in = nullptr;
    d.z.avail_in = 0;
    if (!f.failed()) {
        int rc;
        do {
            d.z.next_out = out.data();
            d.z.avail_out = static_cast<uInt>(out.size());
            rc = deflate(&d.z, Z_FINISH);
            const std::size_t have = out.size() - d.z.avail_out;
            if (have) writeChunk(f, "IDAT", out.data(), have);
        } while (rc == Z_OK && !f.failed());
    }
    writeChunk(f, "IEND", nullptr, 0);
    return f.commit(error);
}

} // namespace qb
