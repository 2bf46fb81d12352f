// Clone, the closing question over every draft, the properties sheet and
// the imports, driven through the main window.

#include "tests/ui/mainwindowfixture.h"
#include "ui/app/defaultpalette.h"
#include "ui/app/documentfiles.h"
#include "ui/app/draftreadwrite.h"
#include "ui/app/mainframe.h"
#include "ui/app/recentfilelist.h"
#include "ui/filecommands/draftfilecommands.h"
#include "ui/filecommands/propertiessheet.h"
#include "ui/views/draftwindow.h"
#include "ui/yarn/yarncommands.h"

#include "core/transform/messages.h"
#include "core/wif/wifreader.h"
#include "core/wif/wifwriter.h"
#include "ui/views/draftframe.h"
#include "ui/views/gridview.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace qb;

namespace {

class LifecycleTest : public MainWindowTest {
protected:
    QAction* fileItem(const QString& text) { return item(QStringLiteral("&File"), text); }

    // Runs `edit` on the sheet the action opens, then presses `button`.
    void onSheet(QAction* action, const std::function<void(CPropertiesSheet&)>& edit,
                 QDialogButtonBox::StandardButton button)
    {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* sheet = qobject_cast<CPropertiesSheet*>(QApplication::activeModalWidget());
            ASSERT_NE(sheet, nullptr);
            seen = true;
            edit(*sheet);
            sheet->findChild<QDialogButtonBox*>()->button(button)->click();
        });
        action->trigger();
        EXPECT_TRUE(seen);
    }
    template <class T> static T* control(CPropertiesSheet& sheet, const char* name)
    {
        T* c = sheet.findChild<T*>(QLatin1String(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
};

} // namespace

TEST_F(LifecycleTest, CloneIsAnExactUnsavedCopy)
{
    CDraftWindow* w = m_main->newDocument();
    CQuillabyDoc& doc = w->document();
    doc.Transaction("Pencil", [&](Edit s) {
        doc.SetThreadingCell(s, 0, 3, 0);
        doc.SetTreadlingCell(s, 2, 5, 0);
    });
    doc.raw().notes = "two\r\nlines";
    doc.raw().plan.itemWidth = 12.5;
    w->setPath(QStringLiteral("/tmp/original.wif"), QStringLiteral("original.wif"));
    doc.SetModified(false);

    QAction* clone = fileItem(QStringLiteral("C&lone"));
    ASSERT_NE(clone, nullptr);
    ASSERT_TRUE(clone->isEnabled());
    clone->trigger();
    CDraftWindow* c = m_main->activeDraftWindow();
    ASSERT_NE(c, w);
    EXPECT_EQ(m_main->draftWindows().size(), 2);
    EXPECT_EQ(WifText(c->document(), "1/2/2026"), WifText(doc, "1/2/2026"));
    EXPECT_TRUE(c->path().isEmpty());
    EXPECT_TRUE(c->title().startsWith(QStringLiteral("Draft")));
    EXPECT_TRUE(c->document().isModified());
    EXPECT_FALSE(c->document().history().canUndo());

    // The two drafts are separate.
    c->document().SetThreadingCell(kUnrecorded, 0, 7);
    EXPECT_EQ(doc.threading()->GetShaft(0), 3);
    EXPECT_FALSE(doc.isModified());
}

TEST_F(LifecycleTest, ClosingTheMainWindowAsksForEveryDraftAndCancelKeepsAll)
{
    CDraftWindow* a = m_main->newDocument();
    CDraftWindow* b = m_main->newDocument();
    m_main->newDocument(); // unmodified: no question
    a->document().SetModified();
    b->document().SetModified();
    QStringList asked;
    QList<CDocumentFiles::SaveAnswer> answers{CDocumentFiles::SaveAnswer::Discard, CDocumentFiles::SaveAnswer::Cancel};
    m_main->files().setSaveQuestion([&](const QString& title) {
        asked << title;
        return answers.isEmpty() ? CDocumentFiles::SaveAnswer::Discard : answers.takeFirst();
    });
    EXPECT_FALSE(m_main->close());
    EXPECT_EQ(asked.size(), 2);
    EXPECT_EQ(m_main->draftWindows().size(), 3); // the discarded one stays too

    asked.clear();
    EXPECT_TRUE(m_main->close());
    EXPECT_EQ(asked.size(), 2); // once per modified draft, not again while closing
    EXPECT_TRUE(m_main->draftWindows().isEmpty());
}

TEST_F(LifecycleTest, PropertiesOkAppliesAndCancelChangesNothing)
{
    CDraftWindow* w = m_main->newDocument();
    CQuillabyDoc& doc = w->document();
    doc.SetThreadingCell(kUnrecorded, 0, 8);
    doc.SetModified(false);
    QAction* props = fileItem(QStringLiteral("P&roperties..."));
    ASSERT_NE(props, nullptr);

    onSheet(
        props,
        [](CPropertiesSheet& s) {
            EXPECT_EQ(s.windowTitle(), QStringLiteral("Properties"));
            EXPECT_EQ(s.tabs()->tabText(0), QStringLiteral("Settings"));
            EXPECT_EQ(s.tabs()->currentIndex(), 0);
            control<QSpinBox>(s, "shafts")->setValue(4);
            control<QRadioButton>(s, "metric")->setChecked(true);
        },
        QDialogButtonBox::Cancel);
    EXPECT_EQ(doc.numShafts(), 8);
    EXPECT_EQ(doc.units(), 0);
    EXPECT_FALSE(doc.isModified());

    onSheet(
        props,
        [](CPropertiesSheet& s) {
            control<QSpinBox>(s, "shafts")->setValue(4);
            control<QSpinBox>(s, "treadles")->setValue(6);
            control<QRadioButton>(s, "sinking")->setChecked(true);
            control<QRadioButton>(s, "metric")->setChecked(true);
            control<QDoubleSpinBox>(s, "sett")->setValue(12.5);
            control<QSpinBox>(s, "weftRatio")->setValue(4);
        },
        QDialogButtonBox::Ok);
    EXPECT_EQ(doc.numShafts(), 4);
    EXPECT_EQ(doc.numTreadles(), 6);
    EXPECT_EQ(doc.threading()->GetShaft(0), 0); // shaft 8 is gone
    EXPECT_FALSE(doc.isRisingShed());
    EXPECT_EQ(doc.units(), 1);
    EXPECT_EQ(doc.warpSettWhole(), 12);
    EXPECT_EQ(doc.warpSettFrac(), 5000);
    EXPECT_EQ(doc.treadling()->ratio(), 3);
    EXPECT_TRUE(doc.isModified());
    EXPECT_TRUE(w->isWindowModified());
    // Undo from the Edit menu puts the loom back.
    undo();
    EXPECT_EQ(doc.numShafts(), 8);
    EXPECT_EQ(doc.threading()->GetShaft(0), 8);
}

TEST_F(LifecycleTest, NotesOpenTheSecondPage)
{
    CDraftWindow* w = m_main->newDocument();
    CQuillabyDoc& doc = w->document();
    doc.raw().notes = "first\r\n";
    QAction* notes = fileItem(QStringLiteral("No&tes..."));
    ASSERT_NE(notes, nullptr);
    onSheet(
        notes,
        [](CPropertiesSheet& s) {
            EXPECT_EQ(s.tabs()->currentIndex(), 1);
            auto* n = control<QPlainTextEdit>(s, "notes");
            EXPECT_EQ(n->toPlainText(), QStringLiteral("first\n"));
            n->setPlainText(QStringLiteral("first\nsecond"));
            control<QPlainTextEdit>(s, "title")->setPlainText(QStringLiteral("Overshot"));
        },
        QDialogButtonBox::Ok);
    EXPECT_EQ(doc.notes(), "first\r\nsecond");
    EXPECT_EQ(doc.title(), "Overshot");
    EXPECT_TRUE(doc.isModified());
}

TEST_F(LifecycleTest, SheetAsksItsQuestionsInOrder)
{
    CDraftWindow* w = m_main->newDocument();
    CQuillabyDoc& doc = w->document();
    // A liftplan with four different lifts on four shafts.
    for (int p = 0; p < 4; ++p) doc.SetTreadlingCell(kUnrecorded, p, p + 1);
    ApplyPropertiesSheet(m_main.get(), w,
                         [&] {
                             DraftProperties v = ReadProperties(doc);
                             v.shafts = 4;
                             v.liftplan = true;
                             return v;
                         }(),
                         {});
    ASSERT_TRUE(doc.isLiftplan());
    m_asked.clear();

    m_answer = true;
    onSheet(
        fileItem(QStringLiteral("P&roperties...")),
        [](CPropertiesSheet& s) {
            EXPECT_FALSE(control<QSpinBox>(s, "treadles")->isEnabled()); // liftplan: treadles are shafts
            control<QSpinBox>(s, "wefts")->setValue(4);
            control<QRadioButton>(s, "weftFaced")->setChecked(true);
            control<QCheckBox>(s, "correlation")->setChecked(true);
        },
        QDialogButtonBox::Ok);
    EXPECT_EQ(m_asked,
              (QStringList{QString::fromLatin1(msg::kConvertToTieup), QString::fromLatin1(msg::kCorrelateTreadling)}));
    EXPECT_FALSE(doc.isLiftplan());
    EXPECT_EQ(doc.numWefts(), 4);
    EXPECT_EQ(doc.activeCorrelation(), 2);
}

TEST_F(LifecycleTest, ImportsThroughTheMainWindow)
{
    CDraftWindow* w = m_main->newDocument();
    CQuillabyDoc& doc = w->document();
    doc.SetThreadColors(kUnrecorded, Side::Threading, 0, 0, 1);
    doc.SetModified(false);
    QTemporaryDir dir;
    const auto file = [&](const char* name, const QByteArray& text) {
        QFile f(dir.filePath(QLatin1String(name)));
        f.open(QIODevice::WriteOnly);
        f.write(text);
        return f.fileName();
    };
    ASSERT_NE(fileItem(QStringLiteral("&Color Palette...")), nullptr);
    ASSERT_NE(fileItem(QStringLiteral("&Import Project Plan...")), nullptr);

    // Without a version: the message through the main window, no change.
    const QString bad = file("bad.wif", "[CONTENTS]\nCOLOR TABLE=true\n");
    EXPECT_FALSE(ImportPaletteFrom(m_main.get(), w, bad));
    EXPECT_EQ(m_told, QStringList{QStringLiteral("WIF Version  is not\nsupported by this application.")});
    EXPECT_FALSE(doc.isModified());

    const COLORREF end0 = doc.palette().color(doc.threading()->GetColor(0));
    const QString good = file("good.wif",
                              "[WIF]\nVersion=1.1\n[CONTENTS]\nCOLOR PALETTE=true\nCOLOR TABLE=true\n"
                              "WARP=true\n[COLOR PALETTE]\nEntries=1\n[COLOR TABLE]\n1=1,2,3\n"
                              "[WARP]\nUnits=Centimeters\nSpacing=0.5\n");
    EXPECT_TRUE(ImportPaletteFrom(m_main.get(), w, good));
    EXPECT_EQ(doc.palette().color(0), rgb(1, 2, 3));
    EXPECT_EQ(doc.palette().color(doc.threading()->GetColor(0)), end0);
    EXPECT_TRUE(w->isWindowModified());
    // One undo step puts the old palette back.
    undo();
    EXPECT_NE(doc.palette().color(0), rgb(1, 2, 3));

    EXPECT_TRUE(ImportProjectPlanFrom(m_main.get(), w, good));
    EXPECT_EQ(doc.units(), 1);
    EXPECT_DOUBLE_EQ(doc.warpSett(), 2.0);
}

TEST_F(LifecycleTest, SheetClosedWithOkButUntouchedChangesNothing)
{
    CDraftWindow* w = m_main->newDocument();
    CQuillabyDoc& doc = w->document();
    doc.raw().setWarpSett(12, 3456);
    doc.raw().setWeftSett(-1, 0); // a sett the box cannot show
    doc.raw().notes = "a\r\nb";
    doc.SetModified(false);
    onSheet(
        fileItem(QStringLiteral("P&roperties...")), [](CPropertiesSheet&) {}, QDialogButtonBox::Ok);
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.warpSettFrac(), 3456);
    EXPECT_EQ(doc.weftSettWhole(), -1);
    EXPECT_FALSE(doc.history().canUndo());
}

TEST_F(LifecycleTest, CloneSavesAndOpensAsTheSameDraft)
{
    CDraftWindow* w = m_main->newDocument();
    w->document().SetThreadingCell(kUnrecorded, 3, 4);
    w->document().raw().title = "Rosepath";
    CDraftWindow* c = CloneDraft(m_main.get(), w);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("clone.qlb"));
    ASSERT_TRUE(m_main->files().saveDocumentTo(c, path)) << m_told.join('\n').toStdString();
    EXPECT_FALSE(c->document().isModified());
    EXPECT_EQ(c->path(), path);
    CQuillabyDoc again;
    QuietPrompter quiet;
    ASSERT_TRUE(ReadWifFile(path.toStdString(), again, quiet));
    EXPECT_EQ(WifText(again, "1/2/2026"), WifText(w->document(), "1/2/2026"));
    CDocumentFiles::setDocumentLoader({});
    CDocumentFiles::setDocumentSaver({});
}
