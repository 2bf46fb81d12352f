#include "ui/app/singleinstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

#include <unistd.h>

namespace qb {

namespace {

// The request is one line: the UTF-8 path, empty for "no file". The primary
// answers "ok" once it has taken the request.
constexpr char kAck[] = "ok\n";
constexpr int kMaxRequest = 64 * 1024;

QString userName()
{
    QString name = qEnvironmentVariable("USER");
    if (name.isEmpty()) name = QDir::home().dirName();
    // The uid makes the name unique even when USER is unset or shared.
    return QStringLiteral("%1-%2").arg(name).arg(::getuid());
}

QString runtimeDir()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    QDir().mkpath(dir);
    return dir;
}

} // namespace

CSingleInstance::CSingleInstance(const QString& key, QObject* parent) : QObject(parent)
{
    QString base = key + QLatin1Char('-') + userName();
    base.replace(QLatin1Char('/'), QLatin1Char('_'));
    const QString dir = runtimeDir();
    m_serverName = dir + QLatin1Char('/') + base;
    m_lockPath = dir + QLatin1Char('/') + base + QStringLiteral(".lock");
}

CSingleInstance::~CSingleInstance()
{
    if (m_server) m_server->close();
}

CSingleInstance::Role CSingleInstance::start(const QString& file, int timeoutMs)
{
    // The lock covers "is anyone there? no: listen", so two simultaneous
    // starts cannot both become primary. QLockFile frees a lock whose owner
    // died, so a crash does not block later starts.
    QLockFile lock(m_lockPath);
    lock.setStaleLockTime(0);
    if (!lock.tryLock(timeoutMs)) {
        m_error = QStringLiteral("Cannot lock %1").arg(m_lockPath);
        return Role::Failed;
    }

    // Ask first: listen() on a name in use would take it away from a
    // running instance.
    {
        QLocalSocket socket;
        socket.connectToServer(m_serverName);
        if (socket.waitForConnected(1000)) {
            lock.unlock();
            return handOver(socket, file, timeoutMs) ? Role::Secondary : Role::Failed;
        }
    }

    // Nobody answers: any socket file left over belongs to a dead instance.
    QLocalServer::removeServer(m_serverName);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_serverName)) {
        m_error = m_server->errorString();
        delete m_server;
        m_server = nullptr;
        return Role::Failed;
    }
    connect(m_server, &QLocalServer::newConnection, this, &CSingleInstance::onNewConnection);
    return Role::Primary;
}

bool CSingleInstance::handOver(QLocalSocket& socket, const QString& file, int timeoutMs)
{
    // A relative path means nothing in the other instance's directory.
    const QString path = file.isEmpty() ? QString() : QFileInfo(file).absoluteFilePath();
    QDeadlineTimer deadline(timeoutMs);
    QByteArray request = path.toUtf8();
    request.replace('\n', ' '); // a path with a newline cannot be handed over intact
    request.append('\n');
    socket.write(request);
    if (!socket.waitForBytesWritten(int(deadline.remainingTime()))) {
        m_error = socket.errorString();
        return false;
    }
    QByteArray reply;
    while (!reply.contains('\n') && !deadline.hasExpired()) {
        if (!socket.waitForReadyRead(int(deadline.remainingTime()))) break;
        reply += socket.readAll();
    }
    if (reply != kAck) {
        m_error = QStringLiteral("The running instance did not answer.");
        return false;
    }
    socket.disconnectFromServer();
    return true;
}

void CSingleInstance::onNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (socket->bytesAvailable() > 0) readRequest(socket);
    }
}

void CSingleInstance::readRequest(QLocalSocket* socket)
{
    if (socket->property("done").toBool()) return;
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kMaxRequest) socket->abort();
        return;
    }
    socket->setProperty("done", true);
    const QString path = QString::fromUtf8(socket->readLine()).chopped(1);
    socket->write(kAck);
    socket->flush();
    // Without a file the second start shows nothing.
    if (!path.isEmpty()) emit fileRequested(path);
}

} // namespace qb
