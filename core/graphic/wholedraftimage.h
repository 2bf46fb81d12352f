#pragma once

#include "core/draft/threadlayout.h"
#include "core/graphic/drawdownimage.h"
#include "core/picture/picturesource.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace qb {

class CQuillabyDoc;
class DrawdownRows;

// How the whole draft (threading, tieup, treadling and drawdown) is drawn
// into one picture: the picture exports and `quillaby-cli render --whole`.
struct WholeDraftStyle {
    DrawdownStyle drawdown; // end width, pick height, mark size, orientation, drawdown looks
    int shaftHeight = 0;    // 0: the pick height
    int treadleWidth = 0;   // 0: the end width
    bool threadingHidden = false, tieupHidden = false, treadlingHidden = false;
    bool threadingBarHidden = false, treadlingBarHidden = false;
    bool printing = false; // heavy lines black and a heavy outer border
    int paneGap = -1;      // white pixels between the panes; < 0: from the cell size
    int period = 4;        // heavy grid line every `period` threads (< 1 reads as 4)
};

struct PaneRect {
    long long x = 0, y = 0, w = 0, h = 0;
};

// Where the panes lie in the whole picture. A grid pane of n cells with its
// lines is n * cell + 1 pixels; the drawdown is n * cell (it draws no lines).
struct WholeDraftLayout {
    PaneRect threading, tieup, treadling, drawdown;
    long long width = 0, height = 0;
    int threadingRows = 0;    // shafts, one empty row, warp color bars, label rows
    int treadlingColumns = 0; // treadles (shafts in liftplan form), empty, weft bars, label columns
    int warpLabelRows = 0, weftLabelRows = 0;
};

WholeDraftLayout ComputeWholeDraftLayout(const CQuillabyDoc& doc, const WholeDraftStyle& style);

// A threading, tieup or treadling cell that holds a mark, or the span of a
// label, where the picture puts it (whole-picture pixels, inside the grid
// lines). Pages set numbers, letters, symbols and label text on them.
struct MarkedCell {
    enum Kind { Threading, Tieup, Treadling, WarpLabel, WeftLabel } kind = Threading;
    long long x = 0, y = 0, w = 0, h = 0;
    int value = 0;  // shaft or treadle, 1-based (tieup: the shaft)
    int row = 0;    // warp or weft (labels: the label row)
    int thread = 0; // end or pick (tieup: the treadle; labels: the label's index in its row)
};
// Called for each marked cell the region touches; returning true leaves the
// cell blank in the picture, for the caller to draw.
using MarkedCellSink = std::function<bool(const MarkedCell&)>;

// Paints the region of the whole picture that starts at (x0, y0) into `out`.
void RenderWholeDraft(const CQuillabyDoc& doc, const DrawdownRows& rows, const WholeDraftStyle& style,
                      const WholeDraftLayout& layout, long long x0, long long y0, PixelBuffer out,
                      const MarkedCellSink* sink = nullptr);

// The whole draft as a picture source, rendered a strip at a time.
class WholeDraftSource : public PictureSource {
public:
    WholeDraftSource(const CQuillabyDoc& doc, const WholeDraftStyle& style);
    ~WholeDraftSource() override;
    int width() const override { return m_width; }
    int height() const override { return m_height; }
    const WholeDraftLayout& layout() const { return m_layout; }
    void row(int y, std::uint32_t* out) override;

private:
    const CQuillabyDoc& m_doc;
    WholeDraftStyle m_style;
    WholeDraftLayout m_layout;
    std::unique_ptr<DrawdownRows> m_rows;
    int m_width = 0, m_height = 0;
    std::vector<std::uint32_t> m_strip;
    int m_stripY = 0, m_stripRows = 0, m_stripCap = 0;
};

} // namespace qb
