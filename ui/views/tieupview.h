#pragma once

#include "ui/views/gridview.h"

namespace qb {

// Base of the tieup pane: treadle columns (treadle 1 next to the drawdown's
// side) by shaft rows (shaft 1 next to the drawdown), padded with the empty,
// color-bar and label items of the neighbouring panes so cells line up.
class CTieupGridView : public CGridView {
    Q_OBJECT
public:
    using CGridView::CGridView;
    int treadles() const { return document()->numTreadles(); }
    int shafts() const { return document()->numShafts(); }

protected:
    void buildAxes(bool exporting) override;
    void paintGridLines(QPainter& p, const QRect& area) override;
};

class CTieupView : public CTieupGridView {
    Q_OBJECT
public:
    explicit CTieupView(CGridFrame* frame, QWidget* parent = nullptr);
    PaneKind paneKind() const override { return PaneKind::Tieup; }
    void orientationChanged() override { setFarEdges(false, frame()->threadingOnTop()); }

protected:
    GlyphStyle notationStyle() const override;
    void paintCells(QPainter& p, const QRect& area) override;
    void reactToHint(const UpdateHint& hint) override;
};

} // namespace qb
