#include "ui/wholedraft/addtabbydialog.h"

#include "ui/base/dialogparts.h"
#include "ui/views/gridview.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qb {

namespace {

// Kept until the program ends.
COLORREF s_tabbyColor = rgb(255, 255, 255);

} // namespace

CAddTabbyDialog::CAddTabbyDialog(QWidget* parent) : QDialog(parent), m_color(s_tabbyColor)
{
    setWindowTitle(QStringLiteral("Add Tabby"));
    m_ground = CountSpinBox(this, "ground", 2, 64, 2);
    m_addTreadles = new QCheckBox(QStringLiteral("Add treadles for tabby picks"), this);
    m_addTreadles->setObjectName(QStringLiteral("addTreadles"));
    m_colorButton = new QPushButton(this);
    m_colorButton->setObjectName(QStringLiteral("color"));
    m_colorButton->setFixedSize(40, 24);
    auto* newColor = new QPushButton(QStringLiteral("New Color"), this);
    connect(newColor, &QPushButton::clicked, this, [this] {
        const QColor c = QColorDialog::getColor(QColor(red(m_color), green(m_color), blue(m_color)), this);
        if (c.isValid()) setTabbyColor(rgb(c.red(), c.green(), c.blue()));
    });
    connect(m_colorButton, &QPushButton::clicked, newColor, &QPushButton::click);
    auto* pick = new QPushButton(QStringLiteral("Pick"), this);
    pick->setObjectName(QStringLiteral("pick"));
    pick->setToolTip(QStringLiteral("Click, then click a color in a draft pane"));
    connect(pick, &QPushButton::clicked, this, &CAddTabbyDialog::startPicking);

    auto* ground = new QHBoxLayout;
    ground->addWidget(new QLabel(QStringLiteral("Number of treadles used for ground"), this));
    ground->addWidget(m_ground);
    auto* color = new QHBoxLayout;
    color->addWidget(new QLabel(QStringLiteral("Tabby color:"), this));
    color->addWidget(m_colorButton);
    color->addWidget(newColor);
    color->addWidget(pick);
    color->addStretch();
    auto* note = new QLabel(
        QStringLiteral("The treadles used for tabby must be the first ones on the left-hand side of the treadling.\n\n"
                       "If there are treadles already allocated to the ground weave for this draft but they are not "
                       "to the left of all the other treadles, Cancel this window and use the Move tool to "
                       "reposition them before proceeding."),
        this);
    note->setWordWrap(true);
    auto* v = new QVBoxLayout(this);
    v->addLayout(ground);
    v->addWidget(m_addTreadles);
    v->addLayout(color);
    v->addWidget(note);
    v->addWidget(OkCancelButtons(this));
    showColor();
}

void CAddTabbyDialog::setTabbyColor(COLORREF c)
{
    m_color = c;
    showColor();
}

void CAddTabbyDialog::showColor()
{
    m_colorButton->setStyleSheet(
        QStringLiteral("background-color: rgb(%1, %2, %3);").arg(red(m_color)).arg(green(m_color)).arg(blue(m_color)));
}

void CAddTabbyDialog::startPicking()
{
    m_picking = true;
    grabMouse(Qt::CrossCursor);
}

void CAddTabbyDialog::mousePressEvent(QMouseEvent* e)
{
    if (!m_picking) {
        QDialog::mousePressEvent(e);
        return;
    }
    m_picking = false;
    releaseMouse();
    const QPoint global = e->globalPosition().toPoint();
    QColor c;
    QWidget* under = QApplication::widgetAt(global);
    if (under && under->window() != this && ColorQuery(under, global, c))
        setTabbyColor(rgb(c.red(), c.green(), c.blue()));
}

bool ColorQuery(QWidget* widget, const QPoint& globalPos, QColor& color)
{
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        const QVariant v = w->property("color");
        if (v.canConvert<QColor>() && v.value<QColor>().isValid()) {
            color = v.value<QColor>();
            return true;
        }
        if (auto* pane = qobject_cast<CGridView*>(w)) {
            QWidget* surface = pane->viewport();
            const QPoint local = surface->mapFromGlobal(globalPos);
            if (!surface->rect().contains(local)) return false;
            const QImage img = surface->grab(QRect(local, QSize(1, 1))).toImage();
            if (img.isNull()) return false;
            color = img.pixelColor(0, 0);
            return true;
        }
    }
    return false;
}

AddTabbyOptions CAddTabbyDialog::options() const
{
    AddTabbyOptions o;
    o.groundTreadles = m_ground->value();
    o.addTreadles = m_addTreadles->isChecked();
    o.tabbyColor = m_color;
    return o;
}

void CAddTabbyDialog::accept()
{
    s_tabbyColor = m_color;
    QDialog::accept();
}

} // namespace qb
