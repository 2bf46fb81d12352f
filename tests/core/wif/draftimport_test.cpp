// Taking the palette or the project plan of another draft file.

#include "tests/core/wif/testmessages.h"

#include "core/draft/quillabydoc.h"
#include "core/wif/draftimport.h"
#include "core/wif/wifsections.h"
#include "core/wif/wiftext.h"
#include "core/wif/wifwriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace qb;

namespace {

class DraftImport : public ::testing::Test {
protected:
    void SetUp() override
    {
        NewDraftDefaults d;
        d.defaultColors = {0x000000, 0x0000FF, 0x00FF00}; // white, black, red, green
        doc.OnNewDocument(d);
        // Ends: red, green, black; picks: white, red.
        for (int e = 0; e < 3; ++e) doc.SetThreadingCell(kUnrecorded, e, e + 1);
        doc.SetThreadColors(kUnrecorded, Side::Threading, 0, 0, 2);
        doc.SetThreadColors(kUnrecorded, Side::Threading, 1, 1, 3);
        doc.SetThreadColors(kUnrecorded, Side::Threading, 2, 2, 1);
        doc.SetTreadlingCell(kUnrecorded, 0, 1);
        doc.SetTreadlingCell(kUnrecorded, 1, 2);
        doc.SetThreadColors(kUnrecorded, Side::Treadling, 0, 0, 0);
        doc.SetThreadColors(kUnrecorded, Side::Treadling, 1, 1, 2);
        doc.SetModified(false);
    }
    std::string write(const std::string& name, const std::string& text)
    {
        const auto path = std::filesystem::path(::testing::TempDir()) / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    // The file of a palette of the given colors.
    std::string paletteFile(const std::vector<COLORREF>& colors)
    {
        std::string s =
            "[WIF]\nVersion=1.1\n[CONTENTS]\nCOLOR PALETTE=true\nCOLOR TABLE=true\n[COLOR PALETTE]\nEntries="
            + std::to_string(colors.size()) + "\nRange=0,255\n[COLOR TABLE]\n";
        for (std::size_t i = 0; i < colors.size(); ++i)
            s += std::to_string(i + 1) + "=" + std::to_string(red(colors[i])) + "," + std::to_string(green(colors[i]))
                + "," + std::to_string(blue(colors[i])) + "\n";
        return write("palette.wif", s);
    }
    std::vector<COLORREF> endColors() const
    {
        std::vector<COLORREF> out;
        for (int e = 0; e < doc.numEnds(); ++e) out.push_back(doc.palette().color(doc.threading(0)->GetColor(e)));
        for (int p = 0; p < doc.numPicks(); ++p) out.push_back(doc.palette().color(doc.treadling(0)->GetColor(p)));
        return out;
    }

    CQuillabyDoc doc;
    RecordingMessages messages;
};

} // namespace

TEST_F(DraftImport, MissingColorsAreAppendedAndTheDraftLooksTheSame)
{
    const auto before = endColors();
    const COLORREF defaultBefore = doc.palette().color(doc.threading(0)->defaultColor());
    // Blue and green and white; red and black are missing.
    const std::string path = paletteFile({0xFF0000, 0x00FF00, 0xFFFFFF});
    ASSERT_EQ(ImportPalette(kUnrecorded, doc, path, messages), ImportResult::Done);
    EXPECT_EQ(endColors(), before);
    const ColorPalette& p = doc.palette();
    ASSERT_EQ(p.count(), 5);
    EXPECT_EQ(p.color(0), 0xFF0000u);
    EXPECT_EQ(p.color(3), 0x0000FFu); // red, used first by end 1
    EXPECT_EQ(p.color(4), 0x000000u); // black, end 3
    EXPECT_EQ(doc.threading(0)->GetColor(1), 1);
    // Mouse colors from end 1 and pick 1; new ends keep their color too.
    EXPECT_EQ(p.leftColor(), 3);
    EXPECT_EQ(p.rightColor(), 2);
    EXPECT_EQ(p.color(doc.threading(0)->defaultColor()), defaultBefore);
    EXPECT_TRUE(doc.isModified());
    EXPECT_TRUE(messages.told.empty());
}

TEST_F(DraftImport, FullPaletteKeepsTheOldIndex)
{
    std::vector<COLORREF> colors;
    for (int i = 0; i < 90; ++i) colors.push_back(rgb(i, 100, 200));
    colors[5] = 0x00FF00; // green is there, red is not
    ASSERT_EQ(ImportPalette(kUnrecorded, doc, paletteFile(colors), messages), ImportResult::Done);
    EXPECT_EQ(doc.palette().count(), 90);
    EXPECT_EQ(doc.threading(0)->GetColor(0), 2); // red: old index, now another color
    EXPECT_EQ(doc.palette().color(2), rgb(2, 100, 200));
    EXPECT_EQ(doc.threading(0)->GetColor(1), 5); // green found
}

TEST_F(DraftImport, RefusedOrEmptySourcesChangeNothing)
{
    const std::string before = WifText(doc, "1/1/2026");
    // No version: the message, and nothing else.
    const std::string noVersion = write("noversion.wif",
                                        "[WIF]\nDate=today\n[CONTENTS]\nCOLOR TABLE=true\n"
                                        "[COLOR PALETTE]\nEntries=1\n[COLOR TABLE]\n1=1,2,3\n");
    EXPECT_EQ(ImportPalette(kUnrecorded, doc, noVersion, messages), ImportResult::Refused);
    EXPECT_EQ(ImportProjectPlan(kUnrecorded, doc, noVersion, messages), ImportResult::Refused);
    ASSERT_EQ(messages.told.size(), 2u);
    EXPECT_EQ(messages.told[0], FormatMessage(wifmsg::kVersion, ""));
    // No color table: silently nothing.
    messages.told.clear();
    const std::string noTable = write("notable.wif", "[WIF]\nVersion=1.1\n[CONTENTS]\nWARP=true\n");
    EXPECT_EQ(ImportPalette(kUnrecorded, doc, noTable, messages), ImportResult::NoChange);
    EXPECT_TRUE(messages.told.empty());
    // A file that is not there.
    EXPECT_EQ(ImportPalette(kUnrecorded, doc, write("x", "") + ".missing", messages), ImportResult::Refused);
    EXPECT_EQ(messages.told.size(), 1u);
    EXPECT_EQ(WifText(doc, "1/1/2026"), before);
    EXPECT_FALSE(doc.isModified());
}

TEST_F(DraftImport, PaletteImportIsOneUndoStep)
{
    doc.Transaction("Pencil", [&](Edit s) { doc.SetThreadColors(s, Side::Threading, 2, 2, 3, 0); });
    const std::string edited = WifText(doc, "1/1/2026");
    doc.Transaction("Import Palette", [&](Edit e) {
        ASSERT_EQ(ImportPalette(e, doc, paletteFile({0xFF0000, 0xFFFFFF}), messages), ImportResult::Done);
    });
    const std::string imported = WifText(doc, "1/1/2026");
    ASSERT_EQ(doc.history().undoCount(), 2);
    doc.Undo();
    EXPECT_EQ(WifText(doc, "1/1/2026"), edited);
    doc.Undo(); // the color edit before, by its old index
    EXPECT_EQ(doc.palette().color(doc.threading(0)->GetColor(2)), 0x000000u);
    doc.Redo();
    doc.Redo();
    EXPECT_EQ(WifText(doc, "1/1/2026"), imported);
}

TEST_F(DraftImport, ProjectPlanBringsSettUnitsAndPlanValues)
{
    const auto rows = [&] {
        const std::string text = WifText(doc, "1/1/2026");
        const auto from = text.find("[THREADING]");
        return text.substr(from, text.find("[PRIVATE") - from);
    };
    const std::string before = rows();
    const std::string path = write("plan.wif",
                                   "[WIF]\nVersion=1.1\n[CONTENTS]\nWARP=true\nWEFT=true\nPRIVATE QUILLABY=true\n"
                                   "THREADING=true\n[WARP]\nUnits=Centimeters\nSpacing=0.2\nThreads=1\n"
                                   "[WEFT]\nUnits=Centimeters\nSpacing=0.25\n[THREADING]\n1=7\n"
                                   "[PRIVATE QUILLABY]\nVersion=1.1\nqlb1=40.00\nqlb3=3\nqlb9=2.00\nqlb13=55\n"
                                   "qlb16=Cotton 8/2\nqlb22=3\nqlb24=3\n");
    ASSERT_EQ(ImportProjectPlan(kUnrecorded, doc, path, messages), ImportResult::Done);
    EXPECT_EQ(doc.units(), 1);
    EXPECT_DOUBLE_EQ(doc.warpSett(), 5.0);
    EXPECT_DOUBLE_EQ(doc.weftSett(), 4.0);
    EXPECT_DOUBLE_EQ(doc.plan().itemWidth, 40.0);
    EXPECT_EQ(doc.plan().itemsOnWarp, 3);
    EXPECT_EQ(doc.plan().itemsOnWeft, 1); // missing reads as 1
    EXPECT_DOUBLE_EQ(doc.plan().drawIn, 2.0);
    EXPECT_EQ(doc.plan().loomWaste, 55);
    EXPECT_EQ(doc.plan().warpYarn, "Cotton 8/2");
    EXPECT_EQ(doc.plan().warpWeightUnit, 3);
    EXPECT_EQ(doc.notations().threading, 3);
    EXPECT_TRUE(doc.isModified());
    // Nothing else of the other draft.
    EXPECT_EQ(doc.numEnds(), 3);
    EXPECT_EQ(rows(), before);
}
