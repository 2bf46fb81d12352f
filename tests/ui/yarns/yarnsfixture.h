#pragma once

#include "app/defaultpalette.h"
#include "app/dialogparts.h"
#include "app/mainframe.h"
#include "app/recentfilelist.h"
#include "testsettingsdir.h"
#include "yarns/yarncommands.h"
#include "yarns/yarnfiledialogs.h"

#include "yarn/yarndoc.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

#include <deque>
#include <functional>

#include <gtest/gtest.h>

// A main window with scripted answers: Yes/No questions, file dialogs and
// dialogs are answered from queues the test fills, and every question and
// message is recorded.
class YarnsFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        QSettings s = TestSettingsDir::store();
        m_palette.load(s);
        m_frame = std::make_unique<qb::CMainFrame>(m_palette, m_recent);
        m_frame->setMessageHandler([this](const QString& t) { told << t; });
        m_frame->setYesNoQuestion([this](const QString& q) {
            asked << q;
            if (answers.empty()) return false;
            const bool a = answers.front();
            answers.pop_front();
            return a;
        });
        m_frame->setSaveQuestion([](const QString&) { return qb::CMainFrame::SaveAnswer::Discard; });
        qb::SetYarnFileChooser([this](const qb::YarnFileQuestion& q) {
            fileQuestions.push_back(q);
            if (files.empty()) return QString();
            const QString f = files.front();
            files.pop_front();
            return f;
        });
        qb::SetDialogRunner([this](QDialog& d) {
            if (dialogs.empty()) return false;
            auto run = std::move(dialogs.front());
            dialogs.pop_front();
            return run(d);
        });
        m_frame->resize(1200, 800);
        m_frame->show();
    }

    void TearDown() override
    {
        qb::SetDialogRunner({});
        qb::SetYarnFileChooser({});
        m_frame.reset();
    }

    qb::CYarnCommands* yarns() { return qb::CYarnCommands::of(m_frame.get()); }

    QString path(const QString& name) const { return m_files.filePath(name); }

    // A text yarn file with the given lines.
    QString writeYarnFile(const QString& name, const QByteArray& lines)
    {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(lines);
        return path(name);
    }

    // The item of a menu as it is filled for the active window.
    QAction* item(const QString& menu, const QString& text)
    {
        for (QAction* a : m_frame->menuBar()->actions())
            if (a->menu() && a->text() == menu) {
                emit a->menu()->aboutToShow();
                for (QAction* i : a->menu()->actions())
                    if (i->text() == text) return i;
            }
        return nullptr;
    }

    static void type(QLineEdit* e, const QString& text)
    {
        ASSERT_NE(e, nullptr);
        e->selectAll();
        QTest::keyClicks(e, text);
    }

    TestSettingsDir m_dir;
    QTemporaryDir m_files;
    qb::CDefaultPalette m_palette;
    qb::CRecentFileList m_recent;
    std::unique_ptr<qb::CMainFrame> m_frame;

    std::deque<bool> answers;
    std::deque<QString> files;
    std::deque<std::function<bool(QDialog&)>> dialogs;
    QStringList asked;
    QStringList told;
    std::vector<qb::YarnFileQuestion> fileQuestions;
};
