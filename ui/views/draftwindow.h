#pragma once

#include "core/draft/quillabydoc.h"
#include "ui/base/cellscale.h"
#include "ui/views/paneframes.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class QMdiArea;
class QMdiSubWindow;

namespace qb {

class CDraftFrame;
class CGridFrame;

// The MDI child of one open draft: owns the document, shows it in the
// four-pane draft frame, and keeps the further windows opened on the same
// document from the View menu (single panes, fabric), which close with it.
class CDraftWindow : public QWidget, public IDocumentObserver {
    Q_OBJECT
public:
    struct Display {
        CellScale scale;
        bool drawnUp = false;
        bool showGridWhenHidden = false;
    };

    CDraftWindow(std::unique_ptr<CQuillabyDoc> doc, const QString& path, const QString& title, const Display& display,
                 QWidget* parent = nullptr);
    ~CDraftWindow() override;

    CQuillabyDoc& document() { return *m_doc; }
    const CQuillabyDoc& document() const { return *m_doc; }
    CDraftFrame* frame() const { return m_frame; }
    // Absolute path of the file, empty for an untitled draft.
    QString path() const { return m_path; }
    void setPath(const QString& path, const QString& title);
    QString title() const { return m_title; }
    // Refreshes the caption and its modified marker.
    void refreshTitle();

    // The display settings changed in the Options: every window of the
    // draft follows (DraftDrawnUp, ShowGridWhenHidden).
    void setDisplay(bool drawnUp, bool showGridWhenHidden);
    // Opens a further window of the given kind on this draft in `mdi`.
    CGridFrame* openFrame(FrameKind kind, QMdiArea* mdi);
    // Makes `sub` one of this draft's further windows: it closes with the
    // draft and stands for it while active.
    void adoptSubWindow(QMdiSubWindow* sub);
    // Whether `sub` is one of this draft's further windows.
    bool ownsSubWindow(const QMdiSubWindow* sub) const;
    // The frame shown in `sub` when it belongs to this draft, else null.
    CGridFrame* frameIn(const QMdiSubWindow* sub) const;

    void documentUpdated(const CQuillabyDoc& doc, const UpdateHint& hint) override;
    void paletteChanged(const CQuillabyDoc&) override { emit paletteChangedSignal(); }
    void historyChanged(const CQuillabyDoc&) override { emit undoStepsChanged(); }

signals:
    // Any change of the draft (the status bar's counts, the caption's mark).
    void documentChanged();
    // The palette or the mouse buttons' colors changed.
    void paletteChangedSignal();
    // A step joined the history or was undone or redone.
    void undoStepsChanged();

private:
    std::unique_ptr<CQuillabyDoc> m_doc;
    Display m_display;
    QString m_path;
    QString m_title;
    CDraftFrame* m_frame = nullptr;
    QList<QPointer<QMdiSubWindow>> m_others;
};

} // namespace qb
