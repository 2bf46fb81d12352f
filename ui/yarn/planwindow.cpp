#include "ui/yarn/planwindow.h"

#include "ui/base/dialogparts.h"
#include "ui/base/imainwindow.h"
#include "ui/base/storedsettings.h"
#include "ui/views/draftwindow.h"
#include "ui/yarn/piecespicturewidget.h"

#include "core/yarn/projectplan.h"
#include "core/yarn/yarnmessages.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QToolBar>
#include <QVBoxLayout>

namespace qb {

QString PlanFormCaption(const QString& printed)
{
    static const std::pair<const char*, const char*> kScreen[] = {
        {"Item Width:", "Item width:"},       {"Item Length:", "Item length:"}, {"Items on Weft:", "Items on weft:"},
        {"Items on Warp:", "Items on warp:"}, {"Loom Waste:", "Loom waste:"},
    };
    for (const auto& [p, s] : kScreen)
        if (printed == QLatin1String(p)) return QString::fromLatin1(s);
    return printed;
}

CPlanFormView::CPlanFormView(CDraftWindow* w, IMainWindow* main, QWidget* parent)
    : QWidget(parent)
    , m_w(w)
    , m_doc(&w->document())
    , m_main(main)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("planView"));
    m_print = new QAction(QStringLiteral("&Print..."), this);
    m_print->setShortcut(QKeySequence::Print);
    m_print->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_preview = new QAction(QStringLiteral("Print Pre&view"), this);
    m_copy = new QAction(QStringLiteral("Cop&y to Clipboard"), this);
    m_copy->setShortcut(QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_C));
    m_copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(m_print, &QAction::triggered, this, &CPlanFormView::print);
    connect(m_preview, &QAction::triggered, this, &CPlanFormView::printPreview);
    connect(m_copy, &QAction::triggered, this, &CPlanFormView::copyToClipboard);
    addActions({m_print, m_preview, m_copy});
    setContextMenuPolicy(Qt::ActionsContextMenu);

    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->addActions({m_print, m_preview, m_copy});
    m_scroll = new QScrollArea(this);
    m_scroll->setWidgetResizable(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_scroll, 1);

    m_doc->subscribe(this);
    refresh();
}

CPlanFormView::~CPlanFormView()
{
    m_doc->unsubscribe(this);
}

MeasureSystem CPlanFormView::system() const
{
    return MeasureSystemOf(m_main ? m_main->settings().UnitMeasure : m_doc->units());
}

void CPlanFormView::documentUpdated(const CQuillabyDoc&, const UpdateHint&)
{
    refresh();
}

void CPlanFormView::refresh()
{
    const MeasureSystem shown = system();
    m_page.pieces = PlanInputsOf(*m_doc, shown);
    m_page.layout = PlanLayout(ShowDraftPlan(*m_doc, shown), m_doc->title(), m_doc->notes());
    rebuildForm(m_page.layout);
    if (m_w) setWindowTitle(QStringLiteral("Project Plan <%1>").arg(m_w->title()));
}

void CPlanFormView::rebuildForm(const std::vector<PlanLine>& layout)
{
    auto* form = new QWidget;
    auto* outer = new QVBoxLayout(form);
    m_entries.clear();
    m_picture = nullptr;

    QGridLayout* grid = nullptr;
    int row[2] = {0, 0};
    auto startBlock = [&] {
        grid = new QGridLayout;
        grid->setColumnStretch(1, 1);
        grid->setColumnStretch(3, 1);
        grid->setColumnMinimumWidth(2, 0);
        outer->addLayout(grid);
        row[0] = row[1] = 0;
    };
    auto hline = [&](QWidget* parent) {
        auto* f = new QFrame(parent);
        f->setFrameShape(QFrame::HLine);
        f->setFrameShadow(QFrame::Sunken);
        return f;
    };
    startBlock();
    for (const PlanLine& l : layout) {
        const int col = l.column == 1 ? 1 : 0;
        Entry entry{l, nullptr};
        switch (l.kind) {
        case PlanLine::Kind::Text: {
            const QString t = QString::fromUtf8(l.text);
            const int tab = t.indexOf(QLatin1Char('\t'));
            if (tab < 0) {
                grid->addWidget(new QLabel(t, form), row[col]++, col * 2, 1, 2);
                break;
            }
            auto* value = new QLineEdit(t.mid(tab + 1), form);
            value->setReadOnly(true);
            value->setObjectName(t.left(tab));
            grid->addWidget(new QLabel(PlanFormCaption(t.left(tab)), form), row[col], col * 2);
            grid->addWidget(value, row[col]++, col * 2 + 1);
            entry.value = value;
            break;
        }
        case PlanLine::Kind::ShortRule: grid->addWidget(hline(form), row[col]++, col * 2 + 1); break;
        case PlanLine::Kind::Picture:
            m_picture = new CPiecesPicture(form);
            m_picture->setPlan(m_page.pieces);
            grid->addWidget(m_picture, 0, 4, 8, 1);
            break;
        case PlanLine::Kind::Rule:
            outer->addWidget(hline(form));
            startBlock();
            break;
        }
        m_entries.push_back(entry);
    }
    outer->addStretch(1);
    // The old form goes with its fields.
    delete m_scroll->takeWidget();
    m_scroll->setWidget(form);
}

QString CPlanFormView::text() const
{
    std::vector<PlanLine> shown;
    for (const Entry& e : m_entries) {
        PlanLine l = e.line;
        if (e.value) {
            // Read back from the field the weaver sees.
            const auto tab = l.text.find('\t');
            l.text = l.text.substr(0, tab) + "\t" + e.value->text().toStdString();
        }
        shown.push_back(std::move(l));
    }
    return QString::fromUtf8(PlanText(shown));
}

PlanPage CPlanFormView::page() const
{
    return m_page;
}

void CPlanFormView::print()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Print"));
    if (!RunDialog(dialog)) return;
    PrintPlan(printer, m_page);
}

void CPlanFormView::printPreview()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { PrintPlan(*p, m_page); });
    RunDialog(dialog);
}

bool CPlanFormView::copyToClipboard()
{
    const QImage image = PlanPicture(m_page);
    if (image.isNull()) {
        if (m_main) m_main->tell(QString::fromLatin1(yarnmsg::kClipboardTooLarge));
        return false;
    }
    QApplication::clipboard()->setImage(image);
    return true;
}

} // namespace qb
