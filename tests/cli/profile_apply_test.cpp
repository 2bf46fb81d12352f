// quillaby-cli apply for profile and network drafting, run as a script would.
#include "tests/cli/clirun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

using namespace clitest;

namespace {

class ProfileApply : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("quillaby-profile-test-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        // A two-block profile: blocks 1,2,2,1 and treadles 1,2 tied directly.
        std::ofstream(m_dir / "profile.wif")
            << "[WIF]\nVersion=1.1\n[CONTENTS]\nWEAVING=1\nTHREADING=1\nTREADLING=1\nTIEUP=1\n"
               "[WEAVING]\nShafts=2\nTreadles=2\nRising Shed=1\n[WARP]\nThreads=4\n[WEFT]\nThreads=2\n"
               "[THREADING]\n1=1\n2=2\n3=2\n4=1\n[TREADLING]\n1=1\n2=2\n[TIEUP]\n1=1\n2=2\n";
        // A pattern line eight shafts high, one pick per end.
        std::ofstream line(m_dir / "line.wif");
        line << "[WIF]\nVersion=1.1\n[CONTENTS]\nWEAVING=1\nTHREADING=1\nTREADLING=1\nTIEUP=1\n"
                "[WEAVING]\nShafts=8\nTreadles=8\nRising Shed=1\n[WARP]\nThreads=8\n[WEFT]\nThreads=8\n"
                "[THREADING]\n";
        for (int i = 1; i <= 8; ++i) line << i << '=' << i << '\n';
        line << "[TREADLING]\n";
        for (int i = 1; i <= 8; ++i) line << i << '=' << i << '\n';
        line << "[TIEUP]\n1=1\n";
    }
    void TearDown() override { fs::remove_all(m_dir); }

    CliResult run(const std::vector<std::string>& args) { return RunCli(args, m_dir); }
    std::string file(const std::string& name) const { return (m_dir / name).string(); }
    std::string info(const std::string& name) { return run({"info", file(name)}).out; }
    static std::string structure(const std::string& name)
    {
        return std::string(QUILLABY_TEST_DATA) + "/structures/" + name;
    }

    fs::path m_dir;
};

} // namespace

TEST_F(ProfileApply, ListNamesTheProfileOperations)
{
    const CliResult r = run({"apply", "--list"});
    ASSERT_EQ(r.status, 0);
    for (const char* op : {"block-substitute STRUCTURE", "scale-line --height NH --length L",
                           "network STRUCTURE --height NH", "ribbon-template W"})
        EXPECT_NE(r.out.find(op), std::string::npos) << op;
}

TEST_F(ProfileApply, BlockSubstitution)
{
    const CliResult r =
        run({"apply", file("profile.wif"), file("full.qlb"), "block-substitute", structure("unitweave2.qlb")});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string i = info("full.qlb");
    EXPECT_NE(i.find("shafts:   4\ntreadles: 4"), std::string::npos) << i;
    EXPECT_NE(i.find("ends:     16\npicks:    8"), std::string::npos) << i;

    // The profile is no structure: refused, nothing written.
    const CliResult no = run({"apply", file("profile.wif"), file("x.wif"), "block-substitute", file("profile.wif")});
    EXPECT_EQ(no.status, 3);
    EXPECT_NE(no.err.find("does not define substitution blocks."), std::string::npos);
    EXPECT_FALSE(fs::exists(m_dir / "x.wif"));
    EXPECT_EQ(run({"apply", file("profile.wif"), file("x.wif"), "block-substitute", file("missing.qlb")}).status, 1);
    EXPECT_EQ(run({"apply", file("profile.wif"), file("x.wif"), "block-substitute"}).status, 2);
}

TEST_F(ProfileApply, ScaleLine)
{
    const CliResult r =
        run({"apply", file("line.wif"), file("net.wif"), "scale-line", "--height", "16", "--length", "10"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(info("net.wif").find("shafts:   16"), std::string::npos);
    EXPECT_NE(info("net.wif").find("ends:     10"), std::string::npos);
    EXPECT_EQ(run({"apply", file("line.wif"), file("x.wif"), "scale-line", "--length", "10"}).status, 2);
    EXPECT_EQ(run({"apply", file("line.wif"), file("x.wif"), "scale-line", "--height", "99", "--length", "4"}).status,
              2);
    EXPECT_EQ(run({"apply", file("line.wif"), file("x.wif"), "scale-line", "--height", "8", "--length", "4", "--bogus"})
                  .status,
              2);
    // Nothing above the base: refused.
    EXPECT_EQ(
        run({"apply", file("line.wif"), file("x.wif"), "scale-line", "--height", "4", "--length", "4", "--base", "4"})
            .status,
        3);
    EXPECT_FALSE(fs::exists(m_dir / "x.wif"));
}

TEST_F(ProfileApply, PlotOntoNetworkAsksFirst)
{
    const std::vector<std::string> args = {
        "apply", file("line.wif"),   file("plot.wif"), "network", structure("unitweave2.qlb"), "--height",
        "6",     "--background-fill"};
    const CliResult no = run(args);
    EXPECT_EQ(no.status, 3);
    EXPECT_NE(no.err.find("Height of the pattern line"), std::string::npos);
    EXPECT_FALSE(fs::exists(m_dir / "plot.wif"));
    std::vector<std::string> yes = args;
    yes.push_back("--yes");
    const CliResult r = run(yes);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(info("plot.wif").find("form:     liftplan"), std::string::npos);
    EXPECT_EQ(run({"apply", file("line.wif"), file("x.wif"), "network", "--height", "8"}).status, 2);
}

TEST_F(ProfileApply, RibbonTemplate)
{
    ASSERT_EQ(run({"apply", file("line.wif"), file("ribbon.wif"), "ribbon-template", "3"}).status, 0);
    const std::string dump = run({"dump", file("ribbon.wif")}).out;
    EXPECT_FALSE(dump.empty());
    EXPECT_EQ(run({"apply", file("line.wif"), file("x.wif"), "ribbon-template", "1"}).status, 2);
}
