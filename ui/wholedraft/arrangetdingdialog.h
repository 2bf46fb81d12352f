#pragma once

#include <QDialog>

class QRadioButton;

namespace qb {

// "Arrange": Sequential or Parallel; the choice is kept for the next time.
class CArrangeTdingDialog : public QDialog {
    Q_OBJECT
public:
    explicit CArrangeTdingDialog(QWidget* parent = nullptr);
    bool parallel() const;
    void accept() override;

private:
    QRadioButton* m_sequential;
    QRadioButton* m_parallel;
};

} // namespace qb
