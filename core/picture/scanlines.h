#pragma once

#include "core/picture/picturesource.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qb {

// Scan lines as the file formats store them: packed palette indexes when the
// source offers them, else R, G, B bytes.
class ScanLines {
public:
    ScanLines(PictureSource& src, bool indexed);
    bool indexed() const { return m_indexed; }
    std::size_t rowBytes() const { return m_rowBytes; }
    void fetch(int y, std::uint8_t* dst);
    // The zlib level for these rows: 6 for ordinary pictures; for huge ones 1
    // when samples of consecutive rows compress well, else 0 (stored), since
    // deflating incompressible data (a random draft) costs seconds for nothing.
    int deflateLevel();

private:
    PictureSource& m_src;
    bool m_indexed;
    std::size_t m_rowBytes;
    std::vector<std::uint32_t> m_argb;
};

// Whether the source's palette fits the depth it offers.
bool UsableIndexedSource(const PictureSource& src);

} // namespace qb
