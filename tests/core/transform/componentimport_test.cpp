// Taking the threading, treadling, tieup or a colorway of another draft file.
#include "tests/core/wif/testmessages.h"

#include "core/draft/drawdown.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/command.h"
#include "core/transform/componentimport.h"
#include "core/wif/sourcedraft.h"
#include "core/wif/wifwriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace qb;

namespace {

class ComponentImport : public ::testing::Test {
protected:
    // A draft with `ends` ends on shafts 1..shafts in turn, `picks` picks on
    // treadles 1..treadles in turn.
    static std::unique_ptr<CQuillabyDoc> draft(int shafts, int treadles, int ends, int picks, bool liftplan = false)
    {
        auto doc = std::make_unique<CQuillabyDoc>();
        NewDraftDefaults d;
        d.shafts = shafts;
        d.treadles = treadles;
        d.liftplan = liftplan;
        d.defaultColors = {0x000000, 0x0000FF};
        doc->OnNewDocument(d);
        for (int e = 0; e < ends; ++e) doc->raw().threadingMutable(0)->SetValue(e, e % shafts + 1);
        for (int p = 0; p < picks; ++p) {
            TreadleSet s;
            s.set(p % treadles + 1);
            if (liftplan) s.set((p + 1) % treadles + 1);
            doc->raw().treadlingMutable(0)->SetSet(p, s);
        }
        return doc;
    }
    std::string save(CQuillabyDoc& doc, const std::string& name)
    {
        const std::string path = (std::filesystem::path(::testing::TempDir()) / name).string();
        EXPECT_TRUE(WriteWifFile(doc, path));
        return path;
    }
    std::string write(const std::string& name, const std::string& text)
    {
        const auto path = std::filesystem::path(::testing::TempDir()) / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    FixedPrompter prompter;
};

} // namespace

TEST_F(ComponentImport, ThreadingRaisesShaftsAndTakesTheEndCount)
{
    struct Case {
        int fileShafts, fileEnds, shafts;
    } cases[] = {{4, 20, 8}, {12, 20, 12}, {8, 70, 8}};
    for (const Case& c : cases) {
        auto doc = draft(8, 8, 50, 4);
        for (int e = 0; e < 50; ++e) doc->raw().threadingMutable(0)->SetColor(e, e % 3);
        auto other = draft(c.fileShafts, 4, c.fileEnds, 2);
        ASSERT_TRUE(ImportThreading(kUnrecorded, *doc, save(*other, "threading.wif"), prompter).done());
        EXPECT_EQ(doc->numShafts(), c.shafts);
        ASSERT_EQ(doc->numEnds(), c.fileEnds);
        for (int e = 0; e < c.fileEnds; ++e) {
            EXPECT_EQ(doc->threading(0)->GetShaft(e), e % c.fileShafts + 1);
            // The draft's colors stay with their ends; new ends take the row's.
            EXPECT_EQ(doc->threading(0)->GetColor(e), e < 50 ? e % 3 : doc->threading(0)->defaultColor());
        }
        EXPECT_EQ(doc->numPicks(), 4);
    }
}

TEST_F(ComponentImport, TreadlingFromALiftplanTurnsMultipleTreadlesOn)
{
    auto doc = draft(4, 4, 4, 3);
    auto lift = draft(6, 6, 4, 5, true);
    ASSERT_TRUE(ImportTreadling(kUnrecorded, *doc, save(*lift, "lift.wif"), prompter).done());
    EXPECT_TRUE(doc->multipleTreadles());
    EXPECT_FALSE(doc->isLiftplan());
    EXPECT_EQ(doc->numTreadles(), 6);
    EXPECT_EQ(doc->numShafts(), 6);
    ASSERT_EQ(doc->numPicks(), 5);
    EXPECT_EQ(doc->treadling(0)->GetSet(4), lift->treadling(0)->GetSet(4));

    // Into a liftplan: a treadling comes through its own tieup.
    auto plan = draft(4, 4, 4, 2, true);
    auto tied = draft(4, 2, 4, 3);
    tied->raw().tieupMutable().setColumn(1, TUPTYPE(0b1100));
    ASSERT_TRUE(ImportTreadling(kUnrecorded, *plan, save(*tied, "tied.wif"), prompter).done());
    for (int p = 0; p < 3; ++p) EXPECT_EQ(LiftedShafts(*plan, p), LiftedShafts(*tied, p)) << p;
}

TEST_F(ComponentImport, TieupRaisesTheCounts)
{
    auto doc = draft(4, 4, 4, 4);
    auto other = draft(6, 10, 6, 10);
    other->raw().tieupMutable().setColumn(9, TUPTYPE(0b100001));
    ASSERT_TRUE(ImportTieup(kUnrecorded, *doc, save(*other, "tieup.wif"), prompter).done());
    EXPECT_EQ(doc->numShafts(), 6);
    EXPECT_EQ(doc->numTreadles(), 10);
    EXPECT_EQ(doc->tieup(), other->tieup());
}

TEST_F(ComponentImport, WarpColorwayRecolorsTheEndsBothHave)
{
    auto doc = draft(4, 4, 100, 2);
    auto other = draft(4, 4, 40, 2);
    other->raw().paletteMutable().add(rgb(10, 20, 30), false);
    const int c = other->palette().count() - 1;
    for (int e = 0; e < 40; e += 2) other->raw().threadingMutable(0)->SetColor(e, c);
    ASSERT_TRUE(ImportColorway(kUnrecorded, *doc, Side::Threading, save(*other, "colors.wif"), prompter).done());
    for (int e = 0; e < 100; ++e)
        EXPECT_EQ(WarpColor(*doc, e), e < 40 ? WarpColor(*other, e) : WarpColor(*doc, 99)) << e;
    EXPECT_EQ(doc->palette().color(0), other->palette().color(0));
}

TEST_F(ComponentImport, ColorsOutsideTheFilesPaletteGiveItsDefaultColor)
{
    auto doc = draft(4, 4, 3, 3);
    const std::string path =
        write("weft.wif",
              "[WIF]\nVersion=1.1\n[CONTENTS]\nWEAVING=1\nWEFT=1\nCOLOR PALETTE=1\nCOLOR TABLE=1\nWEFT COLORS=1\n"
              "TREADLING=1\n[WEAVING]\nShafts=4\nTreadles=4\n[WEFT]\nThreads=3\nColor=2\n[COLOR PALETTE]\nEntries=2\n"
              "Range=0,255\n[COLOR TABLE]\n1=255,0,0\n2=0,0,255\n[WEFT COLORS]\n1=0\n2=1\n3=7\n[TREADLING]\n1=1\n");
    ASSERT_TRUE(ImportColorway(kUnrecorded, *doc, Side::Treadling, path, prompter).done());
    EXPECT_EQ(WeftColor(*doc, 0), rgb(0, 0, 255));
    EXPECT_EQ(WeftColor(*doc, 1), rgb(255, 0, 0));
    EXPECT_EQ(WeftColor(*doc, 2), rgb(0, 0, 255));
}

TEST_F(ComponentImport, RefusedOrMissingPartsChangeNothing)
{
    auto doc = draft(4, 4, 6, 6);
    const std::string before = WifText(*doc, "1/1/2026");
    const std::string noVersion = write("nov.wif", "[WIF]\n[CONTENTS]\nWEAVING=1\nTIEUP=1\n[TIEUP]\n1=2\n");
    EXPECT_EQ(ImportTieup(kUnrecorded, *doc, noVersion, prompter).status, CommandResult::Status::Refused);
    EXPECT_EQ(prompter.lastMessage, "WIF Version  is not\nsupported by this application.");
    EXPECT_EQ(ImportColorway(kUnrecorded, *doc, Side::Threading, noVersion, prompter).status,
              CommandResult::Status::Refused);
    EXPECT_EQ(ImportThreading(kUnrecorded, *doc, "/no/such/file.wif", prompter).status, CommandResult::Status::Refused);

    const std::string bare = write("bare.wif", "[WIF]\nVersion=1.1\n[CONTENTS]\nTEXT=1\n[TEXT]\nTitle=x\n");
    EXPECT_EQ(ImportThreading(kUnrecorded, *doc, bare, prompter).status, CommandResult::Status::NoChange);
    EXPECT_EQ(ImportTreadling(kUnrecorded, *doc, bare, prompter).status, CommandResult::Status::NoChange);
    EXPECT_EQ(ImportTieup(kUnrecorded, *doc, bare, prompter).status, CommandResult::Status::NoChange);
    EXPECT_EQ(ImportColorway(kUnrecorded, *doc, Side::Treadling, bare, prompter).status,
              CommandResult::Status::NoChange);
    EXPECT_EQ(WifText(*doc, "1/1/2026"), before);

    // Warp rows bound to the color bars: No to the guard.
    auto bars = draft(2, 2, 4, 4);
    bars->SetNumRows(kUnrecorded, Side::Threading, 2);
    bars->raw().setCorrelation(1, true);
    FixedPrompter no(false);
    EXPECT_EQ(ImportThreading(kUnrecorded, *bars, save(*doc, "src.wif"), no).status, CommandResult::Status::Declined);
    EXPECT_EQ(bars->numEnds(), 4);
}

TEST_F(ComponentImport, MergeSourcesSkipUnreadableFiles)
{
    auto a = draft(4, 4, 3, 2), b = draft(4, 4, 5, 2);
    const std::string noVersion = write("merge-nov.wif", "[WIF]\n[CONTENTS]\nTHREADING=1\n");
    const auto docs =
        ReadMergeSources({save(*a, "a.wif"), "/no/such.wif", noVersion, save(*b, "b.wif")}, LiftplanChoice::Treadling);
    ASSERT_EQ(docs.size(), 2u);
    EXPECT_EQ(docs[0]->numEnds(), 3);
    EXPECT_EQ(docs[1]->numEnds(), 5);
}
