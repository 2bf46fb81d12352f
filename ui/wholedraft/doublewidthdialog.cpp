#include "ui/wholedraft/doublewidthdialog.h"

#include "ui/base/dialogparts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qb {

CDoubleWidthDialog::CDoubleWidthDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Double Width"));
    auto* fold = new QGroupBox(QStringLiteral("Fold on:"), this);
    m_left = new QRadioButton(QStringLiteral("Left"), fold);
    m_left->setObjectName(QStringLiteral("left"));
    m_right = new QRadioButton(QStringLiteral("Right"), fold);
    m_right->setObjectName(QStringLiteral("right"));
    m_left->setChecked(true);
    auto* f = new QHBoxLayout(fold);
    f->addWidget(m_left);
    f->addWidget(m_right);
    m_tubular = new QCheckBox(QStringLiteral("Tubular"), this);
    m_tubular->setObjectName(QStringLiteral("tubular"));
    connect(m_tubular, &QCheckBox::toggled, this, [this](bool on) {
        m_left->setEnabled(!on);
        m_right->setEnabled(!on);
    });
    m_shuttles = CountSpinBox(this, "shuttles", 1, 6, 1);
    m_picksPerUnit = CountSpinBox(this, "picksPerUnit", 1, 32767, 1);
    auto* shuttles = new QHBoxLayout;
    shuttles->addWidget(new QLabel(QStringLiteral("Number of shuttles:"), this));
    shuttles->addWidget(m_shuttles);
    auto* unit = new QHBoxLayout;
    unit->addWidget(new QLabel(QStringLiteral("Picks per unit:"), this));
    unit->addWidget(m_picksPerUnit);
    auto* v = new QVBoxLayout(this);
    v->addWidget(fold);
    v->addWidget(m_tubular);
    v->addLayout(shuttles);
    v->addLayout(unit);
    v->addWidget(OkCancelButtons(this));
}

DoubleWidthOptions CDoubleWidthDialog::options() const
{
    DoubleWidthOptions o;
    o.foldRight = m_right->isChecked();
    o.tubular = m_tubular->isChecked();
    o.shuttles = m_shuttles->value();
    o.picksPerUnit = m_picksPerUnit->value();
    return o;
}

} // namespace qb
