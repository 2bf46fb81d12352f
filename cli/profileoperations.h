#pragma once

// The apply operations of profile drafting and network drafting: they read a
// second draft (the weave structure) or take --options, and make new drafts.
#include "cli/applytypes.h"

namespace qbcli {

Outcome BlockSubstituteOperation(Context& c);
Outcome ScaleLineOperation(Context& c);
Outcome NetworkOperation(Context& c);
Outcome RibbonTemplateOperation(Context& c);

} // namespace qbcli
