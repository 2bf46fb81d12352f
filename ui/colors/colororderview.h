#pragma once

#include <QPointer>
#include <QWidget>

class QGridLayout;
class QLabel;
class QPlainTextEdit;
class QSpinBox;

namespace qb {

class CDraftWindow;

// The warp or weft color sequence as a table: runs of one color with their
// thread counts, each color's total, and a legend whose names edit the
// palette's names. Rebuilt on every change of the draft.
class CColorOrderView : public QWidget {
    Q_OBJECT
public:
    CColorOrderView(CDraftWindow* w, bool warp, QWidget* parent = nullptr);
    bool isWarp() const { return m_warp; }
    void rebuild();
    // The run table and totals as shown.
    QString tableText() const;
    int legendLines() const { return m_legendLines; }

private:
    QPointer<CDraftWindow> m_w;
    bool m_warp;
    QLabel* m_heading;
    QSpinBox* m_perUnit;
    QGridLayout* m_legend;
    QWidget* m_legendBox;
    QPlainTextEdit* m_table;
    int m_legendLines = 0;
};

} // namespace qb
