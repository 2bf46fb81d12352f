#pragma once

#include "draft/colorpalette.h"
#include "transform/addtabby.h"
#include "transform/doublewidth.h"
#include "transform/sequenceops.h"

#include <QDialog>
#include <QWidget>

#include <functional>

class QCheckBox;
class QColor;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace qb {

// How the commands run their dialogs: modal by default; tests replace it to
// fill in the controls and press OK without a user.
using DialogRunner = std::function<bool(QDialog& dialog)>;
void SetDialogRunner(DialogRunner runner);
bool RunDialog(QDialog& dialog);

// "Repeat": a count 2..100, or "Single repeat".
class RepeatDialog : public QDialog {
    Q_OBJECT
public:
    explicit RepeatDialog(QWidget* parent = nullptr);
    bool singleRepeat() const;
    int times() const;

private:
    QCheckBox* m_single;
    QSpinBox* m_times;
};

// "Arrange": Sequential or Parallel; the choice is kept for the next time.
class CArrangeTding : public QDialog {
    Q_OBJECT
public:
    explicit CArrangeTding(QWidget* parent = nullptr);
    bool parallel() const;
    void accept() override;

private:
    QRadioButton* m_sequential;
    QRadioButton* m_parallel;
};

// The strip of the Remove dialog: one cell per pattern entry, keep (white)
// or delete (black), room for the longest pattern.
class CDeleteThreads : public QWidget {
    Q_OBJECT
public:
    explicit CDeleteThreads(RemovePattern& pattern, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    int cellAt(const QPoint& p) const;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    RemovePattern& m_pattern;
};

// "Remove from Threading" / "Remove from Treadling" over the pattern that
// both share for the rest of the run.
class CDeleteSequenceDlg : public QDialog {
    Q_OBJECT
public:
    CDeleteSequenceDlg(bool threading, QWidget* parent = nullptr);
    // The working copy the strip edits; OK stores it.
    RemovePattern& pattern() { return m_work; }
    void accept() override;
    // The pattern kept between uses.
    static RemovePattern& stored();

private:
    RemovePattern m_work;
};

// The color a window under the screen point shows, for the color picker:
// a grid pane answers with the color painted there, any other widget when
// it carries a "color" property. False when the window does not answer.
bool ColorQuery(QWidget* widget, const QPoint& globalPos, QColor& color);

// "Add Tabby": ground treadles 2..64, added treadles, tabby color (kept for
// the rest of the run).
class CAddTabby : public QDialog {
    Q_OBJECT
public:
    explicit CAddTabby(QWidget* parent = nullptr);
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

// "Double Width": fold edge, tubular, shuttles 1..6, picks per unit.
class CDoubleWidth : public QDialog {
    Q_OBJECT
public:
    explicit CDoubleWidth(QWidget* parent = nullptr);
    DoubleWidthOptions options() const;

private:
    QRadioButton* m_left;
    QRadioButton* m_right;
    QCheckBox* m_tubular;
    QSpinBox* m_shuttles;
    QSpinBox* m_picksPerUnit;
};

} // namespace qb
