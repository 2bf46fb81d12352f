#include "ui/combine/combinecommands.h"

#include "ui/base/commandstep.h"
#include "ui/base/dialogparts.h"
#include "ui/base/imainwindow.h"
#include "ui/base/storedsettings.h"
#include "ui/combine/combinedialogs.h"
#include "ui/views/draftwindow.h"

#include "core/draft/quillabydoc.h"
#include "core/transform/dialogargs.h"
#include "core/transform/expand.h"
#include "core/transform/messages.h"
#include "core/wif/sourcedraft.h"

#include <QAction>
#include <QFile>
#include <QMenu>

namespace qb {

namespace {

using Id = DraftCommandId;

// The last scale factor of Expand, for the program's run.
int& lastExpandFactor()
{
    static int f = kMinExpandFactor;
    return f;
}

CommandAsker askExpand(IMainWindow* main)
{
    return [main](CDraftWindow&, IPrompter&, CommandRequest& r) {
        CExpandDialog dialog(lastExpandFactor(), main->window());
        if (!RunDialog(dialog)) return false;
        lastExpandFactor() = dialog.factor();
        r.args = NumberArgs(dialog.factor());
        return true;
    };
}

CommandAsker askEcho(IMainWindow* main)
{
    return [main](CDraftWindow&, IPrompter&, CommandRequest& r) {
        CStoredSettings& s = main->settingsMutable();
        CEchoDialog dialog({s.NumEchos, s.EchoOffset}, main->window());
        if (!RunDialog(dialog)) return false;
        const EchoSettings echo = dialog.settings();
        s.NumEchos = echo.numEchos;
        s.EchoOffset = echo.offset;
        r.args = EchoArgs(echo);
        return true;
    };
}

} // namespace

CCombineCommands::CCombineCommands(IMainWindow* main)
    : QObject(main->window())
    , m_main(main)
    , m_table(main, this, [this] { updateStates(); })
{
    setObjectName(QStringLiteral("combineCommands"));
    auto file = [this](CDraftWindow& w, IPrompter& p, CommandRequest& r) { return chooseDraft(w, p, r); };
    // The threading and treadling ask the color-bar question before the file
    // is chosen, and the import takes that answer.
    auto colorBarsFirst = [this](int side) {
        return [this, side](CDraftWindow& w, IPrompter& p, CommandRequest& r) {
            if (w.document().activeCorrelation() == side) {
                if (!p.ask(msg::kColorBars)) return false;
                r.answered = msg::kColorBars;
            }
            return chooseDraft(w, p, r);
        };
    };
    make(Id::EchoThreading, "Ech&o...", askEcho(main));
    make(Id::InterleaveThreading, "Interlea&ve...",
         askMerge(QStringLiteral("Interleave Threading"), QStringLiteral("Files to interleave threading with:")));
    make(Id::ExpandThreading, "E&xpand...", askExpand(main));
    make(Id::ImportThreading, "&Import...", colorBarsFirst(1), "Import the threading from another draft");
    make(Id::EchoTreadling, "Echo...", {});
    make(Id::InterleaveTreadling, "Interleave...",
         askMerge(QStringLiteral("Interleave Treadling"), QStringLiteral("Files to interleave treadling with:")));
    make(Id::OverlayPegplan, "Overla&y...",
         askMerge(QStringLiteral("Overlay Pegplan"), QStringLiteral("Files to overlay pegplans with:")));
    make(Id::AppendTreadling, "Append...", [this](CDraftWindow& w, IPrompter& p, CommandRequest& r) {
        return chooseDraft(w, p, r, QStringLiteral("Append"));
    });
    make(Id::ExpandTreadling, "E&xpand...", askExpand(main));
    make(Id::ImportTreadling, "&Import...", colorBarsFirst(2), "Import the treadling from another draft");
    make(Id::ImportTieup, "&Import...", file, "Import the tieup from another draft");
    make(Id::ImportWarpColorway, "&Warp Colorway...", file, "Import the colors from the warp of another draft");
    make(Id::ImportWeftColorway, "We&ft Colorway...", file, "Import the colors from the weft of another draft");
    updateStates();
}

CCombineCommands* CCombineCommands::of(IMainWindow* main)
{
    return main
        ? main->window()->findChild<CCombineCommands*>(QStringLiteral("combineCommands"), Qt::FindDirectChildrenOnly)
        : nullptr;
}

QAction* CCombineCommands::make(DraftCommandId c, const char* text, CommandAsker ask, const char* tip)
{
    QAction* a = m_table.make(c, text, std::move(ask));
    if (tip) a->setStatusTip(QString::fromLatin1(tip));
    return a;
}

void CCombineCommands::updateStates()
{
    CDraftWindow* w = m_main->activeDraftWindow();
    m_table.enableAll(w != nullptr);
    if (!w) return;
    const CQuillabyDoc& doc = w->document();
    // What these commands cannot do with the draft's rows, greyed.
    const bool oneWarp = doc.numWarps() == 1, oneWeft = doc.numWefts() == 1;
    action(Id::EchoThreading)->setEnabled(oneWarp);
    action(Id::InterleaveThreading)->setEnabled(oneWarp);
    action(Id::EchoTreadling)->setEnabled(!oneWeft);
    for (Id c : {Id::InterleaveTreadling, Id::OverlayPegplan, Id::AppendTreadling}) action(c)->setEnabled(oneWeft);
}

void CCombineCommands::addMenus()
{
    auto add = [this](QMenu* m, std::initializer_list<std::initializer_list<Id>> groups) {
        if (!m) return;
        for (const auto& g : groups) {
            m->addSeparator();
            for (Id c : g) m->addAction(action(c));
        }
        connect(m, &QMenu::aboutToShow, this, &CCombineCommands::updateStates);
    };
    add(m_main->menu(MenuId::Threading),
        {{Id::EchoThreading, Id::InterleaveThreading, Id::ExpandThreading}, {Id::ImportThreading}});
    add(m_main->menu(MenuId::Treadling),
        {{Id::EchoTreadling, Id::InterleaveTreadling, Id::OverlayPegplan, Id::AppendTreadling, Id::ExpandTreadling},
         {Id::ImportTreadling}});
    add(m_main->menu(MenuId::Tieup), {{Id::ImportTieup}});
    QMenu* color = m_main->menu(MenuId::Color);
    color->addSeparator();
    QMenu* importMenu = color->addMenu(QStringLiteral("&Import"));
    importMenu->addAction(action(Id::ImportWarpColorway));
    importMenu->addAction(action(Id::ImportWeftColorway));
    connect(color, &QMenu::aboutToShow, this, &CCombineCommands::updateStates);
}

bool CCombineCommands::chooseDraft(CDraftWindow& w, IPrompter& prompter, CommandRequest& r, const QString& title)
{
    const QString path = ChooseDraftFile(m_main, title);
    if (path.isEmpty()) return false;
    const std::string file = QFile::encodeName(path).toStdString();
    const LiftplanChoice form = w.document().isLiftplan() ? LiftplanChoice::Liftplan : LiftplanChoice::Treadling;
    // The reader's own message (the version message of a file that is no
    // draft) says more than that the file could not be read.
    const SourceDraft source = ReadSourceDraft(file, form);
    if (!source.doc) {
        prompter.tell(source.failure);
        return false;
    }
    r.args = {file};
    return true;
}

CommandAsker CCombineCommands::askMerge(const QString& title, const QString& text)
{
    return [this, title, text](CDraftWindow&, IPrompter&, CommandRequest& r) {
        CMergeDialog dialog(
            title, text, [this] { return ChooseDraftFile(m_main, QStringLiteral("Browse")); }, m_main->window());
        if (!RunDialog(dialog)) return false;
        for (const QString& f : dialog.files()) r.args.push_back(QFile::encodeName(f).toStdString());
        return !r.args.empty();
    };
}

void AddCombineMenus(IMainWindow* main)
{
    auto* commands = new CCombineCommands(main);
    commands->addMenus();
}

} // namespace qb
