#pragma once

#include <QWidget>

namespace qb {

class CDraftView;

// Floating windows shown while a tool is in use, laid over a pane.
class CPopupWnd : public QWidget {
    Q_OBJECT
public:
    explicit CPopupWnd(QWidget* owner);
};

// A popup one thread wide laid along a whole row or column of a pane.
class CSlicePopup : public CPopupWnd {
    Q_OBJECT
public:
    CSlicePopup(CDraftView* view, int thread);
    int thread() const { return m_thread; }
    // Moves the popup to another thread and follows the pane's scrolling.
    void setThread(int thread);
    void reposition();

protected:
    virtual QRect sliceRect() const = 0; // in the pane's viewport
    CDraftView* m_view;
    int m_thread;
};

// Shows how one thread interlaces with every thread crossing it.
class CInterlacePopup : public CSlicePopup {
    Q_OBJECT
public:
    using CSlicePopup::CSlicePopup;

protected:
    static constexpr QRgb kOlive = 0xFFC0C000;
    static constexpr QRgb kYellow = 0xFFFFFF00;
};

// One end followed down every pick: the end is the black bar; a pick that
// lifts it passes beneath (olive), any other pick crosses over it (yellow).
class CWarpInterlacePopup : public CInterlacePopup {
    Q_OBJECT
public:
    CWarpInterlacePopup(CDraftView* view, int end);

protected:
    QRect sliceRect() const override;
    void paintEvent(QPaintEvent* e) override;
};

// One pick followed across every end: the pick is the black band; an end
// it leaves up shows over it (yellow), any other end lies beneath (olive).
class CWeftInterlacePopup : public CInterlacePopup {
    Q_OBJECT
public:
    CWeftInterlacePopup(CDraftView* view, int pick);

protected:
    QRect sliceRect() const override;
    void paintEvent(QPaintEvent* e) override;
};

} // namespace qb
