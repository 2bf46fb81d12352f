// quillaby-cli thumbnail FILE OUT SIZE [--liftplan]
#include "cli/thumbnailcommand.h"

#include "cli/draftload.h"

#include "core/draft/quillabydoc.h"
#include "core/graphic/draftthumbnail.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kOk = 0;
constexpr int kFileError = 1;
constexpr int kUsage = 2;
// Desktops ask for 128, 256 and 512; anything above would only be a render.
constexpr int kLargestSide = 4096;

constexpr const char* kUsageLine = "usage: quillaby-cli thumbnail FILE OUT SIZE [--liftplan]\n";

constexpr const char* kHelp = "Write a PNG of FILE's drawdown in color to OUT (whatever OUT's extension),\n"
                              "no wider and no taller than SIZE pixels (1 to 4096): the whole cloth when\n"
                              "it fits, else its corner with end 1 and pick 1. This is the command the\n"
                              "desktop's thumbnailer runs.\n"
                              "\n"
                              "  --liftplan     load the liftplan of a file that holds both forms\n"
                              "\n"
                              "Exit status: 0 success, 1 a file cannot be read or written, 2 bad usage.\n";

int usageError(const std::string& why)
{
    std::cerr << "quillaby-cli: thumbnail: " << why << '\n' << kUsageLine;
    return kUsage;
}

} // namespace

int RunThumbnailCommand(int argc, char** argv)
{
    std::vector<std::string> words;
    bool liftplan = false;
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::cout << kUsageLine << '\n' << kHelp;
            return kOk;
        }
        if (a == "--liftplan") liftplan = true;
        else if (a.size() > 1 && a[0] == '-') return usageError("unknown option '" + a + "'");
        else words.push_back(a);
    }
    if (words.size() != 3) return usageError("FILE, OUT and SIZE are needed");
    int size = 0;
    std::size_t used = 0;
    try {
        size = std::stoi(words[2], &used);
    } catch (...) {
        used = 0;
    }
    if (used == 0 || used != words[2].size() || size < 1 || size > kLargestSide)
        return usageError("SIZE takes a number of pixels from 1 to 4096");

    qb::CQuillabyDoc doc;
    if (!LoadDraftForCli(words[0], doc, liftplan)) return kFileError;
    std::string error;
    if (!qb::WriteDraftThumbnail(doc, words[1], size, error)) {
        std::cerr << "quillaby-cli: " << error << '\n';
        return kFileError;
    }
    return kOk;
}
