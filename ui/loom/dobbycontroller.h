#pragma once

#include "core/dobby/dobbymenu.h"
#include "core/dobby/weavingrun.h"
#include "core/draft/quillabydoc.h"
#include "ui/loom/seriallink.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>

class QAction;
class QMenu;
class QMenuBar;

namespace qb {

class CDobbyHead;
class CDobbyHeadBar;
class CDobbyRepeatCounter;
class CDobbyTimedOutDialog;
class IMainWindow;

// The main window's side of weaving: the Dobby menu, the two dobby bars, the
// time-out window and at most one weaving run with its port. The run talks to
// the draft (its weaving position and update hints), never to panes.
class CDobbyController : public QObject, public IDocumentObserver {
    Q_OBJECT
public:
    explicit CDobbyController(IMainWindow& frame);
    ~CDobbyController() override;

    // Fills the "Do&bby" menu and makes the two hidden bars, once, when the
    // frame is built.
    QMenu* fillMenu(QMenu* menu);
    QAction* action(DobbyMenuItem item) const;
    CDobbyHeadBar* controlBar() const { return m_controlBar; }
    CDobbyRepeatCounter* repeatBar() const { return m_repeatBar; }
    CDobbyTimedOutDialog* timeoutWindow() const { return m_timedOut; }

    bool hasRun() const { return m_run != nullptr; }
    CQuillabyDoc* runDocument() const { return m_runDoc; }
    WeavingRun* run() const { return m_run.get(); }
    CSerialLink* link() const { return m_link; }

    // Start on a draft: the checks, the port, the head. False (the weaver was
    // told why) when no run started.
    bool startRun(CQuillabyDoc& doc);
    // Ends the run: release sent and flushed, port closed, bars hidden.
    void stopRun();
    // The draft's window is closing: its run ends first.
    void documentClosing(CQuillabyDoc& doc);

    // The weaver's commands on the run (also behind the menu and the bar).
    void sameShed();
    void toggleUnweave();
    void toggleReverse();
    void toggleLoop();
    void setPick(int shown);
    bool setRepeatCount(int count);
    // Markers work with or without a run, on `doc`.
    void addMarker(CQuillabyDoc& doc, int shown);
    void removeMarker(CQuillabyDoc& doc, int shown);
    void pressContinue();
    // Self Test on the stored head; true when the head answered.
    bool selfTest();

    // Enables and checks the menu and the bar for the active draft.
    void updateActions();

    // Test seams: what opens the dobby settings, and how the self-test waits
    // for the weaver to close "Performing self-test ...".
    void setOpenSettings(std::function<void()> f) { m_openSettings = std::move(f); }
    void setSelfTestWait(std::function<void()> f) { m_selfTestWait = std::move(f); }
    // Changes the line settings a head asks for (to try a setup the port refuses).
    void setLineHook(std::function<void(CSerialLink::LineSettings&)> f) { m_lineHook = std::move(f); }

    void documentUpdated(const CQuillabyDoc& doc, const UpdateHint& hint) override;

public slots:
    void OnDobbyStart();
    void OnSetPick();
    void OnSameShed() { sameShed(); }
    void OnUnweave() { toggleUnweave(); }
    void OnReverse() { toggleReverse(); }
    void OnLoop() { toggleLoop(); }
    void OnMarkers();
    void OnRepeatCount();
    void OnSettings();
    void OnSelfTest() { selfTest(); }
    void OnStop() { stopRun(); }

private:
    CQuillabyDoc* activeDocument() const;
    bool topDown() const;
    bool openPort(CDobbyHead& head);
    void afterCommand();
    void handleEvents();
    void refreshPickDisplay();
    void teardown(bool release);
    void report(const QString& text);

    IMainWindow& m_frame;
    std::map<DobbyMenuItem, QAction*> m_actions;
    CDobbyHeadBar* m_controlBar = nullptr;
    CDobbyRepeatCounter* m_repeatBar = nullptr;
    CDobbyTimedOutDialog* m_timedOut = nullptr;
    std::unique_ptr<WeavingRun> m_run;
    CQuillabyDoc* m_runDoc = nullptr;
    CSerialLink* m_link = nullptr;
    CDobbyHead* m_selfTestHead = nullptr;
    int m_lastPicks = 0;
    int m_lastShafts = 0;
    bool m_inEvents = false;
    std::function<void()> m_openSettings;
    std::function<void()> m_selfTestWait;
    std::function<void(CSerialLink::LineSettings&)> m_lineHook;
};

} // namespace qb
