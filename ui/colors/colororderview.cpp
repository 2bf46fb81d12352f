#include "ui/colors/colororderview.h"

#include "ui/base/imainwindow.h"
#include "ui/colors/replacecolordialog.h"
#include "ui/views/draftwindow.h"

#include "core/draft/palettetools.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qb {

CColorOrderView::CColorOrderView(CDraftWindow* w, bool warp, QWidget* parent) : QWidget(parent), m_w(w), m_warp(warp)
{
    auto* lay = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    m_heading = new QLabel(this);
    m_perUnit = new QSpinBox(this);
    m_perUnit->setRange(1, 9999);
    m_perUnit->setValue(1);
    top->addWidget(m_heading);
    top->addWidget(m_perUnit);
    top->addStretch();
    lay->addLayout(top);
    m_legendBox = new QWidget(this);
    m_legend = new QGridLayout(m_legendBox);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(m_legendBox);
    scroll->setWidgetResizable(true);
    lay->addWidget(scroll, 1);
    m_table = new QPlainTextEdit(this);
    m_table->setReadOnly(true);
    m_table->setFont(QFont(QStringLiteral("Monospace")));
    lay->addWidget(m_table, 2);
    connect(m_perUnit, &QSpinBox::valueChanged, this, [this] { rebuild(); });
    connect(w, &CDraftWindow::documentChanged, this, [this] { rebuild(); });
    rebuild();
}

QString CColorOrderView::tableText() const
{
    return m_table->toPlainText();
}

void CColorOrderView::rebuild()
{
    if (!m_w) return;
    CQuillabyDoc& doc = m_w->document();
    m_heading->setText(QStringLiteral("%1: %2").arg(QStringLiteral("Threads per unit")).arg(m_perUnit->value()));
    const Tding* seq = m_warp ? static_cast<const Tding*>(doc.threading(0)) : doc.treadling(0);
    const int n = m_warp ? doc.numEnds() : doc.numPicks();
    if (!seq) return;
    const ColorPalette& pal = doc.palette();
    const std::vector<ColorRun> totals = ColorTotals(*seq, n);

    // The legend: one line per color in use, its name editable.
    while (QLayoutItem* item = m_legend->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    m_legendLines = 0;
    for (const ColorRun& t : totals) {
        const COLORREF c = pal.color(t.color);
        auto* sw = new QLabel(m_legendBox);
        const int h = fontMetrics().height();
        sw->setFixedSize(h * 3 / 2, h);
        sw->setStyleSheet(QStringLiteral("background: rgb(%1,%2,%3); border: 1px solid gray;")
                              .arg(red(c))
                              .arg(green(c))
                              .arg(blue(c)));
        auto* name = new QLineEdit(QString::fromStdString(pal.name(t.color)), m_legendBox);
        name->setMaxLength(ColorPalette::kMaxName);
        const int index = t.color;
        // One step per name, when the weaver leaves the field.
        connect(name, &QLineEdit::editingFinished, this, [this, index, name] {
            if (!m_w) return;
            CQuillabyDoc& doc = m_w->document();
            const std::string text = name->text().left(ColorPalette::kMaxName).toStdString();
            doc.Transaction("Color Name", [&](Edit e) { RenameColor(e, doc, index, text); });
            m_w->refreshTitle();
        });
        m_legend->addWidget(sw, m_legendLines, 0);
        m_legend->addWidget(name, m_legendLines, 1);
        ++m_legendLines;
    }
    m_legend->setRowStretch(m_legendLines, 1);

    QString text;
    const int unit = m_perUnit->value();
    text += QStringLiteral("Runs (threads):\n");
    for (const ColorRun& r : ColorRuns(*seq, n)) {
        const QString name = QString::fromStdString(pal.name(r.color));
        text += QStringLiteral("  %1  %2").arg(name, -12).arg(r.count, 6);
        if (unit > 1) text += QStringLiteral("  (%1 units)").arg(double(r.count) / unit, 0, 'g', 4);
        text += QLatin1Char('\n');
    }
    text += QStringLiteral("\nTotals:\n");
    for (const ColorRun& t : totals)
        text += QStringLiteral("  %1  %2\n").arg(QString::fromStdString(pal.name(t.color)), -12).arg(t.count, 6);
    text += QStringLiteral("  %1  %2\n").arg(QStringLiteral("all"), -12).arg(n, 6);
    m_table->setPlainText(text);
}

void OpenColorOrder(IMainWindow* main, bool warp)
{
    CDraftWindow* w = main->activeDraftWindow();
    if (!w) return;
    auto* view = new CColorOrderView(w, warp);
    view->setAttribute(Qt::WA_DeleteOnClose);
    const QString kind = warp ? QStringLiteral("Warp Color Order") : QStringLiteral("Weft Color Order");
    view->setWindowTitle(QStringLiteral("%1 <%2>").arg(kind, w->title()));
    QMdiSubWindow* sub = main->mdiArea()->addSubWindow(view);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // The window closes with its draft.
    QObject::connect(w, &QObject::destroyed, sub, &QWidget::close);
    sub->resize(420, 480);
    sub->show();
}

} // namespace qb
