#include "core/yarn/yarnarchive.h"
#include "core/yarn/yarndatabase.h"
#include "core/yarn/yarndoc.h"
#include "core/yarn/yarnmessages.h"
#include "core/yarn/yarntext.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace qb;

namespace {

class YarnFiles : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("quillaby-yarn-test-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string path(const std::string& name) const { return (m_dir / name).string(); }
    void write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) const
    {
        std::ifstream in(path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path m_dir;
};

// Yarns whose texts a careless format would break.
std::vector<CYarn> awkwardYarns()
{
    return {
        CYarn("8/2; or 10/2", "cotton \"mercerized\"", 3360, 10, 24, "soft;\r\nwashes well\\n at 60\xC2\xB0"),
        CYarn(std::string(300, 's'), std::string(300, 'f'), 4294967295u, 100, 255, std::string(256, 'n')),
        CYarn("Nm 28/2", "Wolle \xE2\x80\x93 Schaf \xC3\xBC \xE7\xBE\x8A\xE6\xAF\x9B", 14000, 0, 0, "\\;\\\\;"),
        CYarn("-", "-", 0, 0, 0, ""),
    };
}

} // namespace

TEST(YarnText, LinesAsWritten)
{
    CYarn y("", "", 1200, 5, 24, " soft ");
    y.NormalizeForFile();
    EXPECT_EQ(YarnTextLine(y), "-; -; 1200; 5; 24; soft");
    EXPECT_EQ(YarnTextLine(CYarn("a;b", "c\\d", 1, 2, 3, "x\r\ny")), "a\\;b; c\\\\d; 1; 2; 3; x\\r\\ny");
}

TEST(YarnText, LinesAsRead)
{
    struct Case {
        const char* line;
        CYarn yarn;
        int clamped;
    };
    const Case cases[] = {
        {"8/2; cotton; 4200", CYarn("8/2", "cotton", 4200, 0, 0), 0},
        {"", CYarn(), 0},
        // Files written without escapes: a ";" in the notes ends them.
        {"8/2; cotton; 4200; 5; 24; soft;ish", CYarn("8/2", "cotton", 4200, 5, 24, "soft"), 0},
        // An empty field stays in its place.
        {"8/2;;1200", CYarn("8/2", "", 1200, 0, 0), 0},
        {"  12 ; wool ;  7abc; 3%; 20 epi", CYarn("12", "wool", 7, 3, 20), 0},
        {"s; f; 99999999999999999999; 300; -5", CYarn("s", "f", 4294967295u, 100, 0), 3},
        {"a\\;b; \\x; 1", CYarn("a;b", "\\x", 1, 0, 0), 0},
    };
    for (const Case& c : cases) {
        int clamped = 0;
        EXPECT_EQ(ParseYarnLine(c.line, &clamped), c.yarn) << c.line;
        EXPECT_EQ(clamped, c.clamped) << c.line;
    }
}

TEST(YarnText, WholeFiles)
{
    // LF or CR LF, a blank line is a yarn, a last line without its end counts.
    YarnTextRead r = ParseYarnText("a; b; 1\r\n\r\nc; d; 2\ne; f; 3", 100);
    ASSERT_EQ(r.yarns.size(), 4u);
    EXPECT_EQ(r.yarns[1], CYarn());
    EXPECT_EQ(r.yarns[3].fiber(), "f");
    EXPECT_FALSE(r.truncated);
    EXPECT_TRUE(ParseYarnText("", 100).yarns.empty());

    r = ParseYarnText("a\nb\nc\n", 2);
    EXPECT_EQ(r.yarns.size(), 2u);
    EXPECT_TRUE(r.truncated);

    // A line far longer than any buffer stays one yarn.
    const std::string longLine = std::string(1000, 'x') + "; y; 5";
    r = ParseYarnText(longLine + "\r\n" + longLine + "\r\n", 100);
    ASSERT_EQ(r.yarns.size(), 2u);
    EXPECT_EQ(r.yarns[0].size().size(), 1000u);
    EXPECT_EQ(r.yarns[1].density(), 5u);
}

TEST(YarnRecord, DisplayNameAndRanges)
{
    EXPECT_EQ(CYarn("8/2", "cotton", 0, 0, 0).DisplayName(), "8/2 cotton");
    EXPECT_EQ(CYarn("8", "cotton", 0, 0, 0).DisplayName(), "8 cotton");
    EXPECT_EQ(CYarn("-", "cotton", 0, 0, 0).DisplayName(), "cotton");
    EXPECT_EQ(CYarn("", "cotton", 0, 0, 0).DisplayName(), "cotton");
    CYarn y;
    EXPECT_FALSE(y.setShrinkage(300));
    EXPECT_EQ(y.shrinkage(), 100);
    EXPECT_FALSE(y.setSett(300));
    EXPECT_EQ(y.sett(), 255);
    EXPECT_FALSE(y.setSett(-1));
    EXPECT_EQ(y.sett(), 0);
    EXPECT_TRUE(y.setSett(44));
}

TEST_F(YarnFiles, BothFormatsRoundTripAwkwardYarns)
{
    for (const char* name : {"yarns.txt", "yarns.yrn", "YARNS.YRN"}) {
        CYarnDoc doc;
        for (const CYarn& y : awkwardYarns()) doc.Append(y);
        const YarnFileResult saved = doc.Save(path(name));
        ASSERT_TRUE(saved.ok) << saved.message;
        EXPECT_FALSE(doc.IsModified());
        CYarnDoc back;
        const YarnFileResult opened = back.Open(path(name));
        ASSERT_TRUE(opened.ok) << opened.message;
        EXPECT_TRUE(opened.message.empty()) << opened.message;
        EXPECT_FALSE(back.IsModified());
        ASSERT_EQ(back.count(), doc.count()) << name;
        for (int i = 0; i < doc.count(); ++i) EXPECT_EQ(back.yarn(i), doc.yarn(i)) << name << " yarn " << i;
        EXPECT_EQ(back.yarn(0).notes(), awkwardYarns()[0].notes()) << name;
        EXPECT_EQ(back.isArchive(), name != std::string("yarns.txt"));
    }
    // The text file is what a text editor shows: CR LF line ends, six fields.
    const std::string text = read("yarns.txt");
    EXPECT_EQ(text.rfind("8/2\\; or 10/2; cotton \"mercerized\"; 3360; 10; 24; soft\\;\\r\\nwashes", 0), 0u);
    EXPECT_NE(text.find("\r\n-; -; 0; 0; 0; \r\n"), std::string::npos);
}

TEST_F(YarnFiles, ArchiveLayout)
{
    CYarnDoc doc;
    doc.Append(CYarn("ab", std::string(300, 'f'), 0x01020304, 7, 200, ""));
    const std::string bytes = YarnArchiveBytes(doc);
    const std::string head("\x01\x00\x02"
                           "ab\xFF\x2C\x01",
                           8);
    EXPECT_EQ(bytes.substr(0, 8), head);
    EXPECT_EQ(bytes.substr(8 + 300), std::string("\x04\x03\x02\x01\x07\xC8\x00", 7));

    // 16-bit characters (0xFF 0xFFFE, then a length) read as UTF-8.
    const std::string wide("\x01\x00"
                           "\xFF\xFE\xFF\x02"
                           "A\x00\xFC\x00"
                           "\xFF\xFE\xFF\x02"
                           "\x3C\xD8\x0A\xDF"
                           "\x10\x00\x00\x00"
                           "\x05\x08"
                           "\x00",
                           25);
    const YarnArchiveRead r = ParseYarnArchive(wide);
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.yarns.size(), 1u);
    EXPECT_EQ(r.yarns[0], CYarn("A\xC3\xBC", "\xF0\x9F\x8C\x8A", 16, 5, 8));

    // A count of 0 is an empty database; shrinkage over 100 is brought down.
    EXPECT_TRUE(ParseYarnArchive(std::string("\0\0", 2)).ok);
    const YarnArchiveRead over = ParseYarnArchive(std::string("\x01\x00\x00\x00\x00\x00\x00\x00\xFA\x01\x00", 11));
    ASSERT_TRUE(over.ok);
    EXPECT_EQ(over.yarns[0].shrinkage(), 100);
    EXPECT_EQ(over.clamped, 1);
}

TEST_F(YarnFiles, DamagedArchivesAreRefused)
{
    CYarnDoc doc;
    for (const CYarn& y : awkwardYarns()) doc.Append(y);
    const std::string good = YarnArchiveBytes(doc);
    // Every file cut short is refused, none partly read.
    for (std::size_t n = 0; n < good.size(); ++n) {
        const YarnArchiveRead r = ParseYarnArchive(std::string_view(good).substr(0, n));
        ASSERT_FALSE(r.ok) << n;
        EXPECT_TRUE(r.yarns.empty());
        EXPECT_EQ(r.error, yarnmsg::kDamagedArchive);
    }
    // Lengths and counts that promise more than the file holds.
    const std::string lies[] = {
        std::string("\x01\x00\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 9),                                 // a 4 GB string
        std::string("\x01\x00\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 11) + std::string(20, 'x'), // 8 GB of 16-bit text
        std::string("\xFF\xFF") + std::string(100, '\0'),                          // 65535 yarns in 100 bytes
        std::string("\x01\x00\xFF\xFE\xFF\xFF\xFE\xFF", 8) + std::string(20, 'x'), // a wide marker twice
    };
    for (const std::string& bytes : lies) EXPECT_FALSE(ParseYarnArchive(bytes).ok);

    write("bad.yrn", lies[0]);
    CYarnDoc opened;
    opened.Append(CYarn("old", "yarn", 1, 1, 1));
    const YarnFileResult r = opened.Open(path("bad.yrn"));
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find(yarnmsg::kDamagedArchive), std::string::npos);
    EXPECT_EQ(opened.count(), 0);
}

TEST_F(YarnFiles, OpenTellsWhatItChanged)
{
    write("wide.txt", "8/2; cotton; 4200; 300; 300\r\n");
    CYarnDoc doc;
    YarnFileResult r = doc.Open(path("wide.txt"));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.message, yarnmsg::kOutOfRange);
    EXPECT_EQ(doc.yarn(0).shrinkage(), 100); // never 44
    EXPECT_EQ(doc.yarn(0).sett(), 255);

    r = doc.Open(path("missing.txt"));
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("missing.txt"), std::string::npos);
    EXPECT_FALSE(doc.Save(path("no/such/folder/x.txt")).ok);
}

TEST(YarnDoc, AppendDeleteAndSelect)
{
    CYarnDoc doc;
    CYarn* a = doc.AppendNew("8/2", "cotton", 3360, 10, 24);
    CYarn* b = doc.AppendNew("", "wool", 1600, 5, 12);
    EXPECT_TRUE(doc.IsModified());
    doc.SetModified(false);
    doc.setSelected(b);
    EXPECT_EQ(doc.selected(), b);
    CYarn stranger;
    EXPECT_FALSE(doc.Delete(&stranger));
    doc.setSelected(&stranger);
    EXPECT_EQ(doc.selected(), nullptr);
    EXPECT_FALSE(doc.IsModified());
    doc.setSelected(b);
    EXPECT_TRUE(doc.Delete(b));
    EXPECT_EQ(doc.selected(), nullptr);
    EXPECT_EQ(doc.count(), 1);
    EXPECT_EQ(doc.indexOf(a), 0);
    EXPECT_EQ(DistinctFibers(doc), std::vector<std::string>{"cotton"});

    // The archive counts in 16 bits: a full database takes no more.
    while (doc.count() < kMaxYarns) doc.AppendNew("8/2", "cotton", 1, 1, 1);
    EXPECT_EQ(doc.AppendNew("one", "too many", 1, 1, 1), nullptr);
    EXPECT_EQ(DistinctSizes(doc), std::vector<std::string>{"8/2"});
}
