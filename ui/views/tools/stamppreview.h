#pragma once

#include "core/draft/tuptype.h"

#include <QRect>
#include <QWidget>

#include <vector>

namespace qb {

class CTdingGridView;

// Threads copied out of a threading or treadling (row 0): the stamp carries
// them, the move tool shows the one it holds.
struct ThreadCopy {
    std::vector<int> shafts;
    std::vector<TreadleSet> sets;
    std::vector<int> colors;
};

// The floating copy the stamp carries over the pane: the copied cells drawn
// see-through inside a dashed frame. It never takes the mouse, so clicks
// reach the pane beneath it.
class CStampPreview : public QWidget {
public:
    explicit CStampPreview(QWidget* viewport);
    // Cells and frame in the parent viewport's coordinates.
    void showAt(const QRect& frame, std::vector<QRect> cells);
    // The copy laid over threads `first`.. of the pane, across all its shaft
    // or treadle rows; false when none of it lies in the pane.
    bool showThreads(const CTdingGridView& pane, int first, const ThreadCopy& copy);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    std::vector<QRect> m_cells;
};

} // namespace qb
