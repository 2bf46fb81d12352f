#pragma once

#include "core/graphic/drawdownimage.h"
#include "core/picture/picturesource.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace qb {

class CQuillabyDoc;
class DrawdownRows;

// The whole drawdown picture as a picture source: rendered a strip of rows at
// a time, so a 32768 x 32768 drawdown is written without holding it whole. At
// one pixel per cell the rows come straight from the drawdown bits as palette
// indexes: 1 bit in warp and weft modes or with one warp and one weft color,
// else as few bits as the draft's thread colors need.
class DrawdownSource : public PictureSource {
public:
    // The document must stay unchanged while the source is used.
    DrawdownSource(const CQuillabyDoc& doc, const DrawdownStyle& style);
    ~DrawdownSource() override;

    int width() const override { return m_width; }
    int height() const override { return m_height; }
    void row(int y, std::uint32_t* out) override;
    int indexedDepth() const override { return m_depth; }
    std::vector<std::uint32_t> indexedPalette() const override { return m_palette; }
    void indexedRow(int y, std::uint8_t* packed) override;

    // Width and height the picture would have, without building anything.
    static void PictureSize(const CQuillabyDoc& doc, const DrawdownStyle& style, long long& width, long long& height);

private:
    const CQuillabyDoc& m_doc;
    DrawdownStyle m_style;
    std::unique_ptr<DrawdownRows> m_rows;
    ThreadLayout m_ends, m_picks;
    int m_width = 0, m_height = 0;
    int m_depth = 0;          // bits per pixel of indexed rows, 0: none
    bool m_twoColors = false; // index = the cell's bit itself
    std::vector<std::uint32_t> m_palette;
    std::vector<std::uint8_t> m_warpIndex, m_weftIndex; // per end and pick (several colors)
    std::vector<std::uint64_t> m_bits;
    std::vector<std::uint8_t> m_indexRow;
    std::vector<std::uint32_t> m_strip;
    int m_stripY = 0, m_stripRows = 0, m_stripCap = 0;
};

} // namespace qb
