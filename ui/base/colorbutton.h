#pragma once

#include <QColor>
#include <QWidget>

namespace qb {

// An owner-drawn button holding one color; the two mouse-button colors also
// show a small drop mark, and the current one a frame.
class CColorButton : public QWidget {
    Q_OBJECT
public:
    CColorButton(QSize size, bool dropMark, QWidget* parent);
    void setColor(QColor c);
    QColor color() const { return m_color; }
    void setCurrent(bool on);

signals:
    void clicked(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    QColor m_color = Qt::black;
    bool m_dropMark;
    bool m_current = false;
};

} // namespace qb
