#include "core/transform/floatsearch.h"

#include "core/draft/draftstep.h"
#include "core/draft/palettetools.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/messages.h"

namespace qb {

FloatSearch::FloatSearch(const CQuillabyDoc& doc, FloatDirection direction, const FloatCriteria& criteria)
    : m_direction(direction)
{
    const bool warp = direction == FloatDirection::Warp;
    FloatThreads t = FindFloatThreads(doc, criteria, warp, !warp);
    m_flags = warp ? std::move(t.ends) : std::move(t.picks);
    m_found = warp ? t.endCount : t.pickCount;
}

bool FloatSearch::has(int thread) const
{
    return thread >= 0 && thread < static_cast<int>(m_flags.size()) && m_flags[thread];
}

int FloatSearch::next(int position) const
{
    for (int i = std::max(position + 1, 0); i < static_cast<int>(m_flags.size()); ++i)
        if (m_flags[i]) return i;
    return -1;
}

int FloatSearch::prev(int position) const
{
    if (position < 0) return -1;
    for (int i = std::min(position - 1, static_cast<int>(m_flags.size()) - 1); i >= 0; --i)
        if (m_flags[i]) return i;
    return -1;
}

FloatLength FloatThresholdLength(const CQuillabyDoc& doc, FloatDirection direction, int threshold)
{
    const bool warp = direction == FloatDirection::Warp;
    const bool metric = doc.units() == 1;
    FloatLength out;
    out.sett = warp ? doc.warpSett() : doc.weftSett();
    out.length = threshold * (warp ? doc.warpSpacing() : doc.weftSpacing());
    out.lengthUnit = metric ? "cm." : "in";
    out.settUnit = warp ? (metric ? "ends/cm" : "epi") : (metric ? "picks/cm" : "ppi");
    return out;
}

CommandResult MarkFloat(Edit e, CQuillabyDoc& doc, FloatDirection direction, int thread, COLORREF color,
                        IPrompter& prompter)
{
    const bool warp = direction == FloatDirection::Warp;
    Tding* row = warp ? static_cast<Tding*>(doc.raw().threadingMutable(0)) : doc.raw().treadlingMutable(0);
    if (!row || thread < 0 || thread >= row->GetCount()) return CommandResult::noChange();
    if (!ColorsFit(doc.palette(), {color})) return CommandResult::refused(prompter, msg::paletteLimit());
    DraftStep step(e, doc);
    ColorPalette& pal = doc.raw().paletteMutable();
    const int index = pal.add(color, true);
    row->SetColor(thread, index);
    row->setDefaultColor(index);
    step.commit();
    return CommandResult::doneResult();
}

} // namespace qb
