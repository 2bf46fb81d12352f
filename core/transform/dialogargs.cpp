#include "core/transform/dialogargs.h"

#include <cstdio>

namespace qb {

namespace {

std::string colorArg(COLORREF c)
{
    char hex[8];
    std::snprintf(hex, sizeof hex, "%02X%02X%02X", red(c), green(c), blue(c));
    return hex;
}

} // namespace

CommandArgs RepeatArgs(bool single, int times)
{
    return {single ? std::string("single") : std::to_string(times)};
}

CommandArgs ArrangeArgs(ArrangeKind kind)
{
    return {kind == ArrangeKind::Parallel ? "parallel" : "sequential"};
}

CommandArgs RemoveArgs(const std::vector<bool>& keep)
{
    std::string pattern;
    for (bool k : keep) pattern += k ? 'k' : 'r';
    return {pattern};
}

CommandArgs MultipleTreadlesArgs(bool on)
{
    return {on ? "on" : "off"};
}

CommandArgs AddTabbyArgs(const AddTabbyOptions& o)
{
    CommandArgs a = {std::to_string(o.groundTreadles)};
    if (o.addTreadles) a.push_back("add-treadles");
    a.push_back("color=" + colorArg(o.tabbyColor));
    return a;
}

CommandArgs LoadLiftplanArgs(const std::string& picture, bool flip)
{
    CommandArgs a = {picture};
    if (flip) a.push_back("flip");
    return a;
}

CommandArgs DoubleWidthArgs(const DoubleWidthOptions& o)
{
    CommandArgs a;
    if (o.foldRight) a.push_back("right");
    if (o.tubular) a.push_back("tubular");
    a.push_back("shuttles=" + std::to_string(o.shuttles));
    a.push_back("picks=" + std::to_string(o.picksPerUnit));
    return a;
}

CommandArgs EchoArgs(const EchoSettings& e)
{
    return {std::to_string(e.numEchos), std::to_string(e.offset)};
}

CommandArgs NumberArgs(int n)
{
    return {std::to_string(n)};
}

CommandArgs ScaleLineArgs(const NetworkSettings& s)
{
    CommandArgs a = {
        "--height",        std::to_string(s.height),      "--length",         std::to_string(s.length),
        "--base",          std::to_string(s.initialBase), "--initial-height", std::to_string(s.initialHeight),
        "--initial-width", std::to_string(s.initialWidth)};
    if (s.telescope) a.push_back("--telescope");
    if (s.shaftRule) a.push_back("--shaft-rule");
    return a;
}

CommandArgs NetworkArgs(const NetworkSettings& s)
{
    CommandArgs a = {s.structurePath, "--height", std::to_string(s.height), "--ribbon", std::to_string(s.ribbonWidth)};
    if (s.useRibbonTemplate) a.push_back("--template");
    if (!s.fillRibbon) a.push_back("--no-ribbon-fill");
    if (s.fillBackground) a.push_back("--background-fill");
    return a;
}

} // namespace qb
