#pragma once

#include <QRect>
#include <QWidget>

#include <vector>

namespace qb {

// The floating copy the stamp carries over the pane: the copied cells drawn
// see-through inside a dashed frame. It never takes the mouse, so clicks
// reach the pane beneath it.
class CStampPreview : public QWidget {
public:
    explicit CStampPreview(QWidget* viewport);
    // Cells and frame in the parent viewport's coordinates.
    void showAt(const QRect& frame, std::vector<QRect> cells);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    std::vector<QRect> m_cells;
};

} // namespace qb
