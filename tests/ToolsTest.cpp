// SPDX-License-Identifier: GPL-3.0-or-later
// kestrix-send and the window's SEND, each talking to kestrix-box-sim over a
// pseudo-terminal.

#include "BoxReceiver.h"
#include "ConfigFile.h"
#include "Controls.h"
#include "FakeFileDialogs.h"
#include "FakePorts.h"
#include "FakeSerialPort.h"
#include "FakeServices.h"
#include "FrameDecoder.h"
#include "PortChooser.h"
#include "QtPrinters.h"
#include "QtSerialPort.h"
#include "Setup.h"
#include "StoredPortMappings.h"
#include "Transmission.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

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

// kestrix-send beside the test where it was copied for an unprivileged run,
// else in the build tree.
QString sendProgram()
{
    const QString beside = QCoreApplication::applicationDirPath() + "/kestrix-send";
    return QFileInfo::exists(beside) ? beside : QStringLiteral(KESTRIX_SEND);
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
        file.write(*WriteConfigFile(s));
    }
    QString cfg() const { return QDir(folder.path()).filePath("Box.cfg"); }
    ConfigFrame frame() const
    {
        ConfigFrame f{};
        DeviceSettings sent = settings;
        EXPECT_TRUE(BuildConfigFrame(sent, f));
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
    Button(&window, "cmdSend")->click();
    const QByteArray wire = port.written.join();
    ASSERT_EQ(wire.size(), 134);

    const ProcessResult sent = run(sendProgram(), {"--dry-run", cfg()});
    EXPECT_EQ(sent.exitCode, 0) << sent.err.toStdString();
    EXPECT_EQ(dumpBytes(sent.out), wire);
    EXPECT_TRUE(sent.out.contains("| user message \"CQ TEST\""));
    EXPECT_TRUE(sent.out.contains("| band 3: 10m (26-40 Mhz)"));
}

TEST_F(Tools, KestrixSendReachesTheSimulator)
{
    Simulator sim(1);
    ASSERT_FALSE(sim.path().isEmpty());
    const ProcessResult sent = run(sendProgram(), {"--device", sim.path(), cfg()});
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
        out.write(*WriteConfigFile(s));
        return path;
    };
    const QString noBand =
        saved(QStringLiteral("noband.cfg"), [](DeviceSettings &s) { s.cbBand[1] = kNoChoice; });
    const auto onPort = [&](const char *port) {
        return saved(QStringLiteral("port%1.cfg").arg(port),
                     [port](DeviceSettings &s) { s.txtComm = port; });
    };
    const QString missing = folder.path() + "/ttyNone";
    const QString m = QRegularExpression::escape(missing), c = QRegularExpression::escape(cfg());
    using Environment = std::map<QString, QString>;
    const QString send = sendProgram(), sim = QStringLiteral(KESTRIX_BOX_SIM);

    // Output: stdout, a line "--", stderr; the pattern is searched in it.
    const struct
    {
        QString program;
        QStringList arguments;
        Environment environment;
        int exitCode;
        QString pattern;
    } cases[] = {
        {send, {}, {}, 1, "name one configuration file"},
        {send, {"--bogus", cfg()}, {}, 1, "Unknown option 'bogus'"},
        {send, {"--port", "2", "--device", "/dev/null", cfg()}, {}, 1, "not both"},
        {send, {"--port", "17", cfg()}, {}, 1, "--port needs a number from 1 to 16"},
        {send, {"-n", "--port", "abc", cfg()}, {}, 1, "from 1 to 16, not \"abc\""},
        {send, {"--port", "", cfg()}, {}, 1, "--port needs a value"},
        {send, {"--device", "", cfg()}, {}, 1, "--device needs a value"},
        {send, {"--port", "1", "--port", "2", cfg()}, {}, 1, "--port is given more than once"},
        {send, {"-n", "--dry-run", cfg()}, {}, 1, "--dry-run is given more than once"},
        {send, {"--list-ports", cfg()}, {}, 1, "--list-ports takes no other argument"},
        {send, {"--list-ports", "--port", "99"}, {}, 1, "--list-ports takes no other argument"},
        {send, {"--help-all"}, {}, 0, "Exit status:(.|\n)*--help-all"},
        {send, {"--version"}, {}, 0, "^kestrix-send 6\\.0\n--\n$"},
        {send, {bad}, {}, 2, "bad.cfg: line 1: field 2 \\(the beep switch\\): 7 is not a check"},
        {send, {"-n", folder.path() + "/none.cfg"}, {}, 2, "none.cfg: cannot be opened"},
        {send,
         {noBand},
         {},
         3,
         "noband.cfg: the settings cannot be sent: band 2 has no band chosen\\.$"},
        {send, {onPort("17")}, {}, 3, "the port \"17\" is not a COM port from 1 to 16"},
        {send, {onPort("1e9")}, {}, 3, "the port \"1e9\" is not a COM port from 1 to 16"},
        {send, {"--device", missing, cfg()}, {}, 4, "The serial port " + m + " does not"},
        // The window's reading of the port text: "2.0" is COM2.
        {send, {onPort("2.0")}, {{"KESTRIX_COM2", missing}}, 4, "COM2 is " + m + ", which"},
        {send, {"--port", "2.0", cfg()}, {{"KESTRIX_COM2", missing}}, 4, "COM2 is " + m},
        // A dry run shows the bytes whatever the port, and warns.
        {send,
         {"-n", onPort("0")},
         {},
         0,
         "134 bytes on the line(.|\n)*--\nkestrix-send: warning: .*the port \"0\" is not a COM"},
        {send,
         {"-n", "--port", "2", cfg()},
         {{"KESTRIX_COM2", missing}},
         0,
         "134 bytes(.|\n)*warning: " + m + " is not there now: a send would fail"},
        {send,
         {"-n", "--device", "/dev/null", cfg()},
         {},
         0,
         "warning: /dev/null is not a serial port \\(a device of another kind\\)"},
        // Every COM number, as a send resolves it.
        {send,
         {"--list-ports"},
         {{"KESTRIX_COM4", "/dev/null"}, {"KESTRIX_COM5", cfg()}},
         0,
         "COM numbers:\n  COM1 .*\n(.|\n)*  COM4   /dev/null  \\(named by KESTRIX_COM4\\): not "
         "a serial port \\(a device of another kind\\)\n  COM5   " +
             c +
             "  \\(named by KESTRIX_COM5\\): not a serial port \\(a regular file\\)\n"
             "(.|\n)*  COM16  /dev/ttyS15  \\(the default\\)"},
        {sim, {"--bogus"}, {}, 2, "Unknown option"},
        {sim, {"--count", "0"}, {}, 2, "--count needs a whole number"},
        {sim, {"--count", "x"}, {}, 2, "--count needs a whole number"},
        {sim, {"--device", ""}, {}, 2, "--device needs a value"},
        {sim, {"--count", "1", "--count", "2"}, {}, 2, "--count is given more than once"},
        {sim, {"--help-all"}, {}, 0, "Exit status:(.|\n)*--help-all"},
        {sim, {"--version"}, {}, 0, "^kestrix-box-sim 6\\.0\n--\n$"},
    };
    for (const auto &row : cases) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", folder.path()); // none stored
        for (int n = kFirstPort; n <= kLastPort; ++n)
            environment.remove(PortVariable(n));
        for (const auto &[name, value] : row.environment)
            environment.insert(name, value);
        const ProcessResult result = run(row.program, row.arguments, environment);
        const QString output = result.out + "--\n" + result.err;
        const std::string what = row.arguments.join(' ').toStdString();
        EXPECT_EQ(result.exitCode, row.exitCode) << what << "\n" << output.toStdString();
        EXPECT_TRUE(output.contains(QRegularExpression(row.pattern))) << what << "\n"
                                                                      << output.toStdString();
        // No dump for a run that cannot send; a port failure comes after it.
        if (row.program == send && row.exitCode != 0) {
            EXPECT_EQ(result.out.isEmpty(), row.exitCode != 4) << what;
        }
    }
}

// The devices chosen in the window are the tool's too; the user's own
// configuration stays out of it.
TEST_F(Tools, KestrixSendListsThePortsAndUsesTheChosenDevices)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", folder.path());
    environment.remove("KESTRIX_COM3");
    ASSERT_TRUE(StoredPortMappings(folder.path() + "/Kestrix/kestrix-config.conf")
                    .store(3, folder.path() + "/ttyUSB9"));
    const ProcessResult listed = run(sendProgram(), {"--list-ports"}, environment);
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_TRUE(listed.out.contains("  COM3   " + folder.path() +
                                    "/ttyUSB9  (chosen and stored): not there now\n"))
        << listed.out.toStdString();

    const ProcessResult sent = run(sendProgram(), {"--port", "3", cfg()}, environment);
    EXPECT_EQ(sent.exitCode, 4);
    EXPECT_TRUE(sent.err.contains("COM3 is " + folder.path() + "/ttyUSB9, which does not exist."))
        << sent.err.toStdString();
}

// The stored choices in set-ups that fight them, as the chooser, the store,
// kestrix-send and --list-ports each see them. Root ignores access rights:
// those rows run in the unprivileged run.
TEST(StoredChoices, HostileSetUps)
{
    const bool root = ::geteuid() == 0;
    const struct
    {
        const char *name;
        bool accessRights;
        QByteArray contents; // of the file, "@" the test's folder; none: no file
        int mode;            // of the file, or with a read-only folder of the folder
        const char *variable;
        const char *chooserShows; // patterns: "@" the test's folder
        const char *afterUse;     // what the chooser says after Use; empty: it closed
        const char *stored;       // COM2 as the file then has it
        const char *sendSays;     // kestrix-send --port 2
        const char *listSays;     // --list-ports
    } rows[] = {
        {"read-only folder",
         true,
         {},
         0555,
         nullptr,
         "COM2 is now /dev/ttyS1 \\(the default\\)",
         "COM2 was not stored: @/Kestrix/kestrix-config.conf cannot be written, as the folder "
         "@/Kestrix is read-only",
         "",
         "/dev/ttyS1",
         "COM2   /dev/ttyS1  \\(the default\\)"},
        {"unreadable file", true, "[ports]\nCOM2=@/ttyOld\n", 0, nullptr,
         "are not used: it cannot be read", "", "/dev/ttyPICKED",
         "warning: The stored port choices in @/Kestrix/kestrix-config.conf are not used: it "
         "cannot be read",
         "COM2   /dev/ttyS1  \\(the default\\)"},
        {"garbage file", false,
         "\x7f"
         "ELF\x01\x01\n[ports\nCOM2 /dev/ttyUSB0\n",
         0644, nullptr, "are not used: it is not a settings file", "", "/dev/ttyPICKED",
         "warning: .* are not used: it is not a settings file",
         "COM2   /dev/ttyS1  \\(the default\\)"},
        {"huge file", false, QByteArray(1100000, ';') + "\n[ports]\nCOM2=@/ttyOld\n", 0644, nullptr,
         "are not used: the file has \\d+ bytes, more than the 1048576", "", "/dev/ttyPICKED",
         "more than the 1048576", "COM2   /dev/ttyS1  \\(the default\\)"},
        {"missing device", false, "[ports]\nCOM2=@/ttyGone\n", 0644, nullptr,
         "COM2 is now @/ttyGone \\(chosen and stored\\), which is not there now", "",
         "/dev/ttyPICKED", "COM2 is @/ttyGone, which does not exist",
         "COM2   @/ttyGone  \\(chosen and stored\\): not there now"},
        {"overriding variable", false, "[ports]\nCOM2=@/ttyStored\n", 0644, "@/ttyEnv",
         "COM2 is now @/ttyEnv \\(named by KESTRIX_COM2\\).*\n.*KESTRIX_COM2 overrides", "",
         "/dev/ttyPICKED", "COM2 is @/ttyEnv, which does not exist",
         "COM2   @/ttyEnv  \\(named by KESTRIX_COM2\\): not there now"},
    };
    int ran = 0;
    for (const auto &row : rows) {
        if (row.accessRights && root)
            continue;
        ++ran;
        SCOPED_TRACE(row.name);
        QTemporaryDir folder;
        const auto at = [&folder](QString text) { return text.replace("@", folder.path()); };
        const auto matches = [&](const QString &text, const char *pattern) {
            return text.contains(QRegularExpression(at(pattern)));
        };
        const QString config = folder.path() + "/Kestrix/kestrix-config.conf";
        ASSERT_TRUE(QDir(folder.path()).mkpath("Kestrix"));
        const QByteArray old = at(QString::fromLatin1(row.contents)).toLatin1();
        if (!row.contents.isEmpty()) {
            QFile file(config);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(old);
            file.close();
            ASSERT_TRUE(::chmod(QFile::encodeName(config).constData(), row.mode) == 0);
        } else {
            ASSERT_TRUE(
                ::chmod(QFile::encodeName(folder.path() + "/Kestrix").constData(), row.mode) == 0);
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", folder.path());
        environment.remove("KESTRIX_COM2");
        if (row.variable)
            environment.insert("KESTRIX_COM2", at(row.variable));

        const QString cfg = folder.path() + "/Box.cfg";
        {
            QFile file(cfg);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(*WriteConfigFile(DefaultSettings()));
        }
        const ProcessResult sent = run(sendProgram(), {"--port", "2", cfg}, environment);
        EXPECT_EQ(sent.exitCode, 4);
        EXPECT_TRUE(matches(sent.err, row.sendSays)) << sent.err.toStdString();
        const ProcessResult listed = run(sendProgram(), {"--list-ports"}, environment);
        EXPECT_EQ(listed.exitCode, 0);
        EXPECT_TRUE(matches(listed.out, row.listSays)) << listed.out.toStdString();

        FakePortLister ports;
        ports.entries = {
            PortEntry{"/dev/ttyPICKED", "USB UART", "", "", "", PortAvailability::Free}};
        StoredPortMappings stored(config);
        PortChooser chooser(2, ports, stored, environment);
        chooser.show();
        const QString shown = chooser.current()->text() + "\n" + chooser.problem()->text();
        EXPECT_TRUE(matches(shown, row.chooserShows)) << shown.toStdString();
        chooser.list()->setCurrentItem(chooser.list()->topLevelItem(0));
        chooser.useButton()->click();
        EXPECT_EQ(chooser.isVisible(), *row.afterUse != 0);
        if (*row.afterUse) {
            EXPECT_TRUE(matches(chooser.problem()->text(), row.afterUse))
                << chooser.problem()->text().toStdString();
        }
        EXPECT_EQ(StoredPortMappings(config).storedDevice(2), row.stored);
        // What could not be used is kept, not written over.
        {
            QFile kept(config + ".bad");
            if (QString(row.chooserShows).startsWith("are not used")) {
                ::chmod(QFile::encodeName(kept.fileName()).constData(), 0600);
                EXPECT_TRUE(kept.open(QIODevice::ReadOnly));
                EXPECT_EQ(kept.readAll(), old);
            } else {
                EXPECT_FALSE(kept.exists());
            }
        }
        ::chmod(QFile::encodeName(folder.path() + "/Kestrix").constData(), 0755);
    }
    EXPECT_GT(ran, 0);
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
        EXPECT_EQ(run(sendProgram(), {"--device", sim.path(), cfg()}).exitCode, 0);
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
