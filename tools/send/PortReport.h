// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What --list-ports prints: the serial ports there are, then for every COM
// number the device it resolves to and why, exactly as a send resolves it,
// with what is wrong with that device when something is.
//
//   COM numbers:
//     COM1   /dev/ttyS0  (the default)
//     COM3   /dev/serial/by-id/usb-FTDI-if00-port0  (chosen and stored): not there now

#include "PortDevice.h"
#include "PortListing.h"

#include <QProcessEnvironment>
#include <QStringList>

namespace kestrix {

QStringList PortReport(const QList<PortEntry> &ports, const QProcessEnvironment &environment,
                       const PortMappings &stored);

// What keeps the device of port number from taking a send, or empty: it is
// not there, is no serial port, or its name cannot be used.
QString DeviceProblem(const QString &device);

} // namespace kestrix
