// SPDX-License-Identifier: GPL-3.0-or-later
// When the send-result dialog hides itself after the result: 45 s, measured
// on a few dialogs at once, each started a little apart.
//
// Reproduce: build/bench/dialog_hide_timing [dialogs]  (takes 45 s)

#include "Dialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <vector>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 5;
    std::vector<std::unique_ptr<kestrix::Dialog>> dialogs;
    std::vector<QElapsedTimer> clocks(static_cast<std::size_t>(count));
    int hidden = 0;
    for (int i = 0; i < count; ++i) {
        dialogs.push_back(std::make_unique<kestrix::Dialog>());
        kestrix::Dialog *dialog = dialogs.back().get();
        QElapsedTimer &clock = clocks[static_cast<std::size_t>(i)];
        QObject::connect(dialog->findChild<QTimer *>(QStringLiteral("tmrHide")), &QTimer::timeout,
                         [&clock, &hidden, count] {
                             std::printf("hid after %.1f ms\n", clock.nsecsElapsed() / 1e6);
                             if (++hidden == count)
                                 QCoreApplication::quit();
                         });
        kestrix::DialogProgress progress([dialog] { return dialog; });
        progress.showModeless();
        clock.start();
        progress.setHideTimerEnabled(true);
        QThread::msleep(137); // start them apart, off any whole second
    }
    return app.exec();
}
