// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtServices.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

namespace kestrix {

void QtServices::messageBox(const QString &text, const QString &title, MessageIcon icon)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    switch (icon) {
    case MessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    box.exec();
}

void QtServices::beep()
{
    QApplication::beep();
}

void QtServices::processEvents()
{
    QCoreApplication::processEvents();
}

void QtServices::pause(int milliseconds)
{
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

} // namespace kestrix
