// quillaby-cli thumbnail, as the desktop's thumbnailer runs it.
#include "tests/core/graphic/drafts.h"
#include "tests/core/picture/pngread.h"

#include "core/wif/wifwriter.h"

#include "tests/cli/clirun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class Thumbnail : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("quillaby-thumbnail-test-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string file(const std::string& name) const { return (m_dir / name).string(); }
    std::string save(qb::CQuillabyDoc& doc, const std::string& name)
    {
        std::string error;
        EXPECT_TRUE(qb::WriteWifFile(doc, file(name), &error)) << error;
        return file(name);
    }
    int run(const std::vector<std::string>& args)
    {
        std::vector<std::string> all{"thumbnail"};
        all.insert(all.end(), args.begin(), args.end());
        const clitest::CliResult r = clitest::RunCli(all, m_dir);
        m_err = r.err;
        return r.status;
    }
    bool read(const std::string& path, qbtest::Picture& pic)
    {
        return qbtest::readPng(path, pic.width, pic.height, pic.px);
    }

    fs::path m_dir;
    std::string m_err;
};

} // namespace

TEST_F(Thumbnail, SmallDraftsShowTheWholeClothWithinTheSize)
{
    const auto twill = qbtest::randomDraft(24, 20, 7);
    const auto plain = qbtest::plainWeave(8);
    const std::pair<qb::CQuillabyDoc*, const char*> drafts[] = {{twill.get(), "twill.wif"}, {plain.get(), "plain.qlb"}};
    for (const auto& [doc, name] : drafts) {
        const std::string in = save(*doc, name);
        for (int size : {30, 48, 96, 128, 256, 512}) {
            SCOPED_TRACE(std::string(name) + " at " + std::to_string(size));
            ASSERT_EQ(run({in, file("t.png"), std::to_string(size)}), 0) << m_err;
            qbtest::Picture pic;
            ASSERT_TRUE(read(file("t.png"), pic));
            EXPECT_LE(pic.width, size);
            EXPECT_LE(pic.height, size);
            // Whole cells, every end and pick, square cells.
            ASSERT_EQ(pic.width % doc->numEnds(), 0);
            const int cell = pic.width / doc->numEnds();
            ASSERT_GE(cell, 1);
            EXPECT_EQ(pic.height, doc->numPicks() * cell);
            if (size >= 96) {
                EXPECT_GE(cell, 2);
            }
            if (cell < 6) {
                // Flat cells: exactly the drawdown pane's colors.
                const qbtest::Picture want = qbtest::render(*doc, qbtest::cells(cell));
                EXPECT_EQ(pic.px, want.px);
            }
        }
    }
}

TEST_F(Thumbnail, LargeDraftShowsTheCornerWithEndOneAndPickOne)
{
    const auto doc = qbtest::randomDraft(300, 200, 11);
    const std::string in = save(*doc, "big.wif");
    for (int size : {64, 128}) {
        ASSERT_EQ(run({in, file("big.png"), std::to_string(size)}), 0) << m_err;
        qbtest::Picture pic;
        ASSERT_TRUE(read(file("big.png"), pic));
        ASSERT_EQ(pic.width, size);
        ASSERT_EQ(pic.height, size);
        // End 1 is at the right of the drawdown, pick 1 at the top.
        const int cell = size >= 96 ? 2 : 1;
        const int fullWidth = doc->numEnds() * cell;
        const qbtest::Picture want = qbtest::render(*doc, qbtest::cells(cell), fullWidth - size, 0, size, size);
        EXPECT_EQ(pic.px, want.px) << size;
    }
}

TEST_F(Thumbnail, WritesPngWhateverTheOutputIsCalled)
{
    const std::string in = save(*qbtest::plainWeave(4), "p.wif");
    // Thumbnailers hand over temporary names of their own.
    for (const char* out : {"thumb", "thumb.tmp", "thumb.jpg"}) {
        ASSERT_EQ(run({in, file(out), "128"}), 0) << m_err;
        const std::vector<std::uint8_t> bytes = qbtest::readAll(file(out));
        ASSERT_GE(bytes.size(), 8u) << out;
        EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 4), "PNG") << out;
    }
}

TEST_F(Thumbnail, BadArgumentsAndUnreadableFiles)
{
    const std::string in = save(*qbtest::plainWeave(4), "p.wif");
    const std::vector<std::vector<std::string>> usage = {{in, file("a.png")},
                                                         {in, file("a.png"), "0"},
                                                         {in, file("a.png"), "-5"},
                                                         {in, file("a.png"), "4097"},
                                                         {in, file("a.png"), "12px"},
                                                         {in, file("a.png"), ""},
                                                         {in, file("a.png"), "64", "extra"},
                                                         {in, file("a.png"), "64", "--cell"}};
    for (const auto& args : usage) {
        EXPECT_EQ(run(args), 2) << args.back();
        EXPECT_FALSE(fs::exists(file("a.png")));
    }
    EXPECT_EQ(run({file("missing.wif"), file("a.png"), "64"}), 1);
    EXPECT_FALSE(fs::exists(file("a.png")));
    EXPECT_EQ(run({in, file("no/such/dir/a.png"), "64"}), 1);
    EXPECT_EQ(run({"--help"}), 0);
}
