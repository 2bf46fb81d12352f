#pragma once

// A main window with its menus for the GUI tests that work commands through
// the real menus and dialogs: messages and questions are recorded (and
// questions answered), dialogs are filled by the test, files are chosen by
// the test.

#include "app/commandstep.h"
#include "app/defaultpalette.h"
#include "app/dialogparts.h"
#include "app/draftwindow.h"
#include "app/mainframe.h"
#include "app/recentfilelist.h"
#include "testsettingsdir.h"

#include "draft/quillabydoc.h"

#include <QAction>
#include <QEventLoop>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace qbtest {

using namespace qb;

// Everything a command may change in a draft, as one comparable text.
inline std::string DraftState(const CQuillabyDoc& d)
{
    std::ostringstream s;
    s << d.numShafts() << 'x' << d.numTreadles() << (d.isLiftplan() ? " L" : " T") << (d.multipleTreadles() ? "M" : "")
      << " w" << d.numWarps() << " f" << d.numWefts() << " c" << d.correlationSide() << d.correlationOn() << '\n';
    auto seq = [&](const Tding& t) {
        s << "n" << t.GetCount() << " d" << t.defaultColor() << ':';
        for (int i = 0; i < t.GetCount(); ++i) s << ' ' << t.GetColor(i) << '/' << t.GetThick(i);
        for (int r = 0; r < kLabelRows; ++r)
            for (const Label& l : t.labelRow(r)) s << " L" << l.start << '+' << l.length << l.text;
        s << '\n';
    };
    for (int r = 0; r < d.numWarps(); ++r) {
        seq(*d.threading(r));
        for (int e = 0; e < d.numEnds(); ++e) s << d.threading(r)->GetShaft(e) << ' ';
        s << '\n';
    }
    for (int r = 0; r < d.numWefts(); ++r) {
        seq(*d.treadling(r));
        for (int p = 0; p < d.numPicks(); ++p) s << d.treadling(r)->GetSet(p).lo() << '/' << d.treadling(r)->GetSet(p).hi() << ' ';
        s << '\n';
    }
    for (int t = 0; t < d.numTreadles(); ++t) s << d.tieup().column(t).bits() << ' ';
    s << "\npalette";
    for (int i = 0; i < d.palette().count(); ++i) s << ' ' << d.palette().color(i);
    return s.str();
}

// Runs the event loop until `done` holds or `ms` have passed.
inline bool RunEventsUntil(const std::function<bool()>& done, int ms)
{
    if (done()) return true;
    QEventLoop loop;
    QTimer poll, limit;
    poll.setInterval(2);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    poll.start();
    limit.start(ms);
    loop.exec();
    return done();
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QSettings s = TestSettingsDir::store();
        m_palette.load(s);
        m_main = std::make_unique<CMainFrame>(m_palette, m_recent);
        m_main->setMessageHandler([this](const QString& t) { m_told << t; });
        m_main->setYesNoQuestion([this](const QString& q) {
            m_asked << q;
            return m_answer;
        });
        m_main->setSaveQuestion([](const QString&) { return CMainFrame::SaveAnswer::Discard; });
        m_main->resize(1200, 800);
        m_main->show();
        SetDraftFileChooser([this](const QString& title) {
            m_chooserTitles << title;
            return m_chosen.isEmpty() ? QString() : m_chosen.takeFirst();
        });
    }
    void TearDown() override
    {
        SetDialogRunner({});
        SetDraftFileChooser({});
        m_main.reset();
    }

    // A new draft window holding `doc` (its history emptied).
    CDraftWindow* show(std::unique_ptr<CQuillabyDoc> doc)
    {
        doc->DiscardHistory();
        doc->SetModified(false);
        return m_main->addDocumentWindow(std::move(doc), QString());
    }

    QMenu* menu(const QString& title, QMenu* in = nullptr)
    {
        const QList<QAction*> list = in ? in->actions() : m_main->menuBar()->actions();
        for (QAction* a : list)
            if (a->menu() && a->text() == title) {
                emit a->menu()->aboutToShow();
                return a->menu();
            }
        return nullptr;
    }
    // The item `text` of a menu path such as {"&Color", "&Import"}, after the
    // menus have updated themselves as they do when opened.
    QAction* item(const QStringList& path, const QString& text)
    {
        QMenu* m = nullptr;
        for (const QString& t : path) {
            m = menu(t, m);
            if (!m) return nullptr;
        }
        for (QAction* a : m->actions())
            if (a->text() == text) return a;
        return nullptr;
    }
    QStringList items(const QString& title)
    {
        QStringList out;
        if (QMenu* m = menu(title))
            for (QAction* a : m->actions())
                if (!a->isSeparator()) out << a->text();
        return out;
    }
    // Triggers a menu item; false when it is missing or disabled.
    bool choose(const QStringList& path, const QString& text)
    {
        QAction* a = item(path, text);
        EXPECT_NE(a, nullptr) << text.toStdString();
        if (!a || !a->isEnabled()) return false;
        a->trigger();
        return true;
    }
    // Edit > Undo as the weaver picks it; the text it showed.
    QString undo()
    {
        QAction* a = nullptr;
        if (QMenu* m = menu(QStringLiteral("&Edit")))
            for (QAction* x : m->actions())
                if (x->text().startsWith(QStringLiteral("&Undo"))) a = x;
        if (!a) return {};
        const QString text = a->text();
        a->trigger();
        return text;
    }

    TestSettingsDir m_dir;
    CDefaultPalette m_palette;
    CRecentFileList m_recent;
    std::unique_ptr<CMainFrame> m_main;
    QStringList m_told, m_asked, m_chosen, m_chooserTitles;
    bool m_answer = true;
};

} // namespace qbtest
