#include "ui/pictures/picturewindow.h"

#include "core/draft/quillabydoc.h"
#include "ui/base/imainwindow.h"
#include "ui/base/uiprompter.h"
#include "ui/base/waitcursor.h"
#include "ui/pictures/pictureview.h"
#include "ui/views/draftframe.h"
#include "ui/views/draftwindow.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressDialog>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace qb {

namespace {

ProgressWatcher& progressWatcher()
{
    static ProgressWatcher w;
    return w;
}

std::string localPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// Lives in the draft generated from a picture while both are open: deleted
// with the draft, and by the picture when it closes or generates again.
class PictureLink : public QObject {
public:
    PictureLink(CDraftWindow* draft, CPictureWindow* picture) : QObject(draft), source(picture)
    {
        setObjectName(QLatin1String(kName));
    }
    static constexpr const char* kName = "sourcePicture";
    QPointer<CPictureWindow> source;
};

PictureLink* linkIn(const CDraftWindow* draft)
{
    return draft ? static_cast<PictureLink*>(
               draft->findChild<QObject*>(QLatin1String(PictureLink::kName), Qt::FindDirectChildrenOnly))
                 : nullptr;
}

} // namespace

void SetProgressWatcher(ProgressWatcher watcher)
{
    progressWatcher() = std::move(watcher);
}

CPictureWindow* SourcePictureOf(const CDraftWindow* draft)
{
    const PictureLink* link = linkIn(draft);
    return link ? link->source.data() : nullptr;
}

CPictureWindow::CPictureWindow(IMainWindow* main, QList<QMenu*> menus, QWidget* parent)
    : QWidget(parent)
    , m_main(main)
    , m_menus(std::move(menus))
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_scroll = new QScrollArea(this);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_view = new CPictureView;
    m_scroll->setWidget(m_view);
    m_scroll->setWidgetResizable(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);
    connect(m_view, &CPictureView::selectionChanged, this, &CPictureWindow::stateChanged);
    connect(m_view, &CPictureView::zoomClicked, this, &CPictureWindow::zoomAbout);
    connect(m_view, &CPictureView::colorPicked, this, [this](QPoint px, QRgb c) {
        m_picked = c;
        m_main->window()->statusBar()->showMessage(
            QStringLiteral("Color at %1, %2: red %3, green %4, blue %5 (grey %6)")
                .arg(px.x() + 1)
                .arg(px.y() + 1)
                .arg(qRed(c))
                .arg(qGreen(c))
                .arg(qBlue(c))
                .arg(GreyValue(c)));
    });
}

CPictureWindow::~CPictureWindow()
{
    if (m_linked) delete linkIn(m_linked);
}

bool CPictureWindow::open(const QString& path, QString& error)
{
    const QString abs = QFileInfo(path).absoluteFilePath();
    std::string reason;
    WaitCursor wait;
    if (!m_doc.Open(localPath(abs), reason)) {
        error = QString::fromLocal8Bit(reason);
        return false;
    }
    m_path = abs;
    m_title = QFileInfo(abs).fileName();
    m_history.Clear();
    pictureChanged();
    return true;
}

QMdiSubWindow* CPictureWindow::subWindow() const
{
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

void CPictureWindow::refreshTitle()
{
    setWindowTitle(m_title + QStringLiteral("[*]"));
    setWindowModified(m_doc.isModified());
}

void CPictureWindow::pictureChanged()
{
    m_view->setPicture(&m_doc.picture());
    m_view->setGrid(m_doc.gridSquares());
    refreshTitle();
    emit stateChanged();
}

bool CPictureWindow::edit(const std::string& name, const std::function<bool(std::string&)>& change)
{
    RgbPicture before = m_doc.picture();
    std::string error;
    bool ok = false;
    {
        WaitCursor wait;
        ok = change(error);
    }
    if (!ok) {
        if (!error.empty()) m_main->tell(QString::fromStdString(error));
        return false;
    }
    m_history.Record(name, std::move(before));
    m_doc.SetModified(m_history.isModified());
    pictureChanged();
    return true;
}

bool CPictureWindow::crop()
{
    const PixelRect r = m_view->selection();
    if (!edit("Crop", [&](std::string& error) { return m_doc.Crop(r, error); })) return false;
    m_view->clearSelection();
    return true;
}

void CPictureWindow::deselect()
{
    m_view->clearSelection();
}

bool CPictureWindow::rotate(double degrees)
{
    if (!edit("Rotate", [&](std::string& error) { return m_doc.Rotate(degrees, error); })) return false;
    m_view->clearSelection();
    fitWindowToPicture();
    return true;
}

void CPictureWindow::grayscale()
{
    edit("Grayscale", [&](std::string&) {
        m_doc.Grayscale();
        return true;
    });
}

bool CPictureWindow::light(int brightness, int contrast)
{
    // Nothing to change: no step, and the picture stays as saved.
    if (brightness == 0 && contrast == 0) return true;
    return edit("Brightness/Contrast", [&](std::string& error) {
        if (m_doc.Light(brightness, contrast)) return true;
        error = "Brightness must lie within -255..255 and contrast within -100..100.";
        return false;
    });
}

void CPictureWindow::setGridSquares(GridSquares grid)
{
    m_doc.SetGridSquares(grid);
    m_view->setGrid(m_doc.gridSquares());
    emit stateChanged();
}

void CPictureWindow::undo()
{
    RgbPicture p;
    m_doc.SwapPicture(p);
    m_history.Undo(p);
    m_doc.SwapPicture(p);
    m_doc.SetModified(m_history.isModified());
    m_view->clearSelection();
    pictureChanged();
}

void CPictureWindow::redo()
{
    RgbPicture p;
    m_doc.SwapPicture(p);
    m_history.Redo(p);
    m_doc.SwapPicture(p);
    m_doc.SetModified(m_history.isModified());
    m_view->clearSelection();
    pictureChanged();
}

void CPictureWindow::showInstead(const RgbPicture* preview)
{
    m_view->setPicture(preview ? preview : &m_doc.picture());
}

bool CPictureWindow::save()
{
    return m_path.isEmpty() ? saveAs() : saveTo(m_path);
}

bool CPictureWindow::saveAs()
{
    // Qt reads the patterns of a filter separated by spaces only.
    const QString all = QStringLiteral("All files (*.jpg *.tif *.bmp)");
    const QString jpeg = QStringLiteral("JPEG (*.jpg *.jpeg)");
    const QString tiff = QStringLiteral("TIFF (*.tif *.tiff)");
    const QString bitmap = QStringLiteral("Bitmap (*.bmp)");
    const QString png = QStringLiteral("PNG (*.png)");
    QString selected = all;
    const QString start = QFileInfo(m_path).absoluteDir().filePath(QFileInfo(m_path).completeBaseName() + ".jpg");
    QString file =
        QFileDialog::getSaveFileName(m_main->window(), QStringLiteral("Graphic File"), start,
                                     QStringList{all, jpeg, tiff, bitmap, png}.join(QStringLiteral(";;")), &selected);
    if (file.isEmpty()) return false;
    if (QFileInfo(file).suffix().isEmpty()) {
        // The default extension, or the one of the type chosen.
        file += selected == tiff ? QStringLiteral(".tif")
            : selected == bitmap ? QStringLiteral(".bmp")
            : selected == png    ? QStringLiteral(".png")
                                 : QStringLiteral(".jpg");
    }
    return saveTo(file);
}

bool CPictureWindow::saveTo(const QString& path)
{
    const QString abs = QFileInfo(path).absoluteFilePath();
    std::string error;
    bool ok = false;
    {
        WaitCursor wait;
        ok = m_doc.Save(localPath(abs), error);
    }
    if (!ok) {
        m_main->tell(QString::fromLocal8Bit(error));
        return false;
    }
    m_history.MarkSaved();
    m_doc.SetModified(false);
    m_path = abs;
    m_title = QFileInfo(abs).fileName();
    refreshTitle();
    emit stateChanged();
    return true;
}

void CPictureWindow::setZoom(double zoom)
{
    m_view->setZoom(std::clamp(zoom, kMinZoom, kMaxZoom));
    emit stateChanged();
}

void CPictureWindow::zoomIn()
{
    setZoom(m_view->zoom() * 2);
}

void CPictureWindow::zoomOut()
{
    setZoom(m_view->zoom() / 2);
}

void CPictureWindow::fitInWindow()
{
    const RgbPicture& p = m_doc.picture();
    if (p.empty()) return;
    const QSize room = m_scroll->maximumViewportSize();
    setZoom(std::min(double(room.width()) / p.width, double(room.height()) / p.height));
}

void CPictureWindow::zoomAbout(bool in, QPoint viewPos)
{
    const double before = m_view->zoom();
    const QPointF at(viewPos.x() / before, viewPos.y() / before);
    if (in) zoomIn();
    else zoomOut();
    const double after = m_view->zoom();
    QScrollBar* h = m_scroll->horizontalScrollBar();
    QScrollBar* v = m_scroll->verticalScrollBar();
    h->setValue(h->value() + int(std::lround(at.x() * after)) - viewPos.x());
    v->setValue(v->value() + int(std::lround(at.y() * after)) - viewPos.y());
}

void CPictureWindow::fitWindowToPicture()
{
    QMdiSubWindow* sub = subWindow();
    if (!sub || sub->isMaximized() || sub->isMinimized()) return;
    const int frame = 2 * m_scroll->frameWidth();
    QSize want = m_view->displayedSize() + QSize(frame, frame) + (sub->size() - size());
    if (QMdiArea* area = sub->mdiArea()) want = want.boundedTo(area->viewport()->size());
    sub->resize(want.expandedTo(QSize(160, 120)));
}

CDraftWindow* CPictureWindow::generateDraft()
{
    CUiPrompter prompter(m_main);
    const GridSquares grid = m_doc.gridSquares();
    QProgressDialog progress(QStringLiteral("Generating a draft from the picture..."), QStringLiteral("Cancel"), 0,
                             std::max(1, grid.across), m_main->window());
    progress.setWindowTitle(QStringLiteral("Generate Draft"));
    progress.setWindowModality(Qt::ApplicationModal);
    // Shown only when the conversion takes longer than a moment.
    progress.setMinimumDuration(500);
    PictureDraft made;
    {
        WaitCursor wait;
        made = m_doc.GenerateDraft(m_main->newDraftDefaults(), prompter, [&](int done, int) {
            progress.setValue(done);
            if (progressWatcher()) progressWatcher()(progress);
            return !progress.wasCanceled();
        });
    }
    progress.reset();
    if (!made.made.result.done() || !made.made.draft) return nullptr;
    CDraftWindow* w = m_main->addDocumentWindow(std::move(made.made.draft), QString());
    // A draft no file holds yet: closing it asks to save.
    w->document().SetModified(true);
    w->refreshTitle();
    w->frame()->fitInWindow();
    linkTo(w);
    if (made.full)
        m_main->tell(QStringLiteral("The draft is full (63 shafts or 127 treadles in use): "
                                    "the rest of the picture was left out."));
    emit stateChanged();
    return w;
}

void CPictureWindow::linkTo(CDraftWindow* draft)
{
    if (m_linked) delete linkIn(m_linked);
    m_linked = draft;
    if (draft) new PictureLink(draft, this);
}

} // namespace qb
