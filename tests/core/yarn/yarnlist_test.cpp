#include "core/yarn/yarndoc.h"
#include "core/yarn/yarnlist.h"

#include <gtest/gtest.h>

using namespace qb;

namespace {

// Rows as their sizes, for readable expectations.
std::vector<std::string> sizes(const CYarnDoc& doc, const std::vector<int>& rows)
{
    std::vector<std::string> out;
    for (int r : rows) out.push_back(doc.yarn(r).size());
    return out;
}

} // namespace

TEST(YarnList, CellTexts)
{
    const CYarn y("8/2", "cotton", 3360, 10, 24);
    EXPECT_EQ(YarnCellText(y, YarnColumn::Size, MeasureSystem::English), "8/2");
    EXPECT_EQ(YarnCellText(y, YarnColumn::Fiber, MeasureSystem::English), "cotton");
    EXPECT_EQ(YarnCellText(y, YarnColumn::Density, MeasureSystem::English), "3360 yd/lb");
    EXPECT_EQ(YarnCellText(y, YarnColumn::Density, MeasureSystem::Metric), "3360 m/kg");
    EXPECT_EQ(YarnCellText(y, YarnColumn::Shrinkage, MeasureSystem::Metric), "10%");
    EXPECT_EQ(YarnCellText(y, YarnColumn::Sett, MeasureSystem::Metric), "24");
}

TEST(YarnList, SortingByColumn)
{
    CYarnDoc doc;
    doc.Append(CYarn("10/2", "cotton", 4200, 5, 30));
    doc.Append(CYarn("8/2", "wool", 1600, 12, 12));
    doc.Append(CYarn("20/2", "Linen", 6000, 5, 36));
    doc.Append(CYarn("x", "cotton", 100, 0, 8));

    YarnSortOrder order;
    EXPECT_EQ(order.column(), YarnColumn::Fiber);
    // Bytes compare: capitals first; equal fibers keep their list order.
    EXPECT_EQ(sizes(doc, order.rows(doc)), (std::vector<std::string>{"20/2", "10/2", "x", "8/2"}));

    struct Step {
        YarnColumn clicked;
        std::vector<std::string> rows;
    };
    const Step steps[] = {
        // Size by its leading number, ascending once the flag is clear: 8 before 10.
        {YarnColumn::Size, {"x", "8/2", "10/2", "20/2"}},      {YarnColumn::Size, {"20/2", "10/2", "8/2", "x"}},
        {YarnColumn::Fiber, {"8/2", "10/2", "x", "20/2"}},     {YarnColumn::Density, {"x", "8/2", "10/2", "20/2"}},
        {YarnColumn::Shrinkage, {"x", "10/2", "20/2", "8/2"}}, {YarnColumn::Sett, {"x", "8/2", "10/2", "20/2"}},
        {YarnColumn::Sett, {"20/2", "10/2", "8/2", "x"}},
    };
    for (const Step& s : steps) {
        order.click(s.clicked);
        EXPECT_EQ(order.column(), s.clicked);
        EXPECT_EQ(sizes(doc, order.rows(doc)), s.rows) << static_cast<int>(s.clicked);
    }
    // Sorting shows the rows in another order; the database keeps its own.
    EXPECT_EQ(doc.yarn(0).size(), "10/2");
    EXPECT_TRUE(SortedYarnRows(CYarnDoc(), YarnColumn::Size, true).empty());
}
