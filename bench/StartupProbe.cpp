// SPDX-License-Identifier: GPL-3.0-or-later
// One start of a window, for the start-up benchmark: the settings window as
// the program starts it ("setup"), an empty Qt Widgets window ("empty"), or
// one that shows a single line of text ("text") and so pays for the first
// font lookup as every window with text does. Prints a
// line at the first exposure of the window, then quits; the benchmark times
// the line from the outside, so loading the libraries counts too.

#include "QtFileDialogs.h"
#include "QtPortLister.h"
#include "QtSerialPort.h"
#include "QtServices.h"
#include "Setup.h"
#include "StoredPortMappings.h"

#include <QApplication>
#include <QLabel>
#include <QWindow>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Reports the first exposure of a window and ends the event loop.
class ExposeWatch : public QObject
{
public:
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow *>(watched)->isExposed() &&
            !m_reported) {
            m_reported = true;
            std::puts("shown");
            std::fflush(stdout);
            QCoreApplication::quit();
        }
        return false;
    }

private:
    bool m_reported = false;
};

} // namespace

int main(int argc, char *argv[])
{
    const char *mode = argc > 1 ? argv[1] : "setup";
    QApplication app(argc, argv);
    ExposeWatch watch;

    kestrix::QtServices services;
    kestrix::QtSerialPort port;
    kestrix::QtFileDialogs files;
    kestrix::QtPortLister ports;
    kestrix::StoredPortMappings portMappings;
    std::unique_ptr<QWidget> window;
    if (std::strcmp(mode, "empty") == 0) {
        window = std::make_unique<QWidget>();
    } else if (std::strcmp(mode, "text") == 0) {
        window = std::make_unique<QLabel>(QStringLiteral("Kestrix"));
    } else {
        auto setup = std::make_unique<kestrix::Setup>(
            kestrix::SetupPlatform{services, port, files, ports, portMappings});
        setup->load();
        window = std::move(setup);
    }
    window->winId(); // creates the native window to watch
    window->windowHandle()->installEventFilter(&watch);
    window->show();
    return app.exec();
}
