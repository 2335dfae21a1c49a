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

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kestrix-config"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Edits, saves and sends the settings of a Kestrix v6.DX DX-cluster "
                       "monitor.\nInstructions: %1")
            .arg(kestrix::LocateHelpFile(QString::fromLatin1(kestrix::kHelpFileName))
                     .value_or(QStringLiteral("not found"))));
    parser.addHelpOption();
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
