#pragma once

#include "ui/app/autosave.h"
#include "ui/app/optionssheet.h"
#include "ui/base/imainwindow.h"
#include "ui/base/screenscale.h"
#include "ui/base/storedsettings.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

class QLabel;
class QMdiArea;
class QMdiSubWindow;

namespace qb {

class CAutosave;
class CDefaultPalette;
class CDobbyController;
class CDocumentFiles;
class CDraftWindow;
class CMainMenus;
class CRecentFileList;

// The main window: the MDI area of the documents, the status bar and the
// stored settings (read when it is made, written when it goes and after
// Options OK). Its menus are a CMainMenus, its files a CDocumentFiles; the
// features it assembles reach it as IMainWindow.
class CMainFrame : public QMainWindow, public IMainWindow {
    Q_OBJECT
public:
    using MessageHandler = std::function<void(const QString& text)>;
    using YesNoQuestion = std::function<bool(const QString& question)>;

    CMainFrame(CDefaultPalette& palette, CRecentFileList& recent, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The main window of this run (null before it exists): other windows
    // read their defaults from it.
    static CMainFrame* instance() { return s_instance; }

    CDocumentFiles& files() const { return *m_files; }
    CMainMenus& menus() const { return *m_menus; }

    // IMainWindow
    QMainWindow* window() override { return this; }
    QMdiArea* mdiArea() const override { return m_mdi; }
    const CStoredSettings& settings() const override { return m_settings; }
    CStoredSettings& settingsMutable() override { return m_settings; }
    CDraftWindow* activeDraftWindow() const override;
    CGridFrame* activeGridFrame() const override;
    QList<CDraftWindow*> draftWindows() const override;
    CDraftWindow* addDocumentWindow(std::unique_ptr<CQuillabyDoc> doc, const QString& path) override;
    NewDraftDefaults newDraftDefaults() const override;
    // Taken afresh from the screen the main window is on, so windows opened
    // after it moves to another monitor suit that one.
    CellScale cellScale() const override { return ScreenScale::forWidget(this).cells(); }
    bool openFile(const QString& path) override;
    void addDocumentType(DocumentType type) override;
    QMdiSubWindow* showDocumentWindow(QWidget* window) override;
    void tell(const QString& text) override { report(text); }
    bool ask(const QString& question) override { return m_askYesNo && m_askYesNo(question); }
    void showLoomOptions() override { OnDobbySettings(); }
    QMenu* menu(MenuId id) const override;
    void registerMenu(MenuId id, QMenu* submenu) override;
    bool setDefaultPaletteFromActive() override;
    void afterCommand(CQuillabyDoc& doc, const CommandResult& r) override;

    // The window of another kind of document that is active, or null.
    IDocumentWindow* activeOtherDocument() const;
    // A second start asked for `path`: come to the front and open it.
    void openRequestedFile(const QString& path);

    // Options OK: takes the values and writes the store at once.
    void applyOptions(const CStoredSettings& values);
    void writeSettings() const;

    // Where user messages go (a message box unless replaced, e.g. by tests).
    void setMessageHandler(MessageHandler handler) { m_report = std::move(handler); }
    void setYesNoQuestion(YesNoQuestion question) { m_askYesNo = std::move(question); }
    void report(const QString& text);

    // Recovery copies of the drafts, kept by the application (none in most tests).
    void setAutosave(CAutosave* autosave) { m_autosave = autosave; }
    CAutosave* autosave() const { return m_autosave; }
    // The Dobby menu, the dobby bars and the one weaving run.
    CDobbyController* dobby() const { return m_dobby; }

    // The status bar's loom sizes and the menus, for the active window.
    void updateStatus();

public slots:
    // File New: a draft from the stored defaults in a new window.
    CDraftWindow* newDocument();
    void OnOptions();
    void OnDobbySettings();
    void OnAbout();
    // The short guide to drawing and weaving, in a window of its own.
    void OnWeaversGuide();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showOptions(COptionsSheet::Page page);
    QMdiSubWindow* activeOrTopSubWindow() const;

    CDefaultPalette& m_palette;
    CStoredSettings m_settings;
    QMdiArea* m_mdi = nullptr;
    CDocumentFiles* m_files = nullptr;
    CMainMenus* m_menus = nullptr;
    QLabel* m_loomLabel = nullptr;
    CDobbyController* m_dobby = nullptr;
    QPointer<CAutosave> m_autosave;
    bool m_closingAll = false; // the drafts were asked about already
    MessageHandler m_report;
    YesNoQuestion m_askYesNo;

    static CMainFrame* s_instance;
};

} // namespace qb
