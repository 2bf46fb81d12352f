#include "core/yarn/yarntext.h"

#include <cctype>
#include <limits>

namespace qb {

namespace {

void appendEscaped(std::string& out, std::string_view field)
{
    for (char c : field) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case ';': out += "\\;"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default: out += c;
        }
    }
}

std::string unescape(std::string_view field)
{
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '\\' && i + 1 < field.size()) {
            const char n = field[i + 1];
            if (n == '\\' || n == ';') {
                out += n;
                ++i;
                continue;
            }
            if (n == 'r' || n == 'n') {
                out += n == 'r' ? '\r' : '\n';
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

// Pieces between unescaped ";". Empty pieces count: "8/2;;1200" has an empty
// fiber, not the fiber "1200".
std::vector<std::string_view> splitFields(std::string_view line)
{
    std::vector<std::string_view> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\') {
            ++i;
        } else if (line[i] == ';') {
            out.push_back(line.substr(start, i - start));
            start = i + 1;
        }
    }
    out.push_back(line.substr(start));
    return out;
}

// Leading blanks, an optional sign, then digits up to the first non-digit;
// saturates instead of wrapping.
long long leadingNumber(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    long long v = 0;
    constexpr long long cap = std::numeric_limits<long long>::max() / 10 - 10;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        if (v < cap) v = v * 10 + (s[i] - '0');
    return negative ? -v : v;
}

} // namespace

std::string YarnTextLine(const CYarn& y)
{
    std::string out;
    appendEscaped(out, y.size());
    out += "; ";
    appendEscaped(out, y.fiber());
    out += "; " + std::to_string(y.density()) + "; " + std::to_string(y.shrinkage()) + "; " + std::to_string(y.sett())
        + "; ";
    appendEscaped(out, y.notes());
    return out;
}

CYarn ParseYarnLine(std::string_view line, int* clamped)
{
    CYarn y;
    if (line.empty()) return y;
    const std::vector<std::string_view> f = splitFields(line);
    const auto field = [&](std::size_t i) { return i < f.size() ? f[i] : std::string_view(); };
    y.setSize(unescape(TrimYarnText(field(0))));
    y.setFiber(unescape(TrimYarnText(field(1))));
    int outside = 0;
    if (!y.setDensity(leadingNumber(field(2)))) ++outside;
    if (!y.setShrinkage(leadingNumber(field(3)))) ++outside;
    if (!y.setSett(leadingNumber(field(4)))) ++outside;
    y.setNotes(unescape(TrimYarnText(field(5))));
    if (clamped) *clamped += outside;
    return y;
}

YarnTextRead ParseYarnText(std::string_view text, int maxYarns)
{
    YarnTextRead r;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (static_cast<int>(r.yarns.size()) >= maxYarns) {
            r.truncated = true;
            break;
        }
        r.yarns.push_back(ParseYarnLine(line, &r.clamped));
        pos = next;
    }
    return r;
}

} // namespace qb
