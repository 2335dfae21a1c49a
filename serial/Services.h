// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The side effects the windows need from the platform, behind one small
// interface so that tests can record them instead of blocking on them.

#include <QString>

namespace kestrix {

enum class MessageIcon
{
    None,
    Information,
    Critical
};

class Services
{
public:
    virtual ~Services() = default;

    // A modal message box with OK alone; returns once it is closed.
    virtual void messageBox(const QString &text, const QString &title, MessageIcon icon) = 0;
    virtual void beep() = 0;
    // Runs the pending window events once.
    virtual void processEvents() = 0;
    // Blocks the thread.
    virtual void pause(int milliseconds) = 0;
};

} // namespace kestrix
