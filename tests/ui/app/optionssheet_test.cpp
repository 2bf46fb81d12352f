#include "ui/app/optionssheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

#include <gtest/gtest.h>

using namespace qb;

namespace {

template <class W> W* child(COptionsSheet& sheet, const char* name)
{
    W* w = sheet.findChild<W*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

} // namespace

TEST(OptionsSheet, PagesAndCaptionInOrder)
{
    COptionsSheet sheet(CStoredSettings{}, COptionsSheet::DobbyPage);
    EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Options"));
    const QStringList expected{"Loom", "Grid/Notation", "General", "Files", "Dobby Head Settings"};
    ASSERT_EQ(sheet.tabs()->count(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(sheet.tabs()->tabText(i), expected.at(i));
    EXPECT_EQ(sheet.tabs()->currentIndex(), 4);
}

TEST(OptionsSheet, NotationBoxesMapToStoredValues)
{
    struct Case {
        bool numeric, alpha;
        int threading;
    };
    for (const Case& c : {Case{false, true, 3}, Case{true, false, 1}, Case{false, false, 0}}) {
        COptionsSheet sheet(CStoredSettings{});
        child<QCheckBox>(sheet, "threadingNumeric")->setChecked(c.numeric);
        child<QCheckBox>(sheet, "threadingAlpha")->setChecked(c.alpha);
        sheet.accept();
        EXPECT_EQ(sheet.values().DfltThreading, c.threading);
    }
    COptionsSheet sheet(CStoredSettings{});
    child<QCheckBox>(sheet, "tieupNumeric")->setChecked(true);
    child<QCheckBox>(sheet, "tieupSymbolic")->setChecked(true); // excludes Numeric
    child<QCheckBox>(sheet, "treadlingNumeric")->setChecked(true);
    child<QCheckBox>(sheet, "interlaced")->setChecked(false);
    EXPECT_FALSE(child<QCheckBox>(sheet, "tieupNumeric")->isChecked());
    sheet.accept();
    EXPECT_EQ(sheet.values().DfltTieup, 2);
    EXPECT_EQ(sheet.values().DfltTreadling, 1);
    EXPECT_EQ(sheet.values().DfltDrawdown, 0);
    EXPECT_EQ(NotationBoxes::tieup(false, false), 0);
    EXPECT_EQ(NotationBoxes::tieup(true, false), 1);
}

TEST(OptionsSheet, AlphaAndNumericExcludeEachOther)
{
    CStoredSettings v;
    v.DfltThreading = 3;
    COptionsSheet sheet(v);
    auto* numeric = child<QCheckBox>(sheet, "threadingNumeric");
    auto* alpha = child<QCheckBox>(sheet, "threadingAlpha");
    EXPECT_TRUE(alpha->isChecked());
    EXPECT_FALSE(numeric->isChecked());
    numeric->setChecked(true);
    EXPECT_FALSE(alpha->isChecked());
    sheet.accept();
    EXPECT_EQ(sheet.values().DfltThreading, 1);
}

TEST(OptionsSheet, FilledFromValuesAndCopiedBackOnlyOnOk)
{
    CStoredSettings v;
    v.DfltNumShafts = 16;
    v.DfltRisingShed = 0;
    v.UnitMeasure = 1;
    v.dobbyHead = 1;
    v.SerialPortPath = QStringLiteral("/dev/pts/7");
    v.DfltSaveAsQLB = 1;

    COptionsSheet cancelled(v);
    EXPECT_EQ(child<QSpinBox>(cancelled, "shafts")->value(), 16);
    EXPECT_TRUE(child<QRadioButton>(cancelled, "sinking")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(cancelled, "metric")->isChecked());
    EXPECT_EQ(child<QComboBox>(cancelled, "dobbyHead")->currentText(), QStringLiteral("AVL Compu-Dobby III"));
    EXPECT_EQ(child<QComboBox>(cancelled, "serialPort")->currentText(), QStringLiteral("/dev/pts/7"));
    EXPECT_EQ(child<QComboBox>(cancelled, "saveFormat")->currentIndex(), 1);
    child<QSpinBox>(cancelled, "shafts")->setValue(4);
    cancelled.reject();
    EXPECT_EQ(cancelled.values(), v);

    COptionsSheet ok(v);
    child<QSpinBox>(ok, "shafts")->setValue(100); // the spin box holds it to 64
    child<QSpinBox>(ok, "treadles")->setValue(10);
    child<QRadioButton>(ok, "rising")->setChecked(true);
    child<QCheckBox>(ok, "liftplan")->setChecked(true);
    child<QRadioButton>(ok, "english")->setChecked(true);
    child<QComboBox>(ok, "dobbyHead")->setCurrentIndex(0); // "Select one"
    child<QComboBox>(ok, "serialPort")->setEditText(QStringLiteral(" /tmp/loom-a "));
    child<QSpinBox>(ok, "dobbyShafts")->setValue(24);
    ok.accept();
    const CStoredSettings& out = ok.values();
    EXPECT_EQ(out.DfltNumShafts, 64);
    EXPECT_EQ(out.DfltNumTreadles, 10);
    EXPECT_EQ(out.DfltRisingShed, 1);
    EXPECT_EQ(out.DfltLiftPlan, 1);
    EXPECT_EQ(out.UnitMeasure, 0);
    EXPECT_FALSE(out.hasDobbyHead());
    EXPECT_EQ(out.SerialPortPath, QStringLiteral("/tmp/loom-a"));
    EXPECT_EQ(out.DobbyHarnesses, 24);
    EXPECT_EQ(out.DfltSaveAsQLB, 1);
}

TEST(OptionsSheet, DobbyShaftsStayWithinWhatTheHeadCarries)
{
    CStoredSettings v;
    v.dobbyHead = 3; // LeClerc I: 16 shafts
    v.DobbyHarnesses = 24;
    COptionsSheet sheet(v, COptionsSheet::DobbyPage);
    auto* shafts = child<QSpinBox>(sheet, "dobbyShafts");
    EXPECT_EQ(shafts->maximum(), 16);
    EXPECT_EQ(shafts->value(), 16);
    child<QComboBox>(sheet, "dobbyHead")->setCurrentIndex(3); // Louet
    EXPECT_EQ(shafts->maximum(), 32);
    child<QComboBox>(sheet, "dobbyHead")->setCurrentIndex(1); // AVL Compu-Dobby II
    EXPECT_EQ(shafts->maximum(), 40);
    shafts->setValue(40);
    sheet.accept();
    EXPECT_EQ(sheet.values().DobbyHarnesses, 40);
    EXPECT_EQ(sheet.values().dobbyHead, 0);
}
