#include "cli/printcommand.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

int RunPrintCommand(int argc, char** argv)
{
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path helper = (ec ? std::filesystem::path() : self.parent_path()) / "quillaby-cli-print";
    std::vector<char*> args;
    std::string program = helper.string();
    args.push_back(program.data());
    for (int i = 0; i < argc; ++i) args.push_back(argv[i]);
    args.push_back(nullptr);
    execv(program.c_str(), args.data());
    // Only reached when the program could not be started.
    std::cerr << "quillaby-cli: print: cannot run " << program << ": " << std::strerror(errno)
              << " (printing is built with the editor's QtGui)\n";
    return 1;
}
