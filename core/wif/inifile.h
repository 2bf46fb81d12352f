#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qb {

// A draft file read once into an index of sections and keys. Every lookup is
// a hash probe; the file is never scanned again per key. The file is treated
// as bytes: no encoding can make reading fail.
//
// Semantics of the Windows private-profile service that draft files were
// always read with: section and key names compare ignoring case, the first
// occurrence of a key wins (also across repeated section headers), values
// lose surrounding blanks and one pair of surrounding quotes, lines without
// "=" are ignored, CRLF, LF and CR all end a line, a UTF-8 byte-order mark is
// skipped.
class IniFile {
public:
    // Buffer size meaning "no cut".
    static constexpr std::size_t kUnbounded = 0;

    IniFile() = default;
    explicit IniFile(std::string bytes);

    // Reads the whole file; false with a reason when it cannot be read.
    static std::optional<IniFile> load(const std::string& path, std::string* error = nullptr);

    // The trimmed value as stored, or nullopt when the key is absent.
    std::optional<std::string_view> find(std::string_view section, std::string_view key) const;
    bool hasSection(std::string_view section) const;

    // --- the four read primitives ---
    // The value cut to bufSize - 1 characters; every "//" becomes CR LF when
    // `lineBreaks` is set. Returns false (and an empty text) when the key is
    // missing or its value is the literal "NotFound".
    bool readText(std::string_view section, std::string_view key, std::size_t bufSize, std::string& out,
                  bool lineBreaks = true) const;
    std::string text(std::string_view section, std::string_view key, std::size_t bufSize, bool lineBreaks = true) const;
    // True for "true", "on", "yes" or "1", ignoring case; anything else is false.
    bool readFlag(std::string_view section, std::string_view key) const;
    // Leading optional minus sign and decimal digits; -1 when missing or no
    // number; any value of 32767 or more is -1.
    int readInt(std::string_view section, std::string_view key) const;
    // As readInt without the 32767 cut (saturating 64-bit), for counts that
    // legitimately reach 32768 and beyond.
    std::int64_t readInt64(std::string_view section, std::string_view key) const;
    // A decimal number (C locale); 0.0 when missing or no number.
    double readReal(std::string_view section, std::string_view key) const;

    // --- conversions shared with the line parsers ---
    // Leading [blanks] [-] digits; nullopt when no digit.
    static std::optional<std::int64_t> parseInt(std::string_view s);
    // strtod-like in the C locale: blanks, sign, digits, point, exponent; 0.0 when none.
    static double parseReal(std::string_view s);
    static std::string_view trim(std::string_view s);
    static bool equalsNoCase(std::string_view a, std::string_view b);

private:
    // Offsets into m_bytes, so that moving the object keeps them valid.
    struct Span {
        std::size_t pos = 0;
        std::size_t len = 0;
    };
    struct Section {
        std::unordered_map<std::string, Span> keys; // folded key -> value
    };
    static std::string fold(std::string_view s);
    void parse();

    const Section* section(std::string_view name) const;

    std::string m_bytes;
    std::vector<Section> m_sections;
    // Readers ask for keys of one section in long runs: remember the last
    // section asked for (by its exact spelling) to skip folding and hashing.
    mutable std::string m_lastName;
    mutable std::size_t m_lastSection = static_cast<std::size_t>(-1);
    std::unordered_map<std::string, std::size_t> m_sectionIndex; // folded name -> section
};

} // namespace qb
