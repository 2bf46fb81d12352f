#include "core/wif/wifwriter.h"

#include "core/draft/quillabydoc.h"
#include "core/wif/inifile.h"
#include "core/wif/iniwriter.h"
#include "core/wif/wifsections.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qb {

namespace {

constexpr std::string_view kPrivate = "PRIVATE QUILLABY";
constexpr std::string_view kDevelopers = "quillaby@oxbelle-software.example";
constexpr std::string_view kProgram = "Quillaby";
constexpr std::string_view kVersion = "8.0.4";

std::string qlb(int n)
{
    return "qlb" + std::to_string(n);
}

std::string num(long long n)
{
    return std::to_string(n);
}

// Characters that would break the line grammar of labels are replaced.
std::string labelText(const std::string& text)
{
    std::string t = text;
    for (char& c : t) {
        if (c == ';') c = ',';
        else if (c == '[') c = '(';
        else if (c == ']') c = ')';
    }
    return t;
}

// Label items of the labels starting at `thread`, "" when none does.
std::string labelItems(const Tding& row, int thread, std::array<std::size_t, kLabelRows>& cursor)
{
    const Label* at[kLabelRows] = {};
    int lastRow = -1;
    for (int r = 0; r < kLabelRows; ++r) {
        const auto& labels = row.labelRow(r);
        std::size_t& c = cursor[r];
        while (c < labels.size() && labels[c].start < thread) ++c;
        if (c < labels.size() && labels[c].start == thread) {
            at[r] = &labels[c];
            lastRow = r;
        }
    }
    std::string out;
    for (int r = 0; r <= lastRow; ++r)
        out += at[r] ? "[" + num(at[r]->length) + "]" + labelText(at[r]->text) : std::string("[-]");
    return out;
}

// A character the line grammar can carry: ';' and '[' would be read as
// separators, blanks and control characters vanish when the value is read.
int writableSymbol(int sym)
{
    return sym > ' ' && sym != ';' && sym != '[' && sym != 0x7F ? sym : 0;
}

bool hasLabels(const Tding& row)
{
    return row.LabelRowCount() > 0;
}

bool colorsNeeded(const CQuillabyDoc& doc, bool warp)
{
    const int rows = warp ? doc.numWarps() : doc.numWefts();
    if (rows > 1) return true;
    const Tding* row = warp ? static_cast<const Tding*>(doc.threading(0)) : doc.treadling(0);
    const auto uniform = row->UniformColor();
    if (!uniform) return row->GetCount() > 0;
    return *uniform != row->defaultColor();
}

void writeThreading(IniWriter& out, const CQuillabyDoc& doc, bool symbols)
{
    const Threading& t0 = *doc.threading(0);
    const bool plain = doc.numWarps() == 1 && !hasLabels(t0);
    std::array<std::size_t, kLabelRows> cursor{};
    std::string line;
    for (int e = 0; e < doc.numEnds(); ++e) {
        line = num(t0.GetShaft(e));
        const int sym = symbols ? writableSymbol(t0.GetSymbol(e)) : 0;
        if (plain) {
            if (sym) (line += " ;") += static_cast<char>(sym);
        } else {
            for (int r = 1; r < doc.numWarps(); ++r) (line += ',') += num(doc.threading(r)->GetShaft(e));
            const std::string items = labelItems(t0, e, cursor);
            if (!items.empty()) (line += " ;") += items;
            if (sym) (line += " ;") += static_cast<char>(sym);
        }
        out.set("THREADING", num(e + 1), line);
    }
}

std::string setText(const TreadleSet& set)
{
    std::string s;
    set.forEach([&](int t) {
        if (!s.empty()) s += ',';
        s += num(t);
    });
    return s;
}

void writeTreadling(IniWriter& out, const CQuillabyDoc& doc, std::string_view section, bool symbols)
{
    const Treadling& t0 = *doc.treadling(0);
    std::array<std::size_t, kLabelRows> cursor{};
    std::string line;
    for (int p = 0; p < doc.numPicks(); ++p) {
        if (doc.numWefts() == 1) {
            line = setText(t0.GetSet(p));
        } else {
            line.clear();
            for (int r = 0; r < doc.numWefts(); ++r) {
                if (r) line += ',';
                line += num(doc.treadling(r)->FirstValue(p));
            }
        }
        const std::string items = labelItems(t0, p, cursor);
        if (!items.empty()) (line += " ;") += items;
        if (symbols)
            if (const int sym = writableSymbol(t0.GetSymbol(p))) (line += " ;") += static_cast<char>(sym);
        out.set(section, num(p + 1), line);
    }
}

std::string columnText(TUPTYPE col, int shafts)
{
    std::string s;
    for (int sh = 1; sh <= shafts; ++sh)
        if (col.test(sh)) {
            if (!s.empty()) s += ',';
            s += num(sh);
        }
    return s;
}

void writeColors(IniWriter& out, const CQuillabyDoc& doc, bool warp)
{
    const int rows = warp ? doc.numWarps() : doc.numWefts();
    const int count = warp ? doc.numEnds() : doc.numPicks();
    const std::string_view sec = warp ? "WARP COLORS" : "WEFT COLORS";
    std::string line;
    for (int i = 0; i < count; ++i) {
        line.clear();
        for (int r = 0; r < rows; ++r) {
            const Tding* row = warp ? static_cast<const Tding*>(doc.threading(r)) : doc.treadling(r);
            if (r) line += ',';
            line += num(row->GetColor(i) + 1);
        }
        out.set(sec, num(i + 1), line);
    }
}

// The spacing of a thick thread: two decimals unless these would not carry
// the ratio back (small spacings), then five. Computed from the base spacing
// as written, so that the reader's division gives the ratio back exactly.
std::string thickText(double spacing, int ratio)
{
    const double base = IniFile::parseReal(IniWriter::formatFixed(spacing, 5));
    const double thick = (ratio + 1) * base;
    std::string two = IniWriter::formatFixed(thick, 2);
    const double back = IniFile::parseReal(two);
    if (back > base && static_cast<int>(std::floor(back / base + 1e-6)) - 1 == ratio) return two;
    return IniWriter::formatFixed(thick, 5);
}

void writeThick(IniWriter& out, const Tding& row, double spacing, std::string_view section)
{
    const std::string text = thickText(spacing, row.ratio());
    for (int i = 0; i < row.GetCount(); ++i)
        if (row.GetThick(i)) out.set(section, num(i + 1), text);
}

void writePrivate(IniWriter& out, const CQuillabyDoc& doc, bool thSymbols, bool trSymbols)
{
    const ProjectPlanValues& p = doc.plan();
    const auto real = [&](int k, double v) { out.setReal(kPrivate, qlb(k), v); };
    const auto integer = [&](int k, long long v) { out.setInt(kPrivate, qlb(k), v); };
    const auto flag = [&](int k, bool v) { out.setFlag(kPrivate, qlb(k), v); };
    out.setReal(kPrivate, "Version", 1.1);
    real(1, p.itemWidth);
    real(2, p.itemLength);
    integer(3, p.itemsOnWarp);
    integer(4, p.itemsOnWeft);
    real(5, p.betweenItemsWarp);
    real(6, p.betweenItemsWeft);
    real(9, p.drawIn);
    integer(10, p.shrinkageWidth);
    integer(11, p.takeUp);
    integer(12, p.shrinkageLength);
    integer(13, p.loomWaste);
    integer(14, p.sample);
    integer(15, p.lengthUnit);
    out.setText(kPrivate, qlb(16), p.warpYarn);
    out.setText(kPrivate, qlb(17), p.weftYarn);
    integer(18, p.warpDensity);
    integer(19, p.weftDensity);
    integer(20, p.warpQuantityUnit);
    integer(21, p.weftQuantityUnit);
    integer(22, p.warpWeightUnit);
    integer(23, p.weftWeightUnit);
    const DisplayNotations& n = doc.notations();
    integer(24, n.threading);
    integer(25, n.treadling);
    integer(26, n.tieup);
    integer(27, n.drawdown);
    flag(28, thSymbols);
    flag(29, trSymbols);
    flag(30, hasLabels(*doc.threading(0)));
    flag(31, hasLabels(*doc.treadling(0)));
    integer(40, doc.correlationSide());
    integer(41, doc.numWarps());
    integer(42, doc.numWefts());
    flag(43, doc.correlationOn());
    const WeavingRunState& w = doc.weaving();
    integer(45, w.reverse ? 1 : 0);
    integer(46, w.loop ? 1 : 0);
    integer(47, w.currentPick);
    std::string markers;
    for (int m : w.markers)
        if (m >= 0 && m < doc.numPicks()) {
            if (!markers.empty()) markers += ',';
            markers += num(m);
        }
    out.set(kPrivate, qlb(48), markers);
    integer(49, w.repeatCount);
    const BlockSubstitutionParams& b = doc.blocks();
    flag(50, b.definesStructure);
    integer(51, b.numBlocks);
    flag(52, b.fixedNumberOfBlocks);
    integer(53, b.endsPerBlock);
    integer(54, b.picksPerBlock);
    integer(55, b.tiedownShafts);
    integer(56, b.tiedownTreadles);
    integer(57, b.patternShaftsPerBlock);
    integer(58, b.patternTreadlesPerBlock);
    flag(59, b.repeatableUnits);
    flag(60, b.sequentialBlockOrder);
    flag(61, b.adjacentKeysNotCombined);
    flag(62, b.enforceOddEvenTiedowns);
    flag(63, b.allowTieupCombinations);
    flag(64, b.skeletonTieup);
    flag(65, b.automaticallyGenerated);
    flag(66, b.threadingFlipTransition);
    flag(67, b.threadingFlipChoice);
    flag(68, b.treadlingFlipTransition);
    flag(69, b.treadlingFlipChoice);
    integer(70, b.threadingBalanceTurning);
    integer(71, b.threadingBalanceTransition);
    flag(72, b.threadingBalanceTurningChoice);
    flag(73, b.threadingBalanceTransitionChoice);
    integer(74, b.treadlingBalanceTurning);
    integer(75, b.treadlingBalanceTransition);
    flag(76, b.treadlingBalanceTurningChoice);
    flag(77, b.treadlingBalanceTransitionChoice);
    integer(78, b.colorOptions);
}

} // namespace

void WriteWifPalette(IniWriter& out, const ColorPalette& palette)
{
    out.setInt("COLOR PALETTE", "Entries", palette.count());
    out.set("COLOR PALETTE", "Range", "0,255");
    for (int i = 0; i < palette.count(); ++i) {
        const COLORREF c = palette.color(i);
        std::string v = num(red(c)) + "," + num(green(c)) + "," + num(blue(c));
        // Only the automatic names ("color" and digits) are left out; a
        // name like "colorful" is the weaver's own.
        const std::string& name = palette.name(i);
        const bool automatic = name.size() > 5 && name.compare(0, 5, "color") == 0
            && name.find_first_not_of("0123456789", 5) == std::string::npos;
        if (!name.empty() && !automatic) v += " ;" + name;
        out.setText("COLOR TABLE", num(i + 1), v);
    }
}

std::string WifText(const CQuillabyDoc& doc, const std::string& date)
{
    IniWriter out;
    const bool structure = doc.blocks().definesStructure;
    const Threading& t0 = *doc.threading(0);
    const Treadling& w0 = *doc.treadling(0);
    // The notation flags follow the data.
    const bool thSymbols = !structure && t0.HasSymbols();
    const bool trSymbols = !structure && !w0.multiple() && w0.HasSymbols();

    // WIF
    out.set("WIF", "Version", "1.1");
    out.set("WIF", "Date", date);
    out.set("WIF", "Developers", kDevelopers);
    out.set("WIF", "Source Program", kProgram);
    out.set("WIF", "Source Version", kVersion);

    // CONTENTS
    std::array<bool, kWifSectionNames.size()> contents{};
    const auto on = [&](WifSection s, bool v) { contents[static_cast<std::size_t>(s)] = v; };
    for (WifSection s : {WifSection::ColorPalette, WifSection::Weaving, WifSection::Warp, WifSection::Weft,
                         WifSection::Tieup, WifSection::ColorTable, WifSection::Threading, WifSection::Private})
        on(s, true);
    on(WifSection::Text, !doc.title().empty() || !doc.author().empty());
    on(WifSection::Notes, !doc.notes().empty());
    on(WifSection::Treadling, structure || !doc.isLiftplan());
    on(WifSection::Liftplan, structure ? !doc.blocks().automaticallyGenerated : doc.isLiftplan());
    on(WifSection::WarpSpacing, t0.AnyThick());
    on(WifSection::WeftSpacing, w0.AnyThick());
    on(WifSection::WarpColors, colorsNeeded(doc, true));
    on(WifSection::WeftColors, colorsNeeded(doc, false));
    for (std::size_t i = 0; i < kWifSectionNames.size(); ++i) out.setFlag("CONTENTS", kWifSectionNames[i], contents[i]);
    const auto flagged = [&](WifSection s) { return contents[static_cast<std::size_t>(s)]; };

    // WEAVING
    out.setInt("WEAVING", "Shafts", doc.numShafts());
    out.setInt("WEAVING", "Treadles", doc.numTreadles());
    out.setFlag("WEAVING", "Rising Shed", doc.isRisingShed());
    // TEXT and NOTES
    if (!doc.title().empty()) out.setText("TEXT", "Title", doc.title());
    if (!doc.author().empty()) out.setText("TEXT", "Author", doc.author());
    int note = 0;
    std::size_t pos = 0;
    while (pos < doc.notes().size()) {
        std::size_t end = doc.notes().find_first_of("\r\n", pos);
        if (end == std::string::npos) end = doc.notes().size();
        if (end > pos) out.setText("NOTES", num(++note), std::string_view(doc.notes()).substr(pos, end - pos));
        pos = end + 1;
    }
    // WARP and WEFT
    out.setInt("WARP", "Color", t0.defaultColor() + 1);
    out.setInt("WEFT", "Color", w0.defaultColor() + 1);
    const char* units = doc.units() == 1 ? "Centimeters" : "Inches";
    out.set("WARP", "Units", units);
    out.set("WARP", "Spacing", IniWriter::formatFixed(doc.warpSpacing(), 5));
    out.set("WEFT", "Units", units);
    out.set("WEFT", "Spacing", IniWriter::formatFixed(doc.weftSpacing(), 5));
    // Palette
    WriteWifPalette(out, doc.palette());
    // Threads
    out.setInt("WARP", "Threads", doc.numEnds());
    writeThreading(out, doc, thSymbols);
    out.setInt("WEFT", "Threads", doc.numPicks());
    writeTreadling(out, doc, structure || !doc.isLiftplan() ? "TREADLING" : "LIFTPLAN", trSymbols);
    // TIEUP: empty columns give no key.
    const Tieup& tieup = doc.tieup();
    for (int t = 0; t < tieup.treadleCount(); ++t)
        if (!(tieup.column(t) & TUPTYPE::firstShafts(tieup.shaftCount())).empty())
            out.set("TIEUP", num(t + 1), columnText(tieup.column(t), tieup.shaftCount()));
    // Colors and thick threads
    if (flagged(WifSection::WarpColors)) writeColors(out, doc, true);
    if (flagged(WifSection::WeftColors)) writeColors(out, doc, false);
    if (flagged(WifSection::WarpSpacing)) writeThick(out, t0, doc.warpSpacing(), "WARP SPACING");
    if (flagged(WifSection::WeftSpacing)) writeThick(out, w0, doc.weftSpacing(), "WEFT SPACING");
    // The private section
    writePrivate(out, doc, thSymbols, trSymbols);
    // Tieup keys of a weave structure
    if (structure && !doc.blocks().automaticallyGenerated) {
        const int perKey = doc.blocks().patternTreadlesPerBlock;
        for (std::size_t i = 0; i < doc.tieupKeys().size(); ++i) {
            const TieupKey* key = doc.tieupKeys()[i].get();
            if (!key || !key->isStored()) continue;
            for (int j = 0; j < perKey && j < key->treadleCount(); ++j) {
                const std::string col = columnText(key->column(j), key->shaftCount());
                if (!col.empty()) out.set("LIFTPLAN", num(static_cast<long long>(i) * perKey + j + 1), col);
            }
        }
    }
    return out.bytes();
}

std::string WifToday()
{
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return num(tm.tm_mon + 1) + "/" + num(tm.tm_mday) + "/" + num(tm.tm_year + 1900);
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error)
{
    const auto fail = [&](const std::string& what, int err) {
        if (error) *error = path + ": " + what + ": " + std::strerror(err);
        return false;
    };
    const std::size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string tmp = (dir == "/" ? "" : dir) + "/." + base + ".XXXXXX";
    const int fd = mkstemp(tmp.data());
    if (fd < 0) return fail("cannot create a file in the folder", errno);
    // The new file keeps the permissions of the one it replaces.
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) fchmod(fd, st.st_mode & 07777);
    else fchmod(fd, 0644);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            ::unlink(tmp.c_str());
            return fail("write failed", err);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) {
        const int err = errno;
        ::close(fd);
        ::unlink(tmp.c_str());
        return fail("cannot flush to disk", err);
    }
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        return fail("write failed", err);
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        return fail("cannot replace the file", err);
    }
    // Make the rename itself durable.
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

bool WriteWifFile(CQuillabyDoc& doc, const std::string& path, std::string* error)
{
    const std::string date = WifToday();
    if (!WriteFileAtomically(path, WifText(doc, date), error)) return false;
    const bool structure = doc.blocks().definesStructure;
    doc.MarkSaved(date, !structure && doc.threading(0)->HasSymbols(),
                  !structure && !doc.multipleTreadles() && doc.treadling(0)->HasSymbols());
    return true;
}

} // namespace qb
