#include "ui/loom/dobbycontroller.h"

#include "ui/base/imainwindow.h"
#include "ui/base/storedsettings.h"
#include "ui/loom/dobbybars.h"
#include "ui/loom/dobbydialogs.h"
#include "ui/loom/dobbytimedoutdialog.h"
#include "ui/loom/seriallink.h"
#include "ui/views/draftframe.h"
#include "ui/views/draftwindow.h"

#include "core/dobby/dobbyhead.h"
#include "core/dobby/dobbymessages.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>

namespace qb {

namespace {

QString qs(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

struct MenuEntry {
    DobbyMenuItem item;
    const char* text;
    QKeySequence key;
    const char* prompt;
    bool checkable;
    void (CDobbyController::*slot)();
};

} // namespace

CDobbyController::CDobbyController(IMainWindow& frame) : QObject(frame.window()), m_frame(frame)
{
    // A stored port number that no longer exists falls back to the first
    // listed port; a typed device path is the weaver's and stays.
    CStoredSettings& s = m_frame.settingsMutable();
    if (s.SerialPortPath.trimmed().isEmpty()) {
        std::vector<int> listed;
        for (int i = 1; i <= CSerialLink::availablePorts().size(); ++i) listed.push_back(i);
        s.SerialPortNum = CheckedSerialPortNum(s.SerialPortNum, listed);
    }

    m_controlBar = new CDobbyHeadBar(m_frame.window());
    m_repeatBar = new CDobbyRepeatCounter(m_frame.window());
    m_frame.window()->addToolBar(Qt::TopToolBarArea, m_controlBar);
    m_frame.window()->addToolBar(Qt::TopToolBarArea, m_repeatBar);
    m_controlBar->hide();
    m_repeatBar->hide();
    connect(m_controlBar, &CDobbyHeadBar::sameShed, this, &CDobbyController::OnSameShed);
    connect(m_controlBar, &CDobbyHeadBar::unweave, this, &CDobbyController::OnUnweave);
    connect(m_controlBar, &CDobbyHeadBar::reverse, this, &CDobbyController::OnReverse);
    connect(m_controlBar, &CDobbyHeadBar::loop, this, &CDobbyController::OnLoop);
    connect(m_controlBar, &CDobbyHeadBar::markers, this, &CDobbyController::OnMarkers);
    connect(m_controlBar, &CDobbyHeadBar::stop, this, &CDobbyController::OnStop);

    m_timedOut = new CDobbyTimedOutDialog(m_frame.window());
    connect(m_timedOut, &CDobbyTimedOutDialog::continuePressed, this, &CDobbyController::pressContinue);

    m_openSettings = [this] { m_frame.showLoomOptions(); };
    m_selfTestWait = [this] {
        QMessageBox box(QMessageBox::Information, qs(dobbytext::kCaption), qs(dobbytext::kSelfTestRunning),
                        QMessageBox::Ok, m_frame.window());
        box.exec();
    };
    connect(m_frame.mdiArea(), &QMdiArea::subWindowActivated, this, &CDobbyController::updateActions);
}

CDobbyController::~CDobbyController()
{
    teardown(true);
}

QMenu* CDobbyController::fillMenu(QMenu* menu)
{
    using I = DobbyMenuItem;
    using C = CDobbyController;
    const MenuEntry entries[] = {
        {I::Start, "&Start", QKeySequence(Qt::Key_F5), "Start weaving with the dobby head", false, &C::OnDobbyStart},
        {I::SetPick, "Set Pic&k...", {}, "Sets the current pick for the dobby head", false, &C::OnSetPick},
        {I::SameShed, "Same She&d", QKeySequence(Qt::Key_F3), "Open the previous shed", false, &C::OnSameShed},
        {I::Unweave, "&Unweave", QKeySequence(Qt::Key_F4), "Sequentially open the previous shed until toggled off",
         true, &C::OnUnweave},
        {I::Reverse, "&Reverse", {}, "Set the weaving direction, top-down or bottom-up", true, &C::OnReverse},
        {I::Loop,
         "&Loop",
         {},
         "Loop around to repeat a section or weave straight through to the next marker",
         true,
         &C::OnLoop},
        {I::Markers,
         "&Markers...",
         {},
         "Set markers to delineate sections, for repeats, color changes and borders",
         false,
         &C::OnMarkers},
        {I::RepeatCount, "Repeat Cou&nt...", {}, "", false, &C::OnRepeatCount},
        {I::Settings,
         "Settin&gs...",
         {},
         "Adjust settings for the dobby head, including COM port",
         false,
         &C::OnSettings},
        {I::SelfTest, "Self &Test", {}, "Initiate the self-test loop", false, &C::OnSelfTest},
        {I::Stop, "Sto&p", QKeySequence(Qt::Key_F8), "Stop weaving with the dobby head", false, &C::OnStop},
    };
    menu->setObjectName(QStringLiteral("dobbyMenu"));
    for (const MenuEntry& e : entries) {
        QAction* a = menu->addAction(QLatin1String(e.text));
        a->setShortcut(e.key);
        a->setStatusTip(QLatin1String(e.prompt));
        a->setCheckable(e.checkable);
        const auto slot = e.slot;
        // The check mark follows the run, not the click.
        connect(a, &QAction::triggered, this, [this, slot] {
            (this->*slot)();
            updateActions();
        });
        m_actions[e.item] = a;
        if (e.item == I::Loop || e.item == I::RepeatCount) menu->addSeparator();
    }
    connect(menu, &QMenu::aboutToShow, this, &CDobbyController::updateActions);
    updateActions();
    return menu;
}

QAction* CDobbyController::action(DobbyMenuItem item) const
{
    const auto it = m_actions.find(item);
    return it == m_actions.end() ? nullptr : it->second;
}

CQuillabyDoc* CDobbyController::activeDocument() const
{
    CDraftWindow* w = m_frame.activeDraftWindow();
    return w ? &w->document() : nullptr;
}

bool CDobbyController::topDown() const
{
    return m_frame.settings().DraftDrawnUp == 0;
}

void CDobbyController::report(const QString& text)
{
    m_frame.tell(text);
}

void CDobbyController::updateActions()
{
    CQuillabyDoc* doc = activeDocument();
    DobbyMenuContext c;
    c.anyRun = m_run != nullptr || m_selfTestHead != nullptr;
    c.draftHasRun = m_run && doc == m_runDoc;
    if (doc) {
        c.unweave = doc->weaving().unweave;
        c.reverse = doc->weaving().reverse;
        c.loop = doc->weaving().loop;
    }
    c.headIndex = m_frame.settings().dobbyHead;
    for (const auto& [item, a] : m_actions) {
        const DobbyMenuItemState st = DobbyMenuState(item, c);
        a->setEnabled(st.enabled);
        if (a->isCheckable()) a->setChecked(st.checked);
    }
    // Markers need a draft.
    if (QAction* markers = action(DobbyMenuItem::Markers)) markers->setEnabled(doc != nullptr);
    if (QAction* start = action(DobbyMenuItem::Start))
        start->setEnabled(start->isEnabled() && doc != nullptr && !m_selfTestHead);
    if (m_run) {
        const WeavingRunState& w = m_runDoc->weaving();
        m_controlBar->setToggles(w.unweave, w.reverse, w.loop);
        m_controlBar->setSameShedEnabled(!w.unweave);
    }
}

void CDobbyController::OnDobbyStart()
{
    if (CQuillabyDoc* doc = activeDocument()) startRun(*doc);
}

bool CDobbyController::startRun(CQuillabyDoc& doc)
{
    // One driver at a time: another draft's run ends properly first.
    if (m_run) stopRun();
    if (m_selfTestHead) return false;
    const CStoredSettings& s = m_frame.settings();
    auto run = std::make_unique<WeavingRun>(doc, s.dobbyHead, s.DobbyHarnesses, [] { QApplication::beep(); });
    if (!run->check().ok()) {
        report(QString::fromStdString(run->check().message));
        if (run->check().problem == DobbyStartCheck::Problem::NoHead && m_openSettings) m_openSettings();
        updateActions();
        return false;
    }
    m_link = new CSerialLink(this);
    if (!openPort(*run->head())) {
        delete m_link;
        m_link = nullptr;
        updateActions();
        return false;
    }
    m_run = std::move(run);
    m_runDoc = &doc;
    m_lastPicks = doc.numPicks();
    m_lastShafts = doc.numShafts();
    doc.subscribe(this);
    connect(m_link, &CSerialLink::activity, this, &CDobbyController::handleEvents);
    m_link->attach(m_run->head());
    m_run->start();
    m_link->pump();
    handleEvents();
    if (!m_run) return false; // the head refused the draft; the weaver was told why
    m_controlBar->show();
    m_repeatBar->show();
    m_controlBar->setFocus();
    refreshPickDisplay();
    updateActions();
    return true;
}

bool CDobbyController::openPort(CDobbyHead& head)
{
    const CStoredSettings& s = m_frame.settings();
    const QString device = CSerialLink::portDevice(s.SerialPortPath, s.SerialPortNum, CSerialLink::availablePorts());
    const QString name = CSerialLink::portName(s.SerialPortPath, s.SerialPortNum);
    CSerialLink::LineSettings line;
    line.baud = head.baudRate();
    if (m_lineHook) m_lineHook(line);
    switch (m_link->open(device, line)) {
    case CSerialLink::OpenResult::Ok: return true;
    case CSerialLink::OpenResult::OpenFailed:
        report(QString::fromStdString(CouldNotOpenPortMessage(name.toStdString())));
        return false;
    case CSerialLink::OpenResult::SetupFailed:
        report(QString::fromStdString(PortSetupFailedMessage(head.type(), name.toStdString())));
        return false;
    }
    return false;
}

void CDobbyController::handleEvents()
{
    if (m_inEvents) return;
    if (m_selfTestHead) {
        // The self-test only needs its state; errors end it when the weaver closes the message.
        return;
    }
    if (!m_run) return;
    m_inEvents = true;
    const std::vector<DobbyEvent> events = m_run->head()->takeEvents();
    m_inEvents = false;
    for (const DobbyEvent& e : events) {
        switch (e.kind) {
        case DobbyEvent::Kind::HeadReady:
        case DobbyEvent::Kind::PickRequested:
        case DobbyEvent::Kind::EndOfTreadling: refreshPickDisplay(); break;
        case DobbyEvent::Kind::TimedOut:
            m_timedOut->show();
            m_timedOut->raise();
            break;
        case DobbyEvent::Kind::TimeoutCleared: m_timedOut->hide(); break;
        case DobbyEvent::Kind::Error:
            // The run is over; the position stays where the loom stopped.
            teardown(false);
            report(QString::fromStdString(e.message));
            return;
        default: break;
        }
    }
}

void CDobbyController::refreshPickDisplay()
{
    if (!m_run) return;
    const int current = m_run->position().currentPick();
    // The draft's panes mark the pick the loom weaves.
    m_runDoc->MarkPick(current >= 0 && current < m_runDoc->numPicks() ? current : -1);
    m_repeatBar->setCount(m_run->position().repeatCount());
    m_controlBar->setPick(current + 1);
}

void CDobbyController::afterCommand()
{
    if (m_link) m_link->pump();
    handleEvents();
    if (m_run) refreshPickDisplay();
    updateActions();
}

void CDobbyController::sameShed()
{
    if (!m_run || !m_run->canSameShed()) return;
    m_run->SameShed();
    afterCommand();
}

void CDobbyController::toggleUnweave()
{
    if (!m_run) return;
    m_run->ToggleUnweave();
    afterCommand();
}

void CDobbyController::toggleReverse()
{
    if (!m_run) return;
    m_run->ToggleReverse();
    updateActions();
}

void CDobbyController::toggleLoop()
{
    if (!m_run) return;
    m_run->ToggleLoop();
    updateActions();
}

void CDobbyController::setPick(int shown)
{
    if (!m_run) return;
    m_run->SetPick(shown);
    afterCommand();
}

bool CDobbyController::setRepeatCount(int count)
{
    if (!m_run || !m_run->SetRepeatCount(count)) return false;
    m_repeatBar->setCount(m_run->position().repeatCount());
    return true;
}

void CDobbyController::addMarker(CQuillabyDoc& doc, int shown)
{
    if (m_run && &doc == m_runDoc) {
        m_run->position().AddMarker(shown);
    } else {
        WeavingPosition position(doc);
        position.AddMarker(shown);
    }
}

void CDobbyController::removeMarker(CQuillabyDoc& doc, int shown)
{
    if (m_run && &doc == m_runDoc) {
        m_run->position().RemoveMarker(shown);
    } else {
        WeavingPosition position(doc);
        position.RemoveMarker(shown);
    }
}

void CDobbyController::pressContinue()
{
    if (m_run) {
        m_run->head()->pressContinue();
        afterCommand();
    }
    if (m_timedOut && (!m_run || !m_run->head()->timeoutWindowOpen())) m_timedOut->hide();
}

void CDobbyController::OnSetPick()
{
    if (!m_run) return;
    const WeavingPosition& pos = m_run->position();
    CSetDobbyPickDialog dlg(
        *m_runDoc, pos.currentPick(), topDown(), [&pos](int q) { return pos.NextMarkerAfter(q); }, m_frame.window());
    if (dlg.exec() == QDialog::Accepted && m_run) setPick(dlg.value());
}

void CDobbyController::OnMarkers()
{
    CQuillabyDoc* doc = activeDocument();
    if (!doc) return;
    const int current = doc->weaving().currentPick;
    auto next = [doc](int q) {
        for (int m : doc->weaving().markers)
            if (m > q) return m;
        return 0;
    };
    CSetDobbyMarker dlg(*doc, current, topDown(), next, m_frame.window());
    if (dlg.exec() != QDialog::Accepted) return;
    switch (dlg.action()) {
    case CSetDobbyMarker::Add: addMarker(*doc, dlg.value()); break;
    case CSetDobbyMarker::Remove: removeMarker(*doc, dlg.value()); break;
    case CSetDobbyMarker::RemoveAll: removeMarker(*doc, -1); break;
    case CSetDobbyMarker::None: break;
    }
}

void CDobbyController::OnRepeatCount()
{
    if (!m_run) return;
    CRepeatCounterDialog dlg(m_run->position().repeatCount(), m_frame.window());
    if (dlg.exec() == QDialog::Accepted && m_run) setRepeatCount(dlg.value());
}

void CDobbyController::OnSettings()
{
    if (m_run || m_selfTestHead) return;
    if (m_openSettings) m_openSettings();
    updateActions();
}

bool CDobbyController::selfTest()
{
    if (m_run || m_selfTestHead) return false;
    const CStoredSettings& s = m_frame.settings();
    if (!IsDobbyHeadType(s.dobbyHead) || !kDobbyHeads[s.dobbyHead].selfTest) {
        report(qs(dobbytext::kNoSelfTest));
        return false;
    }
    std::unique_ptr<CDobbyHead> head = MakeSelfTestHead(static_cast<DobbyHeadType>(s.dobbyHead), s.DobbyHarnesses);
    m_link = new CSerialLink(this);
    if (!openPort(*head)) {
        delete m_link;
        m_link = nullptr;
        report(qs(dobbytext::kUnableToOpen));
        return false;
    }
    m_selfTestHead = head.get();
    updateActions();
    m_link->attach(head.get());
    head->start();
    m_link->pump();
    if (m_selfTestWait) m_selfTestWait();
    head->stop();
    m_link->close();
    m_link->deleteLater();
    m_link = nullptr;
    m_selfTestHead = nullptr;
    bool ok = false;
    QString message = qs(dobbytext::kNoResponse);
    for (const DobbyEvent& e : head->takeEvents()) {
        if (e.kind == DobbyEvent::Kind::SelfTestResult) {
            ok = e.ok;
            if (!e.message.empty()) message = QString::fromStdString(e.message);
        } else if (e.kind == DobbyEvent::Kind::Error) {
            message = QString::fromStdString(e.message);
        }
    }
    updateActions();
    if (!ok) report(message);
    return ok;
}

void CDobbyController::stopRun()
{
    teardown(true);
}

void CDobbyController::documentClosing(CQuillabyDoc& doc)
{
    if (m_run && &doc == m_runDoc) stopRun();
}

void CDobbyController::teardown(bool release)
{
    if (m_timedOut) m_timedOut->hide();
    if (!m_run) return;
    std::unique_ptr<WeavingRun> run = std::move(m_run);
    CQuillabyDoc* doc = m_runDoc;
    // A failed head has nothing more to say; a stopped one sends its release.
    run->stop();
    if (m_link) {
        if (!release) run->head()->takeOutput();
        m_link->close();
        m_link->deleteLater();
        m_link = nullptr;
    }
    doc->unsubscribe(this);
    // Nobody weaves: no pick is marked.
    doc->MarkPick(-1);
    m_runDoc = nullptr;
    m_controlBar->hide();
    m_repeatBar->hide();
    updateActions();
}

void CDobbyController::documentUpdated(const CQuillabyDoc& doc, const UpdateHint&)
{
    if (!m_run || &doc != m_runDoc) return;
    if (doc.numPicks() == m_lastPicks && doc.numShafts() == m_lastShafts) return;
    m_lastPicks = doc.numPicks();
    m_lastShafts = doc.numShafts();
    // Not inside the document's broadcast: the run may redraw or end.
    QTimer::singleShot(0, this, [this] {
        if (!m_run) return;
        if (m_runDoc->numPicks() <= 0) {
            // Nothing is left to weave: the run ends rather than send a pick that is gone.
            teardown(true);
            report(QStringLiteral("There are no picks in the treadling."));
            return;
        }
        m_run->DraftChanged();
        afterCommand();
        refreshPickDisplay();
    });
}

} // namespace qb
