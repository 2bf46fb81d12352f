#pragma once

#include <QDateTime>
#include <QFileInfoList>
#include <QLocale>
#include <QSize>
#include <QString>

namespace qb {

// A draft file by its name: the extension ".wif" or ".qlb" in any case (a
// name merely ending in those letters is not one).
bool IsDraftFileName(const QString& name);

// The draft files of a folder (not its sub-folders, even one named like a
// draft), in the order the folder gives them; empty when it cannot be read.
QFileInfoList DraftFilesIn(const QString& folder);

// The "Last Modified" column: local time in the user's locale.
QString ModifiedText(const QDateTime& when, const QLocale& locale = QLocale());

// The stored browse location split into the tree's root and the folder
// selected below it; an empty location starts in the home folder.
struct BrowseLocation {
    QString root;
    QString subfolder; // empty: the root itself
};
BrowseLocation SplitBrowseLocation(const QString& stored);

// The browser window's size: a stored side when it is positive and smaller
// than the main window's, else two thirds of the main window's.
QSize BrowserWindowSize(int storedWidth, int storedHeight, QSize mainWindow);

} // namespace qb
