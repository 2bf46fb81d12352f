#pragma once

#include <QObject>

class QSocketNotifier;

namespace qb {

// SIGTERM, SIGHUP and SIGINT (logout, shutdown, a closed terminal, Ctrl+C)
// as a Qt signal on the event loop: the handler only writes a byte to a
// socket pair, which a notifier reads. One at a time per process.
class CTermSignal : public QObject {
    Q_OBJECT
public:
    explicit CTermSignal(QObject* parent = nullptr);
    ~CTermSignal() override;
    // False when the socket pair or the handlers could not be set up.
    bool isInstalled() const { return m_notifier != nullptr; }

signals:
    void received(int signalNumber);

private:
    void readSignal();
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace qb
