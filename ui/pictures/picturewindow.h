#pragma once

#include "core/imagedraft/imagedoc.h"
#include "ui/base/documentwindow.h"
#include "ui/pictures/picturehistory.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QMdiSubWindow;
class QProgressDialog;
class QScrollArea;

namespace qb {

class CDraftWindow;
class CPictureView;
class IMainWindow;

// Tests watch Generate Draft's progress dialog at every step (and may press
// its Cancel); null for none.
using ProgressWatcher = std::function<void(QProgressDialog&)>;
void SetProgressWatcher(ProgressWatcher watcher);

// The MDI child of a graphic document: the picture in a scrolling view, its
// edits (each one step of its own Undo), Save, and Generate Draft, whose
// draft stays linked to the picture until either closes or the picture
// generates another.
class CPictureWindow : public QWidget, public IDocumentWindow {
    Q_OBJECT
public:
    CPictureWindow(IMainWindow* main, QList<QMenu*> menus, QWidget* parent = nullptr);
    ~CPictureWindow() override;

    // False with the message for the user in `error`.
    bool open(const QString& path, QString& error);

    const CImageDoc& document() const { return m_doc; }
    CPictureView* view() const { return m_view; }
    const PictureHistory& history() const { return m_history; }

    // IDocumentWindow
    QString filePath() const override { return m_path; }
    QString documentTitle() const override { return m_title; }
    bool isDocumentModified() const override { return m_doc.isModified(); }
    bool save() override;
    bool saveAs() override;
    QList<QMenu*> menus() const override { return m_menus; }
    // Save As after its dialog.
    bool saveTo(const QString& path);

    // The edits; each false when refused (the user has been told why).
    bool crop();
    void deselect();
    bool rotate(double degrees);
    void grayscale();
    bool light(int brightness, int contrast);
    void setGridSquares(GridSquares grid);
    void undo();
    void redo();
    // Shows another picture in place of the document's (the Brightness and
    // Contrast preview); null shows the document's again.
    void showInstead(const RgbPicture* preview);

    void zoomIn();
    void zoomOut();
    void fitInWindow();
    // Zooms by the zoom tool, keeping the point clicked under the pointer.
    void zoomAbout(bool in, QPoint viewPos);
    // The MDI child takes the size of the picture (within the main window)
    // unless it is maximised.
    void fitWindowToPicture();

    // "Generate Draft": the new draft in a window of its own, linked to this
    // picture; null when refused or cancelled.
    CDraftWindow* generateDraft();
    CDraftWindow* linkedDraft() const { return m_linked.data(); }

    // The color last read by the pick-up tool, as 0xAARRGGBB (0 for none).
    QRgb pickedColor() const { return m_picked; }

    static constexpr double kMinZoom = 1.0 / 64;
    static constexpr double kMaxZoom = 32.0;

signals:
    // The picture, its history, the selection or the zoom changed: the
    // commands refresh their states.
    void stateChanged();

private:
    QMdiSubWindow* subWindow() const;
    // After the picture changed: the view, the title, the commands.
    void pictureChanged();
    void refreshTitle();
    // Runs a picture edit as one undo step named `name`.
    bool edit(const std::string& name, const std::function<bool(std::string&)>& change);
    void setZoom(double zoom);
    void linkTo(CDraftWindow* draft);

    IMainWindow* m_main;
    QList<QMenu*> m_menus;
    CImageDoc m_doc;
    PictureHistory m_history;
    QString m_path;
    QString m_title;
    QScrollArea* m_scroll;
    CPictureView* m_view;
    QPointer<CDraftWindow> m_linked;
    QRgb m_picked = 0;
};

// The picture a draft was generated from, while both are open; else null.
CPictureWindow* SourcePictureOf(const CDraftWindow* draft);

} // namespace qb
