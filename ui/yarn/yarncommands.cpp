#include "ui/yarn/yarncommands.h"

#include "ui/base/commandstep.h"
#include "ui/base/dialogparts.h"
#include "ui/base/imainwindow.h"
#include "ui/base/storedsettings.h"
#include "ui/base/uiprompter.h"
#include "ui/views/draftframe.h"
#include "ui/views/draftwindow.h"
#include "ui/yarn/densitycalculatordialog.h"
#include "ui/yarn/plannerwizard.h"
#include "ui/yarn/planwindow.h"
#include "ui/yarn/yarndialog.h"
#include "ui/yarn/yarnfiledialogs.h"
#include "ui/yarn/yarnwindow.h"

#include "core/wif/draftimport.h"
#include "core/yarn/yarnmessages.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

namespace qb {

namespace {

const QString kObjectName = QStringLiteral("yarnCommands");

std::string localPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString fromLocalPath(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace

CYarnCommands::CYarnCommands(IMainWindow* main) : QObject(main->window()), m_main(main)
{
    setObjectName(kObjectName);
}

CYarnCommands::~CYarnCommands() = default;

CYarnCommands* CYarnCommands::of(IMainWindow* main)
{
    return main ? main->window()->findChild<CYarnCommands*>(kObjectName, Qt::FindDirectChildrenOnly) : nullptr;
}

MeasureSystem CYarnCommands::system() const
{
    return MeasureSystemOf(m_main->settings().UnitMeasure);
}

CYarnDoc* CYarnCommands::database()
{
    return m_database.Get(*this);
}

bool CYarnCommands::showDatabaseDialog()
{
    CYarnDoc* db = database();
    if (!db) return false;
    CYarnDialog dialog(*db, system(), m_main, m_main->window());
    if (RunDialog(dialog)) {
        const bool changed = db->IsModified();
        if (m_database.Commit(*this) && changed) yarnFileSaved(fromLocalPath(db->path()), this);
        return true;
    }
    // The selection is cleared with the changes.
    m_database.Revert(*this);
    return false;
}

void CYarnCommands::exportYarnData()
{
    YarnFileQuestion open;
    open.title = QStringLiteral("Open");
    open.start = m_main->settings().mruOpenFileLocn;
    open.filter = QStringLiteral("Yarn Archive Files (*.yrn);;Yarn Database Files (*.txt);;All Files (*)");
    const QString from = ChooseYarnFile(m_main->window(), open);
    if (from.isEmpty()) return;
    const QString proposed = fromLocalPath(YarnExportName(localPath(from)));
    // Only archives are exported: a text file already is what export makes.
    if (proposed.isEmpty()) return;
    YarnFileQuestion save;
    save.kind = YarnFileQuestion::Kind::Save;
    save.title = QStringLiteral("Save As");
    save.start = proposed;
    save.filter = QStringLiteral("Yarn Database Files (*.txt)");
    const QString to = ChooseYarnFile(m_main->window(), save);
    if (to.isEmpty()) return;
    const YarnFileResult r = ExportYarnsAsText(localPath(from), localPath(to));
    m_main->tell(QString::fromLocal8Bit(r.message));
}

CYarnView* CYarnCommands::openYarnFile(const QString& path)
{
    const QString abs = QFileInfo(path).absoluteFilePath();
    QMdiArea* mdi = m_main->mdiArea();
    for (QMdiSubWindow* sub : mdi->subWindowList())
        if (auto* v = qobject_cast<CYarnView*>(sub->widget()); v && v->path() == abs) {
            mdi->setActiveSubWindow(sub);
            return v;
        }
    auto doc = std::make_unique<CYarnDoc>();
    const YarnFileResult r = doc->Open(localPath(abs));
    if (!r.ok) {
        m_main->tell(QString::fromLocal8Bit(r.message));
        return nullptr;
    }
    if (!r.message.empty()) m_main->tell(QString::fromLocal8Bit(r.message));
    auto* view = new CYarnView(std::move(doc), abs, m_main);
    QMdiSubWindow* sub = mdi->addSubWindow(view);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->resize(400, 200);
    sub->show();
    mdi->setActiveSubWindow(sub);
    return view;
}

void CYarnCommands::yarnFileSaved(const QString& path, const QObject* by)
{
    const QString saved = QFileInfo(path).canonicalFilePath();
    if (saved.isEmpty()) return;
    auto same = [&saved](const QString& other) { return QFileInfo(other).canonicalFilePath() == saved; };
    CYarnDoc* db = m_database.loaded();
    if (by != this && db && !db->IsModified() && same(fromLocalPath(db->path()))) {
        CYarnDoc reread;
        if (reread.Open(db->path()).ok) db->Open(db->path());
    }
    for (QMdiSubWindow* sub : m_main->mdiArea()->subWindowList())
        if (auto* v = qobject_cast<CYarnView*>(sub->widget()); v && v != by && same(v->path())) v->reload();
}

void CYarnCommands::showDensityCalculator()
{
    CDensityCalculatorDialog calc(system(), m_main->window());
    RunDialog(calc);
}

bool CYarnCommands::runProjectPlanner(CDraftWindow* w)
{
    if (!w) return false;
    CQuillabyDoc& doc = w->document();
    PlannerSession session(doc, system());
    CPlannerWizard wizard(session, system(), this, m_main->window());
    if (!RunDialog(wizard)) return false;
    CommandResult r;
    doc.Transaction("Project Planner", [&](Edit e) { r = FinishProjectPlanner(e, doc, session); });
    w->refreshTitle();
    showProjectPlan(w);
    return r.done();
}

CPlanFormView* CYarnCommands::showProjectPlan(CDraftWindow* w)
{
    if (!w) return nullptr;
    QMdiArea* mdi = m_main->mdiArea();
    for (QMdiSubWindow* sub : mdi->subWindowList())
        if (auto* v = qobject_cast<CPlanFormView*>(sub->widget()); v && v->draftWindow() == w) {
            v->refresh();
            mdi->setActiveSubWindow(sub);
            return v;
        }
    auto* view = new CPlanFormView(w, m_main);
    QMdiSubWindow* sub = mdi->addSubWindow(view);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // One of the draft's windows: it closes with the draft.
    w->adoptSubWindow(sub);
    sub->resize(640, 560);
    sub->show();
    mdi->setActiveSubWindow(sub);
    return view;
}

void CYarnCommands::addMenus()
{
    auto make = [this](const char* text, const char* tip, auto slot) {
        auto* a = new QAction(QString::fromLatin1(text), this);
        a->setStatusTip(QString::fromLatin1(tip));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QAction* database = make("&Yarn Database...", "Open yarn database", [this] { showDatabaseDialog(); });
    QAction* exportData =
        make("Export &Yarn Data...", "Save the yarn database as a text file", [this] { exportYarnData(); });
    QAction* planner = make("&Project Planner...", "Calculate warp and weft quantities needed for the project",
                            [this] { runProjectPlanner(m_main->activeDraftWindow()); });
    QAction* plan = make("&Project Plan", "View plan and calculations for the project",
                         [this] { showProjectPlan(m_main->activeDraftWindow()); });
    QAction* calculator =
        make("&Density Calculator...", "Calculate yards per pound (m per kg)", [this] { showDensityCalculator(); });
    database->setObjectName(QStringLiteral("yarnDatabase"));
    exportData->setObjectName(QStringLiteral("exportYarnData"));
    planner->setObjectName(QStringLiteral("projectPlanner"));
    plan->setObjectName(QStringLiteral("projectPlan"));
    calculator->setObjectName(QStringLiteral("densityCalculator"));

    if (QMenu* tools = m_main->menu(MenuId::Tools)) {
        tools->addSeparator();
        tools->addAction(database);
        tools->addAction(planner);
        tools->addAction(calculator);
        connect(tools, &QMenu::aboutToShow, this,
                [this, planner] { planner->setEnabled(m_main->activeDraftWindow() != nullptr); });
    }
    // With the other commands that take data from or to a file.
    m_main->menu(MenuId::File)->addAction(exportData);
    // The plan of another draft, shown at once.
    m_main->menu(MenuId::FileImport)->addAction(QStringLiteral("&Import Project Plan..."), this, [this] {
        CDraftWindow* w = m_main->activeDraftWindow();
        if (!w) return;
        const QString path = ChooseDraftFile(m_main);
        if (!path.isEmpty()) importProjectPlan(w, path);
    });
    if (QMenu* view = m_main->menu(MenuId::View)) {
        // The View menu is refilled each time it opens: this joins it after.
        connect(view, &QMenu::aboutToShow, this, [this, view, plan] {
            plan->setEnabled(m_main->activeDraftWindow() != nullptr);
            view->addSeparator();
            view->addAction(plan);
        });
    }
}

bool CYarnCommands::importProjectPlan(CDraftWindow* w, const QString& path)
{
    CUiPrompter messages(m_main);
    ImportResult r = ImportResult::NoChange;
    w->document().Transaction("Import Project Plan", [&](Edit e) {
        r = ImportProjectPlan(e, w->document(), QFile::encodeName(path).toStdString(), messages);
    });
    if (r == ImportResult::Done) showProjectPlan(w);
    w->refreshTitle();
    return r == ImportResult::Done;
}

std::string CYarnCommands::storedPath()
{
    return localPath(m_main->settings().DfltYarnDocFileLocn);
}

void CYarnCommands::storePath(const std::string& path)
{
    m_main->settingsMutable().DfltYarnDocFileLocn = QDir::toNativeSeparators(fromLocalPath(path));
}

bool CYarnCommands::ask(const std::string& question)
{
    return m_main->ask(QString::fromLocal8Bit(question));
}

void CYarnCommands::tell(const std::string& message)
{
    m_main->tell(QString::fromLocal8Bit(message));
}

std::string CYarnCommands::chooseFileToOpen()
{
    YarnFileQuestion q;
    q.title = QStringLiteral("Open");
    q.start = QFileInfo(fromLocalPath(YarnDatabaseFile(storedPath()))).absolutePath();
    q.filter = YarnFileFilter();
    return localPath(ChooseYarnFile(m_main->window(), q));
}

std::string CYarnCommands::chooseFileToSave(const std::string& title, const std::string& proposedName)
{
    YarnFileQuestion q;
    q.kind = YarnFileQuestion::Kind::Save;
    q.title = QString::fromLocal8Bit(title);
    const QString stored = fromLocalPath(storedPath());
    const QString folder = stored.isEmpty() ? QDir::homePath()
        : QFileInfo(stored).isDir()         ? stored
                                            : QFileInfo(stored).absolutePath();
    q.start = QDir(folder).filePath(fromLocalPath(proposedName));
    q.filter = YarnFileFilter();
    return localPath(ChooseYarnFile(m_main->window(), q));
}

bool ImportProjectPlanFrom(IMainWindow* main, CDraftWindow* w, const QString& path)
{
    CYarnCommands* yarns = CYarnCommands::of(main);
    return yarns && yarns->importProjectPlan(w, path);
}

void AddYarnMenus(IMainWindow* main)
{
    auto* commands = new CYarnCommands(main);
    commands->addMenus();
}

} // namespace qb
