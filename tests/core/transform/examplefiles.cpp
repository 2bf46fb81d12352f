#include "tests/core/transform/examplefiles.h"

#include "core/draft/quillabydoc.h"
#include "core/picture/picturereader.h"
#include "core/picture/rgbpicture.h"
#include "core/wif/wifwriter.h"
#include "tests/core/transform/structures.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace qbtest {

ExampleFiles WriteExampleFiles(CQuillabyDoc& other, const std::string& stem)
{
    const std::filesystem::path dir(::testing::TempDir());
    ExampleFiles f{(dir / (stem + "_draft.wif")).string(), (dir / (stem + "_picture.png")).string(),
                   (dir / (stem + "_structure.qlb")).string()};
    EXPECT_TRUE(WriteWifFile(other, f.draft));
    RgbPicture picture = RgbPicture::Blank(5, 7);
    for (std::size_t i = 0; i < picture.pixels.size(); i += 3) picture.pixels[i] = OpaqueRgb(0, 0, 0);
    std::string error;
    EXPECT_TRUE(WritePictureFile(f.picture, picture, error)) << error;
    EXPECT_TRUE(WriteWifFile(*MakeStructure(UnitWeaveShape(4)), f.structure));
    return f;
}

CommandArgs FillExample(const CommandArgs& example, const ExampleFiles& files)
{
    CommandArgs out;
    for (const std::string& a : example)
        out.push_back(a == "{draft}"           ? files.draft
                          : a == "{picture}"   ? files.picture
                          : a == "{structure}" ? files.structure
                                               : a);
    return out;
}

std::string Describe(const CommandEntry& entry, const CommandArgs& args)
{
    std::string s = entry.cliName;
    for (const std::string& a : args) s += ' ' + a;
    return s;
}

} // namespace qbtest
