#pragma once

#include "tests/ui/mainwindowfixture.h"
#include "ui/yarn/yarncommands.h"
#include "ui/yarn/yarnfiledialogs.h"

#include "core/yarn/yarndoc.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <deque>
#include <functional>

// The main window with scripted answers: Yes/No questions, file dialogs and
// dialogs are answered in turn from queues the test fills (a question with
// no answer left is No, a file dialog is cancelled, a dialog is cancelled).
class YarnsFixture : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        m_main->setYesNoQuestion([this](const QString& q) {
            m_asked << q;
            if (answers.empty()) return false;
            const bool a = answers.front();
            answers.pop_front();
            return a;
        });
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
    }

    void TearDown() override
    {
        qb::SetYarnFileChooser({});
        MainWindowTest::TearDown();
    }

    qb::CYarnCommands* yarns() { return qb::CYarnCommands::of(m_main.get()); }

    QString path(const QString& name) const { return m_files.filePath(name); }

    // A text yarn file with the given lines.
    QString writeYarnFile(const QString& name, const QByteArray& lines)
    {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(lines);
        return path(name);
    }

    static void type(QLineEdit* e, const QString& text)
    {
        ASSERT_NE(e, nullptr);
        e->selectAll();
        QTest::keyClicks(e, text);
    }

    QTemporaryDir m_files;
    std::deque<bool> answers;
    std::deque<QString> files;
    std::deque<std::function<bool(QDialog&)>> dialogs;
    std::vector<qb::YarnFileQuestion> fileQuestions;
};
