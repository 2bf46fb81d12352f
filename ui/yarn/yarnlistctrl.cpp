#include "ui/yarn/yarnlistctrl.h"

#include "core/yarn/yarn.h"
#include "core/yarn/yarndoc.h"
#include "core/yarn/yarnlist.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace qb {

namespace {

constexpr int kYarnRole = Qt::UserRole + 1;

} // namespace

CAllKeysListCtrl::CAllKeysListCtrl(QWidget* parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setColumnCount(int(kYarnColumns.size()));
    QStringList captions;
    for (const YarnColumnInfo& c : kYarnColumns) captions << QString::fromLatin1(c.caption);
    setHeaderLabels(captions);
    header()->setSectionsMovable(true);
    header()->setStretchLastSection(false);
    for (int i = 0; i < int(kYarnColumns.size()); ++i) setColumnWidth(i, kYarnColumns[std::size_t(i)].width);
}

void CAllKeysListCtrl::fill(const CYarnDoc& doc, const std::vector<int>& rows, MeasureSystem system)
{
    clear();
    for (int r : rows) addRow(doc.yarn(r), system);
}

QTreeWidgetItem* CAllKeysListCtrl::addRow(const CYarn& y, MeasureSystem system)
{
    auto* item = new QTreeWidgetItem(this);
    item->setData(0, kYarnRole, QVariant::fromValue(reinterpret_cast<quintptr>(&y)));
    refreshRow(item, system);
    return item;
}

void CAllKeysListCtrl::refreshRow(QTreeWidgetItem* item, MeasureSystem system)
{
    const CYarn* y = yarnOf(item);
    if (!y) return;
    for (int i = 0; i < int(kYarnColumns.size()); ++i)
        item->setText(i, QString::fromUtf8(YarnCellText(*y, kYarnColumns[std::size_t(i)].column, system)));
}

const CYarn* CAllKeysListCtrl::yarnOf(const QTreeWidgetItem* item)
{
    return item ? reinterpret_cast<const CYarn*>(item->data(0, kYarnRole).value<quintptr>()) : nullptr;
}

const CYarn* CAllKeysListCtrl::selectedYarn() const
{
    const QList<QTreeWidgetItem*> sel = selectedItems();
    return sel.isEmpty() ? nullptr : yarnOf(sel.first());
}

QTreeWidgetItem* CAllKeysListCtrl::rowOf(const CYarn* y) const
{
    for (int i = 0; i < topLevelItemCount(); ++i)
        if (yarnOf(topLevelItem(i)) == y) return topLevelItem(i);
    return nullptr;
}

QStringList CAllKeysListCtrl::rowTexts() const
{
    QStringList out;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QStringList cells;
        for (int c = 0; c < columnCount(); ++c) cells << topLevelItem(i)->text(c);
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

bool CAllKeysListCtrl::event(QEvent* e)
{
    // Tab would otherwise never reach keyPressEvent: the owner moves the focus.
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
            keyPressEvent(k);
            return true;
        }
    }
    return QTreeWidget::event(e);
}

void CAllKeysListCtrl::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Insert:
    case Qt::Key_Delete:
        e->accept();
        emit keyPressed(e->key());
        return;
    default: QTreeWidget::keyPressEvent(e);
    }
}

} // namespace qb
