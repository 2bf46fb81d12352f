#include "ui/views/gridframe.h"

#include "core/draft/notation.h"
#include "core/draft/quillabydoc.h"

#include <QAction>

#include <functional>

namespace qb {

namespace {

struct ActionDef {
    FrameAction id;
    const char* objectName;
    const char* text;
    QList<QKeySequence> keys;
    bool checkable;
};

QList<QKeySequence> keys(std::initializer_list<QKeyCombination> k)
{
    QList<QKeySequence> out;
    for (QKeyCombination c : k) out << QKeySequence(c);
    return out;
}

const std::vector<ActionDef>& actionDefs()
{
    static const std::vector<ActionDef> s = {
        {FrameAction::ZoomIn, "zoomIn", "Zoom &In", keys({Qt::CTRL | Qt::Key_Plus, Qt::CTRL | Qt::Key_Equal}), false},
        {FrameAction::ZoomOut, "zoomOut", "Zoom &Out", keys({Qt::CTRL | Qt::Key_Minus}), false},
        {FrameAction::FitInWindow, "fitInWindow", "Fit in &Window",
         keys({Qt::CTRL | Qt::Key_Return, Qt::CTRL | Qt::Key_Enter}), false},
        {FrameAction::ThreadingNumeric, "threadingNumeric", "&Numeric", {}, true},
        {FrameAction::ThreadingAlpha, "threadingAlpha", "&Alpha", {}, true},
        {FrameAction::ThreadingUser, "threadingUserDefined", "User-&defined", {}, true},
        {FrameAction::TreadlingNumeric, "treadlingNumeric", "&Numeric", {}, true},
        {FrameAction::TreadlingUser, "treadlingUserDefined", "User-&defined", {}, true},
        {FrameAction::TieupNumeric, "tieupNumeric", "&Numeric", {}, true},
        {FrameAction::TieupSymbolic, "tieupSymbolic", "Sym&bolic", {}, true},
        {FrameAction::Interlace, "drawdownInterlace", "&Interlace", {}, true},
        {FrameAction::ColorMode, "drawdownColor", "&Color", {}, true},
        {FrameAction::WarpMode, "drawdownWarp", "Wa&rp", {}, true},
        {FrameAction::WeftMode, "drawdownWeft", "We&ft", {}, true},
        {FrameAction::HideThreading, "hideThreading", "&Hide", keys({Qt::SHIFT | Qt::CTRL | Qt::Key_U}), true},
        {FrameAction::HideTieup, "hideTieup", "&Hide", keys({Qt::SHIFT | Qt::CTRL | Qt::Key_I}), true},
        {FrameAction::HideTreadling, "hideTreadling", "&Hide", keys({Qt::SHIFT | Qt::CTRL | Qt::Key_K}), true},
        {FrameAction::HideDrawdown, "hideDrawdown", "&Hide", keys({Qt::SHIFT | Qt::CTRL | Qt::Key_J}), true},
        {FrameAction::HideThreadingColorbar, "hideThreadingColorbar", "Hide &Colorbar", {}, true},
        {FrameAction::HideTreadlingColorbar, "hideTreadlingColorbar", "Hide &Colorbar", {}, true},
        {FrameAction::SettAspect,
         "settAspect",
         "View the fabric with sett and beat proportions reflected in the aspect ratio",
         {},
         true},
        {FrameAction::CopyToClipboard, "copyToClipboard", "Cop&y to Clipboard",
         keys({Qt::SHIFT | Qt::CTRL | Qt::Key_C}), false},
        {FrameAction::CopyWarpDrawdown, "copyWarpDrawdown", "C&opy Warp Drawdown", {}, false},
        {FrameAction::CopyWeftDrawdown, "copyWeftDrawdown", "Copy W&eft Drawdown", {}, false},
        {FrameAction::SaveGraphic, "saveGraphic", "Save &Graphic", {}, false},
    };
    return s;
}

} // namespace

void CGridFrame::createActions()
{
    if (!m_actions.empty()) return;
    for (const ActionDef& s : actionDefs()) {
        auto* a = new QAction(QString::fromUtf8(s.text), this);
        a->setObjectName(QString::fromUtf8(s.objectName));
        a->setShortcuts(s.keys);
        // Several frames carry the same shortcuts: each answers only while it has focus.
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        a->setCheckable(s.checkable);
        addAction(a);
        m_actions.emplace(s.id, a);
    }
    auto on = [this](FrameAction id, std::function<void()> f) {
        connect(m_actions[id], &QAction::triggered, this, [f] { f(); });
    };
    on(FrameAction::ZoomIn, [this] { zoomIn(); });
    on(FrameAction::ZoomOut, [this] { zoomOut(); });
    on(FrameAction::FitInWindow, [this] { fitInWindow(); });
    on(FrameAction::ThreadingNumeric, [this] { toggleThreadingNotation(kNumeric); });
    on(FrameAction::ThreadingAlpha, [this] { toggleThreadingNotation(kAlpha); });
    on(FrameAction::ThreadingUser, [this] { toggleThreadingNotation(kUserDefined); });
    on(FrameAction::TreadlingNumeric, [this] { toggleTreadlingNotation(kNumeric); });
    on(FrameAction::TreadlingUser, [this] { toggleTreadlingNotation(kUserDefined); });
    on(FrameAction::TieupNumeric, [this] { toggleTieupNotation(kNumeric); });
    on(FrameAction::TieupSymbolic, [this] { toggleTieupNotation(kSymbolic); });
    on(FrameAction::Interlace, [this] { toggleInterlace(); });
    on(FrameAction::ColorMode, [this] { setColoring(0); });
    on(FrameAction::WarpMode, [this] { setColoring(1); });
    on(FrameAction::WeftMode, [this] { setColoring(2); });
    on(FrameAction::HideThreading, [this] { toggleHidden(PaneKind::Threading); });
    on(FrameAction::HideTieup, [this] { toggleHidden(PaneKind::Tieup); });
    on(FrameAction::HideTreadling, [this] { toggleHidden(PaneKind::Treadling); });
    on(FrameAction::HideDrawdown, [this] { toggleHidden(PaneKind::Drawdown); });
    on(FrameAction::HideThreadingColorbar, [this] { toggleColorBar(true); });
    on(FrameAction::HideTreadlingColorbar, [this] { toggleColorBar(false); });
    on(FrameAction::SettAspect, [this] { toggleSettAspect(); });
    on(FrameAction::CopyToClipboard, [this] { copyToClipboard(); });
    on(FrameAction::CopyWarpDrawdown, [this] { copyDrawdown(1); });
    on(FrameAction::CopyWeftDrawdown, [this] { copyDrawdown(2); });
    on(FrameAction::SaveGraphic, [this] { saveGraphic(); });
    updateActionStates();
}

QAction* CGridFrame::action(FrameAction a)
{
    createActions();
    return m_actions.at(a);
}

QList<QAction*> CGridFrame::frameActions()
{
    createActions();
    QList<QAction*> out;
    for (const ActionDef& s : actionDefs()) out << m_actions.at(s.id);
    return out;
}

void CGridFrame::updateActionStates()
{
    if (m_actions.empty()) return;
    auto check = [this](FrameAction id, bool on) { m_actions[id]->setChecked(on); };
    const DisplayNotations& n = m_doc->notations();
    check(FrameAction::ThreadingNumeric, n.threading == kNumeric);
    check(FrameAction::ThreadingAlpha, n.threading == kAlpha);
    check(FrameAction::ThreadingUser, n.threading == kUserDefined);
    check(FrameAction::TreadlingNumeric, n.treadling == kNumeric);
    check(FrameAction::TreadlingUser, n.treadling == kUserDefined);
    check(FrameAction::TieupNumeric, n.tieup == kNumeric);
    check(FrameAction::TieupSymbolic, n.tieup == kSymbolic);
    // The draft's style, also while a frame shows it flat for the while.
    check(FrameAction::Interlace, n.drawdown == kInterlaced);
    check(FrameAction::ColorMode, m_coloring == 0);
    check(FrameAction::WarpMode, m_coloring == 1);
    check(FrameAction::WeftMode, m_coloring == 2);
    check(FrameAction::HideThreading, m_hidden[0]);
    check(FrameAction::HideTieup, m_hidden[1]);
    check(FrameAction::HideTreadling, m_hidden[2]);
    check(FrameAction::HideDrawdown, m_hidden[3]);
    check(FrameAction::HideThreadingColorbar, m_colorBarHidden[0]);
    check(FrameAction::HideTreadlingColorbar, m_colorBarHidden[1]);
    check(FrameAction::SettAspect, m_settAspect);
    m_actions[FrameAction::SettAspect]->setEnabled(settRatio() != 1.0);
    m_actions[FrameAction::ZoomIn]->setEnabled(m_zoomStep < 10);
    m_actions[FrameAction::ZoomOut]->setEnabled(m_zoomStep > -((m_scale.baseCell - 2) / 2));
    const bool copy = canCopyDrawdown();
    m_actions[FrameAction::CopyWarpDrawdown]->setEnabled(copy);
    m_actions[FrameAction::CopyWeftDrawdown]->setEnabled(copy);
}

} // namespace qb
