// Every command of the core's table is on a menu of the main window, by its
// id, and the command line offers it under its name.
#include "tests/ui/mainwindowfixture.h"

#include "core/transform/commandtable.h"
#include "ui/views/tablecommands.h"

#include <QProcess>

#include <set>
#include <string>

using namespace qb;

namespace {

// The table commands of a menu and its submenus, as they are when they open.
void CollectCommands(QMenu* m, std::set<DraftCommandId>& out)
{
    emit m->aboutToShow();
    for (QAction* a : m->actions()) {
        if (a->menu()) CollectCommands(a->menu(), out);
        else if (const auto id = CommandIdOf(a)) out.insert(*id);
    }
}

using CommandTableMenusTest = MainWindowTest;

} // namespace

TEST_F(CommandTableMenusTest, EveryEntryIsOnAMenuAndOfferedByTheCommandLine)
{
    // The Edit menu adds its commands for the active draft.
    m_main->newDocument();
    std::set<DraftCommandId> onMenus;
    for (QAction* a : m_main->menuBar()->actions())
        if (a->menu()) CollectCommands(a->menu(), onMenus);

    QProcess cli;
    cli.start(QStringLiteral(QUILLABY_BINARY_DIR "/cli/quillaby-cli"),
              {QStringLiteral("apply"), QStringLiteral("--list")});
    ASSERT_TRUE(cli.waitForFinished(30000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    const std::string listed = "\n" + cli.readAllStandardOutput().toStdString();

    for (const CommandEntry& e : CommandTable()) {
        SCOPED_TRACE(e.cliName);
        EXPECT_TRUE(onMenus.count(e.id));
        const std::string line = "\n" + std::string(e.cliName) + (*e.synopsis ? " " : "\n");
        EXPECT_NE(listed.find(line), std::string::npos);
    }
}
