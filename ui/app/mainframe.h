#pragma once

#include "core/draft/quillabydoc.h"
#include "ui/app/autosave.h"
#include "ui/app/optionssheet.h"
#include "ui/base/imainwindow.h"
#include "ui/base/screenscale.h"
#include "ui/base/storedsettings.h"
#include "ui/views/paneframes.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace qb {

class CAutosave;
class CDefaultPalette;
class CDobbyController;
class CDraftWindow;
class CRecentFileList;

// The main window: MDI area, menus, status bar. Owns the stored settings:
// reads them when created, writes them when destroyed (and after Options OK).
class CMainFrame : public QMainWindow, public IMainWindow {
    Q_OBJECT
public:
    // Fills `doc` from the file; `defaults` are what a new draft would get
    // (a reader takes from them what the file does not say). On failure it
    // sets `error` to the message the user sees and returns false; an empty
    // `error` means the loader has already told the user why.
    using DocumentLoader =
        std::function<bool(const QString& path, const NewDraftDefaults& defaults, CQuillabyDoc& doc, QString& error)>;
    // Writes `doc` to the file (format by extension); false and `error` on failure.
    // Saving stamps the date on the draft.
    using DocumentSaver = std::function<bool(const QString& path, CQuillabyDoc& doc, QString& error)>;
    using MessageHandler = std::function<void(const QString& text)>;
    enum class SaveAnswer { Save, Discard, Cancel };
    // Asked before a modified draft's window closes.
    using SaveQuestion = std::function<SaveAnswer(const QString& title)>;

    CMainFrame(CDefaultPalette& palette, CRecentFileList& recent, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The main window of this run (null before it exists): other windows
    // read their defaults from it.
    static CMainFrame* instance() { return s_instance; }

    // IMainWindow
    QMainWindow* window() override { return this; }
    const CStoredSettings& settings() const override { return m_settings; }
    CStoredSettings& settingsMutable() override { return m_settings; }
    void showLoomOptions() override { OnDobbySettings(); }
    CDefaultPalette& defaultPalette() { return m_palette; }
    QMdiArea* mdiArea() const override { return m_mdi; }

    // What a new draft starts from: loom defaults and the default palette.
    NewDraftDefaults newDraftDefaults() const override;
    // Taken afresh from the screen the main window is on, so windows opened
    // after it moves to another monitor suit that one.
    CellScale cellScale() const override { return ScreenScale::forWidget(this).cells(); }
    void addDocumentType(DocumentType type) override { m_types << std::move(type); }
    QMdiSubWindow* showDocumentWindow(QWidget* window) override;

    // The one way a file gets opened (File Open, recent files, dropped
    // files, the command line, a second start). Activates the window of a
    // file already open.
    bool openFile(const QString& path) override;
    // A second start asked for `path`: come to the front and open it.
    void openRequestedFile(const QString& path);

    // File New: a draft from the stored defaults in a new window.
    CDraftWindow* newDocument();
    // Shows a document in a new MDI child; `path` empty for an untitled one.
    CDraftWindow* addDocumentWindow(std::unique_ptr<CQuillabyDoc> doc, const QString& path) override;
    CDraftWindow* activeDraftWindow() const override;
    CGridFrame* activeGridFrame() const override;
    QList<CDraftWindow*> draftWindows() const override;

    // Applies the stored placement when it has a positive size and lies on
    // a present screen (else only a size that fits).
    void restorePlacement();
    // Records the placement as closing does.
    void recordPlacement();
    static bool placementIsUsable(const QRect& r, const QList<QRect>& screens);

    // Options OK: takes the values and writes the store at once.
    void applyOptions(const CStoredSettings& values);
    void writeSettings() const;
    // Set Default Palette from the active draft.
    bool setDefaultPaletteFromActive();

    // Tests stand in for the WIF reader and writer here (empty: the real ones).
    static void setDocumentLoader(DocumentLoader loader);
    static void setDocumentSaver(DocumentSaver saver);
    // Where user messages go (a message box unless replaced, e.g. by tests).
    void setMessageHandler(MessageHandler handler) { m_report = std::move(handler); }
    void setSaveQuestion(SaveQuestion question) { m_askSave = std::move(question); }
    using YesNoQuestion = std::function<bool(const QString& question)>;
    void setYesNoQuestion(YesNoQuestion question) { m_askYesNo = std::move(question); }
    // A message for the weaver, and a Yes/No question (true for Yes).
    void tell(const QString& text) override { report(text); }
    bool ask(const QString& question) override { return m_askYesNo && m_askYesNo(question); }

    // Save and Save As on a given window; false when nothing was written.
    bool saveDocument(CDraftWindow* w);
    bool saveDocumentAs(CDraftWindow* w);
    // Save to a given path, as Save As does after its dialog.
    bool saveDocumentTo(CDraftWindow* w, const QString& path) { return writeDocument(w, path); }
    // A modified draft is saved or given up only with the weaver's consent.
    bool canCloseDocument(CDraftWindow* w);
    bool canCloseDocument(IDocumentWindow* w);

    // Recovery copies of the drafts, kept by the application (none in most tests).
    void setAutosave(CAutosave* autosave);
    CAutosave* autosave() const { return m_autosave; }

    // The Dobby menu, the dobby bars and the one weaving run.
    CDobbyController* dobby() const { return m_dobby; }
    // Tells the user (a message box unless the handler was replaced).
    void report(const QString& text);

public slots:
    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileClose();
    void OnOptions();
    void OnDobbySettings();
    void OnAbout();
    // The short guide to drawing and weaving, in a window of its own.
    void OnWeaversGuide();
    // The Undo and Redo items name the step they will take.
    void updateUndoActions();
    void OnEditUndo();
    void OnEditRedo();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createMenus();
    void updateRecentMenu();
    void clearRecentFiles();
    void updateWindowMenu();
    void updateStatus();
    void updateEditMenu();
    void updateViewMenu();
    void openFrame(FrameKind kind);
    // The window of another kind of document that is active, or null.
    IDocumentWindow* activeOtherDocument() const;
    // Its menus in place of the draft menus, or the draft menus back.
    void updateMenuBar();
    bool saveOtherDocument(IDocumentWindow* w, bool as);
    void noteRecentFile(const QString& path);
    void showOptions(COptionsSheet::Page page);
    bool writeDocument(CDraftWindow* w, const QString& path);
    QString nextUntitledName();

    CDefaultPalette& m_palette;
    CRecentFileList& m_recent;
    CStoredSettings m_settings;
    QMdiArea* m_mdi = nullptr;
    QMenu* m_windowMenu = nullptr;
    QMenu* m_editMenu = nullptr;
    QMenu* m_viewMenu = nullptr;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
    QAction* m_statusBarAction = nullptr;
    QList<QAction*> m_frameKindActions;
    QMenu* m_newWindowMenu = nullptr;
    QList<QAction*> m_recentActions;
    // The menus a draft needs, out of the bar while another kind of
    // document is active, and that document's menus shown instead.
    QList<QAction*> m_draftMenus;
    QList<QPointer<QMenu>> m_otherMenus;
    QList<DocumentType> m_types;
    QMenu* m_recentMenu = nullptr;
    QAction* m_recentSeparator = nullptr;
    QAction* m_saveAction = nullptr;
    QAction* m_saveAsAction = nullptr;
    QAction* m_closeAction = nullptr;
    QLabel* m_loomLabel = nullptr;
    CDobbyController* m_dobby = nullptr;
    QPointer<CAutosave> m_autosave;
    int m_untitled = 0;
    bool m_closingAll = false; // the drafts were asked about already
    MessageHandler m_report;
    SaveQuestion m_askSave;
    YesNoQuestion m_askYesNo;

    static CMainFrame* s_instance;
    static DocumentLoader s_loader;
    static DocumentSaver s_saver;
};

} // namespace qb
