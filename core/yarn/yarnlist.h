#pragma once

#include "core/yarn/measure.h"

#include <array>
#include <string>
#include <vector>

namespace qb {

class CYarn;
class CYarnDoc;

// The columns of the yarn lists (the Yarn Database dialog and the yarn
// window), in order, with their captions and widths in pixels.
enum class YarnColumn { Size, Fiber, Density, Shrinkage, Sett };

struct YarnColumnInfo {
    YarnColumn column;
    const char* caption;
    int width;
};

inline constexpr std::array<YarnColumnInfo, 5> kYarnColumns = {{
    {YarnColumn::Size, "Size", 50},
    {YarnColumn::Fiber, "Fiber", 150},
    {YarnColumn::Density, "Density", 100},
    {YarnColumn::Shrinkage, "Shrinkage", 80},
    {YarnColumn::Sett, "Sett", 100},
}};

// A cell's text; the density is labelled in the current system.
std::string YarnCellText(const CYarn& y, YarnColumn column, MeasureSystem current);

// Ascending order of two yarns by one column: the size by the number it
// starts with, the fiber byte by byte, the rest by value. Negative, 0 or
// positive.
int CompareYarns(const CYarn& a, const CYarn& b, YarnColumn column);

// The rows of the database sorted by a column. A set direction flag sorts
// the fiber ascending and the numeric columns descending; a clear one the
// other way round. Equal yarns keep their list order.
std::vector<int> SortedYarnRows(const CYarnDoc& doc, YarnColumn column, bool flag);

// How the Yarn Database dialog sorts, kept for the life of the program:
// the last column clicked, and a direction flag per column that each click
// on its header inverts. It starts on the fiber with every flag set.
class YarnSortOrder {
public:
    YarnColumn column() const { return m_column; }
    bool flag(YarnColumn c) const { return m_flags[static_cast<std::size_t>(c)]; }
    void click(YarnColumn c);
    std::vector<int> rows(const CYarnDoc& doc) const { return SortedYarnRows(doc, m_column, flag(m_column)); }

private:
    YarnColumn m_column = YarnColumn::Fiber;
    std::array<bool, kYarnColumns.size()> m_flags{true, true, true, true, true};
};

} // namespace qb
