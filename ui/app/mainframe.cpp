#include "ui/app/mainframe.h"

#include "ui/app/autosave.h"
#include "ui/app/defaultpalette.h"
#include "ui/app/documentfiles.h"
#include "ui/app/features.h"
#include "ui/app/mainmenus.h"
#include "ui/app/weaversguide.h"
#include "ui/app/windowplacement.h"
#include "ui/base/baricons.h"
#include "ui/loom/dobbycontroller.h"
#include "ui/views/draftframe.h"
#include "ui/views/draftwindow.h"

#include "core/draft/quillabydoc.h"
#include "core/transform/command.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QMimeData>
#include <QStatusBar>

namespace qb {

CMainFrame* CMainFrame::s_instance = nullptr;

namespace {

const QString kAppName = QStringLiteral("Quillaby");

} // namespace

CMainFrame::CMainFrame(CDefaultPalette& palette, CRecentFileList& recent, QWidget* parent)
    : QMainWindow(parent)
    , m_palette(palette)
{
    {
        QSettings store = OpenSettingsStore();
        m_settings.read(store);
    }
    setWindowTitle(kAppName);
    setWindowIcon(BarIcon("quillaby"));
    setAcceptDrops(true);

    m_mdi = new QMdiArea(this);
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] { updateStatus(); });

    m_files = new CDocumentFiles(*this, recent);
    m_menus = new CMainMenus(*this, recent);
    m_dobby = new CDobbyController(*this);
    InstallFeatures(*this);

    m_loomLabel = new QLabel(this);
    statusBar()->addPermanentWidget(m_loomLabel);
    statusBar()->showMessage(QStringLiteral("Ready"));
    updateStatus();

    m_report = [this](const QString& text) { QMessageBox::warning(this, kAppName, text); };
    m_askYesNo = [this](const QString& question) {
        return QMessageBox::question(this, kAppName, question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    s_instance = this;
}

CMainFrame::~CMainFrame()
{
    // The run ends (release sent) while the drafts and settings still exist.
    delete m_dobby;
    m_dobby = nullptr;
    if (s_instance == this) s_instance = nullptr;
    // The MDI area and the draft windows are deleted after this object is no
    // longer a CMainFrame, and closing children activates other windows: none
    // of their signals may reach this half-destroyed window or its helpers.
    QObject::disconnect(m_mdi, &QMdiArea::subWindowActivated, nullptr, nullptr);
    m_mdi->disconnect(this);
    for (CDraftWindow* w : draftWindows()) {
        w->disconnect(this);
        w->disconnect(m_menus);
    }
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) sub->removeEventFilter(this);
    writeSettings();
}

QMenu* CMainFrame::menu(MenuId id) const
{
    return m_menus->menu(id);
}

void CMainFrame::registerMenu(MenuId id, QMenu* submenu)
{
    m_menus->registerMenu(id, submenu);
}

bool CMainFrame::openFile(const QString& path)
{
    return m_files->openFile(path);
}

void CMainFrame::addDocumentType(DocumentType type)
{
    m_files->addDocumentType(std::move(type));
}

QMdiSubWindow* CMainFrame::activeOrTopSubWindow() const
{
    // Offscreen or while the frame is inactive there may be no active child:
    // the top one stands for it.
    if (QMdiSubWindow* sub = m_mdi->activeSubWindow()) return sub;
    const QList<QMdiSubWindow*> list = m_mdi->subWindowList(QMdiArea::StackingOrder);
    return list.isEmpty() ? nullptr : list.last();
}

IDocumentWindow* CMainFrame::activeOtherDocument() const
{
    QMdiSubWindow* sub = activeOrTopSubWindow();
    return sub ? dynamic_cast<IDocumentWindow*>(sub->widget()) : nullptr;
}

void CMainFrame::updateStatus()
{
    const CDraftWindow* w = activeDraftWindow();
    QString text;
    if (w) {
        const CQuillabyDoc& d = w->document();
        text = QStringLiteral("warp: %1     weft: %2     shafts: %3     treadles: %4     ")
                   .arg(d.numEnds())
                   .arg(d.numPicks())
                   .arg(d.numShafts())
                   .arg(d.numTreadles());
    }
    m_loomLabel->setText(text);
    m_menus->updateForActiveWindow();
}

CGridFrame* CMainFrame::activeGridFrame() const
{
    QMdiSubWindow* sub = activeOrTopSubWindow();
    for (CDraftWindow* w : draftWindows())
        if (CGridFrame* f = w->frameIn(sub)) return f;
    return nullptr;
}

CDraftWindow* CMainFrame::activeDraftWindow() const
{
    QMdiSubWindow* sub = activeOrTopSubWindow();
    if (!sub) return nullptr;
    if (auto* w = qobject_cast<CDraftWindow*>(sub->widget())) return w;
    // A further window (single pane, fabric) stands for its draft.
    for (CDraftWindow* w : draftWindows())
        if (w->ownsSubWindow(sub)) return w;
    return nullptr;
}

QList<CDraftWindow*> CMainFrame::draftWindows() const
{
    QList<CDraftWindow*> result;
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    for (QMdiSubWindow* sub : windows)
        if (auto* w = qobject_cast<CDraftWindow*>(sub->widget())) result << w;
    return result;
}

NewDraftDefaults CMainFrame::newDraftDefaults() const
{
    NewDraftDefaults d = m_settings.newDraftDefaults();
    d.defaultColors = m_palette.colors();
    return d;
}

CDraftWindow* CMainFrame::newDocument()
{
    auto doc = std::make_unique<CQuillabyDoc>();
    doc->OnNewDocument(newDraftDefaults());
    return addDocumentWindow(std::move(doc), QString());
}

CDraftWindow* CMainFrame::addDocumentWindow(std::unique_ptr<CQuillabyDoc> doc, const QString& path)
{
    const QString title = path.isEmpty() ? m_files->nextUntitledName() : QFileInfo(path).fileName();
    CDraftWindow::Display display;
    display.scale = cellScale();
    display.drawnUp = m_settings.DraftDrawnUp != 0;
    display.showGridWhenHidden = m_settings.ShowGridWhenHidden != 0;
    auto* view = new CDraftWindow(std::move(doc), path, title, display);
    connect(view, &CDraftWindow::documentChanged, this, &CMainFrame::updateStatus);
    connect(view, &CDraftWindow::undoStepsChanged, m_menus, &CMainMenus::updateUndoActions);
    // The first draft of an empty main window takes the whole client area.
    const bool first = m_mdi->subWindowList().isEmpty();
    QMdiSubWindow* sub = m_mdi->addSubWindow(view);
    sub->installEventFilter(this);
    sub->setGeometry(CDraftFrame::initialGeometry(m_mdi->viewport()->size()));
    if (first) sub->showMaximized();
    else sub->show();
    m_mdi->setActiveSubWindow(sub);
    updateStatus();
    return view;
}

void CMainFrame::afterCommand(CQuillabyDoc& doc, const CommandResult& r)
{
    CDraftWindow* w = nullptr;
    for (CDraftWindow* d : draftWindows())
        if (&d->document() == &doc) w = d;
    if (!w || !r.done()) return;
    // The views heard what changed from the document; what is left is the
    // window: fitted when the command asks for it, and its caption.
    CGridFrame* active = activeGridFrame();
    if (!active || active->document() != &doc) active = w->frame();
    if (r.fitToWindow) active->fitInWindow();
    w->refreshTitle();
}

QMdiSubWindow* CMainFrame::showDocumentWindow(QWidget* window)
{
    QMdiSubWindow* sub = m_mdi->addSubWindow(window);
    sub->installEventFilter(this);
    sub->show();
    m_mdi->setActiveSubWindow(sub);
    updateStatus();
    return sub;
}

void CMainFrame::openRequestedFile(const QString& path)
{
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
    openFile(path);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Close) {
        auto* sub = qobject_cast<QMdiSubWindow*>(watched);
        auto* w = sub ? qobject_cast<CDraftWindow*>(sub->widget()) : nullptr;
        if (w && !m_closingAll && !m_files->canCloseDocument(w)) {
            event->ignore();
            return true;
        }
        auto* other = sub ? dynamic_cast<IDocumentWindow*>(sub->widget()) : nullptr;
        if (other && !m_closingAll && !m_files->canCloseDocument(other)) {
            event->ignore();
            return true;
        }
        // A draft being woven stops its run before its window goes.
        if (w && m_dobby) m_dobby->documentClosing(w->document());
        // Saved, or given up with the weaver's consent: nothing to recover.
        if (w && m_autosave) m_autosave->forget(w);
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::OnOptions()
{
    showOptions(COptionsSheet::LoomPage);
}

void CMainFrame::OnDobbySettings()
{
    showOptions(COptionsSheet::DobbyPage);
}

void CMainFrame::showOptions(COptionsSheet::Page page)
{
    COptionsSheet sheet(m_settings, page, this);
    if (sheet.exec() == QDialog::Accepted) applyOptions(sheet.values());
}

void CMainFrame::applyOptions(const CStoredSettings& values)
{
    m_settings = values;
    if (m_autosave) m_autosave->setIntervalSeconds(values.AutosaveSeconds);
    // Open drafts take the new orientation and hidden-grid choice at once.
    for (CDraftWindow* w : draftWindows()) w->setDisplay(values.DraftDrawnUp != 0, values.ShowGridWhenHidden != 0);
    // Written now as well as at exit, so a crash does not lose the change.
    writeSettings();
}

void CMainFrame::writeSettings() const
{
    QSettings store = OpenSettingsStore();
    m_settings.write(store);
    store.sync();
}

bool CMainFrame::setDefaultPaletteFromActive()
{
    CDraftWindow* w = activeDraftWindow();
    if (!w) return false;
    QSettings store = OpenSettingsStore();
    m_palette.store(store, w->document().palette().colors());
    store.sync();
    return true;
}

void CMainFrame::OnAbout()
{
    QMessageBox::about(this, QStringLiteral("About Quillaby"),
                       QStringLiteral("Quillaby\nVersion %1").arg(QStringLiteral("8.0.4")));
}

void CMainFrame::OnWeaversGuide()
{
    ShowWeaversGuide(this);
}

void CMainFrame::report(const QString& text)
{
    if (m_report) m_report(text);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // Every modified draft is asked about before any window closes, so that
    // Cancel on one keeps them all open.
    const QList<CDraftWindow*> drafts = draftWindows();
    for (CDraftWindow* w : drafts)
        if (!m_files->canCloseDocument(w)) {
            event->ignore();
            return;
        }
    for (QMdiSubWindow* sub : m_mdi->subWindowList())
        if (auto* other = dynamic_cast<IDocumentWindow*>(sub->widget()); other && !m_files->canCloseDocument(other)) {
            event->ignore();
            return;
        }
    m_closingAll = true;
    m_mdi->closeAllSubWindows();
    m_closingAll = false;
    if (!m_mdi->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    WindowPlacement::record(*this, m_settings);
    QMainWindow::closeEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    for (const QUrl& url : urls)
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            return;
        }
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    activateWindow();
    for (const QUrl& url : urls)
        if (url.isLocalFile()) openFile(url.toLocalFile());
}

} // namespace qb
