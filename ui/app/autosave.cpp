#include "ui/app/autosave.h"

#include "ui/app/draftreadwrite.h"
#include "ui/app/mainframe.h"
#include "ui/views/draftwindow.h"

#include "core/wif/wifwriter.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

#include <functional>

namespace qb {

CAutosave::RecoveryQuestion CAutosave::s_question;

CAutosave::CAutosave(CMainFrame& frame, std::unique_ptr<CRecoveryStore> store, QObject* parent)
    : QObject(parent)
    , m_frame(frame)
    , m_store(std::move(store))
{
    m_timer.setTimerType(Qt::VeryCoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { saveNow(); });
    setIntervalSeconds(frame.settings().AutosaveSeconds);
}

CAutosave::~CAutosave() = default;

void CAutosave::setIntervalSeconds(int seconds)
{
    m_seconds = std::max(0, seconds);
    if (m_seconds == 0) {
        m_timer.stop();
        return;
    }
    m_timer.start(m_seconds * 1000);
}

int CAutosave::saveNow(bool force)
{
    int written = 0;
    QHash<const CDraftWindow*, Copy> kept;
    for (CDraftWindow* w : m_frame.draftWindows()) {
        auto old = m_copies.constFind(w);
        if (!w->document().isModified()) continue; // saved since: its copy goes below
        Copy copy = old != m_copies.cend() ? *old : Copy{m_nextKey++, 0};
        // Unchanged since the last copy: nothing to write.
        const std::string text = WifText(w->document(), w->document().date());
        const size_t hash = std::hash<std::string>{}(text);
        if (force || hash != copy.textHash || !m_store->contains(copy.key)) {
            if (m_store->write(copy.key, w->document(), w->path(), w->title())) {
                copy.textHash = hash;
                ++written;
            }
        }
        kept.insert(w, copy);
    }
    for (auto it = m_copies.cbegin(); it != m_copies.cend(); ++it)
        if (!kept.contains(it.key())) m_store->remove(it.value().key);
    m_copies = kept;
    return written;
}

void CAutosave::saveForNextStart()
{
    saveNow(true);
    m_store->keepCopies();
}

void CAutosave::forget(const CDraftWindow* window)
{
    const auto it = m_copies.constFind(window);
    if (it == m_copies.cend()) return;
    m_store->remove(it.value().key);
    m_copies.erase(it);
}

void CAutosave::setRecoveryQuestion(RecoveryQuestion question)
{
    s_question = std::move(question);
}

bool CAutosave::askRestore(const RecoveredDraft& draft)
{
    if (s_question) return s_question(draft);
    const QString name = draft.path.isEmpty() ? draft.title : QDir::toNativeSeparators(draft.path);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Quillaby"),
                    QStringLiteral("Quillaby did not close properly last time.\n\n"
                                   "Unsaved changes to %1 were kept on %2.\nRestore them?")
                        .arg(name, QLocale().toString(draft.saved.toLocalTime(), QLocale::ShortFormat)),
                    QMessageBox::NoButton, &m_frame);
    QPushButton* restore = box.addButton(QStringLiteral("Restore"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("Discard"), QMessageBox::DestructiveRole);
    box.setDefaultButton(restore);
    box.exec();
    return box.clickedButton() == restore;
}

int CAutosave::offerRecovered()
{
    int restored = 0;
    const QList<RecoveredDraft> drafts = m_store->recovered();
    for (const RecoveredDraft& d : drafts) {
        if (!askRestore(d)) {
            CRecoveryStore::discard(d);
            continue;
        }
        auto doc = std::make_unique<CQuillabyDoc>();
        QString error;
        if (!ReadDraftFile(d.draftFile, m_frame.newDraftDefaults(), *doc, error)) {
            m_frame.report(QStringLiteral("The recovered copy of %1 cannot be read; it stays in %2.%3")
                               .arg(d.path.isEmpty() ? d.title : QDir::toNativeSeparators(d.path),
                                    QDir::toNativeSeparators(QFileInfo(d.draftFile).absolutePath()),
                                    error.isEmpty() ? QString() : QStringLiteral("\n\n") + error));
            continue;
        }
        doc->EnsureComplete();
        doc->SetModified(true);
        CDraftWindow* w = m_frame.addDocumentWindow(std::move(doc), d.path);
        w->refreshTitle();
        ++restored;
        // Kept in this run's folder before the old copy goes, so a second
        // crash cannot lose it.
        saveNow(true);
        CRecoveryStore::discard(d);
    }
    m_store->releaseRecovered();
    return restored;
}

} // namespace qb
