#include "tests/ui/mainwindowfixture.h"
#include "ui/app/defaultpalette.h"
#include "ui/app/mainframe.h"
#include "ui/app/recentfilelist.h"
#include "ui/views/draftwindow.h"

#include "core/draft/drawdown.h"
#include "core/picture/picturereader.h"
#include "core/transform/addtabby.h"
#include "core/transform/doublewidth.h"
#include "core/transform/messages.h"
#include "core/transform/repeat.h"
#include "core/transform/sequenceops.h"
#include "core/transform/tieupops.h"
#include "core/transform/turndraft.h"
#include "core/transform/wrap.h"
#include "ui/base/dialogparts.h"
#include "ui/views/draftframe.h"
#include "ui/views/draftview.h"
#include "ui/views/tools/toolstate.h"
#include "ui/wholedraft/addtabbydialog.h"
#include "ui/wholedraft/deletesequencedialog.h"
#include "ui/wholedraft/fabricanalysismode.h"
#include "ui/wholedraft/wholedraftcommands.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QSet>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sstream>

using namespace qb;

namespace {

// Everything a whole-draft command may change, as one comparable text.
std::string Snapshot(const CQuillabyDoc& d)
{
    std::ostringstream s;
    s << d.numShafts() << 'x' << d.numTreadles() << (d.isLiftplan() ? " L" : " T") << (d.multipleTreadles() ? "M" : "")
      << " w" << d.numWarps() << " f" << d.numWefts() << '\n';
    for (int r = 0; r < d.numWarps(); ++r) {
        for (int e = 0; e < d.numEnds(); ++e)
            s << d.threading(r)->GetShaft(e) << ':' << d.threading(r)->GetColor(e) << ' ';
        s << '\n';
    }
    for (int r = 0; r < d.numWefts(); ++r) {
        for (int p = 0; p < d.numPicks(); ++p) {
            const TreadleSet t = d.treadling(r)->GetSet(p);
            s << t.lo() << '/' << t.hi() << ':' << d.treadling(r)->GetColor(p) << ' ';
        }
        s << '\n';
    }
    for (int t = 0; t < d.numTreadles(); ++t) s << d.tieup().column(t).bits() << ' ';
    return s.str();
}

// Which crossings show the warp, pick by pick.
std::vector<std::vector<bool>> Cloth(const CQuillabyDoc& d)
{
    std::vector<std::vector<bool>> out(d.numPicks(), std::vector<bool>(d.numEnds()));
    for (int p = 0; p < d.numPicks(); ++p) {
        const TUPTYPE lift = LiftedShafts(d, p);
        for (int e = 0; e < d.numEnds(); ++e) out[p][e] = lift.test(d.threading(0)->GetShaft(e));
    }
    return out;
}

class DraftCommandsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        m_commands = CWholeDraftCommands::of(m_main.get());
    }

    // A draft on 4 shafts and 4 treadles: a point threading, a straight
    // treadling and a twill tieup.
    CDraftWindow* twill(int ends = 8)
    {
        CDraftWindow* w = m_main->newDocument();
        CQuillabyDoc& d = w->document();
        d.SetNumShafts(kUnrecorded, 4);
        d.SetNumTreadles(kUnrecorded, 4);
        for (int e = 0; e < ends; ++e) d.SetThreadingCell(kUnrecorded, e, e % 6 < 4 ? e % 6 + 1 : 7 - e % 6 - 1 + 1);
        for (int p = 0; p < 6; ++p) d.SetTreadlingCell(kUnrecorded, p, p % 4 + 1);
        for (int t = 0; t < 4; ++t) {
            d.SetTieupCell(kUnrecorded, t, t + 1);
            d.SetTieupCell(kUnrecorded, t, (t + 1) % 4 + 1);
        }
        d.DiscardHistory();
        return w;
    }

    QStringList items(const QString& title)
    {
        QMenu* m = menu(title);
        if (!m) return {};
        emit m->aboutToShow();
        QStringList out;
        for (QAction* a : m->actions())
            if (!a->isSeparator()) out << a->text();
        return out;
    }
    template <class Command> void trigger(Command c)
    {
        m_commands->updateStates();
        QAction* a = m_commands->action(c);
        ASSERT_NE(a, nullptr);
        a->trigger();
    }

    CWholeDraftCommands* m_commands = nullptr;
};

} // namespace

TEST_F(DraftCommandsTest, MenusCarryTheCommandsUnderTheirOwnTexts)
{
    ASSERT_NE(m_commands, nullptr);
    EXPECT_EQ(
        items(QStringLiteral("Thre&ading")),
        QStringList({"&Repeat...", "Re&flect", "Re&verse", "Wrap U&p", "Wrap Do&wn", "Wrap &>>", "Wrap &<<", "&Clear",
                     "&Label...", "Clear La&bels", "Arran&ge...", "R&emove...", "Optimi&ze", "&Use Weft Colors",
                     "Ech&o...", "Interlea&ve...", "E&xpand...", "&Import...", "Thic&kness..."}));
    const QStringList treadling = items(QStringLiteral("T&readling"));
    for (const char* t : {"&Label...", "Clear La&bels", "Tromp as &Writ", "Mirr&or Threading", "&Use Warp Colors",
                          "&Multiple Treadles", "&Add Tabby...", "P&aste Liftplan", "Load Li&ftplan"})
        EXPECT_TRUE(treadling.contains(QLatin1String(t))) << t;
    EXPECT_EQ(items(QStringLiteral("Tie&up")), QStringList({"&Direct", "In&vert", "&Clear", "&Import..."}));
    EXPECT_EQ(items(QStringLiteral("Drawdow&n")),
              QStringList({"Fabric &Analysis", "SuperSi&ze It", "&Single Repeat", "&Turn Draft"}));
    const QStringList tools = items(QStringLiteral("&Tools"));
    for (const char* t : {"&Straighten Threading", "Strai&ghten Treadling", "Optimi&ze Draft", "Double &Width..."})
        EXPECT_TRUE(tools.contains(QLatin1String(t))) << t;
    EXPECT_TRUE(items(QStringLiteral("&File")).contains(QStringLiteral("Load Li&ftplan")));
    twill();
    const QStringList edit = items(QStringLiteral("&Edit"));
    for (const char* t : {"&Undo", "Convert to &Liftplan", "Convert to &Tieup", "P&aste Liftplan"})
        EXPECT_TRUE(edit.contains(QLatin1String(t))) << t;
    // Every menu title keeps a key of its own.
    QSet<QChar> keys;
    for (QAction* a : m_main->menuBar()->actions()) {
        const qsizetype amp = a->text().indexOf(QLatin1Char('&'));
        ASSERT_GE(amp, 0) << a->text().toStdString();
        EXPECT_FALSE(keys.contains(a->text().at(amp + 1).toLower())) << a->text().toStdString();
        keys.insert(a->text().at(amp + 1).toLower());
    }
    // Opening the Edit menu twice does not pile the commands up.
    EXPECT_EQ(items(QStringLiteral("&Edit")).count(QStringLiteral("Convert to &Liftplan")), 1);
}

TEST_F(DraftCommandsTest, CommandsWithoutADraftAreDisabledAndHarmless)
{
    m_commands->updateStates();
    EXPECT_FALSE(m_commands->action(DraftCommandId::ThreadingReverse)->isEnabled());
    m_commands->action(DraftCommandId::TurnDraft)->trigger();
    EXPECT_TRUE(m_main->draftWindows().isEmpty());
    EXPECT_TRUE(m_told.isEmpty());
}

TEST_F(DraftCommandsTest, SequenceCommandsChangeTheDraftAsTheCoreDoesAndUndoRestoresIt)
{
    struct Case {
        DraftCommandId command;
        std::function<void(CQuillabyDoc&)> core;
    };
    FixedPrompter yes(true);
    const std::vector<Case> cases = {
        {DraftCommandId::ThreadingReverse, [](CQuillabyDoc& d) { ReverseThreads(kUnrecorded, d, Side::Threading); }},
        {DraftCommandId::TreadlingReflect,
         [&](CQuillabyDoc& d) { ReflectThreads(kUnrecorded, d, Side::Treadling, yes); }},
        {DraftCommandId::ThreadingWrapUp, [&](CQuillabyDoc& d) { WrapShafts(kUnrecorded, d, true, yes); }},
        {DraftCommandId::TreadlingWrapUp, [](CQuillabyDoc& d) { WrapPicks(kUnrecorded, d, true); }},
        {DraftCommandId::TieupInvert, [](CQuillabyDoc& d) { InvertTieup(kUnrecorded, d); }},
        {DraftCommandId::TrompAsWrit, [&](CQuillabyDoc& d) { qb::TrompAsWrit(kUnrecorded, d, false, yes); }},
        {DraftCommandId::SuperSize, [&](CQuillabyDoc& d) { qb::SuperSize(kUnrecorded, d, yes); }},
        {DraftCommandId::TurnDraft, [&](CQuillabyDoc& d) { qb::TurnDraft(kUnrecorded, d, yes); }},
    };
    for (const Case& c : cases) {
        CDraftWindow* w = twill(10);
        CQuillabyDoc& doc = w->document();
        const std::string before = Snapshot(doc);
        auto expected = doc.Clone();
        c.core(*expected);
        ASSERT_NE(Snapshot(*expected), before) << int(c.command);
        trigger(c.command);
        EXPECT_EQ(Snapshot(doc), Snapshot(*expected)) << int(c.command);
        EXPECT_TRUE(doc.isModified());
        ASSERT_TRUE(doc.history().canUndo()) << int(c.command);
        doc.Undo();
        EXPECT_EQ(Snapshot(doc), before) << int(c.command);
        w->parentWidget()->close();
    }
}

TEST_F(DraftCommandsTest, RepeatDialogRepeatsOrCutsToOneRepeat)
{
    CDraftWindow* w = twill(6);
    CQuillabyDoc& doc = w->document();
    SetDialogRunner([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Repeat"));
        auto* times = d.findChild<QSpinBox*>(QStringLiteral("times"));
        EXPECT_EQ(times->value(), 2);
        EXPECT_EQ(times->minimum(), 2);
        EXPECT_EQ(times->maximum(), 100);
        times->setValue(3);
        return true;
    });
    trigger(DraftCommandId::ThreadingRepeat);
    ASSERT_EQ(doc.numEnds(), 18);
    EXPECT_EQ(doc.threading()->GetShaft(12), doc.threading()->GetShaft(0));

    // "Single repeat" ignores the count and disables it.
    SetDialogRunner([](QDialog& d) {
        d.findChild<QCheckBox*>(QStringLiteral("single"))->setChecked(true);
        EXPECT_FALSE(d.findChild<QSpinBox*>(QStringLiteral("times"))->isEnabled());
        return true;
    });
    trigger(DraftCommandId::ThreadingRepeat);
    EXPECT_EQ(doc.numEnds(), 6);

    // Cancel changes nothing.
    SetDialogRunner([](QDialog&) { return false; });
    const std::string before = Snapshot(doc);
    trigger(DraftCommandId::ThreadingRepeat);
    EXPECT_EQ(Snapshot(doc), before);
}

TEST_F(DraftCommandsTest, RemovePatternIsSharedBetweenUsesAndReachesTheCommand)
{
    CDraftWindow* w = twill(7);
    CQuillabyDoc& doc = w->document();
    std::vector<int> shafts;
    for (int e = 0; e < 7; ++e) shafts.push_back(doc.threading()->GetShaft(e));
    SetDialogRunner([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Remove from Threading"));
        auto* strip = d.findChild<CDeleteThreads*>(QStringLiteral("strip"));
        // Clicking cell 2 makes "delete, delete"; clicking cell 1 keeps the first.
        const int cell = strip->sizeHint().height() - 1;
        QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(cell + cell / 2, cell / 2));
        QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(cell / 2, cell / 2));
        d.accept();
        return true;
    });
    trigger(DraftCommandId::ThreadingRemove);
    ASSERT_EQ(doc.numEnds(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(doc.threading()->GetShaft(i), shafts[2 * i]);
    // The treadling dialog starts from the stored pattern.
    SetDialogRunner([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Remove from Treadling"));
        EXPECT_EQ(CDeleteSequenceDialog::stored().keep(), std::vector<bool>({true, false}));
        return false;
    });
    trigger(DraftCommandId::TreadlingRemove);
    EXPECT_EQ(doc.numPicks(), 6);
}

TEST_F(DraftCommandsTest, ArrangeOnlyWhenTheDraftAllowsIt)
{
    CDraftWindow* w = twill(8);
    m_commands->updateStates();
    EXPECT_TRUE(m_commands->action(DraftCommandId::ThreadingArrange)->isEnabled());
    SetDialogRunner([](QDialog& d) {
        d.findChild<QRadioButton*>(QStringLiteral("parallel"))->setChecked(true);
        d.accept();
        return true;
    });
    const auto cloth = Cloth(w->document());
    trigger(DraftCommandId::ThreadingArrange);
    EXPECT_TRUE(w->document().history().canUndo());
    EXPECT_EQ(Cloth(w->document()), cloth);
    // The choice is remembered.
    SetDialogRunner([](QDialog& d) {
        EXPECT_TRUE(d.findChild<QRadioButton*>(QStringLiteral("parallel"))->isChecked());
        return false;
    });
    trigger(DraftCommandId::TreadlingArrange);

    FixedPrompter yes;
    ConvertToLiftplan(kUnrecorded, w->document(), yes);
    m_commands->updateStates();
    EXPECT_FALSE(m_commands->action(DraftCommandId::ThreadingArrange)->isEnabled());
}

TEST_F(DraftCommandsTest, DecliningAQuestionChangesNothing)
{
    CDraftWindow* w = twill();
    CQuillabyDoc& doc = w->document();
    trigger(DraftCommandId::MultipleTreadles);
    ASSERT_TRUE(doc.multipleTreadles());
    doc.SetTreadlingCell(kUnrecorded, 0, 3);
    const std::string before = Snapshot(doc);
    const bool couldUndo = doc.history().canUndo();

    // Switching off asks before converting; No keeps draft and history.
    m_answer = false;
    trigger(DraftCommandId::MultipleTreadles);
    ASSERT_FALSE(m_asked.isEmpty());
    EXPECT_EQ(m_asked.last(), QString::fromLatin1(msg::kConvertToTieup));
    EXPECT_EQ(Snapshot(doc), before);
    EXPECT_EQ(doc.history().canUndo(), couldUndo);
    EXPECT_TRUE(m_commands->action(DraftCommandId::MultipleTreadles)->isChecked());

    // The color-bar guard: No abandons the wrap.
    doc.raw().setCorrelation(1, true);
    doc.SetMultipleTreadles(kUnrecorded, false);
    const std::string guarded = Snapshot(doc);
    ASSERT_NE(doc.activeCorrelation(), 0);
    trigger(DraftCommandId::ThreadingWrapUp);
    EXPECT_EQ(m_asked.last(), QString::fromLatin1(msg::kColorBars));
    EXPECT_EQ(Snapshot(doc), guarded);

    // Yes converts.
    m_answer = true;
    doc.SetMultipleTreadles(kUnrecorded, true);
    trigger(DraftCommandId::MultipleTreadles);
    EXPECT_FALSE(doc.multipleTreadles());
}

TEST_F(DraftCommandsTest, RefusalsReachTheUser)
{
    CDraftWindow* w = twill();
    trigger(DraftCommandId::MultipleTreadles);
    const std::string before = Snapshot(w->document());
    trigger(DraftCommandId::TurnDraft);
    ASSERT_FALSE(m_told.isEmpty());
    EXPECT_EQ(m_told.last(), QString::fromLatin1(msg::kTurnMultiple));
    trigger(DraftCommandId::DoubleWidth); // refused before its dialog
    EXPECT_EQ(m_told.last(), QString::fromLatin1(msg::kFoldMultiple));
    EXPECT_EQ(Snapshot(w->document()), before);
    EXPECT_EQ(m_main->draftWindows().size(), 1);
}

TEST_F(DraftCommandsTest, CommandsThatBuildADraftOpenItInANewWindow)
{
    CDraftWindow* w = twill(8);
    const std::string before = Snapshot(w->document());
    trigger(DraftCommandId::StraightenThreading);
    ASSERT_EQ(m_main->draftWindows().size(), 2);
    CDraftWindow* straight = m_main->activeDraftWindow();
    ASSERT_NE(straight, w);
    EXPECT_TRUE(straight->document().isModified());
    EXPECT_TRUE(straight->path().isEmpty());
    for (int e = 0; e < straight->document().numEnds(); ++e)
        EXPECT_EQ(straight->document().threading()->GetShaft(e), e + 1);
    EXPECT_EQ(Snapshot(w->document()), before);

    // Double Width with the dialog's options.
    m_main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(w->parentWidget()));
    SetDialogRunner([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Double Width"));
        d.findChild<QCheckBox*>(QStringLiteral("tubular"))->setChecked(true);
        EXPECT_FALSE(d.findChild<QRadioButton*>(QStringLiteral("left"))->isEnabled());
        d.findChild<QSpinBox*>(QStringLiteral("shuttles"))->setValue(2);
        return true;
    });
    trigger(DraftCommandId::DoubleWidth);
    ASSERT_EQ(m_main->draftWindows().size(), 3);
    const CQuillabyDoc& folded = m_main->activeDraftWindow()->document();
    EXPECT_EQ(folded.numShafts(), 8);
    EXPECT_EQ(folded.numPicks(), 12);
    DoubleWidthOptions o;
    o.tubular = true;
    o.shuttles = 2;
    FixedPrompter yes;
    EXPECT_EQ(Snapshot(folded), Snapshot(*qb::DoubleWidth(w->document(), o, yes).draft));
}

TEST_F(DraftCommandsTest, AddTabbyDialogValuesReachTheCore)
{
    CDraftWindow* w = twill();
    CQuillabyDoc& doc = w->document();
    const COLORREF green = rgb(10, 200, 30);
    SetDialogRunner([&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Add Tabby"));
        auto* ground = d.findChild<QSpinBox*>(QStringLiteral("ground"));
        EXPECT_EQ(ground->minimum(), 2);
        EXPECT_EQ(ground->maximum(), 64);
        ground->setValue(3);
        d.findChild<QCheckBox*>(QStringLiteral("addTreadles"))->setChecked(true);
        static_cast<CAddTabbyDialog&>(d).setTabbyColor(green);
        d.accept();
        return true;
    });
    AddTabbyOptions o;
    o.groundTreadles = 3;
    o.addTreadles = true;
    o.tabbyColor = green;
    auto expected = doc.Clone();
    FixedPrompter yes;
    ASSERT_TRUE(qb::AddTabby(kUnrecorded, *expected, o, yes).done());
    trigger(DraftCommandId::AddTabby);
    EXPECT_EQ(Snapshot(doc), Snapshot(*expected));
    EXPECT_EQ(doc.numTreadles(), 7);
    EXPECT_EQ(doc.numPicks(), 12);
    EXPECT_EQ(doc.treadling()->FirstValue(2), 2);
    EXPECT_EQ(doc.palette().color(doc.treadling()->GetColor(0)), green);
    // The color is remembered for the next time.
    SetDialogRunner([&](QDialog& d) {
        EXPECT_EQ(static_cast<CAddTabbyDialog&>(d).options().tabbyColor, green);
        return false;
    });
    trigger(DraftCommandId::AddTabby);
    EXPECT_TRUE(doc.history().canUndo());
}

TEST_F(DraftCommandsTest, PasteLiftplanTakesTheClipboardPicture)
{
    CDraftWindow* w = m_main->newDocument();
    CQuillabyDoc& doc = w->document();
    QImage img(4, 3, QImage::Format_RGB32);
    img.fill(Qt::white);
    img.setPixel(0, 0, qRgb(249, 249, 249)); // just dark enough
    img.setPixel(1, 0, qRgb(250, 250, 250)); // counts as white
    img.setPixel(1, 1, qRgb(0, 0, 0));
    img.setPixel(3, 2, qRgb(0, 0, 0));
    img.setPixel(2, 2, qRgb(0, 0, 0));
    QGuiApplication::clipboard()->setImage(img);
    if (QGuiApplication::clipboard()->image().isNull()) GTEST_SKIP() << "no clipboard on this platform";
    trigger(ScreenCommand::PasteLiftplan);
    ASSERT_EQ(doc.numPicks(), 3);
    EXPECT_EQ(doc.treadling()->GetSet(0).lo(), 1u);
    EXPECT_EQ(doc.treadling()->GetSet(1).lo(), 2u);
    EXPECT_EQ(doc.treadling()->GetSet(2).lo(), 12u);
    EXPECT_TRUE(doc.multipleTreadles());
    // An empty threading became a reversed straight draw over the shafts.
    ASSERT_EQ(doc.numEnds(), doc.numShafts());
    EXPECT_EQ(doc.threading()->GetShaft(0), doc.numShafts());
    ASSERT_TRUE(doc.history().canUndo());
    doc.Undo();
    EXPECT_EQ(doc.numPicks(), 0);

    // No picture on the clipboard: nothing happens.
    QGuiApplication::clipboard()->setText(QStringLiteral("text"));
    const std::string before = Snapshot(doc);
    trigger(ScreenCommand::PasteLiftplan);
    EXPECT_EQ(Snapshot(doc), before);
}

TEST_F(DraftCommandsTest, LoadLiftplanReadsAPictureFileAndRefusesOthers)
{
    CDraftWindow* w = m_main->newDocument();
    QTemporaryDir dir;
    QImage img(2, 2, QImage::Format_RGB32);
    img.fill(Qt::black);
    const QString png = dir.filePath(QStringLiteral("plan.png"));
    ASSERT_TRUE(img.save(png));
    EXPECT_TRUE(m_commands->loadLiftplanFile(png));
    EXPECT_EQ(w->document().numPicks(), 2);
    const QString bad = dir.filePath(QStringLiteral("plan.bmp"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture");
    f.close();
    EXPECT_FALSE(m_commands->loadLiftplanFile(bad));
    ASSERT_FALSE(m_told.isEmpty());
    EXPECT_TRUE(m_told.last().startsWith(QStringLiteral("Unable to read")));
}

TEST_F(DraftCommandsTest, LoadLiftplanReadsJpegAndTiffPictures)
{
    // Two black blocks on the JPEG's 8-pixel grid, so that the lossy format
    // keeps white at 255.
    RgbPicture p = RgbPicture::Blank(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if ((x < 8) == (y < 8)) p.at(x, y) = OpaqueRgb(0, 0, 0);
    QTemporaryDir dir;
    for (const char* name : {"plan.jpg", "plan.tif"}) {
        SCOPED_TRACE(name);
        const QString path = dir.filePath(QLatin1String(name));
        std::string error;
        ASSERT_TRUE(WritePictureFile(QFile::encodeName(path).toStdString(), p, error)) << error;
        CDraftWindow* w = m_main->newDocument();
        ASSERT_TRUE(m_commands->loadLiftplanFile(path)) << m_told.join('\n').toStdString();
        const CQuillabyDoc& doc = w->document();
        ASSERT_EQ(doc.numPicks(), 16);
        for (int pick = 0; pick < 16; ++pick)
            for (int t = 1; t <= 16; ++t)
                EXPECT_EQ(doc.treadling()->GetSet(pick).test(t), (t <= 8) == (pick < 8)) << pick << ' ' << t;
    }
}

TEST_F(DraftCommandsTest, ConvertToLiftplanAndBackKeepTheCloth)
{
    CDraftWindow* w = twill(12);
    CQuillabyDoc& doc = w->document();
    const auto cloth = Cloth(doc);
    trigger(DraftCommandId::ConvertToLiftplan);
    EXPECT_TRUE(doc.isLiftplan());
    EXPECT_EQ(Cloth(doc), cloth);
    EXPECT_TRUE(m_commands->action(DraftCommandId::MultipleTreadles)->isChecked());
    trigger(DraftCommandId::ConvertToTieup);
    EXPECT_FALSE(doc.isLiftplan());
    EXPECT_EQ(Cloth(doc), cloth);
}

TEST_F(DraftCommandsTest, FabricAnalysisDrawsTheClothWithTheMouse)
{
    CDraftWindow* w = m_main->newDocument();
    CQuillabyDoc& doc = w->document();
    CDraftFrame* frame = w->frame();
    if (doc.notations().drawdown != kInterlaced) frame->toggleInterlace();
    CToolState::instance().setTool(Tool::Selection);
    trigger(ScreenCommand::FabricAnalysis);
    ASSERT_TRUE(m_commands->action(ScreenCommand::FabricAnalysis)->isChecked());
    // Shown flat in this frame; the draft keeps its interlaced style.
    EXPECT_FALSE(frame->drawdownInterlace());
    EXPECT_EQ(doc.notations().drawdown, kInterlaced);
    // The cloth is drawn with the pencil whatever tool was chosen before.
    EXPECT_EQ(CToolState::instance().tool(), Tool::Pencil);
    CFabricAnalysisMode* mode = CFabricAnalysisMode::find(frame);
    ASSERT_TRUE(mode && mode->isOn());
    EXPECT_EQ(frame->drawdownColoring(), 1);

    CDraftView* view = frame->draftView();
    QApplication::processEvents();
    // Click the crossing of end 2, pick 1 (0-based 1, 0).
    const QPoint at = view->itemRect(1, 0).center();
    int end = -1, pick = -1;
    ASSERT_TRUE(mode->crossingAt(at, end, pick));
    EXPECT_EQ(end, 1);
    EXPECT_EQ(pick, 0);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    ASSERT_EQ(doc.numEnds(), 2);
    ASSERT_EQ(doc.numPicks(), 1);
    EXPECT_TRUE(Cloth(doc)[0][1]);
    EXPECT_FALSE(Cloth(doc)[0][0]);
    // The drawdown pane is the undo target.
    EXPECT_EQ(frame->activePane(), view);
    ASSERT_TRUE(doc.history().canUndo());
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, at);
    EXPECT_FALSE(Cloth(doc)[0][1]);

    // Only clicks count: a drag from end 1 over end 3 sets end 1 alone, as one step.
    doc.DiscardHistory();
    const QPoint from = view->itemRect(0, 0).center(), over = view->itemRect(2, 0).center();
    auto mouse = [&](QEvent::Type t, QPoint p, Qt::MouseButton b, Qt::MouseButtons held) {
        QMouseEvent e(t, QPointF(p), QPointF(view->viewport()->mapToGlobal(p)), b, held, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &e);
    };
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, over, Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, over, Qt::LeftButton, Qt::NoButton);
    ASSERT_FALSE(Cloth(doc).empty());
    EXPECT_TRUE(Cloth(doc)[0][0]);
    EXPECT_TRUE(doc.numEnds() < 3 || !Cloth(doc)[0][2]);
    doc.Undo();
    EXPECT_FALSE(doc.history().canUndo());

    trigger(ScreenCommand::FabricAnalysis);
    EXPECT_FALSE(mode->isOn());
    EXPECT_EQ(frame->drawdownColoring(), 0);
    EXPECT_TRUE(frame->drawdownInterlace());
}

TEST_F(DraftCommandsTest, FabricAnalysisRefusesLiftplanDrafts)
{
    CDraftWindow* w = twill();
    FixedPrompter yes;
    ConvertToLiftplan(kUnrecorded, w->document(), yes);
    trigger(ScreenCommand::FabricAnalysis);
    EXPECT_FALSE(m_commands->action(ScreenCommand::FabricAnalysis)->isChecked());
    EXPECT_FALSE(m_told.isEmpty());
}

TEST_F(DraftCommandsTest, AddTabbyPicksTheColorOfAWindowThatAnswers)
{
    QWidget swatch;
    swatch.setProperty("color", QColor(12, 34, 56));
    swatch.setGeometry(600, 500, 40, 40);
    swatch.show();
    QWidget silent;
    silent.setGeometry(700, 500, 40, 40);
    silent.show();
    CAddTabbyDialog dialog;
    dialog.setTabbyColor(rgb(1, 2, 3));
    dialog.setGeometry(0, 0, 300, 200);
    dialog.show();
    QApplication::processEvents();
    if (QApplication::widgetAt(swatch.mapToGlobal(QPoint(5, 5))) != &swatch)
        GTEST_SKIP() << "the platform cannot tell the window under a point";

    // A window that does not answer leaves the color.
    dialog.startPicking();
    QTest::mouseClick(&dialog, Qt::LeftButton, {}, dialog.mapFromGlobal(silent.mapToGlobal(QPoint(5, 5))));
    EXPECT_FALSE(dialog.isPicking());
    EXPECT_EQ(dialog.options().tabbyColor, rgb(1, 2, 3));
    dialog.startPicking();
    QTest::mouseClick(&dialog, Qt::LeftButton, {}, dialog.mapFromGlobal(swatch.mapToGlobal(QPoint(5, 5))));
    EXPECT_EQ(dialog.options().tabbyColor, rgb(12, 34, 56));

    // A pane answers with what it shows: an empty drawdown is white.
    CDraftWindow* w = m_main->newDocument();
    CDraftView* view = w->frame()->draftView();
    QApplication::processEvents();
    QColor c;
    ASSERT_TRUE(ColorQuery(view->viewport(), view->viewport()->mapToGlobal(view->itemRect(0, 0).center()), c));
    EXPECT_EQ(c, QColor(Qt::white));
}

TEST_F(DraftCommandsTest, LeavingFabricAnalysisAfterALiftplanConversionKeepsTheCloth)
{
    CDraftWindow* w = twill(8);
    CQuillabyDoc& doc = w->document();
    doc.raw().setRisingShed(false);
    trigger(ScreenCommand::FabricAnalysis);
    ASSERT_TRUE(m_commands->action(ScreenCommand::FabricAnalysis)->isChecked());
    EXPECT_TRUE(doc.isRisingShed());
    trigger(DraftCommandId::ConvertToLiftplan);
    ASSERT_TRUE(doc.isLiftplan());
    const std::string converted = Snapshot(doc);
    const auto shownCloth = Cloth(doc);
    // A click now cannot be analysed: the mode ends and the draft stays.
    CDraftView* view = w->frame()->draftView();
    QApplication::processEvents();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->itemRect(0, 0).center());
    EXPECT_FALSE(CFabricAnalysisMode::find(w->frame())->isOn());
    EXPECT_EQ(Snapshot(doc), converted);
    EXPECT_EQ(Cloth(doc), shownCloth);
}

TEST_F(DraftCommandsTest, UserDefinedTreadlingNotationIsGivenUpOnlyWithConsent)
{
    CDraftWindow* w = twill();
    CQuillabyDoc& doc = w->document();
    CDraftFrame* frame = w->frame();
    frame->toggleTreadlingNotation(5);
    ASSERT_EQ(frame->treadlingNotation(), 5);
    const std::string before = Snapshot(doc);
    m_answer = false;
    trigger(DraftCommandId::ConvertToLiftplan);
    ASSERT_EQ(m_asked.size(), 1);
    EXPECT_EQ(m_asked.last(), QString::fromLatin1(msg::kMultipleNotation));
    EXPECT_EQ(Snapshot(doc), before);
    EXPECT_EQ(frame->treadlingNotation(), 5);
    trigger(DraftCommandId::MultipleTreadles);
    EXPECT_FALSE(doc.multipleTreadles());

    m_answer = true;
    trigger(DraftCommandId::MultipleTreadles);
    EXPECT_TRUE(doc.multipleTreadles());
    EXPECT_EQ(frame->treadlingNotation(), 0);
    EXPECT_EQ(doc.notations().treadling, 0);
    EXPECT_EQ(m_asked.size(), 3);
    // The switch is part of the command's step: one undo brings both back.
    EXPECT_EQ(doc.history().undoCount(), 2);
    ASSERT_TRUE(doc.Undo());
    EXPECT_FALSE(doc.multipleTreadles());
    EXPECT_EQ(frame->treadlingNotation(), 5);
}
