#include "ui/yarn/yarndialog.h"

#include "ui/base/dialogparts.h"
#include "ui/base/imainwindow.h"
#include "ui/yarn/yarnlistctrl.h"
#include "ui/yarn/yarnsheet.h"

#include "core/yarn/yarndoc.h"
#include "core/yarn/yarnmessages.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace qb {

bool EditYarnInSheet(QWidget* parent, CYarn& y, const CYarnDoc& choices, MeasureSystem system)
{
    CYarnSheet sheet(y, DistinctSizes(choices), DistinctFibers(choices), system, parent);
    if (!RunDialog(sheet)) return false;
    return sheet.store(y);
}

YarnSortOrder& CYarnDialog::sortOrder()
{
    static YarnSortOrder order;
    return order;
}

CYarnDialog::CYarnDialog(CYarnDoc& db, MeasureSystem system, IMainWindow* main, QWidget* parent)
    : QDialog(parent)
    , m_db(db)
    , m_system(system)
    , m_main(main)
{
    setWindowTitle(QStringLiteral("Yarn Database"));
    m_db.setSelected(nullptr);

    m_list = new CAllKeysListCtrl(this);
    m_list->setObjectName(QStringLiteral("yarnList"));
    std::vector<int> rows;
    if (m_db.count() > 0) rows = sortOrder().rows(m_db);
    m_list->fill(m_db, rows, m_system);
    m_list->header()->setSectionsClickable(true);
    connect(m_list->header(), &QHeaderView::sectionClicked, this, &CYarnDialog::sortBy);
    connect(m_list, &CAllKeysListCtrl::keyPressed, this, &CYarnDialog::onKey);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { editYarn(CAllKeysListCtrl::yarnOf(item)); });

    auto button = [this](const char* text, const char* name) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* ok = button("OK", "ok");
    ok->setDefault(true);
    QPushButton* cancel = button("Cancel", "cancel");
    QPushButton* add = button("Add Yarn", "addYarn");
    QPushButton* del = button("Delete Yarn", "deleteYarn");
    QPushButton* help = button("Help", "help");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(add, &QPushButton::clicked, this, [this] { addYarn(); });
    connect(del, &QPushButton::clicked, this, [this] { deleteSelected(false); });
    connect(help, &QPushButton::clicked, this, &CYarnDialog::showHelp);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {ok, cancel, add, del, help}) buttons->addWidget(b);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    // The list has the keys from the start: Enter edits rather than closing.
    m_list->setFocus();
    resize(620, 320);
}

void CYarnDialog::sortBy(int column)
{
    if (column < 0 || column >= int(kYarnColumns.size())) return;
    const CYarn* selected = m_list->selectedYarn();
    sortOrder().click(kYarnColumns[std::size_t(column)].column);
    m_list->fill(m_db, sortOrder().rows(m_db), m_system);
    if (QTreeWidgetItem* item = m_list->rowOf(selected)) m_list->setCurrentItem(item);
}

bool CYarnDialog::addYarn()
{
    CYarnSheet sheet(CYarn(), DistinctSizes(m_db), DistinctFibers(m_db), m_system, this);
    if (!RunDialog(sheet)) return false;
    CYarn* y = m_db.Append(sheet.yarn());
    if (!y) {
        tell(QStringLiteral("The yarn database is full: it holds %1 yarns.").arg(kMaxYarns));
        return false;
    }
    QTreeWidgetItem* item = m_list->addRow(*y, m_system);
    m_list->setCurrentItem(item);
    m_list->scrollToItem(item);
    m_list->setFocus();
    return true;
}

bool CYarnDialog::editYarn(const CYarn* y)
{
    const int i = m_db.indexOf(y);
    if (i < 0) return false;
    CYarn& yarn = m_db.yarnMutable(i);
    if (!EditYarnInSheet(this, yarn, m_db, m_system)) return false;
    m_db.SetModified();
    if (QTreeWidgetItem* item = m_list->rowOf(&yarn)) m_list->refreshRow(item, m_system);
    return true;
}

bool CYarnDialog::deleteSelected(bool ask)
{
    const CYarn* y = m_list->selectedYarn();
    if (!y) return false;
    if (ask && !this->ask(QString::fromLatin1(yarnmsg::kDeleteSelected))) return false;
    delete m_list->rowOf(y);
    return m_db.Delete(y);
}

void CYarnDialog::onKey(int key)
{
    switch (key) {
    case Qt::Key_Tab: focusNextChild(); break;
    case Qt::Key_Backtab: focusPreviousChild(); break;
    case Qt::Key_Insert: addYarn(); break;
    case Qt::Key_Delete: deleteSelected(true); break;
    case Qt::Key_Escape: reject(); break;
    case Qt::Key_Return:
    case Qt::Key_Enter: editYarn(m_list->selectedYarn()); break;
    default: break;
    }
}

bool CYarnDialog::ask(const QString& question)
{
    if (m_main) return m_main->ask(question);
    return QMessageBox::question(this, windowTitle(), question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void CYarnDialog::tell(const QString& text)
{
    if (m_main) m_main->tell(text);
    else QMessageBox::information(this, windowTitle(), text);
}

void CYarnDialog::accept()
{
    m_db.setSelected(m_list->selectedYarn());
    QDialog::accept();
}

void CYarnDialog::showHelp()
{
    tell(QStringLiteral("Choose a yarn and press OK to use it.\n\n"
                        "Insert or \"Add Yarn\" adds a yarn; Enter or a double click edits the selected one;\n"
                        "Delete removes it after asking, \"Delete Yarn\" without asking.\n"
                        "Click a column heading to sort by it; click it again to reverse the order."));
}

} // namespace qb
