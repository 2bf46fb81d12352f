#include "cli/profileoperations.h"

#include "core/transform/blocksubstitution.h"
#include "core/transform/networkplot.h"
#include "core/transform/networkscale.h"
#include "core/transform/networksettings.h"
#include "core/transform/ribbontemplate.h"
#include "core/wif/wifreader.h"

#include <charconv>
#include <map>

namespace qbcli {

namespace {

struct OptionRule {
    const char* name;
    bool takesValue;
    int lo;
    int hi;
};

struct ParsedArgs {
    std::vector<std::string> positional;
    std::map<std::string, int> values; // flags read as 1
};

bool parseNumber(const std::string& s, int lo, int hi, int& out)
{
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && p == s.data() + s.size() && out >= lo && out <= hi;
}

// False (with the reason printed) for an unknown option or a bad value.
bool parseArgs(const std::string& op, const std::vector<std::string>& args, std::initializer_list<OptionRule> known,
               ParsedArgs& out)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() < 2 || a.compare(0, 2, "--") != 0) {
            out.positional.push_back(a);
            continue;
        }
        const OptionRule* rule = nullptr;
        for (const OptionRule& s : known)
            if (a == s.name) rule = &s;
        if (!rule) {
            std::cerr << "quillaby-cli: apply " << op << ": unknown option '" << a << "'\n";
            return false;
        }
        int v = 1;
        if (rule->takesValue && (i + 1 >= args.size() || !parseNumber(args[++i], rule->lo, rule->hi, v))) {
            std::cerr << "quillaby-cli: apply " << op << ": " << a << " needs a number " << rule->lo << ".." << rule->hi
                      << '\n';
            return false;
        }
        out.values[a] = v;
    }
    return true;
}

int valueOr(const ParsedArgs& a, const std::string& name, int fallback)
{
    const auto it = a.values.find(name);
    return it == a.values.end() ? fallback : it->second;
}

// The weave structure named on the command line; null (status printed) when
// it cannot be read.
std::unique_ptr<CQuillabyDoc> readStructure(const std::string& path, CliPrompter& prompter)
{
    auto doc = std::make_unique<CQuillabyDoc>();
    WifReadOptions options;
    options.liftplan = LiftplanChoice::Treadling;
    std::string error;
    if (!ReadWifFile(path, *doc, prompter, options, &error)) {
        std::cerr << "quillaby-cli: cannot read " << path << ": " << error << '\n';
        return nullptr;
    }
    return doc;
}

} // namespace

Outcome BlockSubstituteOperation(Context& c)
{
    ParsedArgs a;
    if (!parseArgs("block-substitute", c.args, {}, a) || a.positional.size() != 1) return stopWith(kUsage);
    auto structure = readStructure(a.positional[0], *c.prompter);
    if (!structure) return stopWith(kFileError);
    return newDraft(SubstituteBlocks(*c.doc, *structure, a.positional[0], *c.prompter));
}

Outcome ScaleLineOperation(Context& c)
{
    ParsedArgs a;
    if (!parseArgs("scale-line", c.args,
                   {{"--height", true, 1, 64},
                    {"--length", true, 1, 32768},
                    {"--base", true, 0, 64},
                    {"--initial-height", true, 1, 64},
                    {"--initial-width", true, 1, 64},
                    {"--telescope", false, 0, 0},
                    {"--shaft-rule", false, 0, 0}},
                   a)
        || !a.positional.empty() || !a.values.count("--height") || !a.values.count("--length")) {
        std::cerr << "usage: quillaby-cli apply LINE OUT scale-line --height NH --length L [--base B]\n"
                     "       [--initial-height H] [--initial-width W] [--telescope] [--shaft-rule]\n";
        return stopWith(kUsage);
    }
    NetworkSettings s;
    s.height = a.values["--height"];
    s.length = a.values["--length"];
    s.initialBase = valueOr(a, "--base", s.initialBase);
    s.initialHeight = valueOr(a, "--initial-height", s.initialHeight);
    s.initialWidth = valueOr(a, "--initial-width", s.initialWidth);
    s.telescope = a.values.count("--telescope") != 0;
    s.shaftRule = a.values.count("--shaft-rule") != 0;
    return newDraft(ScalePatternLine(*c.doc, s, *c.prompter));
}

Outcome NetworkOperation(Context& c)
{
    ParsedArgs a;
    if (!parseArgs("network", c.args,
                   {{"--height", true, 1, 64},
                    {"--ribbon", true, 1, kMaxRibbonWidth},
                    {"--template", false, 0, 0},
                    {"--no-ribbon-fill", false, 0, 0},
                    {"--background-fill", false, 0, 0}},
                   a)
        || a.positional.size() != 1 || !a.values.count("--height")) {
        std::cerr << "usage: quillaby-cli apply LINE OUT network STRUCTURE --height NH [--ribbon W] [--template]\n"
                     "       [--no-ribbon-fill] [--background-fill]\n";
        return stopWith(kUsage);
    }
    auto structure = readStructure(a.positional[0], *c.prompter);
    if (!structure) return stopWith(kFileError);
    NetworkSettings s;
    s.structurePath = a.positional[0];
    s.height = a.values["--height"];
    s.ribbonWidth = valueOr(a, "--ribbon", s.ribbonWidth);
    s.useRibbonTemplate = a.values.count("--template") != 0;
    s.fillRibbon = a.values.count("--no-ribbon-fill") == 0;
    s.fillBackground = a.values.count("--background-fill") != 0;
    return newDraft(PlotOntoNetwork(*c.doc, *structure, s.structurePath, s, *c.prompter));
}

Outcome RibbonTemplateOperation(Context& c)
{
    int w = 0;
    if (c.args.size() != 1 || !parseNumber(c.args[0], kMinRibbonTemplateWidth, kMaxRibbonWidth, w)) {
        std::cerr << "usage: quillaby-cli apply IN OUT ribbon-template W (W 2..128)\n";
        return stopWith(kUsage);
    }
    return inPlace(RibbonTemplate(*c.doc, w, *c.prompter));
}

} // namespace qbcli
