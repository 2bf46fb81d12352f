#include "core/draft/colorpalette.h"

#include <gtest/gtest.h>

using namespace qb;

namespace {

ColorPalette paletteOf(int n)
{
    ColorPalette p;
    for (int i = 0; i < n; ++i) p.add(rgb(i, 0, 1), false);
    return p;
}

} // namespace

TEST(ColorPalette, AddNamesColorsByTheirOneBasedPosition)
{
    ColorPalette p;
    EXPECT_EQ(p.add(rgb(255, 0, 0), false), 0);
    EXPECT_EQ(p.add(rgb(0, 255, 0), false, "grass green yarn"), 1);
    EXPECT_EQ(p.name(0), "color1");
    EXPECT_EQ(p.name(1), "grass green"); // 11 characters at most
    EXPECT_EQ(p.color(0), 0x0000FFu);
    EXPECT_EQ(p.color(5), 0u);
    EXPECT_EQ(p.name(5), "");
    EXPECT_TRUE(p.setName(0, ""));
    EXPECT_EQ(p.name(0), "color1");
    EXPECT_FALSE(p.setName(2, "x"));
}

TEST(ColorPalette, ReuseReturnsTheEqualColorInsteadOfADuplicate)
{
    ColorPalette p;
    p.add(0xFFFFFF, true);
    p.add(0x000000, true);
    EXPECT_EQ(p.add(0xFFFFFF, true), 0);
    EXPECT_EQ(p.count(), 2);
    EXPECT_EQ(p.add(0xFFFFFF, false), 2); // without reuse a duplicate is added
    EXPECT_EQ(p.find(0x000000), 1);
    EXPECT_EQ(p.find(0x123456), -1);
}

TEST(ColorPalette, Limit90AddFailsWith255)
{
    ColorPalette p = paletteOf(89);
    EXPECT_EQ(p.add(0xABCDEF, false), 89);
    EXPECT_EQ(p.name(89), "color90");
    EXPECT_EQ(p.count(), kMaxColors);
    EXPECT_EQ(p.add(0x111111, false), 255);
    EXPECT_EQ(p.add(0x111111, true), 255);
    EXPECT_EQ(p.count(), 90);
    // A color already present is still found when the palette is full.
    EXPECT_EQ(p.add(0xABCDEF, true), 89);
}

TEST(ColorPalette, BatchAddsAtMostTheRoomLeft)
{
    ColorPalette p = paletteOf(88);
    EXPECT_EQ(p.addBatch({1, 2, 3, 4, 5}), 2);
    EXPECT_EQ(p.count(), 90);
    EXPECT_EQ(p.color(89), 2u);
    EXPECT_EQ(p.addBatch({7}), 0);
}

TEST(ColorPalette, ReplaceRules)
{
    ColorPalette p;
    p.add(0x0000FF, false, "red");
    p.add(0x00FF00, false, "green");
    p.add(0xFF0000, false, "blue");
    const ColorPalette before = p;
    // A color already present: nothing changes, its index is returned.
    EXPECT_EQ(p.replace(0, 0xFF0000), 2);
    EXPECT_EQ(p, before);
    EXPECT_EQ(p.replace(7, 0x00FF00), 1);
    // A new color at an index in range takes the slot and a default name.
    EXPECT_EQ(p.replace(1, 0x123456), 1);
    EXPECT_EQ(p.color(1), 0x123456u);
    EXPECT_EQ(p.name(1), "color2");
    // An index at or beyond the count fails.
    EXPECT_EQ(p.replace(3, 0x654321), 255);
    EXPECT_EQ(p.replace(-1, 0x654321), 255);
    EXPECT_EQ(p.count(), 3);
}

TEST(ColorPalette, ButtonColorsMustNameAPaletteColor)
{
    ColorPalette p = paletteOf(3);
    EXPECT_TRUE(p.setLeftColor(2));
    EXPECT_TRUE(p.setRightColor(0));
    EXPECT_FALSE(p.setLeftColor(3));
    EXPECT_FALSE(p.setRightColor(-1));
    EXPECT_EQ(p.leftColor(), 2);
    EXPECT_EQ(p.rightColor(), 0);
}

TEST(ColorPalette, CopyKeepsColorsAndNames)
{
    ColorPalette p = paletteOf(3);
    p.setName(1, "moss");
    const ColorPalette q = p;
    EXPECT_EQ(q, p);
    EXPECT_EQ(q.name(1), "moss");
}

TEST(ColorRef, ChannelsAreStoredAs0x00BBGGRR)
{
    EXPECT_EQ(rgb(0x12, 0x34, 0x56), 0x00563412u);
    EXPECT_EQ(red(0x00563412u), 0x12);
    EXPECT_EQ(green(0x00563412u), 0x34);
    EXPECT_EQ(blue(0x00563412u), 0x56);
}
