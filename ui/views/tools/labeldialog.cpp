#include "ui/views/tools/labeldialog.h"

#include "ui/views/tools/toolstate.h"

#include "core/draft/limits.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>

namespace qb {

namespace {
LabelDialogRunner s_runner;
}

CLabelDialog::CLabelDialog(const LabelRequest& req, QWidget* parent) : QDialog(parent), m_req(req)
{
    setWindowTitle(QStringLiteral("Label"));
    auto* form = new QFormLayout(this);
    m_text = new QLineEdit(QString::fromStdString(req.text), this);
    form->addRow(m_text);
    m_from = new QSpinBox(this);
    m_to = new QSpinBox(this);
    for (QSpinBox* s : {m_from, m_to}) s->setRange(1, kMaxThreads);
    m_from->setValue(req.from);
    m_to->setValue(req.to);
    form->addRow(QStringLiteral("from:"), m_from);
    form->addRow(QStringLiteral("to:"), m_to);
    m_delete = new QCheckBox(QStringLiteral("Delete this label"), this);
    form->addRow(m_delete);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(box);
    connect(box, &QDialogButtonBox::accepted, this, &CLabelDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

LabelRequest CLabelDialog::request() const
{
    LabelRequest r = m_req;
    r.text = m_text->text().toStdString();
    r.from = m_from->value();
    r.to = m_to->value();
    r.remove = m_delete->isChecked();
    return r;
}

void CLabelDialog::accept()
{
    const LabelRequest r = request();
    const std::string problem = r.remove ? std::string() : LabelTextProblem(r.text);
    if (!problem.empty()) {
        CToolState::instance().tell(QString::fromStdString(problem));
        return;
    }
    QDialog::accept();
}

void SetLabelDialogRunner(LabelDialogRunner r)
{
    s_runner = std::move(r);
}

bool RunLabelDialog(QWidget* parent, LabelRequest& req)
{
    if (s_runner) return s_runner(req);
    CLabelDialog dlg(req, parent);
    if (dlg.exec() != QDialog::Accepted) return false;
    req = dlg.request();
    return true;
}

} // namespace qb
