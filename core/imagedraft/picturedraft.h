#pragma once

#include "core/picture/pictureops.h"
#include "core/picture/rgbpicture.h"
#include "core/transform/command.h"

#include <functional>

namespace qb {

struct NewDraftDefaults;

inline constexpr const char* kNeedGridSquares =
    "You'll need to set the number of grid squares\nfor the image before generating a draft from it\n"
    "(use Edit->Grid Squares).";

// Where the grid squares of a picture are looked at. Squares are cw x ch
// pixels (at least 1 x 1); each is judged by a small box about its centre,
// of 1/16 of the square (at least one pixel) to each side. End 1 is the
// rightmost column of squares, pick 1 the top row.
class ProbeGrid {
public:
    ProbeGrid(int width, int height, GridSquares grid);

    double squareWidth() const { return m_cw; }
    double squareHeight() const { return m_ch; }
    int probeHalfWidth() const { return m_px; }
    int probeHalfHeight() const { return m_py; }
    // The probe centre of end `end` (0-based): a column from the left; and of
    // pick `pick`: a row counted from the bottom of the picture.
    int centreColumn(int end) const;
    int centreRowFromBottom(int pick) const;
    // Dark: some pixel of the box has a grey value below 128. Pixels of the box
    // outside the picture count as white.
    bool dark(const RgbPicture& picture, int end, int pick) const;

private:
    int m_width, m_height;
    double m_cw, m_ch;
    int m_hx, m_hy, m_px, m_py;
};

// Told how far a conversion has come (ends done of all ends); returns false
// to cancel it.
using PictureProgress = std::function<bool(int done, int total)>;

struct PictureDraft {
    NewDraftResult made; // the new draft, or none when refused or cancelled
    bool full = false;   // stopped at 63 shafts or 127 treadles: later squares skipped
    bool cancelled = false;
};

// "Generate Draft": a new draft with one end per column and one pick per row
// of grid squares, whose drawdown lifts the warp over every dark square. The
// cells are set one by one by the fabric-analysis cell operation, which keeps
// the draft reduced as it goes; the draft is then tidied. A draft that would
// need more than 63 shafts or 127 treadles stops there (`full`). Fewer than 2
// squares either way is refused with kNeedGridSquares. The new draft starts
// from `defaults` (as File New) and ends in their form and shed.
PictureDraft GenerateDraft(const RgbPicture& picture, GridSquares grid, const NewDraftDefaults& defaults,
                           IPrompter& prompter, const PictureProgress& progress = {});

} // namespace qb
