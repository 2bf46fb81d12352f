#include "cli/yarnscommand.h"

#include "core/yarn/yarndoc.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <string>

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

constexpr const char* kUsageText = "usage: quillaby-cli yarns FILE [--json]\n";
constexpr const char* kHelp = "Lists the yarns of a yarn database, a text file (.txt) or an archive (.yrn), in\n"
                              "file order: one line per yarn with size, fiber, density, shrinkage, sett and\n"
                              "notes separated by tabs, under a heading line. The density is the number as\n"
                              "entered: yards per pound or metres per kilogram by the editor's measurement\n"
                              "system.\n"
                              "  --json   an array of objects with size, fiber, density, shrinkage, sett, notes\n"
                              "Exit status: 0 success, 1 the file cannot be read, 2 bad usage.\n";

// Tabs and line breaks inside a field would break the columns.
std::string cell(const std::string& s)
{
    std::string out;
    for (char c : s) out += c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
    return out;
}

} // namespace

int RunYarnsCommand(int argc, char** argv)
{
    std::string file;
    bool json = false;
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::cout << kUsageText << '\n' << kHelp;
            return kOk;
        }
        if (a == "--json") {
            json = true;
        } else if (a.size() > 1 && a[0] == '-') {
            std::cerr << "quillaby-cli: yarns: unknown option '" << a << "'\n" << kUsageText;
            return kUsage;
        } else if (file.empty()) {
            file = a;
        } else {
            std::cerr << kUsageText;
            return kUsage;
        }
    }
    if (file.empty()) {
        std::cerr << kUsageText;
        return kUsage;
    }
    qb::CYarnDoc doc;
    const qb::YarnFileResult r = doc.Open(file);
    if (!r.ok) {
        std::cerr << "quillaby-cli: " << r.message << '\n';
        return kFailed;
    }
    if (!r.message.empty()) std::cerr << "quillaby-cli: " << r.message << '\n';
    if (json) {
        auto a = nlohmann::json::array();
        for (int i = 0; i < doc.count(); ++i) {
            const qb::CYarn& y = doc.yarn(i);
            a.push_back({{"size", y.size()},
                         {"fiber", y.fiber()},
                         {"density", y.density()},
                         {"shrinkage", y.shrinkage()},
                         {"sett", y.sett()},
                         {"notes", y.notes()}});
        }
        // Texts are bytes from the file: invalid UTF-8 is replaced, not fatal.
        std::cout << a.dump(1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
        return kOk;
    }
    std::cout << "Size\tFiber\tDensity\tShrinkage\tSett\tNotes\n";
    for (int i = 0; i < doc.count(); ++i) {
        const qb::CYarn& y = doc.yarn(i);
        std::cout << cell(y.size()) << '\t' << cell(y.fiber()) << '\t' << y.density() << '\t' << y.shrinkage() << "%\t"
                  << y.sett() << '\t' << cell(y.notes()) << '\n';
    }
    return kOk;
}
