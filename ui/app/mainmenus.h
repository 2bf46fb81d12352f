#pragma once

#include "ui/base/menuid.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <map>

class QAction;
class QMenu;
class QMenuBar;

namespace qb {

class CMainFrame;
class CRecentFileList;

// The main window's menu bar: every menu by its id, in a fixed order on the
// bar, the shell's own items (File, Edit, View, Window, Help) and their
// states for the active window. Features add their items through
// IMainWindow::menu(); the bar swaps the draft menus for another kind of
// document's own menus while that is active.
class CMainMenus : public QObject {
    Q_OBJECT
public:
    CMainMenus(CMainFrame& frame, CRecentFileList& recent);

    QMenu* menu(MenuId id) const;
    void registerMenu(MenuId id, QMenu* submenu);

    // The File menu in two parts around the features' own open commands:
    // New and Open... first, then Open Recent, Save, Save As and Close.
    void addOpenItems();
    void addSaveItems();
    // What closes the menus: File > Exit, the Window and Help menus.
    void addClosingItems();

    // The Undo and Redo items name the step they will take.
    void updateUndoActions();
    void updateRecentMenu();
    // Save, Save As, Close and the menus shown, for the active window.
    void updateForActiveWindow();

private:
    void addEditMenu();
    void addViewMenu();
    void updateEditMenu();
    void updateViewMenu();
    void updateWindowMenu();
    // Another document's menus in place of the draft menus, or the draft menus back.
    void updateMenuBar();

    CMainFrame& m_frame;
    CRecentFileList& m_recent;
    QMenuBar* m_bar;
    std::map<MenuId, QPointer<QMenu>> m_menus;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
    QAction* m_statusBarAction = nullptr;
    QList<QAction*> m_frameKindActions;
    QMenu* m_newWindowMenu = nullptr;
    QMenu* m_recentMenu = nullptr;
    QList<QAction*> m_recentActions;
    QAction* m_recentSeparator = nullptr;
    QAction* m_saveAction = nullptr;
    QAction* m_saveAsAction = nullptr;
    QAction* m_closeAction = nullptr;
    // The menus a draft needs, out of the bar while another kind of document
    // is active, and that document's menus shown instead.
    QList<QAction*> m_draftMenus;
    QList<QPointer<QMenu>> m_otherMenus;
};

} // namespace qb
