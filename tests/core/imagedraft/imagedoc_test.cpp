// The graphic document: what opens, what marks it modified, what a failed
// save leaves.
#include "core/imagedraft/imagedoc.h"

#include "core/draft/quillabydoc.h"
#include "core/picture/picturereader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace qb;

TEST(ImageDoc, OpenEditSave)
{
    const fs::path dir = fs::temp_directory_path() / ("quillaby-imagedoc-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string source = (dir / "scan.bmp").string();
    std::string error;
    ASSERT_TRUE(WritePictureFile(source, RgbPicture::Blank(40, 20, OpaqueRgb(200, 10, 10)), error));
    fs::copy_file(source, dir / "scan");

    CImageDoc doc;
    EXPECT_FALSE(doc.Open((dir / "scan").string(), error)); // no extension: not a picture
    EXPECT_FALSE(doc.hasPicture());
    ASSERT_TRUE(doc.Open(source, error)) << error;
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.gridSquares(), (GridSquares{1, 1}));

    doc.SetGridSquares({0, 300});
    EXPECT_EQ(doc.gridSquares(), (GridSquares{1, 127}));
    EXPECT_FALSE(doc.isModified());
    FixedPrompter p;
    EXPECT_FALSE(doc.GenerateDraft(NewDraftDefaults{}, p).made.draft);
    EXPECT_EQ(p.lastMessage, kNeedGridSquares);

    // Refused edits change nothing.
    EXPECT_FALSE(doc.Crop({50, 0, 5, 5}, error));
    EXPECT_FALSE(doc.Light(0, 101));
    EXPECT_FALSE(doc.isModified());
    ASSERT_TRUE(doc.Crop({10, 0, 20, 20}, error));
    EXPECT_TRUE(doc.isModified());
    ASSERT_TRUE(doc.Rotate(90, error));
    EXPECT_EQ(doc.picture().width, 20);
    EXPECT_EQ(doc.picture().height, 20);
    doc.Grayscale();
    EXPECT_TRUE(IsGreyScale(doc.picture()));
    ASSERT_TRUE(doc.Light(-100, 0));

    EXPECT_FALSE(doc.Save((dir / "nowhere" / "x.png").string(), error));
    EXPECT_NE(error.find("Unable to write"), std::string::npos) << error;
    EXPECT_FALSE(doc.Save((dir / "x.gif").string(), error));
    EXPECT_TRUE(doc.isModified());
    ASSERT_TRUE(doc.Save((dir / "out.tif").string(), error)) << error;
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.path(), (dir / "out.tif").string());

    CImageDoc again;
    ASSERT_TRUE(again.Open((dir / "out.tif").string(), error));
    EXPECT_EQ(again.picture(), doc.picture());
    again.SetGridSquares({4, 4});
    const PictureDraft made = again.GenerateDraft(NewDraftDefaults{}, p);
    ASSERT_TRUE(made.made.draft); // grey 67 less 100: black everywhere
    EXPECT_EQ(made.made.draft->numShafts(), 1);
    fs::remove_all(dir);
}
