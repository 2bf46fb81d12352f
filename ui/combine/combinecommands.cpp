#include "ui/combine/combinecommands.h"

#include "ui/base/commandstep.h"
#include "ui/base/dialogparts.h"
#include "ui/base/imainwindow.h"
#include "ui/base/storedsettings.h"
#include "ui/base/uiprompter.h"
#include "ui/base/waitcursor.h"
#include "ui/combine/combinedialogs.h"
#include "ui/views/draftwindow.h"

#include "core/draft/quillabydoc.h"
#include "core/transform/componentimport.h"
#include "core/transform/expand.h"
#include "core/transform/interleave.h"
#include "core/transform/messages.h"
#include "core/transform/overlay.h"
#include "core/wif/sourcedraft.h"

#include <QAction>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>

namespace qb {

namespace {

using C = CombineCommand;

// The color-bar question was put before the file dialog: the command's own
// asking of it gets the answer already given.
class AnsweredPrompter final : public IPrompter {
public:
    AnsweredPrompter(IPrompter& inner, std::string answered) : m_inner(inner), m_answered(std::move(answered)) {}
    bool ask(const std::string& q) override { return q == m_answered || m_inner.ask(q); }
    void tell(const std::string& m) override { m_inner.tell(m); }

private:
    IPrompter& m_inner;
    std::string m_answered;
};

std::string fileName(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

LiftplanChoice formOf(const CQuillabyDoc& doc)
{
    return doc.isLiftplan() ? LiftplanChoice::Liftplan : LiftplanChoice::Treadling;
}

const char* undoName(CombineCommand c)
{
    switch (c) {
    case C::EchoThreading: return "Echo Threading";
    case C::InterleaveThreading: return "Interleave Threading";
    case C::ExpandThreading: return "Expand Threading";
    case C::ImportThreading: return "Import Threading";
    case C::EchoTreadling: return "Echo Treadling";
    case C::InterleaveTreadling: return "Interleave Treadling";
    case C::OverlayPegplan: return "Overlay Pegplan";
    case C::AppendTreadling: return "Append Treadling";
    case C::ExpandTreadling: return "Expand Treadling";
    case C::ImportTreadling: return "Import Treadling";
    case C::ImportTieup: return "Import Tieup";
    case C::ImportWarpColorway: return "Import Warp Colorway";
    case C::ImportWeftColorway: return "Import Weft Colorway";
    }
    return "";
}

// The last scale factor of Expand, for the program's run.
int& lastExpandFactor()
{
    static int f = kMinExpandFactor;
    return f;
}

} // namespace

CCombineCommands::CCombineCommands(IMainWindow* main) : QObject(main->window()), m_main(main)
{
    setObjectName(QStringLiteral("combineCommands"));
    make(C::EchoThreading, "Ech&o...");
    make(C::InterleaveThreading, "Interlea&ve...");
    make(C::ExpandThreading, "E&xpand...");
    make(C::ImportThreading, "&Import...", "Import the threading from another draft");
    make(C::EchoTreadling, "Echo...");
    make(C::InterleaveTreadling, "Interleave...");
    make(C::OverlayPegplan, "Overla&y...");
    make(C::AppendTreadling, "Append...");
    make(C::ExpandTreadling, "E&xpand...");
    make(C::ImportTreadling, "&Import...", "Import the treadling from another draft");
    make(C::ImportTieup, "&Import...", "Import the tieup from another draft");
    make(C::ImportWarpColorway, "&Warp Colorway...", "Import the colors from the warp of another draft");
    make(C::ImportWeftColorway, "We&ft Colorway...", "Import the colors from the weft of another draft");
    updateStates();
}

CCombineCommands* CCombineCommands::of(IMainWindow* main)
{
    return main
        ? main->window()->findChild<CCombineCommands*>(QStringLiteral("combineCommands"), Qt::FindDirectChildrenOnly)
        : nullptr;
}

QAction* CCombineCommands::make(CombineCommand c, const char* text, const char* tip)
{
    QAction* a = m_actions.make(this, c, QString::fromLatin1(text), [this](CombineCommand cmd) { run(cmd); });
    if (tip) a->setStatusTip(QString::fromLatin1(tip));
    return a;
}

QAction* CCombineCommands::action(CombineCommand c) const
{
    return m_actions.action(c);
}

void CCombineCommands::updateStates()
{
    CDraftWindow* w = m_main->activeDraftWindow();
    m_actions.enableAll(w != nullptr);
    if (!w) return;
    const CQuillabyDoc& doc = w->document();
    // What these commands cannot do with the draft's rows, greyed.
    const bool oneWarp = doc.numWarps() == 1, oneWeft = doc.numWefts() == 1;
    action(C::EchoThreading)->setEnabled(oneWarp);
    action(C::InterleaveThreading)->setEnabled(oneWarp);
    action(C::EchoTreadling)->setEnabled(!oneWeft);
    for (C c : {C::InterleaveTreadling, C::OverlayPegplan, C::AppendTreadling}) action(c)->setEnabled(oneWeft);
}

void CCombineCommands::addMenus()
{
    auto add = [this](QMenu* m, std::initializer_list<std::initializer_list<C>> groups) {
        if (!m) return;
        for (const auto& g : groups) {
            m->addSeparator();
            for (C c : g) m->addAction(action(c));
        }
        connect(m, &QMenu::aboutToShow, this, &CCombineCommands::updateStates);
    };
    add(m_main->menu(MenuId::Threading),
        {{C::EchoThreading, C::InterleaveThreading, C::ExpandThreading}, {C::ImportThreading}});
    add(m_main->menu(MenuId::Treadling),
        {{C::EchoTreadling, C::InterleaveTreadling, C::OverlayPegplan, C::AppendTreadling, C::ExpandTreadling},
         {C::ImportTreadling}});
    add(m_main->menu(MenuId::Tieup), {{C::ImportTieup}});
    QMenu* color = m_main->menu(MenuId::Color);
    color->addSeparator();
    QMenu* importMenu = color->addMenu(QStringLiteral("&Import"));
    importMenu->addAction(action(C::ImportWarpColorway));
    importMenu->addAction(action(C::ImportWeftColorway));
    connect(color, &QMenu::aboutToShow, this, &CCombineCommands::updateStates);
}

void CCombineCommands::run(CombineCommand c)
{
    updateStates();
    CDraftWindow* w = m_main->activeDraftWindow();
    QAction* a = action(c);
    if (!w || !a || !a->isEnabled()) return;
    CQuillabyDoc& doc = w->document();
    CUiPrompter prompter(m_main);
    switch (c) {
    case C::EchoThreading: {
        CStoredSettings& s = m_main->settingsMutable();
        CEchoDialog dialog({s.NumEchos, s.EchoOffset}, m_main->window());
        if (!RunDialog(dialog)) return;
        const EchoSettings echo = dialog.settings();
        s.NumEchos = echo.numEchos;
        s.EchoOffset = echo.offset;
        WaitCursor wait;
        RunCommandStep(m_main, w->document(), undoName(c),
                       [&](Edit e) { return EchoThreading(e, doc, echo, prompter); });
        return;
    }
    case C::EchoTreadling:
        RunCommandStep(m_main, w->document(), undoName(c), [&](Edit e) { return EchoTreadling(e, doc, prompter); });
        return;
    case C::InterleaveThreading:
    case C::InterleaveTreadling:
    case C::OverlayPegplan: merge(c, w); return;
    case C::AppendTreadling: {
        const QString path = ChooseDraftFile(m_main, QStringLiteral("Append"));
        if (path.isEmpty()) return;
        const SourceDraft src = ReadSourceDraft(fileName(path), formOf(doc));
        if (!src.doc) {
            prompter.tell(src.failure);
            return;
        }
        WaitCursor wait;
        RunCommandStep(m_main, w->document(), undoName(c),
                       [&](Edit e) { return AppendTreadling(e, doc, *src.doc, prompter); });
        return;
    }
    case C::ExpandThreading:
    case C::ExpandTreadling: {
        CExpandDialog dialog(lastExpandFactor(), m_main->window());
        if (!RunDialog(dialog)) return;
        lastExpandFactor() = dialog.factor();
        const Side side = c == C::ExpandThreading ? Side::Threading : Side::Treadling;
        WaitCursor wait;
        RunCommandStep(m_main, w->document(), undoName(c),
                       [&](Edit e) { return ExpandThreads(e, doc, side, dialog.factor(), prompter); });
        return;
    }
    default: break;
    }
    // The imports. The threading and treadling ask the color-bar question
    // before the file is chosen.
    if (c == C::ImportThreading || c == C::ImportTreadling) {
        if (doc.activeCorrelation() == (c == C::ImportThreading ? 1 : 2) && !prompter.ask(msg::kColorBars)) return;
    }
    const QString path = ChooseDraftFile(m_main);
    if (!path.isEmpty()) importFrom(c, path);
}

bool CCombineCommands::importFrom(CombineCommand c, const QString& path)
{
    CDraftWindow* w = m_main->activeDraftWindow();
    if (!w) return false;
    CQuillabyDoc& doc = w->document();
    CUiPrompter ui(m_main);
    AnsweredPrompter prompter(ui, msg::kColorBars);
    const std::string file = fileName(path);
    WaitCursor wait;
    const CommandResult r = RunCommandStep(m_main, w->document(), undoName(c), [&](Edit e) {
        switch (c) {
        case C::ImportThreading: return ImportThreading(e, doc, file, prompter);
        case C::ImportTreadling: return ImportTreadling(e, doc, file, prompter);
        case C::ImportTieup: return ImportTieup(e, doc, file, prompter);
        case C::ImportWarpColorway: return ImportColorway(e, doc, Side::Threading, file, prompter);
        case C::ImportWeftColorway: return ImportColorway(e, doc, Side::Treadling, file, prompter);
        default: return CommandResult::noChange();
        }
    });
    return r.done();
}

void CCombineCommands::merge(CombineCommand c, CDraftWindow* w)
{
    const bool threading = c == C::InterleaveThreading;
    const QString title = threading   ? QStringLiteral("Interleave Threading")
        : c == C::InterleaveTreadling ? QStringLiteral("Interleave Treadling")
                                      : QStringLiteral("Overlay Pegplan");
    const QString text = threading    ? QStringLiteral("Files to interleave threading with:")
        : c == C::InterleaveTreadling ? QStringLiteral("Files to interleave treadling with:")
                                      : QStringLiteral("Files to overlay pegplans with:");
    CMergeDlg dialog(
        title, text, [this] { return ChooseDraftFile(m_main, QStringLiteral("Browse")); }, m_main->window());
    if (!RunDialog(dialog)) return;
    CQuillabyDoc& doc = w->document();
    std::vector<std::string> paths;
    for (const QString& f : dialog.files()) paths.push_back(fileName(f));
    if (paths.empty()) return;
    WaitCursor wait;
    // Files that cannot be read as drafts are left out.
    const auto sources = ReadMergeSources(paths, formOf(doc));
    std::vector<const CQuillabyDoc*> docs;
    for (const auto& s : sources) docs.push_back(s.get());
    CUiPrompter prompter(m_main);
    RunCommandStep(m_main, w->document(), undoName(c), [&](Edit e) {
        if (c == C::InterleaveThreading) return InterleaveThreading(e, doc, docs, prompter);
        if (c == C::InterleaveTreadling) return InterleaveTreadling(e, doc, docs, prompter);
        return OverlayPegplan(e, doc, docs, prompter);
    });
}

void AddCombineMenus(IMainWindow* main)
{
    auto* commands = new CCombineCommands(main);
    commands->addMenus();
}

} // namespace qb
