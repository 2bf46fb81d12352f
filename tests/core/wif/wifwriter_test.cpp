#include "tests/core/wif/testmessages.h"

#include "core/draft/quillabydoc.h"
#include "core/wif/inifile.h"
#include "core/wif/wifreader.h"
#include "core/wif/wifwriter.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace qb;
namespace fs = std::filesystem;

namespace {

std::unique_ptr<CQuillabyDoc> newDraft(int shafts = 4, int treadles = 4, bool liftplan = false)
{
    auto doc = std::make_unique<CQuillabyDoc>();
    NewDraftDefaults d;
    d.shafts = shafts;
    d.treadles = treadles;
    d.liftplan = liftplan;
    doc->OnNewDocument(d);
    return doc;
}

// The lines of one section, in file order.
std::vector<std::string> section(const std::string& text, const std::string& name)
{
    std::vector<std::string> lines;
    const std::size_t at = text.find("[" + name + "]\r\n");
    if (at == std::string::npos) return lines;
    std::size_t pos = at + name.size() + 4;
    while (pos < text.size() && text[pos] != '[') {
        const std::size_t end = text.find("\r\n", pos);
        if (end == pos) break;
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

std::vector<std::string> sectionOrder(const std::string& text)
{
    std::vector<std::string> names;
    for (std::size_t pos = 0; (pos = text.find("\r\n[", pos)) != std::string::npos; pos += 3)
        names.push_back(text.substr(pos + 3, text.find(']', pos) - pos - 3));
    return names;
}

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

TEST(WifWriter, SectionsInFirstWriteOrder)
{
    auto doc = newDraft();
    doc->raw().title = "T";
    doc->raw().notes = "n";
    doc->raw().paletteMutable().add(0x000000, true);
    Threading& t = *doc->raw().threadingMutable(0);
    t.Append(2);
    t.SetColor(1, 1);
    t.setDefaultColor(0);
    t.SetThick(0, true);
    Treadling& w = *doc->raw().treadlingMutable(0);
    w.Append(1);
    w.SetColor(0, 1);
    w.setDefaultColor(0);
    w.SetThick(0, true);
    const std::string text = WifText(*doc, "1/2/2003");
    EXPECT_EQ(text.rfind("[WIF]\r\nVersion=1.1\r\nDate=1/2/2003\r\nDevelopers=", 0), 0u);
    EXPECT_EQ(sectionOrder(text),
              (std::vector<std::string>{"CONTENTS", "WEAVING", "TEXT", "NOTES", "WARP", "WEFT", "COLOR PALETTE",
                                        "COLOR TABLE", "THREADING", "TREADLING", "TIEUP", "WARP COLORS", "WEFT COLORS",
                                        "WARP SPACING", "WEFT SPACING", "PRIVATE QUILLABY"}));
    EXPECT_EQ(section(text, "WARP"),
              (std::vector<std::string>{"Color=1", "Units=Inches", "Spacing=0.10000", "Threads=2"}));
    const auto contents = section(text, "CONTENTS");
    ASSERT_EQ(contents.size(), 28u);
    EXPECT_EQ(contents.front(), "COLOR PALETTE=true");
    EXPECT_EQ(contents.back(), "PRIVATE QUILLABY=true");
    EXPECT_EQ(section(text, "WIF")[4], "Source Version=8.0.4");
}

TEST(WifWriter, ThreadingLines)
{
    auto doc = newDraft();
    Threading& t = *doc->raw().threadingMutable(0);
    t.Append(3);
    t.SetValue(0, 3);
    t.SetValue(2, 4);
    EXPECT_EQ(section(WifText(*doc, ""), "THREADING"), (std::vector<std::string>{"1=3", "2=0", "3=4"}));

    t.SetSymbol(2, 'x');
    EXPECT_EQ(section(WifText(*doc, ""), "THREADING"), (std::vector<std::string>{"1=3", "2=0", "3=4 ;x"}));

    ASSERT_TRUE(doc->SetNumRows(kUnrecorded, Side::Threading, 2));
    t.AddLabelToRow(0, Label{0, 2, "bor;der[1]"});
    t.AddLabelToRow(2, Label{2, 1, "z"});
    const std::string text = WifText(*doc, "");
    EXPECT_EQ(section(text, "THREADING"),
              (std::vector<std::string>{"1=3,0 ;[2]bor,der(1)", "2=0,0", "3=4,0 ;[-][-][1]z ;x"}));
    EXPECT_NE(text.find("qlb28=true"), std::string::npos);
    EXPECT_NE(text.find("qlb30=true"), std::string::npos);
}

TEST(WifWriter, NothingBreaksTheLineGrammar)
{
    auto doc = newDraft();
    Threading& t = *doc->raw().threadingMutable(0);
    t.Append(4);
    for (int e = 0; e < 4; ++e) t.SetValue(e, 1);
    t.SetSymbol(0, ';');
    t.SetSymbol(1, '\n');
    t.SetSymbol(2, '[');
    t.SetSymbol(3, ']');
    t.AddLabel(Label{0, 1, "two\r\nlines"});
    doc->raw().paletteMutable().setName(0, "a\nb");
    const std::string text = WifText(*doc, "");
    EXPECT_EQ(section(text, "THREADING"), (std::vector<std::string>{"1=1 ;[1]two  lines", "2=1", "3=1", "4=1 ;]"}));
    EXPECT_EQ(section(text, "COLOR TABLE")[0], "1=255,255,255 ;a b");
}

TEST(WifWriter, TreadlingLiftplanAndTieupLines)
{
    auto doc = newDraft(8, 8);
    ASSERT_TRUE(doc->SetMultipleTreadles(kUnrecorded, true));
    Treadling& w = *doc->raw().treadlingMutable(0);
    w.Append(2);
    w.SetValue(0, 7);
    w.SetValue(0, 2);
    w.SetSymbol(0, 'q'); // no characters with multiple treadles
    doc->raw().tieupMutable().setColumn(2, TUPTYPE());
    std::string text = WifText(*doc, "");
    EXPECT_EQ(section(text, "TREADLING"), (std::vector<std::string>{"1=2,7", "2="}));
    const auto tieup = section(text, "TIEUP");
    EXPECT_EQ(tieup.size(), 7u);
    EXPECT_EQ(tieup[2], "4=4");
    EXPECT_NE(text.find("qlb29=false"), std::string::npos);

    auto lift = newDraft(4, 4, true);
    lift->raw().treadlingMutable(0)->SetShafts(0, TUPTYPE(0b1010));
    text = WifText(*lift, "");
    EXPECT_EQ(section(text, "LIFTPLAN"), (std::vector<std::string>{"1=2,4"}));
    EXPECT_TRUE(section(text, "TREADLING").empty());
    EXPECT_NE(text.find("TREADLING=false\r\nLIFTPLAN=true"), std::string::npos);

    auto two = newDraft(8, 8);
    ASSERT_TRUE(two->SetNumRows(kUnrecorded, Side::Treadling, 2));
    two->raw().treadlingMutable(1)->SetValue(0, 5);
    two->raw().treadlingMutable(0)->SetValue(1, 3);
    EXPECT_EQ(section(WifText(*two, ""), "TREADLING"), (std::vector<std::string>{"1=0,5", "2=3,0"}));
}

TEST(WifWriter, PaletteNotesThickAndPrivate)
{
    auto doc = newDraft();
    ColorPalette& p = doc->raw().paletteMutable();
    p.clear();
    p.add(rgb(255, 0, 0), false, "Red");
    p.add(rgb(0, 0, 0), false, "color7");
    p.add(rgb(1, 2, 3), false, "colorful");
    doc->raw().notes = "a\r\n\r\nb\r\n";
    Threading& t = *doc->raw().threadingMutable(0);
    t.Append(2);
    t.SetThick(1, true);
    t.SetRatio(2);
    doc->raw().setWarpSett(10, 0);
    doc->raw().weaving.markers = {3, 0, 99};
    doc->raw().treadlingMutable(0)->Append(5);
    doc->raw().weaving.loop = true;
    const std::string text = WifText(*doc, "");
    EXPECT_EQ(section(text, "COLOR TABLE"),
              (std::vector<std::string>{"1=255,0,0 ;Red", "2=0,0,0", "3=1,2,3 ;colorful"}));
    EXPECT_EQ(section(text, "COLOR PALETTE"), (std::vector<std::string>{"Entries=3", "Range=0,255"}));
    EXPECT_EQ(section(text, "NOTES"), (std::vector<std::string>{"1=a", "2=b"}));
    EXPECT_EQ(section(text, "WARP SPACING"), (std::vector<std::string>{"2=0.30"}));
    const auto priv = section(text, "PRIVATE QUILLABY");
    ASSERT_GE(priv.size(), 40u);
    EXPECT_EQ(priv[0], "Version=1.10");
    EXPECT_EQ(priv[1], "qlb1=0.00");
    EXPECT_EQ(priv[7], "qlb9=1.00");
    EXPECT_NE(std::find(priv.begin(), priv.end(), "qlb46=1"), priv.end());
    EXPECT_NE(std::find(priv.begin(), priv.end(), "qlb48=3,0"), priv.end());
    EXPECT_EQ(std::find(priv.begin(), priv.end(), "qlb7=0.00"), priv.end());
    EXPECT_EQ(priv.back(), "qlb78=0");
}

TEST(WifWriter, ColorSectionsOnlyWhenNeeded)
{
    auto doc = newDraft();
    Threading& t = *doc->raw().threadingMutable(0);
    t.Append(3); // all ends in the default color
    std::string text = WifText(*doc, "");
    EXPECT_NE(text.find("WARP COLORS=false"), std::string::npos);
    t.FillColors(0, 0, Tding::Alternation::None, 3); // uniform, but not the default 1... now it is
    t.setDefaultColor(1);
    text = WifText(*doc, "");
    EXPECT_NE(text.find("WARP COLORS=true"), std::string::npos);
    EXPECT_EQ(section(text, "WARP COLORS"), (std::vector<std::string>{"1=1", "2=1", "3=1"}));
}

TEST(WifWriter, StructureDraftKeysFollowThePrivateSection)
{
    auto doc = newDraft();
    doc->raw().blocks.definesStructure = true;
    doc->raw().blocks.automaticallyGenerated = false;
    doc->raw().blocks.numBlocks = 2;
    doc->raw().blocks.patternTreadlesPerBlock = 2;
    doc->raw().tieupKeys.resize(4);
    doc->raw().tieupKeys[1] = std::make_unique<TieupKey>(4, 2);
    doc->raw().tieupKeys[1]->setCell(1, 3);
    doc->raw().tieupKeys[1]->flag1 = doc->raw().tieupKeys[1]->flag2 = 1;
    doc->raw().tieupKeys[2] = std::make_unique<TieupKey>(4, 2);
    doc->raw().tieupKeys[2]->setCell(0, 1); // never stored: not written
    const std::string text = WifText(*doc, "");
    EXPECT_EQ(sectionOrder(text).back(), "LIFTPLAN");
    EXPECT_EQ(section(text, "LIFTPLAN"), (std::vector<std::string>{"4=3"}));
    EXPECT_NE(text.find("TREADLING=true\r\nLIFTPLAN=true"), std::string::npos);
}

class WifSave : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path()
            / ("wifsave-" + std::to_string(::getpid()) + "-"
               + testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(m_dir);
    }
    fs::path m_dir;
};

TEST_F(WifSave, ReplacesTheOldFileAndLeavesNoTemporary)
{
    const std::string path = (m_dir / "draft.qlb").string();
    {
        std::ofstream(path) << "old";
    }
    ::chmod(path.c_str(), 0600);
    auto doc = newDraft();
    doc->SetModified(true);
    std::string error;
    ASSERT_TRUE(WriteWifFile(*doc, path, &error)) << error;
    EXPECT_FALSE(doc->isModified());
    EXPECT_EQ(doc->date(), WifToday());
    EXPECT_EQ(slurp(path), WifText(*doc, doc->date()));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    RecordingMessages m;
    CQuillabyDoc back;
    EXPECT_TRUE(ReadWifFile(path, back, m));
}

TEST_F(WifSave, FailureLeavesTheOldFileIntact)
{
    auto doc = newDraft();
    doc->SetModified(true);
    doc->raw().date = "old date";
    std::string error;

    // A folder that does not exist.
    EXPECT_FALSE(WriteWifFile(*doc, (m_dir / "gone" / "x.wif").string(), &error));
    EXPECT_NE(error.find("x.wif"), std::string::npos);

    // The target is a folder: nothing replaces it.
    const fs::path folder = m_dir / "folder.wif";
    fs::create_directory(folder);
    error.clear();
    EXPECT_FALSE(WriteWifFile(*doc, folder.string(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::is_directory(folder));

    // A folder without write permission (root may write anyway).
    const std::string path = (m_dir / "draft.wif").string();
    {
        std::ofstream(path) << "precious old content";
    }
    fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::replace);
    if (::geteuid() != 0) {
        error.clear();
        EXPECT_FALSE(WriteWifFile(*doc, path, &error));
        EXPECT_NE(error.find("draft.wif"), std::string::npos);
    }
    fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add);
    EXPECT_EQ(slurp(path), "precious old content");

    // A write that fails half-way (a full disk, here a file size limit that
    // binds root too).
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 100;
    ::setrlimit(RLIMIT_FSIZE, &small);
    error.clear();
    const bool saved = WriteWifFile(*doc, path, &error);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved);
    EXPECT_NE(error.find("write failed"), std::string::npos) << error;
    EXPECT_EQ(slurp(path), "precious old content");

    EXPECT_TRUE(doc->isModified());
    EXPECT_EQ(doc->date(), "old date");
    // No temporary files were left behind.
    for (const auto& e : fs::directory_iterator(m_dir)) EXPECT_NE(e.path().filename().string()[0], '.');
}

TEST(WifReaderFile, UnreadableFileGivesAReason)
{
    RecordingMessages m;
    CQuillabyDoc doc;
    std::string error;
    EXPECT_FALSE(ReadWifFile("/nonexistent/draft.wif", doc, m, {}, &error));
    EXPECT_NE(error.find("No such file"), std::string::npos);
}
