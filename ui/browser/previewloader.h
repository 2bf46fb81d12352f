#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>

#include <memory>

namespace qb {

class CQuillabyDoc;

// Reads drafts for the browser's preview on a worker thread. Only the
// latest request counts: one read runs at a time, a request made meanwhile
// waits, and a later one replaces it; results of superseded reads are
// dropped. The reader's warnings are not shown, and a file holding both a
// treadling and a liftplan gives its liftplan.
class CPreviewLoader : public QObject {
    Q_OBJECT
public:
    explicit CPreviewLoader(QObject* parent = nullptr);
    ~CPreviewLoader() override;

    void request(const QString& path);
    // The path last asked for.
    QString latest() const { return m_latest; }
    bool busy() const { return m_running; }

    // The read itself (any thread): the draft, or null with a reason.
    static std::unique_ptr<CQuillabyDoc> read(const QString& path, QString* error);

signals:
    // The draft of the latest request, or null with the reason it could not be read.
    void loaded(const QString& path, std::shared_ptr<CQuillabyDoc> doc, const QString& error);

private:
    // By value: callers pass m_pending, which this clears.
    void start(QString path);
    void finished(const QString& path, std::shared_ptr<CQuillabyDoc> doc, const QString& error);

    QThreadPool m_pool;
    QString m_latest;
    QString m_pending;
    bool m_running = false;
};

} // namespace qb
