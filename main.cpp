// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtFileDialogs.h"
#include "QtPortLister.h"
#include "QtSerialPort.h"
#include "QtServices.h"
#include "Setup.h"
#include "StoredPortMappings.h"
#include "frmIstruzioni.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

#include <optional>

namespace {

// What the program says of itself, which needs no display: asked over ssh or
// from a script, --help and --version answer and exit before any window system
// is opened.
void answerWithoutDisplay(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    // Qt's own options such as -platform or -reverse stay whole words, so a
    // letter in them is never read as one of ours.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Displays version information."));
    parser.addOptions({help, version});
    // The options the window system takes are checked once it starts.
    parser.parse(arguments);
    if (!parser.isSet(help) && !parser.isSet(version))
        return;

    // The program's folder is where the help file is looked for; a core
    // application knows it without a display.
    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrix-config"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTRIX_VERSION));
    if (parser.isSet(version))
        parser.showVersion(); // exits
    const std::optional<QString> found =
        kestrix::LocateHelpFile(QString::fromLatin1(kestrix::kHelpFileName));
    const QString helpFile =
        found ? QFileInfo(*found).absoluteFilePath() : QStringLiteral("not found");
    parser.setApplicationDescription(
        QStringLiteral("Edits, saves and sends the settings of a Kestrix v6.DX DX-cluster "
                       "monitor.\nInstructions: %1")
            .arg(helpFile));
    parser.showHelp(0); // exits
}

} // namespace

int main(int argc, char *argv[])
{
    answerWithoutDisplay(argc, argv);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kestrix-config"));
    // Anything left once Qt took its own options is a mistake of the caller.
    QCommandLineParser parser;
    parser.process(app);

    kestrix::QtServices services;
    kestrix::QtPortLister ports;
    kestrix::StoredPortMappings portMappings;
    kestrix::QtSerialPort port(QProcessEnvironment::systemEnvironment(), &portMappings);
    port.adviseOnMissingDevice(&ports, QStringLiteral("Right-click Comm num to choose one."));
    kestrix::QtFileDialogs files;
    kestrix::Setup setup({services, port, files, ports, portMappings});
    files.setParent(&setup);
    setup.load();
    setup.show();
    return app.exec();
}
