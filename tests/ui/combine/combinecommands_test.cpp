// Echo, interleave, overlay, append, expand and the imports, worked through
// the editor's menus and dialogs: each changes the draft as the core does and
// is one undo step that gives the exact draft back.
#include "tests/ui/commandfixture.h"

#include "ui/combine/combinecommands.h"
#include "ui/combine/combinedialogs.h"

#include "core/transform/componentimport.h"
#include "core/transform/expand.h"
#include "core/transform/interleave.h"
#include "core/transform/messages.h"
#include "core/transform/overlay.h"
#include "core/wif/sourcedraft.h"
#include "core/wif/wifwriter.h"

#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QUrl>

using namespace qbtest;

namespace {

// `ends` ends on shafts 1..shafts in a point draw, `picks` picks on treadles
// 1..treadles in turn, a twill tieup, colors from the palette's first five.
std::unique_ptr<CQuillabyDoc> Draft(int shafts, int treadles, int ends, int picks, int wefts = 1)
{
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults d;
    d.shafts = shafts;
    d.treadles = treadles;
    d.defaultColors = {rgb(0, 0, 0), rgb(255, 255, 255), rgb(200, 0, 0), rgb(0, 120, 0), rgb(0, 0, 180)};
    doc->OnNewDocument(d);
    doc->SetNumRows(kUnrecorded, Side::Treadling, wefts);
    const int cycle = std::max(1, 2 * shafts - 2);
    for (int e = 0; e < ends; ++e) {
        const int k = e % cycle;
        doc->SetThreadingCell(kUnrecorded, e, k < shafts ? k + 1 : cycle - k + 1);
        doc->raw().threadingMutable(0)->SetColor(e, e % 3 + 2);
    }
    for (int p = 0; p < picks; ++p) {
        doc->SetTreadlingCell(kUnrecorded, p, p % treadles + 1);
        doc->raw().treadlingMutable(0)->SetColor(p, p % 2 + 2);
    }
    for (int t = 0; t < treadles; ++t) {
        doc->SetTieupCell(kUnrecorded, t, t % shafts + 1);
        doc->SetTieupCell(kUnrecorded, t, (t + 1) % shafts + 1);
    }
    return doc;
}

class CombineTest : public CommandWindowTest {
protected:
    QString save(std::unique_ptr<CQuillabyDoc> doc, const QString& name)
    {
        const QString path = m_files.filePath(name);
        EXPECT_TRUE(WriteWifFile(*doc, path.toStdString()));
        return path;
    }
    std::vector<std::unique_ptr<CQuillabyDoc>> read(const QStringList& paths, LiftplanChoice form)
    {
        std::vector<std::string> p;
        for (const QString& s : paths) p.push_back(s.toStdString());
        return ReadMergeSources(p, form);
    }
    static std::vector<const CQuillabyDoc*> ptrs(const std::vector<std::unique_ptr<CQuillabyDoc>>& v)
    {
        std::vector<const CQuillabyDoc*> out;
        for (const auto& d : v) out.push_back(d.get());
        return out;
    }

    QTemporaryDir m_files;
};

// Fills the merge dialog's fields in order and presses OK.
DialogRunner FillMerge(const QStringList& files, QString* title = nullptr)
{
    return [files, title](QDialog& d) {
        auto* merge = qobject_cast<CMergeDialog*>(&d);
        if (!merge) return false;
        if (title) *title = merge->windowTitle();
        for (int i = 0; i < files.size(); ++i) merge->field(i)->setText(files[i]);
        return true;
    };
}

DialogRunner SetSpin(const char* name, int value, const char* name2 = nullptr, int value2 = 0)
{
    return [=](QDialog& d) {
        auto* s = d.findChild<QSpinBox*>(QLatin1String(name));
        if (!s) return false;
        s->setValue(value);
        if (name2) d.findChild<QSpinBox*>(QLatin1String(name2))->setValue(value2);
        return true;
    };
}

} // namespace

TEST_F(CombineTest, MenusCarryTheCommandsUnderTheirOwnTexts)
{
    show(Draft(4, 4, 8, 8));
    const QStringList threading = items(QStringLiteral("Thre&ading"));
    for (const char* t : {"Ech&o...", "Interlea&ve...", "E&xpand...", "&Import...", "Thic&kness..."})
        EXPECT_TRUE(threading.contains(QLatin1String(t))) << t;
    const QStringList treadling = items(QStringLiteral("T&readling"));
    for (const char* t :
         {"Echo...", "Interleave...", "Overla&y...", "Append...", "E&xpand...", "&Import...", "Thic&kness..."})
        EXPECT_TRUE(treadling.contains(QLatin1String(t))) << t;
    EXPECT_TRUE(items(QStringLiteral("Tie&up")).contains(QStringLiteral("&Import...")));
    QAction* warp = item(QStringLiteral("&Color"), QStringLiteral("&Warp Colorway..."));
    ASSERT_NE(warp, nullptr);
    EXPECT_EQ(warp->statusTip(), QStringLiteral("Import the colors from the warp of another draft"));
    EXPECT_NE(item(QStringLiteral("&Color"), QStringLiteral("We&ft Colorway...")), nullptr);
    // With one weft the treadling cannot echo itself.
    EXPECT_FALSE(item(QStringLiteral("T&readling"), QStringLiteral("Echo..."))->isEnabled());
}

TEST_F(CombineTest, EveryCommandChangesTheDraftAsTheCoreDoesAndUndoGivesItBack)
{
    const QString a = save(Draft(6, 5, 6, 9), QStringLiteral("a.wif"));
    const QString b = save(Draft(12, 7, 14, 4), QStringLiteral("b.wif"));
    const QString lift = [&] {
        auto d = Draft(5, 5, 7, 6);
        d->raw().setLoomRaw(5, 5, true);
        d->raw().treadlingMutable(0)->setMultiple(true);
        return save(std::move(d), QStringLiteral("lift.wif"));
    }();
    FixedPrompter yes;
    struct Case {
        const char* name;
        const char* menu;
        const char* text;
        int wefts;
        std::function<void()> fill;
        std::function<CommandResult(CQuillabyDoc&)> core;
    };
    const auto form = LiftplanChoice::Treadling;
    const std::vector<Case> cases = {
        {"Echo Threading", "Thre&ading", "Ech&o...", 1,
         [] { SetDialogRunner(SetSpin("numEchos", 2, "echoOffset", 3)); },
         [&](CQuillabyDoc& d) {
             return EchoThreading(kUnrecorded, d, {2, 3}, yes);
         }},
        {"Echo Treadling", "T&readling", "Echo...", 3, [] {},
         [&](CQuillabyDoc& d) { return EchoTreadling(kUnrecorded, d, yes); }},
        {"Interleave Threading", "Thre&ading", "Interlea&ve...", 1,
         [&] {
             SetDialogRunner(FillMerge({a, b}));
         },
         [&](CQuillabyDoc& d) {
             return InterleaveThreading(kUnrecorded, d, ptrs(read({a, b}, form)), yes);
         }},
        {"Interleave Treadling", "T&readling", "Interleave...", 1, [&] { SetDialogRunner(FillMerge({b})); },
         [&](CQuillabyDoc& d) { return InterleaveTreadling(kUnrecorded, d, ptrs(read({b}, form)), yes); }},
        {"Overlay Pegplan", "T&readling", "Overla&y...", 1,
         [&] {
             SetDialogRunner(FillMerge({a, lift, b}));
         },
         [&](CQuillabyDoc& d) {
             return OverlayPegplan(kUnrecorded, d, ptrs(read({a, lift, b}, form)), yes);
         }},
        {"Append Treadling", "T&readling", "Append...", 1, [&] { m_chosen = QStringList{b}; },
         [&](CQuillabyDoc& d) { return AppendTreadling(kUnrecorded, d, *read({b}, form)[0], yes); }},
        {"Expand Threading", "Thre&ading", "E&xpand...", 1, [] { SetDialogRunner(SetSpin("factor", 3)); },
         [&](CQuillabyDoc& d) { return ExpandThreads(kUnrecorded, d, Side::Threading, 3, yes); }},
        {"Expand Treadling", "T&readling", "E&xpand...", 1, [] { SetDialogRunner(SetSpin("factor", 2)); },
         [&](CQuillabyDoc& d) { return ExpandThreads(kUnrecorded, d, Side::Treadling, 2, yes); }},
        {"Import Threading", "Thre&ading", "&Import...", 1, [&] { m_chosen = QStringList{b}; },
         [&](CQuillabyDoc& d) { return ImportThreading(kUnrecorded, d, b.toStdString(), yes); }},
        {"Import Treadling", "T&readling", "&Import...", 1, [&] { m_chosen = QStringList{lift}; },
         [&](CQuillabyDoc& d) { return ImportTreadling(kUnrecorded, d, lift.toStdString(), yes); }},
        {"Import Tieup", "Tie&up", "&Import...", 1, [&] { m_chosen = QStringList{b}; },
         [&](CQuillabyDoc& d) { return ImportTieup(kUnrecorded, d, b.toStdString(), yes); }},
        {"Import Warp Colorway", "&Color", "&Warp Colorway...", 1, [&] { m_chosen = QStringList{a}; },
         [&](CQuillabyDoc& d) { return ImportColorway(kUnrecorded, d, Side::Threading, a.toStdString(), yes); }},
        {"Import Weft Colorway", "&Color", "We&ft Colorway...", 1, [&] { m_chosen = QStringList{a}; },
         [&](CQuillabyDoc& d) { return ImportColorway(kUnrecorded, d, Side::Treadling, a.toStdString(), yes); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto expected = Draft(4, 4, 10, 8, c.wefts);
        ASSERT_TRUE(c.core(*expected).done());
        CDraftWindow* w = show(Draft(4, 4, 10, 8, c.wefts));
        CQuillabyDoc& doc = w->document();
        const std::string before = DraftState(doc);
        c.fill();
        ASSERT_TRUE(choose(QLatin1String(c.menu), QLatin1String(c.text)));
        SetDialogRunner({});
        EXPECT_EQ(DraftState(doc), DraftState(*expected));
        EXPECT_TRUE(doc.isModified());
        EXPECT_EQ(doc.history().undoCount(), 1);
        EXPECT_EQ(undo(), QStringLiteral("&Undo ") + QLatin1String(c.name));
        EXPECT_EQ(DraftState(doc), before);
        EXPECT_TRUE(m_told.isEmpty()) << m_told.join(QLatin1Char('|')).toStdString();
        w->close();
    }
    // The files came from the folder last used for drafts, which now names the last one.
    EXPECT_TRUE(m_chooserTitles.contains(QStringLiteral("File to Import From")));
    EXPECT_EQ(QFileInfo(m_main->settings().mruOpenFileLocn), QFileInfo(a));
}

TEST_F(CombineTest, EchoRemembersItsValuesInTheStoredSettings)
{
    show(Draft(8, 4, 3, 2));
    int echos = 0, offset = 0;
    SetDialogRunner([&](QDialog& d) {
        echos = d.findChild<QSpinBox*>(QStringLiteral("numEchos"))->value();
        offset = d.findChild<QSpinBox*>(QStringLiteral("echoOffset"))->value();
        d.findChild<QSpinBox*>(QStringLiteral("numEchos"))->setValue(1);
        d.findChild<QSpinBox*>(QStringLiteral("echoOffset"))->setValue(7);
        return true;
    });
    ASSERT_TRUE(choose(QStringLiteral("Thre&ading"), QStringLiteral("Ech&o...")));
    EXPECT_EQ(echos, 2); // the defaults the first time
    EXPECT_EQ(offset, 4);
    EXPECT_EQ(m_main->settings().NumEchos, 1);
    EXPECT_EQ(m_main->settings().EchoOffset, 7);
    m_main->writeSettings();
    QSettings s = TestSettingsDir::store();
    s.beginGroup(QLatin1String(CStoredSettings::kSection));
    EXPECT_EQ(s.value(QStringLiteral("NumEchos")).toInt(), 1);
    EXPECT_EQ(s.value(QStringLiteral("EchoOffset")).toInt(), 7);
    ASSERT_TRUE(choose(QStringLiteral("Thre&ading"), QStringLiteral("Ech&o...")));
    EXPECT_EQ(echos, 1);
    EXPECT_EQ(offset, 7);
}

TEST_F(CombineTest, FilesDroppedOntoTheMergeDialogFillItsFields)
{
    const QString a = save(Draft(4, 4, 5, 5), QStringLiteral("x.wif"));
    const QString b = save(Draft(4, 4, 6, 6), QStringLiteral("y.qlb"));
    CMergeDialog dialog(QStringLiteral("Overlay Pegplan"), QStringLiteral("Files to overlay pegplans with:"),
                        [] { return QStringLiteral("/chosen.wif"); });
    dialog.field(0)->setText(QStringLiteral("first.wif"));
    dialog.show();
    auto drop = [&](const QStringList& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& p : paths) urls << QUrl::fromLocalFile(p);
        data.setUrls(urls);
        // The drag enters first; only what it offers is dropped.
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent e(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &e);
        return e.isAccepted();
    };
    EXPECT_TRUE(drop({a, b}));
    EXPECT_EQ(dialog.files(), QStringList({QStringLiteral("first.wif"), a, b}));
    // All three full: a drop starts again at the first.
    EXPECT_TRUE(drop({b}));
    EXPECT_EQ(dialog.files(), QStringList({b, a, b}));
    // Only files are taken.
    EXPECT_FALSE(drop({m_files.path()}));
    // Browse fills its own field.
    dialog.findChild<QPushButton*>(QStringLiteral("browse2"))->click();
    EXPECT_EQ(dialog.files().at(1), QStringLiteral("/chosen.wif"));
}

TEST_F(CombineTest, RefusedAndDeclinedImportsLeaveNoStep)
{
    CDraftWindow* w = show(Draft(2, 2, 4, 4));
    CQuillabyDoc& doc = w->document();
    doc.SetNumRows(kUnrecorded, Side::Threading, 2);
    doc.raw().setCorrelation(1, true);
    doc.DiscardHistory();
    const std::string before = DraftState(doc);
    const QString src = save(Draft(4, 4, 9, 9), QStringLiteral("src.wif"));

    // The color-bar question comes before the file dialog; No ends it there.
    m_answer = false;
    m_chosen = QStringList{src};
    ASSERT_TRUE(choose(QStringLiteral("Thre&ading"), QStringLiteral("&Import...")));
    EXPECT_EQ(m_asked, QStringList{QLatin1String(msg::kColorBars)});
    EXPECT_TRUE(m_chooserTitles.isEmpty());
    EXPECT_EQ(DraftState(doc), before);

    // Yes: asked once, and the binding's end is part of the one step.
    m_answer = true;
    ASSERT_TRUE(choose(QStringLiteral("Thre&ading"), QStringLiteral("&Import...")));
    EXPECT_EQ(m_asked.size(), 2);
    EXPECT_EQ(doc.numEnds(), 9);
    EXPECT_FALSE(doc.correlationOn());
    undo();
    EXPECT_EQ(DraftState(doc), before);

    // No [WIF] Version: the version message, nothing changes.
    QFile bad(m_files.filePath(QStringLiteral("nov.wif")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("[WIF]\n[CONTENTS]\nWEAVING=1\nTIEUP=1\n[TIEUP]\n1=2\n");
    bad.close();
    m_chosen = QStringList{bad.fileName()};
    ASSERT_TRUE(choose(QStringLiteral("Tie&up"), QStringLiteral("&Import...")));
    EXPECT_EQ(m_told, QStringList{QStringLiteral("WIF Version  is not\nsupported by this application.")});
    EXPECT_EQ(DraftState(doc), before);
    EXPECT_EQ(doc.history().undoCount(), 0);

    // Cancel in the file dialog: nothing at all.
    m_told.clear();
    ASSERT_TRUE(choose(QStringLiteral("Tie&up"), QStringLiteral("&Import...")));
    EXPECT_TRUE(m_told.isEmpty());
    // A merge file that cannot be read is told, not left out, and nothing is merged.
    SetDialogRunner(FillMerge({QStringLiteral("/no/such.wif"), bad.fileName()}));
    ASSERT_TRUE(choose(QStringLiteral("T&readling"), QStringLiteral("Overla&y...")));
    EXPECT_EQ(DraftState(doc), before);
    EXPECT_EQ(doc.history().undoCount(), 0);
    ASSERT_EQ(m_told.size(), 1);
    EXPECT_TRUE(m_told[0].startsWith(QStringLiteral("cannot read /no/such.wif: "))) << m_told[0].toStdString();
}
