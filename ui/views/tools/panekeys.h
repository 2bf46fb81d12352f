#pragma once

#include "ui/views/tools/panetoolbase.h"

class QKeyEvent;
class QPainter;

namespace qb {

class CPaneTool;

// The keyboard in a grid pane: shaft or treadle numbers typed onto the
// current thread, symbols typed under user-defined notation, thick threads,
// inserting and deleting, moving the current thread, Esc.
class CPaneKeys {
public:
    explicit CPaneKeys(CPaneTool& host) : m_host(host) {}

    // True when the key was used.
    bool keyPress(QKeyEvent* e);

    // Whether typed characters become the threads' symbols.
    bool typing() const { return m_typing; }
    void startTyping(int thread);
    void stopTyping() { m_typing = false; }
    // A double-click on a thread pane: starts typing symbols (user-defined
    // notation) or edits the label under the pointer.
    bool doubleClick(const PaneHit& hit);

    // The current cell: the thread typed keys go to (-1 none) and its shaft
    // or treadle row (1-based), which the arrows move across the values.
    int current() const { return m_current; }
    void setCurrent(int t) { m_current = t; }
    int currentValue() const { return m_value; }
    // A press on a thread makes it the current one (and its cell the current cell).
    void pressedAt(const PaneHit& hit);
    // Outlines the current thread and cell (content coordinates).
    void paintCurrent(QPainter& p) const;

private:
    bool handleKey(QKeyEvent* e);
    bool typeKey(QKeyEvent* e);
    bool typeSymbol(QKeyEvent* e);
    void advanceCurrent();
    // The arrows, Page Up/Down, Home and End; false for other keys.
    bool moveKey(QKeyEvent* e);
    // Threads the pane shows at once (at least one).
    int threadsPerWindow() const;
    // Scrolls so that the current cell shows.
    void showCurrent();

    CPaneTool& m_host;
    bool m_typing = false;
    int m_current = -1;
    int m_value = 1;
};

} // namespace qb
