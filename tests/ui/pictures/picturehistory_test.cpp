#include "ui/pictures/picturehistory.h"

#include <gtest/gtest.h>

using namespace qb;

namespace {

RgbPicture Sized(int w)
{
    return RgbPicture::Blank(w, 1, 0xFF000000u | std::uint32_t(w));
}

} // namespace

TEST(PictureHistory, UndoRedoTradePicturesAndKnowTheSavedOne)
{
    PictureHistory h;
    RgbPicture shown = Sized(1);
    h.Record("Crop", shown);
    shown = Sized(2);
    h.Record("Rotate", shown);
    shown = Sized(3);
    EXPECT_TRUE(h.isModified());
    h.MarkSaved();
    EXPECT_EQ(h.undoName(), "Rotate");
    ASSERT_TRUE(h.Undo(shown));
    EXPECT_EQ(shown, Sized(2));
    EXPECT_TRUE(h.isModified());
    EXPECT_EQ(h.redoName(), "Rotate");
    ASSERT_TRUE(h.Redo(shown));
    EXPECT_EQ(shown, Sized(3));
    EXPECT_FALSE(h.isModified());
    h.Undo(shown);
    h.Undo(shown);
    EXPECT_EQ(shown, Sized(1));
    EXPECT_FALSE(h.Undo(shown));
    EXPECT_EQ(shown, Sized(1));
    // A new edit from here drops what could be redone; the saved picture is
    // then out of reach.
    h.Record("Grayscale", shown);
    EXPECT_FALSE(h.canRedo());
    EXPECT_TRUE(h.isModified());
    h.Undo(shown);
    EXPECT_TRUE(h.isModified());
}

TEST(PictureHistory, OldStepsGoWhenTheBytesRunOutButTheNewestStays)
{
    PictureHistory h(100 * sizeof(std::uint32_t));
    RgbPicture shown = Sized(40);
    for (int w : {40, 40, 40}) h.Record("Crop", Sized(w));
    EXPECT_LE(h.bytesKept(), 100 * sizeof(std::uint32_t));
    int steps = 0;
    while (h.Undo(shown)) ++steps;
    EXPECT_EQ(steps, 2);

    PictureHistory small(10);
    small.Record("Rotate", Sized(1000));
    small.Record("Rotate", Sized(1000));
    EXPECT_EQ(small.bytesKept(), 1000 * sizeof(std::uint32_t));
    EXPECT_TRUE(small.canUndo());

    PictureHistory many;
    for (std::size_t i = 0; i < PictureHistory::kMaxSteps + 5; ++i) many.Record("Grayscale", Sized(1));
    steps = 0;
    while (many.Undo(shown)) ++steps;
    EXPECT_EQ(steps, int(PictureHistory::kMaxSteps));
}
