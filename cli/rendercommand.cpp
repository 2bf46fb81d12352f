// quillaby-cli render FILE -o OUT [--mode color|warp|weft] [--back] [--interlace] [--cell N] [--whole]
#include "cli/rendercommand.h"

#include "cli/draftload.h"

#include "core/draft/quillabydoc.h"
#include "core/graphic/drawdownsource.h"
#include "core/graphic/wholedraftimage.h"
#include "core/picture/picturewriter.h"

#include <iostream>
#include <string>

namespace {

constexpr int kOk = 0;
constexpr int kFileError = 1;
constexpr int kUsage = 2;

constexpr const char* kUsageLine =
    "usage: quillaby-cli render FILE -o OUT [--mode color|warp|weft] [--back] [--interlace] [--cell N] [--whole] "
    "[--liftplan]\n";

constexpr const char* kHelp = "Write the drawdown of FILE as a picture to OUT; the type follows OUT's\n"
                              "extension: .png, .tif/.tiff, .jpg/.jpeg or .bmp.\n"
                              "\n"
                              "  --mode color   threads in their colors (default)\n"
                              "  --mode warp    black where the warp is on top, white elsewhere\n"
                              "  --mode weft    black where the weft is on top\n"
                              "  --back         the back of the cloth\n"
                              "  --interlace    draw the threads as interlaced bands (cells of 6 pixels or more)\n"
                              "  --cell N       pixels per cell, 1 to 100 (default 1: one pixel per end and pick;\n"
                              "                 12 with --whole)\n"
                              "  --whole        threading, tieup, treadling and drawdown together, with grid lines\n"
                              "                 (drawn for cells larger than 8 pixels)\n"
                              "  --liftplan     load the liftplan of a file that holds both forms\n"
                              "\n"
                              "End 1 is at the right and pick 1 at the top.\n"
                              "Exit status: 0 success, 1 a file cannot be read or written, 2 bad usage.\n";

int usageError(const std::string& why)
{
    std::cerr << "quillaby-cli: render: " << why << '\n' << kUsageLine;
    return kUsage;
}

} // namespace

int RunRenderCommand(int argc, char** argv)
{
    std::string in, out;
    qb::DrawdownStyle style;
    style.cellWidth = style.cellHeight = 1;
    bool whole = false, liftplan = false, cellGiven = false;
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string& v) {
            if (i + 1 >= argc) return false;
            v = argv[++i];
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") {
            std::cout << kUsageLine << '\n' << kHelp;
            return kOk;
        } else if (a == "-o" || a == "--output") {
            if (!value(out)) return usageError("-o needs a file name");
        } else if (a == "--mode") {
            if (!value(v)) return usageError("--mode needs color, warp or weft");
            if (v == "color") style.coloring = 0;
            else if (v == "warp") style.coloring = 1;
            else if (v == "weft") style.coloring = 2;
            else return usageError("unknown mode '" + v + "'");
        } else if (a == "--cell") {
            if (!value(v)) return usageError("--cell needs a number");
            std::size_t used = 0;
            int n = 0;
            try {
                n = std::stoi(v, &used);
            } catch (...) {
                used = 0;
            }
            if (used != v.size() || n < 1 || n > 100) return usageError("--cell takes a number from 1 to 100");
            style.cellWidth = style.cellHeight = n;
            cellGiven = true;
        } else if (a == "--back") {
            style.back = true;
        } else if (a == "--interlace") {
            style.interlace = true;
        } else if (a == "--whole") {
            whole = true;
        } else if (a == "--liftplan") {
            liftplan = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return usageError("unknown option '" + a + "'");
        } else if (in.empty()) {
            in = a;
        } else {
            return usageError("more than one input file");
        }
    }
    if (in.empty()) return usageError("no input file");
    if (out.empty()) return usageError("no output file (-o OUT)");
    if (qb::PictureFormatForPath(out) == qb::PictureFormat::Unknown)
        return usageError("OUT must end in .png, .tif, .tiff, .jpg, .jpeg or .bmp");

    qb::CQuillabyDoc doc;
    if (!LoadDraftForCli(in, doc, liftplan)) return kFileError;
    std::string error;

    bool ok;
    if (whole) {
        // The screen's base cell: large enough for grid lines and symbols.
        if (!cellGiven) style.cellWidth = style.cellHeight = 12;
        qb::WholeDraftStyle ws;
        ws.drawdown = style;
        qb::WholeDraftSource src(doc, ws);
        ok = qb::WritePicture(out, src, error);
    } else {
        qb::DrawdownSource src(doc, style);
        ok = qb::WritePicture(out, src, error);
    }
    if (!ok) {
        std::cerr << "quillaby-cli: " << error << '\n';
        return kFileError;
    }
    return kOk;
}
