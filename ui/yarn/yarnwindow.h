#pragma once

#include "core/yarn/measure.h"

#include <QWidget>

#include <functional>
#include <memory>

namespace qb {

class CAllKeysListCtrl;
class CYarnDoc;
class IMainWindow;

// A yarn file opened through File Open: its yarns in list order in a small
// window titled "Yarn Database <name>". Enter or a double click edits a
// yarn, Delete removes the selected one without asking. The document is
// independent of the application's yarn database.
class CYarnView : public QWidget {
    Q_OBJECT
public:
    CYarnView(std::unique_ptr<CYarnDoc> doc, const QString& path, IMainWindow* main, QWidget* parent = nullptr);
    ~CYarnView() override;

    CYarnDoc& document() { return *m_doc; }
    QString path() const { return m_path; }
    CAllKeysListCtrl* list() const { return m_list; }

    // Refills the list from the document (after every change).
    void refill();
    // Reads the file again unless this window holds changes of its own.
    bool reload();
    bool editSelected();
    bool deleteSelected();
    // Writes the document to its file or to a new one; false when nothing
    // was written.
    bool save();
    bool saveAs();
    bool saveTo(const QString& path);

protected:
    void closeEvent(QCloseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    void onKey(int key);
    void refreshTitle();

    std::unique_ptr<CYarnDoc> m_doc;
    QString m_path;
    IMainWindow* m_main;
    CAllKeysListCtrl* m_list = nullptr;
};

} // namespace qb
