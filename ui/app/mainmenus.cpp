#include "ui/app/mainmenus.h"

#include "ui/app/documentfiles.h"
#include "ui/app/mainframe.h"
#include "ui/app/recentfilelist.h"
#include "ui/base/waitcursor.h"
#include "ui/views/draftframe.h"
#include "ui/views/draftwindow.h"

#include "core/draft/quillabydoc.h"

#include <QAction>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include <utility>
#include <vector>

namespace qb {

namespace {

// The platform's keys for a standard command; some platforms (no desktop
// theme, the offscreen one) have none for Save As or Quit.
QList<QKeySequence> standardKeys(QKeySequence::StandardKey key, const char* fallback)
{
    const QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    return keys.isEmpty() ? QList<QKeySequence>{QKeySequence(QLatin1String(fallback))} : keys;
}

// The top-level menus in the order of the bar.
constexpr std::pair<MenuId, const char*> kBar[] = {
    {MenuId::File, "&File"},           {MenuId::Edit, "&Edit"},   {MenuId::View, "&View"},
    {MenuId::Draw, "&Draw"},           {MenuId::Color, "&Color"}, {MenuId::Threading, "Thre&ading"},
    {MenuId::Treadling, "T&readling"}, {MenuId::Tieup, "Tie&up"}, {MenuId::Drawdown, "Drawdow&n"},
    {MenuId::Tools, "&Tools"},         {MenuId::Dobby, "Do&bby"}, {MenuId::Window, "&Window"},
    {MenuId::Help, "&Help"},
};

} // namespace

CMainMenus::CMainMenus(CMainFrame& frame, CRecentFileList& recent)
    : QObject(&frame)
    , m_frame(frame)
    , m_recent(recent)
    , m_bar(frame.menuBar())
{
    for (const auto& [id, title] : kBar) m_menus[id] = m_bar->addMenu(QString::fromLatin1(title));
    for (const auto& [id, title] : kBar)
        if (id != MenuId::File && id != MenuId::Window && id != MenuId::Help) m_draftMenus << m_menus[id]->menuAction();
    addEditMenu();
    addViewMenu();
    QMenu* tools = menu(MenuId::Tools);
    tools->addAction(QStringLiteral("&Options..."), &frame, &CMainFrame::OnOptions);
    tools->addAction(QStringLiteral("Set &Default Palette"), &frame, [&frame] { frame.setDefaultPaletteFromActive(); });
    connect(&frame.files(), &CDocumentFiles::recentFilesChanged, this, &CMainMenus::updateRecentMenu);
}

QMenu* CMainMenus::menu(MenuId id) const
{
    const auto it = m_menus.find(id);
    return it == m_menus.end() ? nullptr : it->second.data();
}

void CMainMenus::registerMenu(MenuId id, QMenu* submenu)
{
    m_menus[id] = submenu;
}

void CMainMenus::addOpenItems()
{
    QMenu* file = menu(MenuId::File);
    CDocumentFiles* files = &m_frame.files();
    // Named so that the Draft Browser can offer the same commands.
    file->addAction(QStringLiteral("&New"), QKeySequence::New, &m_frame, &CMainFrame::newDocument)
        ->setObjectName(QStringLiteral("fileNew"));
    file->addAction(QStringLiteral("&Open..."), QKeySequence::Open, files, &CDocumentFiles::OnFileOpen)
        ->setObjectName(QStringLiteral("fileOpen"));
}

void CMainMenus::addSaveItems()
{
    QMenu* file = menu(MenuId::File);
    CDocumentFiles* files = &m_frame.files();
    // As other desktop programs have it: recent files in a submenu under
    // Open, with a way to clear them.
    m_recentMenu = file->addMenu(QStringLiteral("Open &Recent"));
    m_recentMenu->setObjectName(QStringLiteral("fileRecent"));
    for (int i = 0; i < CRecentFileList::kSize; ++i) {
        QAction* a = m_recentMenu->addAction(QString());
        connect(a, &QAction::triggered, this, [this, a] { m_frame.openFile(a->data().toString()); });
        m_recentActions << a;
    }
    m_recentSeparator = m_recentMenu->addSeparator();
    m_recentMenu->addAction(QStringLiteral("&Clear Menu"), files, &CDocumentFiles::clearRecentFiles);
    m_saveAction = file->addAction(QStringLiteral("&Save"), QKeySequence::Save, files, &CDocumentFiles::OnFileSave);
    m_saveAsAction = file->addAction(QStringLiteral("Save &As..."), files, &CDocumentFiles::OnFileSaveAs);
    m_saveAsAction->setShortcuts(standardKeys(QKeySequence::SaveAs, "Ctrl+Shift+S"));
    m_closeAction = file->addAction(QStringLiteral("&Close"), QKeySequence::Close, m_frame.mdiArea(),
                                    &QMdiArea::closeActiveSubWindow);
    updateRecentMenu();
}

void CMainMenus::addClosingItems()
{
    QMenu* file = menu(MenuId::File);
    file->addSeparator();
    QAction* exit = file->addAction(QStringLiteral("E&xit"), &m_frame, &QWidget::close);
    exit->setShortcuts(standardKeys(QKeySequence::Quit, "Ctrl+Q"));
    exit->setObjectName(QStringLiteral("fileExit"));

    connect(menu(MenuId::Window), &QMenu::aboutToShow, this, &CMainMenus::updateWindowMenu);
    updateWindowMenu();

    QMenu* help = menu(MenuId::Help);
    help->addAction(QStringLiteral("&Weaver's Guide"), QKeySequence::HelpContents, &m_frame,
                    &CMainFrame::OnWeaversGuide);
    help->addSeparator();
    help->addAction(QStringLiteral("&About Quillaby..."), &m_frame, &CMainFrame::OnAbout);
}

void CMainMenus::addEditMenu()
{
    QMenu* edit = menu(MenuId::Edit);
    auto step = [this](bool undo) {
        CDraftWindow* w = m_frame.activeDraftWindow();
        if (!w) return;
        {
            WaitCursor wait;
            if (undo) w->document().Undo();
            else w->document().Redo();
        }
        m_frame.updateStatus();
    };
    m_undoAction = new QAction(QStringLiteral("&Undo"), this);
    m_undoAction->setObjectName(QStringLiteral("editUndo"));
    m_undoAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    connect(m_undoAction, &QAction::triggered, this, [step] { step(true); });
    m_redoAction = new QAction(QStringLiteral("&Redo"), this);
    m_redoAction->setObjectName(QStringLiteral("editRedo"));
    m_redoAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+Y")));
    connect(m_redoAction, &QAction::triggered, this, [step] { step(false); });
    // The keys work while the menu is out of the bar too.
    m_frame.addAction(m_undoAction);
    m_frame.addAction(m_redoAction);
    connect(edit, &QMenu::aboutToShow, this, &CMainMenus::updateEditMenu);
    updateEditMenu();
}

void CMainMenus::addViewMenu()
{
    QMenu* view = menu(MenuId::View);
    m_statusBarAction = new QAction(QStringLiteral("&Status Bar"), this);
    m_statusBarAction->setCheckable(true);
    m_statusBarAction->setChecked(true);
    connect(m_statusBarAction, &QAction::toggled, this, [this](bool on) { m_frame.statusBar()->setVisible(on); });
    const std::pair<FrameKind, const char*> kinds[] = {
        {FrameKind::Threading, "&Threading"}, {FrameKind::Treadling, "T&readling"},
        {FrameKind::Tieup, "T&ieup"},         {FrameKind::Draft, "&Draft"},
        {FrameKind::Fabric, "&Fabric"},       {FrameKind::FabricBack, "Fabric &Back"}};
    for (const auto& [kind, text] : kinds) {
        QAction* a = new QAction(QString::fromLatin1(text), this);
        connect(a, &QAction::triggered, this, [this, kind = kind] {
            if (CDraftWindow* w = m_frame.activeDraftWindow()) w->openFrame(kind, m_frame.mdiArea());
        });
        m_frameKindActions << a;
    }
    connect(view, &QMenu::aboutToShow, this, &CMainMenus::updateViewMenu);
    updateViewMenu();
}

void CMainMenus::updateRecentMenu()
{
    if (!m_recentMenu) return;
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

void CMainMenus::updateWindowMenu()
{
    QMenu* windowMenu = menu(MenuId::Window);
    QMdiArea* mdi = m_frame.mdiArea();
    windowMenu->clear();
    windowMenu->addAction(QStringLiteral("&Cascade"), mdi, &QMdiArea::cascadeSubWindows);
    windowMenu->addAction(QStringLiteral("&Tile"), mdi, &QMdiArea::tileSubWindows);
    const QList<QMdiSubWindow*> windows = mdi->subWindowList();
    if (!windows.isEmpty()) windowMenu->addSeparator();
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* w = windows.at(i);
        QAction* a = windowMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(w->windowTitle()));
        a->setCheckable(true);
        a->setChecked(w == mdi->activeSubWindow());
        connect(a, &QAction::triggered, mdi, [mdi, w] { mdi->setActiveSubWindow(w); });
    }
}

void CMainMenus::updateForActiveWindow()
{
    const bool doc = m_frame.activeDraftWindow() != nullptr || m_frame.activeOtherDocument() != nullptr;
    if (m_saveAction) {
        m_saveAction->setEnabled(doc);
        m_saveAsAction->setEnabled(doc);
        m_closeAction->setEnabled(doc);
    }
    updateEditMenu();
    updateMenuBar();
}

void CMainMenus::updateMenuBar()
{
    const IDocumentWindow* other = m_frame.activeOtherDocument();
    const QList<QMenu*> wanted = other ? other->menus() : QList<QMenu*>();
    QAction* windowAt = menu(MenuId::Window)->menuAction();
    for (const QPointer<QMenu>& m : m_otherMenus)
        if (m && !wanted.contains(m.data())) m_bar->removeAction(m->menuAction());
    m_otherMenus.clear();
    for (QMenu* m : wanted) {
        if (!m_bar->actions().contains(m->menuAction())) m_bar->insertMenu(windowAt, m);
        m_otherMenus << m;
    }
    // Taken out of the bar rather than hidden: a hidden menu keeps its
    // mnemonic, and Alt+E would then find two Edit menus.
    const bool draft = wanted.isEmpty();
    if (draft != m_bar->actions().contains(m_draftMenus.value(0))) {
        for (QAction* a : std::as_const(m_draftMenus)) {
            if (draft) m_bar->insertAction(windowAt, a);
            else m_bar->removeAction(a);
        }
    }
}

void CMainMenus::updateUndoActions()
{
    // The items say what they will undo or redo, in the menu and the tool tip.
    CDraftWindow* w = m_frame.activeDraftWindow();
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

void CMainMenus::updateEditMenu()
{
    QMenu* edit = menu(MenuId::Edit);
    updateUndoActions();
    edit->clear();
    edit->addAction(m_undoAction);
    edit->addAction(m_redoAction);
    if (CGridFrame* f = m_frame.activeGridFrame()) {
        f->updateActionStates();
        edit->addSeparator();
        for (FrameAction a : {FrameAction::CopyToClipboard, FrameAction::CopyWarpDrawdown,
                              FrameAction::CopyWeftDrawdown, FrameAction::SaveGraphic})
            edit->addAction(f->action(a));
    }
}

void CMainMenus::updateViewMenu()
{
    QMenu* view = menu(MenuId::View);
    // Last time's pane submenus go with the rest.
    for (QMenu* old : view->findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) old->deleteLater();
    view->clear();
    view->addAction(m_statusBarAction);
    const bool doc = m_frame.activeDraftWindow() != nullptr;
    view->addSeparator();
    // Further windows of the draft: each pane alone, or the cloth.
    if (!m_newWindowMenu) {
        m_newWindowMenu = new QMenu(QStringLiteral("&New Window"), &m_frame);
        m_newWindowMenu->addActions(m_frameKindActions);
    }
    m_newWindowMenu->setEnabled(doc);
    view->addMenu(m_newWindowMenu);
    CGridFrame* f = m_frame.activeGridFrame();
    if (!f) return;
    f->updateActionStates();
    // The active window's own display commands: zoom first, then one submenu
    // per pane so that "Numeric" and "Hide" say which pane they change.
    // (The New Window submenu is not a child of the View menu: it stays.)
    view->addSeparator();
    for (FrameAction a : {FrameAction::ZoomIn, FrameAction::ZoomOut, FrameAction::FitInWindow, FrameAction::SettAspect})
        if (QAction* act = f->action(a); act && act->isVisible()) view->addAction(act);
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
        QMenu* sub = view->addMenu(QString::fromLatin1(title));
        sub->addActions(shown);
    }
}

} // namespace qb
