#pragma once

#include "core/draft/colorpalette.h"
#include "core/transform/addtabby.h"

#include <QDialog>

class QCheckBox;
class QColor;
class QPushButton;
class QSpinBox;

namespace qb {

// The color a window under the screen point shows, for the color picker:
// a grid pane answers with the color painted there, any other widget when
// it carries a "color" property. False when the window does not answer.
bool ColorQuery(QWidget* widget, const QPoint& globalPos, QColor& color);

// "Add Tabby": ground treadles 2..64, added treadles, tabby color (kept for
// the rest of the run).
class CAddTabbyDialog : public QDialog {
    Q_OBJECT
public:
    explicit CAddTabbyDialog(QWidget* parent = nullptr);
    AddTabbyOptions options() const;
    void setTabbyColor(COLORREF c);
    void accept() override;
    // The pick button: the next click anywhere takes the color under it.
    void startPicking();
    bool isPicking() const { return m_picking; }

protected:
    void mousePressEvent(QMouseEvent* e) override;

private:
    void showColor();

    QSpinBox* m_ground;
    QCheckBox* m_addTreadles;
    QPushButton* m_colorButton;
    COLORREF m_color;
    bool m_picking = false;
};

} // namespace qb
