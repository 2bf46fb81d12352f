#include "ui/wholedraft/wholedraftcommands.h"

#include "core/transform/arrange.h"
#include "core/transform/dialogargs.h"
#include "core/transform/doublewidth.h"
#include "core/transform/liftplanpicture.h"
#include "core/transform/messages.h"
#include "printing/glyphs.h"
#include "ui/base/commandstep.h"
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
#include "ui/wholedraft/arrangetdingdialog.h"
#include "ui/wholedraft/deletesequencedialog.h"
#include "ui/wholedraft/doublewidthdialog.h"
#include "ui/wholedraft/fabricanalysismode.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>

namespace qb {

namespace {

using Id = DraftCommandId;
using S = ScreenCommand;

// What the commands with a dialog ask: the dialog's choices as the table's
// arguments.
CommandAsker askRepeat(IMainWindow* main)
{
    return [main](CDraftWindow&, IPrompter&, CommandRequest& r) {
        CRepeatDialog dialog(main->window());
        if (!RunDialog(dialog)) return false;
        r.args = RepeatArgs(dialog.singleRepeat(), dialog.times());
        return true;
    };
}

CommandAsker askArrange(IMainWindow* main)
{
    return [main](CDraftWindow&, IPrompter&, CommandRequest& r) {
        CArrangeTdingDialog dialog(main->window());
        if (!RunDialog(dialog)) return false;
        r.args = ArrangeArgs(dialog.parallel() ? ArrangeKind::Parallel : ArrangeKind::Sequential);
        return true;
    };
}

CommandAsker askRemove(IMainWindow* main, Side side)
{
    return [main, side](CDraftWindow&, IPrompter&, CommandRequest& r) {
        CDeleteSequenceDialog dialog(side == Side::Threading, main->window());
        if (!RunDialog(dialog)) return false;
        r.args = RemoveArgs(CDeleteSequenceDialog::stored().keep());
        return true;
    };
}

CommandAsker askAddTabby(IMainWindow* main)
{
    return [main](CDraftWindow&, IPrompter&, CommandRequest& r) {
        CAddTabbyDialog dialog(main->window());
        if (!RunDialog(dialog)) return false;
        r.args = AddTabbyArgs(dialog.options());
        return true;
    };
}

// A draft that cannot fold is refused before the dialog.
CommandAsker askDoubleWidth(IMainWindow* main)
{
    return [main](CDraftWindow& w, IPrompter& p, CommandRequest& r) {
        if (!CanFoldDoubleWidth(w.document(), p).done()) return false;
        CDoubleWidthDialog dialog(main->window());
        if (!RunDialog(dialog)) return false;
        r.args = DoubleWidthArgs(dialog.options());
        return true;
    };
}

} // namespace

CWholeDraftCommands::CWholeDraftCommands(IMainWindow* main)
    : QObject(main->window())
    , m_main(main)
    , m_table(main, this, [this] { updateStates(); })
{
    setObjectName(QStringLiteral("draftCommands"));
    makeTableActions();
    make(S::ThreadingLabel, "&Label...");
    make(S::TreadlingLabel, "&Label...");
    make(S::PasteLiftplan, "P&aste Liftplan");
    make(S::FabricAnalysis, "Fabric &Analysis", true);
    updateStates();
}

void CWholeDraftCommands::makeTableActions()
{
    auto make = [this](Id id, const char* text, CommandAsker ask = {}) { m_table.make(id, text, std::move(ask)); };
    make(Id::ThreadingRepeat, "&Repeat...", askRepeat(m_main));
    make(Id::ThreadingReflect, "Re&flect");
    make(Id::ThreadingReverse, "Re&verse");
    make(Id::ThreadingWrapUp, "Wrap U&p");
    make(Id::ThreadingWrapDown, "Wrap Do&wn");
    make(Id::ThreadingWrapRight, "Wrap &>>");
    make(Id::ThreadingWrapLeft, "Wrap &<<");
    make(Id::ThreadingClear, "&Clear");
    make(Id::ThreadingClearLabels, "Clear La&bels");
    make(Id::ThreadingArrange, "Arran&ge...", askArrange(m_main));
    make(Id::ThreadingRemove, "R&emove...", askRemove(m_main, Side::Threading));
    make(Id::ThreadingOptimize, "Optimi&ze");
    make(Id::UseWeftColors, "&Use Weft Colors");
    make(Id::TreadlingRepeat, "&Repeat...", askRepeat(m_main));
    make(Id::TreadlingReflect, "Re&flect");
    make(Id::TreadlingReverse, "Re&verse");
    make(Id::TreadlingWrapRight, "Wrap &>>");
    make(Id::TreadlingWrapLeft, "Wrap &<<");
    make(Id::TreadlingWrapUp, "Wrap U&p");
    make(Id::TreadlingWrapDown, "Wrap Do&wn");
    make(Id::TreadlingClear, "&Clear");
    make(Id::TreadlingClearLabels, "Clear La&bels");
    make(Id::TreadlingArrange, "Arran&ge...", askArrange(m_main));
    make(Id::TreadlingRemove, "R&emove...", askRemove(m_main, Side::Treadling));
    make(Id::TreadlingOptimize, "Optimi&ze");
    make(Id::TrompAsWrit, "Tromp as &Writ");
    make(Id::MirrorThreading, "Mirr&or Threading");
    make(Id::UseWarpColors, "&Use Warp Colors");
    // The question about user-defined treadling notation is the command's
    // own, its answer part of the same step.
    make(Id::MultipleTreadles, "&Multiple Treadles", [](CDraftWindow& w, IPrompter&, CommandRequest& r) {
        r.args = MultipleTreadlesArgs(!w.document().multipleTreadles());
        return true;
    });
    // A checkable action flips its state before triggering: the command sets it again.
    action(Id::MultipleTreadles)->setCheckable(true);
    make(Id::AddTabby, "&Add Tabby...", askAddTabby(m_main));
    make(Id::LoadLiftplan, "Load Li&ftplan", [this](CDraftWindow&, IPrompter&, CommandRequest& r) {
        const QString path = QFileDialog::getOpenFileName(
            m_main->window(), QStringLiteral("Load Liftplan"), m_main->settings().mruOpenFileLocn,
            QStringLiteral("Pictures (*.png *.bmp *.jpg *.jpeg *.tif *.tiff);;All Files (*)"));
        if (path.isEmpty()) return false;
        r.args = liftplanArgs(path);
        return true;
    });
    make(Id::TieupDirect, "&Direct");
    make(Id::TieupInvert, "In&vert");
    make(Id::TieupClear, "&Clear");
    make(Id::ConvertToLiftplan, "Convert to &Liftplan");
    make(Id::ConvertToTieup, "Convert to &Tieup");
    make(Id::SuperSize, "SuperSi&ze It");
    make(Id::SingleRepeat, "&Single Repeat");
    make(Id::TurnDraft, "&Turn Draft");
    make(Id::StraightenThreading, "&Straighten Threading");
    make(Id::StraightenTreadling, "Strai&ghten Treadling");
    make(Id::OptimizeDraft, "Optimi&ze Draft");
    make(Id::DoubleWidth, "Double &Width...", askDoubleWidth(m_main));
}

CWholeDraftCommands::~CWholeDraftCommands() = default;

CWholeDraftCommands* CWholeDraftCommands::of(IMainWindow* main)
{
    return main
        ? main->window()->findChild<CWholeDraftCommands*>(QStringLiteral("draftCommands"), Qt::FindDirectChildrenOnly)
        : nullptr;
}

QAction* CWholeDraftCommands::make(ScreenCommand c, const char* text, bool checkable)
{
    QAction* a = m_screen.make(this, c, QString::fromLatin1(text), [this](ScreenCommand cmd) { run(cmd); });
    a->setCheckable(checkable);
    return a;
}

void CWholeDraftCommands::addMenus()
{
    auto a = [this](auto c) { return action(c); };
    auto add = [this](QMenu* m, std::initializer_list<std::initializer_list<QAction*>> groups) {
        bool first = true;
        for (const auto& g : groups) {
            if (!first) m->addSeparator();
            first = false;
            for (QAction* c : g) m->addAction(c);
        }
        connect(m, &QMenu::aboutToShow, this, &CWholeDraftCommands::updateStates);
    };

    add(m_main->menu(MenuId::Threading),
        {{a(Id::ThreadingRepeat), a(Id::ThreadingReflect), a(Id::ThreadingReverse)},
         {a(Id::ThreadingWrapUp), a(Id::ThreadingWrapDown), a(Id::ThreadingWrapRight), a(Id::ThreadingWrapLeft)},
         {a(Id::ThreadingClear), a(S::ThreadingLabel), a(Id::ThreadingClearLabels)},
         {a(Id::ThreadingArrange), a(Id::ThreadingRemove), a(Id::ThreadingOptimize), a(Id::UseWeftColors)}});
    add(m_main->menu(MenuId::Treadling),
        {{a(Id::TreadlingRepeat), a(Id::TreadlingReflect), a(Id::TreadlingReverse)},
         {a(Id::TreadlingWrapRight), a(Id::TreadlingWrapLeft), a(Id::TreadlingWrapUp), a(Id::TreadlingWrapDown)},
         {a(Id::TreadlingClear), a(S::TreadlingLabel), a(Id::TreadlingClearLabels)},
         {a(Id::TreadlingArrange), a(Id::TreadlingRemove), a(Id::TreadlingOptimize)},
         {a(Id::TrompAsWrit), a(Id::MirrorThreading), a(Id::UseWarpColors)},
         {a(Id::MultipleTreadles), a(Id::AddTabby), a(S::PasteLiftplan), a(Id::LoadLiftplan)}});
    add(m_main->menu(MenuId::Tieup), {{a(Id::TieupDirect), a(Id::TieupInvert), a(Id::TieupClear)}});
    add(m_main->menu(MenuId::Drawdown),
        {{a(S::FabricAnalysis)}, {a(Id::SuperSize), a(Id::SingleRepeat), a(Id::TurnDraft)}});
    QMenu* tools = m_main->menu(MenuId::Tools);
    tools->addSeparator();
    add(tools, {{a(Id::StraightenThreading), a(Id::StraightenTreadling), a(Id::OptimizeDraft), a(Id::DoubleWidth)}});
    // With the other commands that take data from a file.
    QMenu* file = m_main->menu(MenuId::File);
    file->addAction(a(Id::LoadLiftplan));
    connect(file, &QMenu::aboutToShow, this, &CWholeDraftCommands::updateStates);
    // The Edit menu is refilled for the active window each time it opens;
    // this runs after that.
    QMenu* edit = m_main->menu(MenuId::Edit);
    connect(edit, &QMenu::aboutToShow, this, [this, edit, a] {
        updateStates();
        edit->addSeparator();
        for (QAction* c : {a(Id::ConvertToLiftplan), a(Id::ConvertToTieup), a(S::PasteLiftplan)}) edit->addAction(c);
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

void CWholeDraftCommands::updateStates()
{
    CDraftWindow* w = m_main->activeDraftWindow();
    m_table.enableAll(w != nullptr);
    m_screen.enableAll(w != nullptr);
    QAction* multiple = action(Id::MultipleTreadles);
    QAction* analysis = action(S::FabricAnalysis);
    if (!w) {
        multiple->setChecked(false);
        analysis->setChecked(false);
        return;
    }
    const CQuillabyDoc& doc = w->document();
    action(Id::ThreadingArrange)->setEnabled(CanArrange(doc, Side::Threading));
    action(Id::TreadlingArrange)->setEnabled(CanArrange(doc, Side::Treadling));
    multiple->setChecked(doc.multipleTreadles());
    multiple->setEnabled(doc.numWefts() == 1);
    const CFabricAnalysisMode* mode = CFabricAnalysisMode::find(w->frame());
    analysis->setChecked(mode && mode->isOn());
}

void CWholeDraftCommands::run(ScreenCommand cmd)
{
    Context c;
    if (context(c)) {
        CUiPrompter prompter(m_main);
        switch (cmd) {
        case S::ThreadingLabel: editLabel(c, Side::Threading); break;
        case S::TreadlingLabel: editLabel(c, Side::Treadling); break;
        case S::PasteLiftplan: pasteLiftplan(); break;
        case S::FabricAnalysis: toggleFabricAnalysis(c, prompter); break;
        }
    }
    updateStates();
}

void CWholeDraftCommands::editLabel(const Context& c, Side side)
{
    CQuillabyDoc& doc = *c.doc;
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
}

void CWholeDraftCommands::toggleFabricAnalysis(const Context& c, IPrompter& prompter)
{
    CDraftFrame* frame = c.window->frame();
    CFabricAnalysisMode* mode = CFabricAnalysisMode::of(frame);
    mode->setOn(!mode->isOn(), prompter);
    c.window->refreshTitle();
}

CommandArgs CWholeDraftCommands::liftplanArgs(const QString& path) const
{
    return LoadLiftplanArgs(QFile::encodeName(path).toStdString(), m_main->settings().FlipOnPasteLiftplan != 0);
}

bool CWholeDraftCommands::loadLiftplanFile(const QString& path)
{
    CDraftWindow* w = m_main->activeDraftWindow();
    if (!w) return false;
    // The table reads the picture with the graphic documents' readers: JPEG
    // and TIFF as well, and a damaged file is only a message.
    CommandRequest request;
    request.args = liftplanArgs(path);
    const bool done = m_table.run(Id::LoadLiftplan, *w, request).done();
    updateStates();
    return done;
}

bool CWholeDraftCommands::pasteLiftplan()
{
    const QImage image = QGuiApplication::clipboard()->image();
    // Nothing happens when the clipboard holds no picture.
    if (image.isNull()) return false;
    return liftplanFromImage(image);
}

bool CWholeDraftCommands::liftplanFromImage(const QImage& source)
{
    CDraftWindow* w = m_main->activeDraftWindow();
    if (!w) return false;
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    PixelGrid grid;
    grid.width = image.width();
    grid.height = image.height();
    grid.argb.resize(std::size_t(grid.width) * std::size_t(grid.height));
    for (int y = 0; y < grid.height; ++y) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        std::copy(line, line + grid.width, grid.argb.begin() + std::ptrdiff_t(y) * grid.width);
    }
    CQuillabyDoc& doc = w->document();
    CUiPrompter prompter(m_main);
    WaitCursor wait;
    const bool flip = m_main->settings().FlipOnPasteLiftplan != 0;
    const CommandResult r = RunCommandStep(m_main, doc, "Paste Liftplan",
                                           [&](Edit e) { return LiftplanFromPicture(e, doc, grid, flip, prompter); });
    updateStates();
    return r.done();
}

void AddWholeDraftMenus(IMainWindow* main)
{
    auto* commands = new CWholeDraftCommands(main);
    commands->addMenus();
}

} // namespace qb
