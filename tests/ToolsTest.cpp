// SPDX-License-Identifier: GPL-3.0-or-later
// kestrix-send and the window's SEND, each talking to kestrix-box-sim over a
// pseudo-terminal.

#include "BoxReceiver.h"
#include "ConfigFile.h"
#include "FakeFileDialogs.h"
#include "FakePorts.h"
#include "FakeSerialPort.h"
#include "FakeServices.h"
#include "FrameDecoder.h"
#include "QtPrinters.h"
#include "QtSerialPort.h"
#include "Setup.h"
#include "StoredPortMappings.h"
#include "Transmission.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace kestrix;

namespace {

struct ProcessResult
{
    int exitCode = -1;
    QString out;
    QString err;
};

ProcessResult run(const QString &program, const QStringList &arguments,
                  const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.waitForFinished(10000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// The simulator in the background, on a pseudo-terminal of its own.
class Simulator
{
public:
    explicit Simulator(int count)
    {
        m_process.start(QStringLiteral(KESTRIX_BOX_SIM), {"--count", QString::number(count)});
        if (m_process.waitForReadyRead(5000))
            m_path = QString::fromUtf8(m_process.readLine()).trimmed().remove("Listening on ");
    }
    ~Simulator()
    {
        m_process.kill();
        m_process.waitForFinished();
    }
    QString path() const { return m_path; }
    ProcessResult finish()
    {
        m_process.waitForFinished(10000);
        return {m_process.exitCode(), QString::fromUtf8(m_process.readAllStandardOutput()),
                QString::fromUtf8(m_process.readAllStandardError())};
    }

private:
    QProcess m_process;
    QString m_path;
};

QString frameHex(const ConfigFrame &frame)
{
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char *>(frame.data()), kFrameSize).toHex());
}

// The bytes of an annotated dump: the hex pairs between the offsets and "|";
// each row's wire offset counts the bytes before it.
QByteArray dumpBytes(const QString &dump)
{
    QByteArray bytes;
    static const QRegularExpression row(
        QStringLiteral("^\\s*(\\d+)\\s+(?:-|\\d+)\\s+([0-9a-f ]+)\\|"));
    for (const QString &line : dump.split('\n')) {
        const QRegularExpressionMatch match = row.match(line);
        if (!match.hasMatch())
            continue;
        EXPECT_EQ(match.captured(1).toInt(), bytes.size()) << line.toStdString();
        bytes += QByteArray::fromHex(match.captured(2).toLatin1());
    }
    return bytes;
}

class Tools : public testing::Test
{
protected:
    void SetUp() override
    {
        settings = DefaultSettings();
        settings.chkBand = settings.chkDxCall = 1;
        settings.cbNumBand = 2;
        settings.cbBand = {4, 6, 8, -1, -1, -1};
        settings.txtUsrM = "CQ TEST";
        writeFile(settings);
    }
    void writeFile(const DeviceSettings &s)
    {
        QFile file(cfg());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(*WriteConfigFile(s).bytes);
    }
    QString cfg() const { return QDir(folder.path()).filePath("Box.cfg"); }
    ConfigFrame frame() const
    {
        ConfigFrame f{};
        BuildConfigFrame(settings, f);
        return f;
    }
    void expectAcceptedAsSent(const ProcessResult &sim)
    {
        EXPECT_EQ(sim.exitCode, 0) << sim.out.toStdString() << sim.err.toStdString();
        EXPECT_TRUE(sim.out.contains("Transmission 1: accepted")) << sim.out.toStdString();
        EXPECT_TRUE(sim.out.contains("LCD: OK!"));
        EXPECT_TRUE(sim.out.contains("frame: " + frameHex(frame()))) << sim.out.toStdString();
        for (const QString &line : DescribeSettings(DecodeConfigFrame(frame())))
            EXPECT_TRUE(sim.out.contains(line)) << line.toStdString();
    }

    QTemporaryDir folder;
    DeviceSettings settings;
};

} // namespace

TEST_F(Tools, DryRunPrintsTheBytesTheWindowSends)
{
    FakeServices services;
    FakeSerialPort port;
    FakeFileDialogs files;
    FakePortLister ports;
    FakePortMappings mappings;
    kestrix::Setup window({services, port, files, ports, mappings});
    window.load();
    files.answer = cfg();
    window.cmdLoad_Click();
    window.cmdSend->click();
    const QByteArray wire = port.written.join();
    ASSERT_EQ(wire.size(), 134);

    const ProcessResult sent = run(KESTRIX_SEND, {"--dry-run", cfg()});
    EXPECT_EQ(sent.exitCode, 0) << sent.err.toStdString();
    EXPECT_EQ(dumpBytes(sent.out), wire);
    EXPECT_TRUE(sent.out.contains("| user message \"CQ TEST\""));
    EXPECT_TRUE(sent.out.contains("| band 3: 10m (26-40 Mhz)"));
}

TEST_F(Tools, KestrixSendReachesTheSimulator)
{
    Simulator sim(1);
    ASSERT_FALSE(sim.path().isEmpty());
    const ProcessResult sent = run(KESTRIX_SEND, {"--device", sim.path(), cfg()});
    EXPECT_EQ(sent.exitCode, 0) << sent.err.toStdString();
    expectAcceptedAsSent(sim.finish());
}

TEST_F(Tools, TheSimulatorRefusesACorruptedTransmission)
{
    Simulator sim(1);
    QFile line(sim.path());
    ASSERT_TRUE(line.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const BlockHeader header{0xFE, 0xFE};
    QByteArray block = Block(frame(), 0, header);
    block[5] = block[5] + 1;
    line.write("\xFE\xFE");
    QThread::msleep(20);
    line.write(block);
    const ProcessResult result = sim.finish();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.contains("Transmission 1: refused: block 1 carries checksum"))
        << result.out.toStdString();
    EXPECT_TRUE(result.out.contains("LCD: ERR CHECKSUM"));
}

TEST_F(Tools, BadArgumentsFilesAndPortsGiveTheirExitCodeAndMessage)
{
    const QString bad = QDir(folder.path()).filePath("bad.cfg");
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\"1,0\",7\r\n");
    file.close();
    const auto saved = [this](const QString &name, auto change) {
        DeviceSettings s = settings;
        change(s);
        const QString path = QDir(folder.path()).filePath(name);
        QFile out(path);
        out.open(QIODevice::WriteOnly);
        out.write(*WriteConfigFile(s).bytes);
        return path;
    };
    const QString noBand =
        saved(QStringLiteral("noband.cfg"), [](DeviceSettings &s) { s.cbBand[1] = kNoChoice; });
    const auto onPort = [&](const char *port) {
        return saved(QStringLiteral("port%1.cfg").arg(port),
                     [port](DeviceSettings &s) { s.txtComm = port; });
    };
    const QString missing = folder.path() + "/ttyNone";
    const std::string missingError = "The serial port " + missing.toStdString() + " does not";

    const struct
    {
        QStringList arguments;
        int exitCode;
        const char *error;
    } cases[] = {
        {{}, 1, "name one configuration file"},
        {{"--bogus", cfg()}, 1, "Unknown option 'bogus'"},
        {{"--port", "2", "--device", "/dev/null", cfg()}, 1, "not both"},
        {{"--port", "17", cfg()}, 1, "--port needs a number from 1 to 16"},
        {{"-n", "--port", "abc", cfg()}, 1, "--port needs a number from 1 to 16, not \"abc\""},
        {{"--port", "", cfg()}, 1, "--port needs a value"},
        {{"--device", "", cfg()}, 1, "--device needs a value"},
        {{bad}, 2, "bad.cfg: line 1: field 2 (the beep switch): 7 is not a check state"},
        {{"-n", folder.path() + "/none.cfg"}, 2, "none.cfg: cannot be opened"},
        {{noBand}, 3, "noband.cfg: the settings cannot be sent: an active band row has no band"},
        {{"-n", onPort("0")}, 3, "the port \"0\" is not a COM port from 1 to 16"},
        {{onPort("17")}, 3, "the port \"17\" is not a COM port from 1 to 16"},
        {{onPort("1e9")}, 3, "the port \"1e9\" is not a COM port from 1 to 16"},
        {{"--device", missing, cfg()}, 4, missingError.c_str()},
    };
    for (const auto &c : cases) {
        const ProcessResult result = run(KESTRIX_SEND, c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.error;
        EXPECT_TRUE(result.err.contains(c.error)) << result.err.toStdString();
        // No dump for a run that cannot send; a port failure comes after it.
        EXPECT_EQ(result.out.isEmpty(), c.exitCode != 4) << c.error;
    }
    const ProcessResult help = run(KESTRIX_SEND, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("Exit status:"));

    for (const QStringList &arguments : {QStringList{"--bogus"}, QStringList{"--count", "0"},
                                         QStringList{"--count", "x"}, QStringList{"--device", ""}})
        EXPECT_EQ(run(KESTRIX_BOX_SIM, arguments).exitCode, 2) << arguments.join(' ').toStdString();
}

// The devices chosen in the window are the tool's too; the user's own
// configuration stays out of it.
TEST_F(Tools, KestrixSendListsThePortsAndUsesTheChosenDevices)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", folder.path());
    {
        StoredPortMappings stored(std::make_unique<QSettings>(
            folder.path() + "/Kestrix/kestrix-config.conf", QSettings::NativeFormat));
        stored.store(3, folder.path() + "/ttyUSB9");
    }
    const ProcessResult listed = run(KESTRIX_SEND, {"--list-ports"}, environment);
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_TRUE(listed.out.contains("COM3 is chosen as " + folder.path() +
                                    "/ttyUSB9, which is not there now."))
        << listed.out.toStdString();

    const ProcessResult sent = run(KESTRIX_SEND, {"--port", "3", cfg()}, environment);
    EXPECT_EQ(sent.exitCode, 4);
    EXPECT_TRUE(sent.err.contains("COM3 is " + folder.path() + "/ttyUSB9, which does not exist."))
        << sent.err.toStdString();
}

// Processes that keep both cores busy for as long as they live.
class BusyMachine
{
public:
    explicit BusyMachine(int processes)
    {
        for (int i = 0; i < processes; ++i) {
            auto *p = new QProcess;
            p->start(QStringLiteral("sh"), {"-c", "while :; do :; done"});
            m_busy.emplace_back(p);
        }
    }
    ~BusyMachine()
    {
        for (const auto &p : m_busy) {
            p->kill();
            p->waitForFinished();
        }
    }

private:
    std::vector<std::unique_ptr<QProcess>> m_busy;
};

TEST_F(Tools, OnABusyMachineTheSimulatorAcceptsCorrectSendsAndRefusesMissingPauses)
{
    BusyMachine busy(4);
    constexpr int kCorrectSends = 5;
    Simulator sim(kCorrectSends + 1);
    ASSERT_FALSE(sim.path().isEmpty());
    {
        // A sender with no pauses at all, first: the rest of its bytes must
        // not count as another transmission.
        QFile line(sim.path());
        ASSERT_TRUE(line.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const BlockHeader header{0xFE, 0xFE};
        line.write("\xFE\xFE" + Block(frame(), 0, header) + "\xFE\xFE" + Block(frame(), 1, header));
    }
    QThread::msleep(kQuietToResyncMs + 100);
    for (int i = 0; i < kCorrectSends; ++i)
        EXPECT_EQ(run(KESTRIX_SEND, {"--device", sim.path(), cfg()}).exitCode, 0);
    const ProcessResult result = sim.finish();
    EXPECT_EQ(result.exitCode, 1) << result.out.toStdString();
    EXPECT_TRUE(
        result.out.contains(QRegularExpression("Transmission 1: refused: .* came 0\\.\\d ms")))
        << result.out.toStdString();
    EXPECT_TRUE(result.out.contains("LCD: ERR TIMING"));
    EXPECT_EQ(result.out.count("accepted"), kCorrectSends) << result.out.toStdString();
    EXPECT_TRUE(
        result.out.contains(QStringLiteral("Transmission %1: accepted").arg(kCorrectSends + 1)));
}
