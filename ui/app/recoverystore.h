#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <memory>
#include <vector>

class QLockFile;

namespace qb {

class CQuillabyDoc;

// A draft copy left behind by a run that ended without closing it.
struct RecoveredDraft {
    QString draftFile; // the copy, a .qlb file
    QString infoFile;  // where it came from
    QString path;      // the draft's own file; empty for an untitled draft
    QString title;     // its window title then
    QDateTime saved;   // when the copy was written
};

// The recovery folder ($XDG_STATE_HOME/quillaby/recovery). Each run keeps
// its copies in a folder of its own, guarded by a lock file beside it for
// as long as it runs: a folder whose lock is free belongs to a run that
// crashed, was killed or was stopped by a signal.
class CRecoveryStore {
public:
    // `root` empty: defaultRoot().
    explicit CRecoveryStore(const QString& root = QString());
    // Removes this run's folder unless keepCopies() was called.
    ~CRecoveryStore();
    CRecoveryStore(const CRecoveryStore&) = delete;
    CRecoveryStore& operator=(const CRecoveryStore&) = delete;

    static QString defaultRoot();
    QString root() const { return m_root; }
    QString sessionDir() const;

    // Writes (or replaces) copy `key` of this run: the draft as it stands,
    // not stamped with a save date, then its description; each file is
    // replaced only once the new one is safely on disk.
    bool write(int key, const CQuillabyDoc& doc, const QString& path, const QString& title, QString* error = nullptr);
    void remove(int key);
    bool contains(int key) const;
    // A clean end removes every copy; after a signal they are left for the next start.
    void keepCopies() { m_keep = true; }

    // Copies of runs that are gone, oldest first. Their runs' locks are held
    // until releaseRecovered(), so a second start does not offer them too.
    QList<RecoveredDraft> recovered();
    // Deletes one of them (restored or discarded).
    static void discard(const RecoveredDraft& draft);
    // Removes the emptied folders of those runs and frees their locks.
    void releaseRecovered();

private:
    bool openSession(QString* error);
    QString draftFile(int key) const;
    QString infoFile(int key) const;

    QString m_root;
    QString m_session; // folder name of this run, empty until the first copy
    std::unique_ptr<QLockFile> m_lock;
    std::vector<std::pair<QString, std::unique_ptr<QLockFile>>> m_taken; // runs being recovered
    bool m_keep = false;
};

} // namespace qb
