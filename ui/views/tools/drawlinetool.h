#pragma once

#include "ui/views/tools/panetoolbase.h"

#include "core/draft/linetool.h"

#include <optional>

namespace qb {

// The line tool: from the pressed cell the line follows the pointer thread
// by thread, each step's shaft (treadle) given by the line kind. Shift
// clears instead of setting; a cell outside the loom stops the line.
class CDrawLineTool : public CPaneToolBase {
public:
    using CPaneToolBase::CPaneToolBase;
    bool press(const ToolPress& p, bool& drag) override;
    void cellAt(const PaneHit& hit, QPoint pos, Qt::KeyboardModifiers mods) override;
    void dragEnded() override { m_line.reset(); }

private:
    void lineTo(int thread);

    std::optional<LineStepper> m_line;
    int m_row = 0;
    bool m_erase = false;
    int m_anchor = -1;
    bool m_stopped = false;
};

} // namespace qb
