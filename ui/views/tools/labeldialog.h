#pragma once

#include "core/draft/labeledit.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace qb {

// "Label": the text, "from:" and "to:" thread numbers and "Delete this
// label". OK refuses a text the draft file could not keep, with a message.
class CLabelDialog : public QDialog {
    Q_OBJECT
public:
    CLabelDialog(const LabelRequest& req, QWidget* parent = nullptr);
    LabelRequest request() const;
    void accept() override;

    QLineEdit* textBox() const { return m_text; }

private:
    LabelRequest m_req;
    QLineEdit* m_text;
    QSpinBox* m_from;
    QSpinBox* m_to;
    QCheckBox* m_delete;
};

// Shows the dialog on `req`; true with `req` updated on OK. Tests put their
// own runner in place of the dialog.
bool RunLabelDialog(QWidget* parent, LabelRequest& req);
using LabelDialogRunner = std::function<bool(LabelRequest&)>;
void SetLabelDialogRunner(LabelDialogRunner r);

} // namespace qb
