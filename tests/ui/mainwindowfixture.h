#pragma once

// One main window per test with its own empty settings store. Messages and
// Yes/No questions are kept for the test to look at; questions take
// m_answer, the save question discards.

#include "tests/ui/testsettingsdir.h"
#include "ui/app/defaultpalette.h"
#include "ui/app/documentfiles.h"
#include "ui/app/mainframe.h"
#include "ui/app/recentfilelist.h"
#include "ui/base/dialogparts.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (startsWithWindow()) openMain();
    }
    void TearDown() override
    {
        m_main.reset();
        qb::CDocumentFiles::setDocumentLoader({});
        qb::CDocumentFiles::setDocumentSaver({});
        qb::SetDialogRunner({});
    }
    // Tests that store settings first open the window themselves.
    virtual bool startsWithWindow() const { return true; }

    qb::CMainFrame& openMain(QSize size = QSize(1200, 800))
    {
        QSettings s = TestSettingsDir::store();
        m_palette.load(s);
        m_main = std::make_unique<qb::CMainFrame>(m_palette, m_recent);
        m_main->setMessageHandler([this](const QString& t) { m_told << t; });
        m_main->setYesNoQuestion([this](const QString& q) {
            m_asked << q;
            return m_answer;
        });
        m_main->files().setSaveQuestion([](const QString&) { return qb::CDocumentFiles::SaveAnswer::Discard; });
        m_main->resize(size);
        m_main->show();
        return *m_main;
    }

    QMenu* menu(const QString& title) const
    {
        for (QAction* a : m_main->menuBar()->actions())
            if (a->text() == title) return a->menu();
        return nullptr;
    }
    // An item of a menu or its submenus, as the menu shows it when it opens
    // (menus are filled for the active window then).
    QAction* item(QMenu* m, const QString& text) const
    {
        if (!m) return nullptr;
        emit m->aboutToShow();
        QList<QAction*> all = m->actions();
        for (int i = 0; i < all.size(); ++i) {
            if (all[i]->text() == text) return all[i];
            if (all[i]->menu()) {
                emit all[i]->menu()->aboutToShow();
                all += all[i]->menu()->actions();
            }
        }
        return nullptr;
    }
    QAction* item(const QString& menuTitle, const QString& text) const { return item(menu(menuTitle), text); }
    // Edit > Undo, as the weaver chooses it.
    void undo() const { m_main->findChild<QAction*>(QStringLiteral("editUndo"))->trigger(); }

    TestSettingsDir m_dir;
    qb::CDefaultPalette m_palette;
    qb::CRecentFileList m_recent;
    std::unique_ptr<qb::CMainFrame> m_main;
    QStringList m_told;
    QStringList m_asked;
    bool m_answer = true;
};
