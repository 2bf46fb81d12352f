// The thread-by-thread parts of a draft file: palette, threading, treadling
// or liftplan lines, tieup columns, thread colors and thick flags.
#include "core/wif/wifreader.h"

#include "core/draft/colorpalette.h"
#include "core/draft/iprompter.h"
#include "core/draft/threading.h"
#include "core/draft/tieup.h"
#include "core/draft/treadling.h"
#include "core/wif/wiftext.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace qb {

namespace {

constexpr std::size_t kLineBuffer = 512;

// Key names are the 1-based thread numbers.
struct KeyName {
    char buf[16];
    std::string_view view;
    explicit KeyName(int n)
    {
        const auto r = std::to_chars(buf, buf + sizeof buf, n);
        view = std::string_view(buf, static_cast<std::size_t>(r.ptr - buf));
    }
};

// A thread line: "values ;labels ;symbol", split at semicolons into at most
// three parts. The part after the values holds labels when it has a "[".
struct LineParts {
    std::string_view values;
    std::string_view labels;
    std::string_view symbol;
    std::string_view extra; // parts after the values that are no labels
};

LineParts splitLine(std::string_view v)
{
    LineParts p;
    const std::size_t a = v.find(';');
    p.values = v.substr(0, a);
    if (a == std::string_view::npos) return p;
    const std::string_view rest = v.substr(a + 1);
    const std::size_t b = rest.find(';');
    const std::string_view second = rest.substr(0, b);
    const std::string_view third = b == std::string_view::npos ? std::string_view() : rest.substr(b + 1);
    if (second.find('[') != std::string_view::npos) {
        p.labels = second;
        p.symbol = third;
    } else {
        p.symbol = second;
        p.extra = rest;
    }
    return p;
}

// Calls f(number or -1) for every comma-separated item.
template <class F> void forEachNumber(std::string_view s, F&& f)
{
    if (IniFile::trim(s).empty()) return;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t comma = s.find(',', pos);
        const std::string_view item =
            s.substr(pos, comma == std::string_view::npos ? std::string_view::npos : comma - pos);
        const auto v = IniFile::parseInt(item);
        f(v && *v >= 0 ? *v : std::int64_t(-1));
        if (comma == std::string_view::npos) return;
        pos = comma + 1;
    }
}

int symbolOf(std::string_view part)
{
    for (char c : part)
        if (c != ' ' && c != '\t') return static_cast<unsigned char>(c);
    return 0;
}

// Label items "[length]text" or "[-]", one per label row, starting at `thread`.
void readLabels(std::string_view part, int thread, Tding& row)
{
    std::size_t pos = 0;
    for (int k = 0; k < kLabelRows; ++k) {
        const std::size_t open = part.find('[', pos);
        if (open == std::string_view::npos) return;
        const std::size_t close = part.find(']', open + 1);
        if (close == std::string_view::npos) return;
        const std::size_t next = part.find('[', close + 1);
        const std::string_view inner = IniFile::trim(part.substr(open + 1, close - open - 1));
        std::string_view text =
            part.substr(close + 1, (next == std::string_view::npos ? part.size() : next) - close - 1);
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
        pos = next == std::string_view::npos ? part.size() : next;
        if (inner == "-") continue;
        const auto len = IniFile::parseInt(inner);
        if (!len || *len < 1) continue;
        // A label never reaches past the sequence.
        Label l;
        l.start = thread;
        l.length = static_cast<int>(std::min<std::int64_t>(*len, row.GetCount() - thread));
        l.text = std::string(text.substr(0, kMaxLabelText));
        if (l.length >= 1) row.AddLabelToRow(k, l);
    }
}

int clampCount(std::int64_t v)
{
    return static_cast<int>(std::clamp<std::int64_t>(v, 0, kMaxThreads));
}

} // namespace

std::vector<bool> WifReader::usedFileColors(int entries) const
{
    std::vector<bool> used(static_cast<std::size_t>(entries) + 1, false);
    auto note = [&](std::int64_t v) {
        if (v >= 1 && v <= entries) used[static_cast<std::size_t>(v)] = true;
    };
    // The rows' default colors, as reading them will choose.
    note(flagged(WifSection::Warp) ? m_ini.readInt("WARP", "Color") : 2);
    note(flagged(WifSection::Weft) ? m_ini.readInt("WEFT", "Color") : 1);
    std::string line;
    for (WifSection section : {WifSection::WarpColors, WifSection::WeftColors}) {
        if (!flagged(section)) continue;
        const bool warp = section == WifSection::WarpColors;
        const int count = clampCount(m_ini.readInt64(warp ? "WARP" : "WEFT", "Threads"));
        for (int i = 1; i <= count; ++i)
            if (m_ini.readText(sectionName(section), KeyName(i).view, kLineBuffer, line, false))
                forEachNumber(line, note);
    }
    return used;
}

int WifReader::readPalette(ColorPalette& palette)
{
    int entries = m_ini.readInt("COLOR PALETTE", "Entries");
    if (entries < 0) entries = m_ini.readInt("COLOR   PALETTE", "Entries");
    if (entries < 0) return 0;
    // Files claim what they like; a real palette has a few hundred entries at most.
    entries = std::min(entries, 65535);
    m_colorMap.assign(static_cast<std::size_t>(entries), -1);
    std::vector<bool> keep(static_cast<std::size_t>(entries) + 1, true);
    const int room = kMaxColors - palette.count();
    if (entries > room) {
        keep = usedFileColors(entries);
        const int used = static_cast<int>(std::count(keep.begin(), keep.end(), true));
        if (used > room) {
            // Too many colors in use: the first ones, as far as they go.
            m_messages.tell(FormatMessage(wifmsg::kPaletteCut, std::to_string(kMaxColors)));
            for (int i = 1; i <= entries; ++i) keep[static_cast<std::size_t>(i)] = i <= room;
        }
    }
    std::int64_t maximum = 255;
    const std::string range = m_ini.text("COLOR PALETTE", "Range", 128, false);
    const std::size_t sep = range.find_first_of(",;");
    if (sep != std::string::npos)
        if (auto m = IniFile::parseInt(std::string_view(range).substr(sep + 1))) maximum = *m;
    int added = 0;
    std::string line;
    for (int i = 1; i <= entries && added < room; ++i) {
        if (!keep[static_cast<std::size_t>(i)]) continue;
        const KeyName key(i);
        if (!m_ini.readText("COLOR TABLE", key.view, 128, line, false) || line.empty())
            m_ini.readText("COLOR  TABLE", key.view, 128, line, false);
        std::int64_t comp[3] = {0, 0, 0};
        std::string name;
        std::size_t pos = 0;
        for (int c = 0; c < 3 && pos <= line.size(); ++c) {
            const std::size_t end = std::min(line.find_first_of(",;", pos), line.size());
            comp[c] = IniFile::parseInt(std::string_view(line).substr(pos, end - pos)).value_or(0);
            pos = end + 1;
        }
        // The rest after the third number is the name, commas included.
        if (pos < line.size()) name = std::string(IniFile::trim(std::string_view(line).substr(pos)));
        for (auto& c : comp) {
            c = std::clamp<std::int64_t>(c, 0, 0x7FFFFFFF);
            // Scale before limiting, so that 65535 of 65535 stays full.
            if (maximum >= 256) c = (c * 255 + maximum - 1) / maximum;
            c = std::min<std::int64_t>(c, 255);
        }
        if (name.empty()) name = "color" + std::to_string(i);
        m_colorMap[static_cast<std::size_t>(i - 1)] =
            palette.add(rgb(int(comp[0]), int(comp[1]), int(comp[2])), false, name.substr(0, ColorPalette::kMaxName));
        ++added;
    }
    return added;
}

int WifReader::colorIndex(std::int64_t v, int paletteCount) const
{
    if (!m_colorMap.empty())
        return v >= 1 && v <= static_cast<std::int64_t>(m_colorMap.size()) ? m_colorMap[v - 1] : -1;
    return v >= 1 && v <= paletteCount ? static_cast<int>(v - 1) : -1;
}

int WifReader::readLineSet(std::string_view section, int key, TUPTYPE& set, int limit, bool& above)
{
    std::string line;
    if (!m_ini.readText(section, KeyName(key).view, kLineBuffer, line, false)) return 0;
    int n = 0;
    forEachNumber(line, [&](std::int64_t v) {
        if (v > kMaxShafts) above = true;
        else if (v >= 1 && v <= limit) {
            set.set(static_cast<int>(v));
            ++n;
        }
    });
    return n;
}

std::unique_ptr<Tieup> WifReader::readTieup(int treadles)
{
    auto tieup = std::make_unique<Tieup>(kMaxShafts, std::clamp(treadles, 0, kMaxTreadles));
    bool above = false;
    for (int t = 0; t < tieup->treadleCount(); ++t) {
        TUPTYPE col;
        readLineSet("TIEUP", t + 1, col, kMaxShafts, above);
        tieup->setColumn(t, col);
    }
    return tieup;
}

void WifReader::readThick(WifSection spacingSection, WifSection side, int count, Tding& row)
{
    double base = m_ini.readReal(sectionName(side), "Spacing");
    if (base <= 0.001) base = 0.1;
    double largest = base;
    const std::string_view sec = sectionName(spacingSection);
    for (int i = 1; i <= count; ++i) {
        const double v = m_ini.readReal(sec, KeyName(i).view);
        if (v > base) {
            row.SetThick(i - 1, true);
            largest = std::max(largest, v);
        }
    }
    // Rounded up by a hair: 0.30 / 0.1 is 2.9999999999999996 in binary.
    row.SetRatio(static_cast<int>(std::floor(largest / base + 1e-6)) - 1);
}

void WifReader::readColors(WifSection section, int rowsCount, Threading* const* warp, Treadling* const* weft,
                           int paletteCount)
{
    Tding* rows[kMaxRows] = {};
    for (int r = 0; r < rowsCount; ++r) rows[r] = warp ? static_cast<Tding*>(warp[r]) : static_cast<Tding*>(weft[r]);
    if (!flagged(section)) return;
    const int def = rows[0]->defaultColor();
    const int count = rows[0]->GetCount();
    const std::string_view sec = sectionName(section);
    std::string line;
    for (int i = 0; i < count; ++i) {
        if (!m_ini.readText(sec, KeyName(i + 1).view, rowsCount == 1 ? 0 : kLineBuffer, line, false)) continue;
        int k = 0;
        forEachNumber(line, [&](std::int64_t v) {
            if (const int c = colorIndex(v, paletteCount); k < rowsCount && c >= 0) rows[k]->SetColor(i, c);
            ++k;
        });
    }
    // SetColor also moves the default color; the file's default stays.
    for (int r = 0; r < rowsCount; ++r) rows[r]->setDefaultColor(def);
}

int WifReader::readThreadingRows(ThreadingRows& rows, bool& above64, int paletteCount)
{
    const int warps = std::clamp(m_ini.readInt("PRIVATE QUILLABY", "qlb41"), 1, kMaxRows);
    const int def = defaultColor(WifSection::Warp, 1, paletteCount);
    Threading* raw[kMaxRows] = {};
    for (int r = 0; r < warps; ++r) {
        rows[r] = std::make_unique<Threading>(kMaxShafts);
        rows[r]->setDefaultColor(def);
        raw[r] = rows[r].get();
    }
    if (!flagged(WifSection::Threading)) return warps;
    const int ends = clampCount(m_ini.readInt64("WARP", "Threads"));
    for (int r = 0; r < warps; ++r) rows[r]->Append(ends);
    const bool symbols = m_ini.readFlag("PRIVATE QUILLABY", "qlb28");
    std::string line;
    for (int e = 0; e < ends; ++e) {
        if (!m_ini.readText("THREADING", KeyName(e + 1).view, kLineBuffer, line, false)) continue;
        const LineParts parts = splitLine(line);
        int k = 0;
        const auto take = [&](std::int64_t v) {
            if (k < warps) {
                if (v > kMaxShafts) above64 = true;
                else if (v >= 1) rows[k]->SetValue(e, static_cast<int>(v));
            }
            ++k;
        };
        forEachNumber(parts.values, take);
        // A semicolon also separates numbers when the line carries no symbol.
        if (!symbols && !parts.extra.empty()) {
            std::string more(parts.extra);
            std::replace(more.begin(), more.end(), ';', ',');
            forEachNumber(more, take);
        }
        if (m_threadingLabels && !parts.labels.empty()) readLabels(parts.labels, e, *rows[0]);
        if (symbols)
            if (const int c = symbolOf(parts.symbol)) rows[0]->SetSymbol(e, c);
    }
    if (flagged(WifSection::WarpSpacing)) readThick(WifSection::WarpSpacing, WifSection::Warp, ends, *rows[0]);
    readColors(WifSection::WarpColors, warps, raw, nullptr, paletteCount);
    return warps;
}

int WifReader::readTreadlingRows(TreadlingRows& rows, bool& liftplan, bool& aboveLimit, LiftplanChoice choice,
                                 int paletteCount)
{
    bool hasTreadling = flagged(WifSection::Treadling);
    bool hasLiftplan = flagged(WifSection::Liftplan);
    if (!hasTreadling && !hasLiftplan) {
        hasTreadling = !m_ini.text("TREADLING", "1", kLineBuffer).empty();
        hasLiftplan = !m_ini.text("LIFTPLAN", "1", kLineBuffer).empty();
    }
    liftplan = false;
    if (hasLiftplan && !hasTreadling) {
        liftplan = true;
    } else if (hasLiftplan && hasTreadling) {
        const bool structure = flagged(WifSection::Private) && m_ini.readFlag("PRIVATE QUILLABY", "qlb50");
        if (!structure) {
            if (choice == LiftplanChoice::Liftplan) liftplan = true;
            else if (choice == LiftplanChoice::Ask) liftplan = m_messages.ask(std::string(wifmsg::kLiftplanQuestion));
        }
    }
    const int wefts = liftplan ? 1 : std::clamp(m_ini.readInt("PRIVATE QUILLABY", "qlb42"), 1, kMaxRows);
    const int limit = liftplan ? kMaxShafts : kMaxTreadles;
    const int def = defaultColor(WifSection::Weft, 0, paletteCount);
    Treadling* raw[kMaxRows] = {};
    for (int r = 0; r < wefts; ++r) {
        rows[r] = std::make_unique<Treadling>(limit);
        rows[r]->setDefaultColor(def);
        raw[r] = rows[r].get();
    }
    const int picks = clampCount(m_ini.readInt64("WEFT", "Threads"));
    for (int r = 0; r < wefts; ++r) rows[r]->Append(picks);
    const std::string_view sec = liftplan ? "LIFTPLAN" : "TREADLING";
    const bool symbols = m_ini.readFlag("PRIVATE QUILLABY", "qlb29");
    bool multiple = false;
    std::string line;
    for (int p = 0; p < picks; ++p) {
        if (!m_ini.readText(sec, KeyName(p + 1).view, kLineBuffer, line, false)) continue;
        const LineParts parts = splitLine(line);
        if (wefts == 1) {
            TreadleSet set;
            int n = 0;
            forEachNumber(parts.values, [&](std::int64_t v) {
                if (v > limit) aboveLimit = true;
                else if (v >= 1) {
                    set.set(static_cast<int>(v));
                    ++n;
                }
            });
            if (n > 1) multiple = true;
            rows[0]->SetSet(p, set);
        } else {
            int k = 0;
            forEachNumber(parts.values, [&](std::int64_t v) {
                if (k < wefts) {
                    if (v > limit) aboveLimit = true;
                    else if (v >= 1) rows[k]->SetValue(p, static_cast<int>(v));
                }
                ++k;
            });
        }
        if (m_treadlingLabels && !parts.labels.empty()) readLabels(parts.labels, p, *rows[0]);
        if (symbols)
            if (const int c = symbolOf(parts.symbol)) rows[0]->SetSymbol(p, c);
    }
    for (int r = 0; r < wefts; ++r) rows[r]->setMultiple(liftplan || (wefts == 1 && multiple));
    if (flagged(WifSection::WeftSpacing)) readThick(WifSection::WeftSpacing, WifSection::Weft, picks, *rows[0]);
    readColors(WifSection::WeftColors, wefts, nullptr, raw, paletteCount);
    return wefts;
}

} // namespace qb
