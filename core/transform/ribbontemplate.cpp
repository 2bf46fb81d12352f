#include "core/transform/ribbontemplate.h"

#include "core/draft/draftsnapshot.h"
#include "core/draft/draftstep.h"
#include "core/draft/limits.h"
#include "core/draft/quillabydoc.h"
#include "core/transform/colorbarguard.h"
#include "core/transform/messages.h"
#include "core/transform/networksettings.h"

namespace qb {

CommandResult RibbonTemplate(Edit e, CQuillabyDoc& doc, int width, IPrompter& prompter)
{
    if (width < kMinRibbonTemplateWidth || width > kMaxRibbonWidth) return CommandResult::noChange();
    // The notation is a setting: its switch is part of the step.
    DraftStep step(e, doc, DraftSnapshot::Structure | DraftSnapshot::Settings);
    if (!ColorBarGuard(doc, false, prompter)) return CommandResult::declined();
    if (!doc.multipleTreadles() && doc.notations().treadling == 5) {
        if (!prompter.ask(msg::kMultipleNotation)) return CommandResult::declined();
        doc.raw().notations.treadling = 0;
        doc.raw().notations.treadlingSymbols = false;
    }
    for (int r = 0; r < doc.numWefts(); ++r) {
        Treadling& tr = *doc.raw().treadlingMutable(r);
        tr.setMultiple(true);
        const int count = tr.limit();
        if (count < 1) continue;
        for (int p = 0; p < tr.GetCount(); ++p) {
            TreadleSet set = tr.GetSet(p);
            if (set.empty()) continue;
            const int y = set.lowest() - 1;
            for (int k = 1; k < width; ++k) set.set((y + k) % count + 1);
            tr.SetSet(p, set);
        }
    }
    doc.raw().notations.treadlingSymbols = false;
    step.commit();
    return CommandResult::doneResult();
}

} // namespace qb
