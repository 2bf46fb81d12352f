#pragma once

#include <QDialog>

class QCheckBox;
class QSpinBox;

namespace qb {

// "Repeat": a count 2..100, or "Single repeat".
class CRepeatDialog : public QDialog {
    Q_OBJECT
public:
    // offerSingle: the "Single repeat" choice (not for repeating a selection).
    explicit CRepeatDialog(QWidget* parent = nullptr, bool offerSingle = true);
    bool singleRepeat() const;
    int times() const;

private:
    QCheckBox* m_single;
    QSpinBox* m_times;
};

} // namespace qb
