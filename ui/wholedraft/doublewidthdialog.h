#pragma once

#include "core/transform/doublewidth.h"

#include <QDialog>

class QCheckBox;
class QRadioButton;
class QSpinBox;

namespace qb {

// "Double Width": fold edge, tubular, shuttles 1..6, picks per unit.
class CDoubleWidthDialog : public QDialog {
    Q_OBJECT
public:
    explicit CDoubleWidthDialog(QWidget* parent = nullptr);
    DoubleWidthOptions options() const;

private:
    QRadioButton* m_left;
    QRadioButton* m_right;
    QCheckBox* m_tubular;
    QSpinBox* m_shuttles;
    QSpinBox* m_picksPerUnit;
};

} // namespace qb
