#pragma once

#include "core/yarn/measure.h"

#include <QTreeWidget>

#include <vector>

namespace qb {

class CYarn;
class CYarnDoc;

// The report list of yarns used by the Yarn Database dialog and the yarn
// window: the five columns with their widths, whole-row selection, movable
// column headers. It hands every key to its owner (Tab, Enter and Esc too).
class CAllKeysListCtrl : public QTreeWidget {
    Q_OBJECT
public:
    explicit CAllKeysListCtrl(QWidget* parent = nullptr);

    // One row per yarn, in the order given (positions in the database).
    void fill(const CYarnDoc& doc, const std::vector<int>& rows, MeasureSystem system);
    // Appends one row, or refreshes the texts of the row showing `y`.
    QTreeWidgetItem* addRow(const CYarn& y, MeasureSystem system);
    void refreshRow(QTreeWidgetItem* item, MeasureSystem system);

    static const CYarn* yarnOf(const QTreeWidgetItem* item);
    const CYarn* selectedYarn() const;
    QTreeWidgetItem* rowOf(const CYarn* y) const;
    // The rows' cell texts, top to bottom, cells separated by "|".
    QStringList rowTexts() const;

signals:
    // A key the list does not handle itself; the owner decides.
    void keyPressed(int key);

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
};

} // namespace qb
