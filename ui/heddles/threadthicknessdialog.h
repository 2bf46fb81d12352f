#pragma once

#include "core/transform/thicknesspattern.h"

#include <QDialog>
#include <QWidget>

namespace qb {

class IMainWindow;

// The 16 cells of a thickness pattern: a dot for a thin entry, a filled cell
// for a thick one, nothing past the pattern's end. Left click toggles, right
// click removes an entry (Shift swaps the buttons); a drag repeats the action
// on every cell it enters.
class CThicknessWnd : public QWidget {
    Q_OBJECT
public:
    CThicknessWnd(ThicknessPattern& pattern, QWidget* parent = nullptr);
    int cellSize() const { return m_cell; }
    // The cell under a point of the widget, -1 outside.
    int cellAt(QPoint p) const;
    QRect cellRect(int cell) const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void act(int cell);

    ThicknessPattern& m_pattern;
    int m_cell;
    bool m_toggling = false; // the held button's action
    int m_last = -1;         // the cell the drag acted on last; -1 when no drag
};

// "Thread Thickness": edits a copy of the pattern; OK keeps it.
class CThreadThicknessDialog : public QDialog {
    Q_OBJECT
public:
    CThreadThicknessDialog(const ThicknessPattern& initial, QWidget* parent = nullptr);
    const ThicknessPattern& pattern() const { return m_pattern; }
    CThicknessWnd* grid() const { return m_grid; }

private:
    ThicknessPattern m_pattern;
    CThicknessWnd* m_grid;
};

// "Thic&kness..." on the Threading (warp) or Treadling menu: the dialog with
// the last pattern confirmed, then the pattern repeated over the draft's
// threads as one undo step. False when the draft did not change.
bool RunThreadThickness(IMainWindow* main, bool warp);

} // namespace qb
