#include "core/dobby/weavingposition.h"

#include "core/draft/quillabydoc.h"

#include <algorithm>

namespace qb {

class WeavingPosition::Change {
public:
    explicit Change(WeavingPosition& p) : m_p(p)
    {
        if (m_p.m_changing++ == 0 && m_p.m_doc) m_p.m_copy = m_p.m_doc->weaving();
    }
    ~Change()
    {
        if (--m_p.m_changing == 0) m_p.store();
    }
    Change(const Change&) = delete;
    Change& operator=(const Change&) = delete;

private:
    WeavingPosition& m_p;
};

WeavingPosition::WeavingPosition(WeavingRunState& state, std::function<int()> pickCount, Callbacks callbacks)
    : m_state(state)
    , m_pickCount(std::move(pickCount))
    , m_callbacks(std::move(callbacks))
{
    repair();
}

WeavingPosition::WeavingPosition(CQuillabyDoc& doc, std::function<void()> beep)
    : m_state(m_copy)
    , m_doc(&doc)
    , m_pickCount([&doc] { return doc.numPicks(); })
    // Markers are kept in the draft and drawn nowhere; the panes mark the
    // loom's pick through the document (CQuillabyDoc::MarkPick).
    , m_callbacks{[&doc] { doc.SetModified(); }, nullptr, std::move(beep)}
{
    repair();
}

void WeavingPosition::repair()
{
    Change c(*this);
    const int n = numPicks();
    std::sort(m_state.markers.begin(), m_state.markers.end());
    m_state.markers.erase(std::unique(m_state.markers.begin(), m_state.markers.end()), m_state.markers.end());
    m_state.currentPick = std::clamp(m_state.currentPick, 0, std::max(n - 1, 0));
    m_state.repeatCount = std::clamp(m_state.repeatCount, 0, kMaxRepeatCount);
    UpdateSection(m_state.currentPick);
}

const WeavingRunState& WeavingPosition::state() const
{
    return m_doc && m_changing == 0 ? m_doc->weaving() : m_state;
}

void WeavingPosition::store()
{
    if (m_doc) m_doc->SetWeavingRun(m_copy);
}

void WeavingPosition::modified()
{
    // The document holds the change before anyone hears of it.
    store();
    if (m_state.savedState && m_callbacks.modified) m_callbacks.modified();
}

void WeavingPosition::redrawMarkers()
{
    store();
    if (m_callbacks.markersChanged) m_callbacks.markersChanged();
}

void WeavingPosition::setPick(int k)
{
    if (k == m_state.currentPick) return;
    m_state.currentPick = k;
    modified();
}

int WeavingPosition::AdvancePick()
{
    Change c(*this);
    const int n = numPicks();
    if (n <= 0) {
        // Nothing to weave: the position stays a valid pick index.
        setPick(0);
        return 1;
    }
    int k = m_state.currentPick;
    bool wrapped;
    if (goingBackwards()) {
        --k;
        wrapped = k < m_sectionStart;
        if (wrapped) {
            if (m_state.loop) k = m_sectionEnd;
            else UpdateSection(k);
        }
    } else {
        ++k;
        wrapped = k > m_sectionEnd;
        if (wrapped) {
            if (m_state.loop) k = m_sectionStart;
            else UpdateSection(k);
        }
    }
    if (m_state.loop && wrapped) {
        // The counter stays within what the Repeat Counter dialog and the file accept.
        if (m_state.unweave) {
            m_state.repeatCount = std::max(m_state.repeatCount - 1, 0);
        } else {
            m_state.repeatCount = std::min(m_state.repeatCount + 1, kMaxRepeatCount);
            if (m_callbacks.beep) m_callbacks.beep();
        }
    }
    int result = 0;
    if (k > n - 1) {
        k = n - 1;
        result = 1;
    } else if (k < 0) {
        k = 0;
        result = 1;
    }
    setPick(k);
    if (result) UpdateSection(k);
    return result;
}

int WeavingPosition::StepBack()
{
    Change c(*this);
    m_state.unweave = true;
    const int r = AdvancePick();
    m_state.unweave = false;
    return r;
}

int WeavingPosition::ToggleUnweave()
{
    Change c(*this);
    m_state.unweave = !m_state.unweave;
    return AdvancePick();
}

void WeavingPosition::ToggleLoop()
{
    Change c(*this);
    m_state.loop = !m_state.loop;
    modified();
}

void WeavingPosition::ToggleReverse()
{
    Change c(*this);
    m_state.reverse = !m_state.reverse;
    modified();
}

void WeavingPosition::ClearUnweave()
{
    Change c(*this);
    m_state.unweave = false;
}

void WeavingPosition::SetCurrentPick(int p)
{
    Change c(*this);
    const int n = numPicks();
    if (p < 0 || p >= n) p = 0;
    setPick(p);
    UpdateSection(p);
}

void WeavingPosition::PicksChanged()
{
    Change c(*this);
    const int n = numPicks();
    setPick(std::clamp(m_state.currentPick, 0, std::max(n - 1, 0)));
    UpdateSection(m_state.currentPick);
}

void WeavingPosition::UpdateSection(int a)
{
    Change c(*this);
    const int n = numPicks();
    m_sectionStart = 0;
    m_sectionEnd = n > 0 ? n - 1 : 0;
    // Every marker past the last pick goes, or a section could end beyond the picks.
    auto& m = m_state.markers;
    m.erase(std::lower_bound(m.begin(), m.end(), std::max(n, 0)), m.end());
    auto above = std::lower_bound(m.begin(), m.end(), a); // smallest marker >= a
    if (above != m.begin()) m_sectionStart = *std::prev(above) + 1;
    if (above != m.end()) m_sectionEnd = *above;
    redrawMarkers();
}

bool WeavingPosition::AddMarker(int shown)
{
    if (shown < 1) return false;
    Change c(*this);
    const int v = shown - 1;
    auto& m = m_state.markers;
    auto it = std::lower_bound(m.begin(), m.end(), v);
    if (it != m.end() && *it == v) return false;
    m.insert(it, v);
    UpdateSection(m_state.currentPick);
    modified();
    return true;
}

bool WeavingPosition::RemoveMarker(int shown)
{
    Change c(*this);
    auto& m = m_state.markers;
    bool changed = false;
    if (shown < 0) {
        changed = !m.empty();
        m.clear();
    } else if (shown > 0) {
        auto it = std::find(m.begin(), m.end(), shown - 1);
        if (it != m.end()) {
            m.erase(it);
            changed = true;
        }
    }
    if (!changed) return false;
    UpdateSection(m_state.currentPick);
    modified();
    return true;
}

int WeavingPosition::NextMarkerAfter(int q) const
{
    const auto& m = state().markers;
    auto it = std::upper_bound(m.begin(), m.end(), q);
    return it != m.end() ? *it : 0;
}

bool WeavingPosition::SetRepeatCount(int count)
{
    if (count < 0 || count > kMaxRepeatCount) return false;
    Change c(*this);
    m_state.repeatCount = count;
    return true;
}

} // namespace qb
