// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Services.h"

#include <QCoreApplication>
#include <QStringList>
#include <QThread>

#include <functional>
#include <vector>

// Records what the windows ask of the platform instead of blocking on it.
struct FakeServices : kestrix::Services
{
    struct Message
    {
        QString text, title;
        kestrix::MessageIcon icon;
    };

    std::vector<Message> messages;
    QStringList pauses; // their lengths in milliseconds
    int beeps = 0;
    bool pausesSleep = false; // really block, for timing on a real port
    // Run inside a pause or an event pass, to act in the middle of a command.
    std::function<void()> duringPause;
    std::function<void()> duringEvents = [] {};

    void messageBox(const QString &text, const QString &title, kestrix::MessageIcon icon) override
    {
        messages.push_back({text, title, icon});
    }
    void beep() override { ++beeps; }
    void processEvents() override { duringEvents(); }
    void pause(int milliseconds) override
    {
        pauses << QString::number(milliseconds);
        if (pausesSleep)
            QThread::msleep(static_cast<unsigned long>(milliseconds));
        if (duringPause)
            duringPause();
    }
};
