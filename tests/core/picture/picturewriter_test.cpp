#include "core/picture/picturesource.h"
#include "core/picture/picturewriter.h"

#include "tests/core/picture/pngread.h"

#include <gtest/gtest.h>

#include <tiffio.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <jpeglib.h>

using namespace qb;
using namespace qbtest;
namespace fs = std::filesystem;

namespace {

struct TempDir {
    fs::path dir;
    TempDir()
    {
        char tmpl[] = "/tmp/quillaby-pictures-XXXXXX";
        dir = mkdtemp(tmpl);
    }
    ~TempDir() { fs::remove_all(dir); }
    std::string file(const std::string& name) const { return (dir / name).string(); }
};

// A few colored blocks, so every writer has edges and flat areas to keep.
std::vector<std::uint32_t> testPixels(int w, int h)
{
    std::vector<std::uint32_t> px(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int block = (x / 8 + y / 8) % 3;
            px[static_cast<std::size_t>(y) * w + x] = block == 0 ? 0xFFFF0000 : block == 1 ? 0xFF00FF00 : 0xFF2040C0;
        }
    return px;
}

// A two-color picture that also offers its rows as 1-bit indexes.
class TwoColorSource : public PictureSource {
public:
    TwoColorSource(int w, int h) : m_w(w), m_h(h) {}
    int width() const override { return m_w; }
    int height() const override { return m_h; }
    bool on(int x, int y) const { return (x * 7 + y * 3) % 5 < 2; }
    void row(int y, std::uint32_t* out) override
    {
        for (int x = 0; x < m_w; ++x) out[x] = on(x, y) ? 0xFF000000 : 0xFFFFFFFF;
    }
    int indexedDepth() const override { return 1; }
    std::vector<std::uint32_t> indexedPalette() const override { return {0xFFFFFFFF, 0xFF000000}; }
    void indexedRow(int y, std::uint8_t* packed) override
    {
        for (int i = 0; i < (m_w + 7) / 8; ++i) packed[i] = 0;
        for (int x = 0; x < m_w; ++x)
            if (on(x, y)) packed[x / 8] |= std::uint8_t(0x80 >> (x % 8));
    }

private:
    int m_w, m_h;
};

bool readTiff(const std::string& path, int& w, int& h, std::vector<std::uint32_t>& px)
{
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (!tif) return false;
    std::uint32_t tw = 0, th = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &tw);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &th);
    std::vector<std::uint32_t> rgba(std::size_t(tw) * th);
    const bool ok = TIFFReadRGBAImageOriented(tif, tw, th, rgba.data(), ORIENTATION_TOPLEFT, 0) == 1;
    TIFFClose(tif);
    w = int(tw);
    h = int(th);
    px.resize(rgba.size());
    for (std::size_t i = 0; i < rgba.size(); ++i) // ABGR -> ARGB
        px[i] = 0xFF000000 | (TIFFGetR(rgba[i]) << 16) | (TIFFGetG(rgba[i]) << 8) | TIFFGetB(rgba[i]);
    return ok;
}

} // namespace

TEST(PictureWriter, FormatFromExtension)
{
    EXPECT_EQ(PictureFormatForPath("a/b.PNG"), PictureFormat::Png);
    EXPECT_EQ(PictureFormatForPath("x.tif"), PictureFormat::Tiff);
    EXPECT_EQ(PictureFormatForPath("x.TIFF"), PictureFormat::Tiff);
    EXPECT_EQ(PictureFormatForPath("x.jpeg"), PictureFormat::Jpeg);
    EXPECT_EQ(PictureFormatForPath("x.Jpg"), PictureFormat::Jpeg);
    EXPECT_EQ(PictureFormatForPath("x.bmp"), PictureFormat::Bmp);
    EXPECT_EQ(PictureFormatForPath("dir.png/file"), PictureFormat::Unknown);
    EXPECT_EQ(PictureFormatForPath("x.gif"), PictureFormat::Unknown);
}

TEST(PictureWriter, PngAndTiffKeepEveryPixel)
{
    TempDir tmp;
    const int w = 37, h = 23;
    const std::vector<std::uint32_t> px = testPixels(w, h);
    BufferSource src(px.data(), w, h, w);
    std::string err;
    ASSERT_TRUE(WritePicture(tmp.file("a.png"), src, err)) << err;
    ASSERT_TRUE(WritePicture(tmp.file("a.tif"), src, err)) << err;
    int rw = 0, rh = 0;
    std::vector<std::uint32_t> back;
    ASSERT_TRUE(readPng(tmp.file("a.png"), rw, rh, back));
    EXPECT_EQ(rw, w);
    EXPECT_EQ(rh, h);
    EXPECT_EQ(back, px);
    ASSERT_TRUE(readTiff(tmp.file("a.tif"), rw, rh, back));
    EXPECT_EQ(rw, w);
    EXPECT_EQ(back, px);
}

TEST(PictureWriter, IndexedRowsAreStoredAsTheyCome)
{
    TempDir tmp;
    for (int w : {1, 8, 13, 64, 100}) {
        TwoColorSource src(w, 9);
        std::vector<std::uint32_t> want(std::size_t(w) * 9);
        for (int y = 0; y < 9; ++y) src.row(y, &want[std::size_t(y) * w]);
        std::string err;
        ASSERT_TRUE(WritePicture(tmp.file("b.png"), src, err)) << err;
        ASSERT_TRUE(WritePicture(tmp.file("b.tiff"), src, err)) << err;
        int rw = 0, rh = 0;
        std::vector<std::uint32_t> back;
        ASSERT_TRUE(readPng(tmp.file("b.png"), rw, rh, back));
        EXPECT_EQ(back, want) << w;
        ASSERT_TRUE(readTiff(tmp.file("b.tiff"), rw, rh, back));
        EXPECT_EQ(back, want) << w;
    }
}

TEST(PictureWriter, BmpIsBottomUpBgrWithPaddedRows)
{
    TempDir tmp;
    const int w = 5, h = 3; // 15 bytes a row, padded to 16
    const std::vector<std::uint32_t> px = testPixels(w, h);
    BufferSource src(px.data(), w, h, w);
    std::string err;
    ASSERT_TRUE(WritePicture(tmp.file("c.bmp"), src, err)) << err;
    const std::vector<std::uint8_t> f = readAll(tmp.file("c.bmp"));
    ASSERT_EQ(f.size(), 54u + 16 * 3);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[28], 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = &f[54 + (h - 1 - y) * 16 + 3 * x];
            const std::uint32_t c = 0xFF000000 | (p[2] << 16) | (p[1] << 8) | p[0];
            EXPECT_EQ(c, px[y * w + x]);
        }
}

TEST(PictureWriter, JpegDecodesToNearlyTheSameColors)
{
    TempDir tmp;
    const int w = 64, h = 48;
    std::vector<std::uint32_t> px(std::size_t(w) * h, 0xFF3060A0);
    BufferSource src(px.data(), w, h, w);
    std::string err;
    ASSERT_TRUE(WritePicture(tmp.file("d.jpg"), src, err)) << err;

    std::FILE* f = std::fopen(tmp.file("d.jpg").c_str(), "rb");
    ASSERT_NE(f, nullptr);
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, f);
    jpeg_read_header(&cinfo, TRUE);
    jpeg_start_decompress(&cinfo);
    EXPECT_EQ(int(cinfo.output_width), w);
    EXPECT_EQ(int(cinfo.output_height), h);
    std::vector<JSAMPLE> line(cinfo.output_width * cinfo.output_components);
    JSAMPROW rows[1] = {line.data()};
    jpeg_read_scanlines(&cinfo, rows, 1);
    EXPECT_NEAR(line[0], 0x30, 4);
    EXPECT_NEAR(line[1], 0x60, 4);
    EXPECT_NEAR(line[2], 0xA0, 4);
    while (cinfo.output_scanline < cinfo.output_height) jpeg_read_scanlines(&cinfo, rows, 1);
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(f);
}

// A picture that only claims a size: a writer must refuse before asking for rows.
class ClaimOnly : public PictureSource {
public:
    ClaimOnly(int w, int h) : m_w(w), m_h(h) {}
    int width() const override { return m_w; }
    int height() const override { return m_h; }
    void row(int, std::uint32_t*) override { ADD_FAILURE() << "row asked for"; }

private:
    int m_w, m_h;
};

TEST(PictureWriter, FailuresAreReportedNeverPrinted)
{
    TempDir tmp;
    std::string err;
    ClaimOnly huge(1 << 25, 2);
    for (const char* name : {"h.png", "h.tif", "h.jpg", "h.bmp"}) {
        err.clear();
        EXPECT_FALSE(WritePicture(tmp.file(name), huge, err));
        EXPECT_NE(err.find("too large"), std::string::npos) << err;
        EXPECT_FALSE(fs::exists(tmp.file(name)));
    }
    ClaimOnly wideJpeg(70000, 2), empty(0, 5), tallBmp(40000, 40000);
    EXPECT_FALSE(WritePicture(tmp.file("w.jpg"), wideJpeg, err));
    EXPECT_FALSE(WritePicture(tmp.file("w.png"), empty, err));
    EXPECT_FALSE(WritePicture(tmp.file("w.bmp"), tallBmp, err)); // over 4 GiB
    EXPECT_NE(err.find("BMP"), std::string::npos);

    const std::vector<std::uint32_t> px = testPixels(4, 4);
    BufferSource src(px.data(), 4, 4, 4);
    for (const char* name : {"no/such/dir/x.png", "no/such/dir/x.tif", "no/such/dir/x.jpg", "no/such/dir/x.bmp"}) {
        err.clear();
        EXPECT_FALSE(WritePicture(tmp.file(name), src, err)) << name;
        EXPECT_NE(err.find("Unable to write"), std::string::npos) << err;
    }
    EXPECT_FALSE(WritePicture(tmp.file("x.gif"), src, err));
    EXPECT_NE(err.find("Unknown picture type"), std::string::npos);
}

TEST(PictureWriter, FullDiskIsAFailure)
{
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const std::vector<std::uint32_t> px = testPixels(300, 300);
    BufferSource src(px.data(), 300, 300, 300);
    for (PictureFormat fmt : {PictureFormat::Png, PictureFormat::Bmp, PictureFormat::Jpeg, PictureFormat::Tiff}) {
        std::string err;
        EXPECT_FALSE(WritePicture("/dev/full", src, err, fmt)) << int(fmt);
        EXPECT_FALSE(err.empty());
    }
}
