#include "ui/views/tools/toolstate.h"

#include <algorithm>

namespace qb {

std::string ToolName(Tool t)
{
    switch (t) {
    case Tool::Pencil: return "Pencil";
    case Tool::Line: return "Line";
    case Tool::PickupColor: return "Pickup Color";
    case Tool::PaintBucket: return "Paint Bucket";
    case Tool::PaintBrush: return "Paint Brush";
    case Tool::Selection: return "Selection";
    case Tool::Stamp: return "Stamp";
    case Tool::Move: return "Move";
    case Tool::Zoom: return "Zoom";
    case Tool::WarpInterlace: return "Warp Interlacement";
    case Tool::WeftInterlace: return "Weft Interlacement";
    }
    return "Edit";
}

CToolState& CToolState::instance()
{
    static CToolState state;
    return state;
}

void CToolState::setTool(Tool t)
{
    if (t == m_tool) return;
    m_previous = m_tool;
    m_tool = t;
    emit toolChanged(t);
}

void CToolState::setLineKind(LineKind k)
{
    m_lineKind = k;
    emit lineChanged();
}

void CToolState::setLengthIndex(int i)
{
    m_lengthIndex = std::clamp(i, 0, 6);
    emit lineChanged();
}

void CToolState::setOffsetIndex(int i)
{
    m_offsetIndex = std::clamp(i, 0, 5);
    emit lineChanged();
}

bool CToolState::selectRight(bool right)
{
    const bool was = m_rightSelected;
    m_rightSelected = right;
    if (was != right) emit buttonChanged();
    return was;
}

void CToolState::setFillPattern(int p)
{
    m_fillPattern = std::clamp(p, 0, 2);
}

} // namespace qb
