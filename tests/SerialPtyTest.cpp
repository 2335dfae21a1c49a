// SPDX-License-Identifier: GPL-3.0-or-later
// SEND on a real serial device: a pseudo-terminal.

#include "SetupFixture.h"

#include "Dialog.h"
#include "PtyPair.h"
#include "QtSerialPort.h"
#include "Transmission.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

#include <functional>

#include <termios.h>
#include <unistd.h>

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
        ASSERT_TRUE(pair.start());
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("KESTRIX_COM1"), pair.programEnd());
        port = std::make_unique<QtSerialPort>(environment);
        services.pausesSleep = true;
        setup = std::make_unique<kestrix::Setup>(
            SetupPlatform{services, *port, files, ports, portMappings});
        setup->load();
    }

    QByteArray expectedWire() const
    {
        ConfigFrame frame{};
        DeviceSettings shown = setup->settings();
        EXPECT_TRUE(BuildConfigFrame(shown, frame));
        const BlockHeader header{0xFE, 0xFE};
        return "\xFE\xFE" + Block(frame, 0, header) + "\xFE\xFE" + Block(frame, 1, header);
    }

    void expectFailureThenRecovery(const char *phrase, const std::function<void()> &repair);
    // A new pair of ends at the same paths, as an adapter plugged in again.
    void replug();

    double gapMs(int from, int to) const
    {
        return duration<double, std::milli>(pair.arrival(to) - pair.arrival(from)).count();
    }

    PtyPair pair;
    FakeServices services;
    FakeFileDialogs files;
    FakePortLister ports;
    FakePortMappings portMappings;
    std::unique_ptr<QtSerialPort> port;
    std::unique_ptr<kestrix::Setup> setup;
};

} // namespace

TEST_F(PtySend, DeliversThe134BytesWithThePausesBetweenWrites)
{
    Button(setup.get(), "cmdSend")->click();
    ASSERT_TRUE(services.messages.empty()) << services.messages[0].text.toStdString();
    ASSERT_TRUE(pair.waitFor(134, 2000));
    EXPECT_EQ(pair.bytes(), expectedWire());
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

TEST_F(PtySend, OpensTheLineAt4800Baud8N1WithTheModemLinesLow)
{
    ASSERT_TRUE(port->setPortNumber(1));
    ASSERT_TRUE(port->open());
    termios line{};
    ASSERT_TRUE(pair.lineSettings(line));
    ASSERT_TRUE(port->close());
    EXPECT_EQ(cfgetospeed(&line), speed_t(B4800));
    EXPECT_EQ(cfgetispeed(&line), speed_t(B4800));
    EXPECT_EQ(line.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF), 0u);
    // A pseudo-terminal has no modem lines to read back.
    EXPECT_FALSE(port->lineSettings().dataTerminalReady);
    EXPECT_FALSE(port->lineSettings().requestToSend);
}

TEST_F(PtySend, TwoSendsInARowBothGoThrough)
{
    Button(setup.get(), "cmdSend")->click();
    Button(setup.get(), "cmdSend")->click();
    ASSERT_TRUE(pair.waitFor(268, 2000));
    EXPECT_EQ(pair.bytes(), expectedWire() + expectedWire());
    EXPECT_TRUE(services.messages.empty());
}

// A fault on the line: SEND reports it, closes the port and leaves the window
// usable; once the fault is repaired the next SEND goes through, and the
// window still closes.
void PtySend::expectFailureThenRecovery(const char *phrase, const std::function<void()> &repair)
{
    Button(setup.get(), "cmdSend")->click();
    ASSERT_EQ(services.messages.size(), 1u);
    const FakeServices::Message &message = services.messages[0];
    EXPECT_EQ(message.title, "Kestrix_DX");
    EXPECT_EQ(message.icon, MessageIcon::None);
    EXPECT_TRUE(message.text.contains(phrase)) << message.text.toStdString();
    EXPECT_TRUE(message.text.contains(pair.programEnd())) << message.text.toStdString();
    EXPECT_FALSE(port->isOpen());
    EXPECT_TRUE(Button(setup.get(), "cmdSend")->isEnabled());

    repair();
    services.messages.clear();
    Button(setup.get(), "cmdSend")->click();
    EXPECT_TRUE(services.messages.empty()) << services.messages[0].text.toStdString();
    ASSERT_TRUE(pair.waitFor(134, 2000));
    EXPECT_EQ(pair.bytes().right(134), expectedWire());
    EXPECT_FALSE(port->isOpen());

    setup->show();
    EXPECT_TRUE(setup->close());
}

void PtySend::replug()
{
    ASSERT_TRUE(pair.start());
}

TEST_F(PtySend, AMissingDeviceIsNamed)
{
    pair.stop();
    expectFailureThenRecovery("does not exist", [this] { replug(); });
}

TEST_F(PtySend, ADeviceHeldByAnotherProgramIsInUse)
{
    QProcess holder; // another program with the port open, as a terminal program has it
    holder.start(QCoreApplication::applicationDirPath() + "/port_holder", {pair.programEnd()});
    ASSERT_TRUE(holder.waitForReadyRead(5000)) << holder.readAllStandardError().toStdString();
    const bool rootIgnoresExclusive = geteuid() == 0;
    if (rootIgnoresExclusive)
        GTEST_SKIP() << "root opens a port held exclusively; run unprivileged";
    expectFailureThenRecovery("in use by another program", [&holder] {
        holder.closeWriteChannel();
        holder.waitForFinished(5000);
    });
}

TEST_F(PtySend, AForbiddenDeviceAsksForTheDialoutGroup)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root ignores access rights; run unprivileged";
    const QString device = QFileInfo(pair.programEnd()).canonicalFilePath();
    ASSERT_TRUE(QFile::setPermissions(device, {}));
    expectFailureThenRecovery("No permission", [&device] {
        QFile::setPermissions(device, QFile::ReadOwner | QFile::WriteOwner);
    });
}

TEST_F(PtySend, ThePeerVanishingMidSendIsReported)
{
    int pauses = 0;
    services.duringPause = [&] {
        if (++pauses == 3) // after block 1
            pair.stop();
    };
    expectFailureThenRecovery("stopped working", [this] {
        services.duringPause = nullptr;
        replug();
    });
}
