#include "core/graphic/draftthumbnail.h"

#include "core/graphic/drawdownsource.h"
#include "core/picture/picturewriter.h"

#include <algorithm>
#include <cstring>

namespace qb {

CornerSource::CornerSource(PictureSource& src, int width, int height)
    : m_src(src)
    , m_width(std::min(width, src.width()))
    , m_height(std::min(height, src.height()))
    , m_line(static_cast<std::size_t>(std::max(0, src.width())))
{}

void CornerSource::row(int y, std::uint32_t* out)
{
    m_src.row(y, m_line.data());
    std::memcpy(out, m_line.data() + (m_line.size() - static_cast<std::size_t>(m_width)),
                sizeof(std::uint32_t) * static_cast<std::size_t>(m_width));
}

DrawdownStyle ThumbnailStyle(const CQuillabyDoc& doc, int maxSide)
{
    DrawdownStyle style;
    style.coloring = 0;
    style.cellWidth = style.cellHeight = 1;
    long long w = 0, h = 0;
    DrawdownSource::PictureSize(doc, style, w, h);
    const long long longest = std::max<long long>(1, std::max(w, h));
    const int least = maxSide >= 96 ? 2 : 1;
    const int cell = static_cast<int>(std::clamp<long long>(maxSide / longest, least, 16));
    style.cellWidth = style.cellHeight = std::min(cell, std::max(1, maxSide));
    style.interlace = cell >= 6;
    // Flat cells fill their whole square: the pane's silver gaps would eat
    // half of a 2-pixel cell. Interlaced bands keep the screen's proportions.
    style.markSize = style.interlace ? cell * 2 / 3 : cell;
    return style;
}

bool WriteDraftThumbnail(const CQuillabyDoc& doc, const std::string& path, int maxSide, std::string& error)
{
    if (maxSide < 1) {
        error = "the thumbnail size must be at least 1 pixel";
        return false;
    }
    const DrawdownStyle style = ThumbnailStyle(doc, maxSide);
    long long w = 0, h = 0;
    DrawdownSource::PictureSize(doc, style, w, h);
    if (w <= 0 || h <= 0) {
        error = "the draft has no drawdown to show";
        return false;
    }
    DrawdownSource full(doc, style);
    CornerSource corner(full, maxSide, maxSide);
    return WritePng(path, corner, error);
}

} // namespace qb
