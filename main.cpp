#include "QtFileDialogs.h"
#include "QtSerialPort.h"
#include "QtServices.h"
#include "Setup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    kestrix::QtServices services;
    kestrix::QtSerialPort port;
    kestrix::QtFileDialogs files;
    kestrix::Setup setup({services, port, files});
    files.setParent(&setup);
    setup.load();
    setup.show();
    return app.exec();
}
