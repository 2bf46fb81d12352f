// loom-emulator: plays a dobby head on a pseudo-terminal so a weaving run can
// be tried without a loom.

#include "tools/loom-emulator/loomsession.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <unistd.h>

using namespace qb;
using namespace qb::loom;

namespace {

LoomSession* g_session = nullptr;

void onSignal(int)
{
    if (g_session) g_session->requestStop();
}

void usage(std::ostream& out)
{
    out << "usage: loom-emulator --head NAME [options]\n"
           "  --head NAME      avl2, avl3, louet, leclerc1 or leclerc2\n"
           "  --link PATH      also make PATH a symbolic link to the device\n"
           "  --auto           weave: answer the program, then ask for picks (the default)\n"
           "  --picks N        picks to ask for in --auto (0: until interrupted; default 0)\n"
           "  --interval MS    pause between picks in --auto (default 1000)\n"
           "  --script FILE    run script commands from FILE ('-' for standard input)\n"
           "  --log FILE       log every byte and event to FILE (default: standard error)\n"
           "  --quiet          no log\n"
           "\n"
           "Script commands, one per line ('#' starts a comment):\n"
           "  ready | ack | status | status-flag | timeout   send that reply of the head\n"
           "  pick [N]          ask for N picks, waiting for each lift\n"
           "  weave N [MS]      as --auto for N picks\n"
           "  raw HEX...        send bytes as given\n"
           "  wait KIND [MS]    wait for greeting, query, lift, pattern, push, release, test or shed\n"
           "  sleep MS          listen for MS milliseconds\n"
           "  expect-line       check the line settings the program set\n"
           "  quit\n";
}

} // namespace

int main(int argc, char** argv)
{
    DobbyHeadType head{};
    bool haveHead = false;
    std::string link, script, logPath;
    bool quiet = false;
    LoomSession::AutoOptions autoOptions;
    autoOptions.picks = 0;
    autoOptions.interval = std::chrono::milliseconds(1000);
    autoOptions.patience = std::chrono::hours(24);

    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::cerr << "loom-emulator: " << a << " needs a value\n";
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--head") {
            haveHead = DobbyHeadFromName(value(), head);
            if (!haveHead) {
                std::cerr << "loom-emulator: unknown head " << argv[i] << "\n";
                return 2;
            }
        } else if (a == "--link") link = value();
        else if (a == "--auto") script.clear();
        else if (a == "--picks") autoOptions.picks = std::stoi(value());
        else if (a == "--interval") autoOptions.interval = std::chrono::milliseconds(std::stoi(value()));
        else if (a == "--script") script = value();
        else if (a == "--log") logPath = value();
        else if (a == "--quiet") quiet = true;
        else if (a == "--help" || a == "-h") {
            usage(std::cout);
            return 0;
        } else {
            std::cerr << "loom-emulator: unknown option " << a << "\n";
            usage(std::cerr);
            return 2;
        }
    }
    if (!haveHead) {
        usage(std::cerr);
        return 2;
    }

    std::FILE* log = quiet ? nullptr : stderr;
    if (!logPath.empty() && !quiet) {
        log = std::fopen(logPath.c_str(), "a");
        if (!log) {
            std::cerr << "loom-emulator: cannot write " << logPath << ": " << std::strerror(errno) << "\n";
            return 2;
        }
    }

    PtyLoom loom(head);
    loom.setLog(log);
    if (!loom.open()) {
        std::cerr << "loom-emulator: " << loom.error() << "\n";
        return 1;
    }
    if (!link.empty()) {
        ::unlink(link.c_str());
        if (::symlink(loom.device().c_str(), link.c_str()) != 0) {
            std::cerr << "loom-emulator: cannot link " << link << ": " << std::strerror(errno) << "\n";
            return 1;
        }
    }
    std::cout << loom.device() << std::endl;

    LoomSession session(loom);
    g_session = &session;
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);

    bool ok;
    if (script.empty()) {
        ok = session.runAuto(autoOptions);
    } else if (script == "-") {
        ok = session.runScript(std::cin);
    } else {
        std::ifstream in(script);
        if (!in) {
            std::cerr << "loom-emulator: cannot read " << script << "\n";
            return 2;
        }
        ok = session.runScript(in);
    }

    loom.note("sheds opened: " + std::to_string(session.sheds().size()) + ", worst reply "
              + std::to_string(session.worstReplyMs()) + " ms");
    if (!link.empty()) ::unlink(link.c_str());
    if (log && log != stderr) std::fclose(log);
    return ok && session.problems().empty() ? 0 : 1;
}
