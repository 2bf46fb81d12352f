#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qb {

// Builds a draft file in memory with the ordering of the private-profile
// writer: a new section goes to the end of the file, a new key to the end of
// its section, an existing key (names compared ignoring case) is replaced in
// place. The text is produced once, with CRLF line ends.
class IniWriter {
public:
    void set(std::string_view section, std::string_view key, std::string_view value);
    // Line breaks (CR LF) become "//"; a text with blanks at its ends or in
    // quotes is put in quotes so that it reads back as it was.
    void setText(std::string_view section, std::string_view key, std::string_view text);
    void setFlag(std::string_view section, std::string_view key, bool on);
    void setInt(std::string_view section, std::string_view key, long long n);
    // "%.2f" in the C locale.
    void setReal(std::string_view section, std::string_view key, double x);

    std::string bytes() const;

    // "%.*f" in the C locale, whatever the process locale is.
    static std::string formatFixed(double x, int decimals);

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;
        std::unordered_map<std::string, std::size_t> index; // folded key -> entry
    };
    Section& section(std::string_view name);

    std::vector<Section> m_sections;
    std::unordered_map<std::string, std::size_t> m_index; // folded name -> section
    std::size_t m_last = static_cast<std::size_t>(-1);
};

} // namespace qb
