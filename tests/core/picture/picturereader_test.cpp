// Picture files of every kind the readers know, written and read back, cut
// short, damaged, and claiming sizes no one could hold.
#include "core/picture/picturereader.h"
#include "core/transform/liftplanpicture.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace qb;

namespace {

std::string fixture(const std::string& name)
{
    return std::string(QUILLABY_TEST_DATA) + "/pictures/" + name;
}

std::vector<std::uint8_t> bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The fixtures' pattern (see tests/data/pictures/README.md).
int patternIndex(int x, int y)
{
    return (x * x + 3 * y + x * y) % 4;
}
constexpr std::uint32_t kColors[4] = {0xFF000000, 0xFFFFFFFF, 0xFFFF0000, 0xFF0000FF};
constexpr std::uint32_t kGreys[4] = {0xFF000000, 0xFFFFFFFF, 0xFF555555, 0xFFAAAAAA};
constexpr std::uint32_t kBlackWhite[4] = {0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF};

int channelDistance(std::uint32_t a, std::uint32_t b)
{
    int worst = 0;
    for (int s = 0; s < 24; s += 8) worst = std::max(worst, std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF)));
    return worst;
}

struct FixtureCase {
    const char* file;
    const std::uint32_t* colors;
    int tolerance;           // JPEG is lossy; a 13 x 7 pattern of hard edges rings a little
    bool upsideDown = false; // rows stored top first, but the file says they start at the bottom
};

const FixtureCase kFixtures[] = {
    {"c_palette.png", kColors, 0},
    {"c_rgb16.png", kColors, 0},
    {"c_interlaced.png", kColors, 0},
    {"g_gray2.png", kGreys, 0},
    {"g_gray16.png", kGreys, 0},
    {"c_pal8.bmp", kColors, 0},
    {"c_rle8.bmp", kColors, 0},
    {"c_rle4.bmp", kColors, 0},
    {"c_565.bmp", kColors, 0},
    {"c_555.bmp", kColors, 0},
    {"c_32.bmp", kColors, 0},
    {"c_topdown.bmp", kColors, 0},
    {"c_os2.bmp", kColors, 0},
    {"bw_1bit.bmp", kBlackWhite, 0},
    {"c_palette.tif", kColors, 0},
    {"c_tiled.tif", kColors, 0},
    {"c_bottomleft.tif", kColors, 0, true},
    {"g_gray4.tif", kGreys, 0},
    {"g_gray.jpg", kGreys, 40},
    {"c_progressive.jpg", kColors, 90},
    {"c_cmyk.jpg", kColors, 90},
};

// A picture with every pixel different enough to catch a swapped channel,
// a flipped row or a shifted column.
RgbPicture noisy(int w, int h, unsigned seed)
{
    RgbPicture p = RgbPicture::Blank(w, h);
    std::mt19937 rng(seed);
    for (auto& px : p.pixels) px = 0xFF000000u | (rng() & 0xFFFFFF);
    return p;
}

class TempDir : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("quillaby-picture-read-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string file(const std::string& name) const { return (m_dir / name).string(); }
    fs::path m_dir;
};

using PictureReader = TempDir;

} // namespace

TEST(PictureReaderFixtures, EveryKindOfFileGivesThePattern)
{
    for (const FixtureCase& c : kFixtures) {
        SCOPED_TRACE(c.file);
        RgbPicture p;
        std::string error;
        ASSERT_TRUE(ReadPictureFile(fixture(c.file), p, error)) << error;
        ASSERT_EQ(p.width, 13);
        ASSERT_EQ(p.height, 7);
        int worst = 0;
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 13; ++x) {
                EXPECT_EQ(p.at(x, y) >> 24, 0xFFu);
                const int index = patternIndex(x, c.upsideDown ? 6 - y : y);
                worst = std::max(worst, channelDistance(p.at(x, y), c.colors[index]));
            }
        EXPECT_LE(worst, c.tolerance);
    }
}

TEST(PictureReaderFixtures, TransparencyIsLaidOverWhite)
{
    RgbPicture p;
    std::string error;
    ASSERT_TRUE(ReadPictureFile(fixture("a_alpha.png"), p, error)) << error;
    ASSERT_EQ(p.width, 3);
    EXPECT_EQ(p.at(0, 0), 0xFFFFFFFFu); // transparent red is no color at all
    EXPECT_LE(channelDistance(p.at(1, 0), 0xFF7F7F7F), 1);
    EXPECT_EQ(p.at(2, 0), 0xFF0000FFu);
}

TEST_F(PictureReader, EveryFormatRoundTrips)
{
    RgbPicture original = noisy(37, 23, 5);
    for (const char* ext : {"png", "bmp", "tif", "TIFF", "jpeg"}) {
        SCOPED_TRACE(ext);
        if (std::string(ext) == "jpeg") // JPEG keeps smooth pictures, not noise: a gradient, one way per channel
            for (int y = 0; y < original.height; ++y)
                for (int x = 0; x < original.width; ++x) original.at(x, y) = OpaqueRgb(6 * x, 10 * y, 3 * (x + y));
        const std::string path = file(std::string("round.") + ext);
        std::string error;
        ASSERT_TRUE(WritePictureFile(path, original, error)) << error;
        RgbPicture back;
        ASSERT_TRUE(ReadPictureFile(path, back, error)) << error;
        ASSERT_EQ(back.width, original.width);
        ASSERT_EQ(back.height, original.height);
        if (std::string(ext) != "jpeg") {
            EXPECT_EQ(back, original);
            continue;
        }
        long long sum = 0;
        for (std::size_t i = 0; i < back.pixels.size(); ++i) sum += channelDistance(back.pixels[i], original.pixels[i]);
        EXPECT_LT(double(sum) / double(back.pixels.size()), 6.0);
    }
    // A grey picture stays exactly grey through JPEG's lossless parts too.
    RgbPicture flat = RgbPicture::Blank(16, 16, 0xFF808080);
    std::string error;
    ASSERT_TRUE(WritePictureFile(file("flat.jpg"), flat, error));
    RgbPicture back;
    ASSERT_TRUE(ReadPictureFile(file("flat.jpg"), back, error));
    for (std::uint32_t px : back.pixels) EXPECT_LE(channelDistance(px, 0xFF808080), 1);
}

TEST_F(PictureReader, TheBytesDecideTheFormatTheExtensionOnlyWhetherItIsAPicture)
{
    const RgbPicture original = noisy(5, 4, 1);
    std::string error;
    ASSERT_TRUE(WritePictureFile(file("real.png"), original, error));
    fs::copy_file(file("real.png"), file("misnamed.jpg"));
    fs::copy_file(file("real.png"), file("picture.gif"));
    RgbPicture back;
    EXPECT_TRUE(ReadPictureFile(file("misnamed.jpg"), back, error)) << error;
    EXPECT_EQ(back, original);
    RgbPicture untouched = noisy(2, 2, 9);
    const RgbPicture before = untouched;
    EXPECT_FALSE(ReadPictureFile(file("picture.gif"), untouched, error));
    EXPECT_NE(error.find("Unknown picture type"), std::string::npos) << error;
    EXPECT_FALSE(ReadPictureFile(file("missing.png"), untouched, error));
    EXPECT_NE(error.find("missing.png"), std::string::npos) << error;
    fs::create_directories(file("folder.bmp"));
    EXPECT_FALSE(ReadPictureFile(file("folder.bmp"), untouched, error));
    std::ofstream(file("empty.tif")).flush();
    EXPECT_FALSE(ReadPictureFile(file("empty.tif"), untouched, error));
    EXPECT_EQ(untouched, before); // a failure leaves the picture as it was
}

TEST_F(PictureReader, LoadLiftplanReadsEveryFormat)
{
    const RgbPicture original = noisy(6, 3, 4);
    for (const char* ext : {"bmp", "png", "tiff"}) {
        const std::string path = file(std::string("lift.") + ext);
        std::string error;
        ASSERT_TRUE(WritePictureFile(path, original, error));
        PixelGrid grid;
        ASSERT_TRUE(ReadLiftplanPicture(path, grid, error)) << error;
        EXPECT_EQ(grid.width, 6);
        EXPECT_EQ(grid.height, 3);
        EXPECT_EQ(grid.argb, original.pixels) << ext;
    }
    PixelGrid kept = PixelGrid::FromGray(1, 1, std::vector<std::uint8_t>{7}.data());
    std::string error;
    EXPECT_FALSE(ReadLiftplanPicture(fixture("c_cmyk.jpg") + ".missing.jpg", kept, error));
    EXPECT_EQ(kept.width, 1);
    EXPECT_FALSE(error.empty());
}

// Every prefix of every fixture, and random damage: a whole picture or a
// reason, never a crash.
TEST(PictureReaderDamage, CutAndDamagedFilesFailWithAReason)
{
    PictureLimits small;
    small.maxPixels = 1 << 16;
    std::mt19937 rng(11);
    for (const FixtureCase& c : kFixtures) {
        SCOPED_TRACE(c.file);
        const std::vector<std::uint8_t> whole = bytesOf(fixture(c.file));
        for (std::size_t n = 0; n < whole.size(); ++n) {
            RgbPicture p;
            std::string reason;
            const bool ok = DecodePicture(whole.data(), n, PictureFormatForPath(c.file), p, reason, small);
            if (ok) { // all the pixels were there, or JPEG filled in the rest
                EXPECT_TRUE(p.width == 13 && p.height == 7 && p.pixels.size() == 91) << "cut at " << n;
            } else {
                EXPECT_FALSE(reason.empty()) << "cut at " << n;
            }
        }
        for (int round = 0; round < 200; ++round) {
            std::vector<std::uint8_t> bad = whole;
            for (int k = 0; k < 1 + round % 4; ++k) bad[rng() % bad.size()] = std::uint8_t(rng());
            RgbPicture p;
            std::string reason;
            if (DecodePicture(bad.data(), bad.size(), PictureFormatForPath(c.file), p, reason, small))
                EXPECT_EQ(p.pixels.size(), std::size_t(p.width) * p.height);
            else EXPECT_FALSE(reason.empty());
        }
    }
}

TEST(PictureReaderDamage, AJpegThatEndsEarlyIsNotFilledIn)
{
    const std::vector<std::uint8_t> whole = bytesOf(fixture("c_progressive.jpg"));
    RgbPicture p;
    std::string reason;
    EXPECT_FALSE(DecodeJpeg(whole.data(), whole.size() - 40, p, reason, {}));
    EXPECT_EQ(reason, "Premature end of JPEG file");
    EXPECT_TRUE(DecodeJpeg(whole.data(), whole.size(), p, reason, {}));
}

namespace {

void put32le(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x)
{
    for (int i = 0; i < 4; ++i) v[at + i] = std::uint8_t(x >> (8 * i));
}

std::vector<std::uint8_t> bmpHeader(std::int32_t w, std::int32_t h)
{
    std::vector<std::uint8_t> b(54, 0);
    b[0] = 'B';
    b[1] = 'M';
    put32le(b, 10, 54);
    put32le(b, 14, 40);
    put32le(b, 18, std::uint32_t(w));
    put32le(b, 22, std::uint32_t(h));
    b[26] = 1;
    b[28] = 24;
    return b;
}

std::vector<std::uint8_t> pngHeader(std::uint32_t w, std::uint32_t h)
{
    std::vector<std::uint8_t> b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (std::uint32_t v : {w, h})
        for (int s = 24; s >= 0; s -= 8) b.push_back(std::uint8_t(v >> s));
    for (std::uint8_t v : {8, 2, 0, 0, 0}) b.push_back(v);
    const uLong crc = crc32(0, b.data() + 12, 17);
    for (int s = 24; s >= 0; s -= 8) b.push_back(std::uint8_t(crc >> s));
    // An empty IDAT: the header is read up to the pixels.
    const std::uint8_t idat[] = {0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E};
    b.insert(b.end(), std::begin(idat), std::end(idat));
    return b;
}

std::vector<std::uint8_t> jpegHeader(std::uint16_t w, std::uint16_t h)
{
    return {0xFF,
            0xD8,
            0xFF,
            0xC0,
            0,
            11,
            8,
            std::uint8_t(h >> 8),
            std::uint8_t(h),
            std::uint8_t(w >> 8),
            std::uint8_t(w),
            1,
            1,
            0x11,
            0,
            0xFF,
            0xDA,
            0,
            8,
            1,
            1,
            0,
            0,
            63,
            0,
            0xFF,
            0xD9};
}

std::vector<std::uint8_t> tiffHeader(std::uint32_t w, std::uint32_t h)
{
    // Little-endian, one strip of 8-bit grey.
    struct Entry {
        std::uint16_t tag, type;
        std::uint32_t value;
    };
    const Entry entries[] = {{256, 4, w}, {257, 4, h}, {258, 3, 8}, {259, 3, 1}, {262, 3, 1},
                             {273, 4, 0}, {277, 3, 1}, {278, 4, h}, {279, 4, 0}};
    std::vector<std::uint8_t> b = {'I', 'I', 42, 0, 8, 0, 0, 0, std::uint8_t(std::size(entries)), 0};
    for (const Entry& e : entries) {
        const std::size_t at = b.size();
        b.resize(at + 12, 0);
        b[at] = std::uint8_t(e.tag);
        b[at + 1] = std::uint8_t(e.tag >> 8);
        b[at + 2] = std::uint8_t(e.type);
        b[at + 4] = 1;
        put32le(b, at + 8, e.value);
    }
    b.resize(b.size() + 4, 0);
    return b;
}

} // namespace

TEST(PictureReaderDamage, HugeSizesAreRefusedFromTheHeaderAlone)
{
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        PictureFormat format;
    } cases[] = {
        {"bmp", bmpHeader(100000, 100000), PictureFormat::Bmp},
        {"bmp top down", bmpHeader(100000, -100000), PictureFormat::Bmp},
        {"png", pngHeader(100000, 100000), PictureFormat::Png},
        {"jpeg", jpegHeader(65000, 65000), PictureFormat::Jpeg},
        {"tiff", tiffHeader(100000, 100000), PictureFormat::Tiff},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RgbPicture p;
        std::string reason;
        EXPECT_FALSE(DecodePicture(c.bytes.data(), c.bytes.size(), c.format, p, reason));
        EXPECT_NE(reason.find("too large"), std::string::npos) << reason;
        EXPECT_TRUE(p.pixels.empty());
    }
    // Within the limits but far beyond the file: the BMP's rows cannot be there.
    const auto bmp = bmpHeader(10000, 10000);
    RgbPicture p;
    std::string reason;
    EXPECT_FALSE(DecodeBmp(bmp.data(), bmp.size(), p, reason, {}));
    EXPECT_NE(reason.find("ends before"), std::string::npos) << reason;
    EXPECT_EQ(p.pixels.capacity(), 0u);
}
