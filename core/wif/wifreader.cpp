#include "core/wif/wifreader.h"

#include "core/draft/iprompter.h"
#include "core/draft/quillabydoc.h"
#include "core/wif/wiftext.h"

#include <algorithm>
#include <cmath>

namespace qb {

namespace {

constexpr std::string_view kWif = "WIF";
constexpr std::string_view kPrivate = "PRIVATE QUILLABY";

std::string qlb(int n)
{
    return "qlb" + std::to_string(n);
}

int clampInt(std::int64_t v, int lo, int hi)
{
    return static_cast<int>(std::clamp<std::int64_t>(v, lo, hi));
}

bool oneOf(int v, std::initializer_list<int> allowed)
{
    return std::find(allowed.begin(), allowed.end(), v) != allowed.end();
}

} // namespace

WifReader::WifReader(const IniFile& ini, IPrompter& messages) : m_ini(ini), m_messages(messages)
{
    readContents();
    m_threadingLabels = m_ini.readFlag(kPrivate, qlb(30));
    m_treadlingLabels = m_ini.readFlag(kPrivate, qlb(31));
}

void WifReader::readContents()
{
    for (std::size_t i = 0; i < kWifSectionNames.size(); ++i)
        m_contents[i] = m_ini.readFlag("CONTENTS", kWifSectionNames[i]);
}

void WifReader::readNotes(CQuillabyDoc& doc)
{
    doc.raw().notes.clear();
    std::string line;
    // Note lines are unbounded: the writer never cuts them either.
    for (int i = 1; m_ini.readText("NOTES", std::to_string(i), IniFile::kUnbounded, line, false); ++i)
        for (const std::string& l : WrapWords(SlashesToLineBreaks(line))) {
            doc.raw().notes += l;
            doc.raw().notes += "\r\n";
        }
}

void WifReader::readText(CQuillabyDoc& doc)
{
    const std::string title = SlashesToLineBreaks(m_ini.text("TEXT", "Title", IniFile::kUnbounded, false));
    std::string wrapped;
    // Lines are joined, not terminated, so that a title does not grow by a
    // line break every time it is saved and opened again.
    for (std::string_view piece : SplitCrLf(title))
        for (const std::string& l : WrapWords(piece)) {
            if (!wrapped.empty()) wrapped += "\r\n";
            wrapped += l;
        }
    doc.raw().title = wrapped;
    doc.raw().author = SlashesToLineBreaks(m_ini.text("TEXT", "Author", IniFile::kUnbounded, false));
    const std::pair<std::string_view, std::string_view> extras[] = {
        {"Address", "\r\n"}, {"EMail", "\r\nEmail: "}, {"Telephone", "\r\nTelephone: "}, {"Fax", "\r\nFax: "}};
    for (const auto& [key, prefix] : extras) {
        // Addresses and e-mail are single lines.
        std::string v = m_ini.text("TEXT", key, IniFile::kUnbounded, false);
        if (key != "Address" && key != "EMail") v = SlashesToLineBreaks(v);
        if (!v.empty()) doc.raw().author += std::string(prefix) + v;
    }
}

namespace {
// 0 inches, 1 centimeters, 2 decipoints; unknown units count as inches.
int unitsOf(const IniFile& ini, std::string_view section)
{
    const std::string u = ini.text(section, "Units", 64);
    if (IniFile::equalsNoCase(u, "Centimeters")) return 1;
    if (IniFile::equalsNoCase(u, "Decipoints")) return 2;
    return 0;
}
// The sett behind a spacing written with five decimals: the one with the
// fewest decimals (up to four) whose spacing rounds to the written value, so
// that a sett of 64 does not come back as 63.98. Whole and ten-thousandths
// as the document keeps them.
std::pair<int, int> settOfSpacing(double spacing)
{
    if (!(spacing > 0) || !std::isfinite(spacing)) return {10, 0};
    const double sett = 1.0 / spacing;
    double best = sett;
    double scale = 1.0;
    for (int d = 0; d <= 4; ++d, scale *= 10) {
        const double c = std::round(sett * scale) / scale;
        if (c > 0 && std::fabs(1.0 / c - spacing) <= 0.5e-5 + 1e-12) {
            best = c;
            break;
        }
    }
    const double whole = std::ceil(best - 0.5);
    const double frac = best == sett ? std::trunc((best - whole) * 10000.0) : std::round((best - whole) * 10000.0);
    return {static_cast<int>(std::clamp(whole, -1e9, 1e9)), static_cast<int>(frac)};
}

} // namespace

void WifReader::readUnits(CQuillabyDoc& doc)
{
    if (flagged(WifSection::Warp)) {
        const int u = unitsOf(m_ini, "WARP");
        double spacing = m_ini.readReal("WARP", "Spacing");
        doc.raw().setUnits(u == 1 ? 1 : 0);
        if (u == 2) {
            doc.raw().setWarpSpacing(spacing / 720.0);
        } else {
            const auto [whole, frac] = settOfSpacing(spacing);
            doc.raw().setWarpSett(whole, frac);
        }
    }
    if (flagged(WifSection::Weft)) {
        const int u = unitsOf(m_ini, "WEFT");
        double spacing = m_ini.readReal("WEFT", "Spacing");
        if (u == 2) spacing /= 720.0;
        const int system = u == 1 ? 1 : 0;
        if (system != doc.units()) {
            m_messages.tell(FormatMessage(wifmsg::kUnits, doc.units() == 1 ? "METRIC" : "ENGLISH"));
            spacing = doc.units() == 1 ? spacing * 2.54 : spacing / 2.54;
            doc.raw().setWeftSpacing(spacing);
        } else if (u == 2) {
            doc.raw().setWeftSpacing(spacing);
        } else {
            const auto [whole, frac] = settOfSpacing(spacing);
            doc.raw().setWeftSett(whole, frac);
        }
    }
}

void WifReader::readPrivate(CQuillabyDoc& doc)
{
    ProjectPlanValues& p = doc.raw().plan;
    const double version = m_ini.readReal(kPrivate, "Version");
    const auto nonNeg = [&](int n) { return std::max(0, m_ini.readInt(kPrivate, qlb(n))); };
    const auto real = [&](int n) { return m_ini.readReal(kPrivate, qlb(n)); };
    p.itemWidth = real(1);
    p.itemLength = real(2);
    // Counts the planner's pages would refuse are brought into their ranges,
    // so that the wizard can always be finished.
    p.itemsOnWarp = clampInt(m_ini.readInt64(kPrivate, qlb(3)), 1, kMaxItemsOnWarp);
    p.itemsOnWeft = clampInt(m_ini.readInt64(kPrivate, qlb(4)), 1, kMaxItemsOnWeft);
    p.betweenItemsWarp = real(5);
    p.betweenItemsWeft = real(6);
    (void)real(7); // scratch values of an old planner, not kept
    (void)real(8);
    p.drawIn = real(9);
    // Before version 1 the draw-in was a percentage of the item width.
    if (version < 1.0) p.drawIn = std::ceil(p.drawIn * p.itemWidth / 100.0 - 1e-9);
    p.shrinkageWidth = nonNeg(10);
    p.takeUp = nonNeg(11);
    p.shrinkageLength = nonNeg(12);
    p.loomWaste = nonNeg(13);
    p.sample = nonNeg(14);
    p.lengthUnit = std::min(nonNeg(15), 1);
    p.warpYarn = m_ini.text(kPrivate, qlb(16), 80, false);
    p.weftYarn = m_ini.text(kPrivate, qlb(17), 80, false);
    // Densities in m/kg pass 32767 easily: no cut there.
    p.warpDensity = clampInt(m_ini.readInt64(kPrivate, qlb(18)), 0, 0x7FFFFFFF);
    p.weftDensity = clampInt(m_ini.readInt64(kPrivate, qlb(19)), 0, 0x7FFFFFFF);
    // Unit choices index the unit lists: yd or m, and lb, oz, kg or g.
    p.warpQuantityUnit = std::min(nonNeg(20), 1);
    p.weftQuantityUnit = std::min(nonNeg(21), 1);
    p.warpWeightUnit = std::min(nonNeg(22), 3);
    p.weftWeightUnit = std::min(nonNeg(23), 3);

    // Each notation keeps its default unless the file names one it has.
    DisplayNotations& n = doc.raw().notations;
    const int th = m_ini.readInt(kPrivate, qlb(24));
    const int tr = m_ini.readInt(kPrivate, qlb(25));
    const int tu = m_ini.readInt(kPrivate, qlb(26));
    const int dd = m_ini.readInt(kPrivate, qlb(27));
    if (oneOf(th, {0, 1, 3, 5})) n.threading = th;
    if (oneOf(tr, {0, 1, 5})) n.treadling = tr;
    if (oneOf(tu, {0, 1, 2})) n.tieup = tu;
    if (oneOf(dd, {0, 4})) n.drawdown = dd;
}

void WifReader::readProjectPlan(CQuillabyDoc& doc)
{
    readUnits(doc);
    if (flagged(WifSection::Private)) readPrivate(doc);
}

void WifReader::readBlockParams(CQuillabyDoc& doc)
{
    BlockSubstitutionParams& b = doc.raw().blocks;
    const auto flag = [&](int k) { return m_ini.readFlag(kPrivate, qlb(k)); };
    const auto count = [&](int k, int hi) { return clampInt(m_ini.readInt64(kPrivate, qlb(k)), 0, hi); };
    b.definesStructure = flag(50);
    const int blocks = m_ini.readInt(kPrivate, qlb(51));
    b.numBlocks = blocks < 2 ? 2 : blocks > 7 ? 8 : blocks;
    b.fixedNumberOfBlocks = flag(52);
    // Bounded so that they cannot drive huge key reads or overflow a tieup.
    b.endsPerBlock = count(53, kMaxThreads);
    b.picksPerBlock = count(54, kMaxThreads);
    b.tiedownShafts = count(55, kMaxShafts);
    b.tiedownTreadles = count(56, kMaxTreadles);
    b.patternShaftsPerBlock = count(57, kMaxShafts);
    b.patternTreadlesPerBlock = count(58, kMaxTreadles);
    b.repeatableUnits = flag(59);
    b.sequentialBlockOrder = flag(60);
    b.adjacentKeysNotCombined = flag(61);
    b.enforceOddEvenTiedowns = flag(62);
    b.allowTieupCombinations = flag(63);
    b.skeletonTieup = flag(64);
    b.automaticallyGenerated = b.allowTieupCombinations && flag(65);
    b.threadingFlipTransition = flag(66);
    b.threadingFlipChoice = flag(67);
    b.treadlingFlipTransition = flag(68);
    b.treadlingFlipChoice = flag(69);
    b.threadingBalanceTurning = count(70, kMaxThreads);
    b.threadingBalanceTransition = count(71, kMaxThreads);
    b.threadingBalanceTurningChoice = flag(72);
    b.threadingBalanceTransitionChoice = flag(73);
    b.treadlingBalanceTurning = count(74, kMaxThreads);
    b.treadlingBalanceTransition = count(75, kMaxThreads);
    b.treadlingBalanceTurningChoice = flag(76);
    b.treadlingBalanceTransitionChoice = flag(77);
    b.colorOptions = std::max(0, m_ini.readInt(kPrivate, qlb(78)));
    if (b.definesStructure) {
        doc.raw().notations.threadingSymbols = false;
        doc.raw().notations.treadlingSymbols = false;
    }
}

void WifReader::readTieupKeys(CQuillabyDoc& doc)
{
    const BlockSubstitutionParams& b = doc.blocks();
    const int slots = 1 << b.numBlocks;
    const int perKey = b.patternTreadlesPerBlock;
    doc.raw().tieupKeys.clear();
    doc.raw().tieupKeys.resize(static_cast<std::size_t>(slots));
    // The writer stores the keys whenever they are not generated (LIFTPLAN
    // flagged); read them then too, not only when combinations are allowed.
    const bool read = (b.allowTieupCombinations || flagged(WifSection::Liftplan)) && !doc.hasTieupKeys();
    bool any = false;
    if (read && perKey > 0) {
        bool above = false;
        for (int i = 0; i < slots; ++i) {
            auto key = std::make_unique<TieupKey>(doc.numShafts(), perKey);
            bool got = false;
            for (int j = 0; j < perKey; ++j) {
                TUPTYPE col;
                if (readLineSet("LIFTPLAN", i * perKey + j + 1, col, doc.numShafts(), above) > 0) got = true;
                key->setColumn(j, col);
            }
            if (got) {
                key->flag1 = key->flag2 = 1;
                doc.raw().tieupKeys[static_cast<std::size_t>(i)] = std::move(key);
                any = true;
            }
        }
    }
    doc.raw().hasTieupKeys = any;
    if (!any) doc.SetModified(true);
}

void WifReader::readWeavingRun(CQuillabyDoc& doc)
{
    WeavingRunState& w = doc.raw().weaving;
    const int picks = doc.numPicks();
    w.savedState = true;
    w.reverse = m_ini.readFlag(kPrivate, qlb(45));
    w.loop = m_ini.readFlag(kPrivate, qlb(46));
    w.unweave = false;
    w.currentPick = picks > 0 ? clampInt(m_ini.readInt64(kPrivate, qlb(47)), 0, picks - 1) : 0;
    w.repeatCount = std::max(0, m_ini.readInt(kPrivate, qlb(49)));
    w.markers.clear();
    // Read whole: a long marker list must not be cut into a different marker.
    const std::string list = m_ini.text(kPrivate, qlb(48), IniFile::kUnbounded, false);
    std::size_t pos = 0;
    while (pos <= list.size()) {
        std::size_t comma = list.find(',', pos);
        if (comma == std::string::npos) comma = list.size();
        const auto v = IniFile::parseInt(std::string_view(list).substr(pos, comma - pos));
        if (v && *v >= 0 && *v < picks) w.markers.push_back(static_cast<int>(*v));
        pos = comma + 1;
    }
}

int WifReader::defaultColor(WifSection side, int fallback, int paletteCount) const
{
    const std::string_view sec = side == WifSection::Warp ? "WARP" : "WEFT";
    const int c = colorIndex(flagged(side) ? m_ini.readInt(sec, "Color") : -1, paletteCount);
    if (c >= 0) return c;
    const int f = colorIndex(fallback + 1, paletteCount);
    return f >= 0 ? f : 0;
}

bool WifReader::open(CQuillabyDoc& doc, const WifReadOptions& options, std::string* error)
{
    doc.DeleteContents();
    const NewDraftDefaults& d = options.defaults;
    doc.raw().setUnits(d.units);
    doc.raw().plan.loomWaste = std::max(0, d.wasteLength);
    doc.raw().notations = d.notations;

    // Only the presence of a version is checked.
    std::string version;
    if (!m_ini.readText(kWif, "Version", 64, version) || version.empty()) {
        const std::string msg = FormatMessage(wifmsg::kVersion, version);
        m_messages.tell(msg);
        if (error) *error = "no WIF version: not a draft file";
        return false;
    }
    // Date and source.
    doc.raw().date = m_ini.text(kWif, "Date", 350);
    doc.raw().source = m_ini.text(kWif, "Source Program", 350) + ", version " + m_ini.text(kWif, "Source Version", 350);
    // CONTENTS was read with the index. Notes and texts.
    if (flagged(WifSection::Notes)) readNotes(doc);
    if (flagged(WifSection::Text)) readText(doc);
    // Units and sett.
    readUnits(doc);
    if (doc.units() == 1) {
        doc.raw().plan.warpQuantityUnit = doc.raw().plan.weftQuantityUnit = 1;
        doc.raw().plan.warpWeightUnit = doc.raw().plan.weftWeightUnit = 2;
    }
    // The private values.
    const bool priv = flagged(WifSection::Private);
    if (priv) {
        readPrivate(doc);
        int side = m_ini.readInt(kPrivate, qlb(40));
        if (side != 1 && side != 2) side = 0;
        doc.raw().setCorrelation(side, side != 0 && m_ini.readFlag(kPrivate, qlb(43)));
    }
    doc.raw().notations.threadingSymbols = m_ini.readFlag(kPrivate, qlb(28));
    doc.raw().notations.treadlingSymbols = m_ini.readFlag(kPrivate, qlb(29));
    if (priv) readBlockParams(doc);

    // Palette; a file without colors gets black and white.
    if (flagged(WifSection::ColorTable)) readPalette(doc.raw().paletteMutable());
    if (doc.palette().count() == 0) {
        doc.raw().paletteMutable().add(0x000000, false);
        doc.raw().paletteMutable().add(0xFFFFFF, false);
    }
    const int paletteCount = doc.palette().count();

    // Loom size as declared (0 when not).
    int shafts = 0, treadles = 0;
    bool rising = false; // a file without WEAVING gives no shed: sinking
    if (flagged(WifSection::Weaving)) {
        shafts = std::clamp(m_ini.readInt("WEAVING", "Shafts"), 0, kMaxShafts);
        treadles = m_ini.readInt("WEAVING", "Treadles");
        treadles = treadles <= 0 ? shafts : std::min(treadles, kMaxTreadles);
        rising = m_ini.readFlag("WEAVING", "Rising Shed");
    }

    // Threading rows (every shaft up to 64 is kept; the count follows).
    ThreadingRows warp;
    bool above64 = false;
    const int warps = readThreadingRows(warp, above64, paletteCount);
    // Treadling rows or the liftplan.
    TreadlingRows weft;
    bool liftplan = false, aboveLimit = false;
    const int wefts = readTreadlingRows(weft, liftplan, aboveLimit, options.liftplan, paletteCount);

    // Final loom size: never below what the file's own lines use,
    // never 0; then the tieup.
    int usedShafts = 0;
    for (int r = 0; r < warps; ++r) usedShafts = std::max(usedShafts, warp[r]->HighestValue());
    int usedTreadles = 0;
    for (int r = 0; r < wefts; ++r) usedTreadles = std::max(usedTreadles, weft[r]->HighestValue());
    std::unique_ptr<Tieup> fileTieup;
    if (liftplan) {
        usedShafts = std::max(usedShafts, usedTreadles);
        if (shafts <= 0) shafts = std::min(treadles, kMaxShafts);
    } else if (flagged(WifSection::Tieup)) {
        fileTieup = readTieup(std::max(treadles, usedTreadles));
        for (int t = 0; t < fileTieup->treadleCount(); ++t)
            usedShafts = std::max(usedShafts, fileTieup->column(t).highest());
    }
    shafts = std::max(shafts, usedShafts);
    if (shafts <= 0) shafts = std::clamp(d.shafts, 1, kMaxShafts);
    if (liftplan) {
        treadles = shafts;
    } else {
        treadles = std::max(treadles, usedTreadles);
        if (treadles <= 0) treadles = shafts;
    }
    doc.raw().setLoomRaw(shafts, treadles, liftplan);
    doc.raw().setRisingShed(rising);
    doc.raw().setRowCountsRaw(warps, wefts);
    for (int r = 0; r < warps; ++r) {
        warp[r]->SetLimit(shafts);
        doc.raw().replaceThreading(r, std::move(warp[r]));
    }
    for (int r = 0; r < wefts; ++r) {
        weft[r]->SetLimit(liftplan ? shafts : treadles);
        doc.raw().replaceTreadling(r, std::move(weft[r]));
    }
    if (doc.multipleTreadles()) doc.raw().notations.treadlingSymbols = false;

    auto tieup = std::make_unique<Tieup>(shafts, treadles);
    if (liftplan) {
        tieup->makeDirect();
    } else if (fileTieup) {
        for (int t = 0; t < treadles; ++t) tieup->setColumn(t, fileTieup->column(t));
    }
    doc.raw().replaceTieup(std::move(tieup));
    if (above64)
        m_messages.tell(FormatMessage(wifmsg::kUhOh, FormatMessage(wifmsg::kShaftsReduced, std::to_string(shafts))));
    if (aboveLimit)
        m_messages.tell(FormatMessage(wifmsg::kUhOh,
                                      liftplan ? FormatMessage(wifmsg::kShaftsReduced, std::to_string(shafts))
                                               : FormatMessage(wifmsg::kTreadlesReduced, std::to_string(treadles))));

    // Mouse colors from the first end and pick.
    ColorPalette& pal = doc.raw().paletteMutable();
    if (doc.numEnds() > 0 && doc.threading(0)->GetColor(0) < paletteCount)
        pal.setLeftColor(doc.threading(0)->GetColor(0));
    if (doc.numPicks() > 0 && doc.treadling(0)->GetColor(0) < paletteCount)
        pal.setRightColor(doc.treadling(0)->GetColor(0));

    // Tieup keys of a weave-structure draft, the weaving run.
    if (priv && doc.blocks().definesStructure) readTieupKeys(doc);
    readWeavingRun(doc);
    doc.EnsureComplete();
    return true;
}

bool ReadWifFile(const std::string& path, CQuillabyDoc& doc, IPrompter& messages, const WifReadOptions& options,
                 std::string* error)
{
    std::string reason;
    auto ini = IniFile::load(path, &reason);
    if (!ini) {
        if (error) *error = path + ": " + reason;
        return false;
    }
    WifReader reader(*ini, messages);
    return reader.open(doc, options, error);
}

int ReadWifPalette(const std::string& path, ColorPalette& palette, IPrompter& messages)
{
    auto ini = IniFile::load(path);
    if (!ini) return -1;
    WifReader reader(*ini, messages);
    return reader.readPalette(palette);
}

} // namespace qb
