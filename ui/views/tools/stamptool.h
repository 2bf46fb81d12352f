#pragma once

#include "ui/views/tools/panetool.h"

#include <optional>

namespace qb {

// The stamp: carries a copy of the pane's last selection of threads, shows
// it centred on the pointer, and a click pastes it there as one step; then
// the pencil is back.
class CStampTool : public CPaneToolBase {
public:
    using CPaneToolBase::CPaneToolBase;
    bool press(const ToolPress& p, bool& drag) override;

    // Copies threads first..last of row 0 (the selection tool's hand-over).
    void keep(int first, int last);
    // The copy follows the pointer; false when there is nothing to show.
    bool hover(QPoint viewportPos);

private:
    void stampAt(int thread);
    // The first thread the copy covers when centred on `thread`, kept inside the grid.
    int firstAt(int thread) const;

    std::optional<ThreadCopy> m_copy;
};

} // namespace qb
