// quillaby-cli floats and heddles: the exact lines a script reads.
#include "tests/cli/clirun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

using namespace clitest;

namespace {

class FloatsCli : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("quillaby-floats-test-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        // Drawdown:  XXX.XX / .XX.XX / X.XXX. / X..X.. / XXX.XX
        std::ofstream(m_dir / "in.wif")
            << "[WIF]\nVersion=1.1\n[CONTENTS]\nWEAVING=1\nTHREADING=1\nTREADLING=1\nTIEUP=1\n"
               "[WEAVING]\nShafts=4\nTreadles=4\nRising Shed=1\n[WARP]\nThreads=6\n[WEFT]\nThreads=5\n"
               "[THREADING]\n1=1\n2=2\n3=3\n4=4\n5=3\n6=2\n[TREADLING]\n1=1,2\n2=2\n3=3,4\n4=4\n5=1,2\n"
               "[TIEUP]\n1=1,2\n2=2,3\n3=3,4\n4=4,1\n";
    }
    void TearDown() override { fs::remove_all(m_dir); }

    CliResult run(const std::vector<std::string>& args) { return RunCli(args, m_dir); }
    std::string in() const { return (m_dir / "in.wif").string(); }

    fs::path m_dir;
};

} // namespace

TEST_F(FloatsCli, ListsEveryFloatThenTheCount)
{
    CliResult r = run({"floats", in(), "--min", "3"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "warp end 1 face picks 3-5 length 3\n"
              "warp end 3 face picks 1-3 length 3\n"
              "warp end 5 face picks 1-3 length 3\n"
              "weft pick 1 back ends 1-3 length 3\n"
              "weft pick 3 back ends 3-5 length 3\n"
              "weft pick 5 back ends 1-3 length 3\n"
              "floats: 3 warp ends, 3 weft picks\n");
    r = run({"floats", in(), "--min", "2", "--face-only", "--count"});
    EXPECT_EQ(r.out, "floats: 6 warp ends, 1 weft picks\n");
    // A threshold of 1 is 2; nothing is longer than the cloth.
    EXPECT_EQ(run({"floats", in(), "--min", "1", "--face-only", "--count"}).out, r.out);
    EXPECT_EQ(run({"floats", in(), "--min", "6", "--count"}).out, "floats: 0 warp ends, 0 weft picks\n");
}

TEST_F(FloatsCli, Usage)
{
    EXPECT_EQ(run({"floats", in()}).status, 2);
    EXPECT_EQ(run({"floats", in(), "--min", "x"}).status, 2);
    EXPECT_EQ(run({"floats", in(), "--min", "3", "--wide"}).status, 2);
    EXPECT_EQ(run({"floats", (m_dir / "none.wif").string(), "--min", "3"}).status, 1);
    const CliResult help = run({"floats", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("weft pick P face|back ends A-B length L"), std::string::npos);
}

TEST_F(FloatsCli, HeddlesPerShaft)
{
    const CliResult r = run({"heddles", in()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1:\t     1\n2:\t     2\n3:\t     2\n4:\t     1\n");
}
