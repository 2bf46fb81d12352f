#pragma once

#include "core/yarn/yarn.h"

#include <string>
#include <string_view>
#include <vector>

namespace qb {

// The text form of a yarn database: one yarn per line, CR LF at the end,
// "size; fiber; density; shrinkage; sett; notes". A ";", a backslash or a
// line break inside a field is written with a backslash ("\;", "\\", "\r",
// "\n") so that the field comes back whole; other backslashes read as they
// stand, so files without escapes read as before.

// One line without its line end. The yarn is written as it is: callers
// normalise it first (CYarn::NormalizeForFile).
std::string YarnTextLine(const CYarn& y);

// One yarn from one line (without its line end). Missing fields stay empty
// or 0, fields after the sixth are ignored, and an empty line gives an empty
// yarn. Numbers are decimal with leading blanks allowed and stop at the first
// non-digit; a number outside the yarn's range is brought into it and
// counted in `clamped`.
CYarn ParseYarnLine(std::string_view line, int* clamped = nullptr);

// What reading a whole text came to.
struct YarnTextRead {
    std::vector<CYarn> yarns;
    int clamped = 0;        // numbers brought into range
    bool truncated = false; // more lines than a database holds
};

// Every line of a text file; lines of any length, ending in CR LF or LF.
YarnTextRead ParseYarnText(std::string_view text, int maxYarns);

} // namespace qb
