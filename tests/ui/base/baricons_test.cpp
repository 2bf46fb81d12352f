// The tool bar and the dobby bars show pictures of their own: each one drawn
// from SVG (sharp at any size), named in its tip.
#include "tests/ui/mainwindowfixture.h"

#include "ui/loom/dobbybars.h"

#include <QToolBar>
#include <QToolButton>

using namespace qb;

namespace {

// A picture that is really there at `px` pixels, not an upscaled small one.
void expectSharpPicture(const QIcon& icon, const QString& what)
{
    ASSERT_FALSE(icon.isNull()) << what.toStdString();
    for (const int px : {24, 48, 96}) {
        const QImage img = icon.pixmap(QSize(px, px)).toImage();
        EXPECT_EQ(img.size(), QSize(px, px)) << what.toStdString() << " at " << px;
        int drawn = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) drawn += qAlpha(img.pixel(x, y)) > 128;
        EXPECT_GT(drawn, px * px / 20) << what.toStdString() << " at " << px;
    }
}

class BarIconsTest : public MainWindowTest {};

} // namespace

TEST_F(BarIconsTest, EveryToolHasAPictureAndItsNameInTheTip)
{
    auto* bar = m_main->findChild<QToolBar*>(QStringLiteral("ToolsBar"));
    ASSERT_TRUE(bar);
    ASSERT_EQ(bar->actions().size(), 11);
    QList<QImage> pictures;
    for (QAction* a : bar->actions()) {
        expectSharpPicture(a->icon(), a->iconText());
        EXPECT_EQ(a->toolTip(), a->iconText());
        EXPECT_FALSE(a->toolTip().contains(QLatin1Char('&')));
        EXPECT_GT(a->statusTip().size(), a->toolTip().size()) << "the status line says what the tool does";
        const QImage img = a->icon().pixmap(24, 24).toImage();
        EXPECT_FALSE(pictures.contains(img)) << "every tool looks different: " << a->iconText().toStdString();
        pictures << img;
    }
}

TEST_F(BarIconsTest, DobbyButtonsHavePictures)
{
    CDobbyHeadBar bar;
    const QList<QToolButton*> buttons = bar.findChildren<QToolButton*>();
    int named = 0;
    for (QToolButton* b : buttons) {
        if (b->objectName().isEmpty() || b->objectName().startsWith(QLatin1String("qt_"))) continue; // the bar's own
        ++named;
        expectSharpPicture(b->icon(), b->text());
        EXPECT_EQ(b->toolTip(), b->text());
        EXPECT_FALSE(b->statusTip().isEmpty());
        EXPECT_EQ(b->toolButtonStyle(), Qt::ToolButtonIconOnly);
    }
    EXPECT_EQ(named, 6);
}
