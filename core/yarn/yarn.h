#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qb {

// What the yarn sheet accepts; files may carry longer texts, which are kept.
inline constexpr int kYarnTextChars = 80; // size and fiber
inline constexpr int kYarnNotesChars = 256;
inline constexpr int kMaxYarnShrinkage = 100; // percent
inline constexpr int kMaxYarnSett = 255;

// One yarn of the database. The density (grist) and the sett are numbers as
// the weaver entered them: yards per pound and ends per inch in the English
// system, metres per kilogram and ends per centimetre in the metric one.
class CYarn {
public:
    CYarn() = default;
    CYarn(std::string size, std::string fiber, std::uint32_t density, int shrinkage, int sett, std::string notes = {});

    const std::string& size() const { return m_size; }
    const std::string& fiber() const { return m_fiber; }
    std::uint32_t density() const { return m_density; }
    int shrinkage() const { return m_shrinkage; }
    int sett() const { return m_sett; }
    const std::string& notes() const { return m_notes; }

    void setSize(std::string s) { m_size = std::move(s); }
    void setFiber(std::string f) { m_fiber = std::move(f); }
    void setNotes(std::string n) { m_notes = std::move(n); }
    // Numbers outside the yarn's ranges are brought to the nearest end; the
    // result says whether the value had to be changed.
    bool setDensity(long long d);
    bool setShrinkage(long long percent);
    bool setSett(long long sett);

    // "size fiber", or the fiber alone when the size is empty or "-".
    std::string DisplayName() const;

    // As the text file stores it: an empty size or fiber becomes "-" and the
    // texts lose their surrounding white space.
    void NormalizeForFile();

    bool operator==(const CYarn&) const = default;

private:
    std::string m_size;
    std::string m_fiber;
    std::uint32_t m_density = 0;
    std::uint8_t m_shrinkage = 0;
    std::uint8_t m_sett = 0;
    std::string m_notes;
};

// Surrounding blanks, tabs and line breaks removed.
std::string TrimYarnText(std::string_view s);

} // namespace qb
