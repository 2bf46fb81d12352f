#include "core/wif/inifile.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <limits>

namespace qb {

namespace {

inline bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

inline char lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

IniFile::IniFile(std::string bytes) : m_bytes(std::move(bytes))
{
    parse();
}

std::optional<IniFile> IniFile::load(const std::string& path, std::string* error)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        if (error) *error = std::strerror(errno);
        return std::nullopt;
    }
    std::string bytes;
    char buf[1 << 16];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
    const bool failed = std::ferror(f) != 0;
    const int err = errno;
    std::fclose(f);
    if (failed) {
        if (error) *error = std::strerror(err);
        return std::nullopt;
    }
    return IniFile(std::move(bytes));
}

std::string_view IniFile::trim(std::string_view s)
{
    std::size_t a = 0, b = s.size();
    while (a < b && isBlank(s[a])) ++a;
    while (b > a && isBlank(s[b - 1])) --b;
    return s.substr(a, b - a);
}

bool IniFile::equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

std::string IniFile::fold(std::string_view s)
{
    std::string r(s);
    for (char& c : r) c = lower(c);
    return r;
}

void IniFile::parse()
{
    const std::string_view all(m_bytes);
    std::size_t pos = 0;
    if (all.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;
    Section* current = nullptr;
    std::string keyBuf;
    while (pos < all.size()) {
        std::size_t end = pos;
        while (end < all.size() && all[end] != '\r' && all[end] != '\n') ++end;
        const std::string_view line = trim(all.substr(pos, end - pos));
        // CRLF is one line end; a lone CR or LF is one too.
        pos = end;
        if (pos < all.size() && all[pos] == '\r') ++pos;
        if (pos < all.size() && all[pos] == '\n' && (pos == end || all[pos - 1] == '\r')) ++pos;

        if (line.empty()) continue;
        if (line.front() == '[') {
            std::string_view name = line.substr(1);
            const std::size_t close = name.find(']');
            if (close != std::string_view::npos) name = name.substr(0, close);
            std::string folded = fold(trim(name));
            auto [it, fresh] = m_sectionIndex.try_emplace(std::move(folded), m_sections.size());
            if (fresh) m_sections.emplace_back();
            current = &m_sections[it->second];
            continue;
        }
        if (!current) continue; // lines before the first section belong to none
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        std::string_view value = trim(line.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        keyBuf = fold(trim(line.substr(0, eq)));
        const Span span{static_cast<std::size_t>(value.data() - all.data()), value.size()};
        current->keys.try_emplace(keyBuf, span); // the first occurrence wins
    }
}

const IniFile::Section* IniFile::section(std::string_view name) const
{
    if (m_lastSection < m_sections.size() && name == m_lastName) return &m_sections[m_lastSection];
    const auto s = m_sectionIndex.find(fold(name));
    if (s == m_sectionIndex.end()) return nullptr;
    m_lastName.assign(name);
    m_lastSection = s->second;
    return &m_sections[m_lastSection];
}

std::optional<std::string_view> IniFile::find(std::string_view sectionName, std::string_view key) const
{
    const Section* s = section(sectionName);
    if (!s) return std::nullopt;
    const auto& keys = s->keys;
    const auto k = keys.find(fold(key));
    if (k == keys.end()) return std::nullopt;
    return std::string_view(m_bytes).substr(k->second.pos, k->second.len);
}

bool IniFile::hasSection(std::string_view section) const
{
    return m_sectionIndex.count(fold(section)) != 0;
}

bool IniFile::readText(std::string_view section, std::string_view key, std::size_t bufSize, std::string& out,
                       bool lineBreaks) const
{
    out.clear();
    auto v = find(section, key);
    if (!v) return false;
    std::string_view value = *v;
    if (bufSize != kUnbounded && value.size() > bufSize - 1) value = value.substr(0, bufSize - 1);
    // The profile service was always called with this default, so a stored
    // "NotFound" cannot be told from a missing key.
    if (value == "NotFound") return false;
    out.assign(value);
    if (lineBreaks)
        for (std::size_t i = 0; i + 1 < out.size(); ++i)
            if (out[i] == '/' && out[i + 1] == '/') {
                out[i] = '\r';
                out[i + 1] = '\n';
                ++i;
            }
    return true;
}

std::string IniFile::text(std::string_view section, std::string_view key, std::size_t bufSize, bool lineBreaks) const
{
    std::string out;
    readText(section, key, bufSize, out, lineBreaks);
    return out;
}

bool IniFile::readFlag(std::string_view section, std::string_view key) const
{
    std::string v;
    readText(section, key, 128, v);
    return equalsNoCase(v, "true") || equalsNoCase(v, "on") || equalsNoCase(v, "yes") || v == "1";
}

std::optional<std::int64_t> IniFile::parseInt(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && isBlank(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && s[i] == '-') {
        negative = true;
        ++i;
    }
    if (i >= s.size() || s[i] < '0' || s[i] > '9') return std::nullopt;
    constexpr std::int64_t kCap = std::numeric_limits<std::int64_t>::max() / 10 - 10;
    std::int64_t v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        if (v < kCap) v = v * 10 + (s[i] - '0'); // saturates instead of overflowing
    return negative ? -v : v;
}

std::int64_t IniFile::readInt64(std::string_view section, std::string_view key) const
{
    std::string v;
    if (!readText(section, key, kUnbounded, v, false)) return -1;
    return parseInt(v).value_or(-1);
}

int IniFile::readInt(std::string_view section, std::string_view key) const
{
    const std::int64_t v = readInt64(section, key);
    if (v >= 32767) return -1;
    if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

double IniFile::parseReal(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && (isBlank(s[i]) || s[i] == '\r' || s[i] == '\n')) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    const std::size_t start = i;
    std::size_t digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return 0.0;
    // An exponent counts only when at least one digit follows it.
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && s[j] >= '0' && s[j] <= '9') {
            while (j < s.size() && s[j] >= '0' && s[j] <= '9') ++j;
            i = j;
        }
    }
    const std::string_view num = s.substr(start, i - start);
    double v = 0.0;
    const auto r = std::from_chars(num.data(), num.data() + num.size(), v, std::chars_format::general);
    if (r.ec != std::errc()) return 0.0; // out of range: no usable number
    return negative ? -v : v;
}

double IniFile::readReal(std::string_view section, std::string_view key) const
{
    std::string v;
    if (!readText(section, key, 32, v, false)) return 0.0;
    return parseReal(v);
}

} // namespace qb
