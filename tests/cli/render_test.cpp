// quillaby-cli render, run as a user would, checked against the drawdown rule.
#include "tests/core/picture/pngread.h"

#include "core/draft/drawdown.h"
#include "core/draft/iprompter.h"
#include "core/draft/quillabydoc.h"
#include "core/draft/threadlayout.h"
#include "core/wif/wifreader.h"

#include "tests/cli/clirun.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Quiet final : qb::IPrompter {
    void tell(const std::string&) override {}
    bool ask(const std::string&) override { return false; }
};

std::string data(const std::string& name)
{
    return std::string(QUILLABY_TEST_DATA) + "/" + name;
}

class Render : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("quillaby-render-test-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    int run(const std::vector<std::string>& args)
    {
        std::vector<std::string> all{"render"};
        all.insert(all.end(), args.begin(), args.end());
        clitest::CliResult r = clitest::RunCli(all, m_dir);
        m_out = std::move(r.out);
        m_err = std::move(r.err);
        return r.status;
    }
    std::string file(const std::string& name) const { return (m_dir / name).string(); }

    fs::path m_dir;
    std::string m_out, m_err;
};

const char* const kDrafts[] = {"corpus/tests_data_desired_basic_wif/two color multiple treadles.wif",
                               "corpus/src_test_data_desired_basic_wif/many color liftplan and zeros.wif",
                               "wif/thick.wif"};

} // namespace

TEST_F(Render, OnePixelWarpAndWeftPicturesFollowTheDrawdown)
{
    for (const char* name : kDrafts) {
        qb::CQuillabyDoc doc;
        Quiet quiet;
        std::string error;
        ASSERT_TRUE(qb::ReadWifFile(data(name), doc, quiet, {}, &error)) << name << ": " << error;
        // A thick thread takes several pixels: the picture is the drawdown's size in cells.
        const qb::ThreadLayout ends(*doc.threading(0), doc.numEnds()), picks(*doc.treadling(0), doc.numPicks());
        ASSERT_GT(ends.count(), 0);
        for (const char* mode : {"warp", "weft"})
            for (bool back : {false, true}) {
                std::vector<std::string> args = {data(name), "-o", file("d.png"), "--cell", "1", "--mode", mode};
                if (back) args.push_back("--back");
                ASSERT_EQ(run(args), 0) << m_err;
                int w = 0, h = 0;
                std::vector<std::uint32_t> px;
                ASSERT_TRUE(qbtest::readPng(file("d.png"), w, h, px));
                ASSERT_EQ(w, ends.totalCells());
                ASSERT_EQ(h, picks.totalCells());
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x) {
                        const int e = ends.threadAt(w - 1 - x), p = picks.threadAt(y);
                        const qb::Cell c = qb::DrawdownCell(doc, e, p, back);
                        const bool warpMode = mode[1] == 'a';
                        // From the back an unthreaded end shows its other side too.
                        const bool black = back ? (warpMode ? c != qb::Cell::WeftUp : c == qb::Cell::WeftUp)
                                                : (warpMode ? c == qb::Cell::WarpUp : c != qb::Cell::WarpUp);
                        ASSERT_EQ(px[static_cast<std::size_t>(y) * w + x], black ? 0xFF000000u : 0xFFFFFFFFu)
                            << name << ' ' << mode << " back " << back << " end " << e << " pick " << p;
                    }
            }
    }
}

TEST_F(Render, CellSizeFormatsAndWhole)
{
    const std::string in = data(kDrafts[1]);
    qb::CQuillabyDoc doc;
    Quiet quiet;
    ASSERT_TRUE(qb::ReadWifFile(in, doc, quiet, {}, nullptr));
    const qb::ThreadLayout ends(*doc.threading(0), doc.numEnds()), picks(*doc.treadling(0), doc.numPicks());
    ASSERT_EQ(run({in, "-o", file("c.png"), "--cell", "6", "--interlace"}), 0) << m_err;
    int w = 0, h = 0;
    std::vector<std::uint32_t> px;
    ASSERT_TRUE(qbtest::readPng(file("c.png"), w, h, px));
    EXPECT_EQ(w, ends.totalCells() * 6);
    EXPECT_EQ(h, picks.totalCells() * 6);
    EXPECT_EQ(px[0], 0xFF000000u); // interlaced: the corner of a cell is the space between threads

    ASSERT_EQ(run({in, "-o", file("whole.png"), "--whole", "--cell", "12"}), 0) << m_err;
    ASSERT_TRUE(qbtest::readPng(file("whole.png"), w, h, px));
    EXPECT_GT(w, ends.totalCells() * 12);
    EXPECT_GT(h, picks.totalCells() * 12);
    int w2 = 0, h2 = 0;
    ASSERT_EQ(run({in, "-o", file("whole2.png"), "--whole"}), 0) << m_err; // 12-pixel cells by default
    ASSERT_TRUE(qbtest::readPng(file("whole2.png"), w2, h2, px));
    EXPECT_EQ(w2, w);
    EXPECT_EQ(h2, h);

    const std::pair<const char*, std::string> magic[] = {
        {"x.tif", "II*"}, {"x.TIFF", "II*"}, {"x.jpg", "\xFF\xD8\xFF"}, {"x.jpeg", "\xFF\xD8\xFF"}, {"x.bmp", "BM"}};
    for (const auto& [out, head] : magic) {
        ASSERT_EQ(run({in, "-o", file(out), "--cell", "2"}), 0) << out << m_err;
        const auto bytes = qbtest::readAll(file(out));
        ASSERT_GE(bytes.size(), head.size());
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + static_cast<long>(head.size())), head) << out;
    }
}

TEST_F(Render, UsageAndFailures)
{
    const std::string in = data(kDrafts[1]);
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_NE(m_out.find("usage: quillaby-cli render"), std::string::npos);
    EXPECT_EQ(run({in}), 2); // no -o
    EXPECT_EQ(run({"-o", file("a.png")}), 2);
    EXPECT_EQ(run({in, "-o", file("a.png"), "--mode", "plaid"}), 2);
    EXPECT_EQ(run({in, "-o", file("a.png"), "--cell", "0"}), 2);
    EXPECT_EQ(run({in, "-o", file("a.png"), "--cell", "101"}), 2);
    EXPECT_EQ(run({in, "-o", file("a.png"), "--cell", "3x"}), 2);
    EXPECT_EQ(run({in, "-o", file("a.png"), "--cell"}), 2);
    EXPECT_EQ(run({in, "-o", file("a.gif")}), 2);
    EXPECT_EQ(run({in, "-o", file("a.png"), "--frobnicate"}), 2);
    EXPECT_EQ(run({in, in, "-o", file("a.png")}), 2);
    EXPECT_FALSE(fs::exists(file("a.png")));

    EXPECT_EQ(run({file("missing.wif"), "-o", file("a.png")}), 1);
    EXPECT_NE(m_err.find("missing.wif"), std::string::npos);
    EXPECT_EQ(run({in, "-o", file("no/such/dir/a.png")}), 1);
    EXPECT_NE(m_err.find("Unable to write"), std::string::npos) << m_err;
}
