#pragma once

// Runs the quillaby-cli binary as a shell script would, capturing its output.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace clitest {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string slurp(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline std::string quote(const std::string& s)
{
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// `args` after the program name; stdout and stderr go through files in `dir`.
inline CliResult RunCli(const std::vector<std::string>& args, const std::filesystem::path& dir)
{
    std::string cmd = quote(QUILLABY_CLI);
    for (const auto& a : args) cmd += " " + quote(a);
    cmd += " >" + quote((dir / "out").string()) + " 2>" + quote((dir / "err").string());
    CliResult r;
    const int raw = std::system(cmd.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = slurp(dir / "out");
    r.err = slurp(dir / "err");
    return r;
}

} // namespace clitest
