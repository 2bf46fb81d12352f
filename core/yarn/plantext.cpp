#include "core/yarn/plantext.h"

#include "core/yarn/projectplan.h"

#include "core/draft/quillabydoc.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qb {

namespace {

// Without the C library's locale: the editor runs in the user's, whose
// decimal mark may be a comma. A value that rounds to nothing shows no sign.
std::string oneDecimal(double v)
{
    if (!std::isfinite(v)) v = 0.0;
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 1);
    std::string s(buf, r.ptr);
    if (s == "-0.0") s = "0.0";
    return s;
}

// The value as "%.1f" shows it.
double toTenth(double v)
{
    const std::string s = oneDecimal(v);
    double t = 0.0;
    std::from_chars(s.data(), s.data() + s.size(), t);
    return t;
}

unsigned wholeOf(double v)
{
    return v > 0 ? static_cast<unsigned>(std::min(std::round(v), 4294967295.0)) : 0u;
}

unsigned percentOf(int v)
{
    return v > 0 ? static_cast<unsigned>(v) : 0u;
}

ShownPlan::Side sideOf(const std::string& yarn, double sett, std::uint32_t density, long long threads,
                       const YarnAmount& a, int quantityUnit, int weightUnit)
{
    ShownPlan::Side s;
    s.yarn = yarn;
    s.sett = ShownSett(sett);
    s.density = density;
    s.threads = threads;
    s.quantity = ShownQuantity(a, quantityUnit);
    s.quantityUnit = QuantityWord(quantityUnit);
    s.weight = toTenth(ShownWeight(a, weightUnit));
    s.weightUnit = WeightWord(weightUnit);
    return s;
}

std::vector<std::string_view> linesOf(std::string_view text)
{
    std::vector<std::string_view> out;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view l = text.substr(pos, end - pos);
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        out.push_back(l);
        pos = end + 1;
    }
    while (!out.empty() && out.back().empty()) out.pop_back();
    return out;
}

class Layout {
public:
    void text(int column, std::string t) { m_lines.push_back({PlanLine::Kind::Text, column, std::move(t)}); }
    void entry(int column, std::string_view caption, const std::string& value, std::string_view unit = {})
    {
        std::string t = std::string(caption) + "\t" + value;
        if (!unit.empty()) t += " " + std::string(unit);
        text(column, std::move(t));
    }
    void rule() { m_lines.push_back({PlanLine::Kind::Rule, 0, {}}); }
    void shortRule(int column) { m_lines.push_back({PlanLine::Kind::ShortRule, column, {}}); }
    void picture() { m_lines.push_back({PlanLine::Kind::Picture, 1, {}}); }
    std::vector<PlanLine> take() { return std::move(m_lines); }

private:
    std::vector<PlanLine> m_lines;
};

void textBlock(Layout& out, std::string_view caption, std::string_view body)
{
    out.text(0, std::string(caption));
    for (std::string_view l : linesOf(body)) out.text(0, std::string(l));
}

void sideBlock(Layout& out, const ShownPlan::Side& s, std::string_view yarnCaption, std::string_view settCaption,
               std::string_view settWord, std::string_view countCaption, MeasureSystem system)
{
    out.entry(0, yarnCaption, s.yarn);
    out.entry(0, settCaption, std::to_string(s.sett), settWord);
    out.entry(1, "Density:", std::to_string(s.density), DensityWord(system));
    out.entry(0, countCaption, std::to_string(s.threads));
    out.entry(1, "Quantity:", std::to_string(s.quantity), s.quantityUnit);
    out.entry(1, "Weight:", oneDecimal(s.weight), s.weightUnit);
    out.rule();
}

} // namespace

ShownPlan ShowPlan(const PlanInputs& in, const PlanResults& r)
{
    ShownPlan s;
    s.system = in.system;
    s.smallUnit = SmallLengthWord(in.system);
    const int lengthUnit = in.lengthUnit == 1 ? 1 : 0;
    s.lengthUnit = lengthUnit == 1 ? LargeLengthWord(in.system) : SmallLengthWord(in.system);
    s.itemWidth = toTenth(in.itemWidth);
    s.itemLength = toTenth(in.itemLength);
    s.itemsOnWeft = in.itemsOnWeft;
    s.itemsOnWarp = in.itemsOnWarp;
    s.betweenItemsWeft = toTenth(in.betweenItemsWeft);
    s.betweenItemsWarp = toTenth(in.betweenItemsWarp);
    s.totalWidth = toTenth(r.finished.totalWidth);
    s.drawIn = toTenth(in.drawIn);
    s.shrinkageWidth = percentOf(in.shrinkageWidth);
    s.widthInReed = toTenth(r.woven.widthInReed);
    s.totalLength = toTenth(r.totalLengthIn(lengthUnit));
    s.takeUp = percentOf(in.takeUp);
    s.shrinkageLength = percentOf(in.shrinkageLength);
    s.loomWaste = wholeOf(in.loomWaste);
    s.sample = wholeOf(in.sample);
    s.warpLength = toTenth(r.warpLengthIn(lengthUnit));
    s.warp = sideOf(in.warpYarn, in.sett, in.warpDensity, r.ends, r.warp, in.warpQuantityUnit, in.warpWeightUnit);
    s.weft = sideOf(in.weftYarn, in.beat, in.weftDensity, r.picks, r.weft, in.weftQuantityUnit, in.weftWeightUnit);
    return s;
}

std::vector<PlanLine> PlanLayout(const ShownPlan& p, std::string_view description, std::string_view notes)
{
    Layout out;
    if (!linesOf(description).empty()) {
        textBlock(out, "Description:", description);
        out.rule();
    }
    const std::string& in = p.smallUnit;
    out.entry(0, "Item Width:", oneDecimal(p.itemWidth), in);
    out.entry(1, "Item Length:", oneDecimal(p.itemLength), in);
    out.entry(0, "Items on Weft:", std::to_string(p.itemsOnWeft));
    out.entry(1, "Items on Warp:", std::to_string(p.itemsOnWarp));
    out.entry(0, "Between items:", oneDecimal(p.betweenItemsWeft), in);
    out.entry(1, "Between items:", oneDecimal(p.betweenItemsWarp), in);
    out.rule();

    out.entry(0, "Total width:", oneDecimal(p.totalWidth), in);
    out.entry(0, "Draw-in:", oneDecimal(p.drawIn), in);
    out.entry(0, "Shrinkage:", std::to_string(p.shrinkageWidth), "%");
    out.shortRule(0);
    out.entry(0, "Width in reed:", oneDecimal(p.widthInReed), in);
    out.entry(1, "Total length:", oneDecimal(p.totalLength), p.lengthUnit);
    out.entry(1, "Take-up:", std::to_string(p.takeUp), "%");
    out.entry(1, "Shrinkage:", std::to_string(p.shrinkageLength), "%");
    out.entry(1, "Loom Waste:", std::to_string(p.loomWaste), in);
    out.entry(1, "Sample:", std::to_string(p.sample), in);
    out.shortRule(1);
    out.entry(1, "Warp length:", oneDecimal(p.warpLength), p.lengthUnit);
    out.picture();
    out.rule();

    sideBlock(out, p.warp, "Warp yarn:", "Sett:", SettWord(p.system), "Number of ends:", p.system);
    sideBlock(out, p.weft, "Weft yarn:", "Beat:", BeatWord(p.system), "Number of picks:", p.system);

    if (!linesOf(notes).empty()) textBlock(out, "Notes:", notes);
    return out.take();
}

std::string PlanText(const std::vector<PlanLine>& layout)
{
    std::string out;
    for (const PlanLine& l : layout) {
        switch (l.kind) {
        case PlanLine::Kind::Text: out += l.text + "\n"; break;
        case PlanLine::Kind::Rule: out += std::string(40, '-') + "\n"; break;
        case PlanLine::Kind::ShortRule: out += std::string(20, '-') + "\n"; break;
        case PlanLine::Kind::Picture: break;
        }
    }
    return out;
}

ShownPlan ShowDraftPlan(const CQuillabyDoc& doc, MeasureSystem shown)
{
    const PlanInputs in = PlanInputsOf(doc, shown);
    return ShowPlan(in, ComputePlan(in, WarpRounding::AfterWeight));
}

std::string DraftPlanText(const CQuillabyDoc& doc, MeasureSystem shown)
{
    return PlanText(PlanLayout(ShowDraftPlan(doc, shown), doc.title(), doc.notes()));
}

} // namespace qb
