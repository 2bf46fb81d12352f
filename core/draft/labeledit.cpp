#include "core/draft/labeledit.h"

#include "core/draft/quillabydoc.h"

#include <algorithm>

namespace qb {

std::string LabelTextProblem(const std::string& text)
{
    if (text.size() > static_cast<std::size_t>(kMaxLabelText))
        return "A label can hold at most " + std::to_string(kMaxLabelText) + " characters.";
    if (text.find_first_of(";[]") != std::string::npos || text.find("//") != std::string::npos)
        return "A label cannot contain ';', '[', ']' or '//'.";
    return {};
}

LabelOutcome ApplyLabelRequest(Edit src, CQuillabyDoc& doc, bool warp, const LabelRequest& req)
{
    const int count = warp ? doc.numEnds() : doc.numPicks();
    if (count == 0) return LabelOutcome::Nothing;
    const int from = std::clamp(req.from - 1, 0, count - 1);
    const int to = std::clamp(req.to - 1, 0, count - 1);
    if (from > to) return LabelOutcome::Nothing;
    if (!req.remove && !LabelTextProblem(req.text).empty()) return LabelOutcome::Refused;
    const Tding* seq = warp ? static_cast<const Tding*>(doc.threading(0)) : doc.treadling(0);
    const int length = to - from + 1;
    // A label moved to another span leaves its old one.
    bool moved = false;
    if (req.oldLength > 0 && (req.oldStart != from || req.oldLength != length)
        && seq->FindLabel(req.oldStart, req.oldLength)) {
        if (req.remove)
            return doc.RemoveLabel(src, SideOf(warp), req.oldStart, req.oldLength, 0) ? LabelOutcome::Removed
                                                                                      : LabelOutcome::Nothing;
        doc.RemoveLabel(src, SideOf(warp), req.oldStart, req.oldLength, 0);
        moved = true;
    }
    if (seq->FindLabel(from, length)) {
        if (req.remove || req.text.empty())
            return doc.RemoveLabel(src, SideOf(warp), from, length, 0) ? LabelOutcome::Removed : LabelOutcome::Nothing;
        return doc.SetLabelText(src, SideOf(warp), from, length, req.text, 0) ? LabelOutcome::Changed
                                                                              : LabelOutcome::Nothing;
    }
    if (req.remove || req.text.empty()) return moved ? LabelOutcome::Removed : LabelOutcome::Nothing;
    return doc.AddLabel(src, SideOf(warp), Label{from, length, req.text}, 0)
        ? (moved ? LabelOutcome::Changed : LabelOutcome::Added)
        : LabelOutcome::Nothing;
}

} // namespace qb
