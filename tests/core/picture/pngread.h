#pragma once

// Reads back the PNG files our writer makes (filter 0 only), checking every CRC.
#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace qbtest {

inline std::vector<std::uint8_t> readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::uint32_t be32(const std::uint8_t* p)
{
    return (p[0] << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

inline bool readPng(const std::string& path, int& w, int& h, std::vector<std::uint32_t>& px)
{
    const std::vector<std::uint8_t> f = readAll(path);
    if (f.size() < 8 || f[1] != 'P') return false;
    std::size_t pos = 8;
    int depth = 0, type = 0;
    std::vector<std::uint32_t> palette;
    std::vector<std::uint8_t> z;
    while (pos + 12 <= f.size()) {
        const std::uint32_t n = be32(&f[pos]);
        const std::string t(reinterpret_cast<const char*>(&f[pos + 4]), 4);
        const std::uint8_t* d = &f[pos + 8];
        if (crc32(crc32(0, &f[pos + 4], 4), d, n) != be32(d + n)) return false;
        if (t == "IHDR") {
            w = int(be32(d));
            h = int(be32(d + 4));
            depth = d[8];
            type = d[9];
        } else if (t == "PLTE") {
            for (std::uint32_t i = 0; i + 2 < n; i += 3)
                palette.push_back(0xFF000000 | (d[i] << 16) | (d[i + 1] << 8) | d[i + 2]);
        } else if (t == "IDAT") {
            z.insert(z.end(), d, d + n);
        }
        pos += 12 + n;
    }
    const std::size_t rowBytes = type == 3 ? (std::size_t(w) * depth + 7) / 8 : 3 * std::size_t(w);
    std::vector<std::uint8_t> raw((rowBytes + 1) * h);
    uLongf len = raw.size();
    if (uncompress(raw.data(), &len, z.data(), z.size()) != Z_OK || len != raw.size()) return false;
    px.assign(std::size_t(w) * h, 0);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* r = &raw[y * (rowBytes + 1)];
        if (r[0] != 0) return false;
        ++r;
        for (int x = 0; x < w; ++x) {
            std::uint32_t c;
            if (type == 3) {
                const int bit = x * depth;
                const int idx = (r[bit / 8] >> (8 - depth - bit % 8)) & ((1 << depth) - 1);
                c = palette.at(idx);
            } else {
                c = 0xFF000000 | (r[3 * x] << 16) | (r[3 * x + 1] << 8) | r[3 * x + 2];
            }
            px[std::size_t(y) * w + x] = c;
        }
    }
    return true;
}

} // namespace qbtest
