// kestrix-send and the window's SEND, each talking to kestrix-box-sim over a
// pseudo-terminal.

#include "ConfigFile.h"
#include "FakeFileDialogs.h"
#include "FakeSerialPort.h"
#include "FakeServices.h"
#include "FrameDecoder.h"
#include "QtPrinters.h"
#include "QtSerialPort.h"
#include "Setup.h"
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

ProcessResult run(const QString &program, const QStringList &arguments)
{
    QProcess process;
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

// The bytes of an annotated dump: the hex pairs between the offsets and "|".
QByteArray dumpBytes(const QString &dump)
{
    QByteArray bytes;
    static const QRegularExpression row(
        QStringLiteral("^\\s*\\d+\\s+(?:-|\\d+)\\s+([0-9a-f ]+)\\|"));
    for (const QString &line : dump.split('\n')) {
        const QRegularExpressionMatch match = row.match(line);
        if (match.hasMatch())
            bytes += QByteArray::fromHex(match.captured(1).toLatin1());
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
    kestrix::Setup window({services, port, files});
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

TEST_F(Tools, TheWindowsSendReachesTheSimulator)
{
    Simulator sim(1);
    ASSERT_FALSE(sim.path().isEmpty());
    QProcessEnvironment environment;
    environment.insert("KESTRIX_COM3", sim.path());
    QtSerialPort port(environment);
    FakeServices services;
    services.pausesSleep = true;
    FakeFileDialogs files;
    kestrix::Setup window({services, port, files});
    window.load();
    files.answer = cfg();
    window.cmdLoad_Click();
    window.txtComm->setText("3");
    window.cmdSend->click();
    EXPECT_TRUE(services.messages.empty()) << services.messages[0].text.toStdString();
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

TEST_F(Tools, KestrixSendFailuresGoToStderrWithTheirExitCode)
{
    const QString bad = QDir(folder.path()).filePath("bad.cfg");
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\"1,0\",7\r\n");
    file.close();
    DeviceSettings unsendable = settings;
    unsendable.cbBand[1] = kNoChoice;
    const QString noBand = QDir(folder.path()).filePath("noband.cfg");
    QFile second(noBand);
    ASSERT_TRUE(second.open(QIODevice::WriteOnly));
    second.write(*WriteConfigFile(unsendable).bytes);
    second.close();

    const struct
    {
        QStringList arguments;
        int exitCode;
        const char *error;
    } cases[] = {
        {{}, 1, "name one configuration file"},
        {{"--port", "2", "--device", "/dev/null", cfg()}, 1, "not both"},
        {{"--port", "17", cfg()}, 1, "--port needs a number from 1 to 16"},
        {{bad}, 2, "bad.cfg: line 1: field 2 (the beep switch): 7 is not a check state"},
        {{"-n", folder.path() + "/none.cfg"}, 2, "none.cfg: cannot be opened"},
        {{noBand}, 3, "noband.cfg: the settings cannot be sent: an active band row has no band"},
        {{"--device", folder.path() + "/ttyNone", cfg()}, 4, "does not exist"},
    };
    for (const auto &c : cases) {
        const ProcessResult result = run(KESTRIX_SEND, c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.error;
        EXPECT_TRUE(result.err.contains(c.error)) << result.err.toStdString();
    }
    const ProcessResult help = run(KESTRIX_SEND, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("Exit status:"));
}
