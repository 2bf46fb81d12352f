// Profile and network drafting: block substitution, scaling a pattern line,
// plotting it onto a network, and the ribbon template.
#include "core/draft/quillabydoc.h"
#include "core/transform/blocksubstitution.h"
#include "core/transform/commandargs.h"
#include "core/transform/commandentries.h"
#include "core/transform/networkplot.h"
#include "core/transform/networkscale.h"
#include "core/transform/networksettings.h"
#include "core/transform/ribbontemplate.h"

namespace qb {

namespace {

using Id = DraftCommandId;
using Doc = CQuillabyDoc;
using Args = const CommandArgs&;

CommandOutcome blockSubstitute(Edit, Doc& doc, Args a, IPrompter& p)
{
    const auto structure = ReadStructureDraft(a[0], p);
    if (!structure) return UnreadableFile();
    return CommandOutcome::newDraft(SubstituteBlocks(doc, *structure, a[0], p));
}

CommandOutcome scaleLine(Edit, Doc& doc, Args a, IPrompter& p)
{
    constexpr const char* name = "scale-line";
    ParsedOptions o;
    std::string problem;
    if (!ParseOptionArgs(a,
                         {{"--height", true, 1, 64},
                          {"--length", true, 1, 32768},
                          {"--base", true, 0, 64},
                          {"--initial-height", true, 1, 64},
                          {"--initial-width", true, 1, 64},
                          {"--telescope", false, 0, 0},
                          {"--shaft-rule", false, 0, 0}},
                         o, problem))
        return BadArgs(p, name, problem);
    if (!o.positional.empty()) return BadArgs(p, name, "unknown argument " + o.positional[0]);
    if (!o.has("--height") || !o.has("--length")) return BadArgs(p, name, "--height and --length are needed");
    NetworkSettings s;
    s.height = o.valueOr("--height", s.height);
    s.length = o.valueOr("--length", s.length);
    s.initialBase = o.valueOr("--base", s.initialBase);
    s.initialHeight = o.valueOr("--initial-height", s.initialHeight);
    s.initialWidth = o.valueOr("--initial-width", s.initialWidth);
    s.telescope = o.has("--telescope");
    s.shaftRule = o.has("--shaft-rule");
    return CommandOutcome::newDraft(ScalePatternLine(doc, s, p));
}

CommandOutcome network(Edit, Doc& doc, Args a, IPrompter& p)
{
    constexpr const char* name = "network";
    ParsedOptions o;
    std::string problem;
    if (!ParseOptionArgs(a,
                         {{"--height", true, 1, 64},
                          {"--ribbon", true, 1, kMaxRibbonWidth},
                          {"--template", false, 0, 0},
                          {"--no-ribbon-fill", false, 0, 0},
                          {"--background-fill", false, 0, 0}},
                         o, problem))
        return BadArgs(p, name, problem);
    if (o.positional.size() != 1) return BadArgs(p, name, "one STRUCTURE is needed");
    if (!o.has("--height")) return BadArgs(p, name, "--height is needed");
    const auto structure = ReadStructureDraft(o.positional[0], p);
    if (!structure) return UnreadableFile();
    NetworkSettings s;
    s.structurePath = o.positional[0];
    s.height = o.valueOr("--height", s.height);
    s.ribbonWidth = o.valueOr("--ribbon", s.ribbonWidth);
    s.useRibbonTemplate = o.has("--template");
    s.fillRibbon = !o.has("--no-ribbon-fill");
    s.fillBackground = o.has("--background-fill");
    return CommandOutcome::newDraft(PlotOntoNetwork(doc, *structure, s.structurePath, s, p));
}

CommandOutcome ribbonTemplate(Edit e, Doc& doc, Args a, IPrompter& p)
{
    int width = 0;
    if (!ParseNumberArg(a[0], kMinRibbonTemplateWidth, kMaxRibbonWidth, width))
        return BadArgs(p, "ribbon-template", "W must be 2..128");
    return CommandOutcome::inPlace(RibbonTemplate(e, doc, width, p));
}

} // namespace

std::vector<CommandEntry> ProfileCommandEntries()
{
    return {
        {Id::BlockSubstitution,
         "Block Substitution",
         "block-substitute",
         "STRUCTURE",
         "Substitute the blocks of this profile draft with the units and tieup keys of\n"
         "the weave structure STRUCTURE (Tools > Block Substitution).",
         CommandKind::NewDraft,
         1,
         1,
         {{"{structure}"}},
         blockSubstitute},
        {Id::ScalePatternLine,
         "Scale Pattern Line",
         "scale-line",
         "--height NH --length L [--base B] [--initial-height H] [--initial-width W] [--telescope] [--shaft-rule]",
         "Scale this pattern line to a network NH shafts high and L ends long\n"
         "(Tools > Scale Pattern Line); digitizes unless --telescope.",
         CommandKind::NewDraft,
         0,
         16,
         {{"--height", "16", "--length", "10"},
          {"--height", "12", "--length", "20", "--base", "2", "--initial-height", "5", "--telescope"}},
         scaleLine},
        {Id::PlotOntoNetwork,
         "Plot onto Network",
         "network",
         "STRUCTURE --height NH [--ribbon W] [--template] [--no-ribbon-fill] [--background-fill]",
         "Plot this pattern line onto a network of NH shafts built from the initial of\n"
         "the weave structure STRUCTURE, in liftplan form (Tools > Plot onto Network).",
         CommandKind::NewDraft,
         1,
         16,
         {{"{structure}", "--height", "8"}, {"{structure}", "--height", "6", "--ribbon", "3", "--background-fill"}},
         network},
        {Id::RibbonTemplate,
         "Ribbon Template",
         "ribbon-template",
         "W",
         "Widen every pick into W consecutive treadles, 2..128 (Treadling > Ribbon Template).",
         CommandKind::InPlace,
         1,
         1,
         {{"3"}},
         ribbonTemplate},
    };
}

} // namespace qb
