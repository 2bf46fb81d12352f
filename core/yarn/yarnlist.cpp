#include "core/yarn/yarnlist.h"

#include "core/yarn/yarn.h"
#include "core/yarn/yarndoc.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace qb {

namespace {

template <typename T> int compareValues(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace

std::string YarnCellText(const CYarn& y, YarnColumn column, MeasureSystem current)
{
    switch (column) {
    case YarnColumn::Size: return y.size();
    case YarnColumn::Fiber: return y.fiber();
    case YarnColumn::Density: return std::to_string(y.density()) + " " + std::string(DensityWord(current));
    case YarnColumn::Shrinkage: return std::to_string(y.shrinkage()) + "%";
    case YarnColumn::Sett: return std::to_string(y.sett());
    }
    return {};
}

int CompareYarns(const CYarn& a, const CYarn& b, YarnColumn column)
{
    switch (column) {
    case YarnColumn::Size:
        return compareValues(std::strtoll(a.size().c_str(), nullptr, 10), std::strtoll(b.size().c_str(), nullptr, 10));
    case YarnColumn::Fiber: {
        const int c = a.fiber().compare(b.fiber());
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    case YarnColumn::Density: return compareValues(a.density(), b.density());
    case YarnColumn::Shrinkage: return compareValues(a.shrinkage(), b.shrinkage());
    case YarnColumn::Sett: return compareValues(a.sett(), b.sett());
    }
    return 0;
}

std::vector<int> SortedYarnRows(const CYarnDoc& doc, YarnColumn column, bool flag)
{
    std::vector<int> rows(static_cast<std::size_t>(doc.count()));
    std::iota(rows.begin(), rows.end(), 0);
    const bool ascending = column == YarnColumn::Fiber ? flag : !flag;
    std::stable_sort(rows.begin(), rows.end(), [&](int l, int r) {
        const int c = CompareYarns(doc.yarn(l), doc.yarn(r), column);
        return ascending ? c < 0 : c > 0;
    });
    return rows;
}

void YarnSortOrder::click(YarnColumn c)
{
    auto& f = m_flags[static_cast<std::size_t>(c)];
    f = !f;
    m_column = c;
}

} // namespace qb
