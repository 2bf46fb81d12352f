// Draft files written by other weaving programs, some deliberately damaged:
// each must open as a complete, consistent draft or fail with a reason.
#include "tests/core/wif/testmessages.h"

#include "core/draft/quillabydoc.h"
#include "core/wif/inifile.h"
#include "core/wif/wifreader.h"
#include "core/wif/wifwriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace qb;
namespace fs = std::filesystem;

namespace {

std::vector<fs::path> corpusFiles()
{
    std::vector<fs::path> files;
    for (const auto& e : fs::recursive_directory_iterator(testData("corpus")))
        if (e.is_regular_file() && e.path().extension() == ".wif") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

void expectConsistent(const CQuillabyDoc& d, const std::string& name)
{
    SCOPED_TRACE(name);
    ASSERT_GE(d.numShafts(), 1);
    ASSERT_LE(d.numShafts(), kMaxShafts);
    ASSERT_GE(d.numTreadles(), 1);
    ASSERT_LE(d.numTreadles(), kMaxTreadles);
    ASSERT_GE(d.palette().count(), 1);
    EXPECT_EQ(d.tieup().shaftCount(), d.numShafts());
    EXPECT_EQ(d.tieup().treadleCount(), d.numTreadles());
    if (d.isLiftplan()) {
        EXPECT_EQ(d.numTreadles(), d.numShafts());
    }
    for (int r = 0; r < d.numWarps(); ++r) {
        const Threading& t = *d.threading(r);
        ASSERT_EQ(t.GetCount(), d.numEnds());
        EXPECT_LE(t.HighestValue(), d.numShafts());
        for (int e = 0; e < t.GetCount(); ++e) ASSERT_LT(t.GetColor(e), d.palette().count());
    }
    for (int r = 0; r < d.numWefts(); ++r) {
        const Treadling& t = *d.treadling(r);
        ASSERT_EQ(t.GetCount(), d.numPicks());
        EXPECT_LE(t.HighestValue(), d.isLiftplan() ? d.numShafts() : d.numTreadles());
        for (int p = 0; p < t.GetCount(); ++p) ASSERT_LT(t.GetColor(p), d.palette().count());
    }
}

std::unique_ptr<CQuillabyDoc> open(const std::string& relative, RecordingMessages& m)
{
    auto doc = std::make_unique<CQuillabyDoc>();
    std::string error;
    EXPECT_TRUE(ReadWifFile(testData("corpus/" + relative), *doc, m, {}, &error)) << error;
    return doc;
}

} // namespace

TEST(WifCorpus, EveryFileOpensConsistentlyAndSurvivesASave)
{
    const auto files = corpusFiles();
    ASSERT_GE(files.size(), 40u);
    for (const auto& f : files) {
        RecordingMessages m;
        CQuillabyDoc doc;
        std::string error;
        const bool ok = ReadWifFile(f.string(), doc, m, {}, &error);
        if (!ok) {
            EXPECT_FALSE(error.empty()) << f;
            continue;
        }
        expectConsistent(doc, f.filename().string());
        // Whatever was read is written and read back unchanged.
        const std::string text = WifText(doc, "1/1/2000");
        CQuillabyDoc back;
        const IniFile ini(text);
        ASSERT_TRUE(WifReader(ini, m).open(back, {})) << f;
        EXPECT_EQ(WifText(back, "1/1/2000"), text) << f;
    }
}

TEST(WifCorpus, KnownDrafts)
{
    RecordingMessages m;
    auto multi = open("tests_data_desired_basic_wif/two color multiple treadles.wif", m);
    EXPECT_EQ(multi->numShafts(), 4);
    EXPECT_EQ(multi->numTreadles(), 6);
    EXPECT_EQ(multi->numEnds(), 4);
    EXPECT_EQ(multi->numPicks(), 6);
    EXPECT_TRUE(multi->multipleTreadles());
    EXPECT_EQ(multi->treadling(0)->GetSet(0), TreadleSet(0b100001, 0));
    EXPECT_EQ(multi->units(), 1);
    EXPECT_TRUE(multi->isRisingShed());

    auto lift = open("src_test_data_desired_basic_wif/multi-byte liftplan.wif", m);
    EXPECT_TRUE(lift->isLiftplan());
    EXPECT_EQ(lift->numShafts(), 17);
    EXPECT_EQ(lift->numEnds(), 641);
    EXPECT_TRUE(m.told.empty());

    // A pick using a treadle the file does not declare: the loom grows to
    // hold it instead of dropping it silently.
    auto extra = open("tests_data_bad_wif/too many treadles in treadline.wif", m);
    EXPECT_EQ(extra->numTreadles(), 7);
    EXPECT_EQ(extra->treadling(0)->HighestValue(), 7);

    // A 255-entry palette of which the threads use ten: those ten stay.
    RecordingMessages wpo;
    auto big = open("src_test_data_basic_wpo/many color single treadles.wpo.wif", wpo);
    EXPECT_EQ(big->palette().count(), 10);
    EXPECT_TRUE(wpo.told.empty());
}
