#include "tests/ui/mainwindowfixture.h"
#include "ui/app/documentfiles.h"
#include "ui/views/draftwindow.h"

#include "core/draft/drawdown.h"
#include "core/imagedraft/picturedraft.h"
#include "core/picture/picturereader.h"
#include "ui/pictures/picturecommands.h"
#include "ui/pictures/picturedialogs.h"
#include "ui/pictures/pictureview.h"
#include "ui/pictures/picturewindow.h"
#include "ui/views/tools/toolstate.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QSet>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace qb;
using C = CPictureCommands::Command;

namespace {

// A picture of w x h pixels divided into squares of `side` pixels; the
// squares listed as (column, row) from the top left are black, the rest
// white; pixel (0, 0) is red so that turns can be followed.
RgbPicture Squares(int w, int h, int side, std::vector<std::pair<int, int>> dark)
{
    RgbPicture p = RgbPicture::Blank(w, h);
    for (auto [c, r] : dark)
        for (int y = r * side; y < std::min(h, (r + 1) * side); ++y)
            for (int x = c * side; x < std::min(w, (c + 1) * side); ++x) p.at(x, y) = OpaqueRgb(0, 0, 0);
    p.at(0, 0) = OpaqueRgb(255, 0, 0);
    return p;
}

class PictureWindowTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        m_main->files().setSaveQuestion([this](const QString& title) {
            m_asked << title;
            return m_saveAnswer;
        });
        m_commands = CPictureCommands::of(m_main.get());
        CToolState::instance().setTool(Tool::Selection);
    }
    void TearDown() override
    {
        SetProgressWatcher({});
        m_main->files().setSaveQuestion([](const QString&) { return CDocumentFiles::SaveAnswer::Discard; });
        MainWindowTest::TearDown();
    }

    QString write(const QString& name, const RgbPicture& p)
    {
        const QString path = m_files.filePath(name);
        std::string error;
        EXPECT_TRUE(WritePictureFile(QFile::encodeName(path).toStdString(), p, error)) << error;
        return path;
    }
    CPictureWindow* open(const RgbPicture& p, const QString& name = QStringLiteral("picture.png"))
    {
        if (!m_main->openFile(write(name, p))) return nullptr;
        return m_commands->activeWindow();
    }
    void trigger(C c)
    {
        m_commands->updateStates();
        QAction* a = m_commands->action(c);
        ASSERT_TRUE(a->isEnabled()) << a->text().toStdString();
        a->trigger();
    }
    QStringList visibleMenus() const
    {
        QStringList out;
        for (QAction* a : m_main->menuBar()->actions())
            if (a->isVisible()) out << a->text();
        return out;
    }
    QStringList items(const QString& title) const
    {
        for (QAction* a : m_main->menuBar()->actions())
            if (a->isVisible() && a->text() == title) {
                emit a->menu()->aboutToShow();
                QStringList out;
                for (QAction* i : a->menu()->actions())
                    if (!i->isSeparator()) out << i->text();
                return out;
            }
        return {};
    }
    void drag(CPictureWindow* w, QPoint from, QPoint to)
    {
        QWidget* v = w->view();
        QTest::mousePress(v, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, to, v->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(v, &move);
        QTest::mouseRelease(v, Qt::LeftButton, {}, to);
    }

    QTemporaryDir m_files;
    CPictureCommands* m_commands = nullptr;
    CDocumentFiles::SaveAnswer m_saveAnswer = CDocumentFiles::SaveAnswer::Discard;
};

} // namespace

TEST_F(PictureWindowTest, EveryPictureFormatOpensInAGraphicWindowWithItsOwnMenus)
{
    const RgbPicture p = Squares(48, 32, 16, {{0, 0}, {2, 1}});
    for (const char* name : {"a.bmp", "b.jpg", "c.JPEG", "d.tif", "e.tiff", "f.png"}) {
        SCOPED_TRACE(name);
        CPictureWindow* w = open(p, QString::fromLatin1(name));
        ASSERT_NE(w, nullptr) << m_told.join('\n').toStdString();
        const RgbPicture& got = w->document().picture();
        ASSERT_EQ(got.width, 48);
        ASSERT_EQ(got.height, 32);
        const bool lossy = QString::fromLatin1(name).contains(QStringLiteral("jp"), Qt::CaseInsensitive);
        if (!lossy) {
            EXPECT_EQ(got, p);
        }
        // The middles of the squares keep their tone in every format.
        EXPECT_LT(GreyValue(got.at(40, 24)), 40);
        EXPECT_GT(GreyValue(got.at(24, 8)), 215);
        EXPECT_EQ(w->windowTitle(), QString::fromLatin1(name) + QStringLiteral("[*]"));
        EXPECT_FALSE(w->isWindowModified());
        EXPECT_EQ(m_recent.files().value(0), w->filePath());
    }
    EXPECT_TRUE(m_told.isEmpty()) << m_told.join('\n').toStdString();
    // Opening a file that is open shows its window again.
    const int windows = int(m_main->mdiArea()->subWindowList().size());
    EXPECT_TRUE(m_main->openFile(m_files.filePath(QStringLiteral("d.tif"))));
    EXPECT_EQ(m_main->mdiArea()->subWindowList().size(), windows);
    EXPECT_EQ(m_commands->activeWindow()->documentTitle(), QStringLiteral("d.tif"));

    // While a picture is active the bar holds its menus instead of the draft's.
    EXPECT_EQ(visibleMenus(), QStringList({"&File", "&Edit", "&View", "&Tools", "&Window", "&Help"}));
    EXPECT_EQ(items(QStringLiteral("&Edit")),
              QStringList({"&Undo", "&Redo", "&Crop", "&Deselect", "&Grid Squares..."}));
    EXPECT_EQ(items(QStringLiteral("&View")), QStringList({"Zoom &In", "Zoom &Out", "Fit in &Window"}));
    EXPECT_EQ(items(QStringLiteral("&Tools")),
              QStringList({"&Rotate...", "Gr&ayscale", "&Brightness/Contrast...", "Generate &Draft", "&Selection",
                           "&Zoom", "Pic&kup Color"}));
    EXPECT_TRUE(items(QStringLiteral("&File")).contains(QStringLiteral("Open &Graphic...")));
    // No two titles in the bar share a key, or Alt+E would find no menu.
    QSet<QChar> keys;
    for (QAction* a : m_main->menuBar()->actions()) {
        const QChar key = a->text().at(a->text().indexOf(QLatin1Char('&')) + 1).toLower();
        EXPECT_FALSE(keys.contains(key)) << a->text().toStdString();
        keys.insert(key);
    }
    CDraftWindow* draft = m_main->newDocument();
    EXPECT_TRUE(visibleMenus().contains(QStringLiteral("Thre&ading")));
    EXPECT_FALSE(items(QStringLiteral("&Edit")).contains(QStringLiteral("&Crop")));
    draft->parentWidget()->close();
    EXPECT_FALSE(visibleMenus().contains(QStringLiteral("Thre&ading")));
}

TEST_F(PictureWindowTest, ADamagedOrUnreadableFileIsOnlyAMessage)
{
    const QString good = write(QStringLiteral("good.jpg"), Squares(64, 64, 8, {{1, 1}}));
    QFile in(good);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();
    struct Case {
        const char* name;
        QByteArray content;
    };
    const Case cases[] = {
        {"words.bmp", "not a picture at all"},
        {"cut.jpg", bytes.left(bytes.size() / 2)},
        {"empty.tif", QByteArray()},
        {"huge.bmp",
         QByteArray::fromHex("424d00000000000000003600000028000000a0860100a0860100010018000000000000000000")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = m_files.filePath(QLatin1String(c.name));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.content);
        f.close();
        m_told.clear();
        EXPECT_FALSE(m_main->openFile(path));
        ASSERT_EQ(m_told.size(), 1);
        EXPECT_TRUE(m_told[0].startsWith(QStringLiteral("Unable to read \"") + path + QStringLiteral("\": ")))
            << m_told[0].toStdString();
        EXPECT_EQ(m_commands->activeWindow(), nullptr);
        EXPECT_FALSE(m_recent.files().contains(path));
    }
}

TEST_F(PictureWindowTest, CropRotateAndGrayscaleAreStepsThatUndoExactly)
{
    const RgbPicture original = Squares(40, 30, 10, {{1, 0}, {3, 2}});
    CPictureWindow* w = open(original);
    ASSERT_NE(w, nullptr);
    m_commands->updateStates();
    EXPECT_FALSE(m_commands->action(C::Crop)->isEnabled()); // nothing selected

    // A rubber band dragged at zoom 2 selects the pixels it touches.
    trigger(C::ZoomIn);
    EXPECT_DOUBLE_EQ(w->view()->zoom(), 2.0);
    drag(w, QPoint(20, 20), QPoint(61, 40));
    EXPECT_EQ(w->view()->selection(), (PixelRect{10, 10, 21, 10}));
    trigger(C::Crop);
    RgbPicture cropped;
    std::string error;
    ASSERT_TRUE(CropPicture(original, {10, 10, 21, 10}, cropped, error));
    EXPECT_EQ(w->document().picture(), cropped);
    EXPECT_TRUE(w->view()->selection().empty());
    EXPECT_TRUE(w->isWindowModified());
    EXPECT_EQ(m_commands->action(C::Undo)->text(), QStringLiteral("&Undo Crop"));

    // A quarter turn moves every pixel exactly; another angle grows the canvas.
    SetDialogRunner([](QDialog& d) {
        d.findChild<QDoubleSpinBox*>(QStringLiteral("angle"))->setValue(90);
        return true;
    });
    trigger(C::Rotate);
    const RgbPicture& turned = w->document().picture();
    ASSERT_EQ(turned.width, 10);
    ASSERT_EQ(turned.height, 21);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 21; ++x) ASSERT_EQ(turned.at(9 - y, x), cropped.at(x, y)) << x << ',' << y;
    SetDialogRunner([](QDialog& d) {
        d.findChild<QDoubleSpinBox*>(QStringLiteral("angle"))->setValue(30);
        return true;
    });
    trigger(C::Rotate);
    EXPECT_EQ(w->document().picture().width, 20);  // ceil(10 cos 30 + 21 sin 30)
    EXPECT_EQ(w->document().picture().height, 24); // ceil(10 sin 30 + 21 cos 30)

    trigger(C::Grayscale);
    EXPECT_TRUE(IsGreyScale(w->document().picture()));
    EXPECT_EQ(m_commands->action(C::Undo)->text(), QStringLiteral("&Undo Grayscale"));

    // Back through every step to the picture as opened, and no longer modified.
    for (int i = 0; i < 4; ++i) trigger(C::Undo);
    EXPECT_EQ(w->document().picture(), original);
    EXPECT_FALSE(w->isWindowModified());
    m_commands->updateStates();
    EXPECT_FALSE(m_commands->action(C::Undo)->isEnabled());
    trigger(C::Redo);
    EXPECT_EQ(w->document().picture(), cropped);
    EXPECT_EQ(m_commands->action(C::Redo)->text(), QStringLiteral("&Redo Rotate"));

    // Deselect clears the band; a band of no width selects nothing.
    drag(w, QPoint(2, 2), QPoint(12, 12));
    EXPECT_FALSE(w->view()->selection().empty());
    trigger(C::Deselect);
    EXPECT_TRUE(w->view()->selection().empty());
    drag(w, QPoint(4, 4), QPoint(4, 30));
    EXPECT_TRUE(w->view()->selection().empty());
}

TEST_F(PictureWindowTest, BrightnessAndContrastPreviewLiveAndCancelLeavesThePictureExactly)
{
    RgbPicture original = Squares(20, 20, 5, {{1, 1}});
    for (int x = 0; x < 20; ++x) original.at(x, 19) = OpaqueRgb(x * 12, 100, 200 - x * 5);
    CPictureWindow* w = open(original);
    ASSERT_NE(w, nullptr);
    const RgbPicture* shownDuring = nullptr;
    RgbPicture seen;
    SetDialogRunner([&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Brightness and Contrast"));
        d.findChild<QSpinBox*>(QStringLiteral("brightness"))->setValue(60);
        d.findChild<QSpinBox*>(QStringLiteral("contrast"))->setValue(-30);
        QCoreApplication::processEvents();
        shownDuring = w->view()->picture();
        if (shownDuring) seen = *shownDuring;
        return false;
    });
    trigger(C::BrightnessContrast);
    ASSERT_NE(shownDuring, nullptr);
    EXPECT_NE(shownDuring, &w->document().picture());
    EXPECT_EQ(seen, LightPreview(original, 60, -30));
    EXPECT_EQ(w->view()->picture(), &w->document().picture());
    EXPECT_EQ(w->document().picture(), original);
    EXPECT_FALSE(w->isWindowModified());
    EXPECT_FALSE(w->history().canUndo());

    SetDialogRunner([&](QDialog& d) {
        d.findChild<QSpinBox*>(QStringLiteral("brightness"))->setValue(-40);
        d.findChild<QSpinBox*>(QStringLiteral("contrast"))->setValue(25);
        return true;
    });
    trigger(C::BrightnessContrast);
    EXPECT_EQ(w->document().picture(), LightPreview(original, -40, 25));
    EXPECT_TRUE(w->isWindowModified());
    trigger(C::Undo);
    EXPECT_EQ(w->document().picture(), original);

    // A grey picture stays grey.
    trigger(C::Grayscale);
    trigger(C::BrightnessContrast);
    EXPECT_TRUE(IsGreyScale(w->document().picture()));
}

TEST_F(PictureWindowTest, GridSquaresFollowTheFieldsAndCancelPutsThemBack)
{
    CPictureWindow* w = open(Squares(100, 100, 50, {}));
    ASSERT_NE(w, nullptr);
    GridSquares during;
    QString typed;
    SetDialogRunner([&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Number of grid squares"));
        auto* across = d.findChild<QSpinBox*>(QStringLiteral("across"));
        auto* down = d.findChild<QSpinBox*>(QStringLiteral("down"));
        EXPECT_EQ(across->maximum(), 127);
        across->selectAll();
        QTest::keyClicks(across, QStringLiteral("200"));
        typed = across->findChild<QLineEdit*>()->text();
        down->setValue(3);
        during = w->view()->grid();
        return false;
    });
    trigger(C::GridSquares);
    EXPECT_EQ(typed, QStringLiteral("127"));
    EXPECT_EQ(during, (GridSquares{127, 3}));
    EXPECT_EQ(w->document().gridSquares(), (GridSquares{1, 1}));
    EXPECT_EQ(w->view()->grid(), (GridSquares{1, 1}));

    SetDialogRunner([&](QDialog& d) {
        d.findChild<QSpinBox*>(QStringLiteral("across"))->setValue(4);
        d.findChild<QSpinBox*>(QStringLiteral("down"))->setValue(2);
        return true;
    });
    trigger(C::GridSquares);
    EXPECT_EQ(w->document().gridSquares(), (GridSquares{4, 2}));
    EXPECT_FALSE(w->isWindowModified()); // the grid is not a change of the picture
}

TEST_F(PictureWindowTest, GenerateDraftWeavesTheDarkSquaresAndStaysLinked)
{
    // 4 x 3 squares of 10 pixels: end 1 is the rightmost column, pick 1 the top row.
    const std::vector<std::pair<int, int>> dark = {{0, 0}, {2, 0}, {3, 0}, {1, 1}, {2, 1}, {3, 2}};
    CPictureWindow* w = open(Squares(40, 30, 10, dark));
    ASSERT_NE(w, nullptr);

    // Too few squares: the message, and no draft.
    trigger(C::GenerateDraft);
    EXPECT_EQ(m_told.value(0), QString::fromLatin1(kNeedGridSquares));
    EXPECT_TRUE(m_main->draftWindows().isEmpty());

    SetDialogRunner([](QDialog& d) {
        d.findChild<QSpinBox*>(QStringLiteral("across"))->setValue(4);
        d.findChild<QSpinBox*>(QStringLiteral("down"))->setValue(3);
        return true;
    });
    trigger(C::GridSquares);
    trigger(C::GenerateDraft);
    ASSERT_EQ(m_main->draftWindows().size(), 1);
    CDraftWindow* first = m_main->draftWindows().first();
    const CQuillabyDoc& d = first->document();
    ASSERT_EQ(d.numEnds(), 4);
    ASSERT_EQ(d.numPicks(), 3);
    for (int pick = 0; pick < 3; ++pick)
        for (int end = 0; end < 4; ++end) {
            const bool isDark = std::find(dark.begin(), dark.end(), std::pair{3 - end, pick}) != dark.end();
            EXPECT_EQ(LiftedShafts(d, pick).test(d.threading()->GetShaft(end)), isDark) << end << ',' << pick;
        }
    EXPECT_TRUE(first->isWindowModified());
    EXPECT_EQ(w->linkedDraft(), first);
    EXPECT_EQ(SourcePictureOf(first), w);

    // Generating again links the new draft only; closing either side clears the link.
    w->parentWidget()->setFocus();
    m_main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(w->parentWidget()));
    trigger(C::GenerateDraft);
    ASSERT_EQ(m_main->draftWindows().size(), 2);
    CDraftWindow* second = w->linkedDraft();
    EXPECT_NE(second, first);
    EXPECT_EQ(SourcePictureOf(first), nullptr);
    EXPECT_EQ(SourcePictureOf(second), w);
    second->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w->linkedDraft(), nullptr);
    m_main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(w->parentWidget()));
    trigger(C::GenerateDraft);
    CDraftWindow* third = w->linkedDraft();
    ASSERT_NE(third, nullptr);
    w->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(SourcePictureOf(third), nullptr);
}

TEST_F(PictureWindowTest, CancelInTheProgressDialogMakesNoDraft)
{
    CPictureWindow* w = open(Squares(200, 200, 2, {{0, 0}, {5, 7}, {9, 9}}));
    ASSERT_NE(w, nullptr);
    SetDialogRunner([](QDialog& d) {
        d.findChild<QSpinBox*>(QStringLiteral("across"))->setValue(100);
        d.findChild<QSpinBox*>(QStringLiteral("down"))->setValue(100);
        return true;
    });
    trigger(C::GridSquares);
    int steps = 0;
    SetProgressWatcher([&](QProgressDialog& p) {
        EXPECT_EQ(p.maximum(), 100);
        if (++steps == 3) p.cancel();
    });
    trigger(C::GenerateDraft);
    EXPECT_EQ(steps, 3);
    EXPECT_TRUE(m_main->draftWindows().isEmpty());
    EXPECT_EQ(w->linkedDraft(), nullptr);
    EXPECT_TRUE(m_told.isEmpty());
}

TEST_F(PictureWindowTest, SaveWritesThePictureOrShowsWhyNot)
{
    CPictureWindow* w = open(Squares(30, 20, 10, {{1, 1}}), QStringLiteral("in.png"));
    ASSERT_NE(w, nullptr);
    trigger(C::Grayscale);
    ASSERT_TRUE(w->isWindowModified());

    for (const char* bad : {"no/such/folder/out.bmp", "out.gif"}) {
        m_told.clear();
        EXPECT_FALSE(w->saveTo(m_files.filePath(QLatin1String(bad))));
        ASSERT_EQ(m_told.size(), 1) << bad;
        EXPECT_FALSE(m_told[0].isEmpty());
        EXPECT_TRUE(w->isWindowModified());
        EXPECT_EQ(w->documentTitle(), QStringLiteral("in.png"));
    }

    const QString out = m_files.filePath(QStringLiteral("out.tif"));
    EXPECT_TRUE(w->saveTo(out));
    EXPECT_FALSE(w->isWindowModified());
    EXPECT_EQ(w->filePath(), out);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("out.tif[*]"));
    RgbPicture back;
    std::string error;
    ASSERT_TRUE(ReadPictureFile(QFile::encodeName(out).toStdString(), back, error)) << error;
    EXPECT_EQ(back, w->document().picture());

    // File Save on the active picture writes it where it came from.
    trigger(C::Undo);
    EXPECT_TRUE(w->isWindowModified());
    m_main->files().OnFileSave();
    EXPECT_FALSE(w->isWindowModified());
    ASSERT_TRUE(ReadPictureFile(QFile::encodeName(out).toStdString(), back, error)) << error;
    EXPECT_FALSE(IsGreyScale(back));
}

TEST_F(PictureWindowTest, ClosingAModifiedPictureAsksFirst)
{
    CPictureWindow* w = open(Squares(30, 20, 10, {}), QStringLiteral("keep.bmp"));
    ASSERT_NE(w, nullptr);
    trigger(C::Grayscale);
    m_saveAnswer = CDocumentFiles::SaveAnswer::Cancel;
    EXPECT_FALSE(w->parentWidget()->close());
    EXPECT_EQ(m_asked, QStringList({"keep.bmp"}));
    // Closing the main window asks before anything closes, and Cancel keeps all.
    CDraftWindow* draft = m_main->newDocument();
    EXPECT_FALSE(m_main->close());
    EXPECT_EQ(m_asked.size(), 2);
    EXPECT_EQ(m_main->draftWindows().value(0), draft);
    m_saveAnswer = CDocumentFiles::SaveAnswer::Save;
    m_main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(w->parentWidget()));
    EXPECT_TRUE(w->parentWidget()->close());
    RgbPicture back;
    std::string error;
    ASSERT_TRUE(
        ReadPictureFile(QFile::encodeName(m_files.filePath(QStringLiteral("keep.bmp"))).toStdString(), back, error));
    EXPECT_TRUE(IsGreyScale(back));
}

TEST_F(PictureWindowTest, ZoomAndPickupToolsWorkWithTheMouse)
{
    RgbPicture p = Squares(40, 40, 10, {{1, 1}});
    p.at(25, 5) = OpaqueRgb(10, 200, 30);
    CPictureWindow* w = open(p);
    ASSERT_NE(w, nullptr);
    CToolState::instance().setTool(Tool::PickupColor);
    m_commands->updateStates();
    EXPECT_TRUE(m_commands->action(C::PickupTool)->isChecked());
    QTest::mouseClick(w->view(), Qt::LeftButton, {}, QPoint(25, 5));
    EXPECT_EQ(w->pickedColor(), p.at(25, 5));

    trigger(C::ZoomTool);
    EXPECT_EQ(CToolState::instance().tool(), Tool::Zoom);
    QTest::mouseClick(w->view(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_DOUBLE_EQ(w->view()->zoom(), 2.0);
    QTest::mouseClick(w->view(), Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 10));
    QTest::mouseClick(w->view(), Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_DOUBLE_EQ(w->view()->zoom(), 0.5);
    EXPECT_EQ(w->view()->size(), QSize(20, 20));
    trigger(C::FitInWindow);
    EXPECT_GT(w->view()->zoom(), 1.0);
    for (int i = 0; i < 20; ++i) w->zoomIn();
    EXPECT_DOUBLE_EQ(w->view()->zoom(), CPictureWindow::kMaxZoom);
    m_commands->updateStates();
    EXPECT_FALSE(m_commands->action(C::ZoomIn)->isEnabled());
}
