#include "tests/core/wif/testmessages.h"

#include "core/draft/quillabydoc.h"
#include "core/wif/wifreader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>

using namespace qb;

namespace {

struct Opened {
    CQuillabyDoc doc;
    RecordingMessages messages;
    bool ok = false;
    std::string error;
};

std::unique_ptr<Opened> openFile(const std::string& name, LiftplanChoice choice = LiftplanChoice::Ask,
                                 bool answer = false)
{
    auto o = std::make_unique<Opened>();
    o->messages = RecordingMessages(answer);
    WifReadOptions opt;
    opt.liftplan = choice;
    o->ok = ReadWifFile(testData("wif/" + name), o->doc, o->messages, opt, &o->error);
    return o;
}

std::unique_ptr<Opened> openText(const std::string& text, LiftplanChoice choice = LiftplanChoice::Ask)
{
    auto o = std::make_unique<Opened>();
    WifReadOptions opt;
    opt.liftplan = choice;
    const IniFile ini(text);
    WifReader reader(ini, o->messages);
    o->ok = reader.open(o->doc, opt, &o->error);
    return o;
}

const std::string kHead = "[WIF]\nVersion=1.1\n";

} // namespace

TEST(WifReader, VersionIsOnlyCheckedForPresence)
{
    auto o = openFile("edges.wif");
    ASSERT_TRUE(o->ok) << o->error;

    for (const char* text : {"[WIF]\nDate=1/1/2000\n", "[WIF]\nVersion=\n", "[CONTENTS]\nTEXT=true\n", ""}) {
        auto bad = openText(text);
        EXPECT_FALSE(bad->ok) << text;
        ASSERT_EQ(bad->messages.told.size(), 1u);
        EXPECT_EQ(bad->messages.told[0], "WIF Version  is not\nsupported by this application.");
    }
}

TEST(WifReader, ReadsTextsNotesAndSource)
{
    auto o = openFile("edges.wif");
    ASSERT_TRUE(o->ok);
    const CQuillabyDoc& d = o->doc;
    EXPECT_EQ(d.source(), "Loom Tool, version 2.1");
    EXPECT_EQ(d.title(), "First line\r\nSecond line");
    // Notes: line 2 is missing, so line 3 is never reached.
    EXPECT_EQ(d.notes(), "Note one\r\nafter a break\r\n");
    // An address keeps its "//"; the extras are appended with their captions.
    EXPECT_EQ(d.author(), "A. Weaver\r\nhttp://example.org/weaver\r\nEmail: weaver@example.org\r\nTelephone: 555 0100");
}

TEST(WifReader, UrlsInTextsAreNoLineBreaks)
{
    auto o = openText(kHead
                      + "[CONTENTS]\nNOTES=1\nTEXT=1\n[NOTES]\n1=see https://example.org/a//next\n"
                        "[TEXT]\nAuthor=me//http://x.org\n");
    EXPECT_EQ(o->doc.notes(), "see https://example.org/a\r\nnext\r\n");
    EXPECT_EQ(o->doc.author(), "me\r\nhttp://x.org");
}

TEST(WifReader, WrapsLongTitlesAndNotesBelowSixtyColumns)
{
    std::string words;
    for (int i = 0; i < 30; ++i) words += "word" + std::to_string(i % 10) + " ";
    const std::string longWord(70, 'w');
    auto o = openText(kHead + "[CONTENTS]\nNOTES=1\nTEXT=1\n[NOTES]\n1=" + words + "\n2=" + longWord
                      + " end\n[TEXT]\nTitle=" + words + "\n");
    ASSERT_TRUE(o->ok);
    for (const std::string* text : {&o->doc.notes(), &o->doc.title()}) {
        std::size_t pos = 0, lines = 0;
        while (pos < text->size()) {
            std::size_t end = text->find("\r\n", pos);
            if (end == std::string::npos) end = text->size();
            const std::size_t len = end - pos;
            if (text->compare(pos, len, longWord) != 0) {
                EXPECT_LT(len, 60u);
            }
            ++lines;
            pos = end + 2;
        }
        EXPECT_GE(lines, 3u);
    }
    // The over-long word stands alone on its line, nothing is lost.
    EXPECT_NE(o->doc.notes().find("\r\n" + longWord + "\r\nend\r\n"), std::string::npos);
}

TEST(WifReader, ShedFlagsFollowTheFlagRule)
{
    for (auto [value, rising] : {std::pair{"Yes", true}, {"ON", true}, {"true", true}, {"y", false}, {"no", false}}) {
        auto o = openText(kHead + "[CONTENTS]\nWEAVING=true\n[WEAVING]\nShafts=4\nRising Shed=" + value + "\n");
        ASSERT_TRUE(o->ok);
        EXPECT_EQ(o->doc.isRisingShed(), rising) << value;
    }
}

TEST(WifReader, ThreadingLineFormat)
{
    auto o = openFile("edges.wif");
    const Threading& t = *o->doc.threading(0);
    ASSERT_EQ(o->doc.numEnds(), 8);
    // Single warp: only the first number counts.
    EXPECT_EQ(t.GetShaft(0), 2);
    EXPECT_EQ(t.GetShaft(1), 4);
    EXPECT_EQ(t.GetSymbol(1), 'x');
    EXPECT_EQ(t.GetSymbol(3), 'y');
    ASSERT_NE(t.FindLabel(1, 6), nullptr);
    EXPECT_EQ(t.FindLabel(1, 6)->text, "border");
    // "[-]" leaves row 0 free; the next item goes to row 1.
    ASSERT_EQ(t.labelRow(1).size(), 1u);
    EXPECT_EQ(t.labelRow(1)[0], (Label{4, 2, "two"}));
    // A missing line leaves the end unthreaded.
    EXPECT_EQ(t.GetShaft(6), 0);
    // Shaft 9 is above the declared 4 but within 64: the loom grows to hold it.
    EXPECT_EQ(t.GetShaft(7), 9);
    EXPECT_EQ(o->doc.numShafts(), 9);
    EXPECT_TRUE(o->messages.told.empty());
}

TEST(WifReader, LabelsAndCharactersNeedTheirFlags)
{
    const std::string body = kHead
        + "[CONTENTS]\nTHREADING=true\nPRIVATE QUILLABY=true\n[WARP]\nThreads=2\n"
          "[THREADING]\n1=4 ;[6]border ;x\n2=3 ;7\n[PRIVATE QUILLABY]\n";
    auto off = openText(body);
    EXPECT_EQ(off->doc.threading(0)->GetShaft(0), 4);
    EXPECT_EQ(off->doc.threading(0)->LabelRowCount(), 0);
    EXPECT_FALSE(off->doc.threading(0)->HasSymbols());
    auto on = openText(body + "qlb28=true\nqlb30=true\n");
    const Threading& t = *on->doc.threading(0);
    EXPECT_EQ(t.GetSymbol(0), 'x');
    // A digit is a character when the line carries characters.
    EXPECT_EQ(t.GetSymbol(1), '7');
    EXPECT_EQ(t.GetShaft(1), 3);
    // The label is cut to the 2 ends that exist.
    EXPECT_EQ(t.labelRow(0), (std::vector<Label>{{0, 2, "border"}}));
}

TEST(WifReader, SemicolonSeparatesWarpNumbersWithoutCharacters)
{
    auto o = openText(kHead
                      + "[CONTENTS]\nTHREADING=true\n[WARP]\nThreads=1\n[THREADING]\n1=3;5\n"
                        "[PRIVATE QUILLABY]\nqlb41=2\n");
    EXPECT_EQ(o->doc.threading(0)->GetShaft(0), 3);
    EXPECT_EQ(o->doc.threading(1)->GetShaft(0), 5);
}

TEST(WifReader, MultiTreadleLinesAndSeveralWefts)
{
    auto one = openFile("multiweft.wif");
    ASSERT_TRUE(one->ok);
    const Treadling& t = *one->doc.treadling(0);
    EXPECT_TRUE(t.GetSet(0).test(3) && t.GetSet(0).test(5));
    EXPECT_EQ(t.GetSet(0).count(), 2);
    EXPECT_TRUE(t.multiple());
    EXPECT_TRUE(t.GetSet(2).empty());
    EXPECT_EQ(one->doc.threading(0)->GetShaft(0), 2);

    // The same file with two wefts and two warps: the k-th number goes to row k.
    std::ifstream in(testData("wif/multiweft.wif"));
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    text.replace(text.find("qlb41=1"), 7, "qlb41=2");
    text.replace(text.find("qlb42=1"), 7, "qlb42=2");
    auto two = openText(text);
    ASSERT_EQ(two->doc.numWefts(), 2);
    EXPECT_EQ(two->doc.treadling(0)->GetSet(0), TreadleSet(1u << 2, 0));
    EXPECT_EQ(two->doc.treadling(1)->GetSet(0), TreadleSet(1u << 4, 0));
    EXPECT_FALSE(two->doc.treadling(0)->multiple());
    EXPECT_EQ(two->doc.threading(0)->GetShaft(0), 2);
    EXPECT_EQ(two->doc.threading(1)->GetShaft(0), 7);
    EXPECT_EQ(two->doc.threading(1)->GetShaft(1), 0);
}

TEST(WifReader, HundredShaftsAreCutWithOneMessagePerKind)
{
    auto o = openFile("shafts100.wif");
    ASSERT_TRUE(o->ok);
    EXPECT_EQ(o->doc.numShafts(), 64);
    EXPECT_EQ(o->doc.threading(0)->GetShaft(1), 0);
    EXPECT_EQ(o->doc.threading(0)->GetShaft(2), 64);
    EXPECT_TRUE(o->doc.tieup().cell(0, 64));
    EXPECT_FALSE(o->doc.isRisingShed());
    EXPECT_EQ(o->messages.told,
              (std::vector<std::string>{"Uh oh. Number of shafts reduced to 64.\nSome loss of detail may occur.",
                                        "Uh oh. Number of treadles reduced to 2.\nSome loss of detail may occur."}));
}

TEST(WifReader, LiftplanChoice)
{
    auto no = openFile("bothforms.wif", LiftplanChoice::Ask, false);
    ASSERT_EQ(no->messages.asked.size(), 1u);
    EXPECT_EQ(no->messages.asked[0],
              "This draft includes a liftplan as well as a tieup and treadling.\nDo you want to load the liftplan?");
    EXPECT_FALSE(no->doc.isLiftplan());
    EXPECT_TRUE(no->doc.tieup().cell(0, 1));

    auto yes = openFile("bothforms.wif", LiftplanChoice::Ask, true);
    EXPECT_TRUE(yes->doc.isLiftplan());
    EXPECT_EQ(yes->doc.treadling(0)->GetSet(0).shafts(), TUPTYPE(0b0101));
    EXPECT_TRUE(yes->doc.treadling(0)->multiple());
    EXPECT_EQ(yes->doc.numTreadles(), yes->doc.numShafts());

    auto quiet = openFile("bothforms.wif", LiftplanChoice::Liftplan);
    EXPECT_TRUE(quiet->messages.asked.empty());
    EXPECT_TRUE(quiet->doc.isLiftplan());
    auto tread = openFile("bothforms.wif", LiftplanChoice::Treadling);
    EXPECT_TRUE(tread->messages.asked.empty());
    EXPECT_FALSE(tread->doc.isLiftplan());
}

TEST(WifReader, UnflaggedFormsAreFoundByTheirFirstLine)
{
    auto o = openText(kHead + "[WEFT]\nThreads=1\n[LIFTPLAN]\n1=2,3\n");
    EXPECT_TRUE(o->doc.isLiftplan());
    EXPECT_EQ(o->doc.numShafts(), 3);
    EXPECT_EQ(o->doc.numTreadles(), 3);
}

TEST(WifReader, MismatchedUnitsConvertTheWeft)
{
    auto o = openFile("units.wif");
    EXPECT_EQ(o->doc.units(), 0);
    EXPECT_NEAR(o->doc.weftSpacing(), 0.25 / 2.54, 1e-4);
    EXPECT_EQ(o->messages.told,
              (std::vector<std::string>{"Warp and weft measurement units do not match.\n"
                                        "Converting weft values to ENGLISH equivalents."}));
    auto dp = openText(kHead + "[CONTENTS]\nWARP=true\n[WARP]\nUnits=Decipoints\nSpacing=72\n");
    EXPECT_NEAR(dp->doc.warpSett(), 10.0, 1e-9);
}

TEST(WifReader, PaletteRangeNamesAndLimits)
{
    auto o = openFile("range65535.wif");
    const ColorPalette& p = o->doc.palette();
    ASSERT_EQ(p.count(), 2);
    EXPECT_EQ(p.color(0), rgb(255, 128, 0));
    EXPECT_EQ(p.color(1), rgb(0, 255, 1));
    EXPECT_EQ(p.name(1), "color2");

    auto e = openFile("edges.wif");
    // Everything after the third number is the name, commas included.
    EXPECT_EQ(e->doc.palette().name(1), "Navy, dark");
    EXPECT_EQ(e->doc.threading(0)->defaultColor(), 1);

    std::string many = kHead + "[CONTENTS]\nCOLOR TABLE=true\n[COLOR   PALETTE]\nEntries=120\n[COLOR  TABLE]\n";
    for (int i = 1; i <= 120; ++i) many += std::to_string(i) + "=" + std::to_string(i) + ",300,-4\n";
    auto big = openText(many);
    // No threads: the two default colors are all the draft uses.
    ASSERT_EQ(big->doc.palette().count(), 2);
    EXPECT_EQ(big->doc.palette().color(1), rgb(2, 255, 0));
    EXPECT_TRUE(big->messages.told.empty());

    auto none = openText(kHead + "[CONTENTS]\nCOLOR TABLE=true\n");
    EXPECT_EQ(none->doc.palette().colors(), (std::vector<COLORREF>{0x000000, 0xFFFFFF}));
}

namespace {
// A draft whose palette has `entries` colors (color i is rgb(i, 255 - i, 7i))
// and whose ends use the file colors `ends` and picks `picks`.
std::string bigPalette(int entries, const std::vector<int>& ends, const std::vector<int>& picks)
{
    std::string t = kHead
        + "[CONTENTS]\nCOLOR PALETTE=true\nCOLOR TABLE=true\nWARP=true\nWEFT=true\nTHREADING=true\n"
          "TREADLING=true\nWARP COLORS=true\nWEFT COLORS=true\nWEAVING=true\n"
          "[WEAVING]\nShafts=2\nTreadles=2\nRising Shed=true\n"
          "[WARP]\nColor="
        + std::to_string(ends.back()) + "\nThreads=" + std::to_string(ends.size())
        + "\n[WEFT]\nColor=" + std::to_string(picks.back()) + "\nThreads=" + std::to_string(picks.size())
        + "\n[COLOR PALETTE]\nEntries=" + std::to_string(entries) + "\nRange=0,255\n[COLOR TABLE]\n";
    for (int i = 1; i <= entries; ++i)
        t += std::to_string(i) + "=" + std::to_string(i) + "," + std::to_string(255 - i) + ","
            + std::to_string(7 * i % 256) + ",shade " + std::to_string(i) + "\n";
    t += "[THREADING]\n";
    for (std::size_t e = 0; e < ends.size(); ++e) t += std::to_string(e + 1) + "=" + std::to_string(1 + e % 2) + "\n";
    t += "[TREADLING]\n";
    for (std::size_t p = 0; p < picks.size(); ++p) t += std::to_string(p + 1) + "=" + std::to_string(1 + p % 2) + "\n";
    t += "[WARP COLORS]\n";
    for (std::size_t e = 0; e < ends.size(); ++e) t += std::to_string(e + 1) + "=" + std::to_string(ends[e]) + "\n";
    t += "[WEFT COLORS]\n";
    for (std::size_t p = 0; p < picks.size(); ++p) t += std::to_string(p + 1) + "=" + std::to_string(picks[p]) + "\n";
    return t;
}
COLORREF fileColor(int i)
{
    return rgb(i, 255 - i, 7 * i % 256);
}
} // namespace

TEST(WifReader, LargePalettesKeepTheColorsInUse)
{
    // 236 entries, a few of them used, many above 90.
    const std::vector<int> ends = {1, 91, 150, 236, 100, 91, 200};
    const std::vector<int> picks = {236, 5, 180, 5};
    auto o = openText(bigPalette(236, ends, picks));
    ASSERT_TRUE(o->ok) << o->error;
    EXPECT_TRUE(o->messages.told.empty());
    const ColorPalette& p = o->doc.palette();
    // Exactly the used entries, in the file's order, names kept.
    const std::vector<int> used = {1, 5, 91, 100, 150, 180, 200, 236};
    ASSERT_EQ(p.count(), int(used.size()));
    for (std::size_t k = 0; k < used.size(); ++k) {
        EXPECT_EQ(p.color(int(k)), fileColor(used[k]));
        EXPECT_EQ(p.name(int(k)), "shade " + std::to_string(used[k]));
    }
    for (std::size_t e = 0; e < ends.size(); ++e)
        EXPECT_EQ(p.color(o->doc.threading(0)->GetColor(int(e))), fileColor(ends[e])) << "end " << e;
    for (std::size_t q = 0; q < picks.size(); ++q)
        EXPECT_EQ(p.color(o->doc.treadling(0)->GetColor(int(q))), fileColor(picks[q])) << "pick " << q;
    EXPECT_EQ(p.color(o->doc.threading(0)->defaultColor()), fileColor(200));

    // The palette import follows the same rule.
    const std::string path = ::testing::TempDir() + "bigpalette.wif";
    std::ofstream(path) << bigPalette(236, ends, picks);
    ColorPalette imported;
    RecordingMessages quiet;
    EXPECT_EQ(ReadWifPalette(path, imported, quiet), int(used.size()));
    EXPECT_EQ(imported.colors(), p.colors());

    // More than 90 colors in use: the first 90, with the message; threads
    // beyond them keep their row's default color.
    std::vector<int> many;
    for (int i = 1; i <= 120; ++i) many.push_back(i);
    auto cut = openText(bigPalette(150, many, {3}));
    ASSERT_EQ(cut->doc.palette().count(), 90);
    EXPECT_EQ(cut->messages.told, (std::vector<std::string>{"Only the first 90 colors will be loaded.\n"}));
    EXPECT_EQ(cut->doc.palette().color(cut->doc.threading(0)->GetColor(10)), fileColor(11));
    EXPECT_EQ(cut->doc.threading(0)->GetColor(100), cut->doc.threading(0)->defaultColor());
}

TEST(WifReader, ThickThreadsAndRatio)
{
    auto o = openFile("thick.wif");
    const Threading& t = *o->doc.threading(0);
    EXPECT_EQ(t.GetThick(0), 0);
    EXPECT_EQ(t.GetThick(1), 2); // 0.30 over 0.1 is ratio 2, not 1
    EXPECT_EQ(t.GetThick(3), 0);
    // A base spacing of 0.001 or less counts as 0.1.
    EXPECT_EQ(o->doc.treadling(0)->GetThick(0), 1);
}

TEST(WifReader, WeavingRunMarkersAndPick)
{
    auto o = openFile("edges.wif");
    const WeavingRunState& w = o->doc.weaving();
    EXPECT_EQ(w.currentPick, 99);
    EXPECT_EQ(w.markers, (std::vector<int>{3, 99}));
    EXPECT_EQ(w.repeatCount, 0);
    EXPECT_TRUE(w.reverse);
    EXPECT_TRUE(w.loop);
    EXPECT_TRUE(w.savedState);
}

TEST(WifReader, PrivateKeyRules)
{
    auto o = openText(kHead
                      + "[CONTENTS]\nPRIVATE QUILLABY=true\n[PRIVATE QUILLABY]\nVersion=1.1\n"
                        "qlb3=0\nqlb10=-3\nqlb18=60000\nqlb24=2\nqlb25=5\nqlb26=5\nqlb27=4\n"
                        "qlb40=5\nqlb41=0\nqlb42=7\nqlb51=1\nqlb58=100000\nqlb63=false\nqlb65=true\n");
    const CQuillabyDoc& d = o->doc;
    EXPECT_EQ(d.plan().itemsOnWarp, 1);
    EXPECT_EQ(d.plan().itemsOnWeft, 1);
    EXPECT_EQ(d.plan().shrinkageWidth, 0);
    EXPECT_EQ(d.plan().warpDensity, 60000);
    EXPECT_EQ(d.notations().threading, DisplayNotations().threading); // 2 is no threading notation
    EXPECT_EQ(d.notations().treadling, 5);
    EXPECT_EQ(d.notations().tieup, DisplayNotations().tieup);
    EXPECT_EQ(d.notations().drawdown, 4);
    EXPECT_EQ(d.correlationSide(), 0);
    EXPECT_EQ(d.numWarps(), 1);
    EXPECT_EQ(d.numWefts(), 4);
    EXPECT_EQ(d.blocks().numBlocks, 2);
    EXPECT_EQ(d.blocks().patternTreadlesPerBlock, 128);
    EXPECT_FALSE(d.blocks().automaticallyGenerated);

    auto nine = openText(kHead + "[CONTENTS]\nPRIVATE QUILLABY=true\n[PRIVATE QUILLABY]\nqlb51=9\nqlb1=50\nqlb9=10\n");
    EXPECT_EQ(nine->doc.blocks().numBlocks, 8);
    // Before private version 1 the draw-in was a percentage of the width.
    EXPECT_DOUBLE_EQ(nine->doc.plan().drawIn, 5.0);

    // Without the CONTENTS flag the new-draft values stay.
    auto unflagged = openText(kHead + "[PRIVATE QUILLABY]\nqlb3=7\nqlb42=2\n");
    EXPECT_EQ(unflagged->doc.plan().itemsOnWarp, 1);
    EXPECT_EQ(unflagged->doc.numWefts(), 2);
}

// Plan values the planner's pages would refuse come in at the nearest value
// they accept; unit choices stay inside their lists.
TEST(WifReader, PlanCountsAndUnitsComeInRange)
{
    auto o = openText(kHead
                      + "[CONTENTS]\nPRIVATE QUILLABY=true\n[PRIVATE QUILLABY]\nVersion=1.1\n"
                        "qlb3=1000\nqlb4=99999999999\nqlb15=7\nqlb20=2\nqlb21=-1\nqlb22=9\nqlb23=3\n");
    const ProjectPlanValues& p = o->doc.plan();
    EXPECT_EQ(p.itemsOnWarp, kMaxItemsOnWarp);
    EXPECT_EQ(p.itemsOnWeft, kMaxItemsOnWeft);
    EXPECT_EQ(p.lengthUnit, 1);
    EXPECT_EQ(p.warpQuantityUnit, 1);
    EXPECT_EQ(p.weftQuantityUnit, 0);
    EXPECT_EQ(p.warpWeightUnit, 3);
    EXPECT_EQ(p.weftWeightUnit, 3);
}

TEST(WifReader, HugeCountsAreCutBeforeUse)
{
    auto o = openFile("hugecounts.wif");
    ASSERT_TRUE(o->ok);
    const CQuillabyDoc& d = o->doc;
    EXPECT_EQ(d.numEnds(), 32768);
    EXPECT_EQ(d.numPicks(), 0);
    EXPECT_EQ(d.numWarps(), 4);
    EXPECT_EQ(d.numWefts(), 1);
    EXPECT_GE(d.numShafts(), 1);
    EXPECT_GE(d.numTreadles(), 1);
    EXPECT_EQ(d.threading(3)->GetCount(), 32768);
    // A default color beyond the palette falls back to a valid one.
    EXPECT_LT(d.threading(0)->defaultColor(), d.palette().count());
    EXPECT_EQ(d.blocks().numBlocks, 8);
    EXPECT_EQ(d.tieupKeys().size(), 256u);
}

TEST(WifReader, ManyLabelsReadInLinearTime)
{
    std::string text =
        kHead + "[CONTENTS]\nTHREADING=1\n[WARP]\nThreads=32768\n[PRIVATE QUILLABY]\nqlb30=1\n[THREADING]\n";
    for (int e = 1; e <= 32768; ++e) text += std::to_string(e) + "=1 ;[2]a[1]b[1]c\n";
    const auto start = std::chrono::steady_clock::now();
    auto o = openText(text);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const Threading& t = *o->doc.threading(0);
    EXPECT_EQ(t.labelRow(0).size(), 16384u); // every other 2-end label fits row 0
    EXPECT_EQ(t.labelRow(0)[1], (Label{2, 2, "a"}));
    EXPECT_LT(seconds, 5.0);
}

TEST(WifReader, FileWithoutWeavingStillHasALoom)
{
    auto o = openText(kHead
                      + "[CONTENTS]\nTHREADING=true\nTREADLING=true\nTIEUP=true\n[WARP]\nThreads=2\n"
                        "[WEFT]\nThreads=1\n[THREADING]\n1=3\n2=1\n[TREADLING]\n1=2\n[TIEUP]\n2=1,3\n");
    ASSERT_TRUE(o->ok);
    EXPECT_EQ(o->doc.numShafts(), 3);
    EXPECT_EQ(o->doc.numTreadles(), 2);
    EXPECT_TRUE(o->doc.tieup().cell(1, 3));
    auto empty = openText(kHead);
    EXPECT_GE(empty->doc.numShafts(), 1);
    EXPECT_GE(empty->doc.numTreadles(), 1);
    EXPECT_EQ(empty->doc.palette().count(), 2);
}

TEST(WifReader, ThreadColorsAndMouseColors)
{
    auto o = openText(kHead
                      + "[CONTENTS]\nCOLOR TABLE=true\nWARP=true\nWEFT=true\nTHREADING=true\nWARP COLORS=true\n"
                        "TREADLING=true\nWEFT COLORS=true\n[COLOR PALETTE]\nEntries=3\n[COLOR TABLE]\n"
                        "1=0,0,0\n2=1,1,1\n3=2,2,2\n[WARP]\nThreads=3\nColor=2\n[WEFT]\nThreads=2\nColor=9\n"
                        "[WARP COLORS]\n1=3\n2=4\n3=0\n[WEFT COLORS]\n1=1,3\n2=3\n[PRIVATE QUILLABY]\nqlb42=2\n");
    const Threading& t = *o->doc.threading(0);
    EXPECT_EQ(t.GetColor(0), 2);
    EXPECT_EQ(t.GetColor(1), 1); // 4 is no palette color: the default stays
    EXPECT_EQ(t.GetColor(2), 1);
    EXPECT_EQ(t.defaultColor(), 1);
    EXPECT_EQ(o->doc.treadling(0)->defaultColor(), 0); // Color=9 is beyond the palette
    EXPECT_EQ(o->doc.treadling(1)->GetColor(0), 2);
    EXPECT_EQ(o->doc.treadling(1)->GetColor(1), 0);
    EXPECT_EQ(o->doc.palette().leftColor(), 2);
    EXPECT_EQ(o->doc.palette().rightColor(), 0);
}

TEST(WifReader, StructureDraftReadsItsTieupKeys)
{
    auto o = openText(kHead
                      + "[CONTENTS]\nWEAVING=true\nTREADLING=true\nLIFTPLAN=true\nPRIVATE QUILLABY=true\n"
                        "[WEAVING]\nShafts=4\nTreadles=4\n[WEFT]\nThreads=1\n[TREADLING]\n1=1\n"
                        "[LIFTPLAN]\n1=1,2\n2=3\n7=4\n[PRIVATE QUILLABY]\nqlb50=true\nqlb51=2\nqlb58=2\n"
                        "qlb63=false\nqlb28=true\n");
    const CQuillabyDoc& d = o->doc;
    EXPECT_TRUE(o->messages.asked.empty());
    EXPECT_FALSE(d.isLiftplan());
    EXPECT_FALSE(d.notations().threadingSymbols);
    ASSERT_EQ(d.tieupKeys().size(), 4u);
    ASSERT_TRUE(d.tieupKeys()[0]);
    EXPECT_EQ(d.tieupKeys()[0]->column(0), TUPTYPE(0b11));
    EXPECT_EQ(d.tieupKeys()[0]->column(1), TUPTYPE(0b100));
    EXPECT_FALSE(d.tieupKeys()[1]);
    EXPECT_FALSE(d.tieupKeys()[2]);
    ASSERT_TRUE(d.tieupKeys()[3]);
    EXPECT_TRUE(d.tieupKeys()[3]->isStored());
    EXPECT_TRUE(d.hasTieupKeys());
}
