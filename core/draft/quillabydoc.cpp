#include "quillabydoc.h"

#include "undorequests.h"

#include <algorithm>
#include <cmath>

namespace qb {

CQuillabyDoc::CQuillabyDoc()
{
    DeleteContents();
}

CQuillabyDoc::~CQuillabyDoc() = default;

std::string CQuillabyDoc::programSource()
{
    return "Quillaby, version 8.0.4";
}

void CQuillabyDoc::DeleteContents()
{
    for (auto& t : m_threading) t.reset();
    for (auto& t : m_treadling) t.reset();
    m_tieup = std::make_unique<Tieup>();
    m_palette = std::make_unique<ColorPalette>();
    tieupKeys.clear();
    hasTieupKeys = false;
    m_correlationSide = 0;
    m_numWarps = m_numWefts = 0;
    m_correlationOn = false;
    m_shafts = m_treadles = 0;
    m_liftplan = false;
    m_risingShed = true;
    m_warpSettWhole = m_weftSettWhole = 10;
    m_warpSettFrac = m_weftSettFrac = 0;
    m_units = 0;
    windowTitle.clear();
    title.clear();
    date.clear();
    source = programSource();
    author.clear();
    notes.clear();
    plan = ProjectPlanValues();
    notations = DisplayNotations();
    blocks = BlockSubstitutionParams();
    weaving = WeavingRunState();
    m_history.clear();
    m_modified = false;
}

void CQuillabyDoc::OnNewDocument(const NewDraftDefaults& d)
{
    DeleteContents();
    m_units = d.units == 1 ? 1 : 0;
    plan.loomWaste = std::max(0, d.wasteLength);
    if (m_units == 1) {
        plan.warpQuantityUnit = plan.weftQuantityUnit = 1;
        plan.warpWeightUnit = plan.weftWeightUnit = 2;
    }
    notations = d.notations;

    m_shafts = std::clamp(d.shafts, 1, kMaxShafts);
    m_treadles = std::clamp(d.treadles, 1, kMaxTreadles);
    m_liftplan = d.liftplan;
    if (m_liftplan) m_treadles = m_shafts;
    m_risingShed = d.risingShed;

    m_palette->add(0xFFFFFF, true);
    for (COLORREF c : d.defaultColors) m_palette->add(c, true);

    m_threading[0] = std::make_unique<Threading>(m_shafts);
    m_threading[0]->setDefaultColor(1);
    m_treadling[0] = std::make_unique<Treadling>(m_treadles);
    m_treadling[0]->setDefaultColor(0);
    m_treadling[0]->setMultiple(m_liftplan);

    m_tieup = std::make_unique<Tieup>(m_shafts, m_treadles);
    m_tieup->makeDirect();

    m_correlationSide = 0;
    m_numWarps = m_numWefts = 1;
    m_correlationOn = false;

    m_palette->setLeftColor(0);
    if (m_palette->count() >= 2) m_palette->setRightColor(1);
    m_modified = false;
}

void CQuillabyDoc::EnsureComplete()
{
    // Numbers of warps and wefts never set: count the rows the loader made.
    if (m_numWarps < 1)
        for (int r = 0; r < kMaxRows; ++r)
            if (m_threading[r]) m_numWarps = r + 1;
    if (m_numWefts < 1)
        for (int r = 0; r < kMaxRows; ++r)
            if (m_treadling[r]) m_numWefts = r + 1;
    m_numWarps = std::clamp(m_numWarps, 1, kMaxRows);
    m_numWefts = std::clamp(m_numWefts, 1, kMaxRows);
    // Rows beyond the numbers of warps and wefts are not part of the draft.
    for (int r = m_numWarps; r < kMaxRows; ++r) m_threading[r].reset();
    for (int r = m_numWefts; r < kMaxRows; ++r) m_treadling[r].reset();

    // A loader that found no loom size: take it from the data, at least 1.
    if (m_shafts < 1) {
        int used = 0;
        for (const auto& t : m_threading)
            if (t) used = std::max(used, t->HighestValue());
        if (m_liftplan)
            for (const auto& t : m_treadling)
                if (t) used = std::max(used, t->HighestValue());
        m_shafts = std::clamp(used, 1, kMaxShafts);
    }
    if (m_liftplan) {
        m_treadles = m_shafts;
    } else if (m_treadles < 1) {
        int used = 0;
        for (const auto& t : m_treadling)
            if (t) used = std::max(used, t->HighestValue());
        m_treadles = std::clamp(used, 1, kMaxTreadles);
    }

    for (int r = 0; r < m_numWarps; ++r) {
        if (!m_threading[r]) m_threading[r] = std::make_unique<Threading>(m_shafts);
        else if (m_threading[r]->limit() != m_shafts) m_threading[r]->SetLimit(m_shafts);
    }
    for (int r = 0; r < m_numWefts; ++r) {
        if (!m_treadling[r]) {
            m_treadling[r] = std::make_unique<Treadling>(m_treadles);
        } else if (m_treadling[r]->limit() != m_treadles) {
            m_treadling[r]->SetLimit(m_treadles);
        }
        // Multiple treadles is a setting of the whole treadling.
        m_treadling[r]->setMultiple(m_liftplan || m_treadling[0]->multiple());
    }

    // Every row of a side has the same length.
    int ends = 0, picks = 0;
    for (int r = 0; r < m_numWarps; ++r) ends = std::max(ends, m_threading[r]->GetCount());
    for (int r = 0; r < m_numWefts; ++r) picks = std::max(picks, m_treadling[r]->GetCount());
    for (int r = 0; r < m_numWarps; ++r) m_threading[r]->Append(ends - m_threading[r]->GetCount());
    for (int r = 0; r < m_numWefts; ++r) m_treadling[r]->Append(picks - m_treadling[r]->GetCount());

    if (!m_tieup) m_tieup = std::make_unique<Tieup>(m_shafts, m_treadles);
    if (m_tieup->shaftCount() != m_shafts || m_tieup->treadleCount() != m_treadles) {
        // Keep what the loader read, within the loom's size; no new ties.
        auto t = std::make_unique<Tieup>(m_shafts, m_treadles);
        for (int i = 0; i < m_treadles; ++i) t->setColumn(i, m_tieup->column(i));
        m_tieup = std::move(t);
    }

    // Thread colors index the palette; an empty one would leave them all dangling.
    if (!m_palette) m_palette = std::make_unique<ColorPalette>();
    if (m_palette->count() == 0) {
        m_palette->add(0xFFFFFF, true);
        m_palette->add(0x000000, true);
    }
    if (m_palette->leftColor() >= m_palette->count()) m_palette->setLeftColor(0);
    if (m_palette->rightColor() >= m_palette->count()) m_palette->setRightColor(m_palette->count() > 1 ? 1 : 0);
}

std::unique_ptr<CQuillabyDoc> CQuillabyDoc::Clone() const
{
    auto c = std::make_unique<CQuillabyDoc>();
    for (int r = 0; r < kMaxRows; ++r) {
        if (m_threading[r]) c->m_threading[r] = std::make_unique<Threading>(*m_threading[r]);
        if (m_treadling[r]) c->m_treadling[r] = std::make_unique<Treadling>(*m_treadling[r]);
    }
    c->m_tieup = std::make_unique<Tieup>(*m_tieup);
    c->m_palette = std::make_unique<ColorPalette>(*m_palette);
    for (const auto& k : tieupKeys) c->tieupKeys.push_back(k ? std::make_unique<TieupKey>(*k) : nullptr);
    c->hasTieupKeys = hasTieupKeys;
    c->m_correlationSide = m_correlationSide;
    c->m_numWarps = m_numWarps;
    c->m_numWefts = m_numWefts;
    c->m_correlationOn = m_correlationOn;
    c->m_shafts = m_shafts;
    c->m_treadles = m_treadles;
    c->m_liftplan = m_liftplan;
    c->m_risingShed = m_risingShed;
    c->m_warpSettWhole = m_warpSettWhole;
    c->m_warpSettFrac = m_warpSettFrac;
    c->m_weftSettWhole = m_weftSettWhole;
    c->m_weftSettFrac = m_weftSettFrac;
    c->m_units = m_units;
    c->windowTitle = windowTitle;
    c->title = title;
    c->date = date;
    c->source = source;
    c->author = author;
    c->notes = notes;
    c->plan = plan;
    c->notations = notations;
    c->blocks = blocks;
    c->weaving = weaving;
    return c;
}

const Threading* CQuillabyDoc::threading(int row) const
{
    return row >= 0 && row < kMaxRows ? m_threading[row].get() : nullptr;
}

const Treadling* CQuillabyDoc::treadling(int row) const
{
    return row >= 0 && row < kMaxRows ? m_treadling[row].get() : nullptr;
}

Threading* CQuillabyDoc::threadingMutable(int row)
{
    return row >= 0 && row < kMaxRows ? m_threading[row].get() : nullptr;
}

Treadling* CQuillabyDoc::treadlingMutable(int row)
{
    return row >= 0 && row < kMaxRows ? m_treadling[row].get() : nullptr;
}

void CQuillabyDoc::replaceThreading(int row, std::unique_ptr<Threading> t)
{
    if (row >= 0 && row < kMaxRows) m_threading[row] = std::move(t);
}

void CQuillabyDoc::replaceTreadling(int row, std::unique_ptr<Treadling> t)
{
    if (row >= 0 && row < kMaxRows) m_treadling[row] = std::move(t);
}

void CQuillabyDoc::replaceTieup(std::unique_ptr<Tieup> t)
{
    m_tieup = t ? std::move(t) : std::make_unique<Tieup>();
}

void CQuillabyDoc::setLoomRaw(int shafts, int treadles, bool liftplan)
{
    m_shafts = std::clamp(shafts, 0, kMaxShafts);
    m_treadles = std::clamp(treadles, 0, kMaxTreadles);
    m_liftplan = liftplan;
}

void CQuillabyDoc::setCorrelation(int side, bool on)
{
    m_correlationSide = (side == 1 || side == 2) ? side : 0;
    m_correlationOn = on && m_correlationSide != 0;
}

void CQuillabyDoc::setRowCountsRaw(int warps, int wefts)
{
    m_numWarps = std::clamp(warps, 1, kMaxRows);
    m_numWefts = std::clamp(wefts, 1, kMaxRows);
}

int CQuillabyDoc::activeCorrelation() const
{
    return m_correlationOn ? m_correlationSide : 0;
}

bool CQuillabyDoc::rowOk(bool warp, int row) const
{
    // The primitives act on every row of a side, so all of them must exist.
    const int rows = warp ? m_numWarps : m_numWefts;
    if (row < 0 || row >= rows) return false;
    for (int r = 0; r < rows; ++r)
        if (warp ? !m_threading[r] : !m_treadling[r]) return false;
    return true;
}

void CQuillabyDoc::changed(const UpdateHint& hint)
{
    m_modified = true;
    UpdateAllViews(&hint);
}

// --- undo recording helpers ---

Tding* CQuillabyDoc::row(bool warp, int r) const
{
    if (r < 0 || r >= kMaxRows) return nullptr;
    return warp ? static_cast<Tding*>(m_threading[r].get()) : m_treadling[r].get();
}

namespace {
void record(EditSource src, DraftPart part, UndoRequest undo, UndoRequest redo)
{
    if (!src.recording()) return;
    undo.part = redo.part = part;
    src.group->record(UndoMsg{src.pane, std::move(undo), std::move(redo)});
}
DraftPart sideOf(bool warp) { return warp ? DraftPart::Threading : DraftPart::Treadling; }
} // namespace

void CQuillabyDoc::recordInsert(EditSource src, bool warp, int pos, int n, int value, int r)
{
    record(src, sideOf(warp), req::deleteThreads(pos, n), req::insertThreads(pos, n, value, r));
}

// Records how to bring back threads first..last of every row of a side (values,
// colors, symbols, thick flags) after they were emptied or deleted. Undone
// last first, so these follow the record that empties or deletes them.
void CQuillabyDoc::recordThreadState(EditSource src, bool warp, int first, int last)
{
    if (!src.recording()) return;
    const int rows = warp ? m_numWarps : m_numWefts;
    for (int r = 0; r < rows; ++r) {
        const Tding* t = row(warp, r);
        if (!t) continue;
        for (int i = first; i <= last && i < t->GetCount(); ++i) {
            if (warp) {
                const int s = m_threading[r]->GetShaft(i);
                if (s) record(src, sideOf(warp), req::setCell(r, i, s), req::nothing());
            } else {
                const TreadleSet set = m_treadling[r]->GetSet(i);
                if (!set.empty()) record(src, sideOf(warp), req::setPick(i, r, set), req::nothing());
            }
            if (t->GetColor(i) != t->defaultColor())
                record(src, sideOf(warp), req::setColor(warp, i, r, t->GetColor(i)), req::nothing());
            if (t->GetSymbol(i)) record(src, sideOf(warp), req::setSymbol(i, t->GetSymbol(i), r), req::nothing());
            if (r == 0 && t->GetThick(i)) record(src, sideOf(warp), req::setThick(i, true), req::nothing());
        }
    }
}

// Records how to restore the whole label arrangement of a row. Undo replays
// these last first: remove all, then add back row by row.
void CQuillabyDoc::recordLabels(EditSource src, bool warp, int r)
{
    const Tding* t = row(warp, r);
    if (!src.recording() || !t) return;
    std::vector<const Label*> all;
    for (int lr = 0; lr < kLabelRows; ++lr)
        for (const Label& l : t->labelRow(lr)) all.push_back(&l);
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        record(src, sideOf(warp), req::label(LabelChange::Add, (*it)->start, (*it)->last(), (*it)->text), req::nothing());
    record(src, sideOf(warp), req::label(LabelChange::RemoveAll, 0, 0, {}), req::nothing());
}

// --- threading and treadling cells ---

bool CQuillabyDoc::SetThreadingCell(int end, int shaft, int row, EditSource src)
{
    if (end < 0 || end >= kMaxThreads || !rowOk(true, row) || shaft < 1 || shaft > m_shafts
        || shaft > m_threading[row]->limit())
        return false;
    if (end < numEnds() && m_threading[row]->GetShaft(end) == shaft) return false;
    if (end >= numEnds()) {
        const int at = numEnds(), grow = end + 1 - at;
        recordInsert(src, true, at, grow, 0, row);
        for (int r = 0; r < m_numWarps; ++r) m_threading[r]->Append(grow);
    }
    // An end lies on one shaft: take the shaft away from the other warp rows.
    for (int r = 0; r < m_numWarps; ++r)
        if (r != row && m_threading[r]->GetShaft(end) == shaft) {
            record(src, DraftPart::Threading, req::setCell(r, end, shaft), req::clearCell(r, end, shaft));
            m_threading[r]->ClearValue(end, shaft);
        }
    const int old = m_threading[row]->GetShaft(end);
    record(src, DraftPart::Threading, old ? req::setCell(row, end, old) : req::clearCell(row, end, 0), req::setCell(row, end, shaft));
    m_threading[row]->SetValue(end, shaft);
    changed(UpdateHint::ends(end, end));
    return true;
}

bool CQuillabyDoc::ClearThreadingCell(int end, int row, EditSource src)
{
    if (end < 0 || end >= numEnds() || !rowOk(true, row)) return false;
    const int old = m_threading[row]->GetShaft(end);
    if (old == 0) return false;
    record(src, DraftPart::Threading, req::setCell(row, end, old), req::clearCell(row, end, old));
    m_threading[row]->ClearValue(end, 0);
    changed(UpdateHint::ends(end, end));
    return true;
}

bool CQuillabyDoc::SetPickSet(int pick, TreadleSet set, int row, EditSource src)
{
    if (pick < 0 || pick >= kMaxThreads || !rowOk(false, row)) return false;
    Treadling& t = *m_treadling[row];
    set = set & TreadleSet::firstTreadles(t.limit());
    if (pick < numPicks() && t.GetSet(pick) == set) return false;
    if (pick >= numPicks()) {
        const int at = numPicks(), grow = pick + 1 - at;
        recordInsert(src, false, at, grow, 0, row);
        for (int r = 0; r < m_numWefts; ++r) m_treadling[r]->Append(grow);
    }
    record(src, DraftPart::Treadling, req::setPick(pick, row, t.GetSet(pick)), req::setPick(pick, row, set));
    t.SetSet(pick, set);
    changed(UpdateHint::picks(pick, pick));
    return true;
}

bool CQuillabyDoc::SetTreadlingCell(int pick, int treadle, int row, EditSource src)
{
    if (pick < 0 || pick >= kMaxThreads || !rowOk(false, row)) return false;
    const Treadling& t = *m_treadling[row];
    if (treadle == 0) return true; // treadle 0 means "none": nothing to do
    if (treadle < 1 || treadle > t.limit()) return false;
    TreadleSet next = t.multiple() ? t.GetSet(pick) : TreadleSet();
    next.set(treadle);
    return SetPickSet(pick, next, row, src);
}

bool CQuillabyDoc::ClearTreadlingCell(int pick, int treadle, int row, EditSource src)
{
    if (pick < 0 || pick >= numPicks() || !rowOk(false, row)) return false;
    const Treadling& t = *m_treadling[row];
    if (treadle < 1 || treadle > t.limit() || !t.GetSet(pick).test(treadle)) return false;
    TreadleSet next = t.GetSet(pick);
    next.clear(treadle);
    return SetPickSet(pick, next, row, src);
}

// --- tieup ---

bool CQuillabyDoc::SetTieupCell(int treadle, int shaft, EditSource src)
{
    if (treadle < 0 || treadle >= m_tieup->treadleCount() || shaft < 1 || shaft > m_tieup->shaftCount())
        return false;
    if (m_tieup->cell(treadle, shaft)) return false;
    record(src, DraftPart::Tieup, req::clearCell(0, treadle, shaft), req::setCell(0, treadle, shaft));
    m_tieup->setCell(treadle, shaft);
    m_modified = true;
    UpdateAllViews(nullptr);
    return true;
}

bool CQuillabyDoc::ClearTieupCell(int treadle, int shaft, EditSource src)
{
    if (treadle < 0 || treadle >= m_tieup->treadleCount() || shaft < 1 || shaft > m_tieup->shaftCount())
        return false;
    if (!m_tieup->cell(treadle, shaft)) return false;
    record(src, DraftPart::Tieup, req::setCell(0, treadle, shaft), req::clearCell(0, treadle, shaft));
    m_tieup->clearCell(treadle, shaft);
    m_modified = true;
    UpdateAllViews(nullptr);
    return true;
}

bool CQuillabyDoc::SetTieupColumn(int treadle, TUPTYPE shafts, EditSource src)
{
    if (treadle < 0 || treadle >= m_tieup->treadleCount()) return false;
    shafts &= TUPTYPE::firstShafts(m_tieup->shaftCount());
    if (m_tieup->column(treadle) == shafts) return false;
    record(src, DraftPart::Tieup, req::setTieupColumn(treadle, m_tieup->column(treadle)), req::setTieupColumn(treadle, shafts));
    m_tieup->setColumn(treadle, shafts);
    m_modified = true;
    UpdateAllViews(nullptr);
    return true;
}

// --- inserting, deleting and clearing runs ---

namespace {
// Refused rather than cut: a partial insert would silently lose threads.
bool insertFits(int pos, int n, int count)
{
    return pos >= 0 && pos < kMaxThreads && n >= 1 && count + n <= kMaxThreads;
}
} // namespace

bool CQuillabyDoc::InsertEnds(int pos, int n, int value, int row, EditSource src)
{
    if (!insertFits(pos, n, numEnds()) || !rowOk(true, row) || value < 0 || value > m_shafts
        || value > m_threading[row]->limit())
        return false;
    recordInsert(src, true, std::min(pos, numEnds()), n, value, row);
    for (int r = 0; r < m_numWarps; ++r) m_threading[r]->Insert(pos, r == row ? value : 0, n);
    m_modified = true;
    UpdateAllViews(nullptr);
    return true;
}

bool CQuillabyDoc::InsertPicks(int pos, int n, TreadleSet value, int row, EditSource src)
{
    if (!insertFits(pos, n, numPicks()) || !rowOk(false, row)) return false;
    // The value must fit the row: treadles within its limit, and only one
    // treadle unless multiple treadles are on.
    const Treadling& target = *m_treadling[row];
    if (!(value & ~TreadleSet::firstTreadles(target.limit())).empty()) return false;
    if (!target.multiple() && value.count() > 1) return false;
    const int at = std::min(pos, numPicks());
    // The protocol carries one treadle; a richer set is recorded as its own step.
    const int single = value.count() == 1 ? value.lowest() : 0;
    recordInsert(src, false, at, n, single, row);
    for (int r = 0; r < m_numWefts; ++r) m_treadling[r]->Insert(pos, 0, n);
    if (!value.empty()) {
        if (!single) record(src, DraftPart::Treadling, req::nothing(), req::setPick(at + n - 1, row, value));
        m_treadling[row]->SetSet(at + n - 1, value);
    }
    m_modified = true;
    UpdateAllViews(nullptr);
    return true;
}

bool CQuillabyDoc::DeleteEnds(int pos, int n, EditSource src)
{
    if (pos < 0 || pos >= numEnds() || n < 1 || !rowOk(true, 0)) return false;
    n = std::min(n, numEnds() - pos);
    for (int r = 0; r < m_numWarps; ++r)
        record(src, DraftPart::Threading, req::setDefaultColor(r, m_threading[r]->defaultColor()), req::nothing());
    recordLabels(src, true, 0);
    recordThreadState(src, true, pos, pos + n - 1);
    record(src, DraftPart::Threading, req::insertThreads(pos, n, 0, 0), req::deleteThreads(pos, n));
    for (int r = 0; r < m_numWarps; ++r) m_threading[r]->Delete(pos, n);
    m_modified = true;
    UpdateAllViews(nullptr);
    return true;
}

bool CQuillabyDoc::DeletePicks(int pos, int n, EditSource src)
{
    if (pos < 0 || pos >= numPicks() || n < 1 || !rowOk(false, 0)) return false;
    n = std::min(n, numPicks() - pos);
    for (int r = 0; r < m_numWefts; ++r)
        record(src, DraftPart::Treadling, req::setDefaultColor(r, m_treadling[r]->defaultColor()), req::nothing());
    recordLabels(src, false, 0);
    recordThreadState(src, false, pos, pos + n - 1);
    record(src, DraftPart::Treadling, req::insertThreads(pos, n, 0, 0), req::deleteThreads(pos, n));
    for (int r = 0; r < m_numWefts; ++r) m_treadling[r]->Delete(pos, n);
    m_modified = true;
    UpdateAllViews(nullptr);
    return true;
}

bool CQuillabyDoc::ClearEnds(int pos, int n, EditSource src)
{
    if (pos < 0 || pos >= numEnds() || n < 1 || !rowOk(true, 0)) return false;
    n = std::min(n, numEnds() - pos);
    for (int r = 0; r < m_numWarps; ++r)
        for (int i = pos; i < pos + n; ++i)
            if (const int s = m_threading[r]->GetShaft(i)) record(src, DraftPart::Threading, req::setCell(r, i, s), req::clearCell(r, i, s));
    for (int r = 0; r < m_numWarps; ++r) m_threading[r]->ClearRange(pos, n);
    changed(UpdateHint::ends(pos, pos + n - 1));
    return true;
}

bool CQuillabyDoc::ClearPicks(int pos, int n, EditSource src)
{
    if (pos < 0 || pos >= numPicks() || n < 1 || !rowOk(false, 0)) return false;
    n = std::min(n, numPicks() - pos);
    for (int r = 0; r < m_numWefts; ++r)
        for (int i = pos; i < pos + n; ++i)
            if (const TreadleSet s = m_treadling[r]->GetSet(i); !s.empty())
                record(src, DraftPart::Treadling, req::setPick(i, r, s), req::setPick(i, r, {}));
    for (int r = 0; r < m_numWefts; ++r) m_treadling[r]->ClearRange(pos, n);
    changed(UpdateHint::picks(pos, pos + n - 1));
    return true;
}

// --- colors, symbols, thickness, labels ---

bool CQuillabyDoc::setThreadColors(bool warp, int first, int last, int color, int r, EditSource src)
{
    if (first < 0 || last < first || last >= kMaxThreads || !rowOk(warp, r)) return false;
    if (color < 0 || color >= m_palette->count()) return false;
    Tding& t = *row(warp, r);
    const int count = warp ? numEnds() : numPicks();
    bool differs = last >= count;
    for (int i = first; i <= last && !differs; ++i) differs = t.GetColor(i) != color;
    if (!differs) return false;
    const DraftPart part = sideOf(warp);
    // The painted color becomes the row's default first, so threads appended
    // now or later take the color painted last. Undone last, after the threads.
    record(src, part, req::setDefaultColor(r, t.defaultColor()), req::setDefaultColor(r, color));
    t.setDefaultColor(color);
    if (last >= count) {
        recordInsert(src, warp, count, last + 1 - count, 0, r);
        const int rows = warp ? m_numWarps : m_numWefts;
        for (int k = 0; k < rows; ++k) row(warp, k)->Append(last + 1 - count);
    }
    for (int i = first; i <= last; ++i) {
        const int old = t.GetColor(i);
        if (old != color || i >= count)
            record(src, part, i < count ? req::setColor(warp, i, r, old) : req::nothing(),
                   req::setColor(warp, i, r, color));
        t.SetColor(i, color);
    }
    changed(warp ? UpdateHint::ends(first, last) : UpdateHint::picks(first, last));
    return true;
}

bool CQuillabyDoc::SetEndColors(int first, int last, int color, int row, EditSource src)
{
    return setThreadColors(true, first, last, color, row, src);
}

bool CQuillabyDoc::SetPickColors(int first, int last, int color, int row, EditSource src)
{
    return setThreadColors(false, first, last, color, row, src);
}

bool CQuillabyDoc::SetRowDefaultColor(bool warp, int r, int color, EditSource src)
{
    if (!rowOk(warp, r) || color < 0 || color > 255) return false;
    Tding* t = row(warp, r);
    if (t->defaultColor() == color) return false;
    record(src, sideOf(warp), req::setDefaultColor(r, t->defaultColor()), req::setDefaultColor(r, color));
    t->setDefaultColor(color);
    m_modified = true;
    return true;
}

bool CQuillabyDoc::SetSymbol(bool warp, int index, int symbol, int r, EditSource src)
{
    if (!rowOk(warp, r)) return false;
    Tding& t = *row(warp, r);
    if (index < 0 || index >= t.GetCount() || symbol < 0 || symbol > 255) return false;
    if (t.GetSymbol(index) == symbol) return false;
    record(src, sideOf(warp), req::setSymbol(index, t.GetSymbol(index), r), req::setSymbol(index, symbol, r));
    t.SetSymbol(index, symbol);
    changed(warp ? UpdateHint::ends(index, index) : UpdateHint::picks(index, index));
    return true;
}

bool CQuillabyDoc::SetThick(bool warp, int index, bool thick, EditSource src)
{
    Tding* t = row(warp, 0);
    if (!t || index < 0 || index >= t->GetCount()) return false;
    if ((t->GetThick(index) != 0) == thick) return false;
    record(src, sideOf(warp), req::setThick(index, !thick), req::setThick(index, thick));
    t->SetThick(index, thick);
    // A thick thread changes the geometry of everything after it.
    m_modified = true;
    UpdateAllViews(nullptr);
    return true;
}

bool CQuillabyDoc::SetRatio(bool warp, int ratio)
{
    Tding* t = row(warp, 0);
    if (!t || ratio < kMinRatio || ratio > kMaxRatio) return false;
    if (t->ratio() == ratio) return false;
    t->SetRatio(ratio);
    m_modified = true;
    UpdateAllViews(nullptr);
    return true;
}

bool CQuillabyDoc::AddLabel(bool warp, const Label& label, int r, EditSource src)
{
    if (!rowOk(warp, r)) return false;
    Tding& t = *row(warp, r);
    if (!t.AddLabel(label)) return false;
    const int last = label.start + label.length - 1;
    const std::string text = label.text.substr(0, kMaxLabelText);
    record(src, sideOf(warp), req::label(LabelChange::Remove, label.start, last, text),
           req::label(LabelChange::Add, label.start, last, text));
    changed(warp ? UpdateHint::ends(label.start, last) : UpdateHint::picks(label.start, last));
    return true;
}

bool CQuillabyDoc::SetLabelText(bool warp, int start, int length, const std::string& text, int r,
                                EditSource src)
{
    if (!rowOk(warp, r)) return false;
    Tding& t = *row(warp, r);
    const Label* l = t.FindLabel(start, length);
    if (!l || l->text == text.substr(0, kMaxLabelText)) return false;
    const int last = start + length - 1;
    record(src, sideOf(warp), req::label(LabelChange::SetText, start, last, l->text),
           req::label(LabelChange::SetText, start, last, text.substr(0, kMaxLabelText)));
    t.SetLabelText(start, length, text);
    changed(warp ? UpdateHint::ends(start, last) : UpdateHint::picks(start, last));
    return true;
}

bool CQuillabyDoc::RemoveLabel(bool warp, int start, int length, int r, EditSource src)
{
    if (!rowOk(warp, r)) return false;
    Tding& t = *row(warp, r);
    if (!t.FindLabel(start, length)) return false;
    // Removing compacts the rows, so the whole arrangement is what comes back.
    recordLabels(src, warp, r);
    record(src, sideOf(warp), req::nothing(), req::label(LabelChange::Remove, start, start + length - 1, {}));
    t.RemoveLabel(start, length);
    m_modified = true;
    UpdateAllViews(nullptr);
    return true;
}

bool CQuillabyDoc::RemoveAllLabels(bool warp, int r, EditSource src)
{
    if (!rowOk(warp, r)) return false;
    Tding& t = *row(warp, r);
    if (t.LabelRowCount() == 0) return false;
    recordLabels(src, warp, r);
    record(src, sideOf(warp), req::nothing(), req::label(LabelChange::RemoveAll, 0, 0, {}));
    t.ClearLabels();
    m_modified = true;
    UpdateAllViews(nullptr);
    return true;
}

// --- loom size and rows ---

bool CQuillabyDoc::loomConsistent() const
{
    if (m_tieup->shaftCount() != m_shafts || m_tieup->treadleCount() != m_treadles) return false;
    if (m_liftplan && m_treadles != m_shafts) return false;
    for (const auto& t : m_threading)
        if (t && t->limit() != m_shafts) return false;
    for (const auto& t : m_treadling)
        if (t && t->limit() != m_treadles) return false;
    return true;
}

bool CQuillabyDoc::SetNumShafts(int n)
{
    if (n < 1 || n > kMaxShafts) return false;
    if (n == m_shafts && loomConsistent()) return false;
    m_shafts = n;
    for (int r = 0; r < kMaxRows; ++r)
        if (m_threading[r]) m_threading[r]->SetLimit(n);
    m_tieup->setShaftCount(n);
    if (m_liftplan) {
        m_treadles = n;
        for (int r = 0; r < kMaxRows; ++r)
            if (m_treadling[r]) m_treadling[r]->SetLimit(n);
        m_tieup->setTreadleCount(n);
    }
    m_modified = true;
    NotifyLoomSize();
    UpdateAllViews(nullptr);
    return true;
}

bool CQuillabyDoc::SetNumTreadles(int n)
{
    if (n < 1 || n > kMaxTreadles) return false;
    // In liftplan form the treadles are the shafts.
    if (m_liftplan) n = std::min(n, kMaxShafts);
    if (n == m_treadles && loomConsistent()) return false;
    if (m_liftplan) {
        m_shafts = n;
        for (int r = 0; r < kMaxRows; ++r)
            if (m_threading[r]) m_threading[r]->SetLimit(n);
        m_tieup->setShaftCount(n);
    }
    m_treadles = n;
    for (int r = 0; r < kMaxRows; ++r)
        if (m_treadling[r]) m_treadling[r]->SetLimit(n);
    m_tieup->setTreadleCount(n);
    m_modified = true;
    NotifyLoomSize();
    UpdateAllViews(nullptr);
    return true;
}

int CQuillabyDoc::uniformColorSlot(bool warp, int slot) const
{
    const auto* t = warp ? static_cast<const Tding*>(m_threading[slot].get()) : m_treadling[slot].get();
    if (!t) t = warp ? static_cast<const Tding*>(m_threading[0].get()) : m_treadling[0].get();
    return t ? t->UniformOrDefaultColor() : 0;
}

bool CQuillabyDoc::setRowCount(bool warp, int n, std::array<int, 2> barColors)
{
    if (n < 1 || n > kMaxRows || !m_threading[0] || !m_treadling[0]) return false;
    int& count = warp ? m_numWarps : m_numWefts;
    if (n == count) return false;

    // The default colors of new rows, slot by slot.
    std::array<int, kMaxRows> slots{};
    if (m_numWarps >= 2 || m_numWefts >= 2) {
        const bool fromWarp = m_numWarps >= 2;
        const int rows = fromWarp ? m_numWarps : m_numWefts;
        for (int i = 0; i < kMaxRows; ++i) slots[i] = uniformColorSlot(fromWarp, i < rows ? i : 0);
    } else {
        slots[0] = uniformColorSlot(warp, 0);
        slots[1] = uniformColorSlot(!warp, 0);
        slots[2] = barColors[0];
        slots[3] = barColors[1];
    }

    for (int r = n; r < kMaxRows; ++r) {
        if (warp) m_threading[r].reset();
        else m_treadling[r].reset();
    }
    for (int r = count; r < n; ++r) {
        if (warp) {
            auto t = std::make_unique<Threading>(m_shafts);
            t->setDefaultColor(slots[r]);
            t->Append(numEnds());
            m_threading[r] = std::move(t);
        } else {
            auto t = std::make_unique<Treadling>(m_treadling[0]->limit());
            t->setDefaultColor(slots[r]);
            t->setMultiple(m_treadling[0]->multiple());
            t->Append(numPicks());
            m_treadling[r] = std::move(t);
        }
    }
    count = n;
    m_modified = true;
    UpdateAllViews(nullptr);
    return true;
}

bool CQuillabyDoc::SetNumWarps(int n, std::array<int, 2> barColors)
{
    return setRowCount(true, n, barColors);
}

bool CQuillabyDoc::SetNumWefts(int n, std::array<int, 2> barColors)
{
    return setRowCount(false, n, barColors);
}

bool CQuillabyDoc::SetMultipleTreadles(bool on)
{
    if (!m_treadling[0] || m_treadling[0]->multiple() == on) return false;
    // Only a single weft may switch; a liftplan always has several per pick.
    if (m_numWefts > 1 || (m_liftplan && !on)) return false;
    // Switching off needs one treadle per pick; the tieup conversion makes it so.
    if (!on)
        for (const TreadleSet& v : m_treadling[0]->values())
            if (v.count() > 1) return false;
    for (auto& t : m_treadling)
        if (t) t->setMultiple(on);
    // Recorded picks no longer mean the same thing.
    m_history.clear();
    m_modified = true;
    UpdateAllViews(nullptr);
    return true;
}

// --- sett ---

double CQuillabyDoc::spacingOf(int whole, int frac)
{
    const double sett = settOf(whole, frac);
    return sett > 0 ? 1.0 / sett : 0.1;
}

void CQuillabyDoc::storeSpacing(double x, int& whole, int& frac)
{
    double sett = (x > 0 && std::isfinite(x)) ? 1.0 / x : 10.0;
    // A spacing so small that the sett overflows: keep the sett representable
    // (converting an infinite or huge double to int is undefined).
    if (!std::isfinite(sett) || sett > 1e9) sett = 1e9;
    // Nearest whole number, a tie going down; the rest in ten-thousandths.
    const double w = std::ceil(sett - 0.5);
    whole = static_cast<int>(w);
    frac = static_cast<int>((sett - w) * 10000.0);
}

// --- observers ---

void CQuillabyDoc::subscribe(IDocumentObserver* o)
{
    if (o && std::find(m_observers.begin(), m_observers.end(), o) == m_observers.end())
        m_observers.push_back(o);
}

void CQuillabyDoc::unsubscribe(IDocumentObserver* o)
{
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), o), m_observers.end());
}

void CQuillabyDoc::UpdateAllViews(const UpdateHint* hint) const
{
    // Copy: an observer may unsubscribe while being notified.
    const auto observers = m_observers;
    for (auto* o : observers) o->documentUpdated(*this, hint);
}

void CQuillabyDoc::NotifyLoomSize() const
{
    const auto observers = m_observers;
    for (auto* o : observers) o->loomSizeChanged(*this);
}

} // namespace qb
