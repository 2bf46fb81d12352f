#pragma once

#include "core/yarn/yarn.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

// The archive counts its yarns in 16 bits: no database holds more.
inline constexpr int kMaxYarns = 65535;

enum class YarnFormat { Text, Archive };

// What opening or saving a yarn file came to. `message` is what the user is
// shown when it failed, or a warning when it succeeded with a change.
struct YarnFileResult {
    bool ok = false;
    std::string message;
};

// A yarn database: the yarns in file order, stored as text (".txt", one
// yarn per line) or as an archive (".yrn").
class CYarnDoc {
public:
    CYarnDoc() = default;
    CYarnDoc(const CYarnDoc&) = delete;
    CYarnDoc& operator=(const CYarnDoc&) = delete;

    int count() const { return static_cast<int>(m_yarns.size()); }
    const CYarn& yarn(int i) const { return *m_yarns[static_cast<std::size_t>(i)]; }
    CYarn& yarnMutable(int i) { return *m_yarns[static_cast<std::size_t>(i)]; }
    // The position of a yarn of this database, or -1.
    int indexOf(const CYarn* y) const;

    // Appends at the end and marks the database modified; refused (null)
    // when it already holds kMaxYarns yarns.
    CYarn* Append(std::unique_ptr<CYarn> y);
    CYarn* Append(CYarn y) { return Append(std::make_unique<CYarn>(std::move(y))); }
    CYarn* AppendNew(std::string size, std::string fiber, std::uint32_t density, int shrinkage, int sett);
    // Unlinks the yarn; false (and nothing changes) when it is not ours.
    bool Delete(const CYarn* y);
    // Empties the database (not a change the user made: not modified).
    void DeleteAll();

    // The yarn chosen in the Yarn Database dialog, or none.
    const CYarn* selected() const { return m_selected; }
    void setSelected(const CYarn* y) { m_selected = indexOf(y) >= 0 ? y : nullptr; }

    bool IsModified() const { return m_modified; }
    void SetModified(bool m = true) { m_modified = m; }

    // The file the database was opened from or saved to.
    const std::string& path() const { return m_path; }
    void setPath(std::string p) { m_path = std::move(p); }
    bool isArchive() const { return IsYarnArchivePath(m_path); }

    // Empties the database and reads the file, by its extension. Yarns read
    // before a text file's read error stay; a damaged archive leaves the
    // database empty.
    YarnFileResult Open(const std::string& path);
    // Writes every yarn, by the extension. The database is unmodified after
    // a successful save. Text files normalise the yarns as they store them.
    YarnFileResult Save(const std::string& path);
    YarnFileResult Save(const std::string& path, YarnFormat format);

    // A name ending in ".yrn", compared without case.
    static bool IsYarnArchivePath(std::string_view path);

private:
    std::vector<std::unique_ptr<CYarn>> m_yarns;
    const CYarn* m_selected = nullptr;
    bool m_modified = false;
    std::string m_path;
};

// Every distinct size and every distinct fiber, each once, in list order:
// what the yarn sheet's drop-down lists offer.
std::vector<std::string> DistinctSizes(const CYarnDoc& doc);
std::vector<std::string> DistinctFibers(const CYarnDoc& doc);

} // namespace qb
