// quillaby-cli print: page counts from pdfinfo, pixels from pdftoppm.
#include "tests/cli/clirun.h"

#include "core/draft/drawdown.h"
#include "core/draft/quillabydoc.h"
#include "core/print/printlayout.h"
#include "core/wif/wifwriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;
using clitest::RunCli;

namespace {

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    int grey(int x, int y) const
    {
        const std::size_t i = 3 * (static_cast<std::size_t>(y) * width + x);
        return (rgb[i] + rgb[i + 1] + rgb[i + 2]) / 3;
    }
};

class PrintCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path()
            / ("qb-print-" + std::to_string(::getpid()) + "-"
               + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // A straight draw on `shafts` shafts, `ends` x `picks`, with a twill tieup.
    std::string writeDraft(int shafts, int ends, int picks, int threadingNotation = 1)
    {
        qb::CQuillabyDoc doc;
        qb::NewDraftDefaults d;
        d.shafts = shafts;
        d.treadles = shafts;
        doc.OnNewDocument(d);
        doc.raw().notations.threading = threadingNotation;
        for (int e = 0; e < ends; ++e) doc.SetThreadingCell(qb::kUnrecorded, e, 1 + e % shafts);
        for (int p = 0; p < picks; ++p) doc.SetTreadlingCell(qb::kUnrecorded, p, 1 + p % shafts);
        for (int t = 0; t < shafts; ++t)
            for (int s = 0; s < shafts / 2; ++s) doc.SetTieupCell(qb::kUnrecorded, t + 1, (t + s) % shafts + 1);
        const std::string path = (dir / "draft.wif").string();
        EXPECT_TRUE(qb::WriteWifFile(doc, path));
        return path;
    }

    std::string shell(const std::string& cmd)
    {
        std::string out;
        if (FILE* f = ::popen(cmd.c_str(), "r")) {
            char buf[4096];
            size_t n;
            while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
            ::pclose(f);
        }
        return out;
    }

    int pages(const std::string& pdf)
    {
        std::istringstream in(shell("pdfinfo " + clitest::quote(pdf) + " 2>/dev/null"));
        for (std::string line; std::getline(in, line);)
            if (line.rfind("Pages:", 0) == 0) return std::stoi(line.substr(6));
        return -1;
    }

    // Page `page` (1-based) at `dpi` as a picture.
    Picture render(const std::string& pdf, int page, int dpi)
    {
        const std::string base = (dir / "page").string();
        shell("pdftoppm -r " + std::to_string(dpi) + " -f " + std::to_string(page) + " -l " + std::to_string(page)
              + " -singlefile " + clitest::quote(pdf) + " " + clitest::quote(base));
        const std::string data = clitest::slurp(base + ".ppm");
        Picture pic;
        std::istringstream in(data);
        std::string magic;
        int maxval = 0;
        in >> magic >> pic.width >> pic.height >> maxval;
        in.get();
        if (magic != "P6") return {};
        pic.rgb.assign(data.begin() + static_cast<long>(in.tellg()), data.end());
        if (pic.rgb.size() < static_cast<std::size_t>(pic.width) * pic.height * 3) return {};
        return pic;
    }

    fs::path dir;
};

TEST_F(PrintCli, PageCountsFollowTheLayout)
{
    const std::string draft = writeDraft(8, 300, 200);
    const std::string pdf = (dir / "out.pdf").string();
    // The default sheet of the PDF writer is A4: 2480 x 3508 dots at 300 dpi.
    const qb::PrinterMetrics a4{300, 300, 2480, 3508};
    struct Case {
        std::vector<std::string> args;
        qb::PrintKind kind;
        qb::PrintOptions options;
    };
    qb::PrintOptions scale32;
    scale32.scale = 32;
    qb::PrintOptions scale8;
    scale8.scale = 8;
    qb::PrintOptions fit;
    fit.fit = true;
    const Case cases[] = {
        {{"--scale", "32"}, qb::PrintKind::Draft, scale32},
        {{"--scale", "8"}, qb::PrintKind::Draft, scale8},
        {{"--fit"}, qb::PrintKind::Draft, fit},
        {{"--frame", "threading", "--scale", "8"}, qb::PrintKind::Threading, scale8},
        {{"--frame", "treadling", "--scale", "8"}, qb::PrintKind::Treadling, scale8},
        {{"--frame", "fabric"}, qb::PrintKind::Fabric, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"print", draft, "-o", pdf};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto r = RunCli(args, dir);
        ASSERT_EQ(r.status, 0) << r.err;
        // The expected count from the same layout code, for the same grid.
        qb::PrintGrid g;
        g.kind = c.kind;
        g.ends = qb::ThreadLayout::uniform(300);
        g.picks = qb::ThreadLayout::uniform(200);
        g.threadingRows = 8 + 1 + 1;
        g.treadlingColumns = 8 + 1 + 1;
        const int expected = qb::ComputePageLayout(g, a4, c.options).totalPages;
        EXPECT_EQ(pages(pdf), expected) << c.args.front() << ' ' << c.args.back();
        if (c.options.fit) {
            EXPECT_EQ(expected, 1);
        }
    }
}

TEST_F(PrintCli, HeaderFooterAndAKnownCell)
{
    // Four ends and picks at 4 squares per inch in warp mode: each crossing
    // a quarter-inch square, black where the warp is up.
    const std::string draft = writeDraft(4, 4, 4);
    const std::string pdf = (dir / "cells.pdf").string();
    const auto r = RunCli({"print", draft, "-o", pdf, "--frame", "fabric", "--scale", "4", "--mode", "warp"}, dir);
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(pages(pdf), 1);
    const Picture pic = render(pdf, 1, 100);
    ASSERT_GT(pic.width, 0);
    // Rule along the header band's lower edge (half an inch down), text above it.
    int ruleDark = 0, headerText = 0;
    for (int x = 40; x < pic.width - 40; ++x) {
        if (pic.grey(x, 49) < 128 || pic.grey(x, 50) < 128) ++ruleDark;
        for (int y = 20; y < 46; ++y)
            if (pic.grey(x, y) < 128) ++headerText;
    }
    EXPECT_GT(ruleDark, pic.width / 2);
    EXPECT_GT(headerText, 20);
    // Something printed in the footer band ("Page 1 of 1").
    int footer = 0;
    for (int y = pic.height - 30; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x)
            if (pic.grey(x, y) < 128) ++footer;
    EXPECT_GT(footer, 20);

    qb::CQuillabyDoc doc;
    const qb::DrawdownRows rows = [&] {
        qb::NewDraftDefaults d;
        d.shafts = d.treadles = 4;
        doc.OnNewDocument(d);
        for (int e = 0; e < 4; ++e) doc.SetThreadingCell(qb::kUnrecorded, e, 1 + e);
        for (int p = 0; p < 4; ++p) doc.SetTreadlingCell(qb::kUnrecorded, p, 1 + p);
        for (int t = 0; t < 4; ++t)
            for (int s = 0; s < 2; ++s) doc.SetTieupCell(qb::kUnrecorded, t + 1, (t + s) % 4 + 1);
        return qb::DrawdownRows(doc);
    }();
    // End e sits (3 - e) cells from the body's left edge (a quarter inch in).
    for (int e = 0; e < 4; ++e)
        for (int p = 0; p < 4; ++p) {
            const bool up = (rows.row(p).warpUp[0] >> e) & 1;
            const int x = 25 + (3 - e) * 25 + 12, y = 50 + p * 25 + 12;
            EXPECT_EQ(pic.grey(x, y) < 128, up) << "end " << e + 1 << " pick " << p + 1;
        }
}

TEST_F(PrintCli, NumbersInCellsWhenTheyFitAndEndNumbersUnderStrips)
{
    // A threading alone, 4 ends on 4 shafts. At 100 dpi the strip starts a
    // quarter inch in and half an inch down; below the warp color bar and a
    // blank row lie the four shaft rows.
    auto ink = [&](int notation, int scale, int& shaftInk, int& numberInk) {
        const std::string draft = writeDraft(4, 4, 4, notation);
        const std::string pdf = (dir / "strip.pdf").string();
        const auto r =
            RunCli({"print", draft, "-o", pdf, "--frame", "threading", "--scale", std::to_string(scale)}, dir);
        ASSERT_EQ(r.status, 0) << r.err;
        const Picture pic = render(pdf, 1, 100);
        ASSERT_GT(pic.width, 0);
        const int cell = 100 / scale, stripBottom = 50 + 6 * cell;
        shaftInk = numberInk = 0;
        for (int x = 25; x < 25 + 4 * cell; ++x) {
            for (int y = 50 + 2 * cell + 1; y < stripBottom; ++y)
                if (pic.grey(x, y) < 128) ++shaftInk;
            for (int y = stripBottom + 1; y < stripBottom + 12; ++y)
                if (pic.grey(x, y) < 128) ++numberInk;
        }
    };
    int plain = 0, numbers = 0, plainEnds = 0, numberEnds = 0;
    ink(0, 4, plain, plainEnds);
    ink(1, 4, numbers, numberEnds);
    // Plain marks fill their cells; numbers ink a small part of them.
    EXPECT_GT(plain, 4 * 20 * 20);
    EXPECT_GT(numbers, 4 * 10);
    EXPECT_LT(numbers, plain / 3);
    // "4" at the left (end 4) and "1" at the right under the strip.
    EXPECT_GT(plainEnds, 5);
    EXPECT_EQ(plainEnds, numberEnds);
    // A cell under 1/14 inch keeps plain marks whatever the notation.
    int smallPlain = 0, smallNumbers = 0, unused = 0;
    ink(0, 16, smallPlain, unused);
    ink(1, 16, smallNumbers, unused);
    EXPECT_EQ(smallPlain, smallNumbers);
}

TEST_F(PrintCli, RefusesBadUsageAndUnreadableFiles)
{
    const std::string draft = writeDraft(4, 8, 8);
    const std::string pdf = (dir / "x.pdf").string();
    EXPECT_EQ(RunCli({"print", draft}, dir).status, 2);
    EXPECT_EQ(RunCli({"print", draft, "-o", pdf, "--scale", "3"}, dir).status, 2);
    EXPECT_EQ(RunCli({"print", draft, "-o", pdf, "--scale", "33"}, dir).status, 2);
    EXPECT_EQ(RunCli({"print", draft, "-o", pdf, "--mode", "sepia"}, dir).status, 2);
    EXPECT_EQ(RunCli({"print", (dir / "missing.wif").string(), "-o", pdf}, dir).status, 1);
    EXPECT_FALSE(fs::exists(pdf));
    EXPECT_EQ(RunCli({"print", draft, "-o", (dir / "no" / "such" / "dir.pdf").string()}, dir).status, 1);
}

TEST_F(PrintCli, EveryTestDraftPrints)
{
    for (const auto& entry : fs::directory_iterator(fs::path(QUILLABY_TEST_DATA) / "wif")) {
        const std::string pdf = (dir / "t.pdf").string();
        const auto r = RunCli({"print", entry.path().string(), "-o", pdf, "--fit"}, dir);
        if (r.status == 1) continue; // files the reader refuses on purpose
        EXPECT_EQ(r.status, 0) << entry.path() << r.err;
        EXPECT_EQ(pages(pdf), 1) << entry.path();
    }
}

} // namespace
