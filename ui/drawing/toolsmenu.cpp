#include "ui/drawing/toolsmenu.h"

#include "ui/base/baricons.h"
#include "ui/base/imainwindow.h"
#include "ui/base/storedsettings.h"

#include "ui/views/gridview.h"
#include "ui/views/tools/panetool.h"
#include "ui/views/tools/toolstate.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace qb {

namespace {

struct ToolEntry {
    Tool tool;
    const char* text;
    const char* tip;
    const char* icon;
};

const ToolEntry kTools[] = {
    {Tool::Pencil, "&Pencil", "Use the pencil to draw in a threading, treadling, or tieup", "pencil"},
    {Tool::Line, "&Line", "Use the line tool to draw straight or point lines in the threading, treadling or tieup",
     "line"},
    {Tool::PickupColor, "Pic&kup Color", "Pick up a color from the warp or weft colorbar", "pickup"},
    {Tool::PaintBucket, "Paint B&ucket", "Use the paint bucket to dump the current color onto either color bar",
     "bucket"},
    {Tool::PaintBrush, "Paint &Brush",
     "Paint color in the warp or weft; like pencil in the colorbar, but use it anywhere", "brush"},
    {Tool::Selection, "&Selection", "Selects a portion of the draft for cutting, pasting, etc.", "selection"},
    {Tool::Stamp, "S&tamp", "Use the stamp tool to paste in a selection", "stamp"},
    {Tool::Move, "&Move", "Moves a treadle, an end, or a pick", "move"},
    {Tool::Zoom, "&Zoom", "Magnifies or shrinks the view", "zoom"},
    {Tool::WarpInterlace, "&Warp Interlacement", "Use in the drawdown to show the interlacement of a warp thread",
     "warpinterlace"},
    {Tool::WeftInterlace, "W&eft Interlacement", "Use in the drawdown to show the interlacement of a weft thread",
     "weftinterlace"},
};

QString plain(const char* text)
{
    return QString::fromLatin1(text).remove(QLatin1Char('&'));
}

// A checkable group of entries 0..n-1 kept in step with a value.
QActionGroup* choiceGroup(QMenu* menu, const QStringList& texts, int current, std::function<void(int)> chosen)
{
    auto* g = new QActionGroup(menu);
    for (int i = 0; i < texts.size(); ++i) {
        QAction* a = menu->addAction(texts[i]);
        a->setCheckable(true);
        a->setChecked(i == current);
        g->addAction(a);
        QObject::connect(a, &QAction::triggered, menu, [chosen, i] { chosen(i); });
    }
    return g;
}

} // namespace

void AddToolMenus(IMainWindow* main)
{
    CToolState& ts = CToolState::instance();
    ts.setLengthIndex(main->settings().ProgressingLineLength);
    ts.setOffsetIndex(main->settings().ProgressingLineOffset);
    // The tool state outlives any one main window (tests make several).
    QMainWindow* win = main->window();
    const QPointer<QMainWindow> guard(win);
    ts.setMessenger([guard, main](const QString& text) {
        if (guard) main->tell(text);
    });
    ts.setAsker([guard, main](const QString& q) { return guard && main->ask(q); });
    ts.setStatusLine([guard](const QString& text) {
        if (guard) guard->statusBar()->showMessage(text, 10000);
    });

    QMenu* menu = main->menu(MenuId::Draw);
    auto* toolBar = win->addToolBar(QStringLiteral("Tools"));
    toolBar->setObjectName(QStringLiteral("ToolsBar"));
    auto* group = new QActionGroup(win);
    for (const ToolEntry& t : kTools) {
        QAction* a = menu->addAction(QString::fromLatin1(t.text));
        a->setCheckable(true);
        a->setChecked(ts.tool() == t.tool);
        // The bar shows the picture: its tip names the tool, the status line says what it does.
        a->setIcon(BarIcon(t.icon));
        a->setIconText(plain(t.text));
        a->setToolTip(plain(t.text));
        a->setStatusTip(QString::fromLatin1(t.tip));
        group->addAction(a);
        toolBar->addAction(a);
        const Tool tool = t.tool;
        QObject::connect(a, &QAction::triggered, win, [tool] { CToolState::instance().setTool(tool); });
        QObject::connect(&ts, &CToolState::toolChanged, a, [a, tool](Tool now) { a->setChecked(now == tool); });
    }

    menu->addSeparator();
    QMenu* line = menu->addMenu(QStringLiteral("L&ine"));
    const auto kinds =
        choiceGroup(line, {QStringLiteral("&Straight"), QStringLiteral("&Point"), QStringLiteral("&Advancing")},
                    int(ts.lineKind()), [](int i) {
                        CToolState::instance().setLineKind(LineKind(i));
                        CToolState::instance().setTool(Tool::Line);
                    });
    kinds->actions()[0]->setStatusTip(
        QStringLiteral("Draws a straight line, left mouse button increases and right button decreases"));
    kinds->actions()[1]->setStatusTip(
        QStringLiteral("Draws a pointed line, left mouse button increases and right button decreases"));
    // The line kinds are at hand on the tool bar too, under the Line button's arrow.
    if (auto* b = qobject_cast<QToolButton*>(toolBar->widgetForAction(group->actions().at(1)))) {
        b->setMenu(line);
        b->setPopupMode(QToolButton::MenuButtonPopup);
    }
    QMenu* length = line->addMenu(QStringLiteral("&Length"));
    QStringList lengths, offsets;
    for (int i = 3; i <= 9; ++i) lengths << QString::number(i);
    for (int i = 1; i <= 6; ++i) offsets << QString::number(i);
    choiceGroup(length, lengths, ts.lengthIndex(), [main](int i) {
        CToolState::instance().setLengthIndex(i);
        main->settingsMutable().ProgressingLineLength = i;
    });
    QMenu* offset = line->addMenu(QStringLiteral("&Offset"));
    choiceGroup(offset, offsets, ts.offsetIndex(), [main](int i) {
        CToolState::instance().setOffsetIndex(i);
        main->settingsMutable().ProgressingLineOffset = i;
    });
}

} // namespace qb
