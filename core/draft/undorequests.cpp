#include "undorequests.h"

#include "draftsnapshot.h"
#include "quillabydoc.h"

namespace qb {
namespace req {

namespace {
UndoRequest make(std::uint32_t msg, std::uint32_t p1, std::uint32_t p2)
{
    UndoRequest r;
    r.msg = msg;
    r.p1 = p1;
    r.p2 = p2;
    return r;
}
std::uint32_t packCountRow(int n, int row) { return (std::uint32_t(n) & 0xFFFF) | (std::uint32_t(row & 0xF) << 16); }
int minusOne(int value) { return value > 0 ? value - 1 : 0xFFFF; }
} // namespace

UndoRequest nothing() { return make(kReqNothing, 0, 0); }
UndoRequest insertThreads(int pos, int n, int value, int row)
{
    return make(kReqInsertThreads, packCountRow(n, row), UndoRequest::pack(pos, minusOne(value)));
}
UndoRequest deleteThreads(int pos, int n) { return make(kReqDeleteThreads, std::uint32_t(n), UndoRequest::pack(pos, 0)); }
UndoRequest clearCell(int row, int pos, int value)
{
    return make(kReqClearCell, std::uint32_t(row), UndoRequest::pack(pos, minusOne(value)));
}
UndoRequest setCell(int row, int pos, int value)
{
    return make(kReqSetCell, std::uint32_t(row), UndoRequest::pack(pos, minusOne(value)));
}
UndoRequest setSymbol(int pos, int symbol, int row) { return make(kReqSetSymbol, std::uint32_t(symbol), UndoRequest::pack(pos, row)); }
UndoRequest setThick(int pos, bool thick) { return make(kReqSetThick, thick ? 1u : 0u, UndoRequest::pack(pos, 0)); }
UndoRequest setDefaultColor(int row, int color) { return make(kReqSetDefaultColor, std::uint32_t(color), std::uint32_t(row)); }
UndoRequest label(LabelChange kind, int first, int last, const std::string& text)
{
    UndoRequest r = make(kReqLabel, static_cast<std::uint32_t>(kind), 0);
    r.label = {first, last, text};
    return r;
}
UndoRequest setColor(bool warp, int pos, int row, int color)
{
    return make(kReqSetColor, std::uint32_t(color), warp ? UndoRequest::pack(pos, row) : UndoRequest::pack(row, pos));
}
UndoRequest setPick(int pick, int row, TreadleSet set)
{
    UndoRequest r = make(kReqSetSet, packCountRow(pick, row), 0);
    r.set = set;
    return r;
}
UndoRequest setTieupColumn(int treadle, TUPTYPE shafts)
{
    UndoRequest r = make(kReqSetSet, std::uint32_t(treadle), 0);
    r.shafts = shafts;
    return r;
}

UndoRequest restoreDraft(std::shared_ptr<const DraftSnapshot> snapshot)
{
    UndoRequest r = make(kReqRestoreDraft, 0, 0);
    r.snapshot = std::move(snapshot);
    return r;
}

} // namespace req

namespace {

void applyLabel(CQuillabyDoc& doc, bool warp, const UndoRequest& r)
{
    const LabelPayload& l = r.label;
    const int length = l.last - l.first + 1;
    switch (static_cast<LabelChange>(r.p1)) {
    case LabelChange::Add: doc.AddLabel(warp, Label{l.first, length, l.text}); break;
    case LabelChange::Remove: doc.RemoveLabel(warp, l.first, length); break;
    case LabelChange::SetText: doc.SetLabelText(warp, l.first, length, l.text); break;
    case LabelChange::RemoveAll: doc.RemoveAllLabels(warp); break;
    }
}

// Requests common to the threading and treadling panes.
bool applyThreadRequest(CQuillabyDoc& doc, bool warp, const UndoRequest& r)
{
    switch (r.msg) {
    case kReqDeleteThreads:
        if (warp) doc.DeleteEnds(r.high16(), int(r.p1));
        else doc.DeletePicks(r.high16(), int(r.p1));
        return true;
    case kReqSetSymbol: doc.SetSymbol(warp, r.high16(), int(r.p1), r.low16()); return true;
    case kReqSetThick: doc.SetThick(warp, r.high16(), r.p1 != 0); return true;
    case kReqSetDefaultColor: doc.SetRowDefaultColor(warp, int(r.p2), int(r.p1)); return true;
    case kReqLabel: applyLabel(doc, warp, r); return true;
    default: return false;
    }
}

} // namespace

void ApplyUndoRequest(CQuillabyDoc& doc, const UndoRequest& r)
{
    if (r.msg == kReqRestoreDraft) {
        if (r.snapshot) r.snapshot->Restore(doc);
        return;
    }
    const int value = req::valueOf(r.low16());
    switch (r.part) {
    case DraftPart::Threading:
        if (applyThreadRequest(doc, true, r)) return;
        switch (r.msg) {
        case kReqInsertThreads:
            doc.InsertEnds(r.high16(), req::lowOf(r.p1), value, req::rowOf(r.p1));
            break;
        case kReqClearCell: doc.ClearThreadingCell(r.high16(), int(r.p1)); break;
        case kReqSetCell:
            if (value) doc.SetThreadingCell(r.high16(), value, int(r.p1));
            else doc.ClearThreadingCell(r.high16(), int(r.p1));
            break;
        case kReqSetColor: doc.SetEndColors(r.high16(), r.high16(), int(r.p1), r.low16()); break;
        default: break;
        }
        return;
    case DraftPart::Treadling:
        if (applyThreadRequest(doc, false, r)) return;
        switch (r.msg) {
        case kReqInsertThreads: {
            TreadleSet set;
            set.set(value);
            doc.InsertPicks(r.high16(), req::lowOf(r.p1), set, req::rowOf(r.p1));
            break;
        }
        case kReqClearCell: doc.ClearTreadlingCell(r.high16(), value, int(r.p1)); break;
        case kReqSetCell: doc.SetTreadlingCell(r.high16(), value, int(r.p1)); break;
        case kReqSetColor: doc.SetPickColors(r.low16(), r.low16(), int(r.p1), r.high16()); break;
        case kReqSetSet: doc.SetPickSet(req::lowOf(r.p1), r.set, req::rowOf(r.p1)); break;
        default: break;
        }
        return;
    case DraftPart::Tieup:
        switch (r.msg) {
        case kReqClearCell: doc.ClearTieupCell(r.high16(), value); break;
        case kReqSetCell: doc.SetTieupCell(r.high16(), value); break;
        case kReqSetSet: doc.SetTieupColumn(int(r.p1), r.shafts); break;
        default: break;
        }
        return;
    }
}

} // namespace qb
