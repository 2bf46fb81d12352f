#pragma once

#include <QDialog>

class QPushButton;

namespace qb {

// The window the loom's time-out opens: "Dobby Timed Out" with Continue. It
// stays open, without blocking the run's other commands, until the weaver
// (or the head itself, once its status is clear again) continues.
class CDobbyTimedOutDialog : public QDialog {
    Q_OBJECT
public:
    explicit CDobbyTimedOutDialog(QWidget* parent = nullptr);
    QPushButton* continueButton() const { return m_continue; }

signals:
    void continuePressed();

protected:
    // Closing the window is not continuing: the loom still waits.
    void reject() override {}

private:
    QPushButton* m_continue = nullptr;
};

} // namespace qb
