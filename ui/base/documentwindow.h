#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QMenu;

namespace qb {

// A kind of document other than a draft (a picture): File Open offers its
// `filter`, and a file with one of its `suffixes` goes to `open`, which shows
// it in a window of its own. `open` returns false when it could not, having
// told the user why.
struct DocumentType {
    QString filter;
    QStringList suffixes; // lower case, without the dot
    std::function<bool(const QString& absolutePath)> open;
};

// The MDI child of such a document. The main window's Save, Save As and
// close question reach the document through it, and while it is active the
// menu bar shows its menus in place of the draft menus.
class IDocumentWindow {
public:
    virtual ~IDocumentWindow() = default;

    // Absolute path of the file, empty for an untitled document.
    virtual QString filePath() const = 0;
    // The name the close question uses.
    virtual QString documentTitle() const = 0;
    virtual bool isDocumentModified() const = 0;
    // False when nothing was written (the user was told why).
    virtual bool save() = 0;
    virtual bool saveAs() = 0;
    virtual QList<QMenu*> menus() const = 0;
};

} // namespace qb
