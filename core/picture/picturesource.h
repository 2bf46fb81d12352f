#pragma once

#include <cstdint>
#include <vector>

namespace qb {

// Supplies a picture one scan line at a time, so that a picture far larger
// than memory (a whole 32768 x 32768 drawdown) never has to be held whole.
class PictureSource {
public:
    virtual ~PictureSource() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
    // Scan line y (0 = top) as 0xAARRGGBB pixels, width() of them. Writers ask
    // top to bottom, except BMP, which stores its rows bottom up.
    virtual void row(int y, std::uint32_t* out) = 0;

    // A picture of few colors may also offer its rows as palette indexes
    // packed most significant bit first at 1, 2, 4 or 8 bits per pixel, which
    // PNG and TIFF store directly. 0: not offered.
    virtual int indexedDepth() const { return 0; }
    virtual std::vector<std::uint32_t> indexedPalette() const { return {}; }
    virtual void indexedRow(int /*y*/, std::uint8_t* /*packed*/) {}
};

// A picture held in memory (0xAARRGGBB, `stride` pixels per row).
class BufferSource : public PictureSource {
public:
    BufferSource(const std::uint32_t* pixels, int width, int height, int stride)
        : m_pixels(pixels)
        , m_width(width)
        , m_height(height)
        , m_stride(stride)
    {}
    int width() const override { return m_width; }
    int height() const override { return m_height; }
    void row(int y, std::uint32_t* out) override;

private:
    const std::uint32_t* m_pixels;
    int m_width, m_height, m_stride;
};

} // namespace qb
