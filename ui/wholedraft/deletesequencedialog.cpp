#include "ui/wholedraft/deletesequencedialog.h"

#include "ui/base/dialogparts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace qb {

namespace {

constexpr int kStripCell = 16;

} // namespace

CDeleteThreads::CDeleteThreads(RemovePattern& pattern, QWidget* parent) : QWidget(parent), m_pattern(pattern)
{
    setObjectName(QStringLiteral("strip"));
    setMinimumSize(sizeHint());
}

QSize CDeleteThreads::sizeHint() const
{
    return {kMaxRemovePattern * kStripCell + 1, kStripCell + 1};
}

int CDeleteThreads::cellAt(const QPoint& p) const
{
    const int cell = p.x() / kStripCell;
    return p.x() < 0 || cell >= kMaxRemovePattern ? -1 : cell;
}

void CDeleteThreads::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const auto& keep = m_pattern.keep();
    for (int i = 0; i < kMaxRemovePattern; ++i) {
        const QRect r(i * kStripCell, 0, kStripCell, kStripCell);
        const bool used = i < int(keep.size());
        p.fillRect(r, !used ? palette().window().color() : (keep[i] ? QColor(Qt::white) : QColor(Qt::black)));
        p.setPen(used ? Qt::gray : Qt::lightGray);
        p.drawRect(r);
    }
}

void CDeleteThreads::mousePressEvent(QMouseEvent* e)
{
    const int cell = cellAt(e->position().toPoint());
    if (cell < 0) return;
    if (e->button() == Qt::LeftButton) m_pattern.click(cell);
    else if (e->button() == Qt::RightButton) m_pattern.truncate(cell);
    update();
}

CDeleteSequenceDialog::CDeleteSequenceDialog(bool threading, QWidget* parent) : QDialog(parent), m_work(stored())
{
    setWindowTitle(threading ? QStringLiteral("Remove from Threading") : QStringLiteral("Remove from Treadling"));
    auto* v = new QVBoxLayout(this);
    v->addWidget(
        new QLabel(QStringLiteral("Left-click to toggle threads to delete\nRight-click to clear entries"), this));
    v->addWidget(new CDeleteThreads(m_work, this));
    v->addWidget(OkCancelButtons(this));
}

RemovePattern& CDeleteSequenceDialog::stored()
{
    static RemovePattern pattern;
    return pattern;
}

void CDeleteSequenceDialog::accept()
{
    stored() = m_work;
    QDialog::accept();
}

} // namespace qb
