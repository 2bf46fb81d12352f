#include "ui/loom/dobbybars.h"

#include "ui/base/baricons.h"

#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace qb {

namespace {

QLineEdit* makeField(QWidget* parent, const char* name)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    field->setAlignment(Qt::AlignRight);
    field->setMaximumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
    return field;
}

} // namespace

CDobbyHeadBar::CDobbyHeadBar(QWidget* parent) : QToolBar(QStringLiteral("Dobby"), parent)
{
    setObjectName(QStringLiteral("dobbyHeadBar"));
    addWidget(new QLabel(QStringLiteral("Dobby Pick:"), this));
    m_pick = makeField(this, "dobbyPick");
    addWidget(m_pick);
    connect(addButton("samePick", QStringLiteral("Same Shed"), QStringLiteral("Open the previous shed"), false),
            &QToolButton::clicked, this, &CDobbyHeadBar::sameShed);
    connect(addButton("unweave", QStringLiteral("Unweave"),
                      QStringLiteral("Sequentially open the previous shed until toggled off"), true),
            &QToolButton::clicked, this, &CDobbyHeadBar::unweave);
    connect(addButton("reverse", QStringLiteral("Reverse"),
                      QStringLiteral("Set the weaving direction, top-down or bottom-up"), true),
            &QToolButton::clicked, this, &CDobbyHeadBar::reverse);
    connect(addButton("loop", QStringLiteral("Loop"),
                      QStringLiteral("Loop around to repeat a section or weave straight through to the next marker"),
                      true),
            &QToolButton::clicked, this, &CDobbyHeadBar::loop);
    connect(addButton("markers", QStringLiteral("Markers"),
                      QStringLiteral("Set markers to delineate sections, for repeats, color changes and borders"),
                      false),
            &QToolButton::clicked, this, &CDobbyHeadBar::markers);
    connect(addButton("stop", QStringLiteral("Stop"), QStringLiteral("Stop weaving with the dobby head"), false),
            &QToolButton::clicked, this, &CDobbyHeadBar::stop);
}

QToolButton* CDobbyHeadBar::addButton(const char* name, const QString& text, const QString& tip, bool checkable)
{
    auto* b = new QToolButton(this);
    b->setObjectName(QLatin1String(name));
    // The picture on the bar, its name in the tip, what it does on the status line.
    b->setText(text);
    b->setIcon(BarIcon(name));
    b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    b->setToolTip(text);
    b->setStatusTip(tip);
    b->setCheckable(checkable);
    // The button shows the run's state; the controller sets it after the command.
    if (checkable) connect(b, &QToolButton::clicked, b, [b] { b->setChecked(!b->isChecked()); });
    addWidget(b);
    return b;
}

QToolButton* CDobbyHeadBar::button(const char* name) const
{
    return findChild<QToolButton*>(QLatin1String(name));
}

void CDobbyHeadBar::setPick(int shown)
{
    m_pick->setText(QString::number(shown));
}

QString CDobbyHeadBar::pickText() const
{
    return m_pick->text();
}

void CDobbyHeadBar::setToggles(bool unweave, bool reverse, bool loop)
{
    button("unweave")->setChecked(unweave);
    button("reverse")->setChecked(reverse);
    button("loop")->setChecked(loop);
}

void CDobbyHeadBar::setSameShedEnabled(bool on)
{
    button("samePick")->setEnabled(on);
}

CDobbyRepeatCounter::CDobbyRepeatCounter(QWidget* parent) : QToolBar(QStringLiteral("Repeats"), parent)
{
    setObjectName(QStringLiteral("dobbyRepeatCounter"));
    addWidget(new QLabel(QStringLiteral("Repeats:"), this));
    m_count = makeField(this, "repeatCount");
    addWidget(m_count);
}

void CDobbyRepeatCounter::setCount(int count)
{
    m_count->setText(QString::number(count));
}

QString CDobbyRepeatCounter::countText() const
{
    return m_count->text();
}

} // namespace qb
