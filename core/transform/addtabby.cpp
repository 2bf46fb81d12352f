#include "core/transform/addtabby.h"

#include "core/draft/draftstep.h"
#include "core/transform/colorbarguard.h"
#include "core/transform/messages.h"
#include "core/transform/sequencetools.h"

#include <algorithm>

namespace qb {

int TabbyColorIndex(CQuillabyDoc& doc, COLORREF color, bool& changed)
{
    changed = false;
    ColorPalette& pal = doc.raw().paletteMutable();
    if (const int i = pal.find(color); i >= 0) return i;
    if (pal.count() < kMaxColors) {
        changed = true;
        return pal.add(color, false);
    }
    std::vector<bool> used(256, false);
    for (int r = 0; r < doc.numWarps(); ++r)
        for (int i = 0; i < doc.numEnds(); ++i) used[doc.threading(r)->GetColor(i)] = true;
    for (int r = 0; r < doc.numWefts(); ++r)
        for (int i = 0; i < doc.numPicks(); ++i) used[doc.treadling(r)->GetColor(i)] = true;
    for (int i = 2; i < pal.count(); ++i)
        if (!used[i]) {
            pal.setColor(i, color);
            pal.setName(i, ColorPalette::defaultName(i));
            changed = true;
            return i;
        }
    return 0;
}

CommandResult AddTabby(Edit e, CQuillabyDoc& doc, const AddTabbyOptions& o, IPrompter& prompter)
{
    const int g = std::clamp(o.groundTreadles, 2, 64);
    if (doc.isLiftplan() || doc.multipleTreadles())
        return CommandResult::refused(prompter, msg::needsTieupForm("Add Tabby"));
    if (doc.numWefts() != 1) return CommandResult::refused(prompter, msg::needsOneWeft("Add Tabby"));
    const int t0 = doc.numTreadles();
    const int t1 = o.addTreadles ? t0 + g : t0;
    if (t1 > kMaxTreadles) return CommandResult::refused(prompter, msg::tabbyTreadles(t1));
    // A tabby treadle beyond the count could not be set: its picks would be empty.
    if (g > t1) return CommandResult::refused(prompter, msg::tabbyGround(g, t1));
    const int picks = doc.numPicks();
    if (2 * picks > kMaxThreads) return CommandResult::refused(prompter, msg::picksRequired(2 * picks));

    DraftStep step(e, doc);
    if (!ColorBarGuard(doc, false, prompter)) return CommandResult::declined();
    if (o.addTreadles) {
        doc.SetNumTreadles(kUnrecorded, t1);
        Tieup& tu = doc.raw().tieupMutable();
        tu.clearColumns(t0, g);
        Renumbering map = IdentityRenumbering(t1);
        for (int i = 0; i < t1; ++i) map[i] = (i + g) % t1;
        RenumberTreadles(doc, map);
    }
    bool paletteChanged = false;
    const int color = TabbyColorIndex(doc, o.tabbyColor, paletteChanged);

    const Treadling& old = *doc.treadling(0);
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(2 * picks));
    for (int k = 0; k < picks; ++k) {
        order.push_back(k);
        order.push_back(k);
    }
    auto t = Gather(old, order);
    for (int k = 0; k < picks; ++k) {
        TreadleSet tabby;
        tabby.set(k % g + 1);
        t->SetSet(2 * k, tabby);
        t->SetColor(2 * k, color);
        t->SetSymbol(2 * k, 0);
        t->SetThick(2 * k, false);
    }
    t->setDefaultColor(old.defaultColor());
    for (int lr = 0; lr < kLabelRows; ++lr)
        for (Label l : old.labelRow(lr)) {
            l.start *= 2;
            l.length *= 2;
            t->AddLabel(l);
        }
    doc.raw().replaceTreadling(0, std::move(t));
    step.commit();
    CommandResult r = CommandResult::doneResult();
    return r;
}

} // namespace qb
