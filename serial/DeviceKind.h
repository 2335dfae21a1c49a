// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a device path names, told from the file system: a terminal (a serial
// port, an adapter, a pseudo-terminal), something that is no serial port (a
// plain file, /dev/null), nothing at all, or a name that cannot be used.
// Nothing is written and no serial port is opened.

#include <QString>

namespace kestrix {

enum class DeviceKind
{
    Terminal,
    Missing,
    NotSerial,
    Unusable, // the name itself is refused: too long, a loop of links
    Unknown,  // cannot tell here (a Windows COM port)
};

struct DeviceCheck
{
    DeviceKind kind = DeviceKind::Unknown;
    QString what; // "a regular file", "File name too long": for messages
};

DeviceCheck CheckDevice(const QString &path);

// A name short enough for a message: its start and end around an ellipsis.
QString ShortDeviceName(const QString &path);

} // namespace kestrix
