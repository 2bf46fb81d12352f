#include "core/draft/undorequests.h"

#include "core/draft/draftsnapshot.h"
#include "core/draft/quillabydoc.h"

namespace qb {
namespace req {

namespace {
UndoRequest make(UndoOp op, int row, int pos, int count, int value)
{
    UndoRequest r;
    r.op = op;
    r.row = row;
    r.pos = pos;
    r.count = count;
    r.value = value;
    return r;
}
} // namespace

UndoRequest nothing()
{
    return {};
}
UndoRequest insertThreads(int pos, int n)
{
    return make(UndoOp::InsertThreads, 0, pos, n, 0);
}
UndoRequest deleteThreads(int pos, int n)
{
    return make(UndoOp::DeleteThreads, 0, pos, n, 0);
}
UndoRequest clearCell(int row, int pos, int value)
{
    return make(UndoOp::ClearCell, row, pos, 0, value);
}
UndoRequest setCell(int row, int pos, int value)
{
    return make(UndoOp::SetCell, row, pos, 0, value);
}
UndoRequest setSymbol(int row, int pos, int symbol)
{
    return make(UndoOp::SetSymbol, row, pos, 0, symbol);
}
UndoRequest setThick(int pos, bool thick)
{
    return make(UndoOp::SetThick, 0, pos, 0, thick ? 1 : 0);
}
UndoRequest setRatio(int ratio)
{
    return make(UndoOp::SetRatio, 0, 0, 0, ratio);
}
UndoRequest setDefaultColor(int row, int color)
{
    return make(UndoOp::SetDefaultColor, row, 0, 0, color);
}
UndoRequest setColor(int row, int pos, int color)
{
    return make(UndoOp::SetColor, row, pos, 0, color);
}
UndoRequest label(int row, LabelChange kind, int first, int last, const std::string& text)
{
    UndoRequest r = make(UndoOp::Label, row, first, 0, 0);
    r.label = {kind, first, last, text};
    return r;
}
UndoRequest setPick(int row, int pick, TreadleSet set)
{
    UndoRequest r = make(UndoOp::SetSet, row, pick, 0, 0);
    r.set = set;
    return r;
}
UndoRequest setTieupColumn(int treadle, TUPTYPE shafts)
{
    UndoRequest r = make(UndoOp::SetSet, 0, treadle, 0, 0);
    r.shafts = shafts;
    return r;
}

} // namespace req

namespace {

void applyLabel(CQuillabyDoc& doc, Side side, const UndoRequest& r)
{
    const LabelPayload& l = r.label;
    const int length = l.last - l.first + 1;
    switch (l.change) {
    case LabelChange::Add: doc.AddLabel(kUnrecorded, side, Label{l.first, length, l.text}, r.row); break;
    case LabelChange::Remove: doc.RemoveLabel(kUnrecorded, side, l.first, length, r.row); break;
    case LabelChange::SetText: doc.SetLabelText(kUnrecorded, side, l.first, length, l.text, r.row); break;
    case LabelChange::RemoveAll: doc.RemoveAllLabels(kUnrecorded, side, r.row); break;
    }
}

// Requests on whole threads, the same for both sides.
bool applyThreadRequest(CQuillabyDoc& doc, Side side, const UndoRequest& r)
{
    switch (r.op) {
    case UndoOp::InsertThreads: doc.InsertThreads(kUnrecorded, side, r.pos, r.count); return true;
    case UndoOp::DeleteThreads: doc.DeleteThreads(kUnrecorded, side, r.pos, r.count); return true;
    case UndoOp::SetSymbol: doc.SetSymbol(kUnrecorded, side, r.pos, r.value, r.row); return true;
    case UndoOp::SetThick: doc.SetThick(kUnrecorded, side, r.pos, r.value != 0); return true;
    case UndoOp::SetRatio: doc.SetRatio(kUnrecorded, side, r.value); return true;
    case UndoOp::SetDefaultColor: doc.SetRowDefaultColor(kUnrecorded, side, r.row, r.value); return true;
    case UndoOp::SetColor: doc.SetThreadColors(kUnrecorded, side, r.pos, r.pos, r.value, r.row); return true;
    case UndoOp::Label: applyLabel(doc, side, r); return true;
    default: return false;
    }
}

} // namespace

void ApplyUndoRequest(CQuillabyDoc& doc, const UndoRequest& r)
{
    switch (r.part) {
    case DraftPart::Threading:
        if (applyThreadRequest(doc, Side::Threading, r)) return;
        if (r.op == UndoOp::ClearCell || (r.op == UndoOp::SetCell && r.value == 0))
            doc.ClearThreadingCell(kUnrecorded, r.pos, r.row);
        else if (r.op == UndoOp::SetCell) doc.SetThreadingCell(kUnrecorded, r.pos, r.value, r.row);
        return;
    case DraftPart::Treadling:
        if (applyThreadRequest(doc, Side::Treadling, r)) return;
        if (r.op == UndoOp::ClearCell) doc.ClearTreadlingCell(kUnrecorded, r.pos, r.value, r.row);
        else if (r.op == UndoOp::SetCell) doc.SetTreadlingCell(kUnrecorded, r.pos, r.value, r.row);
        else if (r.op == UndoOp::SetSet) doc.SetPickSet(kUnrecorded, r.pos, r.set, r.row);
        return;
    case DraftPart::Tieup:
        if (r.op == UndoOp::ClearCell) doc.ClearTieupCell(kUnrecorded, r.pos, r.value);
        else if (r.op == UndoOp::SetCell) doc.SetTieupCell(kUnrecorded, r.pos, r.value);
        else if (r.op == UndoOp::SetSet) doc.SetTieupColumn(kUnrecorded, r.pos, r.shafts);
        return;
    }
}

void ApplyUndoMsg(CQuillabyDoc& doc, UndoMsg& msg, bool undo)
{
    if (msg.swap) {
        // What the document holds now is the way back the other direction.
        auto now = DraftSnapshot::Take(doc, msg.swap->parts);
        msg.swap->Restore(doc);
        msg.swap = std::move(now);
        return;
    }
    const UndoRequest& r = undo ? msg.undo : msg.redo;
    if (r.op != UndoOp::Nothing) ApplyUndoRequest(doc, r);
}

} // namespace qb
