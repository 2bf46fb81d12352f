#include "core/wif/inifile.h"
#include "core/wif/iniwriter.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

using qb::IniFile;
using qb::IniWriter;

namespace {

const IniFile& sample()
{
    static const IniFile ini("\xEF\xBB\xBF"
                             "stray=before any section\r\n"
                             "[Weaving]\r\n"
                             "Shafts = 8 \r\n"
                             "shafts=12\r\n"
                             "; a comment line has no equals sign\r\n"
                             "just words\r\n"
                             "Quoted=\"  padded  \"\n"
                             "Single='x'\n"
                             "Half=\"open\n"
                             "Empty=\r"
                             "Nothing=NotFound\r"
                             "Url=http://host/path\r\n"
                             "Long=0123456789\r\n"
                             "[ weaving ]\n"
                             "Shafts=99\n"
                             "Late=here\n"
                             "[COLOR   PALETTE]\n"
                             "Entries=3\n");
    return ini;
}

} // namespace

TEST(IniFile, NamesIgnoreCaseAndFirstKeyWins)
{
    const IniFile& ini = sample();
    EXPECT_EQ(ini.text("WEAVING", "SHAFTS", 64), "8");
    // A repeated section header continues the section; earlier keys still win.
    EXPECT_EQ(ini.text("weaving", "Late", 64), "here");
    EXPECT_FALSE(ini.find("Weaving", "stray"));
    EXPECT_FALSE(ini.find("Weaving", "just words"));
    // Blanks inside a section name are significant.
    EXPECT_TRUE(ini.hasSection("COLOR   PALETTE"));
    EXPECT_FALSE(ini.hasSection("COLOR PALETTE"));
}

TEST(IniFile, ValuesTrimmedOfBlanksAndOnePairOfQuotes)
{
    const IniFile& ini = sample();
    EXPECT_EQ(ini.text("Weaving", "Quoted", 64), "  padded  ");
    EXPECT_EQ(ini.text("Weaving", "Single", 64), "x");
    EXPECT_EQ(ini.text("Weaving", "Half", 64), "\"open");
}

TEST(IniFile, ReadTextMissingEmptyNotFoundAndBufferCut)
{
    const IniFile& ini = sample();
    std::string v = "junk";
    EXPECT_TRUE(ini.readText("Weaving", "Empty", 64, v));
    EXPECT_EQ(v, "");
    EXPECT_FALSE(ini.readText("Weaving", "Nothing", 64, v));
    EXPECT_FALSE(ini.readText("Weaving", "Absent", 64, v));
    EXPECT_FALSE(ini.readText("Nowhere", "Shafts", 64, v));
    EXPECT_EQ(ini.text("Weaving", "Long", 5), "0123");
    EXPECT_EQ(ini.text("Weaving", "Long", 1), "");
    EXPECT_EQ(ini.text("Weaving", "Long", IniFile::kUnbounded), "0123456789");
}

TEST(IniFile, DoubleSlashBecomesLineBreakOnRequest)
{
    const IniFile& ini = sample();
    EXPECT_EQ(ini.text("Weaving", "Url", 64), "http:\r\nhost/path");
    EXPECT_EQ(ini.text("Weaving", "Url", 64, false), "http://host/path");
    const IniFile odd("[T]\nA=a///b\nB=////\n");
    EXPECT_EQ(odd.text("T", "A", 64), "a\r\n/b");
    EXPECT_EQ(odd.text("T", "B", 64), "\r\n\r\n");
}

struct FlagCase {
    const char* value;
    bool expected;
};

class IniFlag : public testing::TestWithParam<FlagCase> {};

TEST_P(IniFlag, Reads)
{
    const IniFile ini(std::string("[S]\nK=") + GetParam().value + "\n");
    EXPECT_EQ(ini.readFlag("S", "K"), GetParam().expected) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Table, IniFlag,
                         testing::Values(FlagCase{"true", true}, FlagCase{"TRUE", true}, FlagCase{"on", true},
                                         FlagCase{"ON", true}, FlagCase{"Yes", true}, FlagCase{" yes ", true},
                                         FlagCase{"1", true}, FlagCase{"y", false}, FlagCase{"01", false},
                                         FlagCase{"True.", false}, FlagCase{"false", false}, FlagCase{"", false},
                                         FlagCase{"2", false}));

struct IntCase {
    const char* value;
    int expected;
};

class IniInt : public testing::TestWithParam<IntCase> {};

TEST_P(IniInt, Reads)
{
    const IniFile ini(std::string("[S]\nK=") + GetParam().value + "\n");
    EXPECT_EQ(ini.readInt("S", "K"), GetParam().expected) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Table, IniInt,
                         testing::Values(IntCase{"12", 12}, IntCase{"12abc", 12}, IntCase{"-5", -5}, IntCase{"abc", -1},
                                         IntCase{"", -1}, IntCase{"-", -1}, IntCase{"32766", 32766},
                                         IntCase{"32767", -1}, IntCase{"32768", -1},
                                         IntCase{"99999999999999999999999", -1}, IntCase{"0", 0}, IntCase{"+4", -1},
                                         IntCase{"NotFound", -1}));

TEST(IniFile, Int64HasNoCutAndSaturates)
{
    const IniFile ini("[S]\nA=32768\nB=99999999999999999999999999\nC=x\n");
    EXPECT_EQ(ini.readInt64("S", "A"), 32768);
    EXPECT_GT(ini.readInt64("S", "B"), std::int64_t(1) << 58);
    EXPECT_EQ(ini.readInt64("S", "C"), -1);
    EXPECT_EQ(ini.readInt64("S", "missing"), -1);
}

struct RealCase {
    const char* value;
    double expected;
};

class IniReal : public testing::TestWithParam<RealCase> {};

TEST_P(IniReal, Reads)
{
    const IniFile ini(std::string("[S]\nK=") + GetParam().value + "\n");
    EXPECT_DOUBLE_EQ(ini.readReal("S", "K"), GetParam().expected) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Table, IniReal,
                         testing::Values(RealCase{"0.25", 0.25}, RealCase{"-1.5", -1.5}, RealCase{"+2", 2.0},
                                         RealCase{".5", 0.5}, RealCase{"5.", 5.0}, RealCase{"1e2", 100.0},
                                         RealCase{"1e", 1.0}, RealCase{"1e+", 1.0}, RealCase{"2.5cm", 2.5},
                                         RealCase{"0,30", 0.0}, RealCase{"abc", 0.0}, RealCase{"", 0.0},
                                         RealCase{"1e999", 0.0},
                                         // cut to 31 characters first
                                         RealCase{"0.0000000000000000000000000000001", 0.0}));

TEST(IniFile, RealsIgnoreTheProcessLocale)
{
    // A German locale writes and reads decimal commas through the C library;
    // draft files always use a point.
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        // Not installed: compile one of our own from the system's locale
        // sources (the `locales` package) and point the C library at it.
        namespace fs = std::filesystem;
        const fs::path dir = fs::temp_directory_path() / "quillaby-test-locales";
        if (!fs::exists(dir / "de_DE.UTF-8" / "LC_NUMERIC")) {
            const fs::path part = dir.string() + "." + std::to_string(::getpid());
            const std::string cmd =
                "localedef -c -i de_DE -f UTF-8 '" + (part / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
            fs::create_directories(part);
            if (std::system(cmd.c_str()) == 0) {
                std::error_code ec;
                fs::rename(part, dir, ec); // another run may have made it meanwhile
            }
            fs::remove_all(part);
        }
        ::setenv("LOCPATH", dir.c_str(), 1);
        if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no German locale here";
    }
    // The C library itself now writes a decimal comma.
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.2f", 0.3);
    EXPECT_STREQ(buf, "0,30");
    const IniFile ini("[S]\nK=0.30\n");
    EXPECT_DOUBLE_EQ(ini.readReal("S", "K"), 0.30);
    EXPECT_EQ(IniWriter::formatFixed(0.3, 2), "0.30");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(IniFile, LineEndsOfEveryKind)
{
    const IniFile ini("[A]\r\nx=1\r\n[B]\ny=2\n[C]\rz=3\r\n\n\r[D]\r\nw=4");
    EXPECT_EQ(ini.readInt("A", "x"), 1);
    EXPECT_EQ(ini.readInt("B", "y"), 2);
    EXPECT_EQ(ini.readInt("C", "z"), 3);
    EXPECT_EQ(ini.readInt("D", "w"), 4);
}

TEST(IniFile, BytesThatAreNoTextStillRead)
{
    static const char raw[] = "[T]\nTitle=caf\xE9 \xFF\xFE\0z\nNext=1\n";
    const IniFile ini(std::string(raw, sizeof raw - 1));
    EXPECT_EQ(ini.text("T", "Title", 350).size(), 9u);
    EXPECT_EQ(ini.readInt("T", "Next"), 1);
}

TEST(IniFile, SurvivesAMove)
{
    IniFile a("[S]\nk=v\n"); // short enough for the small-string buffer
    IniFile b = std::move(a);
    EXPECT_EQ(b.text("S", "k", 64), "v");
}

TEST(IniWriter, KeepsFirstWriteOrderAndReplacesInPlace)
{
    IniWriter w;
    w.set("WIF", "Version", "1.1");
    w.set("WARP", "Color", "2");
    w.set("WEFT", "Color", "1");
    w.set("warp", "Units", "Inches");
    w.set("WIF", "version", "1.2");
    w.setText("TEXT", "Title", "a\r\nb");
    w.setFlag("F", "on", true);
    w.setInt("F", "n", -3);
    w.setReal("F", "r", 0.305);
    EXPECT_EQ(w.bytes(),
              "[WIF]\r\nVersion=1.2\r\n\r\n"
              "[WARP]\r\nColor=2\r\nUnits=Inches\r\n\r\n"
              "[WEFT]\r\nColor=1\r\n\r\n"
              "[TEXT]\r\nTitle=a//b\r\n\r\n"
              "[F]\r\non=true\r\nn=-3\r\nr=0.30\r\n");
}

TEST(IniWriter, TextsReadBackWithTheirBlanksAndQuotes)
{
    IniWriter w;
    const std::string texts[] = {"'quoted'", "\"double\"", " lead", "trail ", "plain", "'half", ""};
    for (std::size_t i = 0; i < std::size(texts); ++i) w.setText("T", std::to_string(i), texts[i]);
    const IniFile ini(w.bytes());
    for (std::size_t i = 0; i < std::size(texts); ++i) EXPECT_EQ(ini.text("T", std::to_string(i), 64), texts[i]);
    EXPECT_NE(w.bytes().find("4=plain\r\n"), std::string::npos);
}

TEST(IniWriter, FormatFixedRoundsLikePrintf)
{
    EXPECT_EQ(IniWriter::formatFixed(1.1, 2), "1.10");
    EXPECT_EQ(IniWriter::formatFixed(0.125, 2), "0.12");
    EXPECT_EQ(IniWriter::formatFixed(1.0 / 12, 5), "0.08333");
    EXPECT_EQ(IniWriter::formatFixed(-2.5, 2), "-2.50");
}
