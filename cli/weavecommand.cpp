#include "cli/weavecommand.h"

#include "cli/draftload.h"

#include "core/dobby/dobbyprotocol.h"
#include "core/dobby/headlessweave.h"
#include "core/draft/quillabydoc.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

std::atomic<bool> g_interrupted{false};

void onSignal(int)
{
    g_interrupted = true;
}

constexpr const char* kUsageText =
    "usage: quillaby-cli weave FILE --head NAME --port DEVICE [--shafts N] [--start-pick P] [--picks K]\n";

constexpr const char* kHelp =
    "Weaves FILE on a dobby loom without windows: connects to the head on DEVICE,\n"
    "follows the loom's pick requests and prints one line per pick sent to the loom\n"
    "(\"pick P: shafts a,b,c\"). Ctrl+C, or K picks woven, ends the run with the\n"
    "head's release sent.\n"
    "  --head NAME      avl2, avl3, louet, leclerc1, leclerc2 (or the head's full name)\n"
    "  --port DEVICE    the serial device, e.g. /dev/ttyUSB0\n"
    "  --shafts N       shafts on the loom, 1..40 (default: the draft's)\n"
    "  --start-pick P   first pick to weave, 1-based (default: where the draft's run stands)\n"
    "  --picks K        stop after K picks (default: until Ctrl+C)\n"
    "If the loom reports a time-out, press Enter to continue.\n"
    "Exit status: 0 success, 1 the file, the port or the line failed, 2 bad usage.\n";

bool number(const std::string& text, int lo, int hi, int& out)
{
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    out = std::atoi(text.c_str());
    return out >= lo && out <= hi;
}

} // namespace

int RunWeaveCommand(int argc, char** argv)
{
    std::string file, head, port;
    qb::HeadlessWeaveOptions o;
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        const auto value = [&]() -> std::string { return hasValue ? argv[++i] : std::string(); };
        if (a == "--help" || a == "-h") {
            std::cout << kUsageText << '\n' << kHelp;
            return kOk;
        } else if (a == "--head" && hasValue) {
            head = value();
        } else if (a == "--port" && hasValue) {
            port = value();
        } else if (a == "--shafts" && hasValue) {
            if (!number(value(), 1, qb::kDobbyMaxShafts, o.shafts)) {
                std::cerr << "quillaby-cli: weave: --shafts takes 1 to " << qb::kDobbyMaxShafts << '\n';
                return kUsage;
            }
        } else if (a == "--start-pick" && hasValue) {
            if (!number(value(), 1, 32768, o.startPick)) {
                std::cerr << "quillaby-cli: weave: --start-pick takes a pick from 1\n";
                return kUsage;
            }
        } else if (a == "--picks" && hasValue) {
            if (!number(value(), 1, 100000000, o.picks)) {
                std::cerr << "quillaby-cli: weave: --picks takes a count from 1\n";
                return kUsage;
            }
        } else if (a.size() > 1 && a[0] == '-') {
            std::cerr << "quillaby-cli: weave: unknown option or missing value '" << a << "'\n" << kUsageText;
            return kUsage;
        } else if (file.empty()) {
            file = a;
        } else {
            std::cerr << kUsageText;
            return kUsage;
        }
    }
    if (file.empty() || head.empty() || port.empty()) {
        std::cerr << kUsageText;
        return kUsage;
    }
    qb::DobbyHeadType type;
    if (!qb::DobbyHeadFromName(head, type)) {
        std::cerr << "quillaby-cli: weave: unknown head '" << head << "' (avl2, avl3, louet, leclerc1, leclerc2)\n";
        return kUsage;
    }
    o.headIndex = static_cast<int>(type);
    o.device = port;

    qb::CQuillabyDoc doc;
    if (!LoadDraftForCli(file, doc, false)) return kFailed;

    // Ctrl+C ends the run cleanly: the loop sees the flag and sends the release.
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    o.interrupted = &g_interrupted;
    if (::isatty(STDIN_FILENO)) o.continueFd = STDIN_FILENO;

    return qb::RunHeadlessWeave(doc, o, std::cout, std::cerr) == 0 ? kOk : kFailed;
}
