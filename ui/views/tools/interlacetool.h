#pragma once

#include "ui/views/tools/panetoolbase.h"

#include <QPointer>

namespace qb {

class CInterlacePopup;

// The warp and weft interlacement tools: a press in the drawdown opens the
// popup of the end (or pick) under the pointer, which follows the drag and
// closes with it. One object serves both, so a pane has one popup at most.
class CInterlaceTool : public CPaneToolBase {
public:
    using CPaneToolBase::CPaneToolBase;
    ~CInterlaceTool() override;
    bool press(const ToolPress& p, bool& drag) override;
    void cellAt(const PaneHit& hit, QPoint pos, Qt::KeyboardModifiers mods) override;
    void stop() override;
    bool popupOpen() const { return !m_popup.isNull(); }

private:
    // The end or pick of the popup under a hit; -1 when there is none.
    int threadAt(const PaneHit& hit) const;

    bool m_warp = true;
    QPointer<CInterlacePopup> m_popup;
};

} // namespace qb
