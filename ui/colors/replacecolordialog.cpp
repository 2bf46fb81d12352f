#include "ui/colors/replacecolordialog.h"

#include "ui/base/colorchooser.h"
#include "ui/base/imainwindow.h"
#include "ui/views/draftwindow.h"

#include "core/draft/palettetools.h"
#include "ui/views/draftframe.h"
#include "ui/views/tdinggridview.h"
#include "ui/views/tools/panetool.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>

namespace qb {

namespace {

// Kept between uses, as a color value (indexes change with the palette).
COLORREF s_oldColor = 0;
bool s_oldSet = false;

QIcon swatchIcon(COLORREF c)
{
    QPixmap px(16, 12);
    px.fill(QColor(red(c), green(c), blue(c)));
    return QIcon(px);
}

} // namespace

CReplaceColorDialog::CReplaceColorDialog(CDraftWindow* w, QWidget* parent) : QDialog(parent), m_w(w)
{
    setWindowTitle(QStringLiteral("Replace Color"));
    auto* form = new QFormLayout(this);
    m_warp = new QCheckBox(QStringLiteral("Warp"), this);
    m_weft = new QCheckBox(QStringLiteral("Weft"), this);
    m_warp->setChecked(true);
    m_weft->setChecked(true);
    form->addRow(m_warp);
    form->addRow(m_weft);
    m_old = new QComboBox(this);
    m_new = new QComboBox(this);
    const ColorPalette& pal = w->document().palette();
    const int old = s_oldSet && pal.find(s_oldColor) >= 0 ? pal.find(s_oldColor) : 0;
    fill(m_old, old);
    fill(m_new, pal.leftColor());
    auto pickRow = [this](QComboBox* box, const QString& button, int which) {
        auto* row = new QWidget(this);
        auto* h = new QHBoxLayout(row);
        h->setContentsMargins(0, 0, 0, 0);
        auto* pick = new QPushButton(button, row);
        pick->setToolTip(QStringLiteral("Press, then release over a color bar"));
        h->addWidget(box, 1);
        h->addWidget(pick);
        connect(pick, &QPushButton::pressed, this, [this, which] {
            m_picking = which;
            grabMouse(Qt::CrossCursor);
        });
        return row;
    };
    form->addRow(QStringLiteral("Replace:"), pickRow(m_old, QStringLiteral("Old"), 1));
    form->addRow(QStringLiteral("With:"), pickRow(m_new, QStringLiteral("New"), 2));
    auto* newColor = new QPushButton(QStringLiteral("New Color"), this);
    form->addRow(newColor);
    connect(newColor, &QPushButton::clicked, this, [this] {
        CQuillabyDoc& doc = m_w->document();
        const COLORREF cur = doc.palette().color(m_new->currentData().toInt());
        const std::optional<QColor> c = AskColor(QColor(red(cur), green(cur), blue(cur)));
        if (!c) return;
        int at = -1;
        doc.Transaction("Choose New Color", [&](Edit e) {
            at = PlaceNewColor(e, doc, rgb(c->red(), c->green(), c->blue()), {m_old->currentData().toInt()});
        });
        if (at < 0) return;
        fill(m_old, m_old->currentData().toInt());
        fill(m_new, at);
    });
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(box);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CReplaceColorDialog::fill(QComboBox* box, int current)
{
    const ColorPalette& pal = m_w->document().palette();
    box->clear();
    for (int i = 0; i < pal.count(); ++i)
        box->addItem(swatchIcon(pal.color(i)), QString::fromStdString(pal.name(i)), i);
    box->setCurrentIndex(std::clamp(current, 0, std::max(0, pal.count() - 1)));
}

bool CReplaceColorDialog::apply()
{
    CQuillabyDoc& doc = m_w->document();
    const int from = m_old->currentData().toInt(), to = m_new->currentData().toInt();
    s_oldColor = doc.palette().color(from);
    s_oldSet = true;
    if (from == to || (!m_warp->isChecked() && !m_weft->isChecked())) return false;
    bool any = false;
    doc.Transaction("Replace Color", [&](Edit e) {
        any = ReplaceThreadColor(e, doc, from, to, m_warp->isChecked(), m_weft->isChecked());
    });
    return any;
}

void CReplaceColorDialog::mouseReleaseEvent(QMouseEvent* e)
{
    if (!m_picking) return QDialog::mouseReleaseEvent(e);
    releaseMouse();
    const QPoint global = e->globalPosition().toPoint();
    pickAt(QApplication::widgetAt(global), global, m_picking == 1);
    m_picking = 0;
}

bool CReplaceColorDialog::pickAt(QWidget* under, QPoint globalPos, bool old)
{
    // Over the dialog itself nothing is picked.
    for (QWidget* w = under; w; w = w->parentWidget())
        if (w == this) return false;
    CGridView* pane = nullptr;
    for (QWidget* w = under; w && !pane; w = w->parentWidget()) pane = qobject_cast<CGridView*>(w);
    if (!pane || pane->document() != &m_w->document()) return false;
    const int color = pane->tool().colorAt(pane->viewport()->mapFromGlobal(globalPos));
    if (color < 0 || color >= m_w->document().palette().count()) return false;
    (old ? m_old : m_new)->setCurrentIndex(color);
    if (old && pane->paneKind() == PaneKind::Threading) m_warp->setChecked(true);
    if (old && pane->paneKind() == PaneKind::Treadling) m_weft->setChecked(true);
    return true;
}

void RunReplaceColor(IMainWindow* main, CDraftWindow* w)
{
    CReplaceColorDialog dlg(w, main->window());
    if (dlg.exec() == QDialog::Accepted) dlg.apply();
}

} // namespace qb
