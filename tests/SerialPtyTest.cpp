// SEND on a real serial device: a socat pseudo-terminal pair.

#include "SetupFixture.h"

#include "Dialog.h"
#include "PtyPair.h"
#include "QtSerialPort.h"
#include "Transmission.h"

#include <QLabel>
#include <QPushButton>

using namespace kestrix;
using namespace std::chrono;

namespace {

// Generous above, close below: a loaded machine may stretch a pause, and the
// recorder's thread may wake a little late for a write's first byte, which
// shortens the gap it sees by as much.
constexpr int kLateMs = 150;
constexpr int kRecorderSlackMs = 5;

class PtySend : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!pair.start())
            GTEST_SKIP() << "socat is not installed";
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("KESTRIX_COM1"), pair.programEnd());
        port = std::make_unique<QtSerialPort>(environment);
        services.pausesSleep = true;
        setup = std::make_unique<kestrix::Setup>(SetupPlatform{services, *port, files});
        setup->load();
        recorder = std::make_unique<LineRecorder>(pair.boxEnd());
    }

    QByteArray expectedWire() const
    {
        ConfigFrame frame{};
        BuildConfigFrame(setup->settings(), frame);
        const BlockHeader header{0xFE, 0xFE};
        return "\xFE\xFE" + Block(frame, 0, header) + "\xFE\xFE" + Block(frame, 1, header);
    }

    double gapMs(int from, int to) const
    {
        return duration<double, std::milli>(recorder->arrival(to) - recorder->arrival(from))
            .count();
    }

    PtyPair pair;
    FakeServices services;
    FakeFileDialogs files;
    std::unique_ptr<QtSerialPort> port;
    std::unique_ptr<kestrix::Setup> setup;
    std::unique_ptr<LineRecorder> recorder;
};

} // namespace

TEST_F(PtySend, DeliversThe134BytesWithThePausesBetweenWrites)
{
    setup->cmdSend->click();
    ASSERT_TRUE(services.messages.empty()) << services.messages[0].text.toStdString();
    ASSERT_TRUE(recorder->waitFor(134, 2000));
    EXPECT_EQ(recorder->bytes(), expectedWire());
    EXPECT_FALSE(port->isOpen());

    // Header at 0, block 1 at 2, header at 67, block 2 at 69.
    const std::pair<std::pair<int, int>, int> gaps[] = {
        {{0, 2}, kPauseAfterHeaderMs},
        {{2, 67}, kPauseAfterBlockMs},
        {{67, 69}, kPauseAfterHeaderMs},
    };
    for (const auto &[bytes, nominal] : gaps) {
        const double gap = gapMs(bytes.first, bytes.second);
        EXPECT_GE(gap, nominal - kRecorderSlackMs)
            << "bytes " << bytes.first << " to " << bytes.second;
        EXPECT_LE(gap, nominal + kLateMs) << "bytes " << bytes.first << " to " << bytes.second;
    }
}

TEST_F(PtySend, TwoSendsInARowBothGoThrough)
{
    setup->cmdSend->click();
    setup->cmdSend->click();
    ASSERT_TRUE(recorder->waitFor(268, 2000));
    EXPECT_EQ(recorder->bytes(), expectedWire() + expectedWire());
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(PtySend, ThePeerVanishingMidSendTakesTheFailurePath)
{
    int pauses = 0;
    services.duringPause = [&] {
        if (++pauses == 3) // after block 1
            pair.stop();
    };
    setup->cmdSend->click();

    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].title, "Kestrix_DX");
    EXPECT_TRUE(services.messages[0].text.contains(pair.programEnd()))
        << services.messages[0].text.toStdString();
    EXPECT_TRUE(services.messages[0].text.contains("stopped working"));
    EXPECT_FALSE(port->isOpen());
    EXPECT_TRUE(setup->cmdSend->isEnabled());
    setup->show();
    EXPECT_TRUE(setup->close());
}

TEST_F(PtySend, AMissingDeviceIsNamedInTheMessage)
{
    pair.stop();
    setup->cmdSend->click();
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_TRUE(services.messages[0].text.contains("does not exist"));
    EXPECT_TRUE(services.messages[0].text.contains(pair.programEnd()));
    EXPECT_FALSE(setup->dialog()->isVisible());
    EXPECT_FALSE(port->isOpen());
}
