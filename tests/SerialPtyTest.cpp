// SPDX-License-Identifier: GPL-3.0-or-later
// SEND on a real serial device: a pseudo-terminal, its line settings and
// the faults only a real device shows. (A missing device and the window
// after a failed send are in the tools' cases and the send scenarios; the
// pauses as the window asks for them in the send scenarios, and as they
// reach a line in tools-test.py, where the box simulator, reading a
// pseudo-terminal, refuses sends whose pauses fall short.)

#include "SetupFixture.h"

#include "PtyPair.h"
#include "QtSerialPort.h"

#include <QFileInfo>

#include <functional>

#include <sys/ioctl.h>
#include <termios.h>

using namespace kestrix;

namespace {

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
            SetupPlatform{services, *port, files, ports, mappings});
        setup->load();
    }

    QByteArray wire() const
    {
        ConfigFrame frame{};
        DeviceSettings shown = setup->settings();
        EXPECT_TRUE(BuildConfigFrame(shown, frame));
        return "\xFE\xFE" + Block(frame, 0, kBlockHeader) + "\xFE\xFE" +
               Block(frame, 1, kBlockHeader);
    }

    // A fault on the line: SEND names it and the device, closes the port and
    // leaves the window usable; once repaired, the next SEND goes through.
    void expectFailureThenRecovery(const char *phrase, const std::function<void()> &repair)
    {
        Button(setup.get(), "cmdSend")->click();
        ASSERT_EQ(services.messages.size(), 1u);
        const QString said = services.messages[0].text;
        EXPECT_TRUE(said.contains(phrase) && said.contains(pair.programEnd()))
            << said.toStdString();
        EXPECT_FALSE(port->isOpen());
        repair();
        services.messages.clear();
        Button(setup.get(), "cmdSend")->click();
        EXPECT_TRUE(services.messages.empty()) << services.messages[0].text.toStdString();
        ASSERT_TRUE(pair.waitFor(134, 2000));
        EXPECT_EQ(pair.bytes().right(134), wire());
        setup->show();
        EXPECT_TRUE(setup->close());
    }

    PtyPair pair;
    FakeServices services;
    FakeFileDialogs files;
    FakePortLister ports;
    FakePortMappings mappings;
    std::unique_ptr<QtSerialPort> port;
    std::unique_ptr<kestrix::Setup> setup;
};

} // namespace

TEST_F(PtySend, OpensTheLineAt4800Baud8N1WithTheModemLinesLow)
{
    ASSERT_TRUE(port->setPortNumber(1));
    ASSERT_TRUE(port->open());
    termios line{};
    const int terminal = ::open(QFile::encodeName(pair.programEnd()), O_RDONLY | O_NOCTTY);
    ASSERT_EQ(tcgetattr(terminal, &line), 0);
    ::close(terminal);
    EXPECT_EQ(cfgetospeed(&line), speed_t(B4800));
    EXPECT_EQ(cfgetispeed(&line), speed_t(B4800));
    EXPECT_EQ(line.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8));
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF), 0u);
    // A pseudo-terminal has no modem lines to read back.
    EXPECT_FALSE(port->lineSettings().dataTerminalReady);
    EXPECT_FALSE(port->lineSettings().requestToSend);
}

TEST_F(PtySend, ADeviceHeldByAnotherProgramIsInUse)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root opens a port held exclusively; run unprivileged";
    const int held = ::open(QFile::encodeName(pair.programEnd()), O_RDWR | O_NOCTTY);
    ASSERT_EQ(ioctl(held, TIOCEXCL), 0); // as a terminal program holds it
    expectFailureThenRecovery("in use by another program", [held] {
        ioctl(held, TIOCNXCL);
        ::close(held);
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
        ASSERT_TRUE(pair.start());
    });
}
