#pragma once

#include "core/yarn/plancalc.h"

#include <string>
#include <string_view>
#include <vector>

namespace qb {

class CQuillabyDoc;

// The plan's figures as the plan window shows them: lengths and widths to
// one decimal, quantities up to whole units, weights up to whole units, with
// the unit words next to them.
struct ShownPlan {
    MeasureSystem system = MeasureSystem::English;
    std::string smallUnit;  // "in", "cm"
    std::string lengthUnit; // the unit of the total and warp lengths
    double itemWidth = 0, itemLength = 0;
    int itemsOnWeft = 1, itemsOnWarp = 1;
    double betweenItemsWeft = 0, betweenItemsWarp = 0;
    double totalWidth = 0, drawIn = 0, widthInReed = 0;
    unsigned shrinkageWidth = 0;
    double totalLength = 0, warpLength = 0;
    unsigned takeUp = 0, shrinkageLength = 0, loomWaste = 0, sample = 0;

    struct Side {
        std::string yarn;
        unsigned sett = 0; // the sett of the warp, the beat of the weft
        std::uint32_t density = 0;
        long long threads = 0; // ends or picks
        long long quantity = 0;
        std::string quantityUnit;
        double weight = 0;
        std::string weightUnit;
    };
    Side warp, weft;
};

ShownPlan ShowPlan(const PlanInputs& in, const PlanResults& r);

// The plan as the window prints it, top to bottom. Rules end a block; inside
// a block column 0 entries stack on the left and column 1 entries on the
// right. Text entries are "Caption:\tvalue".
struct PlanLine {
    enum class Kind { Text, Rule, ShortRule, Picture };
    Kind kind = Kind::Text;
    int column = 0;
    std::string text;
};

std::vector<PlanLine> PlanLayout(const ShownPlan& plan, std::string_view description, std::string_view notes);

// The layout as plain text, one entry per line ("\n" line ends; rules as
// dashes; the picture left out).
std::string PlanText(const std::vector<PlanLine>& layout);

// The draft's plan in the current system, as the plan window computes it.
ShownPlan ShowDraftPlan(const CQuillabyDoc& doc, MeasureSystem shown);
std::string DraftPlanText(const CQuillabyDoc& doc, MeasureSystem shown);

} // namespace qb
