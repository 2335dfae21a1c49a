// SPDX-License-Identifier: GPL-3.0-or-later
// kestrix-send: sends a saved configuration to the Kestrix v6.DX box, as the
// window's SEND does, with the same reader, encoder and transmission.

#include "ConfigFileStore.h"
#include "DeviceKind.h"
#include "FrameDump.h"
#include "PortDevice.h"
#include "PortListing.h"
#include "PortReport.h"
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
otherwise, read as the window reads it (its leading number, rounded). On
Linux COMn is the device named by the variable KESTRIX_COM<n>, else the
device chosen for it in Kestrix Config (right-click Comm num), else
/dev/ttyS<n-1>; --device names any device directly, and --list-ports shows
the ports there are and the device of each COM number.

Examples:
  kestrix-send --dry-run Kestrix.cfg
  kestrix-send --port 2 Kestrix.cfg
  kestrix-send --device /dev/ttyUSB0 Kestrix.cfg
  kestrix-send --list-ports

When it is done, look at the box: its LCD shows OK! when it took the settings.

Exit status:
  0  sent (or, with --dry-run, the file is valid; port problems are warnings)
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

// The window's own reading of a port text, within 1 to 16.
std::optional<int> usablePort(const QString &text)
{
    const int number = PortNumberOf(text);
    if (number < kFirstPort || number > kLastPort)
        return std::nullopt;
    return number;
}

int fail(ExitCode code, const QString &message)
{
    std::fprintf(stderr, "kestrix-send: %s\n", qPrintable(message));
    return code;
}

void warn(const QString &message)
{
    std::fprintf(stderr, "kestrix-send: warning: %s\n", qPrintable(message));
}

// Each option once: a second value would silently win over the first.
QString repeatedOption(const QCommandLineParser &parser,
                       const QList<const QCommandLineOption *> &options)
{
    for (const QCommandLineOption *option : options) {
        qsizetype given = 0;
        for (const QString &name : option->names())
            given += parser.optionNames().count(name);
        if (given > 1)
            return QStringLiteral("--%1 is given more than once").arg(option->names().last());
    }
    return {};
}

// The choices stored by the window, with a warning when they cannot be used.
StoredPortMappings &storedChoices()
{
    static StoredPortMappings stored;
    static const bool warned = [] {
        if (!stored.problem().isEmpty())
            warn(QString(stored.problem()).replace(QChar('\n'), QChar(' ')));
        return true;
    }();
    Q_UNUSED(warned);
    return stored;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrix-send"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTRIX_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kHelp));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption portOption({QStringLiteral("p"), QStringLiteral("port")},
                                        QStringLiteral("Send on COMn, n from 1 to 16."),
                                        QStringLiteral("N"));
    const QCommandLineOption deviceOption({QStringLiteral("d"), QStringLiteral("device")},
                                          QStringLiteral("Send on this serial device."),
                                          QStringLiteral("PATH"));
    const QCommandLineOption dryRun(
        {QStringLiteral("n"), QStringLiteral("dry-run")},
        QStringLiteral("Print the bytes only; open no port. Port problems are warnings."));
    const QCommandLineOption listPorts(
        {QStringLiteral("l"), QStringLiteral("list-ports")},
        QStringLiteral("List the serial ports, and the device of each COM number and why, then "
                       "stop. Takes no other argument."));
    parser.addOptions({portOption, deviceOption, dryRun, listPorts});
    parser.addPositionalArgument(QStringLiteral("FILE.cfg"),
                                 QStringLiteral("The configuration file to send."));
    if (!parser.parse(app.arguments()))
        return fail(kUsage, parser.errorText());
    if (parser.isSet(QStringLiteral("help-all")))
        parser.process(app); // prints the help with Qt's own options, and exits
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(kSent);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    if (const QString repeated =
            repeatedOption(parser, {&portOption, &deviceOption, &dryRun, &listPorts});
        !repeated.isEmpty())
        return fail(kUsage, repeated);
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QtPortLister lister;
    if (parser.isSet(listPorts)) {
        if (parser.optionNames().size() > 1 || !parser.positionalArguments().isEmpty())
            return fail(kUsage, QStringLiteral("--list-ports takes no other argument"));
        for (const QString &line : PortReport(lister.ports(), environment, storedChoices()))
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
    const Result<DeviceSettings> read = LoadConfigFile(path);
    if (!read)
        return fail(kBadFile, read.error());
    DeviceSettings settings = *read;

    ConfigFrame frame{};
    if (const Result<> built = BuildConfigFrame(settings, frame); !built)
        return fail(kBadSettings, QStringLiteral("%1: the settings cannot be sent: %2.")
                                      .arg(FileTitle(path), built.error()));
    const bool dry = parser.isSet(dryRun);
    const bool onDevice = parser.isSet(deviceOption);
    if (!portNumber && !onDevice) {
        portNumber = usablePort(settings.txtComm);
        const QString problem =
            QStringLiteral("%1: the settings cannot be sent: the port \"%2\" is not a COM port "
                           "from %3 to %4 (give --port or --device).")
                .arg(FileTitle(path), settings.txtComm)
                .arg(kFirstPort)
                .arg(kLastPort);
        if (!portNumber && !dry)
            return fail(kBadSettings, problem);
        if (!portNumber)
            warn(problem);
    }
    if (dry && (portNumber || onDevice)) {
        const QString device =
            onDevice ? parser.value(deviceOption)
                     : ResolvePort(*portNumber, environment, &storedChoices())->device;
        if (const QString problem = DeviceProblem(device); !problem.isEmpty())
            warn(QStringLiteral("%1 is %2: a send would fail.")
                     .arg(ShortDeviceName(device), problem));
    }

    const BlockHeader header = kBlockHeader;
    std::printf("%s: 134 bytes on the line\n", qPrintable(FileTitle(path)));
    for (const QString &line : FrameDump(frame, header))
        std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
    if (dry)
        return kSent;

    const QString portText = portNumber ? QString::number(*portNumber) : settings.txtComm;
    QtSerialPort port(environment, onDevice ? nullptr : &storedChoices());
    port.adviseOnMissingDevice(&lister, QStringLiteral("Give one with --device PATH."));
    if (onDevice)
        port.useDevice(parser.value(deviceOption));
    ConsoleServices services;
    ConsoleProgress progress;
    if (const Result<> sent =
            TransmitConfigFrame(frame, header, portText, port, progress, services);
        !sent)
        return fail(kPortFailed, QString(sent.error()).replace(QChar('\n'), QChar(' ')));
    std::printf("Sent. Check that the box's LCD shows OK!\n");
    return kSent;
}
