// quillaby-cli from-image, run as a user would; the draft is looked at through
// quillaby-cli drawdown.
#include "core/picture/picturereader.h"

#include "tests/cli/clirun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;
using qb::RgbPicture;

namespace {

class FromImage : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("quillaby-from-image-test-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    clitest::CliResult run(const std::vector<std::string>& args) { return clitest::RunCli(args, m_dir); }
    std::string file(const std::string& name) const { return (m_dir / name).string(); }
    std::string picture(const std::string& name, const RgbPicture& p)
    {
        std::string error;
        EXPECT_TRUE(qb::WritePictureFile(file(name), p, error)) << error;
        return file(name);
    }
    // Converts and prints the drawdown, one line per pick.
    std::string drawdown(const std::vector<std::string>& fromImageArgs)
    {
        std::vector<std::string> args{"from-image"};
        args.insert(args.end(), fromImageArgs.begin(), fromImageArgs.end());
        args.push_back(file("out.wif"));
        fs::remove(file("out.wif"));
        const auto made = run(args);
        EXPECT_EQ(made.status, 0) << made.err;
        return run({"drawdown", file("out.wif")}).out;
    }

    fs::path m_dir;
};

// 40 x 30 pixels in 4 x 3 squares of 10: the top-left square and the whole
// bottom row dark.
RgbPicture corners()
{
    RgbPicture p = RgbPicture::Blank(40, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            if ((x < 10 && y < 10) || y >= 20) p.at(x, y) = 0xFF101010;
    return p;
}

} // namespace

TEST_F(FromImage, DarkSquaresBecomeWarpOnTopInEveryFormat)
{
    // End 1 is the rightmost square, so the printed lines read right to left.
    const std::string expected = "...X\n"
                                 "....\n"
                                 "XXXX\n";
    for (const char* ext : {"png", "bmp", "tif", "jpg"}) {
        SCOPED_TRACE(ext);
        const std::string pic = picture(std::string("corners.") + ext, corners());
        EXPECT_EQ(drawdown({pic, "--grid", "4x3"}), expected);
    }
    const auto info = run({"info", file("out.wif")});
    EXPECT_NE(info.out.find("ends:     4\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("picks:    3\n"), std::string::npos);
}

TEST_F(FromImage, EditsComeBeforeTheGrid)
{
    const std::string pic = picture("corners.png", corners());
    // The bottom-right 20 x 10 pixels: all dark.
    EXPECT_EQ(drawdown({pic, "--crop", "20,20,20,10", "--grid", "2x2"}), "XX\nXX\n");
    // Turned clockwise, the dark bottom row becomes the left column (the last
    // end) and the dark square the top-right one; the middle column has no
    // dark square and stays unthreaded.
    EXPECT_EQ(drawdown({pic, "--rotate", "90", "--grid", "3X4"}), "X X\n. X\n. X\n. X\n");
    // Without --grid: a square per pixel.
    EXPECT_EQ(drawdown({picture("tiny.bmp", RgbPicture::Blank(3, 2, 0xFF000000))}), "XXX\nXXX\n");

    // Grey 140 is light; darker by 20 it is dark; contrast pulls it back to 128.
    const std::string grey = picture("grey.png", RgbPicture::Blank(8, 8, 0xFF8C8C8C));
    EXPECT_EQ(drawdown({grey, "--grid", "2x2"}), "  \n  \n");
    EXPECT_EQ(drawdown({grey, "--grid", "2x2", "--grey", "--brightness", "-20"}), "XX\nXX\n");
    EXPECT_EQ(drawdown({grey, "--grid", "2x2", "--brightness", "-20", "--contrast", "-100"}), "  \n  \n");
}

TEST_F(FromImage, FailuresWriteNothing)
{
    const std::string pic = picture("corners.png", corners());
    std::ofstream(file("broken.png"), std::ios::binary) << "\x89PNG\r\n\x1a\nnot really";
    const struct {
        std::vector<std::string> args;
        int status;
        const char* message;
    } cases[] = {
        {{file("broken.png"), file("x.wif")}, 1, "Unable to read"},
        {{file("missing.jpg"), file("x.wif")}, 1, "missing.jpg"},
        {{file("notes.txt"), file("x.wif")}, 1, "Unknown picture type"},
        {{pic, file("x.wif"), "--grid", "1x4"}, 3, "You'll need to set the number of grid squares"},
        {{pic, file("x.wif"), "--crop", "100,100,5,5"}, 3, "nothing to crop"},
        {{pic, file("x.png")}, 2, "OUT must end in .wif or .qlb"},
        {{pic, file("x.wif"), "--grid", "4"}, 2, "--grid takes NxM"},
        {{pic, file("x.wif"), "--grid", "0x4"}, 2, "--grid takes NxM"},
        {{pic, file("x.wif"), "--brightness", "300"}, 2, "--brightness"},
        {{pic, file("x.wif"), "--rotate", "ninety"}, 2, "--rotate"},
        {{pic, file("x.wif"), "--crop", "1,2,3"}, 2, "--crop"},
        {{pic, file("x.wif"), "--sharpen"}, 2, "unknown option"},
        {{pic}, 2, "PICTURE and OUT"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back());
        std::vector<std::string> args{"from-image"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto r = run(args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(file("x.wif")));
        EXPECT_FALSE(fs::exists(file("x.png")));
    }
    const auto help = run({"from-image", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--grid NxM"), std::string::npos);
}
