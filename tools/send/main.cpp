// SPDX-License-Identifier: GPL-3.0-or-later
// kestrix-send: sends a saved configuration to the Kestrix v6.DX box, as the
// window's SEND does, with the same reader, encoder and transmission.

#include "ConfigFileStore.h"
#include "FrameDump.h"
#include "PortDevice.h"
#include "PortListing.h"
#include "QtPortLister.h"
#include "QtSerialPort.h"
#include "Services.h"
#include "StoredPortMappings.h"
#include "Transmission.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QThread>

#include <cstdio>

using namespace kestrix;

namespace {

enum ExitCode
{
    kSent = 0,
    kUsage = 1,
    kBadFile = 2,
    kBadSettings = 3,
    kPortFailed = 4,
};

constexpr char kHelp[] = R"(Sends a configuration saved by Kestrix Config (a .cfg file) to a Kestrix
v6.DX box over a serial port, exactly as the window's SEND button does: the
same two checksummed blocks with the same pauses, about 1.6 seconds in all.
It prints the 134 bytes as an annotated hex dump first.

The port is the one saved in the file unless --port or --device says
otherwise. On Linux COMn is the device named by the variable KESTRIX_COM<n>,
else the device chosen for it in Kestrix Config (right-click Comm num), else
/dev/ttyS<n-1>; --device names any device directly, and --list-ports shows
the ports there are.

Examples:
  kestrix-send --dry-run Kestrix.cfg
  kestrix-send --port 2 Kestrix.cfg
  kestrix-send --device /dev/ttyUSB0 Kestrix.cfg
  kestrix-send --list-ports

When it is done, look at the box: its LCD shows OK! when it took the settings.

Exit status:
  0  sent (or, with --dry-run, the file is valid)
  1  bad arguments
  2  the file cannot be read or is not a valid configuration file
  3  the settings in the file cannot be sent (for example no band chosen)
  4  the serial port failed: missing, in use, no permission, or lost)";

// The console has no dialog: pauses block, messages are returned instead.
class ConsoleServices : public Services
{
public:
    void messageBox(const QString &, const QString &, MessageIcon) override {}
    void beep() override {}
    void processEvents() override { QCoreApplication::processEvents(); }
    void pause(int milliseconds) override { QThread::msleep(static_cast<unsigned>(milliseconds)); }
};

class ConsoleProgress : public SendProgress
{
public:
    QString info() override { return m_info; }
    void setInfo(const QString &text) override { m_info = text; }
    void setOkVisible(bool) override {}
    void setHideTimerEnabled(bool) override {}
    void showModeless() override {}

private:
    QString m_info;
};

// A port number from 1 to 16 written as a plain whole number.
std::optional<int> usablePort(const QString &text)
{
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    if (!ok || number < kFirstPort || number > kLastPort)
        return std::nullopt;
    return number;
}

// One line a port: its device, what it is, and the COM number chosen for it;
// then the choices whose device is not there now.
QStringList PortListing(const QList<PortEntry> &ports, const PortMappings &stored)
{
    QStringList lines;
    const auto chosenFor = [&stored](const QString &device) {
        QStringList numbers;
        for (int n = kFirstPort; n <= kLastPort; ++n)
            if (!device.isEmpty() && stored.storedDevice(n) == device)
                numbers << QStringLiteral("COM%1").arg(n);
        return numbers;
    };
    QStringList shown;
    for (const PortEntry &port : ports) {
        QStringList parts = {port.device};
        for (const QString &about : {port.description, port.manufacturer, port.serialNumber})
            if (!about.isEmpty())
                parts << about;
        QString line = parts.join(QStringLiteral("  "));
        line += QStringLiteral("  [%1]").arg(AvailabilityName(port.availability));
        if (!port.stableName.isEmpty())
            line += QStringLiteral("\n    ") + port.stableName;
        const QStringList numbers = chosenFor(port.device) + chosenFor(port.stableName);
        if (!numbers.isEmpty())
            line += QStringLiteral("\n    chosen for ") + numbers.join(QStringLiteral(", "));
        lines << line;
        shown << port.device << port.stableName;
    }
    if (lines.isEmpty())
        lines << QStringLiteral("No serial port found.");
    for (int n = kFirstPort; n <= kLastPort; ++n) {
        const QString device = stored.storedDevice(n);
        if (!device.isEmpty() && !shown.contains(device))
            lines << QStringLiteral("COM%1 is chosen as %2, which is not there now.")
                         .arg(n)
                         .arg(device);
    }
    return lines;
}

int fail(ExitCode code, const QString &message)
{
    std::fprintf(stderr, "kestrix-send: %s\n", qPrintable(message));
    return code;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrix-send"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kHelp));
    parser.addHelpOption();
    const QCommandLineOption portOption({QStringLiteral("p"), QStringLiteral("port")},
                                        QStringLiteral("Send on COMn, n from 1 to 16."),
                                        QStringLiteral("N"));
    const QCommandLineOption deviceOption({QStringLiteral("d"), QStringLiteral("device")},
                                          QStringLiteral("Send on this serial device."),
                                          QStringLiteral("PATH"));
    const QCommandLineOption dryRun({QStringLiteral("n"), QStringLiteral("dry-run")},
                                    QStringLiteral("Print the bytes only; open no port."));
    const QCommandLineOption listPorts(
        {QStringLiteral("l"), QStringLiteral("list-ports")},
        QStringLiteral("List the serial ports and the COM numbers chosen for them, then stop."));
    parser.addOptions({portOption, deviceOption, dryRun, listPorts});
    parser.addPositionalArgument(QStringLiteral("FILE.cfg"),
                                 QStringLiteral("The configuration file to send."));
    if (!parser.parse(app.arguments()))
        return fail(kUsage, parser.errorText());
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(kSent);
    StoredPortMappings stored;
    QtPortLister lister;
    if (parser.isSet(listPorts)) {
        for (const QString &line : PortListing(lister.ports(), stored))
            std::printf("%s\n", qPrintable(line));
        return kSent;
    }
    if (parser.positionalArguments().size() != 1)
        return fail(kUsage, QStringLiteral("name one configuration file (see --help)"));
    if (parser.isSet(portOption) && parser.isSet(deviceOption))
        return fail(kUsage, QStringLiteral("give --port or --device, not both"));
    for (const QCommandLineOption *option : {&portOption, &deviceOption}) {
        if (parser.isSet(*option) && parser.value(*option).isEmpty())
            return fail(kUsage, QStringLiteral("--%1 needs a value").arg(option->names().last()));
    }
    std::optional<int> portNumber;
    if (parser.isSet(portOption)) {
        portNumber = usablePort(parser.value(portOption));
        if (!portNumber)
            return fail(kUsage, QStringLiteral("--port needs a number from %1 to %2, not \"%3\"")
                                    .arg(kFirstPort)
                                    .arg(kLastPort)
                                    .arg(parser.value(portOption)));
    }

    const QString path = parser.positionalArguments().constFirst();
    const ConfigRead read = LoadConfigFile(path);
    if (!read.settings)
        return fail(kBadFile, read.error);
    const DeviceSettings &settings = *read.settings;

    ConfigFrame frame{};
    const FrameBuild build = BuildConfigFrame(settings, frame);
    if (!build.ok)
        return fail(kBadSettings, QStringLiteral("%1: the settings cannot be sent: %2.")
                                      .arg(FileTitle(path), build.problem));
    if (!portNumber && !parser.isSet(deviceOption)) {
        portNumber = usablePort(settings.txtComm);
        if (!portNumber)
            return fail(kBadSettings,
                        QStringLiteral("%1: the settings cannot be sent: the port \"%2\" is "
                                       "not a COM port from %3 to %4 (give --port or --device).")
                            .arg(FileTitle(path), settings.txtComm)
                            .arg(kFirstPort)
                            .arg(kLastPort));
    }

    const BlockHeader header = kBlockHeader;
    std::printf("%s: 134 bytes on the line\n", qPrintable(FileTitle(path)));
    for (const QString &line : FrameDump(frame, header))
        std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
    if (parser.isSet(dryRun))
        return kSent;

    const QString portText = portNumber ? QString::number(*portNumber) : settings.txtComm;
    QtSerialPort port(QProcessEnvironment::systemEnvironment(), &stored);
    port.adviseOnMissingDevice(&lister, QStringLiteral("Give one with --device PATH."));
    if (parser.isSet(deviceOption))
        port.useDevice(parser.value(deviceOption));
    ConsoleServices services;
    ConsoleProgress progress;
    if (const PortFailure failure =
            TransmitConfigFrame(frame, header, portText, port, progress, services))
        return fail(kPortFailed, QString(*failure).replace(QChar('\n'), QChar(' ')));
    std::printf("Sent. Check that the box's LCD shows OK!\n");
    return kSent;
}
