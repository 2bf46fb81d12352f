#pragma once

#include "core/draft/draftsettings.h"
#include "core/draft/limits.h"
#include "core/draft/tuptype.h"
#include "core/wif/inifile.h"
#include "core/wif/wifsections.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace qb {

class CQuillabyDoc;
class ColorPalette;
class IPrompter;
class Threading;
class Tieup;
class Treadling;

// What to do with a file holding both a treadling and a liftplan.
enum class LiftplanChoice { Ask = 0, Liftplan = 1, Treadling = 2 };

struct WifReadOptions {
    LiftplanChoice liftplan = LiftplanChoice::Ask;
    // The new-draft values a file without a private section keeps.
    NewDraftDefaults defaults;
};

using ThreadingRows = std::array<std::unique_ptr<Threading>, kMaxRows>;
using TreadlingRows = std::array<std::unique_ptr<Treadling>, kMaxRows>;

// Reads a draft file (.wif or .qlb) from its index. One reader per file.
class WifReader {
public:
    WifReader(const IniFile& ini, IPrompter& messages);

    // Empties `doc` and fills it from the file. False (with the reason) only
    // when the file carries no WIF version.
    bool open(CQuillabyDoc& doc, const WifReadOptions& options, std::string* error = nullptr);

    // The WARP and WEFT units and spacing and, when the private section is
    // flagged, the project-plan keys, read into `doc` as opening does.
    void readProjectPlan(CQuillabyDoc& doc);

    // Appends the file's colors to `palette`; returns how many were read.
    // A file with more colors than a palette holds keeps exactly the colors
    // its threads and rows use, in the file's order, when they fit; else
    // the first ones (and says so). Thread colors read afterwards follow
    // the same translation.
    int readPalette(ColorPalette& palette);

    // The warp rows with their colors and thick flags. `shafts` is the shaft
    // count the file declares (0 none); rows take every shaft up to 64 so
    // nothing within the limit is lost. Returns the number of warps.
    int readThreadingRows(ThreadingRows& rows, bool& above64, int paletteCount);
    // The weft rows (or the one liftplan row). Returns the number of wefts.
    int readTreadlingRows(TreadlingRows& rows, bool& liftplan, bool& aboveLimit, LiftplanChoice choice,
                          int paletteCount);
    // The TIEUP section as a tieup of 64 shafts by `treadles`.
    std::unique_ptr<Tieup> readTieup(int treadles);

    bool flagged(WifSection s) const { return m_contents[static_cast<std::size_t>(s)]; }
    const IniFile& ini() const { return m_ini; }

private:
    void readContents();
    void readNotes(CQuillabyDoc& doc);
    void readText(CQuillabyDoc& doc);
    void readUnits(CQuillabyDoc& doc);
    void readPrivate(CQuillabyDoc& doc);
    void readBlockParams(CQuillabyDoc& doc);
    void readTieupKeys(CQuillabyDoc& doc);
    void readWeavingRun(CQuillabyDoc& doc);
    int defaultColor(WifSection side, int fallback, int paletteCount) const;
    // The draft's palette index of file color `v` (1-based), -1 when the
    // draft does not keep it.
    int colorIndex(std::int64_t v, int paletteCount) const;
    // The file colors (1-based) that threads and rows' default colors use.
    std::vector<bool> usedFileColors(int entries) const;
    void readColors(WifSection section, int rowsCount, Threading* const* warp, Treadling* const* weft,
                    int paletteCount);
    void readThick(WifSection spacingSection, WifSection side, int count, class Tding& row);
    int readLineSet(std::string_view section, int key, TUPTYPE& set, int limit, bool& above);

    const IniFile& m_ini;
    IPrompter& m_messages;
    std::array<bool, kWifSectionNames.size()> m_contents{};
    std::vector<int> m_colorMap; // file color (0-based) -> palette index, -1 dropped
    bool m_threadingLabels = false;
    bool m_treadlingLabels = false;
};

// Opens a draft file from disk. False with the reason when it cannot be read
// or is no draft.
bool ReadWifFile(const std::string& path, CQuillabyDoc& doc, IPrompter& messages, const WifReadOptions& options = {},
                 std::string* error = nullptr);
// The palette of a draft file (palette import); -1 when the file cannot be read.
int ReadWifPalette(const std::string& path, ColorPalette& palette, IPrompter& messages);

} // namespace qb
