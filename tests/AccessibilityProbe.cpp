// SPDX-License-Identifier: GPL-3.0-or-later
// Shows the three windows an operator meets, each in its usual state, for a
// screen reader's view to be walked from outside: the settings window, the
// serial device chooser and the result of a send. Says "ready" on its
// standard output once they show, and runs until it is ended. A line on its
// standard input makes the changes assistive technology must be told of:
// the frequency ranges switched on with two rows, and a second send.

#include "CheckBox.h"
#include "ComboBox.h"
#include "Dialog.h"
#include "FakeFileDialogs.h"
#include "FakePorts.h"
#include "FakeSerialPort.h"
#include "FakeServices.h"
#include "Setup.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    FakeServices services;
    FakeSerialPort port;
    FakeFileDialogs files;
    FakePortLister ports;
    FakePortMappings portMappings;
    for (const char *device : {"/dev/ttyUSB0", "/dev/ttyACM0"})
        ports.entries << kestrix::PortEntry{device, "USB serial adapter",           "FTDI", "",
                                            "",     kestrix::PortAvailability::Free};
    kestrix::Setup setup({services, port, files, ports, portMappings});
    setup.load();
    setup.show();
    setup.cmdSend_Click();
    setup.chooseSerialDevice();
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char line[64];
        if (read(STDIN_FILENO, line, sizeof line) <= 0) {
            input.setEnabled(false);
            return;
        }
        setup.findChild<kestrix::CheckBox *>("chkRange")->setValue(1);
        setup.findChild<kestrix::ComboBox *>("cbNumRange")->setListIndex(1);
        setup.cmdSend_Click();
    });
    QTimer::singleShot(500, [] {
        std::puts("ready");
        std::fflush(stdout);
    });
    return app.exec();
}
