// quillaby-cli apply, run as a script would run it.
#include "tests/cli/clirun.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

using namespace clitest;

namespace {

class Apply : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("quillaby-apply-test-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        // A 4-shaft draft whose tieup is not direct, two treadles per pick.
        std::ofstream(m_dir / "in.wif")
            << "[WIF]\nVersion=1.1\n[CONTENTS]\nWEAVING=1\nTHREADING=1\nTREADLING=1\nTIEUP=1\n"
               "[WEAVING]\nShafts=4\nTreadles=4\nRising Shed=1\n[WARP]\nThreads=6\n[WEFT]\nThreads=5\n"
               "[THREADING]\n1=1\n2=2\n3=3\n4=4\n5=3\n6=2\n[TREADLING]\n1=1,2\n2=2\n3=3,4\n4=4\n5=1,2\n"
               "[TIEUP]\n1=1,2\n2=2,3\n3=3,4\n4=4,1\n";
    }
    void TearDown() override { fs::remove_all(m_dir); }

    CliResult run(const std::vector<std::string>& args) { return RunCli(args, m_dir); }
    std::string file(const std::string& name) const { return (m_dir / name).string(); }
    std::string drawdown(const std::string& name) { return run({"drawdown", file(name)}).out; }
    std::string info(const std::string& name) { return run({"info", file(name)}).out; }

    fs::path m_dir;
};

} // namespace

TEST_F(Apply, ListNamesEveryOperation)
{
    const CliResult r = run({"apply", "--list"});
    ASSERT_EQ(r.status, 0);
    for (const char* op : {"to-liftplan",
                           "to-tieup",
                           "optimize",
                           "turn",
                           "repeat N",
                           "single-repeat",
                           "reverse-threading",
                           "reverse-treadling",
                           "flip-threading",
                           "tromp-as-writ",
                           "arrange-parallel",
                           "arrange-sequential",
                           "direct-tieup",
                           "add-tabby G",
                           "double-width",
                           "echo-threading K O",
                           "echo-treadling",
                           "interleave-threading FILE",
                           "interleave-treadling FILE",
                           "overlay FILE",
                           "append FILE",
                           "expand-threading F",
                           "expand-treadling F",
                           "import-threading FILE",
                           "import-treadling FILE",
                           "import-tieup FILE",
                           "import-warp-colors FILE",
                           "import-weft-colors FILE"})
        EXPECT_NE(("\n" + r.out).find(std::string("\n") + op), std::string::npos) << op;
}

TEST_F(Apply, ReformattingKeepsTheCloth)
{
    const std::string cloth = drawdown("in.wif");
    ASSERT_FALSE(cloth.empty());
    ASSERT_EQ(run({"apply", file("in.wif"), file("lift.wif"), "to-liftplan"}).status, 0);
    EXPECT_NE(info("lift.wif").find("form:     liftplan"), std::string::npos);
    EXPECT_EQ(drawdown("lift.wif"), cloth);
    ASSERT_EQ(run({"apply", file("lift.wif"), file("back.qlb"), "to-tieup"}).status, 0);
    EXPECT_EQ(drawdown("back.qlb"), cloth);
    for (const char* op : {"optimize", "arrange-parallel", "arrange-sequential"}) {
        const CliResult r = run({"apply", file("back.qlb"), file("op.wif"), op});
        ASSERT_EQ(r.status, 0) << op << r.err;
        EXPECT_EQ(drawdown("op.wif"), cloth) << op;
    }
}

TEST_F(Apply, SequenceOperations)
{
    ASSERT_EQ(run({"apply", file("in.wif"), file("r.wif"), "repeat", "3"}).status, 0);
    EXPECT_NE(info("r.wif").find("ends:     18\npicks:    15"), std::string::npos);
    ASSERT_EQ(run({"apply", file("r.wif"), file("s.wif"), "single-repeat"}).status, 0);
    EXPECT_NE(info("s.wif").find("ends:     6\npicks:    5"), std::string::npos);
    ASSERT_EQ(run({"apply", file("in.wif"), file("f.wif"), "flip-threading"}).status, 0);
    EXPECT_NE(info("f.wif").find("ends:     11"), std::string::npos);
    ASSERT_EQ(run({"apply", file("in.wif"), file("t.wif"), "tromp-as-writ"}).status, 0);
    EXPECT_NE(info("t.wif").find("picks:    6"), std::string::npos);
}

TEST_F(Apply, RefusalsAndUsage)
{
    // Multiple treadles: turning is refused and nothing is written.
    const CliResult turn = run({"apply", file("in.wif"), file("x.wif"), "turn"});
    EXPECT_EQ(turn.status, 3);
    EXPECT_NE(turn.err.find("Cannot turn draft with multiple treadles enabled."), std::string::npos);
    EXPECT_FALSE(fs::exists(m_dir / "x.wif"));
    EXPECT_EQ(run({"apply", file("in.wif"), file("x.wif"), "repeat", "1"}).status, 3);
    EXPECT_EQ(run({"apply", file("in.wif"), file("x.wif"), "frobnicate"}).status, 2);
    EXPECT_EQ(run({"apply", file("in.wif"), file("x.txt"), "turn"}).status, 2);
    EXPECT_EQ(run({"apply", file("in.wif"), file("x.wif"), "turn", "extra"}).status, 2);
    EXPECT_EQ(run({"apply", file("missing.wif"), file("x.wif"), "turn"}).status, 1);
}

TEST_F(Apply, TurnTabbyAndDoubleWidthOfATieupDraft)
{
    ASSERT_EQ(run({"apply", file("in.wif"), file("tie.wif"), "to-tieup"}).status, 0);
    const CliResult turn = run({"apply", file("tie.wif"), file("turned.wif"), "turn"});
    ASSERT_EQ(turn.status, 0) << turn.err;
    EXPECT_NE(info("turned.wif").find("ends:     5\npicks:    6"), std::string::npos);
    ASSERT_EQ(run({"apply", file("tie.wif"), file("tabby.wif"), "add-tabby", "2", "add-treadles"}).status, 0);
    EXPECT_NE(info("tabby.wif").find("picks:    10"), std::string::npos);
    ASSERT_EQ(run({"apply", file("tie.wif"), file("dw.wif"), "double-width", "tubular"}).status, 0);
    EXPECT_NE(info("dw.wif").find("shafts:   8"), std::string::npos);
    ASSERT_EQ(run({"apply", file("tie.wif"), file("direct.wif"), "direct-tieup"}).status, 0);
}

TEST_F(Apply, CombiningWithOtherDrafts)
{
    const auto ends = [&](const std::string& name) { return info(name).substr(info(name).find("ends:")); };
    ASSERT_EQ(run({"apply", file("in.wif"), file("echo.wif"), "echo-threading", "2", "1"}).status, 0);
    EXPECT_EQ(ends("echo.wif").rfind("ends:     18\n", 0), 0u);
    ASSERT_EQ(
        run({"apply", file("in.wif"), file("il.wif"), "interleave-threading", file("in.wif"), file("echo.wif")}).status,
        0);
    EXPECT_EQ(ends("il.wif").rfind("ends:     18\n", 0), 0u);
    ASSERT_EQ(run({"apply", file("in.wif"), file("ap.wif"), "append", file("in.wif")}).status, 0);
    EXPECT_NE(info("ap.wif").find("picks:    10"), std::string::npos);
    ASSERT_EQ(run({"apply", file("ap.wif"), file("ov.wif"), "overlay", file("in.wif")}).status, 0);
    EXPECT_NE(info("ov.wif").find("picks:    10"), std::string::npos);
    ASSERT_EQ(run({"apply", file("in.wif"), file("x3.wif"), "expand-treadling", "3"}).status, 0);
    EXPECT_NE(info("x3.wif").find("picks:    15"), std::string::npos);
    ASSERT_EQ(run({"apply", file("in.wif"), file("x2.wif"), "expand-threading", "2"}).status, 0);
    EXPECT_EQ(ends("x2.wif").rfind("ends:     12\n", 0), 0u);
    ASSERT_EQ(run({"apply", file("in.wif"), file("it.wif"), "import-threading", file("x2.wif")}).status, 0);
    EXPECT_EQ(ends("it.wif").rfind("ends:     12\n", 0), 0u);
    ASSERT_EQ(run({"apply", file("in.wif"), file("ir.wif"), "import-treadling", file("x3.wif")}).status, 0);
    EXPECT_NE(info("ir.wif").find("picks:    15"), std::string::npos);
    for (const char* op : {"import-tieup", "import-warp-colors", "import-weft-colors"})
        EXPECT_EQ(run({"apply", file("in.wif"), file("im.wif"), op, file("x2.wif")}).status, 0) << op;

    EXPECT_EQ(run({"apply", file("in.wif"), file("x.wif"), "append", file("none.wif")}).status, 1);
    EXPECT_EQ(run({"apply", file("in.wif"), file("x.wif"), "import-tieup", file("none.wif")}).status, 1);
    EXPECT_EQ(run({"apply", file("in.wif"), file("x.wif"), "expand-threading", "21"}).status, 3);
    EXPECT_EQ(run({"apply", file("in.wif"), file("x.wif"), "echo-threading", "4", "1"}).status, 3);
    EXPECT_EQ(run({"apply", file("in.wif"), file("x.wif"), "overlay"}).status, 2);
    EXPECT_FALSE(fs::exists(m_dir / "x.wif"));
}

TEST_F(Apply, ListNamesTheCommandsOfEachSide)
{
    const CliResult r = run({"apply", "--list"});
    ASSERT_EQ(r.status, 0);
    for (const char* op : {"repeat-threading N|single", "repeat-treadling N|single", "arrange-threading parallel",
                           "remove-treadling PATTERN", "wrap-up-threading", "multiple-treadles on|off",
                           "load-liftplan PICTURE [flip]", "straighten-treadling", "supersize"})
        EXPECT_NE(("\n" + r.out).find(std::string("\n") + op), std::string::npos) << op;
}

TEST_F(Apply, MenuCommandsOfEachSide)
{
    const struct {
        std::vector<std::string> op;
        int status;
        const char* info; // part of `info OUT` when written
    } cases[] = {
        {{"repeat-threading", "2"}, 0, "ends:     12\npicks:    5"},
        {{"repeat-treadling", "3"}, 0, "ends:     6\npicks:    15"},
        {{"repeat-threading", "single"}, 0, "ends:     6\npicks:    5"},
        {{"remove-threading", "kr"}, 0, "ends:     3\npicks:    5"},
        {{"supersize"}, 0, "ends:     18\npicks:    15"},
        {{"mirror-threading"}, 0, "picks:    6"},
        {{"wrap-right-threading"}, 0, "ends:     6"},
        {{"invert-tieup"}, 0, "shafts:   4"},
        {{"straighten-threading"}, 0, ""},
        {{"multiple-treadles", "off", "--yes"}, 0, "form:     tieup and treadling"},
        {{"multiple-treadles", "off"}, 3, nullptr},
        {{"repeat-threading", "1"}, 3, nullptr},
        {{"arrange-threading", "crosswise"}, 3, nullptr},
        {{"load-liftplan", file("missing.png")}, 1, nullptr},
        {{"wrap-up-threading", "extra"}, 2, nullptr},
    };
    for (const auto& c : cases) {
        fs::remove(m_dir / "out.wif");
        std::vector<std::string> args = {"apply", file("in.wif"), file("out.wif")};
        args.insert(args.end(), c.op.begin(), c.op.end());
        const CliResult r = run(args);
        EXPECT_EQ(r.status, c.status) << c.op[0] << r.err;
        EXPECT_EQ(fs::exists(m_dir / "out.wif"), c.info != nullptr) << c.op[0];
        if (c.info) {
            EXPECT_NE(info("out.wif").find(c.info), std::string::npos) << c.op[0] << '\n' << info("out.wif");
        }
    }
}
