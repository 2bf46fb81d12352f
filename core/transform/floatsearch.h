#pragma once

#include "core/draft/colorpalette.h"
#include "core/transform/command.h"

#include <algorithm>
#include <string>
#include <vector>

namespace qb {

class CQuillabyDoc;

// Floats follow what the cloth shows: the face is what the drawdown shows in
// the draft's shed direction. A blank cell (an unthreaded end, a correlated
// pick that lifts nothing) belongs to no float: it ends a warp float, and along
// a pick it is skipped. Runs never wrap from the last thread to the first.

enum class FloatDirection { Warp, Weft };

struct FloatCriteria {
    int threshold = 2;     // threads; a run of one thread never counts
    bool faceOnly = false; // floats on the back are not counted
    int minLength() const { return std::max(threshold, 2); }
};

// One float: a run of one end over picks (warp) or of one pick over ends
// (weft) on the same side of the cloth. 0-based, `first`..`last` inclusive;
// `length` counts the cells of the run (blank cells skipped along a pick are
// not counted).
struct FloatRun {
    FloatDirection direction = FloatDirection::Warp;
    int thread = 0;
    bool face = true;
    int first = 0;
    int last = 0;
    int length = 0;
    bool operator==(const FloatRun&) const = default;
};

// Which ends and picks carry a float of at least the minimum length. Computed
// a word of 64 ends at a time from the bit-parallel drawdown rows.
struct FloatThreads {
    std::vector<bool> ends;  // one flag per end; empty when warp was not asked
    std::vector<bool> picks; // one flag per pick; empty when weft was not asked
    int endCount = 0;
    int pickCount = 0;
};
FloatThreads FindFloatThreads(const CQuillabyDoc& doc, const FloatCriteria& criteria, bool warp = true,
                              bool weft = true);

// Every float: warp floats by end and first pick, then weft floats by pick and
// first end.
std::vector<FloatRun> ListFloats(const CQuillabyDoc& doc, const FloatCriteria& criteria);

// The floats of one end (warp) or pick (weft) in order along it, as
// ListFloats gives them: what the Float Search dialog outlines.
std::vector<FloatRun> ThreadFloats(const CQuillabyDoc& doc, FloatDirection direction, int thread,
                                   const FloatCriteria& criteria);

// What the Float Search dialog steps through: the threads of one direction
// that carry a float. Positions are thread indexes, -1 for none.
class FloatSearch {
public:
    FloatSearch(const CQuillabyDoc& doc, FloatDirection direction, const FloatCriteria& criteria);

    FloatDirection direction() const { return m_direction; }
    int found() const { return m_found; }
    bool has(int thread) const;
    // Show Next: the first thread after `position` with a float (from the
    // first thread when position is -1); -1 when there is none.
    int next(int position) const;
    // Show Prev: the last thread before `position`; a position past the last
    // thread starts at the last thread; from none there is nothing before.
    int prev(int position) const;

private:
    FloatDirection m_direction;
    std::vector<bool> m_flags;
    int m_found = 0;
};

// The threshold as a length of cloth: threads times the thread spacing (the
// spacing of a sett that is not positive is 0.1, so nothing divides by zero).
struct FloatLength {
    double length = 0;
    double sett = 0;
    std::string lengthUnit; // "cm." or "in"
    std::string settUnit;   // "ends/cm" or "epi" (warp), "picks/cm" or "ppi" (weft)
};
FloatLength FloatThresholdLength(const CQuillabyDoc& doc, FloatDirection direction, int threshold);

// "Mark float": the thread takes the mark color (found in the palette or
// added), which also becomes its row's current color: one undo step. A full
// palette without the color is refused with the palette-limit message.
inline constexpr COLORREF kDefaultMarkColor = 0x00FFFF; // RGB 255, 255, 0
CommandResult MarkFloat(Edit e, CQuillabyDoc& doc, FloatDirection direction, int thread, COLORREF color,
                        IPrompter& prompter);

} // namespace qb
