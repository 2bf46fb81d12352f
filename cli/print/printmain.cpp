// quillaby-cli-print: the pages of a draft as a PDF file. `quillaby-cli
// print` runs this program, which needs QtGui (fonts, PDF) but no display.
#include "printing/draftpages.h"

#include "cli/draftload.h"
#include "core/draft/quillabydoc.h"

#include <QFileInfo>
#include <QGuiApplication>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

namespace {

constexpr int kOk = 0, kFileError = 1, kUsage = 2;

constexpr const char* kUsageText =
    "usage: quillaby-cli print FILE -o OUT.pdf [--fit] [--scale N] [--mode color|warp|weft] [--interlace]\n"
    "                          [--frame draft|threading|treadling|dobby|tieup|fabric|back] [--dpi N]\n"
    "                          [--liftplan]\n";

constexpr const char* kHelpText = "Writes the pages the editor prints for the draft window to a PDF file: a\n"
                                  "title line, the grid at N squares per inch (4..32, default 10) split over\n"
                                  "as many pages as it needs, and \"Page n of m\" under each page. --fit puts\n"
                                  "the whole draft on one page. --mode chooses the drawdown's coloring,\n"
                                  "--interlace draws it interlaced. --frame prints what that window shows\n"
                                  "(threading or treadling alone print in strips; dobby prints the treadling\n"
                                  "as a dobby-bar chart). --dpi is the page resolution (default 300).\n";

bool intArg(const char* s, int& out)
{
    char* end = nullptr;
    const long v = std::strtol(s, &end, 10);
    if (!*s || *end) return false;
    out = static_cast<int>(v);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // Fonts and PDF writing only: never a window.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::string file, out;
    qb::PrintOptions options;
    qb::PaperLook look;
    qb::PrintKind kind = qb::PrintKind::Draft;
    int dpi = 300;
    bool liftplan = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasNext = i + 1 < argc;
        if (a == "--help" || a == "-h") {
            std::cout << kUsageText << '\n' << kHelpText;
            return kOk;
        }
        if (a == "-o" && hasNext) out = argv[++i];
        else if (a == "--fit") options.fit = true;
        else if (a == "--interlace") options.interlace = true;
        else if (a == "--liftplan") liftplan = true;
        else if (a == "--scale" && hasNext) {
            if (!intArg(argv[++i], options.scale) || options.scale < qb::PrintOptions::kMinScale
                || options.scale > qb::PrintOptions::kMaxScale) {
                std::cerr << "quillaby-cli: print: --scale takes 4 to 32 squares per inch\n";
                return kUsage;
            }
        } else if (a == "--dpi" && hasNext) {
            if (!intArg(argv[++i], dpi) || dpi < 72 || dpi > 2400) {
                std::cerr << "quillaby-cli: print: --dpi takes 72 to 2400\n";
                return kUsage;
            }
        } else if (a == "--mode" && hasNext) {
            const std::string m = argv[++i];
            if (m == "color") options.coloring = 0;
            else if (m == "warp") options.coloring = 1;
            else if (m == "weft") options.coloring = 2;
            else {
                std::cerr << "quillaby-cli: print: --mode is color, warp or weft\n";
                return kUsage;
            }
        } else if (a == "--frame" && hasNext) {
            const std::string f = argv[++i];
            if (f == "draft") kind = qb::PrintKind::Draft;
            else if (f == "threading") kind = qb::PrintKind::Threading;
            else if (f == "treadling") kind = qb::PrintKind::Treadling;
            else if (f == "dobby") kind = qb::PrintKind::DobbyBars;
            else if (f == "tieup") kind = qb::PrintKind::Tieup;
            else if (f == "fabric") kind = qb::PrintKind::Fabric;
            else if (f == "back") {
                kind = qb::PrintKind::Fabric;
                look.back = true;
            } else {
                std::cerr << "quillaby-cli: print: unknown --frame '" << f << "'\n";
                return kUsage;
            }
        } else if (a.size() > 1 && a[0] == '-') {
            std::cerr << "quillaby-cli: print: unknown option '" << a << "'\n" << kUsageText;
            return kUsage;
        } else if (file.empty()) file = a;
        else {
            std::cerr << kUsageText;
            return kUsage;
        }
    }
    if (file.empty() || out.empty()) {
        std::cerr << kUsageText;
        return kUsage;
    }
    QGuiApplication app(argc, argv);
    qb::CQuillabyDoc doc;
    if (!LoadDraftForCli(file, doc, liftplan)) return kFileError;
    const QString title = QFileInfo(QString::fromStdString(file)).fileName();
    QString error;
    int pages = 0;
    if (!qb::WriteDraftPdf(doc, kind, options, look, title, QString::fromStdString(out), dpi, &error, &pages)) {
        std::cerr << "quillaby-cli: " << error.toStdString() << '\n';
        return kFileError;
    }
    return kOk;
}
