#pragma once

#include "core/draft/colorpalette.h"
#include "core/draft/draftsettings.h"
#include "core/draft/edit.h"
#include "core/draft/side.h"
#include "core/draft/threading.h"
#include "core/draft/tieup.h"
#include "core/draft/treadling.h"
#include "core/draft/undohistory.h"
#include "core/draft/updatehint.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qb {

class CQuillabyDoc;
class DraftStep;
class RawDraft;
struct DraftSnapshot;

// Views subscribe to the document and decide themselves what to repaint.
class IDocumentObserver {
public:
    virtual ~IDocumentObserver() = default;
    // Part of the draft changed, as the hint says: once per edit, and once
    // for its undo and its redo.
    virtual void documentUpdated(const CQuillabyDoc& doc, const UpdateHint& hint) = 0;
    // The palette or the colors on the mouse buttons changed (told before
    // the documentUpdated of the same change).
    virtual void paletteChanged(const CQuillabyDoc&) {}
    // A step joined the history, or was undone or redone: the Edit menu's
    // texts change.
    virtual void historyChanged(const CQuillabyDoc&) {}
    // The pick the panes mark moved from one pick to another (-1: none): the
    // loom's pick while weaving, or the pick being chosen. The draft itself
    // did not change.
    virtual void weavingPickMoved(const CQuillabyDoc&, int /*previous*/, int /*current*/) {}
};

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

    // --- the edit primitives (positions 0-based, shafts/treadles 1-based) ---
    // Each checks its arguments (false and no change when they do not fit),
    // changes the model, records its undo step when `e` records, marks the
    // document modified and notifies the observers.
    bool SetThreadingCell(Edit e, int end, int shaft, int row = 0);
    bool ClearThreadingCell(Edit e, int end, int row = 0);
    bool SetTreadlingCell(Edit e, int pick, int treadle, int row = 0);
    bool ClearTreadlingCell(Edit e, int pick, int treadle, int row = 0);
    // A whole pick (treadle set, or shafts in liftplan form).
    bool SetPickSet(Edit e, int pick, TreadleSet set, int row = 0);
    bool SetTieupCell(Edit e, int treadle, int shaft);
    bool ClearTieupCell(Edit e, int treadle, int shaft);
    bool SetTieupColumn(Edit e, int treadle, TUPTYPE shafts);
    // n empty threads into every row of the side, before `pos` (at the end
    // when pos is past it).
    bool InsertThreads(Edit e, Side side, int pos, int n);
    bool DeleteThreads(Edit e, Side side, int pos, int n);
    // Empties the values of a run in every row of the side.
    bool ClearThreads(Edit e, Side side, int pos, int n);
    // Threads first..last of the row get the color, which also becomes the
    // row's default; threads beyond the end are added.
    bool SetThreadColors(Edit e, Side side, int first, int last, int color, int row = 0);
    bool SetRowDefaultColor(Edit e, Side side, int row, int color);
    bool SetSymbol(Edit e, Side side, int index, int symbol, int row = 0);
    bool SetThick(Edit e, Side side, int index, bool thick);
    bool SetRatio(Edit e, Side side, int ratio);
    bool AddLabel(Edit e, Side side, const Label& label, int row = 0);
    bool SetLabelText(Edit e, Side side, int start, int length, const std::string& text, int row = 0);
    bool RemoveLabel(Edit e, Side side, int start, int length, int row = 0);
    bool RemoveAllLabels(Edit e, Side side, int row = 0);

    bool SetNumShafts(Edit e, int n);
    bool SetNumTreadles(Edit e, int n);
    // The palette bar supplies colors for new rows beyond the first two.
    bool SetNumRows(Edit e, Side side, int n, std::array<int, 2> paletteBarColors = {0, 1});
    bool SetMultipleTreadles(Edit e, bool on);

    // The colors on the left and right mouse buttons: the editor's choice,
    // kept with the palette but no part of the draft (no undo step, the
    // draft stays unmodified).
    bool SetButtonColor(bool right, int color);

    // --- values saved with the draft ---
    int units() const { return m_units; }
    double warpSett() const { return settOf(m_warpSettWhole, m_warpSettFrac); }
    double weftSett() const { return settOf(m_weftSettWhole, m_weftSettFrac); }
    double warpSpacing() const { return spacingOf(m_warpSettWhole, m_warpSettFrac); }
    double weftSpacing() const { return spacingOf(m_weftSettWhole, m_weftSettFrac); }
    int warpSettWhole() const { return m_warpSettWhole; }
    int warpSettFrac() const { return m_warpSettFrac; }
    int weftSettWhole() const { return m_weftSettWhole; }
    int weftSettFrac() const { return m_weftSettFrac; }

    const std::string& title() const { return m_title; }
    const std::string& date() const { return m_date; }
    const std::string& source() const { return m_source; }
    const std::string& author() const { return m_author; }
    const std::string& notes() const { return m_notes; }
    const ProjectPlanValues& plan() const { return m_plan; }
    const DisplayNotations& notations() const { return m_notations; }
    const BlockSubstitutionParams& blocks() const { return m_blocks; }
    const WeavingRunState& weaving() const { return m_weaving; }
    const std::vector<std::unique_ptr<TieupKey>>& tieupKeys() const { return m_tieupKeys; }
    bool hasTieupKeys() const { return m_hasTieupKeys; }

    // Each a recorded step like the primitives; false when nothing changed.
    bool SetTexts(Edit e, std::string title, std::string author, std::string notes);
    bool SetNotations(Edit e, const DisplayNotations& n);

    // The loom's run moves through the draft: no undo step (the weaver does
    // not undo the loom), nothing to tell: the panes mark the pick through MarkPick.
    void SetWeavingRun(const WeavingRunState& run);
    // The draft went into its file: the date written and whether its rows
    // carry user-defined characters are what the file says now; unmodified.
    void MarkSaved(std::string date, bool threadingSymbols, bool treadlingSymbols);

    // Raw access to the model: no checks, no undo, no notification. For
    // loaders (file readers, the snapshot restore, drafts built in memory)
    // and for whole-draft commands between a DraftStep and its commit();
    // every raw write in the code base goes through here.
    RawDraft raw();

    // --- undo ---
    const UndoHistory& history() const { return m_history; }
    // Runs one user action as one named step of the history: every edit
    // made with the Edit handed to `action` records into it. A transaction
    // started inside another joins the outer one. Returns whether anything
    // was recorded.
    template <class F> bool Transaction(std::string name, F&& action);
    bool Undo();
    bool Redo();
    // Empties the history (new draft, opened draft).
    void DiscardHistory();

    // --- modified flag and observers ---
    bool isModified() const { return m_modified; }
    void SetModified(bool m = true) { m_modified = m; }
    void subscribe(IDocumentObserver* o);
    void unsubscribe(IDocumentObserver* o);
    // The pick the panes mark (-1: none), no part of the draft: the weaving
    // run shows the loom's pick with it, Set Pick the pick being chosen.
    int markedPick() const { return m_markedPick; }
    void MarkPick(int pick);

    static std::string programSource();

private:
    static double settOf(int whole, int frac) { return whole + frac / 10000.0; }
    static double spacingOf(int whole, int frac);
    static void storeSpacing(double x, int& whole, int& frac);
    // Marks the document modified and tells the observers: the one way a
    // change goes out.
    void changed(const UpdateHint& hint);
    void notify(const UpdateHint& hint);
    void send(const UpdateHint& hint) const;
    // While a whole-part step, an undo or a redo runs, the primitives it
    // calls are told as one change when it ends.
    void beginBatch() { ++m_batchDepth; }
    void endBatch();
    friend struct DraftSnapshot;
    friend class DraftTransaction;
    friend class DraftStep;
    friend class RawDraft;
    // The way back of a DraftStep; nothing when `e` does not record.
    void recordSnapshot(Edit e, std::shared_ptr<DraftSnapshot> before);
    bool commit(UndoGroup group);
    void afterHistoryChange();
    void record(Edit e, DraftPart part, UndoRequest undo, UndoRequest redo);
    bool rowOk(bool warp, int row) const;
    int uniformColorSlot(bool warp, int slot) const;
    Tding* row(bool warp, int r) const;
    void recordThreadState(Edit e, bool warp, int first, int last);
    void recordLabels(Edit e, bool warp, int row);
    // Tieup and every row agree with the shaft and treadle counts.
    bool loomConsistent() const;

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
    std::string m_title, m_date, m_source, m_author, m_notes;
    ProjectPlanValues m_plan;
    DisplayNotations m_notations;
    BlockSubstitutionParams m_blocks;
    WeavingRunState m_weaving;
    std::vector<std::unique_ptr<TieupKey>> m_tieupKeys;
    bool m_hasTieupKeys = false;
    bool m_modified = false;
    std::vector<IDocumentObserver*> m_observers;
    int m_markedPick = -1;
    int m_batchDepth = 0;
    bool m_hasPending = false;
    UpdateHint m_pending;
    UndoHistory m_history;
    UndoGroup* m_openGroup = nullptr;
};

// The door of CQuillabyDoc::raw(): the model's parts to fill or replace as
// they are, and the values saved with the draft as plain fields.
class RawDraft {
public:
    Threading* threadingMutable(int row);
    Treadling* treadlingMutable(int row);
    Tieup& tieupMutable() { return *m_doc.m_tieup; }
    ColorPalette& paletteMutable() { return *m_doc.m_palette; }
    void replaceThreading(int row, std::unique_ptr<Threading> t);
    void replaceTreadling(int row, std::unique_ptr<Treadling> t);
    // Null gives an empty tieup.
    void replaceTieup(std::unique_ptr<Tieup> t);
    void setLoomRaw(int shafts, int treadles, bool liftplan);
    void setRisingShed(bool rising) { m_doc.m_risingShed = rising; }
    void setCorrelation(int side, bool on);
    void setRowCountsRaw(int warps, int wefts);
    void setUnits(int u) { m_doc.m_units = u == 1 ? 1 : 0; }
    void setWarpSpacing(double x) { CQuillabyDoc::storeSpacing(x, m_doc.m_warpSettWhole, m_doc.m_warpSettFrac); }
    void setWeftSpacing(double x) { CQuillabyDoc::storeSpacing(x, m_doc.m_weftSettWhole, m_doc.m_weftSettFrac); }
    void setWarpSett(int whole, int frac)
    {
        m_doc.m_warpSettWhole = whole;
        m_doc.m_warpSettFrac = frac;
    }
    void setWeftSett(int whole, int frac)
    {
        m_doc.m_weftSettWhole = whole;
        m_doc.m_weftSettFrac = frac;
    }

    std::string& title;
    std::string& date;
    std::string& source;
    std::string& author;
    std::string& notes;
    ProjectPlanValues& plan;
    DisplayNotations& notations;
    BlockSubstitutionParams& blocks;
    WeavingRunState& weaving;
    std::vector<std::unique_ptr<TieupKey>>& tieupKeys;
    bool& hasTieupKeys;

private:
    friend class CQuillabyDoc;
    explicit RawDraft(CQuillabyDoc& doc);
    CQuillabyDoc& m_doc;
};

inline RawDraft CQuillabyDoc::raw()
{
    return RawDraft(*this);
}

// A user action that spans several events, such as a drag: every edit made
// with edit() joins one named step, which goes into the history when the
// transaction is committed or destroyed. Started while another transaction
// of the same document is open, it joins that one.
class DraftTransaction {
public:
    DraftTransaction(CQuillabyDoc& doc, std::string name);
    ~DraftTransaction() { commit(); }
    DraftTransaction(const DraftTransaction&) = delete;
    DraftTransaction& operator=(const DraftTransaction&) = delete;

    Edit edit() const { return Edit(m_doc, m_doc->m_openGroup); }
    // Ends the step; returns whether anything was recorded. Idempotent.
    bool commit();

private:
    CQuillabyDoc* m_doc;
    UndoGroup m_group;
    bool m_outermost;
    bool m_open = true;
};

template <class F> bool CQuillabyDoc::Transaction(std::string name, F&& action)
{
    DraftTransaction t(*this, std::move(name));
    // The whole action is one change for the views.
    struct Batch {
        CQuillabyDoc& doc;
        ~Batch() { doc.endBatch(); }
    } batch{*this};
    beginBatch();
    action(t.edit());
    return t.commit();
}

} // namespace qb
