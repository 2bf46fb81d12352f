#pragma once

#include "core/graphic/drawdownimage.h"
#include "core/picture/picturesource.h"

#include <string>
#include <vector>

namespace qb {

class CQuillabyDoc;

// The top right corner of another picture (end 1 is at the right of a
// drawdown, pick 1 at the top): a window of `width` x `height` pixels.
class CornerSource : public PictureSource {
public:
    CornerSource(PictureSource& src, int width, int height);
    int width() const override { return m_width; }
    int height() const override { return m_height; }
    void row(int y, std::uint32_t* out) override;

private:
    PictureSource& m_src;
    int m_width, m_height;
    std::vector<std::uint32_t> m_line;
};

// How a draft's thumbnail is drawn for a longest side of `maxSide` pixels:
// the colored drawdown with cells as large as let the whole cloth fit (at
// most 16 pixels, interlaced from 6, flat cells without the pane's gaps), at least 2 pixels from 96 up so the
// weave stays visible, and then only the corner that fits.
DrawdownStyle ThumbnailStyle(const CQuillabyDoc& doc, int maxSide);

// Writes that thumbnail as a PNG, whatever the file's extension, no wider
// and no taller than `maxSide`. False with a message for the user on failure.
bool WriteDraftThumbnail(const CQuillabyDoc& doc, const std::string& path, int maxSide, std::string& error);

} // namespace qb
