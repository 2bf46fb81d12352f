#include "ui/browser/browserfiles.h"

#include <QDir>
#include <QFileInfo>

namespace qb {

bool IsDraftFileName(const QString& name)
{
    return name.endsWith(QLatin1String(".wif"), Qt::CaseInsensitive)
        || name.endsWith(QLatin1String(".qlb"), Qt::CaseInsensitive);
}

QFileInfoList DraftFilesIn(const QString& folder)
{
    QFileInfoList out;
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists()) return out;
    const QFileInfoList all = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QFileInfo& fi : all)
        if (IsDraftFileName(fi.fileName())) out << fi;
    return out;
}

QString ModifiedText(const QDateTime& when, const QLocale& locale)
{
    return locale.toString(when.toLocalTime(), QLocale::ShortFormat);
}

BrowseLocation SplitBrowseLocation(const QString& stored)
{
    QString path = QDir::cleanPath(QDir::fromNativeSeparators(stored.trimmed()));
    if (stored.trimmed().isEmpty() || !QFileInfo(path).isDir()) path = QDir::homePath();
    const QFileInfo fi(path);
    const QString parent = fi.absolutePath();
    if (fi.absoluteFilePath() == QDir::rootPath() || parent == fi.absoluteFilePath())
        return {fi.absoluteFilePath(), {}};
    return {parent, fi.fileName()};
}

QSize BrowserWindowSize(int storedWidth, int storedHeight, QSize mainWindow)
{
    const int w = storedWidth > 0 && storedWidth < mainWindow.width() ? storedWidth : mainWindow.width() * 2 / 3;
    const int h = storedHeight > 0 && storedHeight < mainWindow.height() ? storedHeight : mainWindow.height() * 2 / 3;
    return {std::max(1, w), std::max(1, h)};
}

} // namespace qb
