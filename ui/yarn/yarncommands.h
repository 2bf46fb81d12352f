#pragma once

#include "core/yarn/measure.h"
#include "core/yarn/yarndatabase.h"

#include <QObject>

class QMenuBar;

namespace qb {

class CDraftWindow;
class CPlanFormView;
class CYarnView;
class IMainWindow;

// The yarn and planner commands of a main window, and the application's
// yarn database, loaded on first use from the stored location (the weaver is
// asked to locate or create it when that fails).
class CYarnCommands : public QObject, private IYarnDatabaseHost {
    Q_OBJECT
public:
    explicit CYarnCommands(IMainWindow* main);
    ~CYarnCommands() override;

    // The commands of a main window (null before AddYarnMenus).
    static CYarnCommands* of(IMainWindow* main);

    // The measurement system the screens count in now.
    MeasureSystem system() const;

    // The application's database, loaded (or located, or created) on first
    // use; null when there is none.
    CYarnDoc* database();
    CYarnDoc* loadedDatabase() const { return m_database.loaded(); }

    // "&Yarn Database...": the dialog on the application's database. OK
    // saves a changed database; Cancel throws the changes away and reads the
    // file again. True on OK.
    bool showDatabaseDialog();
    // "Export &Yarn Data...": an archive chosen by the weaver is written as
    // text beside it (the name proposed).
    void exportYarnData();
    // A yarn file from File Open, in a yarn window of its own (an open one
    // comes to the front). Null when the file cannot be read.
    CYarnView* openYarnFile(const QString& path);
    // A yarn file was written from a yarn window or the Yarn Database
    // dialog: the other copies of that file that hold no changes of their
    // own read it again, so that no later save brings back what it replaced.
    void yarnFileSaved(const QString& path, const QObject* by);

    // "&Density Calculator...": on its own; its result is not used.
    void showDensityCalculator();
    // "&Project Planner..." on a draft: the wizard, then the plan window.
    bool runProjectPlanner(CDraftWindow* w);
    // "&Project Plan": opens or activates the draft's plan window.
    CPlanFormView* showProjectPlan(CDraftWindow* w);
    // File > Import > "Import Project Plan..." with a chosen file: the plan
    // of that draft as one step, shown at once; false when nothing changed.
    bool importProjectPlan(CDraftWindow* w, const QString& path);

    void addMenus();

private:
    // IYarnDatabaseHost
    std::string storedPath() override;
    void storePath(const std::string& path) override;
    bool ask(const std::string& question) override;
    void tell(const std::string& message) override;
    std::string chooseFileToOpen() override;
    std::string chooseFileToSave(const std::string& title, const std::string& proposedName) override;

    IMainWindow* m_main;
    YarnDatabase m_database;
};

// One call in the main window's createMenus().
void AddYarnMenus(IMainWindow* main);
// The import of the yarn commands of `main`.
bool ImportProjectPlanFrom(IMainWindow* main, CDraftWindow* w, const QString& path);

} // namespace qb
