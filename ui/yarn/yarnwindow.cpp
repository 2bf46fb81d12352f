#include "ui/yarn/yarnwindow.h"

#include "ui/base/imainwindow.h"
#include "ui/base/storedsettings.h"
#include "ui/yarn/yarncommands.h"
#include "ui/yarn/yarndialog.h"
#include "ui/yarn/yarnfiledialogs.h"
#include "ui/yarn/yarnlistctrl.h"

#include "core/yarn/yarndoc.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QVBoxLayout>

namespace qb {

CYarnView::CYarnView(std::unique_ptr<CYarnDoc> doc, const QString& path, IMainWindow* main, QWidget* parent)
    : QWidget(parent)
    , m_doc(std::move(doc))
    , m_path(path)
    , m_main(main)
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_list = new CAllKeysListCtrl(this);
    m_list->setObjectName(QStringLiteral("yarnList"));
    // The window lists the file as it is: headers do not sort.
    m_list->header()->setSectionsClickable(false);
    connect(m_list, &CAllKeysListCtrl::keyPressed, this, &CYarnView::onKey);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        m_list->setCurrentItem(item);
        editSelected();
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
    refill();
}

CYarnView::~CYarnView() = default;

void CYarnView::refill()
{
    const CYarn* selected = m_list->selectedYarn();
    std::vector<int> rows(std::size_t(m_doc->count()));
    for (int i = 0; i < m_doc->count(); ++i) rows[std::size_t(i)] = i;
    const MeasureSystem system = MeasureSystemOf(m_main ? m_main->settings().UnitMeasure : 0);
    m_list->fill(*m_doc, rows, system);
    if (QTreeWidgetItem* item = m_list->rowOf(selected)) m_list->setCurrentItem(item);
    refreshTitle();
}

void CYarnView::refreshTitle()
{
    setWindowTitle(QStringLiteral("Yarn Database <%1>[*]").arg(QFileInfo(m_path).fileName()));
    setWindowModified(m_doc->IsModified());
}

bool CYarnView::reload()
{
    if (m_doc->IsModified()) return false;
    auto doc = std::make_unique<CYarnDoc>();
    if (!doc->Open(QFile::encodeName(m_path).toStdString()).ok) return false;
    m_list->clear(); // the rows point into the old document
    m_doc = std::move(doc);
    refill();
    return true;
}

bool CYarnView::editSelected()
{
    const int i = m_doc->indexOf(m_list->selectedYarn());
    if (i < 0) return false;
    const MeasureSystem system = MeasureSystemOf(m_main ? m_main->settings().UnitMeasure : 0);
    // The lists offer what the application's database holds, when it is
    // loaded; otherwise this file's own sizes and fibers.
    CYarnCommands* commands = m_main ? CYarnCommands::of(m_main) : nullptr;
    const CYarnDoc* choices = commands && commands->loadedDatabase() ? commands->loadedDatabase() : m_doc.get();
    CYarn edited = m_doc->yarn(i);
    if (!EditYarnInSheet(this, edited, *choices, system)) return false;
    m_doc->yarnMutable(i) = edited;
    m_doc->SetModified();
    refill();
    return true;
}

bool CYarnView::deleteSelected()
{
    const CYarn* y = m_list->selectedYarn();
    if (!y || !m_doc->Delete(y)) return false;
    refill();
    return true;
}

void CYarnView::onKey(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: editSelected(); break;
    case Qt::Key_Delete: deleteSelected(); break;
    case Qt::Key_Tab: focusNextChild(); break;
    case Qt::Key_Backtab: focusPreviousChild(); break;
    default: break;
    }
}

bool CYarnView::save()
{
    return saveTo(m_path);
}

bool CYarnView::saveAs()
{
    YarnFileQuestion q;
    q.kind = YarnFileQuestion::Kind::Save;
    q.title = QStringLiteral("Save As");
    q.start = m_path;
    q.filter = YarnFileFilter();
    const QString path = ChooseYarnFile(this, q);
    return !path.isEmpty() && saveTo(path);
}

bool CYarnView::saveTo(const QString& path)
{
    const YarnFileResult r = m_doc->Save(QFile::encodeName(path).toStdString());
    if (!r.ok) {
        if (m_main) m_main->tell(QString::fromLocal8Bit(r.message));
        return false;
    }
    m_path = QFileInfo(path).absoluteFilePath();
    refreshTitle();
    if (CYarnCommands* commands = m_main ? CYarnCommands::of(m_main) : nullptr) commands->yarnFileSaved(m_path, this);
    return true;
}

void CYarnView::closeEvent(QCloseEvent* e)
{
    if (m_doc->IsModified() && m_main
        && m_main->ask(QStringLiteral("Save changes to %1?").arg(QFileInfo(m_path).fileName())) && !save()) {
        e->ignore();
        return;
    }
    QWidget::closeEvent(e);
}

void CYarnView::contextMenuEvent(QContextMenuEvent* e)
{
    QMenu menu(this);
    menu.addAction(QStringLiteral("&Edit Yarn..."), this, [this] { editSelected(); })
        ->setEnabled(m_list->selectedYarn());
    menu.addAction(QStringLiteral("&Delete Yarn"), this, [this] { deleteSelected(); })
        ->setEnabled(m_list->selectedYarn());
    menu.addSeparator();
    menu.addAction(QStringLiteral("&Save"), this, [this] { save(); });
    menu.addAction(QStringLiteral("Save &As..."), this, [this] { saveAs(); });
    menu.exec(e->globalPos());
}

} // namespace qb
