#include "ui/app/draftreadwrite.h"

#include "ui/app/mainframe.h"
#include "ui/base/uiprompter.h"

#include "core/wif/wifreader.h"
#include "core/wif/wifwriter.h"

#include <QFile>
#include <QGuiApplication>

namespace qb {

namespace {

std::string localPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace

bool ReadDraftFile(const QString& path, const NewDraftDefaults& defaults, CQuillabyDoc& doc, QString& error)
{
    CUiPrompter messages(CMainFrame::instance());
    WifReadOptions options;
    options.defaults = defaults;
    std::string reason;
    if (ReadWifFile(localPath(path), doc, messages, options, &reason)) return true;
    // The reader may have said why already (the version message).
    error = messages.told() ? QString()
                            : QStringLiteral("Unable to open %1.\n\n%2").arg(path, QString::fromLocal8Bit(reason));
    return false;
}

bool WriteDraftFile(const QString& path, CQuillabyDoc& doc, QString& error)
{
    std::string reason;
    if (WriteWifFile(doc, localPath(path), &reason)) return true;
    error = QStringLiteral("Unable to save %1.\n\n%2").arg(path, QString::fromLocal8Bit(reason));
    return false;
}

} // namespace qb
