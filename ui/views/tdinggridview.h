#pragma once

#include "ui/views/gridview.h"

namespace qb {

// Common base of the threading and treadling panes. Along one direction run
// the threads (ends or picks); along the other the value items: the shafts or
// treadles (value 1 next to the drawdown), one empty item, one color bar per
// warp or weft in use, then the label rows.
class CTdingGridView : public CGridView {
    Q_OBJECT
public:
    using CGridView::CGridView;

    virtual bool isWarpSide() const = 0;
    // Number of value items (shafts or treadles).
    virtual int valueCount() const = 0;
    int rowsInUse() const;
    int labelRows() const;
    int colorBarItem(int row) const { return valueCount() + 1 + row; }
    int labelItem(int labelRow) const { return valueCount() + 1 + rowsInUse() + labelRow; }
    int valueItemCount() const { return valueCount() + 1 + rowsInUse() + labelRows(); }
    const GridAxis& threadAxis() const { return isWarpSide() ? m_cols : m_rows; }
    const GridAxis& valueAxis() const { return isWarpSide() ? m_rows : m_cols; }
    // Content rectangle of (thread, value item).
    QRect threadCell(int thread, int valueItem) const;

protected:
    const Tding* seq(int row) const;
    int threadCount() const;
    // Values (1-based) of `thread` in sequence row `row`.
    virtual TreadleSet valuesOf(int thread, int row) const = 0;
    virtual void paintValue(QPainter& p, const QRect& in, int thread, int row, int value) = 0;
    // The squeeze: how many cells the value direction needs besides the values.
    int squeezeDivisor() const { return valueCount() + labelRows() + rowsInUse() + 2; }

    void buildAxes(bool exporting) override;
    void paintCells(QPainter& p, const QRect& area) override;
    void paintGridLines(QPainter& p, const QRect& area) override;
    // Value items run from the far side of the pane (rows from the bottom).
    virtual bool valuesReversed() const = 0;
    virtual bool threadsReversed() const = 0;
    virtual int threadPitch() const = 0;
    virtual int valuePitch() const = 0;

private:
    QRect valueSpan(int firstItem, int lastItem) const;
    void paintLabels(QPainter& p, int t0, int t1);
};

class CThreadingView : public CTdingGridView {
    Q_OBJECT
public:
    explicit CThreadingView(CGridFrame* frame, QWidget* parent = nullptr);
    PaneKind paneKind() const override { return PaneKind::Threading; }
    bool isWarpSide() const override { return true; }
    int valueCount() const override;

protected:
    TreadleSet valuesOf(int thread, int row) const override;
    void paintValue(QPainter& p, const QRect& in, int thread, int row, int value) override;
    GlyphStyle notationStyle() const override;
    bool valuesReversed() const override { return frame()->threadingOnTop(); }
    bool threadsReversed() const override { return true; }
    int threadPitch() const override { return frame()->endWidth(); }
    int valuePitch() const override { return frame()->shaftHeight(); }
    void reactToHint(const UpdateHint& hint) override;
    void resizeEvent(QResizeEvent* e) override;

public:
    void orientationChanged() override { setFarEdges(true, frame()->threadingOnTop()); }
};

class CTreadlingView : public CTdingGridView {
    Q_OBJECT
public:
    explicit CTreadlingView(CGridFrame* frame, QWidget* parent = nullptr);
    PaneKind paneKind() const override { return PaneKind::Treadling; }
    bool isWarpSide() const override { return false; }
    int valueCount() const override;

protected:
    TreadleSet valuesOf(int thread, int row) const override;
    void paintValue(QPainter& p, const QRect& in, int thread, int row, int value) override;
    GlyphStyle notationStyle() const override;
    bool valuesReversed() const override { return false; }
    bool threadsReversed() const override { return !frame()->threadingOnTop(); }
    int threadPitch() const override { return frame()->pickHeight(); }
    int valuePitch() const override { return frame()->treadleWidth(); }
    void reactToHint(const UpdateHint& hint) override;
    void markPick(int pick) override;
    void resizeEvent(QResizeEvent* e) override;

public:
    void orientationChanged() override { setFarEdges(false, !frame()->threadingOnTop()); }
};

} // namespace qb
