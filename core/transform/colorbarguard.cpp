#include "core/transform/colorbarguard.h"

#include "core/draft/quillabydoc.h"
#include "core/transform/messages.h"

namespace qb {

bool ColorBarGuard(CQuillabyDoc& doc, bool warp, IPrompter& prompter)
{
    if (doc.activeCorrelation() != (warp ? 1 : 2)) return true;
    if (!prompter.ask(msg::kColorBars)) return false;
    doc.raw().setCorrelation(doc.correlationSide(), false);
    return true;
}

} // namespace qb
