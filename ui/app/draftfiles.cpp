#include "app/draftfiles.h"

#include "app/mainframe.h"

#include "wif/wifreader.h"
#include "wif/wifwriter.h"

#include <QFile>
#include <QGuiApplication>

namespace qb {

namespace {

// A question or message must not appear under a wait cursor.
class CursorPause {
public:
    CursorPause() : m_active(QGuiApplication::overrideCursor() != nullptr)
    {
        if (m_active) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~CursorPause()
    {
        if (m_active) QGuiApplication::restoreOverrideCursor();
    }

private:
    bool m_active;
};

std::string localPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace

void CFrameFileMessages::tell(const std::string& text)
{
    CursorPause pause;
    m_told = true;
    if (m_frame) m_frame->tell(QString::fromLocal8Bit(text));
}

bool CFrameFileMessages::ask(const std::string& question)
{
    CursorPause pause;
    return m_frame && m_frame->ask(QString::fromLocal8Bit(question));
}

void InstallDraftFileHandlers()
{
    CMainFrame::setDocumentLoader(
        [](const QString& path, const NewDraftDefaults& defaults, CQuillabyDoc& doc, QString& error) {
            CFrameFileMessages messages(CMainFrame::instance());
            WifReadOptions options;
            options.defaults = defaults;
            std::string reason;
            if (ReadWifFile(localPath(path), doc, messages, options, &reason)) return true;
            // The reader may have said why already (the version message).
            error = messages.told() ? QString()
                                    : QStringLiteral("Unable to open %1.\n\n%2").arg(path, QString::fromLocal8Bit(reason));
            return false;
        });
    CMainFrame::setDocumentSaver([](const QString& path, CQuillabyDoc& doc, QString& error) {
        std::string reason;
        if (WriteWifFile(doc, localPath(path), &reason)) return true;
        error = QStringLiteral("Unable to save %1.\n\n%2").arg(path, QString::fromLocal8Bit(reason));
        return false;
    });
}

} // namespace qb
