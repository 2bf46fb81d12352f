#include "cli/plancommand.h"

#include "cli/draftload.h"

#include "core/draft/quillabydoc.h"
#include "core/yarn/densitycalc.h"
#include "core/yarn/plantext.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

constexpr const char* kPlanUsage = "usage: quillaby-cli plan FILE [--json] [--metric|--english]\n";
constexpr const char* kPlanHelp = "Prints the draft's project plan as the plan window shows it: the finished and\n"
                                  "woven sizes, the ends and picks, and the quantity and weight of warp and weft.\n"
                                  "Figures are in the draft's own measurement system unless --metric or --english\n"
                                  "chooses one; sett, beat, densities and lengths are then converted.\n"
                                  "  --json   one object: totalWidth, totalLength, widthInReed, warpLength,\n"
                                  "           lengthUnit, ends, picks, warpQuantity, warpQuantityUnit, warpWeight,\n"
                                  "           warpWeightUnit, weftQuantity, weftQuantityUnit, weftWeight,\n"
                                  "           weftWeightUnit. The widths are in inches or centimetres, the two\n"
                                  "           lengths in lengthUnit.\n"
                                  "Exit status: 0 success, 1 the file cannot be read, 2 bad usage.\n";

constexpr const char* kDensityUsage = "usage: quillaby-cli density QUANTITY yd|m WEIGHT lb|oz|kg|g\n";
constexpr const char* kDensityHelp = "Prints the grist of a yarn from a measured length and its weight, in yards per\n"
                                     "pound and in metres per kilogram, as the density calculator computes them\n"
                                     "(e.g. density 840 yd 1 lb). A negative quantity counts as 0 and a weight below\n"
                                     "0.05 as 0.05.\n"
                                     "Exit status: 0 success, 2 bad usage.\n";

bool isHelp(const std::string& a)
{
    return a == "--help" || a == "-h";
}

nlohmann::ordered_json planJson(const qb::ShownPlan& p)
{
    nlohmann::ordered_json j;
    j["totalWidth"] = p.totalWidth;
    j["totalLength"] = p.totalLength;
    j["widthInReed"] = p.widthInReed;
    j["warpLength"] = p.warpLength;
    j["lengthUnit"] = p.lengthUnit;
    j["ends"] = p.warp.threads;
    j["picks"] = p.weft.threads;
    j["warpQuantity"] = p.warp.quantity;
    j["warpQuantityUnit"] = p.warp.quantityUnit;
    j["warpWeight"] = p.warp.weight;
    j["warpWeightUnit"] = p.warp.weightUnit;
    j["weftQuantity"] = p.weft.quantity;
    j["weftQuantityUnit"] = p.weft.quantityUnit;
    j["weftWeight"] = p.weft.weight;
    j["weftWeightUnit"] = p.weft.weightUnit;
    return j;
}

std::optional<double> number(const std::string& text)
{
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(v)) return std::nullopt;
    return v;
}

} // namespace

int RunPlanCommand(int argc, char** argv)
{
    std::string file;
    bool json = false;
    std::optional<qb::MeasureSystem> system;
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        if (isHelp(a)) {
            std::cout << kPlanUsage << '\n' << kPlanHelp;
            return kOk;
        }
        if (a == "--json") {
            json = true;
        } else if (a == "--metric" || a == "--english") {
            const auto s = a == "--metric" ? qb::MeasureSystem::Metric : qb::MeasureSystem::English;
            if (system && *system != s) {
                std::cerr << "quillaby-cli: plan: --metric and --english exclude each other\n";
                return kUsage;
            }
            system = s;
        } else if (a.size() > 1 && a[0] == '-') {
            std::cerr << "quillaby-cli: plan: unknown option '" << a << "'\n" << kPlanUsage;
            return kUsage;
        } else if (file.empty()) {
            file = a;
        } else {
            std::cerr << kPlanUsage;
            return kUsage;
        }
    }
    if (file.empty()) {
        std::cerr << kPlanUsage;
        return kUsage;
    }
    qb::CQuillabyDoc doc;
    if (!LoadDraftForCli(file, doc, false)) return kFailed;
    const qb::MeasureSystem shown = system.value_or(qb::MeasureSystemOf(doc.units()));
    if (json) {
        // Yarn names are bytes from the file: invalid UTF-8 is replaced.
        std::cout
            << planJson(qb::ShowDraftPlan(doc, shown)).dump(1, ' ', false, nlohmann::json::error_handler_t::replace)
            << '\n';
    } else {
        std::cout << qb::DraftPlanText(doc, shown);
    }
    return kOk;
}

int RunDensityCommand(int argc, char** argv)
{
    for (int i = 0; i < argc; ++i)
        if (isHelp(argv[i])) {
            std::cout << kDensityUsage << '\n' << kDensityHelp;
            return kOk;
        }
    if (argc != 4) {
        std::cerr << kDensityUsage;
        return kUsage;
    }
    const std::optional<double> quantity = number(argv[0]);
    const std::optional<double> weight = number(argv[2]);
    const std::string qUnit = argv[1], wUnit = argv[3];
    static const std::string kWeights[] = {"lb", "oz", "kg", "g"};
    qb::DensityInput in;
    int w = 0;
    while (w < 4 && kWeights[w] != wUnit) ++w;
    if (!quantity || !weight || (qUnit != "yd" && qUnit != "m") || w == 4) {
        std::cerr << "quillaby-cli: density: QUANTITY and WEIGHT are numbers, units yd or m and lb, oz, kg or g\n"
                  << kDensityUsage;
        return kUsage;
    }
    in.quantity = *quantity;
    in.quantityUnit = qUnit == "m" ? 1 : 0;
    in.weight = *weight;
    in.weightUnit = w;
    const qb::DensityResult r = qb::ComputeDensity(in);
    std::cout << r.yardsPerPound << " yd/lb\n" << r.metresPerKilogram << " m/kg\n";
    return kOk;
}
