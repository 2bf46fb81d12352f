// The cell primitives: threading, treadling or liftplan, and tieup.
#include "core/draft/quillabydoc.h"

#include "core/draft/undorequests.h"

namespace qb {

bool CQuillabyDoc::SetThreadingCell(Edit e, int end, int shaft, int row)
{
    if (end < 0 || end >= kMaxThreads || !rowOk(true, row) || shaft < 1 || shaft > m_shafts
        || shaft > m_threading[row]->limit())
        return false;
    if (end < numEnds() && m_threading[row]->GetShaft(end) == shaft) return false;
    if (end >= numEnds()) {
        const int at = numEnds(), grow = end + 1 - at;
        record(e, DraftPart::Threading, req::deleteThreads(at, grow), req::insertThreads(at, grow));
        for (int r = 0; r < m_numWarps; ++r) m_threading[r]->Append(grow);
    }
    // An end lies on one shaft: take the shaft away from the other warp rows.
    for (int r = 0; r < m_numWarps; ++r)
        if (r != row && m_threading[r]->GetShaft(end) == shaft) {
            record(e, DraftPart::Threading, req::setCell(r, end, shaft), req::clearCell(r, end, shaft));
            m_threading[r]->ClearValue(end, shaft);
        }
    const int old = m_threading[row]->GetShaft(end);
    record(e, DraftPart::Threading, req::setCell(row, end, old), req::setCell(row, end, shaft));
    m_threading[row]->SetValue(end, shaft);
    changed(UpdateHint::ends(end, end));
    return true;
}

bool CQuillabyDoc::ClearThreadingCell(Edit e, int end, int row)
{
    if (end < 0 || end >= numEnds() || !rowOk(true, row)) return false;
    const int old = m_threading[row]->GetShaft(end);
    if (old == 0) return false;
    record(e, DraftPart::Threading, req::setCell(row, end, old), req::clearCell(row, end, old));
    m_threading[row]->ClearValue(end, 0);
    changed(UpdateHint::ends(end, end));
    return true;
}

bool CQuillabyDoc::SetPickSet(Edit e, int pick, TreadleSet set, int row)
{
    if (pick < 0 || pick >= kMaxThreads || !rowOk(false, row)) return false;
    Treadling& t = *m_treadling[row];
    set = set & TreadleSet::firstTreadles(t.limit());
    if (!t.multiple() && set.count() > 1) return false;
    if (pick < numPicks() && t.GetSet(pick) == set) return false;
    if (pick >= numPicks()) {
        const int at = numPicks(), grow = pick + 1 - at;
        record(e, DraftPart::Treadling, req::deleteThreads(at, grow), req::insertThreads(at, grow));
        for (int r = 0; r < m_numWefts; ++r) m_treadling[r]->Append(grow);
    }
    record(e, DraftPart::Treadling, req::setPick(row, pick, t.GetSet(pick)), req::setPick(row, pick, set));
    t.SetSet(pick, set);
    changed(UpdateHint::picks(pick, pick));
    return true;
}

bool CQuillabyDoc::SetTreadlingCell(Edit e, int pick, int treadle, int row)
{
    if (pick < 0 || pick >= kMaxThreads || !rowOk(false, row)) return false;
    const Treadling& t = *m_treadling[row];
    if (treadle == 0) return true; // treadle 0 means "none": nothing to do
    if (treadle < 1 || treadle > t.limit()) return false;
    TreadleSet next = t.multiple() ? t.GetSet(pick) : TreadleSet();
    next.set(treadle);
    return SetPickSet(e, pick, next, row);
}

bool CQuillabyDoc::ClearTreadlingCell(Edit e, int pick, int treadle, int row)
{
    if (pick < 0 || pick >= numPicks() || !rowOk(false, row)) return false;
    const Treadling& t = *m_treadling[row];
    if (treadle < 1 || treadle > t.limit() || !t.GetSet(pick).test(treadle)) return false;
    TreadleSet next = t.GetSet(pick);
    next.clear(treadle);
    return SetPickSet(e, pick, next, row);
}

bool CQuillabyDoc::SetTieupCell(Edit e, int treadle, int shaft)
{
    if (treadle < 0 || treadle >= m_tieup->treadleCount() || shaft < 1 || shaft > m_tieup->shaftCount()) return false;
    if (m_tieup->cell(treadle, shaft)) return false;
    record(e, DraftPart::Tieup, req::clearCell(0, treadle, shaft), req::setCell(0, treadle, shaft));
    m_tieup->setCell(treadle, shaft);
    m_modified = true;
    changed(UpdateHint::of(UpdateHint::Tieup, false));
    return true;
}

bool CQuillabyDoc::ClearTieupCell(Edit e, int treadle, int shaft)
{
    if (treadle < 0 || treadle >= m_tieup->treadleCount() || shaft < 1 || shaft > m_tieup->shaftCount()) return false;
    if (!m_tieup->cell(treadle, shaft)) return false;
    record(e, DraftPart::Tieup, req::setCell(0, treadle, shaft), req::clearCell(0, treadle, shaft));
    m_tieup->clearCell(treadle, shaft);
    m_modified = true;
    changed(UpdateHint::of(UpdateHint::Tieup, false));
    return true;
}

bool CQuillabyDoc::SetTieupColumn(Edit e, int treadle, TUPTYPE shafts)
{
    if (treadle < 0 || treadle >= m_tieup->treadleCount()) return false;
    shafts &= TUPTYPE::firstShafts(m_tieup->shaftCount());
    if (m_tieup->column(treadle) == shafts) return false;
    record(e, DraftPart::Tieup, req::setTieupColumn(treadle, m_tieup->column(treadle)),
           req::setTieupColumn(treadle, shafts));
    m_tieup->setColumn(treadle, shafts);
    m_modified = true;
    changed(UpdateHint::of(UpdateHint::Tieup, false));
    return true;
}

} // namespace qb
