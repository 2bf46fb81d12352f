// quillaby-cli plan, density and yarns.
#include "tests/cli/clirun.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace clitest;

namespace {

// The worked example: one piece 20 in by 60 in, 20 epi and ppi, 2100 yd/lb.
constexpr const char* kExample =
    "[WIF]\nVersion=1.1\n[CONTENTS]\nWEAVING=true\nWARP=true\nWEFT=true\nPRIVATE QUILLABY=true\n"
    "[WEAVING]\nShafts=4\nTreadles=4\n[WARP]\nUnits=Inches\nSpacing=0.05\nThreads=4\n"
    "[WEFT]\nUnits=Inches\nSpacing=0.05\nThreads=4\n"
    "[PRIVATE QUILLABY]\nVersion=1.10\nqlb1=20.00\nqlb2=60.00\nqlb3=1\nqlb4=1\nqlb5=1.00\nqlb6=0.00\n"
    "qlb9=1.00\nqlb10=10\nqlb11=5\nqlb12=10\nqlb13=30\nqlb14=0\nqlb15=0\nqlb16=8/2 cotton\nqlb18=2100\n"
    "qlb19=2100\nqlb20=0\nqlb21=0\nqlb22=0\nqlb23=0\n";

class PlanCli : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("quillaby-plan-cli-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        write("example.wif", kExample);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string path(const std::string& name) const { return (m_dir / name).string(); }
    void write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    CliResult run(const std::vector<std::string>& args) { return RunCli(args, m_dir); }

    fs::path m_dir;
};

} // namespace

TEST_F(PlanCli, PlanAsTextAndJson)
{
    const CliResult text = run({"plan", path("example.wif")});
    ASSERT_EQ(text.status, 0) << text.err;
    for (const char* line :
         {"Width in reed:\t23.0 in\n", "Warp length:\t99.0 in\n", "Number of ends:\t460\n", "Quantity:\t1265 yd\n",
          "Weight:\t1.0 lb\n", "Number of picks:\t1380\n", "Quantity:\t882 yd\n", "Warp yarn:\t8/2 cotton\n"})
        EXPECT_NE(text.out.find(line), std::string::npos) << line;

    const CliResult json = run({"plan", "--json", path("example.wif")});
    ASSERT_EQ(json.status, 0) << json.err;
    const nlohmann::json j = nlohmann::json::parse(json.out);
    const nlohmann::json expected = {
        {"totalWidth", 20.0},       {"totalLength", 60.0}, {"widthInReed", 23.0},    {"warpLength", 99.0},
        {"lengthUnit", "in"},       {"ends", 460},         {"picks", 1380},          {"warpQuantity", 1265},
        {"warpQuantityUnit", "yd"}, {"warpWeight", 1.0},   {"warpWeightUnit", "lb"}, {"weftQuantity", 882},
        {"weftQuantityUnit", "yd"}, {"weftWeight", 1.0},   {"weftWeightUnit", "lb"},
    };
    EXPECT_EQ(j, expected);

    // The other system converts sett and lengths alike: the cloth stays the same.
    const CliResult metric = run({"plan", path("example.wif"), "--metric", "--json"});
    ASSERT_EQ(metric.status, 0) << metric.err;
    const nlohmann::json m = nlohmann::json::parse(metric.out);
    EXPECT_EQ(m["lengthUnit"], "cm");
    EXPECT_NEAR(m["totalWidth"].get<double>(), 50.8, 1e-9);
    EXPECT_NEAR(m["ends"].get<int>(), 460, 10);
    EXPECT_EQ(run({"plan", path("example.wif"), "--english", "--json"}).out, json.out);
}

TEST_F(PlanCli, PlanUsageAndFailures)
{
    EXPECT_EQ(run({"plan"}).status, 2);
    EXPECT_EQ(run({"plan", path("example.wif"), "--metric", "--english"}).status, 2);
    EXPECT_EQ(run({"plan", path("example.wif"), "--bogus"}).status, 2);
    EXPECT_EQ(run({"plan", path("example.wif"), path("example.wif")}).status, 2);
    EXPECT_EQ(run({"plan", path("missing.wif")}).status, 1);
    const CliResult help = run({"plan", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: quillaby-cli plan", 0), 0u);
}

TEST_F(PlanCli, Density)
{
    const CliResult r = run({"density", "840", "yd", "1", "lb"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "840 yd/lb\n1682 m/kg\n");
    EXPECT_EQ(run({"density", "1000", "m", "1", "kg"}).out, "499 yd/lb\n1000 m/kg\n");
    EXPECT_EQ(run({"density", "-5", "m", "0", "g"}).out, "0 yd/lb\n0 m/kg\n");
    EXPECT_EQ(run({"density", "840", "ft", "1", "lb"}).status, 2);
    EXPECT_EQ(run({"density", "840", "yd", "one", "lb"}).status, 2);
    EXPECT_EQ(run({"density", "840", "yd", "1"}).status, 2);
    EXPECT_EQ(run({"density", "--help"}).status, 0);
}

TEST_F(PlanCli, Yarns)
{
    write("db.txt", "8/2; cotton; 3360; 10; 24; soft\\; washes well\r\n-; wool; 1600; 300; 12; \r\n");
    const CliResult text = run({"yarns", path("db.txt")});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out,
              "Size\tFiber\tDensity\tShrinkage\tSett\tNotes\n"
              "8/2\tcotton\t3360\t10%\t24\tsoft; washes well\n"
              "-\twool\t1600\t100%\t12\t\n");
    EXPECT_NE(text.err.find("out of range"), std::string::npos);

    const CliResult json = run({"yarns", "--json", path("db.txt")});
    ASSERT_EQ(json.status, 0);
    const nlohmann::json j = nlohmann::json::parse(json.out);
    ASSERT_EQ(j.size(), 2u);
    EXPECT_EQ(j[0],
              (nlohmann::json{{"size", "8/2"},
                              {"fiber", "cotton"},
                              {"density", 3360},
                              {"shrinkage", 10},
                              {"sett", 24},
                              {"notes", "soft; washes well"}}));

    write("bad.yrn", "\x03\x00\x01");
    const CliResult bad = run({"yarns", path("bad.yrn")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("damaged"), std::string::npos);
    EXPECT_EQ(run({"yarns"}).status, 2);
    EXPECT_EQ(run({"yarns", path("db.txt"), "--metric"}).status, 2);
}
