#include "tests/ui/testsettingsdir.h"
#include "ui/app/defaultpalette.h"
#include "ui/app/recentfilelist.h"
#include "ui/base/screenscale.h"
#include "ui/base/storedsettings.h"

#include <gtest/gtest.h>

using namespace qb;

namespace {

CStoredSettings readWith(std::initializer_list<std::pair<const char*, QVariant>> values)
{
    {
        QSettings s = TestSettingsDir::store();
        for (const auto& [key, value] : values)
            s.setValue(QStringLiteral("Settings/%1").arg(QLatin1String(key)), value);
    }
    QSettings s = TestSettingsDir::store();
    CStoredSettings settings;
    settings.read(s);
    return settings;
}

} // namespace

TEST(StoredSettings, MissingStoreGivesDefaults)
{
    TestSettingsDir dir;
    const CStoredSettings s = readWith({});
    EXPECT_EQ(s, CStoredSettings());
    EXPECT_EQ(s.DfltNumShafts, 8);
    EXPECT_EQ(s.DfltTieup, 2);
    EXPECT_EQ(s.DfltDobbyBarV, 114);
    EXPECT_EQ(s.BrowseZoomLevel, -4);
    EXPECT_FALSE(s.hasDobbyHead());
}

TEST(StoredSettings, OutOfRangeValuesAreClamped)
{
    TestSettingsDir dir;
    CStoredSettings s = readWith({{"DfltNumShafts", 100},
                                  {"DfltNumTreadles", 200},
                                  {"UnitMeasure", 7},
                                  {"DfltWasteLength", -5},
                                  {"NumEchos", 9},
                                  {"NetworkLen", 40000},
                                  {"NetworkInitialB", -1},
                                  {"ProgressingLineLength", 7},
                                  {"DobbyHarnesses", 0},
                                  {"BrowseZoomLevel", -99},
                                  {"InitialXPos", -3000}});
    EXPECT_EQ(s.DfltNumShafts, 64);
    EXPECT_EQ(s.DfltNumTreadles, 128);
    EXPECT_EQ(s.UnitMeasure, 1);
    EXPECT_EQ(s.DfltWasteLength, 0);
    EXPECT_EQ(s.NumEchos, 3);
    EXPECT_EQ(s.NetworkLen, 32768);
    EXPECT_EQ(s.NetworkInitialB, 0);
    EXPECT_EQ(s.ProgressingLineLength, 6);
    EXPECT_EQ(s.progressingLineLength(), 9);
    EXPECT_EQ(s.DobbyHarnesses, 1);
    EXPECT_EQ(s.BrowseZoomLevel, -CStoredSettings::kBrowseZoomRange);
    EXPECT_EQ(s.InitialXPos, -3000); // no clamp on placement

    TestSettingsDir dir2;
    s = readWith({{"DfltNumShafts", 0}, {"DfltNumTreadles", -4}});
    EXPECT_EQ(s.DfltNumShafts, 1);
    EXPECT_EQ(s.DfltNumTreadles, 1);
}

TEST(StoredSettings, GarbageAndInvalidNotationsReadAsDefaults)
{
    TestSettingsDir dir;
    const CStoredSettings s = readWith({{"DfltNumShafts", "lots"},
                                        {"DfltThreading", 2},
                                        {"DfltTreadling", 3},
                                        {"DfltTieup", -1},
                                        {"DfltDrawdown", 5},
                                        {"DfltNumTreadles", "12"}});
    EXPECT_EQ(s.DfltNumShafts, 8);
    EXPECT_EQ(s.DfltNumTreadles, 12);
    EXPECT_EQ(s.DfltThreading, 1);
    EXPECT_EQ(s.DfltTreadling, 0);
    EXPECT_EQ(s.DfltTieup, 2);
    EXPECT_EQ(s.DfltDrawdown, 4);
}

TEST(StoredSettings, BrowserPanesLeaveRoomForThePreview)
{
    TestSettingsDir dir;
    const CStoredSettings s = readWith({{"BrowseDirWidth", 70}, {"BrowseFileWidth", 60}});
    EXPECT_EQ(s.BrowseDirWidth, 70);
    EXPECT_EQ(s.BrowseFileWidth, 100 - CStoredSettings::kMinPreviewPercent - 70);
}

TEST(StoredSettings, WriteReadRoundTripUsesExactKeys)
{
    TestSettingsDir dir;
    CStoredSettings s;
    s.DfltNumShafts = 24;
    s.DfltThreading = 3;
    s.dobbyHead = 3;
    s.SerialPortPath = QStringLiteral("/dev/ttyUSB1");
    s.DobbyHarnesses = 32;
    s.DfltBrowseLocn = QStringLiteral("/home/w/drafts");
    {
        QSettings store = TestSettingsDir::store();
        s.write(store);
    }
    QSettings store = TestSettingsDir::store();
    EXPECT_EQ(store.value("Settings/DfltNumShafts").toInt(), 24);
    EXPECT_EQ(store.value("Settings/DobbyHeadType").toString(), QStringLiteral("LeClerc I"));
    EXPECT_EQ(store.value("Settings/DfltBrowseLocn").toString(), QStringLiteral("/home/w/drafts"));
    EXPECT_TRUE(store.contains("Settings/mruOpenFileLocn"));
    EXPECT_TRUE(store.contains("Settings/BrowseModfdWidth"));
    CStoredSettings back;
    back.read(store);
    EXPECT_EQ(back.DfltNumShafts, 24);
    EXPECT_EQ(back.DfltThreading, 3);
    EXPECT_EQ(back.dobbyHeadName(), QStringLiteral("LeClerc I"));
    EXPECT_EQ(back.SerialPortPath, QStringLiteral("/dev/ttyUSB1"));
    EXPECT_EQ(back.DobbyHarnesses, 32);
}

TEST(StoredSettings, UnknownHeadIsNotWrittenBack)
{
    TestSettingsDir dir;
    CStoredSettings s = readWith({{"DobbyHeadType", "Foo"}, {"SerialPortNum", 3}, {"DobbyHarnesses", 24}});
    EXPECT_EQ(s.dobbyHead, DobbyHeads::kNone);
    s.SerialPortNum = 7;
    s.DobbyHarnesses = 8;
    QSettings store = TestSettingsDir::store();
    s.write(store);
    EXPECT_EQ(store.value("Settings/DobbyHeadType").toString(), QStringLiteral("Foo"));
    EXPECT_EQ(store.value("Settings/SerialPortNum").toInt(), 3);
    EXPECT_EQ(store.value("Settings/DobbyHarnesses").toInt(), 24);
    EXPECT_FALSE(store.contains("Settings/SerialPortPath"));
}

TEST(StoredSettings, HeadClearedByTheWeaverIsCleared)
{
    TestSettingsDir dir;
    CStoredSettings s = readWith({{"DobbyHeadType", "Louet"}, {"DobbyHarnesses", 12}});
    EXPECT_EQ(s.dobbyHead, 2);
    s.dobbyHead = DobbyHeads::kNone;
    {
        QSettings store = TestSettingsDir::store();
        s.write(store);
    }
    EXPECT_FALSE(readWith({}).hasDobbyHead());
}

TEST(StoredSettings, HeadNamesInIndexOrder)
{
    EXPECT_EQ(DobbyHeads::indexOf(QStringLiteral("AVL Compu-Dobby II")), 0);
    EXPECT_EQ(DobbyHeads::indexOf(QStringLiteral("AVL Compu-Dobby III")), 1);
    EXPECT_EQ(DobbyHeads::indexOf(QStringLiteral("LeClerc II")), 4);
    EXPECT_EQ(DobbyHeads::indexOf(QStringLiteral("louet")), DobbyHeads::kNone);
    EXPECT_EQ(DobbyHeads::indexOf(QString()), DobbyHeads::kNone);
    EXPECT_TRUE(DobbyHeads::nameOf(5).isEmpty());
}

TEST(DefaultPalette, MissingOrBadCountRestoresBuiltInsAndWritesThem)
{
    for (const QVariant& count : {QVariant(), QVariant(0), QVariant(-2), QVariant(91), QVariant("x")}) {
        TestSettingsDir dir;
        {
            QSettings s = TestSettingsDir::store();
            if (count.isValid()) s.setValue("Settings/NumDefaultColors", count);
            s.setValue("Colors/color20", 0x123456);
        }
        QSettings s = TestSettingsDir::store();
        CDefaultPalette p;
        p.load(s);
        ASSERT_EQ(p.count(), 15) << count.toString().toStdString();
        EXPECT_EQ(p.colors()[3], 0x800000u);
        EXPECT_EQ(p.colors()[14], 0x00FFFFu);
        EXPECT_EQ(s.value("Settings/NumDefaultColors").toInt(), 15);
        EXPECT_EQ(s.value("Colors/color0").toInt(), 0xFFFFFF);
        EXPECT_EQ(s.value("Colors/color12").toInt(), 0x0000FF);
        EXPECT_FALSE(s.contains("Colors/color20"));
    }
}

TEST(DefaultPalette, StoredPaletteUpToNinetyColorsIsKept)
{
    TestSettingsDir dir;
    std::vector<COLORREF> colors;
    for (int i = 0; i < 90; ++i) colors.push_back(COLORREF(i * 0x010203));
    {
        QSettings s = TestSettingsDir::store();
        CDefaultPalette p;
        p.store(s, colors);
    }
    QSettings s = TestSettingsDir::store();
    CDefaultPalette p;
    p.load(s);
    EXPECT_EQ(p.colors(), colors);
    EXPECT_EQ(s.value("Settings/NumDefaultColors").toInt(), 90);
}

TEST(DefaultPalette, MissingColorReadsAsBlackAndStoreDropsStaleKeys)
{
    TestSettingsDir dir;
    {
        QSettings s = TestSettingsDir::store();
        s.setValue("Settings/NumDefaultColors", 3);
        s.setValue("Colors/color0", 0xFFFFFF);
        s.setValue("Colors/color2", 0x0000FF);
    }
    QSettings s = TestSettingsDir::store();
    CDefaultPalette p;
    p.load(s);
    EXPECT_EQ(p.colors(), (std::vector<COLORREF>{0xFFFFFF, 0, 0x0000FF}));
    p.store(s, {0x00FF00});
    EXPECT_EQ(s.value("Settings/NumDefaultColors").toInt(), 1);
    EXPECT_EQ(s.value("Colors/color0").toInt(), 0x00FF00);
    EXPECT_FALSE(s.contains("Colors/color2"));
}

TEST(RecentFileList, KeepsFourNewestFirst)
{
    TestSettingsDir dir;
    CRecentFileList r;
    for (const char* f : {"/a.wif", "/b.wif", "/c.wif", "/d.wif", "/e.wif", "/c.wif"}) r.add(QLatin1String(f));
    EXPECT_EQ(r.files(), (QStringList{"/c.wif", "/e.wif", "/d.wif", "/b.wif"}));
    QSettings s = TestSettingsDir::store();
    r.save(s);
    CRecentFileList back;
    back.load(s);
    EXPECT_EQ(back.files(), r.files());
    EXPECT_EQ(s.value("Recent File List/File1").toString(), QStringLiteral("/c.wif"));
}

TEST(ScreenScale, CellSizesFollowTheDpi)
{
    struct Case {
        double dpi;
        int base, inner, mark;
    };
    const Case cases[] = {{96, 12, 10, 8},   {72, 9, 7, 5},  {120, 15, 12, 10}, {144, 18, 15, 13},
                          {192, 24, 20, 18}, {0, 12, 10, 8}, {-5, 12, 10, 8},   {30, 8, 6, 4}};
    for (const Case& c : cases) {
        const ScreenScale s = ScreenScale::fromDpi(c.dpi);
        EXPECT_EQ(s, (ScreenScale{c.base, c.inner, c.mark})) << "dpi " << c.dpi;
        EXPECT_GT(s.markSize, 0);
    }
    EXPECT_EQ(ScreenScale::forScreen(nullptr).baseCell, 12); // offscreen reports 96 DPI
}
