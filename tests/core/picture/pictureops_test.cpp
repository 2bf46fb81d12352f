// The graphic window's edits as functions of a picture.
#include "core/picture/pictureops.h"

#include <gtest/gtest.h>

#include <random>

using namespace qb;

namespace {

// Every pixel its own color, so any misplaced pixel shows.
RgbPicture numbered(int w, int h)
{
    RgbPicture p = RgbPicture::Blank(w, h);
    for (int i = 0; i < w * h; ++i) p.pixels[std::size_t(i)] = 0xFF000000u | std::uint32_t(i * 7919 % 0xFFFFFF);
    return p;
}

RgbPicture rotated(const RgbPicture& in, double degrees)
{
    RgbPicture out;
    std::string error;
    EXPECT_TRUE(RotatePicture(in, degrees, out, error)) << error;
    return out;
}

} // namespace

TEST(PictureCrop, KeepsTheRectangleCutToThePictureAndRefusesNothing)
{
    const RgbPicture p = numbered(10, 6);
    const struct {
        PixelRect r;
        PixelRect kept; // empty: refused
    } cases[] = {
        {{2, 1, 3, 4}, {2, 1, 3, 4}},
        {{-3, -2, 5, 4}, {0, 0, 2, 2}},   // hangs over the top-left corner
        {{8, 4, 100, 100}, {8, 4, 2, 2}}, // and over the bottom-right
        {{0, 0, 10, 6}, {0, 0, 10, 6}},
        {{3, 3, 0, 2}, {}},  // no width
        {{10, 0, 5, 5}, {}}, // right of the picture
        {{-9, 0, 9, 6}, {}}, // left of it
        {{2, 2, -2, 2}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.r.x << ',' << c.r.y << ',' << c.r.width << ',' << c.r.height);
        RgbPicture out = numbered(1, 1);
        const RgbPicture before = out;
        std::string error;
        const bool ok = CropPicture(p, c.r, out, error);
        ASSERT_EQ(ok, !c.kept.empty());
        if (!ok) {
            EXPECT_EQ(error, kEmptyCrop);
            EXPECT_EQ(out, before);
            continue;
        }
        ASSERT_EQ(out.width, c.kept.width);
        ASSERT_EQ(out.height, c.kept.height);
        for (int y = 0; y < out.height; ++y)
            for (int x = 0; x < out.width; ++x) EXPECT_EQ(out.at(x, y), p.at(c.kept.x + x, c.kept.y + y));
    }
}

TEST(PictureCrop, WindowSelectionBecomesEveryPixelItTouches)
{
    EXPECT_EQ(WindowRectToPicture({10, 20, 30, 40}, 1.0), (PixelRect{10, 20, 30, 40}));
    EXPECT_EQ(WindowRectToPicture({10, 20, 30, 40}, 2.0), (PixelRect{5, 10, 15, 20}));
    EXPECT_EQ(WindowRectToPicture({11, 21, 2, 2}, 4.0), (PixelRect{2, 5, 2, 1}));
    // Dragged up and to the left.
    EXPECT_EQ(WindowRectToPicture({40, 60, -30, -40}, 2.0), (PixelRect{5, 10, 15, 20}));
    EXPECT_EQ(WindowRectToPicture({3, 3, 9, 9}, 0.5), (PixelRect{6, 6, 18, 18}));
    EXPECT_TRUE(WindowRectToPicture({3, 3, 9, 9}, 0.0).empty());
}

TEST(PictureRotate, RightAnglesMoveEveryPixelExactly)
{
    const RgbPicture p = numbered(5, 3);
    const RgbPicture cw = rotated(p, 90);
    ASSERT_EQ(cw.width, 3);
    ASSERT_EQ(cw.height, 5);
    // Clockwise: the bottom-left corner comes to the top-left.
    EXPECT_EQ(cw.at(0, 0), p.at(0, 2));
    EXPECT_EQ(cw.at(2, 0), p.at(0, 0));
    EXPECT_EQ(cw.at(2, 4), p.at(4, 0));
    EXPECT_EQ(rotated(p, 180), rotated(cw, 90));
    EXPECT_EQ(rotated(p, 270), rotated(p, -90));
    EXPECT_EQ(rotated(rotated(p, 270), 90), p);
    EXPECT_EQ(rotated(p, 360), p);
    EXPECT_EQ(rotated(p, -720), p);
    EXPECT_EQ(rotated(p, 450), cw);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(rotated(p, 180).at(4 - x, 2 - y), p.at(x, y));
}

TEST(PictureRotate, OtherAnglesGrowTheCanvasAndFillTheCornersWithTheBackground)
{
    const RgbPicture black = RgbPicture::Blank(100, 100, 0xFF000000);
    const RgbPicture r45 = rotated(black, 45);
    EXPECT_EQ(r45.width, 142); // 100 √2 = 141.4
    EXPECT_EQ(r45.height, 142);
    EXPECT_EQ(r45.at(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(r45.at(141, 141), 0xFFFFFFFFu);
    EXPECT_EQ(r45.at(71, 71), 0xFF000000u);
    EXPECT_EQ(r45.at(71, 1), 0xFF000000u); // the corners now point up and down
    EXPECT_EQ(r45.at(1, 71), 0xFF000000u);

    // A small turn keeps the picture's middle where it was.
    const RgbPicture p = numbered(41, 21);
    const RgbPicture r = rotated(p, 3);
    EXPECT_EQ(r.width, 43); // 41 cos 3° + 21 sin 3° = 42.04
    EXPECT_EQ(r.height, 24);
    EXPECT_EQ(r.at(21, 12), p.at(20, 10));

    RgbPicture out;
    std::string error;
    PictureLimits limits;
    limits.maxPixels = 100 * 100 + 1;
    EXPECT_TRUE(RotatePicture(black, 90, out, error, 0xFFFFFFFF, limits));
    EXPECT_FALSE(RotatePicture(black, 30, out, error, 0xFFFFFFFF, limits));
    EXPECT_NE(error.find("too large"), std::string::npos) << error;
    EXPECT_FALSE(RotatePicture(black, std::nan(""), out, error));
    EXPECT_FALSE(RotatePicture(RgbPicture{}, 90, out, error));
}

TEST(PictureTone, GreyScaleAndLight)
{
    RgbPicture p = RgbPicture::Blank(4, 1);
    p.pixels = {OpaqueRgb(255, 0, 0), OpaqueRgb(0, 255, 0), OpaqueRgb(0, 0, 255), OpaqueRgb(10, 200, 90)};
    EXPECT_FALSE(IsGreyScale(p));
    RgbPicture grey = p;
    MakeGreyScale(grey);
    EXPECT_TRUE(IsGreyScale(grey));
    EXPECT_EQ(grey.pixels[0], OpaqueRgb(76, 76, 76)); // 30 % of 255
    EXPECT_EQ(grey.pixels[1], OpaqueRgb(150, 150, 150));
    EXPECT_EQ(grey.pixels[2], OpaqueRgb(28, 28, 28));

    const struct {
        int brightness, contrast, in, out;
    } light[] = {
        {0, 0, 37, 37},     {0, 0, 255, 255},  {40, 0, 100, 140},   {40, 0, 240, 255},
        {-255, 0, 200, 0},  {0, -100, 0, 128}, {0, -100, 255, 128}, {0, 100, 100, 72},
        {0, 100, 200, 255}, {0, 50, 28, 0},    {20, 100, 100, 112}, // brightness first, then the stretch about 128
    };
    for (const auto& c : light) {
        SCOPED_TRACE(testing::Message() << c.brightness << ' ' << c.contrast << ' ' << c.in);
        RgbPicture one = RgbPicture::Blank(1, 1, OpaqueRgb(c.in, c.in, 255 - c.in));
        ASSERT_TRUE(ApplyLight(one, c.brightness, c.contrast));
        EXPECT_EQ((one.pixels[0] >> 16) & 0xFF, std::uint32_t(c.out));
    }
    RgbPicture same = p;
    EXPECT_FALSE(ApplyLight(same, 256, 0));
    EXPECT_FALSE(ApplyLight(same, 0, -101));
    EXPECT_EQ(same, p);
}

TEST(PictureTone, PreviewLeavesTheOriginalForCancel)
{
    std::mt19937 rng(3);
    RgbPicture original = RgbPicture::Blank(30, 20);
    for (auto& px : original.pixels) px = 0xFF000000u | (rng() & 0xFFFFFF);
    const RgbPicture copy = original;
    // Dragging the sliders about: many previews, the original never touched.
    for (int b = -255; b <= 255; b += 85)
        for (int c = -100; c <= 100; c += 50) {
            const RgbPicture shown = LightPreview(original, b, c);
            RgbPicture applied = original;
            ApplyLight(applied, b, c);
            EXPECT_EQ(shown, applied); // what OK applies is what was shown
        }
    EXPECT_EQ(original, copy);
    EXPECT_EQ(LightPreview(original, 0, 0), original);
    // A grey picture stays grey in the preview.
    RgbPicture grey = original;
    MakeGreyScale(grey);
    EXPECT_TRUE(IsGreyScale(LightPreview(grey, 77, -33)));
}

TEST(PictureGrid, CountsAndOverlay)
{
    EXPECT_EQ(ClampGridSquares(0), 1);
    EXPECT_EQ(ClampGridSquares(-5), 1);
    EXPECT_EQ(ClampGridSquares(64), 64);
    EXPECT_EQ(ClampGridSquares(200), 127);
    const OverlaySquare s = GridOverlaySquare(300, 200, {4, 3});
    EXPECT_EQ(s.width, 75);
    EXPECT_EQ(s.height, 66);
    const OverlaySquare tiny = GridOverlaySquare(50, 10, {127, 127});
    EXPECT_EQ(tiny.width, 1);
    EXPECT_EQ(tiny.height, 1);
}
