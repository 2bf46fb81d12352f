// quillaby-cli floats FILE --min K [--face-only] [--liftplan] [--count]
#include "cli/floatscommand.h"

#include "cli/draftload.h"

#include "core/draft/quillabydoc.h"
#include "core/transform/floatsearch.h"

#include <charconv>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

constexpr int kOk = 0;
constexpr int kFileError = 1;
constexpr int kUsage = 2;

constexpr const char* kUsageLine = "usage: quillaby-cli floats FILE --min K [--face-only] [--liftplan] [--count]\n";

constexpr const char* kHelp = "List every float of FILE at least max(K, 2) threads long, as the drawdown shows\n"
                              "it (X warp on the face, . weft on the face): warp floats by end and first pick,\n"
                              "then weft floats by pick and first end, one per line,\n"
                              "\n"
                              "  warp end E face|back picks A-B length L\n"
                              "  weft pick P face|back ends A-B length L\n"
                              "\n"
                              "numbers 1-based, A-B inclusive, then\n"
                              "\n"
                              "  floats: N warp ends, M weft picks\n"
                              "\n"
                              "(the ends and picks with at least one float). Blank cells (an unthreaded end)\n"
                              "end a warp float and are skipped along a pick; runs never wrap around.\n"
                              "\n"
                              "  --face-only   floats on the face only\n"
                              "  --count       only the last line\n"
                              "  --liftplan    load the liftplan of a file that holds both forms\n"
                              "\n"
                              "Exit status: 0 success, 1 the file cannot be read, 2 bad usage.\n";

int usageError(const std::string& why)
{
    std::cerr << "quillaby-cli: floats: " << why << '\n' << kUsageLine;
    return kUsage;
}

} // namespace

int RunFloatsCommand(int argc, char** argv)
{
    std::string file;
    qb::FloatCriteria criteria;
    bool minGiven = false, liftplan = false, countOnly = false;
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::cout << kUsageLine << '\n' << kHelp;
            return kOk;
        }
        if (a == "--min") {
            if (i + 1 >= argc) return usageError("--min needs a number");
            const std::string v = argv[++i];
            const auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), criteria.threshold);
            if (ec != std::errc() || p != v.data() + v.size() || criteria.threshold < 0)
                return usageError("--min needs a number of threads, not '" + v + "'");
            minGiven = true;
        } else if (a == "--face-only") {
            criteria.faceOnly = true;
        } else if (a == "--liftplan") {
            liftplan = true;
        } else if (a == "--count") {
            countOnly = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return usageError("unknown option '" + a + "'");
        } else if (file.empty()) {
            file = a;
        } else {
            return usageError("one FILE only");
        }
    }
    if (file.empty() || !minGiven) return usageError(file.empty() ? "FILE missing" : "--min K missing");

    qb::CQuillabyDoc doc;
    if (!LoadDraftForCli(file, doc, liftplan)) return kFileError;
    int ends = 0, picks = 0;
    if (countOnly) {
        const qb::FloatThreads t = qb::FindFloatThreads(doc, criteria);
        ends = t.endCount;
        picks = t.pickCount;
    } else {
        std::string out;
        int lastEnd = -1, lastPick = -1;
        char line[96];
        for (const qb::FloatRun& r : qb::ListFloats(doc, criteria)) {
            const bool warp = r.direction == qb::FloatDirection::Warp;
            std::snprintf(line, sizeof line,
                          warp ? "warp end %d %s picks %d-%d length %d\n" : "weft pick %d %s ends %d-%d length %d\n",
                          r.thread + 1, r.face ? "face" : "back", r.first + 1, r.last + 1, r.length);
            out += line;
            int& last = warp ? lastEnd : lastPick;
            if (r.thread != last) ++(warp ? ends : picks);
            last = r.thread;
        }
        std::fwrite(out.data(), 1, out.size(), stdout);
    }
    std::printf("floats: %d warp ends, %d weft picks\n", ends, picks);
    return kOk;
}
