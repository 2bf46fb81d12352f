#pragma once

#include "core/transform/floatsearch.h"

#include <QDialog>
#include <QPointer>

#include <memory>

class QCheckBox;
class QLabel;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimer;

namespace qb {

class CColorButton;
class CDraftWindow;
class IMainWindow;

// "Float Search": a modeless dialog over one draft that counts the ends or
// picks carrying a float of at least the threshold, steps through them with
// the thread highlighted and scrolled into view in the draft's window, and
// colors the one shown with the mark color. One per main window.
class CFloatSearchDialog : public QDialog {
    Q_OBJECT
public:
    // The command: brings the open dialog to the top (on the active draft)
    // or opens it; null without a draft.
    static CFloatSearchDialog* open(IMainWindow* main);
    static CFloatSearchDialog* find(IMainWindow* main);

    CDraftWindow* draft() const { return m_window; }
    FloatDirection direction() const;
    FloatCriteria criteria() const;
    int found() const { return m_search ? m_search->found() : 0; }
    // The thread shown (0-based), -1 for none.
    int position() const { return m_position; }
    COLORREF markColor() const { return m_markColor; }
    void setMarkColor(COLORREF c);

    // The controls, for tests that work the dialog as a weaver would.
    QRadioButton* warpButton() const { return m_warp; }
    QRadioButton* weftButton() const { return m_weft; }
    QCheckBox* faceOnlyBox() const { return m_faceOnly; }
    QSpinBox* thresholdBox() const { return m_threshold; }
    QPushButton* prevButton() const { return m_prev; }
    QPushButton* nextButton() const { return m_next; }
    QPushButton* markButton() const { return m_mark; }
    QString lengthText() const;
    QString foundText() const;

public slots:
    void showNext();
    void showPrev();
    // Colors the thread shown: one undo step.
    bool markFloat();
    void chooseColor();
    // Counts again with the controls' values and steps to the first found thread.
    void recount();

protected:
    void closeEvent(QCloseEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void step(bool forward);
    CFloatSearchDialog(IMainWindow* main, QWidget* parent);
    void bind(CDraftWindow* w);
    void showThread(int thread);
    void updateButtons();
    void updateLength();
    // The draft changed: count again, keeping the thread shown.
    void refreshAfterEdit();
    void clearHighlight();

    IMainWindow* m_main;
    QPointer<CDraftWindow> m_window;
    std::unique_ptr<FloatSearch> m_search;
    int m_position = -1;
    COLORREF m_markColor = kDefaultMarkColor;
    bool m_marking = false;
    QMetaObject::Connection m_watch, m_gone;
    QTimer* m_edited;
    QRadioButton* m_warp;
    QRadioButton* m_weft;
    QCheckBox* m_faceOnly;
    QSpinBox* m_threshold;
    QLabel* m_length;
    QLabel* m_found;
    QPushButton* m_prev;
    QPushButton* m_next;
    QPushButton* m_mark;
    QPushButton* m_newColor;
    CColorButton* m_swatch;
};

// "&Float Search..." on the Tools menu.
void AddFloatSearchMenu(IMainWindow* main);

} // namespace qb
