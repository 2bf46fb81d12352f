#pragma once

#include "ui/base/documentwindow.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

namespace qb {

class CAutosave;
class CDraftWindow;
class CMainFrame;
class CQuillabyDoc;
class CRecentFileList;
struct NewDraftDefaults;

// The files of the main window's documents: the one way a file gets opened
// (File Open, recent files, dropped files, the command line, a second start),
// Save and Save As, the question before a modified document closes, and the
// recent-file list they keep.
class CDocumentFiles : public QObject {
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
    enum class SaveAnswer { Save, Discard, Cancel };
    // Asked before a modified draft's window closes.
    using SaveQuestion = std::function<SaveAnswer(const QString& title)>;

    CDocumentFiles(CMainFrame& frame, CRecentFileList& recent);

    // Activates the window of a file already open; false when it did not
    // open (the user was told why).
    bool openFile(const QString& path);
    void addDocumentType(DocumentType type) { m_types << std::move(type); }

    // Save and Save As on a given window; false when nothing was written.
    bool saveDocument(CDraftWindow* w);
    bool saveDocumentAs(CDraftWindow* w);
    // Save to a given path, as Save As does after its dialog.
    bool saveDocumentTo(CDraftWindow* w, const QString& path) { return writeDocument(w, path); }
    // A modified document is saved or given up only with the weaver's consent.
    bool canCloseDocument(CDraftWindow* w);
    bool canCloseDocument(IDocumentWindow* w);
    void setSaveQuestion(SaveQuestion question) { m_askSave = std::move(question); }

    // The name of the next untitled draft: Draft1, Draft2, ...
    QString nextUntitledName();
    void clearRecentFiles();

    // Tests stand in for the WIF reader and writer here (empty: the real ones).
    static void setDocumentLoader(DocumentLoader loader);
    static void setDocumentSaver(DocumentSaver saver);

public slots:
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();

signals:
    void recentFilesChanged();

private:
    bool saveOtherDocument(IDocumentWindow* w, bool as);
    bool writeDocument(CDraftWindow* w, const QString& path);
    void noteRecentFile(const QString& path);
    void forgetRecentFile(const QString& path);

    CMainFrame& m_frame;
    CRecentFileList& m_recent;
    QList<DocumentType> m_types;
    SaveQuestion m_askSave;
    int m_untitled = 0;
};

} // namespace qb
