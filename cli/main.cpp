// quillaby-cli: the headless face of the draft core.
#include "cli/applycommand.h"
#include "cli/draftjson.h"
#include "cli/draftload.h"
#include "cli/floatscommand.h"
#include "cli/fromimagecommand.h"
#include "cli/plancommand.h"
#include "cli/printcommand.h"
#include "cli/rendercommand.h"
#include "cli/thumbnailcommand.h"
#include "cli/weavecommand.h"
#include "cli/yarnscommand.h"

#include "core/draft/drawdown.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/heddlecount.h"
#include "core/wif/wifreader.h"
#include "core/wif/wifwriter.h"

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kOk = 0;
constexpr int kFileError = 1;
constexpr int kUsage = 2;

struct Command {
    const char* name;
    const char* args;
    const char* help;
    int (*run)(const std::vector<std::string>& files, bool liftplan, bool back);
    int files;
    bool takesBack;
};

bool load(const std::string& path, qb::CQuillabyDoc& doc, bool liftplan)
{
    return LoadDraftForCli(path, doc, liftplan);
}

std::string oneLine(const std::string& s)
{
    std::string out;
    for (char c : s)
        if (c == '\n') out += ' ';
        else if (c != '\r') out += c;
    return out;
}

int runInfo(const std::vector<std::string>& files, bool liftplan, bool)
{
    qb::CQuillabyDoc doc;
    if (!load(files[0], doc, liftplan)) return kFileError;
    std::cout << "shafts:   " << doc.numShafts() << '\n'
              << "treadles: " << doc.numTreadles() << '\n'
              << "form:     " << (doc.isLiftplan() ? "liftplan" : "tieup and treadling") << '\n'
              << "shed:     " << (doc.isRisingShed() ? "rising" : "sinking") << '\n'
              << "ends:     " << doc.numEnds() << '\n'
              << "picks:    " << doc.numPicks() << '\n'
              << "warps:    " << doc.numWarps() << '\n'
              << "wefts:    " << doc.numWefts() << '\n'
              << "colors:   " << doc.palette().count() << '\n'
              << "title:    " << oneLine(doc.title()) << '\n';
    return kOk;
}

int runDump(const std::vector<std::string>& files, bool liftplan, bool)
{
    qb::CQuillabyDoc doc;
    if (!load(files[0], doc, liftplan)) return kFileError;
    // Texts are bytes from the file: invalid UTF-8 is replaced, not fatal.
    std::cout << DraftToJson(doc).dump(1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    return kOk;
}

int runDrawdown(const std::vector<std::string>& files, bool liftplan, bool back)
{
    qb::CQuillabyDoc doc;
    if (!load(files[0], doc, liftplan)) return kFileError;
    const qb::DrawdownRows rows(doc, back);
    std::string line(static_cast<std::size_t>(rows.ends()), ' ');
    for (int p = 0; p < rows.picks(); ++p) {
        const auto row = rows.row(p);
        for (int e = 0; e < rows.ends(); ++e) {
            const std::uint64_t bit = std::uint64_t(1) << (e % 64);
            const std::size_t w = static_cast<std::size_t>(e / 64);
            line[static_cast<std::size_t>(e)] = (row.blank[w] & bit) ? ' ' : (row.warpUp[w] & bit) ? 'X' : '.';
        }
        std::cout << line << '\n';
    }
    return kOk;
}

int runHeddles(const std::vector<std::string>& files, bool liftplan, bool)
{
    qb::CQuillabyDoc doc;
    if (!load(files[0], doc, liftplan)) return kFileError;
    std::cout << qb::HeddleCountText(doc);
    return kOk;
}

bool draftExtension(const std::string& path)
{
    if (path.size() < 4) return false;
    std::string ext = path.substr(path.size() - 4);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".wif" || ext == ".qlb";
}

int runConvert(const std::vector<std::string>& files, bool liftplan, bool)
{
    if (!draftExtension(files[1])) {
        std::cerr << "quillaby-cli: convert: OUT must end in .wif or .qlb\n";
        return kUsage;
    }
    qb::CQuillabyDoc doc;
    if (!load(files[0], doc, liftplan)) return kFileError;
    std::string error;
    if (!qb::WriteWifFile(doc, files[1], &error)) {
        std::cerr << "quillaby-cli: cannot write " << error << '\n';
        return kFileError;
    }
    return kOk;
}

const Command kCommands[] = {
    {"info", "FILE",
     "Print a short summary of a draft: shafts, treadles, form, shed, ends, picks,\n"
     "warps, wefts, colors and title.",
     runInfo, 1, false},
    {"dump", "FILE", "Print the draft as JSON.", runDump, 1, false},
    {"drawdown", "FILE [--back]",
     "Print the black-and-white drawdown, one line per pick (pick 1 first), one\n"
     "character per end: X warp on top, . weft on top, blank for nothing.\n"
     "--back shows the back of the cloth.",
     runDrawdown, 1, true},
    {"convert", "IN OUT", "Read IN and write it to OUT (.wif or .qlb).", runConvert, 2, false},
    {"heddles", "FILE",
     "Print the heddles each shaft needs, counted over every warp, one line per\n"
     "shaft: the shaft number, a colon, a tab and the count right-aligned in 6.",
     runHeddles, 1, false},
};

constexpr const char* kLiftplanHelp = "--liftplan loads the liftplan of a file that holds both a liftplan and a\n"
                                      "treadling (the treadling and tieup are loaded otherwise).\n";

void usage(std::ostream& out)
{
    out << "usage: quillaby-cli COMMAND [ARGS]\n\ncommands:\n";
    for (const Command& c : kCommands) out << "  " << c.name << ' ' << c.args << " [--liftplan]\n";
    out << "  floats FILE --min K [--face-only] [--liftplan] [--count]\n";
    out << "  render FILE -o OUT [--mode color|warp|weft] [--back] [--interlace] [--cell N] [--whole]\n";
    out << "  thumbnail FILE OUT SIZE [--liftplan]\n";
    out << "  print FILE -o OUT.pdf [--fit] [--scale N] [--mode color|warp|weft] [--interlace]\n"
           "        [--frame draft|threading|treadling|dobby|tieup|fabric|back] [--dpi N]\n";
    out << "  apply IN OUT OPERATION [ARGS] [--liftplan] [--yes]   (apply --list names the operations)\n";
    out << "  from-image PICTURE OUT [--grid NxM] [--grey] [--brightness B] [--contrast C] [--rotate DEG]\n"
           "             [--crop X,Y,W,H]\n";
    out << "  weave FILE --head NAME --port DEVICE [--shafts N] [--start-pick P] [--picks K]\n";
    out << "  plan FILE [--json] [--metric|--english]\n";
    out << "  density QUANTITY yd|m WEIGHT lb|oz|kg|g\n";
    out << "  yarns FILE [--json]\n";
    out << "\nquillaby-cli COMMAND --help describes a command.\n"
           "Exit status: 0 success, 1 a file cannot be read or written, 2 bad usage.\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        usage(std::cerr);
        return kUsage;
    }
    const std::string name = argv[1];
    if (name == "apply") return RunApply(argc - 2, argv + 2);
    if (name == "weave") return RunWeaveCommand(argc - 2, argv + 2);
    if (name == "--help" || name == "-h" || name == "help") {
        usage(std::cout);
        return kOk;
    }
    if (name == "render") return RunRenderCommand(argc - 2, argv + 2);
    if (name == "thumbnail") return RunThumbnailCommand(argc - 2, argv + 2);
    if (name == "print") return RunPrintCommand(argc - 2, argv + 2);
    if (name == "plan") return RunPlanCommand(argc - 2, argv + 2);
    if (name == "density") return RunDensityCommand(argc - 2, argv + 2);
    if (name == "yarns") return RunYarnsCommand(argc - 2, argv + 2);
    if (name == "from-image") return RunFromImageCommand(argc - 2, argv + 2);
    if (name == "floats") return RunFloatsCommand(argc - 2, argv + 2);
    const Command* cmd = nullptr;
    for (const Command& c : kCommands)
        if (name == c.name) cmd = &c;
    if (!cmd) {
        std::cerr << "quillaby-cli: unknown command '" << name << "'\n";
        usage(std::cerr);
        return kUsage;
    }
    std::vector<std::string> files;
    bool liftplan = false, back = false;
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::cout << "usage: quillaby-cli " << cmd->name << ' ' << cmd->args << " [--liftplan]\n\n"
                      << cmd->help << '\n'
                      << kLiftplanHelp;
            return kOk;
        }
        if (a == "--liftplan") liftplan = true;
        else if (a == "--back" && cmd->takesBack) back = true;
        else if (a.size() > 1 && a[0] == '-') {
            std::cerr << "quillaby-cli: " << cmd->name << ": unknown option '" << a << "'\n";
            return kUsage;
        } else files.push_back(a);
    }
    if (static_cast<int>(files.size()) != cmd->files) {
        std::cerr << "usage: quillaby-cli " << cmd->name << ' ' << cmd->args << " [--liftplan]\n";
        return kUsage;
    }
    return cmd->run(files, liftplan, back);
}
