#pragma once

#include "core/draft/colorpalette.h"
#include "core/draft/tuptype.h"

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace qb {

class CQuillabyDoc;

// The drawdown is never stored: these compute it from the model on demand.

enum class Cell : std::uint8_t { WeftUp = 0, WarpUp = 1, Blank = 2 };

struct ColoredCell {
    COLORREF top = 0;
    COLORREF second = 0;
    bool warpUp = false;
};

// Shafts lifted for pick p of weft row k: the liftplan row in liftplan form,
// else the union of the tieup columns of the pick's treadles.
TUPTYPE LiftedShafts(const CQuillabyDoc& doc, int pick, int weftRow = 0);

// Whether an end on `shaft` (0 = unthreaded) shows on top under lift L.
inline bool WarpUp(int shaft, TUPTYPE lifted, bool risingShed)
{
    const bool lifts = shaft != 0 && lifted.test(shaft);
    return risingShed ? lifts : !lifts;
}
inline bool WeftUp(int shaft, TUPTYPE lifted, bool risingShed)
{
    return !WarpUp(shaft, lifted, risingShed);
}

// Palette color of a thread (black when its index is not in the palette).
COLORREF WarpColor(const CQuillabyDoc& doc, int end, int warpRow = 0);
COLORREF WeftColor(const CQuillabyDoc& doc, int pick, int weftRow = 0);

// The black-and-white cell (end e, pick p), honoring color-bar correlation.
Cell DrawdownCell(const CQuillabyDoc& doc, int end, int pick, bool back = false);
// The colored cell; from the back the warp-up flag is negated and the colors
// swap. A blank cell shows the weft's color from both sides.
ColoredCell DrawdownColoredCell(const CQuillabyDoc& doc, int end, int pick, bool back = false);

// Fast whole-row drawdown: 64 ends per machine word. Built once for a draft
// state (rebuild after edits); each distinct lift is turned into a row once
// and reused for every pick that has it.
class DrawdownRows {
public:
    explicit DrawdownRows(const CQuillabyDoc& doc, bool back = false);
    ~DrawdownRows();

    int ends() const { return m_ends; }
    int picks() const { return m_picks; }
    int words() const { return m_words; }
    // Whether the rows show the back of the cloth.
    bool back() const { return m_back; }

    struct Row {
        const std::uint64_t* warpUp; // bit e: the warp is on top at end e
        const std::uint64_t* blank;  // bit e: nothing to show
    };
    // Valid until the next call of row() on this object.
    Row row(int pick) const;
    // The lift that decides pick p (the union over weft rows with weft correlation).
    TUPTYPE effectiveLift(int pick) const { return m_lifts[pick]; }

private:
    void computeRow(TUPTYPE lift, std::uint64_t* up, std::uint64_t* blank) const;

    int m_ends = 0;
    int m_picks = 0;
    int m_words = 0;
    int m_shafts = 0;
    int m_mode = 0; // active correlation side
    bool m_rising = true;
    bool m_back = false;
    bool m_singleShaftPerEnd = true;
    std::vector<std::uint64_t> m_shaftMasks; // [shaft-1][word]: ends on that shaft
    std::vector<std::uint64_t> m_threaded;   // ends on some shaft (any row in warp mode)
    std::vector<std::uint64_t> m_validEnds;  // bits for 0..ends-1
    std::vector<TUPTYPE> m_lifts;            // per pick

    // Distinct lifts seen so far, each with its computed row (bounded).
    mutable std::unordered_map<std::uint64_t, std::size_t> m_cacheIndex;
    mutable std::vector<std::uint64_t> m_cache;
    mutable std::vector<std::uint64_t> m_scratch;
    std::size_t m_cacheLimitRows = 0;
};

} // namespace qb
