#pragma once

#include "core/draft/linetool.h"

#include <QObject>

#include <functional>
#include <string>

namespace qb {

// The editing tools of the tool bar (numbers as the palette knows them).
enum class Tool {
    Pencil = 202,
    Line = 203,
    PickupColor = 204,
    PaintBucket = 205,
    PaintBrush = 206,
    Selection = 207,
    Stamp = 208,
    Move = 209,
    Zoom = 210,
    WarpInterlace = 211,
    WeftInterlace = 212,
};

// The tool's name as the Edit menu names the step it makes.
std::string ToolName(Tool t);

// One tool state for the whole application: the current and previous tool,
// the line kind with the advancing line's length and offset, and which mouse
// button's color is the current one. The colors themselves are the active
// draft's (its palette remembers the left and right colors).
class CToolState : public QObject {
    Q_OBJECT
public:
    static CToolState& instance();

    Tool tool() const { return m_tool; }
    Tool previousTool() const { return m_previous; }
    void setTool(Tool t);
    // Back to the tool before the current one (after a color pick-up).
    void reselectPrevious() { setTool(m_previous); }

    LineKind lineKind() const { return m_lineKind; }
    void setLineKind(LineKind k);
    // Indexes as stored: length = index + 3 (0..6), offset = index + 1 (0..5).
    int lengthIndex() const { return m_lengthIndex; }
    int offsetIndex() const { return m_offsetIndex; }
    int lineLength() const { return m_lengthIndex + 3; }
    int lineOffset() const { return m_offsetIndex + 1; }
    void setLengthIndex(int i);
    void setOffsetIndex(int i);

    bool rightSelected() const { return m_rightSelected; }
    // Returns the previous selection so callers can put it back.
    bool selectRight(bool right);

    // Fill pattern: 0 solid, 1 alternating, 2 double alternating.
    int fillPattern() const { return m_fillPattern; }
    void setFillPattern(int p);

    // Messages and Yes/No questions of the tools go to the main window.
    using Messenger = std::function<void(const QString&)>;
    using Asker = std::function<bool(const QString&)>;
    void setMessenger(Messenger m) { m_tell = std::move(m); }
    void setAsker(Asker a) { m_ask = std::move(a); }
    void tell(const QString& text) const
    {
        if (m_tell) m_tell(text);
    }
    // A passing remark for the status bar (no box to dismiss).
    void setStatusLine(Messenger m) { m_status = std::move(m); }
    void showStatus(const QString& text) const
    {
        if (m_status) m_status(text);
    }
    bool ask(const QString& question) const { return m_ask && m_ask(question); }

signals:
    void toolChanged(Tool tool);
    void lineChanged();
    void buttonChanged();

private:
    Tool m_tool = Tool::Pencil;
    Tool m_previous = Tool::Pencil;
    LineKind m_lineKind = LineKind::Straight;
    int m_lengthIndex = 0;
    int m_offsetIndex = 0;
    bool m_rightSelected = false;
    int m_fillPattern = 0;
    Messenger m_tell;
    Messenger m_status;
    Asker m_ask;
};

} // namespace qb
