#include "core/graphic/drawdownsource.h"

#include "core/draft/drawdown.h"
#include "core/draft/quillabydoc.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>

namespace qb {

namespace {

constexpr std::size_t kStripPixels = std::size_t(1) << 22; // 16 MiB of ARGB per strip

std::optional<COLORREF> uniformColor(const CQuillabyDoc& doc, bool warp, int count)
{
    if (count <= 0) return std::nullopt;
    const COLORREF first = warp ? WarpColor(doc, 0, 0) : WeftColor(doc, 0, 0);
    for (int i = 1; i < count; ++i)
        if ((warp ? WarpColor(doc, i, 0) : WeftColor(doc, i, 0)) != first) return std::nullopt;
    return first;
}

} // namespace

void DrawdownSource::PictureSize(const CQuillabyDoc& doc, const DrawdownStyle& style, long long& width,
                                 long long& height)
{
    const ThreadLayout ends(*doc.threading(0), doc.numEnds());
    const ThreadLayout picks(*doc.treadling(0), doc.numPicks());
    width = static_cast<long long>(ends.totalCells()) * std::max(1, style.cellWidth);
    height = static_cast<long long>(picks.totalCells()) * std::max(1, style.cellHeight);
}

DrawdownSource::DrawdownSource(const CQuillabyDoc& doc, const DrawdownStyle& style)
    : m_doc(doc)
    , m_style(style)
    , m_rows(std::make_unique<DrawdownRows>(doc, false))
    , m_ends(*doc.threading(0), doc.numEnds())
    , m_picks(*doc.treadling(0), doc.numPicks())
{
    m_style.cellWidth = std::max(1, m_style.cellWidth);
    m_style.cellHeight = std::max(1, m_style.cellHeight);
    long long w = 0, h = 0;
    PictureSize(doc, m_style, w, h);
    const long long cap = std::numeric_limits<int>::max();
    m_width = static_cast<int>(std::min(w, cap));
    m_height = static_cast<int>(std::min(h, cap));

    // One bit per cell is enough when every cell is one of two colors.
    const bool plainCells = m_style.cellWidth == 1 && m_style.cellHeight == 1 && !m_style.hidden
        && m_style.currentPick < 0 && m_style.selFirstEnd < 0 && m_ends.totalCells() == m_ends.count()
        && m_picks.totalCells() == m_picks.count() && m_rows->ends() == m_ends.count()
        && m_rows->picks() == m_picks.count();
    const bool classModes = m_style.coloring == 1 || m_style.coloring == 2;
    if (plainCells && doc.activeCorrelation() == 0) {
        if (classModes) {
            // Bit set: the warp is on top (face). Warp mode draws that black.
            const std::uint32_t on = m_style.coloring == 1 ? kDrawdownBlack : kDrawdownWhite;
            const std::uint32_t off = m_style.coloring == 1 ? kDrawdownWhite : kDrawdownBlack;
            m_palette = {off, on};
            m_twoColors = true;
        } else if (const auto warp = uniformColor(doc, true, doc.numEnds()),
                   weft = uniformColor(doc, false, doc.numPicks());
                   warp && weft) {
            m_palette = {PixelOf(*weft), PixelOf(*warp)};
            m_twoColors = true;
        } else {
            // Every cell shows its end's or its pick's color: index them all.
            auto indexOf = [&](COLORREF c) {
                const std::uint32_t px = PixelOf(c);
                auto it = std::find(m_palette.begin(), m_palette.end(), px);
                if (it != m_palette.end()) return static_cast<std::uint8_t>(it - m_palette.begin());
                m_palette.push_back(px);
                return static_cast<std::uint8_t>(std::min<std::size_t>(m_palette.size() - 1, 255));
            };
            m_warpIndex.resize(static_cast<std::size_t>(doc.numEnds()));
            m_weftIndex.resize(static_cast<std::size_t>(doc.numPicks()));
            for (int e = 0; e < doc.numEnds(); ++e)
                m_warpIndex[static_cast<std::size_t>(e)] = indexOf(WarpColor(doc, e, 0));
            for (int p = 0; p < doc.numPicks(); ++p)
                m_weftIndex[static_cast<std::size_t>(p)] = indexOf(WeftColor(doc, p, 0));
        }
        const std::size_t colors = m_palette.size();
        m_depth = colors <= 2 ? 1 : colors <= 4 ? 2 : colors <= 16 ? 4 : colors <= 256 ? 8 : 0;
        if (m_depth) m_bits.resize(static_cast<std::size_t>(m_rows->words()) + 1);
        else m_palette.clear();
    }
}

DrawdownSource::~DrawdownSource() = default;

void DrawdownSource::indexedRow(int y, std::uint8_t* packed)
{
    const int n = m_rows->ends();
    const std::size_t bytes = (static_cast<std::size_t>(n) + 7) / 8;
    const std::size_t rowBytes = (static_cast<std::size_t>(n) * static_cast<std::size_t>(m_depth) + 7) / 8;
    if (!m_depth || y < 0 || y >= m_height) {
        std::memset(packed, 0, m_depth ? rowBytes : bytes);
        return;
    }
    const int pick = m_style.drawnUp ? m_picks.count() - 1 - y : y;
    const DrawdownRows::Row r = m_rows->row(pick);
    const int K = m_rows->words();
    // Per word: the face's "warp on top" bit, turned over for the back. A
    // blank cell has no warp to show from either side.
    for (int k = 0; k < K; ++k) {
        const int left = n - 64 * k;
        const std::uint64_t valid = left >= 64 ? ~std::uint64_t(0) : ((std::uint64_t(1) << left) - 1);
        std::uint64_t v = r.warpUp[k];
        if (m_style.back) v = ~v & ~r.blank[k];
        // Stored in reverse word order: end 1 is the rightmost pixel.
        m_bits[static_cast<std::size_t>(K - 1 - k)] = v & valid;
    }
    m_bits[static_cast<std::size_t>(K)] = 0;
    if (!m_twoColors) {
        // Several colors: the cell's bit picks its end's or its pick's color.
        m_indexRow.resize(static_cast<std::size_t>(n) + 8);
        const std::uint8_t weft = m_weftIndex[static_cast<std::size_t>(pick)];
        for (int x = 0; x < n; ++x) {
            const int e = n - 1 - x;
            const std::uint8_t on = std::uint8_t((m_bits[static_cast<std::size_t>(K - 1 - (e >> 6))] >> (e & 63)) & 1);
            const std::uint8_t sel = std::uint8_t(0u - on);
            m_indexRow[static_cast<std::size_t>(x)] =
                std::uint8_t((m_warpIndex[static_cast<std::size_t>(e)] & sel) | (weft & ~sel));
        }
        std::fill(m_indexRow.begin() + n, m_indexRow.end(), 0);
        const std::uint8_t* idx = m_indexRow.data();
        const int perByte = 8 / m_depth;
        for (std::size_t b = 0; b < rowBytes; ++b, idx += perByte) {
            unsigned v = 0;
            for (int i = 0; i < perByte; ++i) v = (v << m_depth) | idx[i];
            packed[b] = std::uint8_t(v);
        }
        return;
    }
    // Pixel x is end n-1-x; within a word the bits already run right to left,
    // so only the padding above the last end has to be shifted out.
    const int pad = 64 * K - n;
    std::size_t out = 0;
    for (int m = 0; m < K && out < bytes; ++m) {
        std::uint64_t word = m_bits[static_cast<std::size_t>(m)];
        if (pad) word = (word << pad) | (m_bits[static_cast<std::size_t>(m) + 1] >> (64 - pad));
        for (int b = 7; b >= 0 && out < bytes; --b) packed[out++] = std::uint8_t(word >> (8 * b));
    }
}

void DrawdownSource::row(int y, std::uint32_t* out)
{
    if (y < 0 || y >= m_height) {
        std::fill_n(out, m_width, kDrawdownSilver);
        return;
    }
    if (y < m_stripY || y >= m_stripY + m_stripRows) {
        if (m_stripCap == 0) {
            m_stripCap = static_cast<int>(std::clamp<std::size_t>(kStripPixels / static_cast<std::size_t>(m_width), 1,
                                                                  static_cast<std::size_t>(m_height)));
            m_strip.resize(static_cast<std::size_t>(m_stripCap) * static_cast<std::size_t>(m_width));
        }
        // Whichever way the writer walks, the strip runs on in that direction.
        int start = y;
        if (m_stripRows > 0 && y < m_stripY) start = std::max(0, y - m_stripCap + 1);
        m_stripY = start;
        m_stripRows = std::min(m_stripCap, m_height - start);
        RenderDrawdown(m_doc, *m_rows, m_style, m_ends, m_picks, 0, start,
                       {m_strip.data(), m_width, m_stripRows, m_width});
    }
    std::memcpy(out, m_strip.data() + static_cast<std::size_t>(y - m_stripY) * static_cast<std::size_t>(m_width),
                sizeof(std::uint32_t) * static_cast<std::size_t>(m_width));
}

} // namespace qb
