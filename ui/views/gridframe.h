#pragma once

#include "ui/base/cellscale.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QWidget>

#include <map>
#include <utility>
#include <vector>

class QAction;

namespace qb {

class CQuillabyDoc;
class CGridView;

// Which pane of a draft frame.
enum class PaneKind { Threading = 0, Tieup = 1, Treadling = 2, Drawdown = 3 };

// Commands a frame offers to the main window's menus.
enum class FrameAction {
    ZoomIn,
    ZoomOut,
    FitInWindow,
    ThreadingNumeric,
    ThreadingAlpha,
    ThreadingUser,
    TreadlingNumeric,
    TreadlingUser,
    TieupNumeric,
    TieupSymbolic,
    Interlace,
    ColorMode,
    WarpMode,
    WeftMode,
    HideThreading,
    HideTieup,
    HideTreadling,
    HideDrawdown,
    HideThreadingColorbar,
    HideTreadlingColorbar,
    SettAspect,
    CopyToClipboard,
    CopyWarpDrawdown,
    CopyWeftDrawdown,
    SaveGraphic,
};

// One end (warp) or pick (weft) picked out in the panes, as Float Search
// shows what it found: the thread's band in every pane that shows it, and
// spans across it (first..last thread of the other side) outlined in the
// drawdown.
struct ThreadHighlight {
    bool warp = true;
    int thread = -1; // -1: nothing highlighted
    std::vector<std::pair<int, int>> spans;
    bool operator==(const ThreadHighlight&) const = default;
};

// Base of every draft window: owns the display state (cell sizes, zoom,
// drawdown mode, hidden panes and color bars, fabric flags) that its panes
// query whenever they lay themselves out. The notations and the drawdown
// style are the draft's: read from the document, changed as edits of it,
// so every window of the draft follows.
class CGridFrame : public QWidget {
    Q_OBJECT
public:
    CGridFrame(CQuillabyDoc* doc, const CellScale& scale, const QString& kindTitle, bool drawnUp,
               bool showGridWhenHidden, QWidget* parent = nullptr);
    ~CGridFrame() override;

    CQuillabyDoc* document() const { return m_doc; }
    const CellScale& scale() const { return m_scale; }

    // --- queries of the panes ---
    int endWidth() const { return m_endWidth; }
    int shaftHeight() const { return m_shaftHeight; }
    int treadleWidth() const { return m_treadleWidth; }
    int pickHeight() const { return m_pickHeight; }
    void setShaftHeight(int h);
    // All four cell dimensions at once (exports and measurements; 1 pixel
    // and up, below what zooming reaches).
    void setCellSizes(int endWidth, int shaftHeight, int treadleWidth, int pickHeight);
    void setTreadleWidth(int w);
    int threadingNotation() const;
    int treadlingNotation() const;
    int tieupNotation() const;
    int drawdownColoring() const { return m_coloring; }
    // Whether the drawdown is shown interlaced: the draft's style, unless
    // this frame shows it flat for the while.
    bool drawdownInterlace() const;
    void setInterlaceSuppressed(bool on);
    bool fabricBack() const { return m_fabricBack; }
    bool threadingOnTop() const { return m_threadingOnTop; }
    bool isPaneHidden(PaneKind k) const { return m_hidden[int(k)]; }
    bool isColorBarHidden(bool warp) const { return m_colorBarHidden[warp ? 0 : 1]; }
    bool showGridWhenHidden() const { return m_showGridWhenHidden; }
    int zoomStep() const { return m_zoomStep; }
    void setShowGridWhenHidden(bool on);
    // The DraftDrawnUp setting changed: every pane turns over.
    void setDrawnUp(bool drawnUp);
    // The highlighted thread (Float Search); setting it repaints the panes.
    const ThreadHighlight& highlight() const { return m_highlight; }
    void setHighlight(const ThreadHighlight& h);
    void clearHighlight() { setHighlight({}); }
    bool settAspectOn() const { return m_settAspect; }
    // Weft sett / warp sett of the document (1 when either is not positive).
    double settRatio() const;
    // Cell of the drawdown pane (the fabric frames proportion it to the sett).
    virtual QSize drawdownCell() const { return {m_endWidth, m_pickHeight}; }

    // --- commands ---
    virtual void zoomIn();
    virtual void zoomOut();
    virtual void fitInWindow() {}
    void toggleThreadingNotation(int value);
    void toggleTreadlingNotation(int value);
    void toggleTieupNotation(int value);
    void toggleInterlace();
    void setColoring(int coloring);
    void toggleHidden(PaneKind k);
    void toggleColorBar(bool warp);
    void toggleSettAspect();
    // Picture exports (no message boxes from the render functions themselves).
    // Every pane of the frame in one picture at the current cell size (or at
    // `cellOverride` pixels per cell); null when it would be too large.
    QImage renderAllPanes(int cellOverride = 0);
    // The drawdown at one pixel per cell in warp (1) or weft (2) mode.
    QImage renderDrawdownBitmap(int coloring);
    // Writes the picture of "Save Graphic" at `squaresPerInch` to `path`
    // (format by extension); false with a message on failure.
    bool writeGraphic(const QString& path, int squaresPerInch, QString* error);
    bool copyToClipboard();
    bool copyDrawdown(int coloring);
    void saveGraphic();
    bool canCopyDrawdown() const;

    // Re-checks the enabled and checked states (the main window calls it
    // before showing its menus, as copying depends on the draft's content).
    void updateActionStates();
    // The frame's actions for the main window's menus (created on first use).
    QAction* action(FrameAction a);
    QList<QAction*> frameActions();

    // Title "kind <document>".
    QString kindTitle() const { return m_kindTitle; }
    // The window's name for the draft (its file name, or "Draft1" until
    // saved); the window that owns the draft gives it to every frame.
    void setDocumentTitle(const QString& title);
    QString documentTitle() const { return m_docTitle; }
    // Path of the draft's file, offered by "Save Graphic".
    void setDocumentPath(const QString& path) { m_docPath = path; }
    QString frameTitle() const;

    // Panes of this frame, and the one last clicked.
    const std::vector<CGridView*>& panes() const { return m_panes; }
    CGridView* activePane() const { return m_active; }
    void setActivePane(CGridView* pane);
    void registerPane(CGridView* pane);
    void unregisterPane(CGridView* pane);
    // Makes every pane re-read the display state and repaint.
    void relayoutPanes();
    // True while the frame is being destroyed: panes stop laying out.
    bool isClosing() const { return m_closing; }

signals:
    void titleChanged(const QString& title);

protected:
    void applyZoomStep(int step);
    virtual void afterZoom() {}
    // Puts the panes where the orientation wants them, after it changed.
    virtual void arrangePanes();
    virtual QImage composePanes();
    static bool exportSizeOk(QSize s);
    void createActions();

    bool m_fabricBack = false;
    bool m_settAspect = false;

private:
    CQuillabyDoc* m_doc;
    CellScale m_scale;
    QString m_kindTitle;
    QString m_docTitle;
    QString m_docPath;
    int m_zoomStep = 0;
    int m_endWidth, m_shaftHeight, m_treadleWidth, m_pickHeight;
    int m_coloring = 0;
    bool m_interlaceSuppressed = false;
    bool m_threadingOnTop = true;
    bool m_showGridWhenHidden = false;
    ThreadHighlight m_highlight;
    bool m_closing = false;
    bool m_hidden[4] = {false, false, false, false};
    bool m_colorBarHidden[2] = {false, false};
    std::vector<CGridView*> m_panes;
    CGridView* m_active = nullptr;
    std::map<FrameAction, QAction*> m_actions;
};

} // namespace qb
