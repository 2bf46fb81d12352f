#include "core/wif/iniwriter.h"

#include <charconv>
#include <cmath>

namespace qb {

namespace {

std::string fold(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

} // namespace

IniWriter::Section& IniWriter::section(std::string_view name)
{
    // Writers usually fill one section at a time: skip the lookup then.
    if (m_last < m_sections.size() && m_sections[m_last].name == name) return m_sections[m_last];
    auto [it, fresh] = m_index.try_emplace(fold(name), m_sections.size());
    if (fresh) {
        m_sections.emplace_back();
        m_sections.back().name = std::string(name);
    }
    m_last = it->second;
    return m_sections[it->second];
}

void IniWriter::set(std::string_view sectionName, std::string_view key, std::string_view value)
{
    Section& s = section(sectionName);
    std::string v(value);
    // A line break inside a value would end its line early.
    for (char& c : v)
        if (c == '\r' || c == '\n') c = ' ';
    auto [it, fresh] = s.index.try_emplace(fold(key), s.entries.size());
    if (fresh) s.entries.emplace_back(std::string(key), std::move(v));
    else s.entries[it->second].second = std::move(v);
}

void IniWriter::setText(std::string_view sectionName, std::string_view key, std::string_view text)
{
    std::string v;
    v.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            v += "//";
            ++i;
        } else {
            v += text[i];
        }
    }
    // Readers trim blanks and one pair of quotes: a text that would lose
    // either is protected by a pair of quotes of its own.
    const bool blankEdge = !v.empty() && (v.front() == ' ' || v.front() == '\t' || v.back() == ' ' || v.back() == '\t');
    const bool quoted = v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
    if (blankEdge || quoted) v = '"' + v + '"';
    set(sectionName, key, v);
}

void IniWriter::setFlag(std::string_view sectionName, std::string_view key, bool on)
{
    set(sectionName, key, on ? "true" : "false");
}

void IniWriter::setInt(std::string_view sectionName, std::string_view key, long long n)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, n);
    set(sectionName, key, std::string_view(buf, static_cast<std::size_t>(r.ptr - buf)));
}

void IniWriter::setReal(std::string_view sectionName, std::string_view key, double x)
{
    set(sectionName, key, formatFixed(x, 2));
}

std::string IniWriter::formatFixed(double x, int decimals)
{
    if (!std::isfinite(x)) x = 0.0;
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, decimals);
    if (r.ec != std::errc()) return "0";
    return std::string(buf, static_cast<std::size_t>(r.ptr - buf));
}

std::string IniWriter::bytes() const
{
    std::size_t size = 0;
    for (const auto& s : m_sections) {
        size += s.name.size() + 6;
        for (const auto& [k, v] : s.entries) size += k.size() + v.size() + 3;
    }
    std::string out;
    out.reserve(size);
    bool first = true;
    for (const auto& s : m_sections) {
        if (!first) out += "\r\n";
        first = false;
        out += '[';
        out += s.name;
        out += "]\r\n";
        for (const auto& [k, v] : s.entries) {
            out += k;
            out += '=';
            out += v;
            out += "\r\n";
        }
    }
    return out;
}

} // namespace qb
