#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace qb {

// One running instance per user login. The first instance listens on a
// local socket; a later start connects, hands over the absolute path of the
// file it was asked to open (or nothing) and ends.
class CSingleInstance : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kDefaultKey = "com.OxbelleSoftware.Quillaby";

    enum class Role { Primary, Secondary, Failed };

    // `key` names the instance group; the user name is appended.
    explicit CSingleInstance(const QString& key = QLatin1String(kDefaultKey), QObject* parent = nullptr);
    ~CSingleInstance() override;

    // Becomes the primary instance, or hands `file` (may be empty) to the
    // running one. A socket left by a crashed instance is removed.
    Role start(const QString& file = QString(), int timeoutMs = 5000);

    // The socket path and lock file (both under the runtime directory).
    QString serverName() const { return m_serverName; }
    QString lockPath() const { return m_lockPath; }
    QString errorString() const { return m_error; }

signals:
    // Another start asked for this file (an absolute path).
    void fileRequested(const QString& path);

private:
    bool handOver(QLocalSocket& socket, const QString& file, int timeoutMs);
    void onNewConnection();
    void readRequest(QLocalSocket* socket);

    QString m_serverName;
    QString m_lockPath;
    QString m_error;
    QLocalServer* m_server = nullptr;
};

} // namespace qb
