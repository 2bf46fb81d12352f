#include "ui/heddles/threadthicknessdialog.h"

#include "ui/base/commandstep.h"
#include "ui/base/dialogparts.h"
#include "ui/base/imainwindow.h"
#include "ui/views/draftwindow.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QVBoxLayout>

#include <cmath>

namespace qb {

namespace {

// The pattern last confirmed, offered again for the program's run.
ThicknessPattern& lastPattern()
{
    static ThicknessPattern p;
    return p;
}

} // namespace

CThicknessWnd::CThicknessWnd(ThicknessPattern& pattern, QWidget* parent)
    : QWidget(parent)
    , m_pattern(pattern)
    , m_cell(std::max(6, int(std::lround(0.78 * style()->pixelMetric(QStyle::PM_ScrollBarExtent)))))
{
    setObjectName(QStringLiteral("thicknessGrid"));
    setFixedSize(sizeHint());
    setMouseTracking(false);
}

QSize CThicknessWnd::sizeHint() const
{
    return {ThicknessPattern::kCells * m_cell + 1, m_cell + 1};
}

QRect CThicknessWnd::cellRect(int cell) const
{
    return {cell * m_cell, 0, m_cell + 1, m_cell + 1};
}

int CThicknessWnd::cellAt(QPoint p) const
{
    if (p.x() < 0 || p.y() < 0 || p.y() > m_cell) return -1;
    const int c = p.x() / m_cell;
    return c < ThicknessPattern::kCells ? c : -1;
}

void CThicknessWnd::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    for (int k = 0; k < m_pattern.size(); ++k) {
        const QRect in = cellRect(k).adjusted(1, 1, -1, -1);
        if (m_pattern.thick()[k]) {
            p.fillRect(in, Qt::black);
            continue;
        }
        // The dot glyph: a filled circle in a centred square of 2/3 the cell.
        const int side = 2 * std::min(in.width(), in.height()) / 3 + 1;
        const QRect dot(in.center().x() - side / 2, in.center().y() - side / 2, side, side);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawEllipse(dot);
        p.setRenderHint(QPainter::Antialiasing, false);
    }
    const QColor grey(128, 128, 128);
    for (int k = 0; k <= ThicknessPattern::kCells; ++k) p.fillRect(k * m_cell, 0, 1, m_cell + 1, grey);
    p.fillRect(0, 0, width(), 1, grey);
    p.fillRect(0, m_cell, width(), 1, grey);
}

void CThicknessWnd::act(int cell)
{
    if (cell < 0) return;
    if (m_toggling) m_pattern.toggle(cell);
    else m_pattern.remove(cell);
    update();
}

void CThicknessWnd::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton && e->button() != Qt::RightButton) return;
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    m_toggling = (e->button() == Qt::LeftButton) != shift;
    m_last = cellAt(e->position().toPoint());
    act(m_last);
}

void CThicknessWnd::mouseMoveEvent(QMouseEvent* e)
{
    if (!(e->buttons() & (Qt::LeftButton | Qt::RightButton))) return;
    const int c = cellAt(e->position().toPoint());
    if (c < 0 || c == m_last) return;
    m_last = c;
    act(c);
}

void CThicknessWnd::mouseReleaseEvent(QMouseEvent*)
{
    m_last = -1;
}

CThreadThicknessDialog::CThreadThicknessDialog(const ThicknessPattern& initial, QWidget* parent)
    : QDialog(parent)
    , m_pattern(initial)
{
    setWindowTitle(QStringLiteral("Thread Thickness"));
    m_grid = new CThicknessWnd(m_pattern, this);
    auto* hint = new QLabel(QStringLiteral("Left-click to toggle thick and thin\nRight-click to clear entries"), this);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(m_grid);
    row->addStretch();
    auto* v = new QVBoxLayout(this);
    v->addWidget(hint);
    v->addSpacing(m_grid->cellSize());
    v->addLayout(row);
    v->addSpacing(m_grid->cellSize());
    v->addWidget(OkCancelButtons(this));
}

bool RunThreadThickness(IMainWindow* main, bool warp)
{
    CDraftWindow* w = main->activeDraftWindow();
    if (!w) return false;
    CThreadThicknessDialog dialog(lastPattern(), main->window());
    if (!RunDialog(dialog)) return false;
    lastPattern() = dialog.pattern();
    const std::vector<bool> thick = dialog.pattern().thick();
    CQuillabyDoc& doc = w->document();
    const Side side = warp ? Side::Threading : Side::Treadling;
    return RunCommandStep(main, w->document(), warp ? "Warp Thickness" : "Weft Thickness",
                          [&](Edit e) { return ApplyThicknessPattern(e, doc, side, thick); })
        .done();
}

} // namespace qb
