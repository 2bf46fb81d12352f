#include "ui/loom/seriallink.h"

#include "core/dobby/dobbyhead.h"

#include <QFileInfo>
#include <QSerialPortInfo>

#include <algorithm>

namespace qb {

CSerialLink::CSerialLink(QObject* parent) : QObject(parent)
{
    // Unbounded: every byte the loom sends is kept until the driver takes it.
    m_port.setReadBufferSize(0);
    connect(&m_port, &QSerialPort::readyRead, this, &CSerialLink::onReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &CSerialLink::onError);
    m_tick.setInterval(1000);
    connect(&m_tick, &QTimer::timeout, this, &CSerialLink::onTick);
    m_clock.start();
}

CSerialLink::~CSerialLink()
{
    close();
}

QStringList CSerialLink::availablePorts()
{
    QStringList ports;
    const auto infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : infos) ports << info.systemLocation();
    ports.sort();
    ports.removeDuplicates();
    return ports;
}

QString CSerialLink::portDevice(const QString& typedPath, int portNum, const QStringList& listed)
{
    const QString typed = typedPath.trimmed();
    if (!typed.isEmpty()) {
        // A path that does not exist is opened as typed, so the message names it.
        const QString canonical = QFileInfo(typed).canonicalFilePath();
        return canonical.isEmpty() ? typed : canonical;
    }
    if (portNum >= 1 && portNum <= listed.size()) return listed.at(portNum - 1);
    return QString();
}

QString CSerialLink::portName(const QString& typedPath, int portNum)
{
    const QString typed = typedPath.trimmed();
    return typed.isEmpty() ? QStringLiteral("COM%1").arg(portNum) : typed;
}

CSerialLink::OpenResult CSerialLink::open(const QString& device, const LineSettings& line)
{
    m_error.clear();
    if (m_port.isOpen()) {
        m_error = QStringLiteral("the port is already open");
        return OpenResult::OpenFailed;
    }
    if (device.isEmpty()) {
        m_error = QStringLiteral("no serial port is chosen");
        return OpenResult::OpenFailed;
    }
    m_port.setPortName(device);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_error = m_port.errorString();
        m_port.clearError();
        return OpenResult::OpenFailed;
    }
    const bool ok = m_port.setBaudRate(line.baud) && m_port.setDataBits(line.dataBits) && m_port.setParity(line.parity)
        && m_port.setStopBits(line.stopBits);
    if (!ok) {
        m_error = m_port.errorString();
        m_port.clearError();
        m_port.close();
        return OpenResult::SetupFailed;
    }
    m_tick.start();
    return OpenResult::Ok;
}

void CSerialLink::attach(CDobbyHead* head)
{
    m_head = head;
    // Bytes that came before the driver was ready are its first input.
    if (m_head && m_port.isOpen() && m_port.bytesAvailable() > 0)
        QTimer::singleShot(0, this, &CSerialLink::onReadyRead);
}

void CSerialLink::detach()
{
    m_head = nullptr;
}

bool CSerialLink::writeOutput()
{
    if (!m_head || !m_head->hasOutput()) return false;
    const std::vector<std::uint8_t> out = m_head->takeOutput();
    if (!m_port.isOpen()) {
        m_head->linkFailed("the port is closed");
        return true;
    }
    const qint64 n = m_port.write(reinterpret_cast<const char*>(out.data()), static_cast<qint64>(out.size()));
    if (n != static_cast<qint64>(out.size())) {
        m_head->linkFailed(m_port.errorString().toStdString());
        return true;
    }
    // Hands the bytes to the device now. Never waitForBytesWritten() here: it
    // would deliver readyRead in the middle of the driver's work.
    m_port.flush();
    return true;
}

void CSerialLink::pump()
{
    writeOutput();
}

void CSerialLink::onReadyRead()
{
    if (m_reading) return;
    m_reading = true;
    // Bytes that arrive while the driver works raise no new signal: look again.
    while (m_head && m_port.isOpen() && m_port.bytesAvailable() > 0) {
        const QByteArray data = m_port.readAll();
        const qint64 readAt = m_clock.nsecsElapsed();
        m_head->onBytes(reinterpret_cast<const std::uint8_t*>(data.constData()), static_cast<std::size_t>(data.size()));
        if (writeOutput()) m_replyTimes.push_back(double(m_clock.nsecsElapsed() - readAt) / 1e6);
        emit activity();
    }
    m_reading = false;
}

void CSerialLink::onError(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::NoError: return;
    case QSerialPort::UnsupportedOperationError:
    case QSerialPort::TimeoutError:
        // Pseudo-terminals have no modem lines; a time-out only ends a wait.
        m_port.clearError();
        return;
    case QSerialPort::ResourceError:
    case QSerialPort::WriteError:
    case QSerialPort::ReadError:
        // An unplugged adapter: nothing more reaches the loom.
        if (m_head && m_port.isOpen()) {
            const QString reason = m_port.errorString();
            m_port.clearError();
            m_head->linkFailed(reason.toStdString());
            emit activity();
        }
        return;
    default: m_port.clearError(); return;
    }
}

void CSerialLink::onTick()
{
    if (!m_head) return;
    m_head->tick();
    writeOutput();
    if (m_head && m_head->hasEvents()) emit activity();
}

void CSerialLink::close()
{
    m_tick.stop();
    writeOutput();
    m_head = nullptr;
    if (!m_port.isOpen()) return;
    // A close right after a write sends nothing: the release must leave first.
    m_port.flush();
    for (int i = 0; i < 20 && m_port.bytesToWrite() > 0; ++i)
        if (!m_port.waitForBytesWritten(100)) break;
    m_port.close();
    m_port.clearError();
}

} // namespace qb
