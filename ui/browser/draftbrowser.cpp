#include "ui/browser/draftbrowser.h"

#include "ui/browser/browserfiles.h"
#include "ui/browser/previewloader.h"

#include "ui/base/imainwindow.h"
#include "ui/base/storedsettings.h"
#include "ui/views/draftframe.h"

#include "core/draft/quillabydoc.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QTreeWidget>

namespace qb {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kTimeRole = Qt::UserRole + 1;
constexpr int kFilledRole = Qt::UserRole + 2;

// Rows sort by name without regard to case, or by the time itself.
class FileItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        if (column == 1) return data(1, kTimeRole).toDateTime() < other.data(1, kTimeRole).toDateTime();
        return text(0).compare(other.text(0), Qt::CaseInsensitive) < 0;
    }
};

QPointer<CDraftBrowser>& theBrowser()
{
    static QPointer<CDraftBrowser> browser;
    return browser;
}

bool hasSubfolders(const QString& path)
{
    return !QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty();
}

} // namespace

CDraftBrowser::CDraftBrowser(IMainWindow* main, QWidget* parent) : QMainWindow(parent), m_main(main)
{
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Draft Browser"));
    setObjectName(QStringLiteral("draftBrowser"));
    const CStoredSettings& s = main->settings();

    m_split = new QSplitter(Qt::Horizontal, this);
    m_tree = new QTreeWidget(m_split);
    m_tree->setHeaderHidden(true);
    m_tree->setObjectName(QStringLiteral("browserFolders"));
    m_files = new QTreeWidget(m_split);
    m_files->setObjectName(QStringLiteral("browserFiles"));
    m_files->setRootIsDecorated(false);
    m_files->setHeaderLabels({QStringLiteral("File Name"), QStringLiteral("Last Modified")});
    m_files->setColumnWidth(0, s.BrowseNameWidth);
    m_files->setColumnWidth(1, s.BrowseModfdWidth);
    m_files->header()->setSectionsClickable(true);
    m_files->header()->setSortIndicatorShown(false);
    m_previewStack = new QStackedWidget(m_split);
    m_message = new QLabel(m_previewStack);
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setWordWrap(true);
    m_message->setObjectName(QStringLiteral("browserMessage"));
    m_previewStack->addWidget(m_message);
    setCentralWidget(m_split);

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    // The main window's own file commands, shared, so the weaver need not
    // leave the browser for them; what they open shows in the main window.
    QWidget* mainWindow = main->window();
    const auto shared = [&](const char* name) { return mainWindow->findChild<QAction*>(QLatin1String(name)); };
    const auto toMain = [mainWindow] {
        mainWindow->raise();
        mainWindow->activateWindow();
    };
    for (const char* name : {"fileNew", "fileOpen"})
        if (QAction* a = shared(name)) {
            file->addAction(a);
            connect(a, &QAction::triggered, this, toMain);
        }
    if (auto* recent = mainWindow->findChild<QMenu*>(QStringLiteral("fileRecent"))) {
        file->addMenu(recent);
        connect(recent, &QMenu::triggered, this, toMain);
    }
    file->addSeparator();
    QAction* refresh = file->addAction(QStringLiteral("Refresh Files"), this, &CDraftBrowser::refreshFiles);
    refresh->setShortcut(QKeySequence::Refresh);
    QAction* draft = file->addAction(QStringLiteral("Draft"), this, &CDraftBrowser::openSelected);
    draft->setShortcut(QKeySequence(QStringLiteral("Ctrl+D")));
    draft->setObjectName(QStringLiteral("browserOpenDraft"));
    file->addSeparator();
    file->addAction(QStringLiteral("&Close"), this, &QWidget::close);
    if (QAction* exit = shared("fileExit")) file->addAction(exit);

    m_loader = new CPreviewLoader(this);
    connect(m_loader, &CPreviewLoader::loaded, this, &CDraftBrowser::showPreview);
    connect(m_tree, &QTreeWidget::itemExpanded, this, &CDraftBrowser::fillFolder);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &CDraftBrowser::folderSelected);
    connect(m_files, &QTreeWidget::currentItemChanged, this, &CDraftBrowser::fileSelected);
    connect(m_files, &QTreeWidget::itemActivated, this, &CDraftBrowser::openSelected);
    connect(m_files->header(), &QHeaderView::sectionClicked, this, &CDraftBrowser::sortBy);
    // Kept as they change: the main window writes the settings before its
    // child windows are gone.
    connect(m_files->header(), &QHeaderView::sectionResized, this, &CDraftBrowser::storeSettings);
    connect(m_split, &QSplitter::splitterMoved, this, &CDraftBrowser::storeSettings);

    const QSize mainSize = main->window()->size();
    resize(BrowserWindowSize(s.BrowseWidth, s.BrowseHeight, mainSize));

    // The tree: the root folder, its sub-folders below it, the stored one selected.
    const BrowseLocation where = SplitBrowseLocation(s.DfltBrowseLocn);
    auto* root = new QTreeWidgetItem(m_tree, {QDir::toNativeSeparators(where.root)});
    root->setData(0, kPathRole, where.root);
    fillFolder(root);
    root->setExpanded(true);
    QTreeWidgetItem* select = root;
    const QString wanted = where.subfolder.isEmpty() ? s.InitBrowseSubdir : where.subfolder;
    for (int i = 0; i < root->childCount(); ++i)
        if (root->child(i)->text(0).compare(wanted, Qt::CaseInsensitive) == 0) select = root->child(i);
    m_tree->setCurrentItem(select);
}

CDraftBrowser::~CDraftBrowser()
{
    // The preview's panes leave their document before it goes.
    delete m_preview;
    m_preview = nullptr;
}

void CDraftBrowser::fillFolder(QTreeWidgetItem* item)
{
    if (item->data(0, kFilledRole).toBool()) return;
    item->setData(0, kFilledRole, true);
    qDeleteAll(item->takeChildren());
    const QString path = item->data(0, kPathRole).toString();
    const QFileInfoList dirs =
        QDir(path).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& d : dirs) {
        auto* child = new QTreeWidgetItem(item, {d.fileName()});
        child->setData(0, kPathRole, d.absoluteFilePath());
        // Offer to expand only what has something inside; filled when opened.
        if (hasSubfolders(d.absoluteFilePath())) new QTreeWidgetItem(child);
    }
}

void CDraftBrowser::folderSelected()
{
    QTreeWidgetItem* item = m_tree->currentItem();
    if (!item) return;
    const QString path = item->data(0, kPathRole).toString();
    m_main->settingsMutable().DfltBrowseLocn = QDir::toNativeSeparators(path);
    showFolder(path);
}

void CDraftBrowser::showFolder(const QString& folder)
{
    m_folder = folder;
    refreshFiles();
}

void CDraftBrowser::refreshFiles()
{
    const QSignalBlocker quiet(m_files);
    m_files->clear();
    const QLocale locale;
    QList<QTreeWidgetItem*> rows;
    for (const QFileInfo& fi : DraftFilesIn(m_folder)) {
        auto* item = new FileItem;
        const QDateTime when = fi.lastModified();
        item->setText(0, fi.fileName());
        item->setText(1, ModifiedText(when, locale));
        item->setData(0, kPathRole, fi.absoluteFilePath());
        item->setData(1, kTimeRole, when);
        rows << item;
    }
    m_files->addTopLevelItems(rows);
    if (rows.isEmpty()) {
        m_loader->request(QString());
        showPreview(QString(), nullptr, QString());
        return;
    }
    m_files->setCurrentItem(rows.first());
    fileSelected();
}

void CDraftBrowser::sortBy(int column)
{
    // Every click turns the order round, on either column.
    m_ascending = !m_ascending;
    m_files->header()->setSortIndicatorShown(true);
    m_files->sortItems(column, m_ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

QString CDraftBrowser::selectedPath() const
{
    const QTreeWidgetItem* item = m_files->currentItem();
    return item ? item->data(0, kPathRole).toString() : QString();
}

void CDraftBrowser::fileSelected()
{
    const QString path = selectedPath();
    if (!path.isEmpty()) m_loader->request(path);
}

QString CDraftBrowser::previewMessage() const
{
    return m_previewStack->currentWidget() == m_message ? m_message->text() : QString();
}

void CDraftBrowser::showPreview(const QString& path, std::shared_ptr<CQuillabyDoc> doc, const QString& error)
{
    // The old frame goes before the draft it shows.
    delete m_preview;
    m_preview = nullptr;
    m_previewDoc = std::move(doc);
    m_previewPath = path;
    if (!m_previewDoc) {
        m_message->setText(path.isEmpty()
                               ? QStringLiteral("No drafts in this folder.")
                               : QStringLiteral("Cannot read %1\n\n%2").arg(QFileInfo(path).fileName(), error));
        m_previewStack->setCurrentWidget(m_message);
        emit previewShown(path);
        return;
    }
    const CStoredSettings& s = m_main->settings();
    m_preview = CDraftFrame::create(m_previewDoc.get(), m_main->cellScale(), s.DraftDrawnUp != 0,
                                    s.ShowGridWhenHidden != 0, m_previewStack);
    const int zoom = s.BrowseZoomLevel;
    for (int i = 0; i < -zoom; ++i) m_preview->zoomOut();
    for (int i = 0; i < zoom; ++i) m_preview->zoomIn();
    m_previewStack->addWidget(m_preview);
    m_previewStack->setCurrentWidget(m_preview);
    emit previewShown(path);
}

void CDraftBrowser::openSelected()
{
    const QString path = selectedPath();
    if (!path.isEmpty()) m_main->openFile(path);
}

void CDraftBrowser::applyPaneWidths()
{
    const CStoredSettings& s = m_main->settings();
    int dir = s.BrowseDirWidth, files = s.BrowseFileWidth;
    CStoredSettings::fixBrowsePaneWidths(dir, files);
    const int w = std::max(1, m_split->width());
    m_split->setSizes({w * dir / 100, w * files / 100, w - w * dir / 100 - w * files / 100});
}

void CDraftBrowser::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    applyPaneWidths();
    storeSettings();
}

void CDraftBrowser::storeSettings()
{
    CStoredSettings& s = m_main->settingsMutable();
    s.BrowseNameWidth = m_files->columnWidth(0);
    s.BrowseModfdWidth = m_files->columnWidth(1);
    s.BrowseWidth = width();
    s.BrowseHeight = height();
    // Until the window is laid out the panes have no widths worth keeping.
    if (!isVisible() || m_split->width() < 50) return;
    const QList<int> sizes = m_split->sizes();
    const int total = std::max(1, sizes.value(0) + sizes.value(1) + sizes.value(2));
    int dir = sizes.value(0) * 100 / total, files = sizes.value(1) * 100 / total;
    CStoredSettings::fixBrowsePaneWidths(dir, files);
    s.BrowseDirWidth = dir;
    s.BrowseFileWidth = files;
    if (const QTreeWidgetItem* item = m_tree->currentItem())
        s.InitBrowseSubdir = item->parent() ? item->text(0) : QString();
}

void CDraftBrowser::closeEvent(QCloseEvent* e)
{
    storeSettings();
    QMainWindow::closeEvent(e);
}

CDraftBrowser* OpenDraftBrowser(IMainWindow* main)
{
    QPointer<CDraftBrowser>& b = theBrowser();
    if (!b) {
        b = new CDraftBrowser(main, main->window());
        b->show();
    }
    if (b->isMinimized()) b->showNormal();
    b->raise();
    b->activateWindow();
    return b;
}

void AddBrowserCommand(IMainWindow* main)
{
    QAction* a = main->menu(MenuId::File)->addAction(QStringLiteral("Draft Browser"), main->window(), [main] {
        OpenDraftBrowser(main);
    });
    a->setShortcut(QKeySequence(QStringLiteral("Ctrl+H")));
    a->setStatusTip(QStringLiteral("Browse through the WIF and QLB files in a folder"));
    a->setObjectName(QStringLiteral("fileDraftBrowser"));
}

} // namespace qb
