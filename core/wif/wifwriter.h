#pragma once

#include <string>

namespace qb {

class CQuillabyDoc;
class ColorPalette;
class IniWriter;

// The whole draft as the text of a .wif/.qlb file (both are the same), with
// `date` ("month/day/year") as the save date.
std::string WifText(const CQuillabyDoc& doc, const std::string& date);

// The palette's COLOR PALETTE and COLOR TABLE sections.
void WriteWifPalette(IniWriter& out, const ColorPalette& palette);

// Saves the draft. The file is replaced only once the new content is safely
// on disk: on any failure the old file is left as it was, the reason is
// returned and the document stays modified. On success the document's date
// becomes today's and it is marked unmodified.
bool WriteWifFile(CQuillabyDoc& doc, const std::string& path, std::string* error = nullptr);

// Today's date as the file stores it: "month/day/year".
std::string WifToday();

// Writes `bytes` to a temporary file beside `path`, flushes it to disk and
// renames it over `path`.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error = nullptr);

} // namespace qb
