// The primitives on whole threads: inserting, deleting and clearing runs,
// colors, symbols, thickness and labels.
#include "core/draft/quillabydoc.h"

#include "core/draft/undorequests.h"

#include <algorithm>

namespace qb {

namespace {
// Refused rather than cut: a partial insert would silently lose threads.
bool insertFits(int pos, int n, int count)
{
    return pos >= 0 && pos < kMaxThreads && n >= 1 && count + n <= kMaxThreads;
}
DraftPart partOf(bool warp)
{
    return warp ? DraftPart::Threading : DraftPart::Treadling;
}
// Counts or thread sizes of a side changed: its panes lay out anew.
UpdateHint sideHint(bool warp)
{
    return UpdateHint::of(warp ? UpdateHint::Threading : UpdateHint::Treadling, true);
}

UpdateHint rangeHint(bool warp, int first, int last)
{
    return warp ? UpdateHint::ends(first, last) : UpdateHint::picks(first, last);
}
} // namespace

// Records how to bring back threads first..last of every row of a side (values,
// colors, symbols, thick flags) after they were emptied or deleted. Undone
// last first, so these follow the record that empties or deletes them.
void CQuillabyDoc::recordThreadState(Edit e, bool warp, int first, int last)
{
    if (!e.recording()) return;
    const DraftPart part = partOf(warp);
    const int rows = warp ? m_numWarps : m_numWefts;
    for (int r = 0; r < rows; ++r) {
        const Tding* t = row(warp, r);
        if (!t) continue;
        for (int i = first; i <= last && i < t->GetCount(); ++i) {
            if (warp) {
                if (const int s = m_threading[r]->GetShaft(i)) record(e, part, req::setCell(r, i, s), req::nothing());
            } else if (const TreadleSet set = m_treadling[r]->GetSet(i); !set.empty()) {
                record(e, part, req::setPick(r, i, set), req::nothing());
            }
            if (t->GetColor(i) != t->defaultColor())
                record(e, part, req::setColor(r, i, t->GetColor(i)), req::nothing());
            if (t->GetSymbol(i)) record(e, part, req::setSymbol(r, i, t->GetSymbol(i)), req::nothing());
            if (r == 0 && t->GetThick(i)) record(e, part, req::setThick(i, true), req::nothing());
        }
    }
}

// Records how to restore the whole label arrangement of a row. Undo replays
// these last first: remove all, then add back row by row.
void CQuillabyDoc::recordLabels(Edit e, bool warp, int r)
{
    const Tding* t = row(warp, r);
    if (!e.recording() || !t) return;
    std::vector<const Label*> all;
    for (int lr = 0; lr < kLabelRows; ++lr)
        for (const Label& l : t->labelRow(lr)) all.push_back(&l);
    if (all.empty()) return;
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        record(e, partOf(warp), req::label(r, LabelChange::Add, (*it)->start, (*it)->last(), (*it)->text),
               req::nothing());
    record(e, partOf(warp), req::label(r, LabelChange::RemoveAll, 0, 0, {}), req::nothing());
}

bool CQuillabyDoc::InsertThreads(Edit e, Side side, int pos, int n)
{
    const bool warp = IsWarp(side);
    const int count = warp ? numEnds() : numPicks();
    if (!insertFits(pos, n, count) || !rowOk(warp, 0)) return false;
    record(e, partOf(warp), req::deleteThreads(std::min(pos, count), n), req::insertThreads(std::min(pos, count), n));
    const int rows = warp ? m_numWarps : m_numWefts;
    for (int r = 0; r < rows; ++r) row(warp, r)->Insert(pos, 0, n);
    changed(sideHint(warp));
    return true;
}

bool CQuillabyDoc::DeleteThreads(Edit e, Side side, int pos, int n)
{
    const bool warp = IsWarp(side);
    const int count = warp ? numEnds() : numPicks();
    if (pos < 0 || pos >= count || n < 1 || !rowOk(warp, 0)) return false;
    n = std::min(n, count - pos);
    const DraftPart part = partOf(warp);
    const int rows = warp ? m_numWarps : m_numWefts;
    for (int r = 0; r < rows; ++r) {
        record(e, part, req::setDefaultColor(r, row(warp, r)->defaultColor()), req::nothing());
        recordLabels(e, warp, r);
    }
    recordThreadState(e, warp, pos, pos + n - 1);
    record(e, part, req::insertThreads(pos, n), req::deleteThreads(pos, n));
    for (int r = 0; r < rows; ++r) row(warp, r)->Delete(pos, n);
    changed(sideHint(warp));
    return true;
}

bool CQuillabyDoc::ClearThreads(Edit e, Side side, int pos, int n)
{
    const bool warp = IsWarp(side);
    const int count = warp ? numEnds() : numPicks();
    if (pos < 0 || pos >= count || n < 1 || !rowOk(warp, 0)) return false;
    n = std::min(n, count - pos);
    const DraftPart part = partOf(warp);
    const int rows = warp ? m_numWarps : m_numWefts;
    for (int r = 0; r < rows; ++r)
        for (int i = pos; i < pos + n; ++i) {
            if (warp) {
                if (const int s = m_threading[r]->GetShaft(i))
                    record(e, part, req::setCell(r, i, s), req::clearCell(r, i, s));
            } else if (const TreadleSet s = m_treadling[r]->GetSet(i); !s.empty()) {
                record(e, part, req::setPick(r, i, s), req::setPick(r, i, {}));
            }
        }
    for (int r = 0; r < rows; ++r) row(warp, r)->ClearRange(pos, n);
    changed(rangeHint(warp, pos, pos + n - 1));
    return true;
}

bool CQuillabyDoc::SetThreadColors(Edit e, Side side, int first, int last, int color, int r)
{
    const bool warp = IsWarp(side);
    if (first < 0 || last < first || last >= kMaxThreads || !rowOk(warp, r)) return false;
    if (color < 0 || color >= m_palette->count()) return false;
    Tding& t = *row(warp, r);
    const int count = warp ? numEnds() : numPicks();
    bool differs = last >= count;
    for (int i = first; i <= last && !differs; ++i) differs = t.GetColor(i) != color;
    if (!differs) return false;
    const DraftPart part = partOf(warp);
    // The painted color becomes the row's default first, so threads appended
    // now or later take the color painted last. Undone last, after the threads.
    record(e, part, req::setDefaultColor(r, t.defaultColor()), req::setDefaultColor(r, color));
    t.setDefaultColor(color);
    if (last >= count) {
        record(e, part, req::deleteThreads(count, last + 1 - count), req::insertThreads(count, last + 1 - count));
        const int rows = warp ? m_numWarps : m_numWefts;
        for (int k = 0; k < rows; ++k) row(warp, k)->Append(last + 1 - count);
    }
    for (int i = first; i <= last; ++i) {
        const int old = t.GetColor(i);
        if (old != color || i >= count)
            record(e, part, i < count ? req::setColor(r, i, old) : req::nothing(), req::setColor(r, i, color));
        t.SetColor(i, color);
    }
    changed(rangeHint(warp, first, last));
    return true;
}

bool CQuillabyDoc::SetRowDefaultColor(Edit e, Side side, int r, int color)
{
    const bool warp = IsWarp(side);
    if (!rowOk(warp, r) || color < 0 || color >= m_palette->count()) return false;
    Tding* t = row(warp, r);
    if (t->defaultColor() == color) return false;
    record(e, partOf(warp), req::setDefaultColor(r, t->defaultColor()), req::setDefaultColor(r, color));
    t->setDefaultColor(color);
    m_modified = true;
    return true;
}

bool CQuillabyDoc::SetSymbol(Edit e, Side side, int index, int symbol, int r)
{
    const bool warp = IsWarp(side);
    if (!rowOk(warp, r)) return false;
    Tding& t = *row(warp, r);
    if (index < 0 || index >= t.GetCount() || symbol < 0 || symbol > 255) return false;
    if (t.GetSymbol(index) == symbol) return false;
    record(e, partOf(warp), req::setSymbol(r, index, t.GetSymbol(index)), req::setSymbol(r, index, symbol));
    t.SetSymbol(index, symbol);
    changed(rangeHint(warp, index, index));
    return true;
}

bool CQuillabyDoc::SetThick(Edit e, Side side, int index, bool thick)
{
    const bool warp = IsWarp(side);
    Tding* t = row(warp, 0);
    if (!t || index < 0 || index >= t->GetCount()) return false;
    if ((t->GetThick(index) != 0) == thick) return false;
    record(e, partOf(warp), req::setThick(index, !thick), req::setThick(index, thick));
    t->SetThick(index, thick);
    // A thick thread changes the geometry of everything after it.
    changed(sideHint(warp));
    return true;
}

bool CQuillabyDoc::SetRatio(Edit e, Side side, int ratio)
{
    const bool warp = IsWarp(side);
    Tding* t = row(warp, 0);
    if (!t || ratio < kMinRatio || ratio > kMaxRatio) return false;
    if (t->ratio() == ratio) return false;
    record(e, partOf(warp), req::setRatio(t->ratio()), req::setRatio(ratio));
    t->SetRatio(ratio);
    changed(sideHint(warp));
    return true;
}

bool CQuillabyDoc::AddLabel(Edit e, Side side, const Label& label, int r)
{
    const bool warp = IsWarp(side);
    if (!rowOk(warp, r)) return false;
    Tding& t = *row(warp, r);
    if (!t.AddLabel(label)) return false;
    const int last = label.start + label.length - 1;
    const std::string text = label.text.substr(0, kMaxLabelText);
    record(e, partOf(warp), req::label(r, LabelChange::Remove, label.start, last, text),
           req::label(r, LabelChange::Add, label.start, last, text));
    changed(rangeHint(warp, label.start, last));
    return true;
}

bool CQuillabyDoc::SetLabelText(Edit e, Side side, int start, int length, const std::string& text, int r)
{
    const bool warp = IsWarp(side);
    if (!rowOk(warp, r)) return false;
    Tding& t = *row(warp, r);
    const Label* l = t.FindLabel(start, length);
    if (!l || l->text == text.substr(0, kMaxLabelText)) return false;
    const int last = start + length - 1;
    record(e, partOf(warp), req::label(r, LabelChange::SetText, start, last, l->text),
           req::label(r, LabelChange::SetText, start, last, text.substr(0, kMaxLabelText)));
    t.SetLabelText(start, length, text);
    changed(rangeHint(warp, start, last));
    return true;
}

bool CQuillabyDoc::RemoveLabel(Edit e, Side side, int start, int length, int r)
{
    const bool warp = IsWarp(side);
    if (!rowOk(warp, r)) return false;
    Tding& t = *row(warp, r);
    if (!t.FindLabel(start, length)) return false;
    // Removing compacts the rows, so the whole arrangement is what comes back.
    recordLabels(e, warp, r);
    record(e, partOf(warp), req::nothing(), req::label(r, LabelChange::Remove, start, start + length - 1, {}));
    t.RemoveLabel(start, length);
    changed(sideHint(warp));
    return true;
}

bool CQuillabyDoc::RemoveAllLabels(Edit e, Side side, int r)
{
    const bool warp = IsWarp(side);
    if (!rowOk(warp, r)) return false;
    Tding& t = *row(warp, r);
    if (t.LabelRowCount() == 0) return false;
    recordLabels(e, warp, r);
    record(e, partOf(warp), req::nothing(), req::label(r, LabelChange::RemoveAll, 0, 0, {}));
    t.ClearLabels();
    changed(sideHint(warp));
    return true;
}

} // namespace qb
