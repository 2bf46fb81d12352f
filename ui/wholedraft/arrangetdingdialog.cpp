#include "ui/wholedraft/arrangetdingdialog.h"

#include "ui/base/dialogparts.h"

#include <QDialogButtonBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qb {

namespace {

// Kept until the program ends.
bool s_arrangeParallel = false;

} // namespace

CArrangeTdingDialog::CArrangeTdingDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Arrange"));
    m_sequential = new QRadioButton(QStringLiteral("Sequential"), this);
    m_sequential->setObjectName(QStringLiteral("sequential"));
    m_parallel = new QRadioButton(QStringLiteral("Parallel"), this);
    m_parallel->setObjectName(QStringLiteral("parallel"));
    (s_arrangeParallel ? m_parallel : m_sequential)->setChecked(true);
    auto* v = new QVBoxLayout(this);
    v->addWidget(m_sequential);
    v->addWidget(m_parallel);
    v->addWidget(OkCancelButtons(this));
}

bool CArrangeTdingDialog::parallel() const
{
    return m_parallel->isChecked();
}

void CArrangeTdingDialog::accept()
{
    s_arrangeParallel = parallel();
    QDialog::accept();
}

} // namespace qb
