#include "ui/views/tools/repeatdialog.h"

#include "ui/base/dialogparts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qb {

CRepeatDialog::CRepeatDialog(QWidget* parent, bool offerSingle) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Repeat"));
    m_single = new QCheckBox(QStringLiteral("Single repeat"), this);
    m_single->setObjectName(QStringLiteral("single"));
    m_times = CountSpinBox(this, "times", 2, 100, 2);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Repeat"), this));
    row->addWidget(m_times);
    row->addWidget(new QLabel(QStringLiteral("times"), this));
    auto* v = new QVBoxLayout(this);
    v->addWidget(m_single);
    v->addLayout(row);
    v->addWidget(OkCancelButtons(this));
    m_single->setVisible(offerSingle);
    connect(m_single, &QCheckBox::toggled, m_times, [this](bool on) { m_times->setEnabled(!on); });
}

bool CRepeatDialog::singleRepeat() const
{
    return m_single->isChecked() || m_times->value() < 2;
}

int CRepeatDialog::times() const
{
    return m_times->value();
}

} // namespace qb
