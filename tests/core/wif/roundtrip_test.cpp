// Random drafts of every form are written and read back; everything the file
// format promises to keep must come back.
#include "tests/core/wif/testmessages.h"

#include "core/draft/quillabydoc.h"
#include "core/wif/wifreader.h"
#include "core/wif/wifwriter.h"

#include <gtest/gtest.h>

#include <random>

using namespace qb;

namespace {

enum class Form { Single, Multiple, Liftplan, Structure };

class DraftMaker {
public:
    explicit DraftMaker(unsigned seed) : m_rng(seed) {}

    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    bool coin(int percent = 50) { return pick(1, 100) <= percent; }

    std::string word(int maxLen, const std::string& alphabet)
    {
        std::string w;
        const int n = pick(1, maxLen);
        for (int i = 0; i < n; ++i) w += alphabet[static_cast<std::size_t>(pick(0, int(alphabet.size()) - 1))];
        return w;
    }
    // A line of words the reader keeps as it is: it wraps lines of 59
    // characters and more (DocumentedLossesOnly below).
    std::string words(int maxWords)
    {
        std::string s;
        const int n = pick(1, maxWords);
        for (int i = 0; i < n; ++i) {
            const std::string w = word(8, "abcdefghijklmnopqrstuvwxyzABC0123456789.-'");
            if (i && s.size() + 1 + w.size() > 58) break;
            s += (i ? " " : "") + w;
        }
        return s;
    }

    std::unique_ptr<CQuillabyDoc> make(Form form)
    {
        auto doc = std::make_unique<CQuillabyDoc>();
        NewDraftDefaults d;
        d.shafts = pick(1, 64);
        d.treadles = pick(1, 128);
        d.liftplan = form == Form::Liftplan;
        d.risingShed = coin();
        d.units = pick(0, 1);
        doc->OnNewDocument(d);
        CQuillabyDoc& doc_ = *doc;
        const int shafts = doc_.numShafts();
        const int treadles = doc_.numTreadles();

        // Palette: random colors, some with the weaver's own names.
        ColorPalette& pal = doc_.raw().paletteMutable();
        pal.clear();
        const int colors = pick(1, kMaxColors);
        for (int i = 0; i < colors; ++i) {
            std::string name;
            const int kind = pick(0, 3);
            if (kind == 1) name = word(11, "abcdefghijklmnopqrstuvwxyz ,;-");
            if (kind == 2) name = "colorful";
            if (kind == 3) name = "color" + std::to_string(pick(1, 99));
            while (!name.empty() && name.back() == ' ') name.pop_back();
            while (!name.empty() && name.front() == ' ') name.erase(0, 1);
            pal.add(rgb(pick(0, 255), pick(0, 255), pick(0, 255)), false, name);
        }

        const int warps = pick(1, 4);
        const int wefts = form == Form::Single || form == Form::Structure ? pick(1, 4) : 1;
        doc_.raw().setRowCountsRaw(warps, wefts);
        const int ends = coin(10) ? 0 : pick(1, 150);
        const int picks = coin(10) ? 0 : pick(1, 150);
        for (int r = 0; r < warps; ++r) {
            auto t = std::make_unique<Threading>(shafts);
            t->setDefaultColor(pick(0, colors - 1));
            t->Append(ends);
            for (int e = 0; e < ends; ++e) t->SetValue(e, coin(80) ? pick(1, shafts) : 0);
            doc_.raw().replaceThreading(r, std::move(t));
        }
        const int limit = form == Form::Liftplan ? shafts : treadles;
        for (int r = 0; r < wefts; ++r) {
            auto t = std::make_unique<Treadling>(limit);
            t->setDefaultColor(pick(0, colors - 1));
            t->setMultiple(form == Form::Multiple || form == Form::Liftplan);
            t->Append(picks);
            for (int p = 0; p < picks; ++p) {
                if (t->multiple()) {
                    TreadleSet s;
                    const int n = pick(0, 4);
                    for (int i = 0; i < n; ++i) s.set(pick(1, limit));
                    t->SetSet(p, s);
                } else if (coin(85)) {
                    t->SetValue(p, pick(1, limit));
                }
            }
            doc_.raw().replaceTreadling(r, std::move(t));
        }
        auto tieup = std::make_unique<Tieup>(shafts, treadles);
        for (int t = 0; t < treadles; ++t)
            if (coin(80)) tieup->setColumn(t, TUPTYPE(m_rng() | (std::uint64_t(m_rng()) << 32)));
        if (form == Form::Liftplan) tieup->makeDirect();
        doc_.raw().replaceTieup(std::move(tieup));

        // Colors of single threads.
        for (int r = 0; r < warps; ++r) {
            Threading& t = *doc_.raw().threadingMutable(r);
            const int def = t.defaultColor();
            if (coin(70))
                for (int e = 0; e < ends; ++e) t.SetColor(e, coin(50) ? pick(0, colors - 1) : def);
            t.setDefaultColor(def);
        }
        for (int r = 0; r < wefts; ++r) {
            Treadling& t = *doc_.raw().treadlingMutable(r);
            const int def = t.defaultColor();
            if (coin(70))
                for (int p = 0; p < picks; ++p) t.SetColor(p, coin(50) ? pick(0, colors - 1) : def);
            t.setDefaultColor(def);
        }

        // Labels, characters and thick threads on row 0 of both sides.
        const bool structure = form == Form::Structure;
        decorate(*doc_.raw().threadingMutable(0), !structure);
        decorate(*doc_.raw().treadlingMutable(0), !structure && !doc_.treadling(0)->multiple());

        doc_.raw().setRisingShed(coin());
        doc_.raw().setCorrelation(pick(0, 2), coin());
        doc_.raw().setWarpSett(pick(1, 60), pick(0, 9999));
        doc_.raw().setWeftSett(pick(1, 60), pick(0, 9999));
        if (coin(70)) doc_.raw().title = words(8) + (coin(30) ? "\r\n" + words(8) : "");
        if (coin(70)) doc_.raw().author = words(5) + (coin(30) ? "\r\n" + words(3) : "");
        if (coin(70)) {
            const int lines = pick(1, 4);
            for (int i = 0; i < lines; ++i) doc_.raw().notes += words(8) + "\r\n";
        }
        randomPrivate(doc_, picks, form);
        return doc;
    }

private:
    void decorate(Tding& row, bool symbols)
    {
        const int n = row.GetCount();
        if (n == 0) return;
        for (int i = 0; i < 6; ++i) {
            const int start = pick(0, n - 1);
            Label l{start, pick(1, std::min(12, n - start)), coin(20) ? "" : word(31, "abcxyz XYZ012,.-")};
            while (!l.text.empty() && l.text.back() == ' ') l.text.pop_back();
            row.AddLabelToRow(pick(0, 2), l);
        }
        if (symbols && coin(60))
            for (int i = 0; i < n; ++i)
                if (coin(30)) row.SetSymbol(i, word(1, "xyzXYZ0123456789#*+,.]/=!")[0]);
        if (coin(50)) {
            for (int i = 0; i < n; ++i) row.SetThick(i, coin(20));
            row.SetRatio(pick(1, 5));
        }
    }

    void randomPrivate(CQuillabyDoc& d, int picks, Form form)
    {
        const auto hundredths = [&](int lo, int hi) { return pick(lo * 100, hi * 100) / 100.0; };
        ProjectPlanValues& p = d.raw().plan;
        p.itemWidth = hundredths(0, 100);
        p.itemLength = hundredths(0, 100);
        p.itemsOnWarp = pick(1, 20);
        p.itemsOnWeft = pick(1, 20);
        p.betweenItemsWarp = hundredths(0, 10);
        p.betweenItemsWeft = hundredths(0, 10);
        p.drawIn = hundredths(0, 5);
        p.shrinkageWidth = pick(0, 30);
        p.takeUp = pick(0, 30);
        p.shrinkageLength = pick(0, 30);
        p.loomWaste = pick(0, 100);
        p.sample = pick(0, 50);
        p.lengthUnit = pick(0, 1);
        p.warpYarn = coin() ? words(4) : "";
        p.weftYarn = coin() ? "60/2 cotton" : "";
        p.warpDensity = pick(0, 60000);
        p.weftDensity = pick(0, 60000);
        p.warpQuantityUnit = pick(0, 1);
        p.weftQuantityUnit = pick(0, 1);
        p.warpWeightUnit = pick(0, 3);
        p.weftWeightUnit = pick(0, 3);
        const int th[] = {0, 1, 3, 5}, tr[] = {0, 1, 5};
        d.raw().notations.threading = th[pick(0, 3)];
        d.raw().notations.treadling = tr[pick(0, 2)];
        d.raw().notations.tieup = pick(0, 2);
        d.raw().notations.drawdown = coin() ? 0 : 4;
        WeavingRunState& w = d.raw().weaving;
        w.reverse = coin();
        w.loop = coin();
        w.currentPick = picks ? pick(0, picks - 1) : 0;
        w.repeatCount = pick(0, 9);
        if (picks)
            for (int i = pick(0, 4); i > 0; --i) w.markers.push_back(pick(0, picks - 1));
        BlockSubstitutionParams& b = d.raw().blocks;
        b.definesStructure = form == Form::Structure;
        b.numBlocks = pick(2, 8);
        b.fixedNumberOfBlocks = coin();
        b.endsPerBlock = pick(0, 9);
        b.picksPerBlock = pick(0, 9);
        b.tiedownShafts = pick(0, 4);
        b.tiedownTreadles = pick(0, 4);
        b.patternShaftsPerBlock = pick(0, 4);
        b.patternTreadlesPerBlock = pick(1, 4);
        b.repeatableUnits = coin();
        b.sequentialBlockOrder = coin();
        b.adjacentKeysNotCombined = coin();
        b.enforceOddEvenTiedowns = coin();
        b.allowTieupCombinations = coin();
        b.skeletonTieup = coin();
        b.automaticallyGenerated = b.allowTieupCombinations && coin();
        if (b.definesStructure) b.automaticallyGenerated = false;
        b.threadingFlipTransition = coin();
        b.threadingFlipChoice = coin();
        b.treadlingFlipTransition = coin();
        b.treadlingFlipChoice = coin();
        b.threadingBalanceTurning = pick(0, 5);
        b.threadingBalanceTransition = pick(0, 5);
        b.threadingBalanceTurningChoice = coin();
        b.threadingBalanceTransitionChoice = coin();
        b.treadlingBalanceTurning = pick(0, 5);
        b.treadlingBalanceTransition = pick(0, 5);
        b.treadlingBalanceTurningChoice = coin();
        b.treadlingBalanceTransitionChoice = coin();
        b.colorOptions = pick(0, 255);
        if (b.definesStructure) {
            d.raw().tieupKeys.resize(std::size_t(1) << b.numBlocks);
            for (auto& key : d.raw().tieupKeys) {
                if (coin(40)) continue;
                key = std::make_unique<TieupKey>(d.numShafts(), b.patternTreadlesPerBlock);
                key->setCell(0, pick(1, d.numShafts()));
                for (int t = 0; t < b.patternTreadlesPerBlock; ++t)
                    if (coin()) key->setCell(t, pick(1, d.numShafts()));
                key->flag1 = key->flag2 = 1;
            }
            d.raw().hasTieupKeys = true;
        }
    }

    std::mt19937 m_rng;
};

bool automaticName(const std::string& n)
{
    return n.size() > 5 && n.compare(0, 5, "color") == 0 && n.find_first_not_of("0123456789", 5) == std::string::npos;
}

// The file keeps one default color per side (that of row 0).
void expectSameRow(const Tding& a, const Tding& b, int defaultColor, bool symbols, const char* what)
{
    ASSERT_EQ(a.GetCount(), b.GetCount()) << what;
    EXPECT_EQ(b.defaultColor(), defaultColor) << what;
    for (int i = 0; i < a.GetCount(); ++i) {
        ASSERT_EQ(a.GetColor(i), b.GetColor(i)) << what << " color " << i;
        ASSERT_EQ(a.GetThick(i), b.GetThick(i)) << what << " thick " << i;
        if (symbols) {
            ASSERT_EQ(a.GetSymbol(i), b.GetSymbol(i)) << what << " symbol " << i;
        }
    }
}

void expectSameDraft(const CQuillabyDoc& a, const CQuillabyDoc& b, const std::string& date)
{
    ASSERT_EQ(a.numShafts(), b.numShafts());
    ASSERT_EQ(a.numTreadles(), b.numTreadles());
    EXPECT_EQ(a.isRisingShed(), b.isRisingShed());
    ASSERT_EQ(a.isLiftplan(), b.isLiftplan());
    ASSERT_EQ(a.numWarps(), b.numWarps());
    ASSERT_EQ(a.numWefts(), b.numWefts());
    for (int r = 0; r < a.numWarps(); ++r) {
        EXPECT_EQ(a.threading(r)->values(), b.threading(r)->values()) << "warp row " << r;
        expectSameRow(*a.threading(r), *b.threading(r), a.threading(0)->defaultColor(),
                      r == 0 && !a.blocks().definesStructure, "warp");
    }
    bool several = false;
    for (const TreadleSet& s : a.treadling(0)->values()) several |= s.count() > 1;
    EXPECT_EQ(b.treadling(0)->multiple(), a.isLiftplan() || (a.numWefts() == 1 && several));
    for (int r = 0; r < a.numWefts(); ++r) {
        EXPECT_EQ(a.treadling(r)->values(), b.treadling(r)->values()) << "weft row " << r;
        expectSameRow(*a.treadling(r), *b.treadling(r), a.treadling(0)->defaultColor(),
                      r == 0 && !a.blocks().definesStructure && !a.treadling(0)->multiple(), "weft");
    }
    for (int k = 0; k < kLabelRows; ++k) {
        EXPECT_EQ(a.threading(0)->labelRow(k), b.threading(0)->labelRow(k)) << "warp label row " << k;
        EXPECT_EQ(a.treadling(0)->labelRow(k), b.treadling(0)->labelRow(k)) << "weft label row " << k;
    }
    if (!a.isLiftplan()) {
        EXPECT_EQ(a.tieup(), b.tieup());
    }

    ASSERT_EQ(a.palette().count(), b.palette().count());
    EXPECT_EQ(a.palette().colors(), b.palette().colors());
    for (int i = 0; i < a.palette().count(); ++i) {
        const std::string& n = a.palette().name(i);
        EXPECT_EQ(b.palette().name(i), automaticName(n) ? ColorPalette::defaultName(i) : n);
    }

    EXPECT_EQ(a.units(), b.units());
    // The spacing is written with five decimals: the sett comes back within
    // what those decimals can carry (rounded once on writing, once on reading).
    EXPECT_NEAR(a.warpSett(), b.warpSett(), a.warpSett() * a.warpSett() * 1.05e-5 + 2e-4);
    EXPECT_NEAR(a.weftSett(), b.weftSett(), a.weftSett() * a.weftSett() * 1.05e-5 + 2e-4);
    EXPECT_EQ(a.title(), b.title());
    EXPECT_EQ(a.author(), b.author());
    EXPECT_EQ(a.notes(), b.notes());
    EXPECT_EQ(b.date(), date);
    EXPECT_EQ(b.source(), "Quillaby, version 8.0.4");

    EXPECT_EQ(a.plan(), b.plan());
    DisplayNotations n = a.notations();
    n.threadingSymbols = !a.blocks().definesStructure && a.threading(0)->HasSymbols();
    n.treadlingSymbols = !a.blocks().definesStructure && !a.multipleTreadles() && a.treadling(0)->HasSymbols();
    EXPECT_EQ(n, b.notations());
    EXPECT_EQ(a.blocks(), b.blocks());
    EXPECT_EQ(a.correlationSide(), b.correlationSide());
    EXPECT_EQ(a.correlationOn(), b.correlationOn());
    WeavingRunState w = a.weaving();
    w.savedState = true;
    EXPECT_EQ(w, b.weaving());
    if (a.blocks().definesStructure) {
        ASSERT_EQ(a.tieupKeys().size(), b.tieupKeys().size());
        for (std::size_t i = 0; i < a.tieupKeys().size(); ++i) {
            ASSERT_EQ(bool(a.tieupKeys()[i]), bool(b.tieupKeys()[i])) << "key " << i;
            if (a.tieupKeys()[i]) {
                EXPECT_EQ(static_cast<const Tieup&>(*a.tieupKeys()[i]), *b.tieupKeys()[i]);
            }
        }
    }
}

void roundTrip(Form form, unsigned seedBase, int count)
{
    for (int i = 0; i < count; ++i) {
        const unsigned seed = seedBase + static_cast<unsigned>(i);
        DraftMaker maker(seed);
        auto doc = maker.make(form);
        const std::string text = WifText(*doc, "12/8/2026");
        RecordingMessages messages;
        CQuillabyDoc back;
        const IniFile ini(text);
        WifReader reader(ini, messages);
        ASSERT_TRUE(reader.open(back, {}, nullptr)) << "seed " << seed;
        EXPECT_TRUE(messages.told.empty()) << "seed " << seed << ": " << messages.told.front();
        EXPECT_TRUE(messages.asked.empty()) << "seed " << seed;
        SCOPED_TRACE("seed " + std::to_string(seed));
        expectSameDraft(*doc, back, "12/8/2026");
        if (testing::Test::HasFailure()) return;
        // Saving what was read and reading it again changes nothing more.
        const std::string second = WifText(back, "12/8/2026");
        CQuillabyDoc again;
        const IniFile ini2(second);
        WifReader(ini2, messages).open(again, {});
        const std::string third = WifText(again, "12/8/2026");
        if (third != second) {
            std::size_t at = 0;
            while (at < third.size() && third[at] == second[at]) ++at;
            ADD_FAILURE() << "seed " << seed << ": text drifts at " << second.substr(at > 80 ? at - 80 : 0, 120);
        }
    }
}

} // namespace

TEST(WifRoundTrip, SingleTreadleDrafts)
{
    roundTrip(Form::Single, 1000, 150);
}
TEST(WifRoundTrip, MultipleTreadleDrafts)
{
    roundTrip(Form::Multiple, 2000, 100);
}
TEST(WifRoundTrip, LiftplanDrafts)
{
    roundTrip(Form::Liftplan, 3000, 100);
}
TEST(WifRoundTrip, WeaveStructureDrafts)
{
    roundTrip(Form::Structure, 4000, 80);
}

TEST(WifRoundTrip, DocumentedLossesOnly)
{
    CQuillabyDoc doc;
    doc.OnNewDocument({});
    doc.raw().paletteMutable().add(rgb(1, 2, 3), false, "color7"); // index 2 ... its own name is lost
    doc.raw().notes = "a line that is quite long and keeps on going with many more words than fit\r\n\r\nb";
    doc.raw().setWarpSett(12, 3456);
    Threading& t = *doc.raw().threadingMutable(0);
    t.Append(2);
    t.SetThick(1, true);
    t.SetRatio(5);
    doc.raw().setWarpSett(64, 0); // spacing 0.015625: two decimals cannot hold ratio 5
    const IniFile ini(WifText(doc, "1/2/2003"));
    RecordingMessages m;
    CQuillabyDoc back;
    WifReader(ini, m).open(back, {});
    const int i = doc.palette().find(rgb(1, 2, 3));
    EXPECT_EQ(back.palette().name(i), "color" + std::to_string(i + 1));
    // Notes come back wrapped; the empty line is gone.
    EXPECT_EQ(back.notes(), "a line that is quite long and keeps on going with many\r\nmore words than fit\r\nb\r\n");
    // Thick ends keep their ratio even with small spacings.
    EXPECT_EQ(back.threading(0)->GetThick(1), 5);
    EXPECT_EQ(back.warpSettWhole(), 64);
    EXPECT_EQ(back.warpSettFrac(), 0);
}
