#include "core/picture/scanlines.h"

#include <zlib.h>

#include <algorithm>

namespace qb {

bool UsableIndexedSource(const PictureSource& src)
{
    const int depth = src.indexedDepth();
    if (depth != 1 && depth != 2 && depth != 4 && depth != 8) return false;
    const std::size_t colors = src.indexedPalette().size();
    return colors > 0 && colors <= (std::size_t(1) << depth);
}

ScanLines::ScanLines(PictureSource& src, bool indexed)
    : m_src(src)
    , m_indexed(indexed)
    , m_rowBytes(indexed ? (static_cast<std::size_t>(src.width()) * src.indexedDepth() + 7) / 8
                         : 3 * static_cast<std::size_t>(src.width()))
{
    if (!indexed) m_argb.resize(static_cast<std::size_t>(src.width()));
}

void ScanLines::fetch(int y, std::uint8_t* dst)
{
    if (m_indexed) {
        m_src.indexedRow(y, dst);
        return;
    }
    m_src.row(y, m_argb.data());
    for (const std::uint32_t c : m_argb) {
        *dst++ = std::uint8_t(c >> 16);
        *dst++ = std::uint8_t(c >> 8);
        *dst++ = std::uint8_t(c);
    }
}

int ScanLines::deflateLevel()
{
    const int h = m_src.height();
    const double raw = double(m_rowBytes) * h;
    if (raw <= 64.0 * 1024 * 1024) return 6;
    // Four runs of consecutive rows, about 256 KiB each, spread over the picture.
    const int runRows = static_cast<int>(
        std::clamp<std::size_t>((256u << 10) / std::max<std::size_t>(m_rowBytes, 1), 1, static_cast<std::size_t>(h)));
    std::vector<std::uint8_t> rows(m_rowBytes * static_cast<std::size_t>(runRows));
    std::vector<std::uint8_t> packed(compressBound(static_cast<uLong>(rows.size())));
    double in = 0, out = 0;
    for (int run = 0; run < 4; ++run) {
        const int y0 = static_cast<int>((static_cast<long long>(h - runRows) * run) / 3);
        for (int i = 0; i < runRows; ++i) fetch(y0 + i, rows.data() + m_rowBytes * static_cast<std::size_t>(i));
        uLongf len = static_cast<uLongf>(packed.size());
        if (compress2(packed.data(), &len, rows.data(), static_cast<uLong>(rows.size()), 1) != Z_OK) return 1;
        in += double(rows.size());
        out += double(len);
    }
    return out > 0.6 * in ? 0 : 1;
}

} // namespace qb
