#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;

namespace qb {

class CDraftWindow;
class IMainWindow;

// "Replace Color": every warp and/or weft thread of the old color gets the
// new one, as one undo step. Old and new are chosen from the draft's palette
// ("New Color" adds one through the color dialog).
class CReplaceColorDialog : public QDialog {
    Q_OBJECT
public:
    CReplaceColorDialog(CDraftWindow* w, QWidget* parent = nullptr);
    // Runs the replacement with the dialog's choices; false when nothing to do.
    bool apply();

    QCheckBox* warpBox() const { return m_warp; }
    QCheckBox* weftBox() const { return m_weft; }
    QComboBox* oldBox() const { return m_old; }
    QComboBox* newBox() const { return m_new; }
    // Takes the old (or new) color from the color bar of the pane under a
    // screen point; over a threading "Warp" gets checked, over a treadling
    // "Weft". False when nothing there answers.
    bool pickAt(QWidget* under, QPoint globalPos, bool old);

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void fill(QComboBox* box, int current);
    CDraftWindow* m_w;
    QCheckBox* m_warp;
    QCheckBox* m_weft;
    QComboBox* m_old;
    QComboBox* m_new;
    int m_picking = 0; // 0 none, 1 old, 2 new
};

void RunReplaceColor(IMainWindow* main, CDraftWindow* w);
// "W&arp Color Order" / "W&eft Color Order" of the active draft.
void OpenColorOrder(IMainWindow* main, bool warp);

} // namespace qb
