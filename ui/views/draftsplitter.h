#pragma once

#include <QWidget>

class QSplitter;

namespace qb {

// The 2 x 2 arrangement of a draft window. It keeps two sizes: the height of
// the row holding threading and tieup, and the width of the column holding
// tieup and treadling. Sizes asked for by the program never take more than
// half the window, so the cloth always has the larger share; sizes the
// weaver drags stay as dragged when the window is resized.
class CDraftSplitter : public QWidget {
    Q_OBJECT
public:
    // drawnUp: the drawdown's row is the upper one.
    CDraftSplitter(bool drawnUp, QWidget* parent = nullptr);

    void setPanes(QWidget* threading, QWidget* tieup, QWidget* drawdown, QWidget* treadling);
    // Puts the drawdown's row above (drawn up) or below the threading's,
    // keeping the threading row's height.
    void setDrawnUp(bool drawnUp);
    int threadingRowHeight() const;
    int treadleColumnWidth() const;
    void setSizes(int rowHeight, int columnWidth);
    int handleWidth() const;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void syncRows(QSplitter* from);
    void apply();
    void stretchDrawdownRow();

    bool m_drawnUp;
    QSplitter* m_vertical = nullptr;
    QSplitter* m_rowOf[2] = {nullptr, nullptr}; // [0] threading's row, [1] drawdown's row
    bool m_syncing = false;
    bool m_applying = false;
    int m_wantRow = 0;
    int m_wantColumn = 0;
    bool m_rowDragged = false;
    bool m_columnDragged = false;
};

} // namespace qb
