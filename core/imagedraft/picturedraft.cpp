#include "core/imagedraft/picturedraft.h"

#include "core/draft/quillabydoc.h"
#include "core/imagedraft/groupedanalysis.h"
#include "core/transform/messages.h"
#include "core/transform/optimize.h"
#include "core/transform/sequencetools.h"
#include "core/transform/tieupops.h"

#include <algorithm>

namespace qb {

ProbeGrid::ProbeGrid(int width, int height, GridSquares grid)
    : m_width(width)
    , m_height(height)
    , m_cw(std::max(1.0, double(width) / std::max(1, grid.across)))
    , m_ch(std::max(1.0, double(height) / std::max(1, grid.down)))
    , m_hx(static_cast<int>(m_cw * 0.5))
    , m_hy(static_cast<int>(m_ch * 0.5))
    , m_px(std::max(1, static_cast<int>(m_cw * 0.0625)))
    , m_py(std::max(1, static_cast<int>(m_ch * 0.0625)))
{}

int ProbeGrid::centreColumn(int end) const
{
    return m_width - static_cast<int>(end * m_cw) - m_hx;
}

int ProbeGrid::centreRowFromBottom(int pick) const
{
    return m_height - static_cast<int>(pick * m_ch) - m_hy;
}

bool ProbeGrid::dark(const RgbPicture& picture, int end, int pick) const
{
    const int cx = centreColumn(end), cy = centreRowFromBottom(pick);
    // A narrow picture puts probes at its edge or past it: only the pixels
    // that exist are read.
    const int x0 = std::max(cx - m_px, 0), x1 = std::min(cx + m_px, picture.width);
    const int y0 = std::max(cy - m_py, 0), y1 = std::min(cy + m_py, picture.height);
    for (int y = y0; y < y1; ++y) {
        const std::uint32_t* row = &picture.pixels[static_cast<std::size_t>(picture.height - 1 - y) * picture.width];
        for (int x = x0; x < x1; ++x)
            if (GreyValue(row[x]) < 128) return true;
    }
    return false;
}

namespace {

// Optimize on both sides, then the loom cut to what is used.
void tidy(CQuillabyDoc& doc)
{
    ClearUnusedTreadles(doc);
    MergeDuplicateShafts(doc);
    MoveUnusedShaftsUp(doc);
    ClearUnusedShaftRows(doc);
    MergeDuplicateTreadles(doc);
    MoveUnusedTreadlesRight(doc);
    const int shafts = std::max(1, FindUsedShafts(doc)), treadles = std::max(1, FindUsedTreadles(doc));
    if (shafts != doc.numShafts()) doc.SetNumShafts(kUnrecorded, shafts);
    if (treadles != doc.numTreadles()) doc.SetNumTreadles(kUnrecorded, treadles);
}

} // namespace

PictureDraft GenerateDraft(const RgbPicture& picture, GridSquares grid, const NewDraftDefaults& defaults,
                           IPrompter& prompter, const PictureProgress& progress)
{
    PictureDraft out;
    if (grid.across < 2 || grid.down < 2) {
        out.made.result = CommandResult::refused(prompter, kNeedGridSquares);
        return out;
    }
    if (grid.across > kMaxThreads) {
        out.made.result = CommandResult::refused(prompter, msg::endsRequired(grid.across));
        return out;
    }
    if (grid.down > kMaxThreads) {
        out.made.result = CommandResult::refused(prompter, msg::picksRequired(grid.down));
        return out;
    }
    if (picture.empty()) return out;

    // The cells are set in tieup form and rising shed, where a tie is a
    // lifted warp; the draft takes the defaults' form and shed at the end.
    NewDraftDefaults working = defaults;
    working.liftplan = false;
    working.risingShed = true;
    // The cells are set on a stand-in that changes as the whole draft would
    // (see GroupedAnalysis), so a large grid takes time in proportion to its
    // dark squares, not to their number times the grid's size.
    GroupedAnalysis analysis(grid.across, grid.down, working);
    const ProbeGrid probes(picture.width, picture.height, grid);
    for (int end = 0; end < grid.across && !out.full; ++end) {
        if (progress && !progress(end, grid.across)) {
            out.cancelled = true;
            out.made.result = CommandResult::declined();
            return out;
        }
        for (int pick = 0; pick < grid.down; ++pick) {
            if (!probes.dark(picture, end, pick)) continue;
            if (analysis.shaftsInUse() >= kMaxShafts - 1 || analysis.treadlesInUse() >= kMaxTreadles - 1
                || analysis.lift(end, pick) == CellOutcome::NoRoom) {
                out.full = true;
                break;
            }
        }
    }
    if (progress) progress(grid.across, grid.across);
    auto doc = analysis.finish();

    tidy(*doc);
    if (!defaults.risingShed) {
        // The same cloth in sinking shed: every tie becomes its opposite.
        doc->raw().tieupMutable().complement();
        doc->raw().setRisingShed(false);
    }
    if (defaults.liftplan) {
        FixedPrompter yes(true);
        ConvertToLiftplan(kUnrecorded, *doc, yes);
    }
    out.made = NewDraftResult::made(std::move(doc));
    return out;
}

} // namespace qb
