#pragma once

#include "colorpalette.h"
#include "draftsettings.h"
#include "threading.h"
#include "tieup.h"
#include "treadling.h"
#include "undohistory.h"
#include "updatehint.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace qb {

class CQuillabyDoc;

// Views subscribe to the document and decide themselves what to repaint.
class IDocumentObserver {
public:
    virtual ~IDocumentObserver() = default;
    // hint == nullptr means: everything may have changed.
    virtual void documentUpdated(const CQuillabyDoc& doc, const UpdateHint* hint) = 0;
    // Shafts or treadles changed: the status bar and palette bar refresh.
    virtual void loomSizeChanged(const CQuillabyDoc&) {}
};

// Who caused an edit: the pane (the undo target) and the group of the user
// action in progress. An edit without both records no undo step, which is how
// replayed requests and internal operations run.
struct EditSource {
    IUndoTarget* pane = nullptr;
    UndoGroup* group = nullptr;
    bool recording() const { return pane && group; }
};

// The draft document: owns threading and treadling rows, tieup, palette and
// every value saved with a draft. Every user edit goes through one of the
// primitives below, which check their arguments, change the model, mark the
// document modified and notify the observers.
class CQuillabyDoc {
public:
    CQuillabyDoc();
    ~CQuillabyDoc();
    CQuillabyDoc(const CQuillabyDoc&) = delete;
    CQuillabyDoc& operator=(const CQuillabyDoc&) = delete;

    // --- lifecycle ---
    // Sets up an empty new draft from the application's defaults.
    void OnNewDocument(const NewDraftDefaults& defaults);
    // Empties the document back to the defaults of a blank document.
    void DeleteContents();
    // A deep copy of this draft as a new document (observers not copied).
    std::unique_ptr<CQuillabyDoc> Clone() const;
    // Ensures row 0 of both sides, a tieup and a palette exist (after a
    // loader filled the model directly).
    void EnsureComplete();

    // --- reading the model ---
    int numShafts() const { return m_shafts; }
    int numTreadles() const { return m_treadles; }
    bool isLiftplan() const { return m_liftplan; }
    bool isRisingShed() const { return m_risingShed; }
    int numWarps() const { return m_numWarps; }
    int numWefts() const { return m_numWefts; }
    int numEnds() const { return m_threading[0] ? m_threading[0]->GetCount() : 0; }
    int numPicks() const { return m_treadling[0] ? m_treadling[0]->GetCount() : 0; }
    bool multipleTreadles() const { return m_treadling[0] && m_treadling[0]->multiple(); }

    const Threading* threading(int row = 0) const;
    const Treadling* treadling(int row = 0) const;
    const Tieup& tieup() const { return *m_tieup; }
    const ColorPalette& palette() const { return *m_palette; }

    // Color-bar correlation: side 0 none, 1 warp, 2 weft.
    int correlationSide() const { return m_correlationSide; }
    bool correlationOn() const { return m_correlationOn; }
    // The side that correlation actually applies to (0 when it cannot be on).
    int activeCorrelation() const;

    // Direct access for loaders and whole-draft commands: no checks, no undo,
    // no notification. Callers finish with SetModified() and UpdateAllViews().
    Threading* threadingMutable(int row);
    Treadling* treadlingMutable(int row);
    Tieup& tieupMutable() { return *m_tieup; }
    ColorPalette& paletteMutable() { return *m_palette; }
    void replaceThreading(int row, std::unique_ptr<Threading> t);
    void replaceTreadling(int row, std::unique_ptr<Treadling> t);
    void replaceTieup(std::unique_ptr<Tieup> t);
    void setLoomRaw(int shafts, int treadles, bool liftplan);
    void setRisingShed(bool rising) { m_risingShed = rising; }
    void setCorrelation(int side, bool on);
    void setRowCountsRaw(int warps, int wefts);

    // --- the edit primitives (positions 0-based, shafts/treadles 1-based) ---
    bool SetThreadingCell(int end, int shaft, int row = 0, EditSource src = {});
    bool ClearThreadingCell(int end, int row = 0, EditSource src = {});
    bool SetTreadlingCell(int pick, int treadle, int row = 0, EditSource src = {});
    bool ClearTreadlingCell(int pick, int treadle, int row = 0, EditSource src = {});
    bool SetTieupCell(int treadle, int shaft, EditSource src = {});
    bool ClearTieupCell(int treadle, int shaft, EditSource src = {});
    bool SetTieupColumn(int treadle, TUPTYPE shafts, EditSource src = {});
    // Inserts n empty threads into every row of that side; in `row` the last
    // of them gets `value`.
    // A whole pick (treadle set, or shafts in liftplan form).
    bool SetPickSet(int pick, TreadleSet set, int row = 0, EditSource src = {});
    bool InsertEnds(int pos, int n, int value = 0, int row = 0, EditSource src = {});
    bool InsertPicks(int pos, int n, TreadleSet value = {}, int row = 0, EditSource src = {});
    bool DeleteEnds(int pos, int n, EditSource src = {});
    bool DeletePicks(int pos, int n, EditSource src = {});
    bool ClearEnds(int pos, int n, EditSource src = {});
    bool ClearPicks(int pos, int n, EditSource src = {});
    bool SetEndColors(int first, int last, int color, int row = 0, EditSource src = {});
    bool SetPickColors(int first, int last, int color, int row = 0, EditSource src = {});
    bool SetRowDefaultColor(bool warp, int row, int color, EditSource src = {});
    bool SetSymbol(bool warp, int index, int symbol, int row = 0, EditSource src = {});
    bool SetThick(bool warp, int index, bool thick, EditSource src = {});
    bool SetRatio(bool warp, int ratio);
    bool AddLabel(bool warp, const Label& label, int row = 0, EditSource src = {});
    bool SetLabelText(bool warp, int start, int length, const std::string& text, int row = 0,
                      EditSource src = {});
    bool RemoveLabel(bool warp, int start, int length, int row = 0, EditSource src = {});
    bool RemoveAllLabels(bool warp, int row = 0, EditSource src = {});

    bool SetNumShafts(int n);
    bool SetNumTreadles(int n);
    // The palette bar supplies colors for new rows beyond the first two.
    bool SetNumWarps(int n, std::array<int, 2> paletteBarColors = {0, 1});
    bool SetNumWefts(int n, std::array<int, 2> paletteBarColors = {0, 1});
    bool SetMultipleTreadles(bool on);

    // --- values saved with the draft ---
    int units() const { return m_units; }
    void setUnits(int u) { m_units = u == 1 ? 1 : 0; }
    double warpSett() const { return settOf(m_warpSettWhole, m_warpSettFrac); }
    double weftSett() const { return settOf(m_weftSettWhole, m_weftSettFrac); }
    double warpSpacing() const { return spacingOf(m_warpSettWhole, m_warpSettFrac); }
    double weftSpacing() const { return spacingOf(m_weftSettWhole, m_weftSettFrac); }
    void setWarpSpacing(double x) { storeSpacing(x, m_warpSettWhole, m_warpSettFrac); }
    void setWeftSpacing(double x) { storeSpacing(x, m_weftSettWhole, m_weftSettFrac); }
    void setWarpSett(int whole, int frac) { m_warpSettWhole = whole; m_warpSettFrac = frac; }
    void setWeftSett(int whole, int frac) { m_weftSettWhole = whole; m_weftSettFrac = frac; }
    int warpSettWhole() const { return m_warpSettWhole; }
    int warpSettFrac() const { return m_warpSettFrac; }
    int weftSettWhole() const { return m_weftSettWhole; }
    int weftSettFrac() const { return m_weftSettFrac; }

    std::string windowTitle, title, date, source, author, notes;
    ProjectPlanValues plan;
    DisplayNotations notations;
    BlockSubstitutionParams blocks;
    WeavingRunState weaving;
    std::vector<std::unique_ptr<TieupKey>> tieupKeys;
    bool hasTieupKeys = false;

    // --- undo ---
    UndoHistory& history() { return m_history; }
    const UndoHistory& history() const { return m_history; }
    // Runs one user action: every primitive called with the given source
    // records into one group, which then joins the history.
    template <class F>
    bool Transaction(IUndoTarget* pane, F&& action)
    {
        UndoGroup group;
        action(EditSource{pane, &group});
        return m_history.push(std::move(group));
    }
    bool Undo() { return m_history.undo(); }
    bool Redo() { return m_history.redo(); }

    // --- modified flag and observers ---
    bool isModified() const { return m_modified; }
    void SetModified(bool m = true) { m_modified = m; }
    void subscribe(IDocumentObserver* o);
    void unsubscribe(IDocumentObserver* o);
    void UpdateAllViews(const UpdateHint* hint = nullptr) const;
    void NotifyLoomSize() const;

    static std::string programSource();

private:
    static double settOf(int whole, int frac) { return whole + frac / 10000.0; }
    static double spacingOf(int whole, int frac);
    static void storeSpacing(double x, int& whole, int& frac);
    void changed(const UpdateHint& hint);
    bool rowOk(bool warp, int row) const;
    int uniformColorSlot(bool warp, int slot) const;
    bool setRowCount(bool warp, int n, std::array<int, 2> paletteBarColors);
    Tding* row(bool warp, int r) const;
    void recordInsert(EditSource src, bool warp, int pos, int n, int value, int row);
    void recordThreadState(EditSource src, bool warp, int first, int last);
    void recordLabels(EditSource src, bool warp, int row);
    // Tieup and every row agree with the shaft and treadle counts.
    bool loomConsistent() const;
    bool setThreadColors(bool warp, int first, int last, int color, int row, EditSource src);

    std::array<std::unique_ptr<Threading>, kMaxRows> m_threading;
    std::array<std::unique_ptr<Treadling>, kMaxRows> m_treadling;
    std::unique_ptr<Tieup> m_tieup;
    std::unique_ptr<ColorPalette> m_palette;
    int m_correlationSide = 0;
    int m_numWarps = 0;
    int m_numWefts = 0;
    bool m_correlationOn = false;
    int m_shafts = 0;
    int m_treadles = 0;
    bool m_liftplan = false;
    bool m_risingShed = true;
    int m_warpSettWhole = 10, m_warpSettFrac = 0;
    int m_weftSettWhole = 10, m_weftSettFrac = 0;
    int m_units = 0;
    bool m_modified = false;
    std::vector<IDocumentObserver*> m_observers;
    UndoHistory m_history;
};

// Replays a recorded request on the document: through the primitives,
// recording nothing.
void ApplyUndoRequest(CQuillabyDoc& doc, const UndoRequest& req);

} // namespace qb
