#include "ui/app/recoverystore.h"

#include "core/draft/quillabydoc.h"
#include "core/wif/wifwriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QUrl>

#include <algorithm>

namespace qb {

namespace {

const QString kLockSuffix = QStringLiteral(".lock");

// One "key=value" a line, values percent-encoded so a path may hold anything.
QByteArray infoText(const QString& path, const QString& title, const QDateTime& saved)
{
    QByteArray text;
    text += "Path=" + QUrl::toPercentEncoding(path) + '\n';
    text += "Title=" + QUrl::toPercentEncoding(title) + '\n';
    text += "Saved=" + saved.toUTC().toString(Qt::ISODateWithMs).toLatin1() + '\n';
    return text;
}

bool readInfo(const QString& file, RecoveredDraft& out)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return false;
    bool hasPath = false;
    while (!f.atEnd()) {
        const QByteArray line = f.readLine().trimmed();
        const int eq = line.indexOf('=');
        if (eq < 0) continue;
        const QByteArray key = line.left(eq);
        const QByteArray value = line.mid(eq + 1);
        if (key == "Path") {
            out.path = QUrl::fromPercentEncoding(value);
            hasPath = true;
        } else if (key == "Title") {
            out.title = QUrl::fromPercentEncoding(value);
        } else if (key == "Saved") {
            out.saved = QDateTime::fromString(QString::fromLatin1(value), Qt::ISODateWithMs);
        }
    }
    return hasPath;
}

} // namespace

CRecoveryStore::CRecoveryStore(const QString& root) : m_root(root.isEmpty() ? defaultRoot() : root) {}

CRecoveryStore::~CRecoveryStore()
{
    releaseRecovered();
    if (m_session.isEmpty() || m_keep) return;
    QDir(sessionDir()).removeRecursively();
    m_lock.reset(); // removes the lock file
}

QString CRecoveryStore::defaultRoot()
{
    // The XDG state folder: kept across runs, not worth a backup.
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state)) state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/quillaby/recovery");
}

QString CRecoveryStore::sessionDir() const
{
    return m_session.isEmpty() ? QString() : m_root + QLatin1Char('/') + m_session;
}

QString CRecoveryStore::draftFile(int key) const
{
    return sessionDir() + QStringLiteral("/draft-%1.qlb").arg(key);
}

QString CRecoveryStore::infoFile(int key) const
{
    return sessionDir() + QStringLiteral("/draft-%1.info").arg(key);
}

bool CRecoveryStore::openSession(QString* error)
{
    if (!m_session.isEmpty()) return true;
    // Private: the copies are the weaver's unsaved work.
    if (!QDir().mkpath(m_root)) {
        if (error) *error = QStringLiteral("cannot create the folder %1").arg(m_root);
        return false;
    }
    QFile::setPermissions(m_root, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString base = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss"))
        + QStringLiteral("-%1").arg(QCoreApplication::applicationPid());
    // A name no other run has, alive or gone: its lock is taken first, so a
    // folder never exists without a lock held while its run lives.
    QString name;
    std::unique_ptr<QLockFile> lock;
    for (int n = 0; n < 100 && !lock; ++n) {
        name = n == 0 ? base : base + QStringLiteral("-%1").arg(n);
        lock = std::make_unique<QLockFile>(m_root + QLatin1Char('/') + name + kLockSuffix);
        lock->setStaleLockTime(0); // held for the whole run: only a dead owner frees it
        if (!lock->tryLock(0) || !QDir(m_root).mkdir(name)) lock.reset();
    }
    if (!lock) {
        if (error) *error = QStringLiteral("cannot start a recovery folder in %1").arg(m_root);
        return false;
    }
    m_lock = std::move(lock);
    m_session = name;
    return true;
}

bool CRecoveryStore::write(int key, const CQuillabyDoc& doc, const QString& path, const QString& title, QString* error)
{
    if (!openSession(error)) return false;
    std::string reason;
    // The draft's own date: a recovery copy is no save.
    if (!WriteFileAtomically(QFile::encodeName(draftFile(key)).toStdString(), WifText(doc, doc.date()), &reason)) {
        if (error) *error = QString::fromLocal8Bit(reason);
        return false;
    }
    QSaveFile info(infoFile(key));
    if (!info.open(QIODevice::WriteOnly) || info.write(infoText(path, title, QDateTime::currentDateTime())) < 0
        || !info.commit()) {
        if (error) *error = info.errorString();
        return false;
    }
    return true;
}

void CRecoveryStore::remove(int key)
{
    if (m_session.isEmpty()) return;
    // The description goes first: a copy without one is never offered.
    QFile::remove(infoFile(key));
    QFile::remove(draftFile(key));
}

bool CRecoveryStore::contains(int key) const
{
    return !m_session.isEmpty() && QFileInfo::exists(infoFile(key)) && QFileInfo::exists(draftFile(key));
}

QList<RecoveredDraft> CRecoveryStore::recovered()
{
    QList<RecoveredDraft> found;
    const QDir root(m_root);
    const QStringList runs = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& run : runs) {
        if (run == m_session) continue;
        const bool taken = std::any_of(m_taken.begin(), m_taken.end(), [&](const auto& t) { return t.first == run; });
        if (!taken) {
            auto lock = std::make_unique<QLockFile>(root.filePath(run + kLockSuffix));
            lock->setStaleLockTime(0);
            if (!lock->tryLock(0)) continue; // that run is still going
            m_taken.emplace_back(run, std::move(lock));
        }
        const QDir dir(root.filePath(run));
        for (const QString& info : dir.entryList({QStringLiteral("*.info")}, QDir::Files, QDir::Name)) {
            RecoveredDraft d;
            d.infoFile = dir.filePath(info);
            d.draftFile = d.infoFile.left(d.infoFile.size() - 5) + QStringLiteral(".qlb");
            if (readInfo(d.infoFile, d) && QFileInfo::exists(d.draftFile)) found << d;
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const RecoveredDraft& a, const RecoveredDraft& b) { return a.saved < b.saved; });
    return found;
}

void CRecoveryStore::discard(const RecoveredDraft& draft)
{
    QFile::remove(draft.infoFile);
    QFile::remove(draft.draftFile);
}

void CRecoveryStore::releaseRecovered()
{
    for (auto& [run, lock] : m_taken) {
        QDir dir(m_root + QLatin1Char('/') + run);
        // Half-written temporary files of a run killed while saving.
        for (const QString& tmp : dir.entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden)) dir.remove(tmp);
        // Only an empty folder goes: a copy that could not be read stays.
        if (dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty()) QDir(m_root).rmdir(run);
        lock.reset();
    }
    m_taken.clear();
}

} // namespace qb
