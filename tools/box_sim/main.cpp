// SPDX-License-Identifier: GPL-3.0-or-later
// kestrix-box-sim: stands in for the Kestrix v6.DX box on a serial line.
// It reads transmissions, checks their headers, checksums and pauses, and
// prints what the box's LCD would show and the settings it received.

#include "BoxReceiver.h"
#include "FrameDecoder.h"
#include "LatenessMeter.h"
#include "SerialLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <algorithm>
#include <chrono>
#include <cstdio>

using namespace kestrix;

namespace {

enum ExitCode
{
    kAllAccepted = 0,
    kSomeRefused = 1,
    kUsage = 2,
    kLineFailed = 3,
};

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

void report(int number, const Reception &reception)
{
    out() << "Transmission " << number << ": "
          << (reception.accepted ? QStringLiteral("accepted")
                                 : QStringLiteral("refused: ") + reception.reason)
          << "\n";
    if (reception.strayBytes > 0)
        out() << "  skipped " << reception.strayBytes << " bytes before the first header\n";
    static const char *gapNames[] = {"header 1 to block 1", "block 1 to header 2",
                                     "header 2 to block 2"};
    for (std::size_t i = 0; i < reception.gapsMs.size() && i < 3; ++i) {
        out() << "  " << gapNames[i] << ": " << QString::number(reception.gapsMs[i], 'f', 1)
              << " ms";
        if (std::ranges::count(reception.uncertainGaps, static_cast<int>(i)) > 0)
            out() << " as read; the reader was up to "
                  << QString::number(reception.readerLatencyMs, 'f', 1)
                  << " ms late, so the pause may have been there";
        out() << "\n";
    }
    out() << "  LCD: " << reception.lcd << "\n";
    if (reception.accepted) {
        for (const QString &line : DescribeSettings(DecodeConfigFrame(reception.frame)))
            out() << "  " << line << "\n";
        const QByteArray frame(reinterpret_cast<const char *>(reception.frame.data()), kFrameSize);
        out() << "  frame: " << frame.toHex() << "\n";
    }
    out().flush();
}

constexpr auto kLatenessSampleEvery = std::chrono::milliseconds(20);

// A real port hands its bytes over in batches: a USB adapter in packets (an
// FTDI chip every 16 ms by default), a 16550 UART after four quiet
// characters (8 ms at 4800 baud). A header and its block may then come in
// one read, so on a real line the pause after a header is reported, not
// judged; the 400 ms between the blocks still is.
constexpr double kDeviceDeliveryMs = 16;

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrix-box-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTRIX_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Stands in for a Kestrix v6.DX box on a serial line. Without --device it "
                       "creates a pseudo-terminal and prints its path: point the program or "
                       "kestrix-send at it (KESTRIX_COM1=PATH, or --device PATH). Each "
                       "transmission is checked (headers, checksums, pauses) and reported with "
                       "what the box's LCD would show and the settings it carries.\n\n"
                       "Exit status: 0 every transmission accepted, 1 one or more refused, "
                       "2 bad arguments, 3 the line failed."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption device({QStringLiteral("d"), QStringLiteral("device")},
                                    QStringLiteral("Listen on this serial device."),
                                    QStringLiteral("PATH"));
    const QCommandLineOption count({QStringLiteral("c"), QStringLiteral("count")},
                                   QStringLiteral("Stop after N transmissions (default: run "
                                                  "until stopped)."),
                                   QStringLiteral("N"));
    parser.addOption(device);
    parser.addOption(count);
    const auto usage = [](const QString &message) {
        std::fprintf(stderr, "kestrix-box-sim: %s\n", qPrintable(message));
        return kUsage;
    };
    if (!parser.parse(app.arguments()))
        return usage(parser.errorText());
    if (parser.isSet(QStringLiteral("help-all")))
        parser.process(app); // prints the help with Qt's own options, and exits
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(kAllAccepted);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    for (const QCommandLineOption *option : {&device, &count}) {
        if (parser.values(*option).size() > 1)
            return usage(
                QStringLiteral("--%1 is given more than once").arg(option->names().last()));
    }
    if (!parser.positionalArguments().isEmpty())
        return usage(QStringLiteral("unexpected argument \"%1\"")
                         .arg(parser.positionalArguments().constFirst()));
    bool countOk = true;
    const int wanted = parser.isSet(count) ? parser.value(count).toInt(&countOk) : 0;
    if (!countOk || (parser.isSet(count) && wanted < 1))
        return usage(QStringLiteral("--count needs a whole number of 1 or more"));
    if (parser.isSet(device) && parser.value(device).isEmpty())
        return usage(QStringLiteral("--device needs a value"));

    QString error;
    const std::unique_ptr<SerialLine> line =
        parser.isSet(device) ? SerialLine::openDevice(parser.value(device), error)
                             : SerialLine::createPseudoTerminal(error);
    if (!line) {
        std::fprintf(stderr, "kestrix-box-sim: %s\n", qPrintable(error));
        return kLineFailed;
    }
    out() << "Listening on " << line->path() << "\n";
    if (!SerialLine::takeRealTimePriority())
        out() << "Running without real-time priority (it needs root or a real-time limit): "
                 "the later this reader wakes, the fewer short pauses it can tell from late "
                 "reads; those it reports instead of refusing.\n";
    out().flush();

    BoxReceiver receiver;
    int received = 0;
    bool allAccepted = true;
    const auto handle = [&](const Reception &reception) {
        report(++received, reception);
        allAccepted = allAccepted && reception.accepted;
    };
    LatenessMeter lateness;
    while (wanted == 0 || received < wanted) {
        // Short waits let the reader see how late it wakes, which is how
        // short it may measure a pause.
        auto due = BoxReceiver::Clock::now() + kLatenessSampleEvery;
        if (const auto deadline = receiver.deadline())
            due = std::min(due, *deadline);
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(due - BoxReceiver::Clock::now());
        const int timeoutMs = std::max<int>(1, static_cast<int>(left.count()));
        const auto waitUntil = BoxReceiver::Clock::now() + std::chrono::milliseconds(timeoutMs);
        const std::optional<QByteArray> bytes = line->read(timeoutMs, error);
        if (!bytes) {
            std::fprintf(stderr, "kestrix-box-sim: %s\n", qPrintable(error));
            return kLineFailed;
        }
        const auto now = BoxReceiver::Clock::now();
        // A wake for data counts too: a reader starved past its timer reads
        // bytes that came far apart in one go.
        lateness.wake(waitUntil, now);
        receiver.setReaderLatency(lateness.allowanceMs() +
                                  (parser.isSet(device) ? kDeviceDeliveryMs : 0));
        if (bytes->isEmpty()) {
            if (auto cut = receiver.idle(now))
                handle(*cut);
            continue;
        }
        for (const Reception &reception : receiver.feed(*bytes, now))
            handle(reception);
    }
    return allAccepted ? kAllAccepted : kSomeRefused;
}
