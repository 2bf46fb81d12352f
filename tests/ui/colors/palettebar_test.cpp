#include "tests/ui/mainwindowfixture.h"
#include "ui/app/defaultpalette.h"
#include "ui/app/mainframe.h"
#include "ui/app/recentfilelist.h"
#include "ui/base/colorchooser.h"
#include "ui/colors/colororderview.h"
#include "ui/colors/palettebar.h"
#include "ui/colors/replacecolordialog.h"
#include "ui/views/draftframe.h"
#include "ui/views/draftwindow.h"
#include "ui/views/tdinggridview.h"
#include "ui/views/tools/toolstate.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace qb;

namespace {

class PaletteBarTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        m_w = m_main->newDocument();
        m_bar = PaletteBarOf(m_main.get());
        m_bar->showDraft(m_w);
        CToolState::instance().selectRight(false);
    }
    void TearDown() override
    {
        SetColorChooser({});
        CToolState::instance().selectRight(false);
        MainWindowTest::TearDown();
    }
    CQuillabyDoc& doc() { return m_w->document(); }
    void setPalette(const std::vector<COLORREF>& colors)
    {
        ColorPalette& p = doc().raw().paletteMutable();
        p.clear();
        for (COLORREF c : colors) p.add(c, false);
        p.setLeftColor(0);
        p.setRightColor(colors.size() > 1 ? 1 : 0);
        m_bar->refresh();
    }
    void click(QWidget* w, Qt::MouseButton b)
    {
        QMouseEvent e(QEvent::MouseButtonPress, QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)), b, b, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }

    CDraftWindow* m_w = nullptr;
    CColorPaletteBar* m_bar = nullptr;
};

} // namespace

TEST_F(PaletteBarTest, SwatchesFollowThePaletteAndSetButtonColors)
{
    setPalette({rgb(255, 0, 0), rgb(0, 0, 255)});
    EXPECT_EQ(m_bar->visibleSwatches(), 2);
    setPalette({rgb(255, 0, 0), rgb(0, 0, 255), rgb(0, 255, 0), rgb(9, 9, 9)});
    EXPECT_EQ(m_bar->visibleSwatches(), 4);
    EXPECT_EQ(m_bar->swatch(2)->color(), QColor(0, 255, 0));

    // A left click while the right button is selected changes the left color only.
    CToolState::instance().selectRight(true);
    click(m_bar->swatch(3), Qt::LeftButton);
    EXPECT_EQ(doc().palette().leftColor(), 3);
    EXPECT_EQ(doc().palette().rightColor(), 1);
    EXPECT_TRUE(CToolState::instance().rightSelected());
    EXPECT_EQ(m_bar->buttonColor(false)->color(), QColor(9, 9, 9));
    click(m_bar->swatch(2), Qt::RightButton);
    EXPECT_EQ(doc().palette().rightColor(), 2);
}

TEST_F(PaletteBarTest, ChooseNewReusesAddsOrOverwrites)
{
    setPalette({rgb(0, 0, 0), rgb(255, 255, 255), rgb(1, 1, 1), rgb(2, 2, 2), rgb(3, 3, 3), rgb(5, 5, 5)});
    QColor answer(5, 5, 5);
    SetColorChooser([&](QColor) { return std::optional<QColor>(answer); });
    EXPECT_TRUE(m_bar->chooseNew());
    EXPECT_EQ(doc().palette().count(), 6) << "an existing color is selected, not added";
    EXPECT_EQ(doc().palette().leftColor(), 5);

    // Clicking the right button color chooses for the right button only.
    answer = QColor(7, 8, 9);
    click(m_bar->buttonColor(true), Qt::LeftButton);
    EXPECT_EQ(doc().palette().count(), 7);
    EXPECT_EQ(doc().palette().rightColor(), 6);
    EXPECT_FALSE(CToolState::instance().rightSelected());

    // Cancelled: nothing changes.
    SetColorChooser([](QColor) { return std::optional<QColor>(); });
    EXPECT_FALSE(m_bar->chooseNew());
    EXPECT_EQ(doc().palette().count(), 7);
}

TEST_F(PaletteBarTest, FullPaletteOverwritesAnUnusedEntryOrReportsTheLimit)
{
    std::vector<COLORREF> full;
    for (int i = 0; i < kMaxColors; ++i) full.push_back(rgb(i, 50, 50));
    setPalette(full);
    CQuillabyDoc& d = doc();
    d.SetThreadingCell(kUnrecorded, 2, 1);
    d.SetThreadColors(kUnrecorded, Side::Threading, 0, 2, 2);
    d.raw().threadingMutable(0)->setDefaultColor(2);
    d.raw().treadlingMutable(0)->setDefaultColor(2);
    d.raw().threadingMutable(0)->setAlternateColor(2);
    d.raw().treadlingMutable(0)->setAlternateColor(2);
    SetColorChooser([](QColor) { return std::optional<QColor>(QColor(250, 0, 0)); });
    EXPECT_TRUE(m_bar->chooseNew());
    EXPECT_EQ(d.palette().leftColor(), 3) << "0 and 1 are the buttons' and never overwritten; 2 is used";
    EXPECT_EQ(d.palette().color(3), rgb(250, 0, 0));
    EXPECT_EQ(d.palette().color(0), rgb(0, 50, 50));

    // Every entry in use: the palette limit is reported and nothing changes.
    d.SetThreadingCell(kUnrecorded, kMaxColors - 1, 1);
    for (int e = 0; e < kMaxColors; ++e) d.SetThreadColors(kUnrecorded, Side::Threading, e, e, e);
    const auto before = d.palette().colors();
    SetColorChooser([](QColor) { return std::optional<QColor>(QColor(251, 0, 0)); });
    EXPECT_FALSE(m_bar->chooseNew());
    EXPECT_EQ(d.palette().colors(), before);
    ASSERT_EQ(m_told.size(), 1);
    EXPECT_TRUE(m_told[0].startsWith(QStringLiteral("Color palette is limited to 90 colors.")));
}

TEST_F(PaletteBarTest, FillWarpWithAPatternAndReplaceColor)
{
    setPalette({rgb(0, 0, 0), rgb(255, 255, 255), rgb(255, 0, 0)});
    CQuillabyDoc& d = doc();
    for (int e = 0; e < 4; ++e) d.SetThreadingCell(kUnrecorded, e, 1 + e % 4);
    d.raw().paletteMutable().setLeftColor(2);
    d.raw().paletteMutable().setRightColor(1);
    FillThreads(m_w, true, 1, d.palette().rightColor(), d.palette().leftColor());
    std::vector<int> got;
    for (int e = 0; e < 4; ++e) got.push_back(d.threading(0)->GetColor(e));
    EXPECT_EQ(got, (std::vector<int>{2, 1, 2, 1})) << "end 1 takes the left color";
    d.Undo();
    EXPECT_NE(d.threading(0)->GetColor(0), 2) << "the fill is one undo step";
    d.Redo();

    CReplaceColorDialog dlg(m_w);
    dlg.oldBox()->setCurrentIndex(2);
    dlg.newBox()->setCurrentIndex(0);
    dlg.weftBox()->setChecked(false);
    EXPECT_TRUE(dlg.apply());
    got.clear();
    for (int e = 0; e < 4; ++e) got.push_back(d.threading(0)->GetColor(e));
    EXPECT_EQ(got, (std::vector<int>{0, 1, 0, 1}));
}

TEST_F(PaletteBarTest, ColorOrderShowsRunsTotalsAndEditsNames)
{
    setPalette({rgb(0, 0, 0), rgb(255, 255, 255), rgb(255, 0, 0)});
    CQuillabyDoc& d = doc();
    for (int e = 0; e < 5; ++e) d.SetThreadingCell(kUnrecorded, e, 1);
    d.SetThreadColors(kUnrecorded, Side::Threading, 0, 4, 2);
    d.SetThreadColors(kUnrecorded, Side::Threading, 2, 2, 0);
    CColorOrderView view(m_w, true);
    EXPECT_EQ(view.legendLines(), 2);
    const QString t = view.tableText();
    QStringList lines;
    for (const QString& l : t.split(QLatin1Char('\n'))) lines << l.simplified();
    const QStringList runs = lines.mid(1, 3), totals = lines.mid(6, 3);
    EXPECT_EQ(runs, (QStringList{"color3 2", "color1 1", "color3 2"})) << t.toStdString();
    EXPECT_EQ(totals, (QStringList{"color3 4", "color1 1", "all 5"})) << t.toStdString();

    // Names are edited in the legend, at most 11 characters.
    QLineEdit* edit = nullptr;
    for (QLineEdit* e : view.findChildren<QLineEdit*>())
        if (e->text() == QStringLiteral("color3")) edit = e;
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->maxLength(), 11);
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("xy"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(d.palette().name(2), "color3xy");
    EXPECT_TRUE(d.isModified());
    // The whole name is one step back.
    EXPECT_EQ(d.history().undoName(), "Color Name");
    d.Undo();
    EXPECT_EQ(d.palette().name(2), "color3");
}

TEST_F(PaletteBarTest, ReplaceColorPicksFromAColorBar)
{
    setPalette({rgb(0, 0, 0), rgb(255, 255, 255), rgb(255, 0, 0)});
    CQuillabyDoc& d = doc();
    for (int e = 0; e < 4; ++e) d.SetThreadingCell(kUnrecorded, e, 1);
    d.SetThreadColors(kUnrecorded, Side::Threading, 2, 2, 2);
    m_w->show();
    QApplication::processEvents();
    auto* th = m_w->frame()->threadingView();
    CReplaceColorDialog dlg(m_w);
    dlg.warpBox()->setChecked(false);
    dlg.weftBox()->setChecked(false);
    const QPoint p = th->itemRect(2, th->colorBarItem(0)).center();
    EXPECT_TRUE(dlg.pickAt(th->viewport(), th->viewport()->mapToGlobal(p), true));
    EXPECT_EQ(dlg.oldBox()->currentIndex(), 2);
    EXPECT_TRUE(dlg.warpBox()->isChecked());
    EXPECT_FALSE(dlg.weftBox()->isChecked());
    // Over the shaft cells or the dialog itself nothing is picked.
    const QPoint cell = th->itemRect(2, 0).center();
    EXPECT_FALSE(dlg.pickAt(th->viewport(), th->viewport()->mapToGlobal(cell), false));
    EXPECT_FALSE(dlg.pickAt(dlg.oldBox(), dlg.oldBox()->mapToGlobal(QPoint(2, 2)), false));
}

TEST_F(PaletteBarTest, ViewMenuOffersThePaletteAndColorOrders)
{
    QMenu* view = nullptr;
    for (QAction* a : m_main->menuBar()->actions())
        if (a->text() == QStringLiteral("&View")) view = a->menu();
    ASSERT_NE(view, nullptr);
    emit view->aboutToShow();
    QStringList texts;
    for (QAction* a : view->actions()) texts << a->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("&Color Palette")));
    EXPECT_TRUE(texts.contains(QStringLiteral("W&arp Color Order")));
    // Opening the menu again does not pile the entries up.
    emit view->aboutToShow();
    int shows = 0;
    for (QAction* a : view->actions()) shows += a->text() == QStringLiteral("&Color Palette");
    EXPECT_EQ(shows, 1);
}

TEST_F(PaletteBarTest, ColorOrderWindowKeepsTheDraftsPaletteShown)
{
    m_main->show();
    QApplication::processEvents();
    EXPECT_EQ(m_bar->draft(), m_w);
    OpenColorOrder(m_main.get(), false);
    QApplication::processEvents();
    EXPECT_EQ(m_bar->draft(), m_w);
    EXPECT_EQ(m_bar->visibleSwatches(), doc().palette().count());
}
