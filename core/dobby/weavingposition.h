#pragma once

#include "core/draft/draftsettings.h"

#include <functional>

namespace qb {

class CQuillabyDoc;

// Where a weaving run stands in the draft and how it moves: current pick,
// direction, looping over the section between markers, unweaving and the
// repeat counter. Works on a WeavingRunState (over a document, the draft's
// own, changed through CQuillabyDoc::SetWeavingRun); the section is kept
// here and always holds the current pick.
class WeavingPosition {
public:
    static constexpr int kMaxRepeatCount = 999;

    struct Callbacks {
        std::function<void()> modified;       // the draft is to be marked modified
        std::function<void()> markersChanged; // the markers or the section moved
        std::function<void()> beep;           // a loop was completed
    };

    WeavingPosition(WeavingRunState& state, std::function<int()> pickCount, Callbacks callbacks = {});
    // Over a document: keeps the run in it and marks it modified.
    explicit WeavingPosition(CQuillabyDoc& doc, std::function<void()> beep = {});

    const WeavingRunState& state() const;
    int numPicks() const { return m_pickCount(); }
    int currentPick() const { return state().currentPick; }
    int sectionStart() const { return m_sectionStart; }
    int sectionEnd() const { return m_sectionEnd; }
    int repeatCount() const { return state().repeatCount; }
    bool reverse() const { return state().reverse; }
    bool loop() const { return state().loop; }
    bool unweave() const { return state().unweave; }
    const std::vector<int>& markers() const { return state().markers; }
    // Whether the next advance steps towards the first pick.
    bool goingBackwards() const { return state().reverse != state().unweave; }

    // The loom asks for the next pick: 0 when the position moved within the
    // picks, 1 when the run has left the treadling (nothing is to be sent).
    int AdvancePick();
    // Same Shed: one step back against the weaving direction.
    int StepBack();
    // Unweave on or off, then one step in the new direction.
    int ToggleUnweave();
    void ToggleLoop();
    void ToggleReverse();
    // Unweave is never saved: cleared when a run starts or stops.
    void ClearUnweave();
    // p outside the picks gives pick 0.
    void SetCurrentPick(int p);
    // After picks were inserted or deleted during a run: the position stays on
    // the last pick rather than jumping back to the first.
    void PicksChanged();
    void UpdateSection(int a);
    // Marker positions are as shown (1-based): marker p ends a section after pick p.
    bool AddMarker(int shown);
    // shown < 0 removes all markers.
    bool RemoveMarker(int shown);
    // The first marker (0-based) after pick q, or 0 when there is none.
    int NextMarkerAfter(int q) const;
    // The Repeat Counter dialog's value; false (no change) outside 0..999.
    bool SetRepeatCount(int count);

private:
    // Every public change runs inside one: over a document the state is
    // changed on a copy and handed back to the document when it ends.
    class Change;
    void repair();
    void store();
    void setPick(int k);
    void modified();
    void redrawMarkers();

    WeavingRunState m_copy;
    WeavingRunState& m_state;
    CQuillabyDoc* m_doc = nullptr;
    int m_changing = 0;
    std::function<int()> m_pickCount;
    Callbacks m_callbacks;
    int m_sectionStart = 0;
    int m_sectionEnd = 0;
};

} // namespace qb
