#include "ui/app/mainframe.h"

#include "ui/app/autosave.h"
#include "ui/app/defaultpalette.h"
#include "ui/app/draftfiles.h"
#include "ui/app/recentfilelist.h"
#include "ui/app/weaversguide.h"
#include "ui/base/baricons.h"
#include "ui/browser/draftbrowser.h"
#include "ui/colors/palettebar.h"
#include "ui/combine/combinecommands.h"
#include "ui/drawing/toolsmenu.h"
#include "ui/filecommands/draftfilecommands.h"
#include "ui/floats/floatsearchdialog.h"
#include "ui/heddles/heddlewindow.h"
#include "ui/loom/dobbycontroller.h"
#include "ui/pictures/picturecommands.h"
#include "ui/print/printcommands.h"
#include "ui/profile/profilecommands.h"
#include "ui/views/draftframe.h"
#include "ui/views/draftwindow.h"
#include "ui/wholedraft/wholedraftcommands.h"
#include "ui/yarn/yarncommands.h"
#include "ui/yarn/yarnfiledialogs.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>

namespace qb {

CMainFrame* CMainFrame::s_instance = nullptr;
CMainFrame::DocumentLoader CMainFrame::s_loader;
CMainFrame::DocumentSaver CMainFrame::s_saver;

namespace {

QSettings openStore()
{
    return QSettings(QLatin1String(CStoredSettings::kOrganization), QLatin1String(CStoredSettings::kApplication));
}

const QString kAppName = QStringLiteral("Quillaby");

// The platform's keys for a standard command; some platforms (no desktop
// theme, the offscreen one) have none for Save As or Quit.
QList<QKeySequence> standardKeys(QKeySequence::StandardKey key, const char* fallback)
{
    const QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    return keys.isEmpty() ? QList<QKeySequence>{QKeySequence(QLatin1String(fallback))} : keys;
}

} // namespace

CMainFrame::CMainFrame(CDefaultPalette& palette, CRecentFileList& recent, QWidget* parent)
    : QMainWindow(parent)
    , m_palette(palette)
    , m_recent(recent)
{
    {
        QSettings store = openStore();
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

    createMenus();
    m_loomLabel = new QLabel(this);
    statusBar()->addPermanentWidget(m_loomLabel);
    statusBar()->showMessage(QStringLiteral("Ready"));
    updateStatus();

    m_report = [this](const QString& text) { QMessageBox::warning(this, kAppName, text); };
    m_askYesNo = [this](const QString& question) {
        return QMessageBox::question(this, kAppName, question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    m_askSave = [this](const QString& title) {
        const auto b =
            QMessageBox::question(this, kAppName, QStringLiteral("Save changes to %1?").arg(title),
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
        return b == QMessageBox::Yes ? SaveAnswer::Save
                                     : (b == QMessageBox::No ? SaveAnswer::Discard : SaveAnswer::Cancel);
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
    for (CDraftWindow* w : draftWindows()) w->disconnect(this);
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) sub->removeEventFilter(this);
    writeSettings();
}

void CMainFrame::createMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    // Named so that the Draft Browser can offer the same commands.
    file->addAction(QStringLiteral("&New"), QKeySequence::New, this, &CMainFrame::OnFileNew)
        ->setObjectName(QStringLiteral("fileNew"));
    file->addAction(QStringLiteral("&Open..."), QKeySequence::Open, this, &CMainFrame::OnFileOpen)
        ->setObjectName(QStringLiteral("fileOpen"));
    // As other desktop programs have it: recent files in a submenu under
    // Open, with a way to clear them.
    m_recentMenu = file->addMenu(QStringLiteral("Open &Recent"));
    m_recentMenu->setObjectName(QStringLiteral("fileRecent"));
    for (int i = 0; i < CRecentFileList::kSize; ++i) {
        QAction* a = m_recentMenu->addAction(QString());
        connect(a, &QAction::triggered, this, [this, a] { openFile(a->data().toString()); });
        m_recentActions << a;
    }
    m_recentSeparator = m_recentMenu->addSeparator();
    m_recentMenu->addAction(QStringLiteral("&Clear Menu"), this, &CMainFrame::clearRecentFiles);
    m_saveAction = file->addAction(QStringLiteral("&Save"), QKeySequence::Save, this, &CMainFrame::OnFileSave);
    m_saveAsAction = file->addAction(QStringLiteral("Save &As..."), this, &CMainFrame::OnFileSaveAs);
    m_saveAsAction->setShortcuts(standardKeys(QKeySequence::SaveAs, "Ctrl+Shift+S"));
    m_closeAction = file->addAction(QStringLiteral("&Close"), QKeySequence::Close, this, &CMainFrame::OnFileClose);
    AddDraftFileCommands(this, file);
    AddPrintCommands(this, file);
    AddBrowserCommand(this, file);
    file->addSeparator();
    QAction* exit = file->addAction(QStringLiteral("E&xit"), this, &QWidget::close);
    exit->setShortcuts(standardKeys(QKeySequence::Quit, "Ctrl+Q"));
    exit->setObjectName(QStringLiteral("fileExit"));
    updateRecentMenu();

    m_editMenu = menuBar()->addMenu(QStringLiteral("&Edit"));
    m_undoAction = new QAction(QStringLiteral("&Undo"), this);
    m_undoAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    connect(m_undoAction, &QAction::triggered, this, &CMainFrame::OnEditUndo);
    m_redoAction = new QAction(QStringLiteral("&Redo"), this);
    m_redoAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+Y")));
    connect(m_redoAction, &QAction::triggered, this, &CMainFrame::OnEditRedo);
    addAction(m_undoAction);
    addAction(m_redoAction);
    connect(m_editMenu, &QMenu::aboutToShow, this, &CMainFrame::updateEditMenu);
    updateEditMenu();

    m_viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    m_statusBarAction = new QAction(QStringLiteral("&Status Bar"), this);
    m_statusBarAction->setCheckable(true);
    m_statusBarAction->setChecked(true);
    connect(m_statusBarAction, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
    const std::pair<FrameKind, const char*> kinds[] = {
        {FrameKind::Threading, "&Threading"}, {FrameKind::Treadling, "T&readling"},
        {FrameKind::Tieup, "T&ieup"},         {FrameKind::Draft, "&Draft"},
        {FrameKind::Fabric, "&Fabric"},       {FrameKind::FabricBack, "Fabric &Back"}};
    for (const auto& [kind, text] : kinds) {
        QAction* a = new QAction(QString::fromLatin1(text), this);
        connect(a, &QAction::triggered, this, [this, kind = kind] { openFrame(kind); });
        m_frameKindActions << a;
    }
    connect(m_viewMenu, &QMenu::aboutToShow, this, &CMainFrame::updateViewMenu);
    updateViewMenu();

    AddToolMenus(this, menuBar());
    AddColorMenus(this, menuBar());
    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->addAction(QStringLiteral("&Options..."), this, &CMainFrame::OnOptions);
    tools->addAction(QStringLiteral("Set &Default Palette"), this, [this] { setDefaultPaletteFromActive(); });

    m_dobby = new CDobbyController(*this);
    m_dobby->createMenu(menuBar());

    AddDraftCommandMenus(this, menuBar());
    AddYarnMenus(this, menuBar());
    AddCombineMenus(this, menuBar());
    AddHeddleMenus(this, menuBar());
    AddFloatSearchMenu(this, menuBar());
    AddProfileMenus(this, menuBar());

    for (QAction* a : menuBar()->actions())
        if (a != file->menuAction()) m_draftMenus << a;

    m_windowMenu = menuBar()->addMenu(QStringLiteral("&Window"));
    connect(m_windowMenu, &QMenu::aboutToShow, this, &CMainFrame::updateWindowMenu);
    updateWindowMenu();

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&Weaver's Guide"), QKeySequence::HelpContents, this, &CMainFrame::OnWeaversGuide);
    help->addSeparator();
    help->addAction(QStringLiteral("&About Quillaby..."), this, &CMainFrame::OnAbout);

    AddPictureCommands(this, menuBar());
}

IDocumentWindow* CMainFrame::activeOtherDocument() const
{
    QMdiSubWindow* sub = m_mdi->activeSubWindow();
    if (!sub) {
        const QList<QMdiSubWindow*> list = m_mdi->subWindowList(QMdiArea::StackingOrder);
        sub = list.isEmpty() ? nullptr : list.last();
    }
    return sub ? dynamic_cast<IDocumentWindow*>(sub->widget()) : nullptr;
}

void CMainFrame::updateMenuBar()
{
    const IDocumentWindow* other = activeOtherDocument();
    const QList<QMenu*> wanted = other ? other->menus() : QList<QMenu*>();
    for (const QPointer<QMenu>& m : m_otherMenus)
        if (m && !wanted.contains(m.data())) menuBar()->removeAction(m->menuAction());
    m_otherMenus.clear();
    for (QMenu* m : wanted) {
        if (!menuBar()->actions().contains(m->menuAction())) menuBar()->insertMenu(m_windowMenu->menuAction(), m);
        m_otherMenus << m;
    }
    // Taken out of the bar rather than hidden: a hidden menu keeps its
    // mnemonic, and Alt+E would then find two Edit menus.
    const bool draft = wanted.isEmpty();
    if (draft != menuBar()->actions().contains(m_draftMenus.value(0))) {
        for (QAction* a : m_draftMenus) {
            if (draft) menuBar()->insertAction(m_windowMenu->menuAction(), a);
            else menuBar()->removeAction(a);
        }
    }
}

void CMainFrame::updateRecentMenu()
{
    const QStringList& files = m_recent.files();
    for (int i = 0; i < m_recentActions.size(); ++i) {
        QAction* a = m_recentActions.at(i);
        const bool used = i < files.size();
        a->setVisible(used);
        if (used) {
            a->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(files.at(i))));
            a->setData(files.at(i));
        }
    }
    m_recentSeparator->setVisible(!files.isEmpty());
    m_recentMenu->setEnabled(!files.isEmpty());
}

void CMainFrame::clearRecentFiles()
{
    m_recent.clear();
    QSettings store = openStore();
    m_recent.save(store);
    updateRecentMenu();
}

void CMainFrame::updateWindowMenu()
{
    m_windowMenu->clear();
    m_windowMenu->addAction(QStringLiteral("&Cascade"), m_mdi, &QMdiArea::cascadeSubWindows);
    m_windowMenu->addAction(QStringLiteral("&Tile"), m_mdi, &QMdiArea::tileSubWindows);
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    if (!windows.isEmpty()) m_windowMenu->addSeparator();
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* w = windows.at(i);
        QAction* a = m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(w->windowTitle()));
        a->setCheckable(true);
        a->setChecked(w == m_mdi->activeSubWindow());
        connect(a, &QAction::triggered, m_mdi, [this, w] { m_mdi->setActiveSubWindow(w); });
    }
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
    const bool doc = w != nullptr || activeOtherDocument() != nullptr;
    m_saveAction->setEnabled(doc);
    m_saveAsAction->setEnabled(doc);
    m_closeAction->setEnabled(doc);
    updateEditMenu();
    updateMenuBar();
}

CGridFrame* CMainFrame::activeGridFrame() const
{
    QMdiSubWindow* sub = m_mdi->activeSubWindow();
    if (!sub) {
        const QList<QMdiSubWindow*> list = m_mdi->subWindowList(QMdiArea::StackingOrder);
        sub = list.isEmpty() ? nullptr : list.last();
    }
    for (CDraftWindow* w : draftWindows())
        if (CGridFrame* f = w->frameIn(sub)) return f;
    return nullptr;
}

void CMainFrame::updateUndoActions()
{
    // The items say what they will undo or redo, in the menu and the tool tip.
    CDraftWindow* w = activeDraftWindow();
    const UndoHistory* h = w ? &w->document().history() : nullptr;
    auto show = [](QAction* a, const QString& verb, bool can, const std::string& name) {
        a->setEnabled(can);
        const QString what = can && !name.empty() ? QLatin1Char(' ') + QString::fromStdString(name) : QString();
        a->setText(QLatin1Char('&') + verb + what);
        a->setToolTip(verb + what);
        a->setStatusTip(verb + what);
    };
    show(m_undoAction, QStringLiteral("Undo"), h && h->canUndo(), h ? h->undoName() : std::string());
    show(m_redoAction, QStringLiteral("Redo"), h && h->canRedo(), h ? h->redoName() : std::string());
}

void CMainFrame::updateEditMenu()
{
    updateUndoActions();
    m_editMenu->clear();
    m_editMenu->addAction(m_undoAction);
    m_editMenu->addAction(m_redoAction);
    if (CGridFrame* f = activeGridFrame()) {
        f->updateActionStates();
        m_editMenu->addSeparator();
        for (FrameAction a : {FrameAction::CopyToClipboard, FrameAction::CopyWarpDrawdown,
                              FrameAction::CopyWeftDrawdown, FrameAction::SaveGraphic})
            m_editMenu->addAction(f->action(a));
    }
}

void CMainFrame::updateViewMenu()
{
    // Last time's pane submenus go with the rest.
    for (QMenu* old : m_viewMenu->findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) old->deleteLater();
    m_viewMenu->clear();
    m_viewMenu->addAction(m_statusBarAction);
    const bool doc = activeDraftWindow() != nullptr;
    m_viewMenu->addSeparator();
    // Further windows of the draft: each pane alone, or the cloth.
    if (!m_newWindowMenu) {
        m_newWindowMenu = new QMenu(QStringLiteral("&New Window"), this);
        m_newWindowMenu->addActions(m_frameKindActions);
    }
    m_newWindowMenu->setEnabled(doc);
    m_viewMenu->addMenu(m_newWindowMenu);
    CGridFrame* f = activeGridFrame();
    if (!f) return;
    f->updateActionStates();
    // The active window's own display commands: zoom first, then one submenu
    // per pane so that "Numeric" and "Hide" say which pane they change.
    // (The New Window submenu is not a child of the View menu: it stays.)
    m_viewMenu->addSeparator();
    for (FrameAction a : {FrameAction::ZoomIn, FrameAction::ZoomOut, FrameAction::FitInWindow, FrameAction::SettAspect})
        if (QAction* act = f->action(a); act && act->isVisible()) m_viewMenu->addAction(act);
    const std::pair<const char*, std::vector<FrameAction>> panes[] = {
        {"&Threading",
         {FrameAction::ThreadingNumeric, FrameAction::ThreadingAlpha, FrameAction::ThreadingUser,
          FrameAction::HideThreading, FrameAction::HideThreadingColorbar}},
        {"T&readling",
         {FrameAction::TreadlingNumeric, FrameAction::TreadlingUser, FrameAction::HideTreadling,
          FrameAction::HideTreadlingColorbar}},
        {"Tie&up", {FrameAction::TieupNumeric, FrameAction::TieupSymbolic, FrameAction::HideTieup}},
        {"&Drawdown",
         {FrameAction::Interlace, FrameAction::ColorMode, FrameAction::WarpMode, FrameAction::WeftMode,
          FrameAction::HideDrawdown}}};
    for (const auto& [title, actions] : panes) {
        QList<QAction*> shown;
        for (FrameAction a : actions)
            if (QAction* act = f->action(a); act && act->isVisible()) shown << act;
        if (shown.isEmpty()) continue;
        QMenu* sub = m_viewMenu->addMenu(QString::fromLatin1(title));
        sub->addActions(shown);
    }
}

void CMainFrame::openFrame(FrameKind kind)
{
    if (CDraftWindow* w = activeDraftWindow()) w->openFrame(kind, m_mdi);
}

void CMainFrame::OnEditUndo()
{
    CDraftWindow* w = activeDraftWindow();
    if (!w) return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    w->document().Undo();
    QGuiApplication::restoreOverrideCursor();
    updateStatus();
}

void CMainFrame::OnEditRedo()
{
    CDraftWindow* w = activeDraftWindow();
    if (!w) return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    w->document().Redo();
    QGuiApplication::restoreOverrideCursor();
    updateStatus();
}

NewDraftDefaults CMainFrame::newDraftDefaults() const
{
    NewDraftDefaults d = m_settings.newDraftDefaults();
    d.defaultColors = m_palette.colors();
    return d;
}

QString CMainFrame::nextUntitledName()
{
    return QStringLiteral("Draft%1").arg(++m_untitled);
}

CDraftWindow* CMainFrame::newDocument()
{
    auto doc = std::make_unique<CQuillabyDoc>();
    doc->OnNewDocument(newDraftDefaults());
    return addDocumentWindow(std::move(doc), QString());
}

CDraftWindow* CMainFrame::addDocumentWindow(std::unique_ptr<CQuillabyDoc> doc, const QString& path)
{
    const QString title = path.isEmpty() ? nextUntitledName() : QFileInfo(path).fileName();
    CDraftWindow::Display display;
    display.scale = cellScale();
    display.drawnUp = m_settings.DraftDrawnUp != 0;
    display.showGridWhenHidden = m_settings.ShowGridWhenHidden != 0;
    auto* view = new CDraftWindow(std::move(doc), path, title, display);
    connect(view, &CDraftWindow::loomSizeChangedSignal, this, &CMainFrame::updateStatus);
    connect(view, &CDraftWindow::documentChanged, this, &CMainFrame::updateStatus);
    connect(view, &CDraftWindow::undoStepsChanged, this, &CMainFrame::updateUndoActions);
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

CDraftWindow* CMainFrame::activeDraftWindow() const
{
    QMdiSubWindow* sub = m_mdi->activeSubWindow();
    if (!sub) {
        // Offscreen or while the frame is inactive there may be no active
        // child: fall back to the top one.
        const QList<QMdiSubWindow*> list = m_mdi->subWindowList(QMdiArea::StackingOrder);
        sub = list.isEmpty() ? nullptr : list.last();
    }
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

bool CMainFrame::openFile(const QString& path)
{
    if (path.isEmpty()) return false;
    const QString abs = QFileInfo(path).absoluteFilePath();
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    for (QMdiSubWindow* sub : windows) {
        auto* w = qobject_cast<CDraftWindow*>(sub->widget());
        auto* other = dynamic_cast<IDocumentWindow*>(sub->widget());
        if ((w && w->path() == abs) || (other && other->filePath() == abs)) {
            m_mdi->setActiveSubWindow(sub);
            return true;
        }
    }
    const QString shown = QDir::toNativeSeparators(abs);
    if (!QFileInfo(abs).isFile()) {
        if (m_recent.files().contains(abs)) {
            m_recent.remove(abs);
            QSettings store = openStore();
            m_recent.save(store);
            updateRecentMenu();
        }
        report(QStringLiteral("Unable to open %1.\nThe file does not exist.").arg(shown));
        return false;
    }
    // Yarn files open in a yarn window and stay off the recent-file list.
    if (IsYarnFilePath(abs)) {
        CYarnCommands* yarns = CYarnCommands::of(this);
        return yarns && yarns->openYarnFile(abs);
    }
    const QString suffix = QFileInfo(abs).suffix().toLower();
    for (const DocumentType& type : std::as_const(m_types))
        if (type.suffixes.contains(suffix)) {
            if (!type.open(abs)) return false;
            noteRecentFile(abs);
            return true;
        }
    auto doc = std::make_unique<CQuillabyDoc>();
    QString error;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = (s_loader ? s_loader : ReadDraftFile)(abs, newDraftDefaults(), *doc, error);
    QGuiApplication::restoreOverrideCursor();
    if (!ok) {
        if (!error.isEmpty()) report(error);
        return false;
    }
    doc->EnsureComplete();
    doc->SetModified(false);
    addDocumentWindow(std::move(doc), abs);
    noteRecentFile(abs);
    return true;
}

void CMainFrame::noteRecentFile(const QString& path)
{
    m_recent.add(path);
    QSettings store = openStore();
    m_recent.save(store);
    updateRecentMenu();
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

void CMainFrame::OnFileNew()
{
    newDocument();
}

void CMainFrame::OnFileOpen()
{
    QString filters = QStringLiteral("Weaving Files (*.wif *.qlb);;WIF File (*.wif);;Quillaby File (*.qlb);;"
                                     "Yarn Database Files (*.txt);;Yarn Archive Files (*.yrn)");
    for (const DocumentType& type : std::as_const(m_types)) filters += QStringLiteral(";;") + type.filter;
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Open"), m_settings.mruOpenFileLocn,
                                                      filters + QStringLiteral(";;All Files (*)"));
    if (file.isEmpty()) return;
    m_settings.mruOpenFileLocn = QDir::toNativeSeparators(QFileInfo(file).absolutePath());
    openFile(file);
}

void CMainFrame::OnFileSave()
{
    if (IDocumentWindow* other = activeOtherDocument()) saveOtherDocument(other, false);
    else if (CDraftWindow* w = activeDraftWindow()) saveDocument(w);
}

void CMainFrame::OnFileSaveAs()
{
    if (IDocumentWindow* other = activeOtherDocument()) saveOtherDocument(other, true);
    else if (CDraftWindow* w = activeDraftWindow()) saveDocumentAs(w);
}

bool CMainFrame::saveOtherDocument(IDocumentWindow* w, bool as)
{
    const bool ok = as || w->filePath().isEmpty() ? w->saveAs() : w->save();
    if (ok) noteRecentFile(w->filePath());
    return ok;
}

bool CMainFrame::saveDocument(CDraftWindow* w)
{
    return w->path().isEmpty() ? saveDocumentAs(w) : writeDocument(w, w->path());
}

bool CMainFrame::saveDocumentAs(CDraftWindow* w)
{
    const QString wif = QStringLiteral("WIF File (*.wif)");
    const QString qlb = QStringLiteral("Quillaby File (*.qlb)");
    QString selected = m_settings.DfltSaveAsQLB ? qlb : wif;
    const QString start =
        QDir(m_settings.mruSaveFileLocn)
            .filePath(QFileInfo(w->title()).completeBaseName() + (m_settings.DfltSaveAsQLB ? ".qlb" : ".wif"));
    QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Save As"), start,
                                                wif + QStringLiteral(";;") + qlb, &selected);
    if (file.isEmpty()) return false;
    if (QFileInfo(file).suffix().isEmpty()) file += selected == qlb ? QStringLiteral(".qlb") : QStringLiteral(".wif");
    m_settings.mruSaveFileLocn = QDir::toNativeSeparators(QFileInfo(file).absolutePath());
    return writeDocument(w, file);
}

bool CMainFrame::canCloseDocument(CDraftWindow* w)
{
    if (!w->document().isModified() || !m_askSave) return true;
    switch (m_askSave(w->title())) {
    case SaveAnswer::Save: return saveDocument(w);
    case SaveAnswer::Discard: return true;
    case SaveAnswer::Cancel: break;
    }
    return false;
}

bool CMainFrame::canCloseDocument(IDocumentWindow* w)
{
    if (!w->isDocumentModified() || !m_askSave) return true;
    switch (m_askSave(w->documentTitle())) {
    case SaveAnswer::Save: return saveOtherDocument(w, false);
    case SaveAnswer::Discard: return true;
    case SaveAnswer::Cancel: break;
    }
    return false;
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Close) {
        auto* sub = qobject_cast<QMdiSubWindow*>(watched);
        auto* w = sub ? qobject_cast<CDraftWindow*>(sub->widget()) : nullptr;
        if (w && !m_closingAll && !canCloseDocument(w)) {
            event->ignore();
            return true;
        }
        auto* other = sub ? dynamic_cast<IDocumentWindow*>(sub->widget()) : nullptr;
        if (other && !m_closingAll && !canCloseDocument(other)) {
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

bool CMainFrame::writeDocument(CDraftWindow* w, const QString& path)
{
    const QString abs = QFileInfo(path).absoluteFilePath();
    QString error;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = (s_saver ? s_saver : WriteDraftFile)(abs, w->document(), error);
    QGuiApplication::restoreOverrideCursor();
    if (!ok) {
        report(error.isEmpty() ? QStringLiteral("Unable to save %1.").arg(QDir::toNativeSeparators(abs)) : error);
        return false;
    }
    w->document().SetModified(false);
    w->setPath(abs, QFileInfo(abs).fileName());
    if (m_autosave) m_autosave->forget(w);
    m_recent.add(abs);
    QSettings store = openStore();
    m_recent.save(store);
    updateRecentMenu();
    return true;
}

void CMainFrame::OnFileClose()
{
    m_mdi->closeActiveSubWindow();
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
    for (QMdiSubWindow* sub : m_mdi->subWindowList())
        if (auto* w = qobject_cast<CDraftWindow*>(sub->widget()))
            w->setDisplay(values.DraftDrawnUp != 0, values.ShowGridWhenHidden != 0);
    // Written now as well as at exit, so a crash does not lose the change.
    writeSettings();
}

void CMainFrame::setAutosave(CAutosave* autosave)
{
    m_autosave = autosave;
}

void CMainFrame::writeSettings() const
{
    QSettings store = openStore();
    m_settings.write(store);
    store.sync();
}

bool CMainFrame::setDefaultPaletteFromActive()
{
    CDraftWindow* w = activeDraftWindow();
    if (!w) return false;
    QSettings store = openStore();
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

bool CMainFrame::placementIsUsable(const QRect& r, const QList<QRect>& screens)
{
    if (r.width() <= 0 || r.height() <= 0) return false;
    // The top strip, where the title bar is, must be reachable on a screen.
    const QRect top(r.x(), r.y(), r.width(), std::min(r.height(), 32));
    for (const QRect& s : screens) {
        const QRect part = top.intersected(s);
        if (part.width() >= std::min(r.width(), 64) && part.height() >= std::min(top.height(), 16)) return true;
    }
    return false;
}

void CMainFrame::restorePlacement()
{
    const CStoredSettings& s = m_settings;
    if (s.InitialWidth <= 0 || s.InitialHeight <= 0) {
        // Nothing stored yet: most of the screen, centred.
        if (const QScreen* primary = QGuiApplication::primaryScreen()) {
            const QRect avail = primary->availableGeometry();
            const QSize size = avail.size() * 4 / 5;
            resize(size);
            move(avail.center() - QPoint(size.width() / 2, size.height() / 2));
        }
        return;
    }
    const QRect r(s.InitialXPos, s.InitialYPos, s.InitialWidth, s.InitialHeight);
    QList<QRect> screens;
    QSize largest;
    for (const QScreen* screen : QGuiApplication::screens()) {
        screens << screen->availableGeometry();
        largest = largest.expandedTo(screen->availableGeometry().size());
    }
    if (placementIsUsable(r, screens)) {
        move(r.topLeft());
        // A size from a bigger monitor that is gone would hang off the screen.
        resize(largest.isEmpty() ? r.size() : r.size().boundedTo(largest));
        return;
    }
    // The screen it was on is gone: keep the size where it fits, let the
    // system place the window.
    QSize size = r.size();
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        size = size.boundedTo(primary->availableGeometry().size());
    resize(size);
}

void CMainFrame::recordPlacement()
{
    if (isMinimized()) return;
    CStoredSettings& s = m_settings;
    if (isMaximized()) {
        // The window rectangle of a maximised window hangs over the screen
        // edges by its sizing frame on every side.
        const QRect frame = frameGeometry();
        const QRect inner = geometry();
        const int bx = std::max(0, inner.x() - frame.x());
        const int by = std::max(0, frame.bottom() - inner.bottom());
        s.InitialXPos = 0;
        s.InitialYPos = 0;
        s.InitialWidth = frame.width() - 2 * bx;
        s.InitialHeight = frame.height() - 2 * by;
        return;
    }
    s.InitialXPos = pos().x();
    s.InitialYPos = pos().y();
    s.InitialWidth = width();
    s.InitialHeight = height();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // Every modified draft is asked about before any window closes, so that
    // Cancel on one keeps them all open.
    const QList<CDraftWindow*> drafts = draftWindows();
    for (CDraftWindow* w : drafts)
        if (!canCloseDocument(w)) {
            event->ignore();
            return;
        }
    for (QMdiSubWindow* sub : m_mdi->subWindowList())
        if (auto* other = dynamic_cast<IDocumentWindow*>(sub->widget()); other && !canCloseDocument(other)) {
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
    recordPlacement();
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

void CMainFrame::setDocumentLoader(DocumentLoader loader)
{
    s_loader = std::move(loader);
}

void CMainFrame::setDocumentSaver(DocumentSaver saver)
{
    s_saver = std::move(saver);
}

} // namespace qb
