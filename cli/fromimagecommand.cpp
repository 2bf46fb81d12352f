// quillaby-cli from-image PICTURE OUT [--grid NxM] [--grey] [--brightness B] [--contrast C] [--rotate DEG]
//                                      [--crop X,Y,W,H]
#include "cli/fromimagecommand.h"

#include "core/draft/quillabydoc.h"
#include "core/imagedraft/picturedraft.h"
#include "core/picture/picturereader.h"
#include "core/wif/wifwriter.h"

#include <charconv>
#include <cmath>
#include <iostream>
#include <string>
#include <vector>

namespace {

using namespace qb;

constexpr int kOk = 0;
constexpr int kFileError = 1;
constexpr int kUsage = 2;
constexpr int kRefused = 3;

constexpr const char* kUsageLine =
    "usage: quillaby-cli from-image PICTURE OUT [--grid NxM] [--grey] [--brightness B] [--contrast C] "
    "[--rotate DEG] [--crop X,Y,W,H]\n";

constexpr const char* kHelp = "Turn PICTURE (.bmp, .jpg/.jpeg, .tif/.tiff or .png) into a new draft written to\n"
                              "OUT (.wif or .qlb). A grid of N squares across and M down is laid over the\n"
                              "picture; the draft has N ends and M picks, and its drawdown lifts the warp over\n"
                              "every square that holds dark pixels. End 1 is the rightmost column of squares,\n"
                              "pick 1 the top row. A draft needing more than 63 shafts or 127 treadles stops\n"
                              "there; the squares after that stay weft.\n"
                              "\n"
                              "  --grid NxM         N squares across, M down, each from 2 to 32768\n"
                              "                     (default: one square per pixel)\n"
                              "  --crop X,Y,W,H     first keep only this rectangle of the picture (pixels,\n"
                              "                     0,0 the top-left pixel)\n"
                              "  --rotate DEG       then turn it DEG degrees clockwise (the canvas grows; new\n"
                              "                     corners are white)\n"
                              "  --grey             then make it grey\n"
                              "  --brightness B     then add B (-255..255) to every color channel\n"
                              "  --contrast C       and stretch the channels by C percent (-100..100)\n"
                              "\n"
                              "Exit status: 0 written, 1 a file cannot be read or written (nothing is\n"
                              "written), 2 bad usage, 3 refused (the message says why; nothing is written).\n";

int usageError(const std::string& why)
{
    std::cerr << "quillaby-cli: from-image: " << why << '\n' << kUsageLine;
    return kUsage;
}

bool integer(const std::string& s, int lo, int hi, int& out)
{
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && p == s.data() + s.size() && out >= lo && out <= hi;
}

// Numbers separated by `sep`, each checked by `integer`.
bool integers(const std::string& s, char sep, std::size_t count, int lo, int hi, std::vector<int>& out)
{
    out.clear();
    std::size_t start = 0;
    while (true) {
        const std::size_t at = s.find(sep, start);
        int v = 0;
        if (!integer(s.substr(start, at == std::string::npos ? std::string::npos : at - start), lo, hi, v))
            return false;
        out.push_back(v);
        if (at == std::string::npos) break;
        start = at + 1;
    }
    return out.size() == count;
}

class CliPrompter final : public IPrompter {
public:
    bool ask(const std::string& q) override
    {
        std::cerr << "quillaby-cli: " << q << " (answered Yes)\n";
        return true;
    }
    void tell(const std::string& text) override { std::cerr << "quillaby-cli: " << text << '\n'; }
};

bool draftExtension(const std::string& path)
{
    if (path.size() < 4) return false;
    std::string ext = path.substr(path.size() - 4);
    for (char& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return ext == ".wif" || ext == ".qlb";
}

} // namespace

int RunFromImageCommand(int argc, char** argv)
{
    std::vector<std::string> files;
    GridSquares grid{0, 0};
    bool grey = false, crop = false, rotate = false;
    int brightness = 0, contrast = 0;
    double degrees = 0;
    PixelRect cropRect;
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        std::string v;
        auto value = [&] {
            if (i + 1 >= argc) return false;
            v = argv[++i];
            return true;
        };
        std::vector<int> n;
        if (a == "--help" || a == "-h") {
            std::cout << kUsageLine << '\n' << kHelp;
            return kOk;
        } else if (a == "--grid") {
            if (!value() || !(integers(v, 'x', 2, 1, kMaxThreads, n) || integers(v, 'X', 2, 1, kMaxThreads, n)))
                return usageError("--grid takes NxM, two numbers from 1 to 32768");
            grid = {n[0], n[1]};
        } else if (a == "--grey" || a == "--gray") {
            grey = true;
        } else if (a == "--brightness") {
            if (!value() || !integer(v, -kMaxBrightness, kMaxBrightness, brightness))
                return usageError("--brightness takes a number from -255 to 255");
        } else if (a == "--contrast") {
            if (!value() || !integer(v, -kMaxContrast, kMaxContrast, contrast))
                return usageError("--contrast takes a number from -100 to 100");
        } else if (a == "--rotate") {
            std::size_t used = 0;
            try {
                if (value()) degrees = std::stod(v, &used);
            } catch (...) {
                used = 0;
            }
            if (v.empty() || used != v.size() || !std::isfinite(degrees))
                return usageError("--rotate takes an angle in degrees");
            rotate = true;
        } else if (a == "--crop") {
            if (!value() || !integers(v, ',', 4, -(1 << 30), 1 << 30, n) || n[2] < 0 || n[3] < 0)
                return usageError("--crop takes X,Y,W,H in pixels (W and H not negative)");
            cropRect = {n[0], n[1], n[2], n[3]};
            crop = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return usageError("unknown option '" + a + "'");
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2) return usageError(files.size() < 2 ? "PICTURE and OUT are needed" : "too many files");
    if (!draftExtension(files[1])) return usageError("OUT must end in .wif or .qlb");

    RgbPicture picture;
    std::string error;
    if (!ReadPictureFile(files[0], picture, error)) {
        std::cerr << "quillaby-cli: " << error << '\n';
        return kFileError;
    }
    auto refused = [](const std::string& why) {
        std::cerr << "quillaby-cli: " << why << '\n';
        return kRefused;
    };
    if (crop && !CropPicture(picture, cropRect, picture, error)) return refused(error);
    if (rotate && !RotatePicture(picture, degrees, picture, error)) return refused(error);
    if (grey) MakeGreyScale(picture);
    if (brightness || contrast) ApplyLight(picture, brightness, contrast);
    if (grid.across == 0) grid = {picture.width, picture.height};

    CliPrompter prompter;
    NewDraftDefaults defaults;
    defaults.defaultColors = {0x000000};
    PictureDraft made = GenerateDraft(picture, grid, defaults, prompter);
    if (!made.made.draft) return kRefused;
    if (made.full)
        std::cerr << "quillaby-cli: from-image: the draft reached 63 shafts or 127 treadles; the dark squares "
                     "after that were left out\n";
    if (!WriteWifFile(*made.made.draft, files[1], &error)) {
        std::cerr << "quillaby-cli: cannot write " << error << '\n';
        return kFileError;
    }
    return kOk;
}
