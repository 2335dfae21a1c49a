// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The serial port as SEND uses it. Every operation that can fail returns the
// failure's description, meant for the operator; nothing means it worked.

#include <QByteArray>
#include <QString>

#include <optional>

namespace kestrix {

using PortFailure = std::optional<QString>;

class SerialPort
{
public:
    virtual ~SerialPort() = default;

    // Chooses COMn; refused outside 1 to 16.
    virtual PortFailure setPortNumber(int number) = 0;
    // Opens the chosen port at 4800 baud 8N1, no flow control, DTR and RTS low.
    virtual PortFailure open() = 0;
    virtual bool isOpen() const = 0;
    // Hands the bytes to the operating system; does not wait for the line.
    virtual PortFailure write(const QByteArray &bytes) = 0;
    virtual PortFailure close() = 0;
};

} // namespace kestrix
