#pragma once

#include "tests/ui/testsettingsdir.h"

#include "core/draft/iprompter.h"
#include "core/draft/quillabydoc.h"
#include "core/wif/wifreader.h"
#include "ui/app/defaultpalette.h"
#include "ui/app/mainframe.h"
#include "ui/app/recentfilelist.h"
#include "ui/loom/dobbycontroller.h"
#include "ui/loom/seriallink.h"
#include "ui/views/draftwindow.h"

#include "tools/loom-emulator/ptyloom.h"

#include <QAction>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace qb::test {

inline std::unique_ptr<CQuillabyDoc> LoadDraft(const char* name)
{
    auto doc = std::make_unique<CQuillabyDoc>();
    QuietPrompter quiet;
    WifReadOptions o;
    o.liftplan = LiftplanChoice::Treadling;
    std::string error;
    if (!ReadWifFile(std::string(QUILLABY_TEST_DATA) + "/" + name, *doc, quiet, o, &error)) {
        ADD_FAILURE() << name << ": " << error;
        return nullptr;
    }
    return doc;
}

// Runs the event loop (so serial notifications arrive as they would in the
// program) until `done` holds or `ms` have passed.
inline bool RunUntil(const std::function<bool()>& done, int ms)
{
    if (done()) return true;
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    poll.start();
    loop.exec();
    return done();
}

inline void RunFor(int ms)
{
    RunUntil([] { return false; }, ms);
}

// A main window with a draft, set up to weave on an emulated head.
class DobbyWindowTest : public ::testing::Test {
protected:
    void makeFrame()
    {
        QSettings s = TestSettingsDir::store();
        m_palette.load(s);
        frame = std::make_unique<CMainFrame>(m_palette, m_recent);
        frame->setMessageHandler([this](const QString& text) { messages << text; });
        dobby = frame->dobby();
        dobby->setOpenSettings([this] { ++settingsOpened; });
    }
    CQuillabyDoc* openDraft(const char* name = "dobby/advancingtwill16.wif")
    {
        auto doc = LoadDraft(name);
        if (!doc) return nullptr;
        return &frame->addDocumentWindow(std::move(doc), QString())->document();
    }
    void useHead(DobbyHeadType type, const std::string& device, int shafts = 16)
    {
        CStoredSettings& s = frame->settingsMutable();
        s.dobbyHead = static_cast<int>(type);
        s.SerialPortPath = QString::fromStdString(device);
        s.DobbyHarnesses = shafts;
        dobby->updateActions();
    }
    QAction* act(DobbyMenuItem item) const { return dobby->action(item); }
    void TearDown() override { frame.reset(); }

    TestSettingsDir m_dir;
    CDefaultPalette m_palette;
    CRecentFileList m_recent;
    std::unique_ptr<CMainFrame> frame;
    CDobbyController* dobby = nullptr;
    QStringList messages;
    int settingsOpened = 0;
};

} // namespace qb::test
