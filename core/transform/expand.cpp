#include "core/transform/expand.h"

#include "core/draft/draftstep.h"
#include "core/transform/messages.h"
#include "core/transform/sequencetools.h"

namespace qb {

CommandResult ExpandThreads(Edit e, CQuillabyDoc& doc, Side side, int factor, IPrompter& prompter)
{
    const int n = ThreadCount(doc, side);
    if (factor < kMinExpandFactor || factor > kMaxExpandFactor || n == 0) return CommandResult::noChange();
    const long long total = static_cast<long long>(n) * factor;
    if (total > kMaxThreads) {
        const int t = static_cast<int>(total);
        return CommandResult::refused(prompter, side == Side::Threading ? msg::endsRequired(t) : msg::picksRequired(t));
    }
    DraftStep step(e, doc, DraftSnapshot::Structure);
    std::vector<int> from(static_cast<std::size_t>(total));
    for (int i = 0; i < static_cast<int>(total); ++i) from[i] = i / factor;
    ForEachRow(doc, side, [&](auto& t, int r) {
        auto out = Gather(t, from);
        for (int lr = 0; lr < kLabelRows; ++lr)
            for (Label l : t.labelRow(lr)) {
                l.start *= factor;
                l.length *= factor;
                out->AddLabelToRow(lr, l);
            }
        ReplaceRow(doc, r, std::move(out));
    });
    step.commit();
    return CommandResult::doneAndFit();
}

} // namespace qb
