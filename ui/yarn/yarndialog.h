#pragma once

#include "core/yarn/measure.h"
#include "core/yarn/yarnlist.h"

#include <QDialog>

class QPushButton;

namespace qb {

class CAllKeysListCtrl;
class CYarn;
class CYarnDoc;
class IMainWindow;

// The "Yarn Database" dialog: the database's yarns in a sortable list, with
// "Add Yarn" and "Delete Yarn". Changes go straight into the database; the
// caller saves it on OK and reloads it on Cancel. OK also makes the chosen
// row the database's selected yarn.
class CYarnDialog : public QDialog {
    Q_OBJECT
public:
    // Questions and messages go through `main` when there is one.
    CYarnDialog(CYarnDoc& db, MeasureSystem system, IMainWindow* main, QWidget* parent = nullptr);

    CAllKeysListCtrl* list() const { return m_list; }
    // How the dialog sorts, kept for the life of the program.
    static YarnSortOrder& sortOrder();

    // The buttons' and keys' work, callable by tests as by the weaver.
    void sortBy(int column);
    bool addYarn();
    bool editYarn(const CYarn* y);
    bool deleteSelected(bool ask);

    void accept() override;

private:
    void onKey(int key);
    void showHelp();
    bool ask(const QString& question);
    void tell(const QString& text);

    CYarnDoc& m_db;
    MeasureSystem m_system;
    IMainWindow* m_main;
    CAllKeysListCtrl* m_list = nullptr;
};

// Edits one yarn in the "Yarn" sheet, offering the sizes and fibers of
// `choices`; true when the weaver pressed OK and the yarn changed.
bool EditYarnInSheet(QWidget* parent, CYarn& y, const CYarnDoc& choices, MeasureSystem system);

} // namespace qb
