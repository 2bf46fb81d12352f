#pragma once

#include "ui/app/defaultpalette.h"
#include "ui/app/recentfilelist.h"
#include "ui/app/singleinstance.h"

#include <QObject>
#include <QStringList>

#include <memory>

namespace qb {

class CAutosave;
class CMainFrame;
class CTermSignal;

// The application object: single instance, default palette, recent files
// and the main window.
class CQuillabyApp : public QObject {
    Q_OBJECT
public:
    explicit CQuillabyApp(const QString& instanceKey = QLatin1String(CSingleInstance::kDefaultKey),
                          QObject* parent = nullptr);
    ~CQuillabyApp() override;

    // Starts the program from its arguments (argv[0] first). Returns false
    // when it must end at once (another instance took over); exitCode() then
    // tells how.
    bool InitInstance(const QStringList& arguments);
    int exitCode() const { return m_exitCode; }

    CMainFrame* mainFrame() const { return m_frame.get(); }
    CAutosave* autosave() const { return m_autosave.get(); }
    CDefaultPalette& defaultPalette() { return m_palette; }
    CRecentFileList& recentFiles() { return m_recent; }

    static void setApplicationNames();

private:
    // `--print FILE`: the print dialog for FILE, then the end of the program.
    bool printAndExit(const QString& file);
    CSingleInstance m_instance;
    CDefaultPalette m_palette;
    CRecentFileList m_recent;
    std::unique_ptr<CMainFrame> m_frame;
    // After the frame: goes first, while the drafts still exist.
    std::unique_ptr<CAutosave> m_autosave;
    CTermSignal* m_terms = nullptr;
    int m_exitCode = 0;
};

} // namespace qb
