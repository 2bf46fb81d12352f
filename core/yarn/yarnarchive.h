#pragma once

#include "core/yarn/yarn.h"

#include <string>
#include <string_view>
#include <vector>

namespace qb {

class CYarnDoc;

// The archive form of a yarn database (".yrn"), little-endian: a 16-bit
// count, then per yarn the size, the fiber, a 32-bit density, the shrinkage
// and the sett in one byte each, and the notes. Strings carry a length
// prefix: one byte below 255, else 0xFF and 16 bits below 0xFFFE, else 0xFF,
// 0xFFFF and 32 bits. 0xFF 0xFFFE before the prefix marks a string of 16-bit
// characters, which is read into UTF-8.
std::string YarnArchiveBytes(const CYarnDoc& doc);

struct YarnArchiveRead {
    bool ok = false;
    std::vector<CYarn> yarns;
    int clamped = 0;   // shrinkages above 100 brought down
    std::string error; // why a damaged archive was refused
};

// Every length and count is checked against the bytes that are left before
// anything is allocated; a file cut short or otherwise damaged is refused.
YarnArchiveRead ParseYarnArchive(std::string_view bytes);

} // namespace qb
