#pragma once

#include "ui/views/tools/panetoolbase.h"

namespace qb {

// The zoom: a left click shrinks the cells one step, a right click enlarges
// them (Shift the other way round); the clicked cell stays under the pointer.
class CZoomTool : public CPaneToolBase {
public:
    using CPaneToolBase::CPaneToolBase;
    bool press(const ToolPress& p, bool& drag) override;
};

} // namespace qb
