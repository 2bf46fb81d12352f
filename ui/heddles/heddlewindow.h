#pragma once

#include "ui/base/printablewindow.h"

#include <QPlainTextEdit>
#include <QPointer>

class QMenuBar;
class QPrinter;

namespace qb {

class CDraftWindow;
class IMainWindow;

// "Heddle Counts": how many heddles each shaft needs, one line "%d:\t%6d"
// per shaft, counted again on every change of the draft. Prints as one page.
class CHeddleView : public QPlainTextEdit, public IPrintableWindow {
    Q_OBJECT
public:
    explicit CHeddleView(CDraftWindow* w, QWidget* parent = nullptr);
    CDraftWindow* draft() const { return m_w; }
    // The counts as shown.
    QString text() const { return m_text; }
    void recount();
    // The text on one page of `printer`.
    void print(QPrinter* printer) const override;
    // "&Print...": the platform's print dialog, then print().
    void printWithDialog() override;
    QSize sizeHint() const override;

protected:
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    QPointer<CDraftWindow> m_w;
    QString m_text;
};

// Shows the heddle counts of the active draft in an MDI window of its own
// (the one already open for that draft, if any); null without a draft.
CHeddleView* OpenHeddleCounts(IMainWindow* main);

// "&Heddle Count" on the View menu, "Thic&kness..." on the Threading and
// Treadling menus.
void AddHeddleMenus(IMainWindow* main);

} // namespace qb
