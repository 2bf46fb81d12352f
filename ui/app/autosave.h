#pragma once

#include "ui/app/recoverystore.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

namespace qb {

class CDraftWindow;
class CMainFrame;

// Keeps recovery copies of the main window's modified drafts: every few
// minutes (AutosaveSeconds), and at once when the program is told to stop.
// A draft saved or closed loses its copy; a clean end removes them all. At
// start it offers the copies a crashed run left behind.
class CAutosave : public QObject {
    Q_OBJECT
public:
    // Restore (true) or Discard (false) one recovered draft. Tests answer here.
    using RecoveryQuestion = std::function<bool(const RecoveredDraft& draft)>;

    CAutosave(CMainFrame& frame, std::unique_ptr<CRecoveryStore> store, QObject* parent = nullptr);
    ~CAutosave() override;

    CRecoveryStore& store() { return *m_store; }
    // 0 stops the timer.
    void setIntervalSeconds(int seconds);
    int intervalSeconds() const { return m_seconds; }

    // Writes every modified draft that changed since its last copy (all of
    // them with `force`) and drops the copies of drafts saved or closed.
    // Returns how many copies were written.
    int saveNow(bool force = false);
    // The program is being stopped from outside: write everything and leave
    // the copies for the next start.
    void saveForNextStart();
    // The draft was saved or is closing: its copy goes.
    void forget(const CDraftWindow* window);

    // Asks about each draft a gone run left behind; restored ones open
    // modified, under their own file name or untitled as they were.
    // Returns how many were restored.
    int offerRecovered();
    static void setRecoveryQuestion(RecoveryQuestion question);

private:
    struct Copy {
        int key = 0;
        size_t textHash = 0;
    };
    bool askRestore(const RecoveredDraft& draft);

    CMainFrame& m_frame;
    std::unique_ptr<CRecoveryStore> m_store;
    QTimer m_timer;
    int m_seconds = 0;
    int m_nextKey = 1;
    QHash<const CDraftWindow*, Copy> m_copies;
    static RecoveryQuestion s_question;
};

} // namespace qb
