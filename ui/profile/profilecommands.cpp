#include "ui/profile/profilecommands.h"

#include "ui/base/commandstep.h"
#include "ui/base/dialogparts.h"
#include "ui/base/imainwindow.h"
#include "ui/base/storedsettings.h"
#include "ui/base/uiprompter.h"
#include "ui/base/waitcursor.h"
#include "ui/profile/networkdialogs.h"
#include "ui/profile/structurefiles.h"
#include "ui/profile/weavestructuresheet.h"
#include "ui/views/draftframe.h"
#include "ui/views/draftwindow.h"

#include "core/draft/draftstep.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/blockmessages.h"
#include "core/transform/blocksubstitution.h"
#include "core/transform/networkplot.h"
#include "core/transform/networkscale.h"
#include "core/transform/ribbontemplate.h"
#include "core/transform/structurefile.h"
#include "core/transform/weavestructureedit.h"

#include <QAction>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>

namespace qb {

namespace {

using C = ProfileCommand;

std::string fileName(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace

CProfileCommands::CProfileCommands(IMainWindow* main) : QObject(main->window()), m_main(main)
{
    setObjectName(QStringLiteral("profileCommands"));
    make(C::WeaveStructure, "&Weave Structure...", "Edit the block parameters and tieup keys of a weave structure");
    make(C::DefinesStructure, "De&fines Structure", "Mark this draft as a weave structure for block substitution",
         true);
    make(C::BlockSubstitution, "&Block Substitution...",
         "Make a new draft from this profile draft and a weave structure");
    make(C::ScalePatternLine, "Scale Pattern &Line...", "Make a new draft with this pattern line scaled to a network");
    make(C::PlotOntoNetwork, "Plot onto &Network...",
         "Make a new draft with this pattern line plotted onto a network of a weave structure");
    make(C::RibbonTemplate, "Ri&bbon Template...", "Widen every pick into a ribbon of treadles");
    updateStates();
}

CProfileCommands* CProfileCommands::of(IMainWindow* main)
{
    return main
        ? main->window()->findChild<CProfileCommands*>(QStringLiteral("profileCommands"), Qt::FindDirectChildrenOnly)
        : nullptr;
}

QAction* CProfileCommands::make(ProfileCommand c, const char* text, const char* tip, bool checkable)
{
    QAction* a = m_actions.make(this, c, QString::fromLatin1(text), [this](ProfileCommand cmd) { run(cmd); });
    a->setStatusTip(QString::fromLatin1(tip));
    a->setCheckable(checkable);
    return a;
}

QAction* CProfileCommands::action(ProfileCommand c) const
{
    return m_actions.action(c);
}

void CProfileCommands::updateStates()
{
    CDraftWindow* w = m_main->activeDraftWindow();
    m_actions.enableAll(w != nullptr);
    action(C::DefinesStructure)->setChecked(w && w->document().blocks().definesStructure);
}

void CProfileCommands::addMenus()
{
    if (QMenu* tools = m_main->menu(MenuId::Tools)) {
        tools->addSeparator();
        tools->addAction(action(C::WeaveStructure));
        tools->addAction(action(C::DefinesStructure));
        tools->addAction(action(C::BlockSubstitution));
        tools->addSeparator();
        tools->addAction(action(C::ScalePatternLine));
        tools->addAction(action(C::PlotOntoNetwork));
        connect(tools, &QMenu::aboutToShow, this, &CProfileCommands::updateStates);
    }
    if (QMenu* treadling = m_main->menu(MenuId::Treadling)) {
        treadling->addSeparator();
        treadling->addAction(action(C::RibbonTemplate));
        connect(treadling, &QMenu::aboutToShow, this, &CProfileCommands::updateStates);
    }
}

NetworkSettings CProfileCommands::networkSettings() const
{
    const CStoredSettings& st = m_main->settings();
    NetworkSettings s;
    s.initialWidth = st.NetworkInitialW;
    s.initialHeight = st.NetworkInitialH;
    s.initialBase = st.NetworkInitialB;
    s.height = st.NetworkHt;
    s.length = st.NetworkLen;
    s.telescope = st.NetworkTelescope != 0;
    s.shaftRule = st.NetworkShaftRule != 0;
    s.ribbonWidth = st.NetworkRibbonW;
    s.structurePath = fileName(st.DfltNetworkStructure);
    s.useRibbonTemplate = m_useRibbonTemplate;
    s.fillRibbon = m_fillRibbon;
    s.fillBackground = m_fillBackground;
    s.clamp();
    return s;
}

void CProfileCommands::storeNetworkSettings(const NetworkSettings& in)
{
    NetworkSettings s = in;
    s.clamp();
    CStoredSettings& st = m_main->settingsMutable();
    st.NetworkInitialW = s.initialWidth;
    st.NetworkInitialH = s.initialHeight;
    st.NetworkInitialB = s.initialBase;
    st.NetworkHt = s.height;
    st.NetworkLen = s.length;
    st.NetworkTelescope = s.telescope ? 1 : 0;
    st.NetworkShaftRule = s.shaftRule ? 1 : 0;
    st.NetworkRibbonW = s.ribbonWidth;
    st.DfltNetworkStructure = QFile::decodeName(s.structurePath.c_str());
    m_useRibbonTemplate = s.useRibbonTemplate;
    m_fillRibbon = s.fillRibbon;
    m_fillBackground = s.fillBackground;
}

void CProfileCommands::run(ProfileCommand c)
{
    updateStates();
    CDraftWindow* w = m_main->activeDraftWindow();
    if (!w) return;
    switch (c) {
    case C::WeaveStructure: weaveStructure(w); break;
    case C::DefinesStructure: definesStructure(w); break;
    case C::BlockSubstitution: blockSubstitution(w); break;
    case C::ScalePatternLine: scalePatternLine(w); break;
    case C::PlotOntoNetwork: plotOntoNetwork(w); break;
    case C::RibbonTemplate: ribbonTemplate(w); break;
    }
    updateStates();
}

CDraftWindow* CProfileCommands::openNew(NewDraftResult r)
{
    if (!r.result.done() || !r.draft) return nullptr;
    CDraftWindow* w = m_main->addDocumentWindow(std::move(r.draft), QString());
    // A draft no file holds yet: closing it asks to save.
    w->document().SetModified(true);
    w->refreshTitle();
    w->frame()->fitInWindow();
    return w;
}

void CProfileCommands::weaveStructure(CDraftWindow* w)
{
    CQuillabyDoc& doc = w->document();
    CWeaveStructureSheet sheet(doc, m_main->window());
    if (!RunDialog(sheet)) return;
    CUiPrompter prompter(m_main);
    RunCommandStep(m_main, w->document(), "Weave Structure",
                   [&](Edit e) { return ApplyWeaveStructure(e, doc, sheet.params(), sheet.edit(), prompter); });
}

void CProfileCommands::definesStructure(CDraftWindow* w)
{
    CQuillabyDoc& doc = w->document();
    const bool on = !doc.blocks().definesStructure;
    RunCommandStep(m_main, w->document(), "Defines Structure", [&](Edit e) { return SetDefinesStructure(e, doc, on); });
}

void CProfileCommands::blockSubstitution(CDraftWindow* w)
{
    CUiPrompter prompter(m_main);
    if (!ProfileAcceptsSubstitution(w->document(), prompter)) return;
    const QString path = ChooseStructureFile(m_main, m_main->settings().DfltBlockSubsFileLocn);
    if (path.isEmpty()) return;
    substitute(w, path);
}

CDraftWindow* CProfileCommands::substitute(CDraftWindow* profile, const QString& structurePath)
{
    CUiPrompter prompter(m_main);
    WaitCursor wait;
    const std::string path = fileName(structurePath);
    const auto structure = OpenWeaveStructure(path, StructureUse::Substitution, prompter);
    if (!structure) return nullptr;
    return openNew(SubstituteBlocks(profile->document(), *structure, path, prompter));
}

void CProfileCommands::scalePatternLine(CDraftWindow* w)
{
    auto fromStructure = [this](NetworkSettings& s) {
        const QString path = ChooseStructureFile(m_main, m_main->settings().DfltNetworkFileLocn);
        if (path.isEmpty()) return false;
        CUiPrompter prompter(m_main);
        const auto structure = OpenWeaveStructure(fileName(path), StructureUse::Plot, prompter);
        return structure && InitialFromStructure(*structure, s);
    };
    CPatternLineSheet sheet(
        networkSettings(), fromStructure, [this](const QString& t) { m_main->tell(t); }, m_main->window());
    if (!RunDialog(sheet)) return;
    const NetworkSettings s = sheet.settings();
    storeNetworkSettings(s);
    CUiPrompter prompter(m_main);
    WaitCursor wait;
    openNew(ScalePatternLine(w->document(), s, prompter));
}

void CProfileCommands::plotOntoNetwork(CDraftWindow* w)
{
    CPlotNetworkDialog dialog(
        networkSettings(), [this] { return ChooseStructureFile(m_main, m_main->settings().DfltNetworkFileLocn); },
        m_main->window());
    if (!RunDialog(dialog)) return;
    const NetworkSettings s = dialog.settings();
    storeNetworkSettings(s);
    CUiPrompter prompter(m_main);
    if (s.structurePath.empty()) {
        prompter.tell(blockmsg::kPlotNoStructure);
        return;
    }
    const auto structure = OpenWeaveStructure(s.structurePath, StructureUse::Plot, prompter);
    if (!structure) return;
    WaitCursor wait;
    openNew(PlotOntoNetwork(w->document(), *structure, s.structurePath, s, prompter));
}

void CProfileCommands::ribbonTemplate(CDraftWindow* w)
{
    CRibbonWidthDialog dialog(m_main->settings().NetworkRibbonW, m_main->window());
    if (!RunDialog(dialog)) return;
    const int width = dialog.width();
    m_main->settingsMutable().NetworkRibbonW = width;
    CQuillabyDoc& doc = w->document();
    CUiPrompter prompter(m_main);
    RunCommandStep(m_main, doc, "Ribbon Template", [&](Edit e) { return RibbonTemplate(e, doc, width, prompter); });
}

void AddProfileMenus(IMainWindow* main)
{
    auto* commands = new CProfileCommands(main);
    commands->addMenus();
}

} // namespace qb
