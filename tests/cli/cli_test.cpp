#include "tests/cli/clirun.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

using namespace clitest;

namespace {

std::string data(const std::string& name)
{
    return std::string(QUILLABY_TEST_DATA) + "/" + name;
}

class Cli : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("quillaby-cli-test-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    CliResult run(const std::vector<std::string>& args) { return RunCli(args, m_dir); }

    fs::path m_dir;
};

const std::string kTwoColor = "corpus/tests_data_desired_basic_wif/two color multiple treadles.wif";

} // namespace

TEST_F(Cli, UsageAndHelp)
{
    EXPECT_EQ(run({}).status, 2);
    const CliResult help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* c : {"info", "dump", "drawdown", "convert"}) {
        EXPECT_NE(help.out.find(c), std::string::npos);
        const CliResult h = run({c, "--help"});
        EXPECT_EQ(h.status, 0) << c;
        EXPECT_NE(h.out.find(std::string("usage: quillaby-cli ") + c), std::string::npos);
    }
    EXPECT_EQ(run({"frobnicate"}).status, 2);
    EXPECT_EQ(run({"info"}).status, 2);
    EXPECT_EQ(run({"info", "a", "b"}).status, 2);
    EXPECT_EQ(run({"info", "--bogus", data(kTwoColor)}).status, 2);
    EXPECT_EQ(run({"info", "--back", data(kTwoColor)}).status, 2);
    EXPECT_EQ(run({"convert", data(kTwoColor), (m_dir / "x.txt").string()}).status, 2);
}

TEST_F(Cli, UnreadableAndUnwritableFiles)
{
    const CliResult missing = run({"info", (m_dir / "none.wif").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("No such file"), std::string::npos) << missing.err;
    EXPECT_TRUE(missing.out.empty());

    {
        std::ofstream(m_dir / "noversion.wif") << "[WIF]\nDate=1/1/2000\n";
    }
    const CliResult bad = run({"dump", (m_dir / "noversion.wif").string()});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("WIF Version  is not\nsupported by this application."), std::string::npos);

    const CliResult unwritable = run({"convert", data(kTwoColor), (m_dir / "gone" / "x.wif").string()});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("x.wif"), std::string::npos);
}

TEST_F(Cli, Info)
{
    const CliResult r = run({"info", data(kTwoColor)});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "shafts:   4\ntreadles: 6\nform:     tieup and treadling\nshed:     rising\nends:     4\n"
              "picks:    6\nwarps:    1\nwefts:    1\ncolors:   6\ntitle:    two color multiple treadles.dtx\n");
}

TEST_F(Cli, DumpHasTheAgreedKeys)
{
    const CliResult r = run({"dump", data("wif/multiweft.wif")});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    for (const char* key : {"shafts", "treadles",  "risingShed", "liftplan", "warps",    "wefts",      "ends",
                            "picks",  "threading", "treadling",  "tieup",    "palette",  "warpColors", "weftColors",
                            "title",  "author",    "notes",      "units",    "warpSett", "weftSett"})
        EXPECT_TRUE(j.contains(key)) << key;
    EXPECT_EQ(j["shafts"], 8);
    EXPECT_EQ(j["liftplan"], false);
    EXPECT_EQ(j["threading"], nlohmann::json::parse("[[2,3]]"));
    EXPECT_EQ(j["treadling"], nlohmann::json::parse("[[[3,5],[2],[]]]"));
    EXPECT_EQ(j["tieup"].size(), 8u);
    EXPECT_EQ(j["palette"][0], nlohmann::json::parse(R"({"r":0,"g":0,"b":0,"name":"color1"})"));
    EXPECT_EQ(j["warpColors"], nlohmann::json::parse("[[1,1]]"));
    EXPECT_EQ(j["units"], "English");
    EXPECT_DOUBLE_EQ(j["warpSett"].get<double>(), 10.0);

    const CliResult e = run({"dump", data("wif/edges.wif")});
    const auto k = nlohmann::json::parse(e.out);
    EXPECT_EQ(k["title"], "First line\nSecond line");
    EXPECT_EQ(k["notes"], "Note one\nafter a break\n");
}

TEST_F(Cli, LiftplanOption)
{
    const std::string both = data("wif/bothforms.wif");
    auto j = nlohmann::json::parse(run({"dump", both}).out);
    EXPECT_EQ(j["liftplan"], false);
    EXPECT_EQ(j["treadling"], nlohmann::json::parse("[[[1],[2]]]"));
    j = nlohmann::json::parse(run({"dump", "--liftplan", both}).out);
    EXPECT_EQ(j["liftplan"], true);
    EXPECT_EQ(j["treadling"], nlohmann::json::parse("[[[1,3],[2,4]]]"));
    EXPECT_NE(run({"info", both, "--liftplan"}).out.find("form:     liftplan"), std::string::npos);
}

TEST_F(Cli, Drawdown)
{
    const CliResult front = run({"drawdown", data(kTwoColor)});
    ASSERT_EQ(front.status, 0);
    EXPECT_EQ(front.out, "X.XX\n.X.X\nX.XX\n.XXX\nXXX.\nXX.X\n");
    const CliResult back = run({"drawdown", data(kTwoColor), "--back"});
    EXPECT_EQ(back.out, ".X..\nX.X.\n.X..\nX...\n...X\n..X.\n");
    // An unthreaded end is blank.
    {
        std::ofstream(m_dir / "blank.wif")
            << "[WIF]\nVersion=1.1\n[CONTENTS]\nWEAVING=1\nTHREADING=1\nTREADLING=1\nTIEUP=1\n"
               "[WEAVING]\nShafts=2\nTreadles=2\nRising Shed=1\n[WARP]\nThreads=3\n"
               "[WEFT]\nThreads=2\n[THREADING]\n1=1\n2=0\n3=2\n[TREADLING]\n1=1\n2=2\n"
               "[TIEUP]\n1=1\n2=2\n";
    }
    EXPECT_EQ(run({"drawdown", (m_dir / "blank.wif").string()}).out, "X .\n. X\n");
}

TEST_F(Cli, ConvertKeepsTheDraft)
{
    const std::string out = (m_dir / "copy.QLB").string();
    const CliResult c = run({"convert", data("wif/edges.wif"), out});
    ASSERT_EQ(c.status, 0) << c.err;
    auto a = nlohmann::json::parse(run({"dump", data("wif/edges.wif")}).out);
    auto b = nlohmann::json::parse(run({"dump", out}).out);
    for (auto* j : {&a, &b}) {
        j->erase("date");
        j->erase("source");
    }
    EXPECT_EQ(a, b);
    EXPECT_EQ(slurp(out).rfind("[WIF]\r\nVersion=1.1\r\n", 0), 0u);
}
