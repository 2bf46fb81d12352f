// The Qt serial link on its own: device naming, exclusive open, and a burst
// of requests longer than one read.

#include "tests/ui/loom/dobbyfixture.h"

#include "core/draft/drawdown.h"

#include <QFile>
#include <QTemporaryDir>

using namespace qb;
using namespace qb::test;
using namespace std::chrono;

TEST(SerialLink, DeviceOfAStoredPort)
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("loom"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), link));
    // A symlink and its target are one device.
    EXPECT_EQ(CSerialLink::portDevice(link, 3, {}), QStringLiteral("/dev/null"));
    EXPECT_EQ(CSerialLink::portDevice(QStringLiteral(" /nonexistent/tty "), 1, {QStringLiteral("/dev/ttyS0")}),
              QStringLiteral("/nonexistent/tty"));
    const QStringList listed{QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyUSB0")};
    EXPECT_EQ(CSerialLink::portDevice(QString(), 2, listed), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(CSerialLink::portDevice(QString(), 3, listed), QString());
    EXPECT_EQ(CSerialLink::portDevice(QString(), -1, listed), QString());
    EXPECT_EQ(CSerialLink::portName(QString(), 3), QStringLiteral("COM3"));
    EXPECT_EQ(CSerialLink::portName(QStringLiteral("/dev/ttyUSB0"), 3), QStringLiteral("/dev/ttyUSB0"));
}

TEST(SerialLink, OpensOnceAndExclusively)
{
    loom::PtyLoom loom(DobbyHeadType::Louet);
    ASSERT_TRUE(loom.open());
    const QString device = QString::fromStdString(loom.device());
    CSerialLink::LineSettings line;
    line.baud = 2400;
    CSerialLink a;
    ASSERT_EQ(a.open(device, line), CSerialLink::OpenResult::Ok) << a.errorString().toStdString();
    EXPECT_EQ(a.open(device, line), CSerialLink::OpenResult::OpenFailed);
    EXPECT_TRUE(a.isOpen());
    CSerialLink b;
    EXPECT_EQ(b.open(device, line), CSerialLink::OpenResult::OpenFailed);
    EXPECT_FALSE(b.isOpen());
    EXPECT_EQ(loom.lineSettings(), "2400 8N1");
    a.close();
    a.close(); // closing a closed link does nothing
    EXPECT_EQ(b.open(device, line), CSerialLink::OpenResult::Ok);

    CSerialLink c;
    EXPECT_EQ(c.open(QString(), line), CSerialLink::OpenResult::OpenFailed);
    EXPECT_EQ(c.open(QStringLiteral("/nonexistent/loom"), line), CSerialLink::OpenResult::OpenFailed);
    EXPECT_FALSE(c.errorString().isEmpty());
}

class SerialBurstTest : public DobbyWindowTest {};

TEST_F(SerialBurstTest, ABurstOfRequestsIsAnsweredInFull)
{
    makeFrame();
    CQuillabyDoc* doc = openDraft();
    ASSERT_TRUE(doc);
    loom::PtyLoom loom(DobbyHeadType::Leclerc2);
    ASSERT_TRUE(loom.open());
    useHead(DobbyHeadType::Leclerc2, loom.device());
    ASSERT_TRUE(dobby->startRun(*doc));
    std::vector<loom::Heard> heard;
    RunFor(20);
    ASSERT_TRUE(loom.receive(milliseconds(100), heard));
    loom.send(loom::Reply::Ready);
    // 40 requests of 3 bytes in one write: more than one read of 100 bytes.
    loom::Bytes burst;
    for (int i = 0; i < 40; ++i) {
        const loom::Bytes r = loom.protocol().reply(loom::Reply::PickRequest);
        burst.insert(burst.end(), r.begin(), r.end());
    }
    ASSERT_GT(burst.size(), 100u);
    loom.send(burst);
    ASSERT_TRUE(RunUntil([&] { return doc->weaving().currentPick == 40; }, 5000));
    RunFor(20);
    heard.clear();
    for (int i = 0; i < 20 && heard.size() < 2 + 40 * 3; ++i) ASSERT_TRUE(loom.receive(milliseconds(50), heard));
    int pushes = 0;
    for (const auto& h : heard) pushes += h.kind == loom::Heard::Kind::Push;
    EXPECT_EQ(pushes, 41) << heard.size() << " commands heard";
    EXPECT_EQ(loom.protocol().shed(), LiftedShafts(*doc, 40));
}
