#pragma once

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QLabel;
class QMenu;
class QSplitter;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace qb {

class CDraftFrame;
class CPreviewLoader;
class CQuillabyDoc;
class IMainWindow;

// "Draft Browser": a folder tree, the draft files of the selected folder
// with their modification times, and a preview of the selected draft drawn
// as a draft window draws it. Drafts are read for the preview off the
// window's thread, so leafing through a large folder never stalls it.
class CDraftBrowser : public QMainWindow {
    Q_OBJECT
public:
    explicit CDraftBrowser(IMainWindow* main, QWidget* parent = nullptr);
    ~CDraftBrowser() override;

    // Shows the drafts of `folder` and previews the first.
    void showFolder(const QString& folder);
    QString folder() const { return m_folder; }
    // "Refresh Files".
    void refreshFiles();
    // "Draft": opens the selected draft as a normal draft window.
    void openSelected();

    QTreeWidget* folderTree() const { return m_tree; }
    QTreeWidget* fileList() const { return m_files; }
    QString selectedPath() const;
    // The draft previewed, null while none is (a file that cannot be read
    // shows its message instead).
    const CQuillabyDoc* previewDocument() const { return m_previewDoc.get(); }
    CDraftFrame* previewFrame() const { return m_preview; }
    QString previewPath() const { return m_previewPath; }
    QString previewMessage() const;
    CPreviewLoader* loader() const { return m_loader; }

signals:
    // A preview (or its message) is showing for `path`.
    void previewShown(const QString& path);

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void folderSelected();
    void fileSelected();
    void showPreview(const QString& path, std::shared_ptr<CQuillabyDoc> doc, const QString& error);
    void applyPaneWidths();
    void fillFolder(QTreeWidgetItem* item);
    void sortBy(int column);
    void storeSettings();

    IMainWindow* m_main;
    QSplitter* m_split = nullptr;
    QTreeWidget* m_tree = nullptr;
    QTreeWidget* m_files = nullptr;
    QStackedWidget* m_previewStack = nullptr;
    QLabel* m_message = nullptr;
    CDraftFrame* m_preview = nullptr;
    std::shared_ptr<CQuillabyDoc> m_previewDoc;
    QString m_previewPath;
    QString m_folder;
    CPreviewLoader* m_loader = nullptr;
    bool m_ascending = false;
};

// Brings the one browser window up (creating it on first use).
CDraftBrowser* OpenDraftBrowser(IMainWindow* main);
// "Draft Browser" (Ctrl+H) on the File menu.
void AddBrowserCommand(IMainWindow* main);

} // namespace qb
