#pragma once

#include "ui/views/tools/panetoolbase.h"

namespace qb {

// The paint bucket: a click on a color bar makes the clicking button the
// current one and fills the row the modifier keys choose with the fill
// pattern.
class CBucketTool : public CPaneToolBase {
public:
    using CPaneToolBase::CPaneToolBase;
    bool press(const ToolPress& p, bool& drag) override;
};

} // namespace qb
