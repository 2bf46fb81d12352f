#include "core/draft/quillabydoc.h"

#include "core/draft/draftstep.h"

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

const Threading* CQuillabyDoc::threading(int row) const
{
    return row >= 0 && row < kMaxRows ? m_threading[row].get() : nullptr;
}

const Treadling* CQuillabyDoc::treadling(int row) const
{
    return row >= 0 && row < kMaxRows ? m_treadling[row].get() : nullptr;
}

// --- raw access ---

RawDraft::RawDraft(CQuillabyDoc& doc)
    : title(doc.m_title)
    , date(doc.m_date)
    , source(doc.m_source)
    , author(doc.m_author)
    , notes(doc.m_notes)
    , plan(doc.m_plan)
    , notations(doc.m_notations)
    , blocks(doc.m_blocks)
    , weaving(doc.m_weaving)
    , tieupKeys(doc.m_tieupKeys)
    , hasTieupKeys(doc.m_hasTieupKeys)
    , m_doc(doc)
{}

Threading* RawDraft::threadingMutable(int row)
{
    return row >= 0 && row < kMaxRows ? m_doc.m_threading[row].get() : nullptr;
}

Treadling* RawDraft::treadlingMutable(int row)
{
    return row >= 0 && row < kMaxRows ? m_doc.m_treadling[row].get() : nullptr;
}

void RawDraft::replaceThreading(int row, std::unique_ptr<Threading> t)
{
    if (row >= 0 && row < kMaxRows) m_doc.m_threading[row] = std::move(t);
}

void RawDraft::replaceTreadling(int row, std::unique_ptr<Treadling> t)
{
    if (row >= 0 && row < kMaxRows) m_doc.m_treadling[row] = std::move(t);
}

void RawDraft::replaceTieup(std::unique_ptr<Tieup> t)
{
    m_doc.m_tieup = t ? std::move(t) : std::make_unique<Tieup>();
}

void RawDraft::setLoomRaw(int shafts, int treadles, bool liftplan)
{
    m_doc.m_shafts = std::clamp(shafts, 0, kMaxShafts);
    m_doc.m_treadles = std::clamp(treadles, 0, kMaxTreadles);
    m_doc.m_liftplan = liftplan;
}

void RawDraft::setCorrelation(int side, bool on)
{
    m_doc.m_correlationSide = (side == 1 || side == 2) ? side : 0;
    m_doc.m_correlationOn = on && m_doc.m_correlationSide != 0;
}

void RawDraft::setRowCountsRaw(int warps, int wefts)
{
    m_doc.m_numWarps = std::clamp(warps, 1, kMaxRows);
    m_doc.m_numWefts = std::clamp(wefts, 1, kMaxRows);
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
    notify(hint);
}

Tding* CQuillabyDoc::row(bool warp, int r) const
{
    if (r < 0 || r >= kMaxRows) return nullptr;
    return warp ? static_cast<Tding*>(m_threading[r].get()) : m_treadling[r].get();
}

bool CQuillabyDoc::SetButtonColor(bool right, int color)
{
    if (color < 0 || color >= m_palette->count()) return false;
    if (right) m_palette->setRightColor(color);
    else m_palette->setLeftColor(color);
    UpdateHint hint = UpdateHint::of(UpdateHint::Palette, false);
    hint.flags = UpdateHint::ButtonColors;
    notify(hint);
    return true;
}

// --- values saved with the draft ---

bool CQuillabyDoc::SetTexts(Edit e, std::string title, std::string author, std::string notes)
{
    DraftStep step(e, *this, DraftSnapshot::Texts);
    m_title = std::move(title);
    m_author = std::move(author);
    m_notes = std::move(notes);
    return step.commit();
}

bool CQuillabyDoc::SetNotations(Edit e, const DisplayNotations& n)
{
    DraftStep step(e, *this, DraftSnapshot::Settings);
    m_notations = n;
    return step.commit();
}

void CQuillabyDoc::SetWeavingRun(const WeavingRunState& run)
{
    m_weaving = run;
}

void CQuillabyDoc::MarkSaved(std::string date, bool threadingSymbols, bool treadlingSymbols)
{
    m_date = std::move(date);
    m_notations.threadingSymbols = threadingSymbols;
    m_notations.treadlingSymbols = treadlingSymbols;
    m_modified = false;
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
    if (o && std::find(m_observers.begin(), m_observers.end(), o) == m_observers.end()) m_observers.push_back(o);
}

void CQuillabyDoc::unsubscribe(IDocumentObserver* o)
{
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), o), m_observers.end());
}

namespace {

// One hint for two changes told as one.
UpdateHint merged(const UpdateHint& a, const UpdateHint& b)
{
    UpdateHint m = UpdateHint::of(a.parts | b.parts, a.layout || b.layout);
    m.flags = a.flags & b.flags;
    if (a.ranged() && b.ranged() && a.parts == b.parts) {
        m.first = std::min(a.first, b.first);
        m.last = std::max(a.last, b.last);
    }
    return m;
}

} // namespace

void CQuillabyDoc::notify(const UpdateHint& hint)
{
    if (m_batchDepth > 0) {
        m_pending = m_hasPending ? merged(m_pending, hint) : hint;
        m_hasPending = true;
        return;
    }
    send(hint);
}

void CQuillabyDoc::endBatch()
{
    if (--m_batchDepth > 0 || !m_hasPending) return;
    m_hasPending = false;
    send(m_pending);
}

void CQuillabyDoc::send(const UpdateHint& hint) const
{
    // Copy: an observer may unsubscribe while being notified.
    const auto observers = m_observers;
    if (hint.has(UpdateHint::Palette))
        for (auto* o : observers) o->paletteChanged(*this);
    for (auto* o : observers) o->documentUpdated(*this, hint);
}

void CQuillabyDoc::MarkPick(int pick)
{
    if (pick == m_markedPick) return;
    const int previous = m_markedPick;
    m_markedPick = pick;
    const auto observers = m_observers;
    for (auto* o : observers) o->weavingPickMoved(*this, previous, pick);
}

} // namespace qb
