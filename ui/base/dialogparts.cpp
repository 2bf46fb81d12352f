#include "ui/base/dialogparts.h"

#include <QDialogButtonBox>
#include <QSpinBox>

namespace qb {

namespace {

DialogRunner& runner()
{
    static DialogRunner r;
    return r;
}

} // namespace

void SetDialogRunner(DialogRunner r)
{
    runner() = std::move(r);
}

bool RunDialog(QDialog& dialog)
{
    if (runner()) return runner()(dialog);
    return dialog.exec() == QDialog::Accepted;
}

QDialogButtonBox* OkCancelButtons(QDialog* d)
{
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, d);
    QObject::connect(box, &QDialogButtonBox::accepted, d, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, d, &QDialog::reject);
    return box;
}

QSpinBox* CountSpinBox(QWidget* parent, const char* name, int lo, int hi, int value)
{
    auto* s = new QSpinBox(parent);
    s->setObjectName(QLatin1String(name));
    s->setRange(lo, hi);
    s->setValue(value);
    return s;
}

} // namespace qb
