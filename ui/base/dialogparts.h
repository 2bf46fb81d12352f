#pragma once

#include <QDialog>

#include <functional>

class QDialogButtonBox;
class QSpinBox;

namespace qb {

// How the commands run their dialogs: modal by default; tests replace it to
// fill in the controls and press OK without a user.
using DialogRunner = std::function<bool(QDialog& dialog)>;
void SetDialogRunner(DialogRunner runner);
bool RunDialog(QDialog& dialog);

// The pieces every dialog is built from.
QDialogButtonBox* OkCancelButtons(QDialog* d);
QSpinBox* CountSpinBox(QWidget* parent, const char* name, int lo, int hi, int value);

} // namespace qb
