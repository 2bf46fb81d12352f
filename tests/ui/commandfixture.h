#pragma once

// The main window fixture for tests that work commands through the real
// menus and dialogs: a draft shown from memory, menu items chosen by their
// texts, files "chosen" by the test, Edit > Undo, and the whole draft as
// text to compare.

#include "tests/ui/mainwindowfixture.h"

#include "ui/base/commandstep.h"
#include "ui/views/draftwindow.h"

#include "core/draft/quillabydoc.h"

#include <QEventLoop>
#include <QTimer>

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
        for (int p = 0; p < d.numPicks(); ++p)
            s << d.treadling(r)->GetSet(p).lo() << '/' << d.treadling(r)->GetSet(p).hi() << ' ';
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

class CommandWindowTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        SetDraftFileChooser([this](const QString& title) {
            m_chooserTitles << title;
            return m_chosen.isEmpty() ? QString() : m_chosen.takeFirst();
        });
    }
    void TearDown() override
    {
        SetDraftFileChooser({});
        MainWindowTest::TearDown();
    }

    // A new draft window holding `doc` (its history emptied).
    CDraftWindow* show(std::unique_ptr<CQuillabyDoc> doc)
    {
        doc->DiscardHistory();
        doc->SetModified(false);
        return m_main->addDocumentWindow(std::move(doc), QString());
    }
    // The texts of a menu's items as it shows them when it opens.
    QStringList items(const QString& title)
    {
        QStringList out;
        if (QMenu* m = menu(title)) {
            emit m->aboutToShow();
            for (QAction* a : m->actions())
                if (!a->isSeparator()) out << a->text();
        }
        return out;
    }
    // Triggers a menu item (also in a submenu); false when it is missing or disabled.
    bool choose(const QString& menuTitle, const QString& text)
    {
        QAction* a = item(menuTitle, text);
        EXPECT_NE(a, nullptr) << text.toStdString();
        if (!a || !a->isEnabled()) return false;
        a->trigger();
        return true;
    }
    // Edit > Undo as the weaver picks it; the text it showed.
    QString undo()
    {
        QAction* a = nullptr;
        if (QMenu* m = menu(QStringLiteral("&Edit"))) {
            emit m->aboutToShow();
            for (QAction* x : m->actions())
                if (x->text().startsWith(QStringLiteral("&Undo"))) a = x;
        }
        if (!a) return {};
        const QString text = a->text();
        a->trigger();
        return text;
    }

    QStringList m_chosen, m_chooserTitles;
};

} // namespace qbtest
