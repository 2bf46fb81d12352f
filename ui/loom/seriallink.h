#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QSerialPort>
#include <QStringList>
#include <QTimer>

#include <cstdint>
#include <vector>

namespace qb {

class CDobbyHead;

// The serial port under a dobby head driver, in the event loop (no thread):
// opens the device with the head's line settings, hands every received byte to
// the driver, writes what the driver queued and flushes it at once, ticks the
// driver once a second, and tells the driver when the line fails. It only
// moves bytes; the owner reads the driver's events on activity().
class CSerialLink : public QObject {
    Q_OBJECT
public:
    enum class OpenResult { Ok, OpenFailed, SetupFailed };

    struct LineSettings {
        int baud = 9600;
        QSerialPort::DataBits dataBits = QSerialPort::Data8;
        QSerialPort::Parity parity = QSerialPort::NoParity;
        QSerialPort::StopBits stopBits = QSerialPort::OneStop;
    };

    explicit CSerialLink(QObject* parent = nullptr);
    // Writes what is pending and closes the port.
    ~CSerialLink() override;

    // The serial devices of this machine, sorted. Pseudo-terminals are never
    // listed: the weaver types their path.
    static QStringList availablePorts();
    // The device to open for a stored port: a typed path wins (resolved, so a
    // symlink and its target are one device); else the port number counts
    // from 1 in the list. Empty when neither names a device.
    static QString portDevice(const QString& typedPath, int portNum, const QStringList& listed);
    // How the weaver reads the port in messages: the path, or "COM%d".
    static QString portName(const QString& typedPath, int portNum);

    OpenResult open(const QString& device, const LineSettings& line);
    bool isOpen() const { return m_port.isOpen(); }
    QString errorString() const { return m_error; }
    QSerialPort& port() { return m_port; }

    // Moves bytes between `head` and the port until detach() or close().
    void attach(CDobbyHead* head);
    void detach();
    CDobbyHead* head() const { return m_head; }
    // Writes what the driver queued; after every command given to the driver.
    // A failed write goes to the driver as a lost link.
    void pump();
    // Writes what is pending (the release), waits for it to leave, closes.
    void close();

    // Milliseconds from reading a burst to writing the driver's answer to it,
    // for every burst that had one.
    const std::vector<double>& replyTimes() const { return m_replyTimes; }

signals:
    // The driver may have events: the owner takes them.
    void activity();

private slots:
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);
    void onTick();

private:
    bool writeOutput();

    QSerialPort m_port;
    QTimer m_tick;
    CDobbyHead* m_head = nullptr;
    QString m_error;
    QElapsedTimer m_clock;
    std::vector<double> m_replyTimes;
    bool m_reading = false;
};

} // namespace qb
