#pragma once

#include "ui/views/tools/panetoolbase.h"

namespace qb {

// The pickup: a click on a color bar gives that thread's color to the
// clicking button, then the previous tool comes back.
class CPickupTool : public CPaneToolBase {
public:
    using CPaneToolBase::CPaneToolBase;
    bool press(const ToolPress& p, bool& drag) override;
};

} // namespace qb
