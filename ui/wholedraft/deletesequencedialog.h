#pragma once

#include "core/transform/sequenceops.h"

#include <QDialog>
#include <QWidget>

namespace qb {

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
class CDeleteSequenceDialog : public QDialog {
    Q_OBJECT
public:
    CDeleteSequenceDialog(bool threading, QWidget* parent = nullptr);
    // The working copy the strip edits; OK stores it.
    RemovePattern& pattern() { return m_work; }
    void accept() override;
    // The pattern kept between uses.
    static RemovePattern& stored();

private:
    RemovePattern m_work;
};

} // namespace qb
