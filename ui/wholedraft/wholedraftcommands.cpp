#include "ui/wholedraft/wholedraftcommands.h"

#include "core/transform/addtabby.h"
#include "core/transform/arrange.h"
#include "core/transform/doublewidth.h"
#include "core/transform/liftplanpicture.h"
#include "core/transform/optimize.h"
#include "core/transform/repeat.h"
#include "core/transform/sequenceops.h"
#include "core/transform/straighten.h"
#include "core/transform/tieupops.h"
#include "core/transform/turndraft.h"
#include "core/transform/wrap.h"
#include "ui/base/dialogparts.h"
#include "ui/base/imainwindow.h"
#include "ui/base/storedsettings.h"
#include "ui/base/uiprompter.h"
#include "ui/base/waitcursor.h"
#include "ui/views/draftframe.h"
#include "ui/views/draftwindow.h"
#include "ui/views/gridview.h"
#include "ui/views/tools/panetool.h"
#include "ui/views/tools/repeatdialog.h"
#include "ui/wholedraft/addtabbydialog.h"
#include "ui/wholedraft/arrangetding.h"
#include "ui/wholedraft/deletesequencedlg.h"
#include "ui/wholedraft/doublewidthdialog.h"
#include "ui/wholedraft/fabricanalysismode.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>

namespace qb {

namespace {

bool isThreadingCommand(DraftCommand c)
{
    return c >= DraftCommand::ThreadingRepeat && c <= DraftCommand::UseWeftColors;
}

bool isTreadlingCommand(DraftCommand c)
{
    return c >= DraftCommand::TreadlingRepeat && c <= DraftCommand::LoadLiftplan;
}

} // namespace

CWholeDraftCommands::CWholeDraftCommands(IMainWindow* main) : QObject(main->window()), m_main(main)
{
    setObjectName(QStringLiteral("draftCommands"));
    using C = DraftCommand;
    make(C::ThreadingRepeat, "&Repeat...");
    make(C::ThreadingReflect, "Re&flect");
    make(C::ThreadingReverse, "Re&verse");
    make(C::ThreadingWrapUp, "Wrap U&p");
    make(C::ThreadingWrapDown, "Wrap Do&wn");
    make(C::ThreadingWrapRight, "Wrap &>>");
    make(C::ThreadingWrapLeft, "Wrap &<<");
    make(C::ThreadingClear, "&Clear");
    make(C::ThreadingLabel, "&Label...");
    make(C::ThreadingClearLabels, "Clear La&bels");
    make(C::ThreadingArrange, "Arran&ge...");
    make(C::ThreadingRemove, "R&emove...");
    make(C::ThreadingOptimize, "Optimi&ze");
    make(C::UseWeftColors, "&Use Weft Colors");
    make(C::TreadlingRepeat, "&Repeat...");
    make(C::TreadlingReflect, "Re&flect");
    make(C::TreadlingReverse, "Re&verse");
    make(C::TreadlingWrapRight, "Wrap &>>");
    make(C::TreadlingWrapLeft, "Wrap &<<");
    make(C::TreadlingWrapUp, "Wrap U&p");
    make(C::TreadlingWrapDown, "Wrap Do&wn");
    make(C::TreadlingClear, "&Clear");
    make(C::TreadlingLabel, "&Label...");
    make(C::TreadlingClearLabels, "Clear La&bels");
    make(C::TreadlingArrange, "Arran&ge...");
    make(C::TreadlingRemove, "R&emove...");
    make(C::TreadlingOptimize, "Optimi&ze");
    make(C::TrompAsWrit, "Tromp as &Writ");
    make(C::MirrorThreading, "Mirr&or Threading");
    make(C::UseWarpColors, "&Use Warp Colors");
    make(C::MultipleTreadles, "&Multiple Treadles", true);
    make(C::AddTabby, "&Add Tabby...");
    make(C::PasteLiftplan, "P&aste Liftplan");
    make(C::LoadLiftplan, "Load Li&ftplan");
    make(C::TieupDirect, "&Direct");
    make(C::TieupInvert, "In&vert");
    make(C::TieupClear, "&Clear");
    make(C::ConvertToLiftplan, "Convert to &Liftplan");
    make(C::ConvertToTieup, "Convert to &Tieup");
    make(C::FabricAnalysis, "Fabric &Analysis", true);
    make(C::SuperSize, "SuperSi&ze It");
    make(C::SingleRepeat, "&Single Repeat");
    make(C::TurnDraft, "&Turn Draft");
    make(C::StraightenThreading, "&Straighten Threading");
    make(C::StraightenTreadling, "Strai&ghten Treadling");
    make(C::OptimizeDraft, "Optimi&ze Draft");
    make(C::DoubleWidth, "Double &Width...");
    updateStates();
}

CWholeDraftCommands::~CWholeDraftCommands() = default;

CWholeDraftCommands* CWholeDraftCommands::of(IMainWindow* main)
{
    return main
        ? main->window()->findChild<CWholeDraftCommands*>(QStringLiteral("draftCommands"), Qt::FindDirectChildrenOnly)
        : nullptr;
}

QAction* CWholeDraftCommands::make(DraftCommand c, const char* text, bool checkable)
{
    // A checkable action flips its state before triggering: the command sets it again.
    QAction* a = m_actions.make(this, c, QString::fromLatin1(text), [this](DraftCommand cmd) { run(cmd); });
    a->setCheckable(checkable);
    return a;
}

QAction* CWholeDraftCommands::action(DraftCommand c) const
{
    return m_actions.action(c);
}

void CWholeDraftCommands::addMenus()
{
    using C = DraftCommand;
    auto add = [this](QMenu* m, std::initializer_list<std::initializer_list<DraftCommand>> groups) {
        bool first = true;
        for (const auto& g : groups) {
            if (!first) m->addSeparator();
            first = false;
            for (DraftCommand c : g) m->addAction(action(c));
        }
        connect(m, &QMenu::aboutToShow, this, &CWholeDraftCommands::updateStates);
    };

    add(m_main->menu(MenuId::Threading),
        {{C::ThreadingRepeat, C::ThreadingReflect, C::ThreadingReverse},
         {C::ThreadingWrapUp, C::ThreadingWrapDown, C::ThreadingWrapRight, C::ThreadingWrapLeft},
         {C::ThreadingClear, C::ThreadingLabel, C::ThreadingClearLabels},
         {C::ThreadingArrange, C::ThreadingRemove, C::ThreadingOptimize, C::UseWeftColors}});
    add(m_main->menu(MenuId::Treadling),
        {{C::TreadlingRepeat, C::TreadlingReflect, C::TreadlingReverse},
         {C::TreadlingWrapRight, C::TreadlingWrapLeft, C::TreadlingWrapUp, C::TreadlingWrapDown},
         {C::TreadlingClear, C::TreadlingLabel, C::TreadlingClearLabels},
         {C::TreadlingArrange, C::TreadlingRemove, C::TreadlingOptimize},
         {C::TrompAsWrit, C::MirrorThreading, C::UseWarpColors},
         {C::MultipleTreadles, C::AddTabby, C::PasteLiftplan, C::LoadLiftplan}});
    add(m_main->menu(MenuId::Tieup), {{C::TieupDirect, C::TieupInvert, C::TieupClear}});
    add(m_main->menu(MenuId::Drawdown), {{C::FabricAnalysis}, {C::SuperSize, C::SingleRepeat, C::TurnDraft}});
    QMenu* tools = m_main->menu(MenuId::Tools);
    tools->addSeparator();
    add(tools, {{C::StraightenThreading, C::StraightenTreadling, C::OptimizeDraft, C::DoubleWidth}});
    // With the other commands that take data from a file.
    QMenu* file = m_main->menu(MenuId::File);
    file->addAction(action(C::LoadLiftplan));
    connect(file, &QMenu::aboutToShow, this, &CWholeDraftCommands::updateStates);
    // The Edit menu is refilled for the active window each time it opens;
    // this runs after that.
    QMenu* edit = m_main->menu(MenuId::Edit);
    connect(edit, &QMenu::aboutToShow, this, [this, edit] {
        updateStates();
        edit->addSeparator();
        for (DraftCommand c : {C::ConvertToLiftplan, C::ConvertToTieup, C::PasteLiftplan}) edit->addAction(action(c));
    });
}

bool CWholeDraftCommands::context(Context& c) const
{
    c.window = m_main->activeDraftWindow();
    if (!c.window) return false;
    c.doc = &c.window->document();
    c.frame = m_main->activeGridFrame();
    if (!c.frame || c.frame->document() != c.doc) c.frame = c.window->frame();
    return true;
}

std::string CWholeDraftCommands::undoName(DraftCommand c) const
{
    // The menu text without access key and dots, with the menu it is on
    // where the text alone does not say what changed.
    QString text = action(c)->text().remove(QLatin1Char('&')).remove(QStringLiteral("..."));
    if (isThreadingCommand(c) && c != DraftCommand::UseWeftColors) text += QStringLiteral(" Threading");
    else if (c >= DraftCommand::TreadlingRepeat && c <= DraftCommand::TreadlingOptimize)
        text += QStringLiteral(" Treadling");
    else if (c >= DraftCommand::TieupDirect && c <= DraftCommand::TieupClear) text += QStringLiteral(" Tieup");
    return text.toStdString();
}

CommandResult CWholeDraftCommands::step(const Context& c, DraftCommand cmd,
                                        const std::function<CommandResult(Edit)>& fn)
{
    CommandResult r;
    c.doc->Transaction(undoName(cmd), [&](Edit e) { r = fn(e); });
    if (r.done()) m_main->afterCommand(*c.doc, r);
    return r;
}

void CWholeDraftCommands::updateStates()
{
    Context c;
    const bool doc = context(c);
    m_actions.enableAll(doc);
    using C = DraftCommand;
    QAction* multiple = action(C::MultipleTreadles);
    QAction* analysis = action(C::FabricAnalysis);
    if (!doc) {
        multiple->setChecked(false);
        analysis->setChecked(false);
        return;
    }
    action(C::ThreadingArrange)->setEnabled(CanArrange(*c.doc, Side::Threading));
    action(C::TreadlingArrange)->setEnabled(CanArrange(*c.doc, Side::Treadling));
    multiple->setChecked(c.doc->multipleTreadles());
    multiple->setEnabled(c.doc->numWefts() == 1);
    const CFabricAnalysisMode* mode = CFabricAnalysisMode::find(c.window->frame());
    analysis->setChecked(mode && mode->isOn());
}

bool CWholeDraftCommands::openNew(NewDraftResult r)
{
    if (!r.result.done() || !r.draft) return false;
    CDraftWindow* w = m_main->addDocumentWindow(std::move(r.draft), QString());
    // A draft no file holds yet: closing it asks to save.
    w->document().SetModified(true);
    w->refreshTitle();
    w->frame()->fitInWindow();
    return true;
}

void CWholeDraftCommands::run(DraftCommand cmd)
{
    Context c;
    if (!context(c)) {
        updateStates();
        return;
    }
    CUiPrompter prompter(m_main);
    CQuillabyDoc& doc = *c.doc;
    using C = DraftCommand;
    if (isThreadingCommand(cmd) || isTreadlingCommand(cmd)) {
        runSide(cmd, c, prompter);
        updateStates();
        return;
    }
    switch (cmd) {
    case C::TieupDirect: step(c, cmd, [&](Edit e) { return DirectTieup(e, doc); }); break;
    case C::TieupInvert: step(c, cmd, [&](Edit e) { return InvertTieup(e, doc); }); break;
    case C::TieupClear: step(c, cmd, [&](Edit e) { return ClearTieup(e, doc); }); break;
    case C::ConvertToLiftplan: {
        // The question about user-defined treadling notation is the
        // command's own, its answer part of the same step.
        WaitCursor wait;
        step(c, cmd, [&](Edit e) { return ConvertToLiftplan(e, doc, prompter); });
        break;
    }
    case C::ConvertToTieup: {
        WaitCursor wait;
        step(c, cmd, [&](Edit e) { return ConvertToTieup(e, doc, prompter); });
        break;
    }
    case C::FabricAnalysis: toggleFabricAnalysis(c, prompter); break;
    case C::SuperSize: {
        WaitCursor wait;
        step(c, cmd, [&](Edit e) { return SuperSize(e, doc, prompter); });
        break;
    }
    case C::SingleRepeat: step(c, cmd, [&](Edit e) { return SingleRepeatDraft(e, doc); }); break;
    case C::TurnDraft: {
        WaitCursor wait;
        step(c, cmd, [&](Edit e) { return TurnDraft(e, doc, prompter); });
        break;
    }
    case C::StraightenThreading: {
        WaitCursor wait;
        openNew(StraightenThreading(doc, prompter));
        break;
    }
    case C::StraightenTreadling: {
        WaitCursor wait;
        openNew(StraightenTreadling(doc, prompter));
        break;
    }
    case C::OptimizeDraft: {
        WaitCursor wait;
        openNew(OptimizeDraft(doc, prompter));
        break;
    }
    case C::DoubleWidth: {
        if (!CanFoldDoubleWidth(doc, prompter).done()) break;
        CDoubleWidth dialog(m_main->window());
        if (!RunDialog(dialog)) break;
        WaitCursor wait;
        openNew(qb::DoubleWidth(doc, dialog.options(), prompter));
        break;
    }
    default: break;
    }
    updateStates();
}

void CWholeDraftCommands::runSide(DraftCommand cmd, const Context& c, IPrompter& prompter)
{
    using C = DraftCommand;
    CQuillabyDoc& doc = *c.doc;
    const bool threading = isThreadingCommand(cmd);
    const Side side = threading ? Side::Threading : Side::Treadling;
    switch (cmd) {
    case C::ThreadingRepeat:
    case C::TreadlingRepeat: {
        RepeatDialog dialog(m_main->window());
        if (!RunDialog(dialog)) return;
        WaitCursor wait;
        step(c, cmd, [&](Edit e) {
            return dialog.singleRepeat() ? SingleRepeat(e, doc, side)
                                         : RepeatThreads(e, doc, side, dialog.times(), prompter);
        });
        return;
    }
    case C::ThreadingReflect:
    case C::TreadlingReflect: {
        WaitCursor wait;
        step(c, cmd, [&](Edit e) { return ReflectThreads(e, doc, side, prompter); });
        return;
    }
    case C::ThreadingReverse:
    case C::TreadlingReverse: step(c, cmd, [&](Edit e) { return ReverseThreads(e, doc, side); }); return;
    case C::ThreadingWrapUp: step(c, cmd, [&](Edit e) { return WrapShafts(e, doc, true, prompter); }); return;
    case C::ThreadingWrapDown: step(c, cmd, [&](Edit e) { return WrapShafts(e, doc, false, prompter); }); return;
    case C::ThreadingWrapRight: step(c, cmd, [&](Edit e) { return WrapEnds(e, doc, true); }); return;
    case C::ThreadingWrapLeft: step(c, cmd, [&](Edit e) { return WrapEnds(e, doc, false); }); return;
    case C::TreadlingWrapRight: step(c, cmd, [&](Edit e) { return WrapTreadles(e, doc, true, prompter); }); return;
    case C::TreadlingWrapLeft: step(c, cmd, [&](Edit e) { return WrapTreadles(e, doc, false, prompter); }); return;
    case C::TreadlingWrapUp: step(c, cmd, [&](Edit e) { return WrapPicks(e, doc, true); }); return;
    case C::TreadlingWrapDown: step(c, cmd, [&](Edit e) { return WrapPicks(e, doc, false); }); return;
    case C::ThreadingClear:
    case C::TreadlingClear: step(c, cmd, [&](Edit e) { return ClearThreads(e, doc, side); }); return;
    case C::ThreadingLabel:
    case C::TreadlingLabel: {
        // The Label dialog of the frame's threading or treadling pane, preset
        // to the whole sequence; the draft window's own panes when the active
        // frame has none.
        const PaneKind kind = side == Side::Threading ? PaneKind::Threading : PaneKind::Treadling;
        auto paneOf = [kind](CGridFrame* f) -> CGridView* {
            if (!f) return nullptr;
            if (f->activePane() && f->activePane()->paneKind() == kind) return f->activePane();
            for (CGridView* p : f->panes())
                if (p->paneKind() == kind) return p;
            return nullptr;
        };
        CGridView* pane = paneOf(c.frame);
        if (!pane) pane = paneOf(c.window->frame());
        const int n = side == Side::Threading ? doc.numEnds() : doc.numPicks();
        if (pane && n > 0) pane->tool().editLabel(0, n - 1);
        return;
    }
    case C::ThreadingClearLabels:
    case C::TreadlingClearLabels: step(c, cmd, [&](Edit e) { return ClearLabels(e, doc, side); }); return;
    case C::ThreadingArrange:
    case C::TreadlingArrange: {
        if (!CanArrange(doc, side)) return;
        CArrangeTding dialog(m_main->window());
        if (!RunDialog(dialog)) return;
        step(c, cmd, [&](Edit e) {
            return Arrange(e, doc, side, dialog.parallel() ? ArrangeKind::Parallel : ArrangeKind::Sequential, prompter);
        });
        return;
    }
    case C::ThreadingRemove:
    case C::TreadlingRemove: {
        CDeleteSequenceDlg dialog(threading, m_main->window());
        if (!RunDialog(dialog)) return;
        step(c, cmd, [&](Edit e) { return RemoveByPattern(e, doc, side, CDeleteSequenceDlg::stored().keep()); });
        return;
    }
    case C::ThreadingOptimize:
    case C::TreadlingOptimize: step(c, cmd, [&](Edit e) { return Optimize(e, doc, side, prompter); }); return;
    case C::UseWeftColors: step(c, cmd, [&](Edit e) { return UseOtherColors(e, doc, true); }); return;
    case C::UseWarpColors: step(c, cmd, [&](Edit e) { return UseOtherColors(e, doc, false); }); return;
    case C::TrompAsWrit: step(c, cmd, [&](Edit e) { return qb::TrompAsWrit(e, doc, false, prompter); }); return;
    case C::MirrorThreading: step(c, cmd, [&](Edit e) { return qb::TrompAsWrit(e, doc, true, prompter); }); return;
    case C::MultipleTreadles: {
        const bool on = !doc.multipleTreadles();
        step(c, cmd, [&](Edit e) { return SetMultipleTreadles(e, doc, on, prompter); });
        return;
    }
    case C::AddTabby: {
        CAddTabby dialog(m_main->window());
        if (!RunDialog(dialog)) return;
        WaitCursor wait;
        step(c, cmd, [&](Edit e) { return qb::AddTabby(e, doc, dialog.options(), prompter); });
        return;
    }
    case C::PasteLiftplan: pasteLiftplan(); return;
    case C::LoadLiftplan: {
        const QString path = QFileDialog::getOpenFileName(
            m_main->window(), QStringLiteral("Load Liftplan"), m_main->settings().mruOpenFileLocn,
            QStringLiteral("Pictures (*.png *.bmp *.jpg *.jpeg *.tif *.tiff);;All Files (*)"));
        if (!path.isEmpty()) loadLiftplanFile(path);
        return;
    }
    default: return;
    }
}

void CWholeDraftCommands::toggleFabricAnalysis(const Context& c, IPrompter& prompter)
{
    CDraftFrame* frame = c.window->frame();
    CFabricAnalysisMode* mode = CFabricAnalysisMode::of(frame);
    mode->setOn(!mode->isOn(), prompter);
    c.window->refreshTitle();
}

bool CWholeDraftCommands::pasteLiftplan()
{
    const QImage image = QGuiApplication::clipboard()->image();
    // Nothing happens when the clipboard holds no picture.
    if (image.isNull()) return false;
    return liftplanFromImage(image, DraftCommand::PasteLiftplan);
}

bool CWholeDraftCommands::loadLiftplanFile(const QString& path)
{
    Context c;
    if (!context(c)) return false;
    // The graphic documents' readers: JPEG and TIFF as well, and a damaged
    // file is only a message.
    PixelGrid grid;
    std::string error;
    bool read = false;
    {
        WaitCursor wait;
        read = ReadLiftplanPicture(QFile::encodeName(path).toStdString(), grid, error);
    }
    if (!read) {
        m_main->tell(QString::fromLocal8Bit(error));
        return false;
    }
    return liftplanFromPicture(grid, DraftCommand::LoadLiftplan);
}

bool CWholeDraftCommands::liftplanFromImage(const QImage& source, DraftCommand cmd)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    PixelGrid grid;
    grid.width = image.width();
    grid.height = image.height();
    grid.argb.resize(std::size_t(grid.width) * std::size_t(grid.height));
    for (int y = 0; y < grid.height; ++y) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        std::copy(line, line + grid.width, grid.argb.begin() + std::ptrdiff_t(y) * grid.width);
    }
    return liftplanFromPicture(grid, cmd);
}

bool CWholeDraftCommands::liftplanFromPicture(const PixelGrid& grid, DraftCommand cmd)
{
    Context c;
    if (!context(c)) return false;
    CUiPrompter prompter(m_main);
    WaitCursor wait;
    const bool flip = m_main->settings().FlipOnPasteLiftplan != 0;
    const CommandResult r = step(c, cmd, [&](Edit e) { return LiftplanFromPicture(e, *c.doc, grid, flip, prompter); });
    updateStates();
    return r.done();
}

void AddWholeDraftMenus(IMainWindow* main)
{
    auto* commands = new CWholeDraftCommands(main);
    commands->addMenus();
}

} // namespace qb
