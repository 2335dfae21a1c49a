// SPDX-License-Identifier: GPL-3.0-or-later
#include "SetupFixture.h"
#include "StoredPortMappings.h"

#include "Dialog.h"
#include "PortDevice.h"
#include "Transmission.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

using namespace kestrix;

namespace {
const QString kSending = QStringLiteral("\r\nSending data on COM1...");
const QString kSent =
    QStringLiteral("Data sent !\r\n Be shure that the word 'OK!' appears on Kestrix's LCD");
} // namespace

TEST(BlockChecksum, SumsHeaderAndBlockModulo256)
{
    EXPECT_EQ(BlockChecksum({0x01, 0x02}, QByteArray(64, '\0')), 0x03);
    EXPECT_EQ(BlockChecksum({0xFE, 0xFE}, QByteArray(64, '\xFF')), (0x1FC + 64 * 0xFF) % 256);
}

TEST(PortNumberOf, ReadsTheLeadingNumberRoundedToEven)
{
    EXPECT_EQ(PortNumberOf(" 2 "), 2);
    EXPECT_EQ(PortNumberOf("2.5"), 2);
    EXPECT_EQ(PortNumberOf("3.5"), 4);
    EXPECT_EQ(PortNumberOf("3,5"), 3); // a comma ends the number
    EXPECT_EQ(PortNumberOf("x"), 0);
    EXPECT_EQ(PortNumberOf("1e99"), 1000000);
}

// COMn is the environment's device, else the stored choice, else ttyS<n-1>;
// the stored choices live in a settings file of the test's own.
TEST(ResolvePort, TheEnvironmentThenTheStoredChoiceThenTheStandardPort)
{
    QTemporaryDir folder;
    const QString store = folder.filePath("ports.conf");
    StoredPortMappings stored(store);
    ASSERT_TRUE(stored.store(2, "/dev/serial/by-id/usb-FTDI-if00-port0"));
    ASSERT_TRUE(stored.store(3, "/dev/ttyUSB1"));
    QProcessEnvironment environment;
    environment.insert("KESTRIX_COM3", "/dev/ttyUSB0");
    for (int number = kFirstPort - 1; number <= kLastPort + 1; ++number) {
        const auto resolved = ResolvePort(number, environment, &stored);
        ASSERT_EQ(resolved.has_value(), number >= kFirstPort && number <= kLastPort) << number;
        if (!resolved)
            continue;
#ifdef Q_OS_WIN
        EXPECT_EQ(resolved->device, QStringLiteral("COM%1").arg(number));
#else
        const std::pair<QString, PortSource> expected =
            number == 3 ? std::pair{QString("/dev/ttyUSB0"), PortSource::Environment}
            : number == 2
                ? std::pair{QString("/dev/serial/by-id/usb-FTDI-if00-port0"), PortSource::Stored}
                : std::pair{QStringLiteral("/dev/ttyS%1").arg(number - 1), PortSource::Default};
        EXPECT_EQ(resolved->device, expected.first) << number;
        EXPECT_EQ(resolved->source, expected.second) << number;
#endif
    }
    // The choice survives the program, under its own number: a new store on
    // the same file has it.
    EXPECT_EQ(QSettings(store, QSettings::IniFormat).value("ports/COM3"), "/dev/ttyUSB1");
    StoredPortMappings again(store);
    EXPECT_EQ(again.storedDevice(3), "/dev/ttyUSB1");
    EXPECT_TRUE(again.store(3, QString()));
    EXPECT_EQ(again.storedDevice(3), QString());
    EXPECT_EQ(StoredPortMappings(store).storedDevice(3), QString());
}

class SendFixture : public SetupFixture
{
protected:
    QString info() { return Part<QLabel>(setup->dialog(), "lblInfo")->text(); }
};

TEST_F(SendFixture, DefaultSettingsGoOutAs134BytesWithTheirChecksums)
{
    Button(setup.get(), "cmdSend")->click();

    EXPECT_EQ(port.calls, QStringList({"port 1", "open", "write FE FE", "write 30 30",
                                       "write FE FE", "write 02 03", "close"}));
    ASSERT_EQ(port.written.size(), 4);
    const QByteArray wire = port.written.join();
    ASSERT_EQ(wire.size(), 134);
    ConfigFrame frame{};
    DeviceSettings defaults = DefaultSettings();
    ASSERT_TRUE(BuildConfigFrame(defaults, frame));
    const QByteArray frameBytes(reinterpret_cast<const char *>(frame.data()), kFrameSize);
    EXPECT_EQ(wire.mid(0, 2), "\xFE\xFE");
    EXPECT_EQ(wire.mid(2, 64), frameBytes.left(64));
    EXPECT_EQ(static_cast<std::uint8_t>(wire[66]), 0xE6);
    EXPECT_EQ(wire.mid(67, 2), "\xFE\xFE");
    EXPECT_EQ(wire.mid(69, 64), frameBytes.mid(64));
    EXPECT_EQ(static_cast<std::uint8_t>(wire[133]), 0x3C);
    EXPECT_FALSE(port.isOpen());
}

TEST_F(SendFixture, ProgressPausesAndTheButtonFollowTheSequence)
{
    QStringList texts;
    QList<bool> buttonEnabled;
    services.duringEvents = [&] { texts << info(); };
    services.duringPause = [&] { buttonEnabled << Button(setup.get(), "cmdSend")->isEnabled(); };

    Button(setup.get(), "cmdSend")->click();

    EXPECT_EQ(texts,
              QStringList({"", kSending, kSending + ".", kSending + "..", kSending + "..."}));
    EXPECT_EQ(services.pauses, std::vector<int>({400, 10, 400, 10, 400, 400}));
    EXPECT_EQ(buttonEnabled, QList<bool>(6, false));
    EXPECT_TRUE(Button(setup.get(), "cmdSend")->isEnabled());
    EXPECT_EQ(info(), kSent);
    EXPECT_TRUE(setup->dialog()->isVisible());
    EXPECT_FALSE(Part<QPushButton>(setup->dialog(), "OKButton")->isHidden());
    EXPECT_TRUE(Part<QTimer>(setup->dialog(), "tmrHide")->isActive());
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(SendFixture, ThePortFieldIsShownAsTyped)
{
    Text(setup.get(), "txtComm")->setText(" 2 ");
    Button(setup.get(), "cmdSend")->click();
    EXPECT_EQ(port.calls.first(), "port 2");
    EXPECT_TRUE(services.messages.empty());
    QStringList texts;
    services.duringEvents = [&] { texts << info(); };
    Button(setup.get(), "cmdSend")->click();
    EXPECT_EQ(texts.value(1), "\r\nSending data on COM 2 ...");
}

struct StepFailure
{
    int call; // index into port.calls
    bool dialogShown;
    int pausesDone;
};

class SendFailure : public SendFixture, public testing::WithParamInterface<StepFailure>
{
};

TEST_P(SendFailure, ShowsTheDescriptionClosesThePortAndEndsTheSend)
{
    const StepFailure &f = GetParam();
    port.failOnCall = f.call;
    Button(setup.get(), "cmdSend")->click();

    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, "failed: " + port.calls[f.call]);
    EXPECT_EQ(services.messages[0].title, "Kestrix_DX");
    EXPECT_EQ(services.messages[0].icon, MessageIcon::None);
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(Button(setup.get(), "cmdSend")->isEnabled());
    EXPECT_EQ(static_cast<int>(services.pauses.size()), f.pausesDone);
    EXPECT_EQ(setup->dialog()->isVisible(), f.dialogShown);
    if (f.dialogShown) {
        EXPECT_TRUE(Part<QPushButton>(setup->dialog(), "OKButton")->isHidden());
        EXPECT_FALSE(Part<QTimer>(setup->dialog(), "tmrHide")->isActive());
    }

    // The port was left closed, so the next SEND goes through.
    port.failOnCall = -1;
    services.messages.clear();
    Button(setup.get(), "cmdSend")->click();
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(info(), kSent);
}

INSTANTIATE_TEST_SUITE_P(EachStep, SendFailure,
                         testing::Values(StepFailure{0, false, 0}, StepFailure{1, false, 0},
                                         StepFailure{2, true, 1}, StepFailure{3, true, 2},
                                         StepFailure{4, true, 3}, StepFailure{5, true, 4},
                                         StepFailure{6, true, 5}));

TEST_F(SendFixture, APortThatReadsBackClosedEndsTheSendSilently)
{
    port.opensClosed = true;
    Button(setup.get(), "cmdSend")->click();
    EXPECT_EQ(port.calls, QStringList({"port 1", "open"}));
    EXPECT_TRUE(services.messages.empty());
    EXPECT_FALSE(setup->dialog()->isVisible());
}

TEST_F(SendFixture, InvalidSettingsAreRefusedWithoutTouchingThePort)
{
    Text(setup.get(), "txtTimer")->setText("2,3");
    List(setup.get(), "cbNumBand")->setListIndex(-1);
    Button(setup.get(), "cmdSend")->click();
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, "Parametri incompleti o non corretti");
    EXPECT_EQ(services.messages[0].title, "Invio non eseguito - Kestrix");
    EXPECT_EQ(services.messages[0].icon, MessageIcon::Information);
    EXPECT_TRUE(port.calls.isEmpty());
    EXPECT_TRUE(Button(setup.get(), "cmdSend")->isEnabled());
    // The timer step ran before the failure: the box shows what would be sent.
    EXPECT_EQ(Text(setup.get(), "txtTimer")->text(),
              QLocale().decimalPoint() == "," ? "2,25" : "2.25");
    EXPECT_EQ(Text(setup.get(), "txtTimer")->background(), TextBox::Background::Normal);
}

TEST_F(SendFixture, CloseIsRefusedDuringTheSendAndAcceptedAfter)
{
    setup->show();
    QList<bool> closed;
    services.duringEvents = [&] { closed << setup->close(); };
    services.duringPause = [&] { closed << setup->close(); };
    Button(setup.get(), "cmdSend")->click();
    EXPECT_FALSE(closed.contains(true));
    EXPECT_TRUE(setup->isVisible());
    EXPECT_TRUE(setup->close());
}

TEST_F(SendFixture, ADialogClosedDuringTheSendIsCreatedAgain)
{
    bool closedOnce = false;
    services.duringPause = [&] {
        if (!closedOnce && setup->hasDialog()) {
            closedOnce = true;
            setup->dialog()->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    };
    Button(setup.get(), "cmdSend")->click();
    EXPECT_TRUE(closedOnce);
    EXPECT_EQ(info(), kSent);
}
