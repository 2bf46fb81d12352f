#include "core/transform/heddlecount.h"

#include "core/draft/quillabydoc.h"

#include <cstdio>

namespace qb {

std::vector<int> HeddleCounts(const CQuillabyDoc& doc)
{
    std::vector<int> counts(static_cast<std::size_t>(doc.numShafts()), 0);
    for (int r = 0; r < doc.numWarps(); ++r)
        for (const std::uint8_t s : doc.threading(r)->values())
            if (s >= 1 && s <= static_cast<int>(counts.size())) ++counts[s - 1];
    return counts;
}

std::string HeddleCountText(const CQuillabyDoc& doc)
{
    std::string out;
    const std::vector<int> counts = HeddleCounts(doc);
    for (std::size_t s = 0; s < counts.size(); ++s) {
        char line[32];
        std::snprintf(line, sizeof line, "%d:\t%6d\n", static_cast<int>(s + 1), counts[s]);
        out += line;
    }
    return out;
}

} // namespace qb
