#include "ui/print/printcommands.h"

#include "ui/base/dialogparts.h"
#include "ui/base/imainwindow.h"
#include "ui/base/printablewindow.h"
#include "ui/base/storedsettings.h"
#include "ui/views/draftframe.h"
#include "ui/views/draftwindow.h"
#include "ui/views/paneframes.h"

#include "core/draft/quillabydoc.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qb {

PrintOptions& SharedPrintOptions()
{
    static PrintOptions options;
    return options;
}

PrintKind PrintKindOf(const CGridFrame* frame, bool dobbyBars)
{
    if (qobject_cast<const CThreadingFrame*>(frame)) return PrintKind::Threading;
    if (qobject_cast<const CTreadlingFrame*>(frame)) return dobbyBars ? PrintKind::DobbyBars : PrintKind::Treadling;
    if (qobject_cast<const CTieupFrame*>(frame)) return PrintKind::Tieup;
    if (qobject_cast<const CFabricFrame*>(frame)) return PrintKind::Fabric;
    return PrintKind::Draft;
}

PaperLook PaperLookOf(const CGridFrame* frame)
{
    PaperLook look;
    look.drawnUp = !frame->threadingOnTop();
    look.threadingHidden = frame->isPaneHidden(PaneKind::Threading);
    look.tieupHidden = frame->isPaneHidden(PaneKind::Tieup);
    look.treadlingHidden = frame->isPaneHidden(PaneKind::Treadling);
    look.drawdownHidden = frame->isPaneHidden(PaneKind::Drawdown);
    look.threadingBarHidden = frame->isColorBarHidden(true);
    look.treadlingBarHidden = frame->isColorBarHidden(false);
    look.showGridWhenHidden = frame->showGridWhenHidden();
    look.back = qobject_cast<const CFabricBackFrame*>(frame) != nullptr;
    look.threadingNotation = frame->threadingNotation();
    look.treadlingNotation = frame->treadlingNotation();
    look.tieupNotation = frame->tieupNotation();
    return look;
}

namespace {

QString documentName(IMainWindow* main, const CGridFrame* frame)
{
    if (main)
        for (CDraftWindow* w : main->draftWindows())
            if (&w->document() == frame->document()) return w->title();
    return frame->documentTitle();
}

PrintOptions optionsFor(IMainWindow* main)
{
    PrintOptions o = SharedPrintOptions();
    if (main) {
        o.dobbyBarH = main->settings().DfltDobbyBarH;
        o.dobbyBarV = main->settings().DfltDobbyBarV;
    }
    return o;
}

int printPages(const CGridFrame* frame, const PrintOptions& options, const QString& title, QPrinter& printer)
{
    const PrintKind kind = PrintKindOf(frame, options.interlace);
    DraftPages job(*frame->document(), kind, options, PaperLookOf(frame), title);
    job.layOut(DraftPages::metricsOf(printer));
    int first = 0, last = job.pageCount() - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage() - 1;
        last = std::min(last, printer.toPage() > 0 ? printer.toPage() - 1 : last);
    }
    if (first > last) return 0;
    job.print(printer, first, last);
    return last - first + 1;
}

} // namespace

CPrintOptionsTab::CPrintOptionsTab(const CGridFrame* frame, PrintOptions& options, QWidget* parent)
    : QWidget(parent)
    , m_frame(frame)
    , m_options(options)
{
    setWindowTitle(QStringLiteral("Draft"));
    auto* drawdown = new QGroupBox(QStringLiteral("Drawdown"), this);
    auto* dl = new QVBoxLayout(drawdown);
    const char* names[3] = {"Color/Grayscale", "Warp", "Weft"};
    for (int i = 0; i < 3; ++i) {
        m_coloring[i] = new QRadioButton(QString::fromLatin1(names[i]), drawdown);
        m_coloring[i]->setChecked(options.coloring == i);
        dl->addWidget(m_coloring[i]);
        connect(m_coloring[i], &QRadioButton::toggled, this, [this](bool on) {
            if (on) readControls();
        });
    }
    const PrintKind kind = PrintKindOf(frame, false);
    m_interlace = new QCheckBox(
        kind == PrintKind::Treadling ? QStringLiteral("Dobby bars") : QStringLiteral("&Interlace"), drawdown);
    m_interlace->setChecked(options.interlace);
    // A threading has nothing to interlace.
    m_interlace->setVisible(kind != PrintKind::Threading);
    dl->addWidget(m_interlace);

    auto* layoutBox = new QGroupBox(QStringLiteral("Layout"), this);
    auto* ll = new QVBoxLayout(layoutBox);
    m_fit = new QCheckBox(QStringLiteral("Size to &Fit"), layoutBox);
    m_fit->setChecked(options.fit);
    ll->addWidget(m_fit);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Scale:"), layoutBox));
    m_scale = new QSpinBox(layoutBox);
    m_scale->setRange(PrintOptions::kMinScale, PrintOptions::kMaxScale);
    m_scale->setValue(std::clamp(options.scale, PrintOptions::kMinScale, PrintOptions::kMaxScale));
    m_scale->setEnabled(!options.fit);
    row->addWidget(m_scale);
    row->addWidget(new QLabel(QStringLiteral("squares/inch"), layoutBox));
    row->addStretch();
    ll->addLayout(row);
    m_pages = new QLabel(layoutBox);
    m_pages->setObjectName(QStringLiteral("pageCount"));
    ll->addWidget(m_pages);

    auto* top = new QVBoxLayout(this);
    top->addWidget(drawdown);
    top->addWidget(layoutBox);
    top->addStretch();

    connect(m_interlace, &QCheckBox::toggled, this, [this] { readControls(); });
    connect(m_fit, &QCheckBox::toggled, this, [this] { readControls(); });
    connect(m_scale, &QSpinBox::valueChanged, this, [this] { readControls(); });
}

void CPrintOptionsTab::readControls()
{
    for (int i = 0; i < 3; ++i)
        if (m_coloring[i]->isChecked()) m_options.coloring = i;
    m_options.interlace = m_interlace->isChecked();
    m_options.fit = m_fit->isChecked();
    m_scale->setEnabled(!m_options.fit);
    if (!m_options.fit) m_options.scale = m_scale->value();
    emit optionsChanged();
}

int CPrintOptionsTab::relayout(QPrinter* printer)
{
    const PrintKind kind = PrintKindOf(m_frame, m_options.interlace);
    DraftPages job(*m_frame->document(), kind, m_options, PaperLookOf(m_frame), QString());
    job.layOut(DraftPages::metricsOf(*printer));
    const PageLayout& l = job.layout();
    if (m_options.fit) {
        // The scale the fitted cells amount to; beyond the box's range it is only shown.
        const QSignalBlocker quiet(m_scale);
        m_scale->setValue(std::clamp(l.effectiveScale, PrintOptions::kMinScale, PrintOptions::kMaxScale));
    }
    m_pages->setText(m_options.fit
                         ? QStringLiteral("%1 squares/inch, %2 page(s)").arg(l.effectiveScale).arg(l.totalPages)
                         : QStringLiteral("%1 page(s)").arg(l.totalPages));
    return l.totalPages;
}

bool PrintFrame(IMainWindow* main, CGridFrame* frame, QPrinter& printer)
{
    PrintOptions options = optionsFor(main);
    auto* tab = new CPrintOptionsTab(frame, options);
    QPrintDialog dialog(&printer, main ? main->window() : nullptr);
    dialog.setOptionTabs({tab});
    auto pagesChanged = [&] {
        const int pages = tab->relayout(&printer);
        dialog.setMinMax(1, std::max(1, pages));
        dialog.setFromTo(1, std::max(1, pages));
        // A page range only means something with more than one page.
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, pages > 1);
    };
    pagesChanged();
    QObject::connect(tab, &CPrintOptionsTab::optionsChanged, &dialog, pagesChanged);
    if (!RunDialog(dialog)) return false;
    SharedPrintOptions() = options;
    return printPages(frame, options, documentName(main, frame), printer) > 0;
}

int PrintFramePages(CGridFrame* frame, const QString& title, QPrinter& printer)
{
    return printPages(frame, SharedPrintOptions(), title, printer);
}

void PreviewFrame(IMainWindow* main, CGridFrame* frame)
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, main ? main->window() : nullptr);
    const PrintOptions options = optionsFor(main);
    const QString title = documentName(main, frame);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&](QPrinter* p) { printPages(frame, options, title, *p); });
    RunDialog(dialog);
}

void AddPrintCommands(IMainWindow* main)
{
    QMenu* file = main->menu(MenuId::File);
    auto printable = [main]() -> IPrintableWindow* {
        QMdiSubWindow* sub = main->mdiArea()->activeSubWindow();
        return sub ? dynamic_cast<IPrintableWindow*>(sub->widget()) : nullptr;
    };
    file->addSeparator();
    QAction* print = file->addAction(QStringLiteral("&Print..."), main->window(), [main, printable] {
        if (IPrintableWindow* h = printable()) return h->printWithDialog();
        if (CGridFrame* f = main->activeGridFrame()) {
            QPrinter printer(QPrinter::HighResolution);
            PrintFrame(main, f, printer);
        }
    });
    print->setShortcut(QKeySequence::Print);
    print->setObjectName(QStringLiteral("filePrint"));
    QAction* preview = file->addAction(QStringLiteral("Print Pre&view"), main->window(), [main, printable] {
        if (IPrintableWindow* h = printable()) {
            QPrinter printer(QPrinter::HighResolution);
            QPrintPreviewDialog dialog(&printer, main->window());
            QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [h](QPrinter* p) { h->print(p); });
            RunDialog(dialog);
            return;
        }
        if (CGridFrame* f = main->activeGridFrame()) PreviewFrame(main, f);
    });
    preview->setObjectName(QStringLiteral("filePrintPreview"));
    QObject::connect(file, &QMenu::aboutToShow, print, [main, printable, print, preview] {
        const bool any = printable() || main->activeGridFrame();
        print->setEnabled(any);
        preview->setEnabled(any);
    });
}

} // namespace qb
