// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The serial port as SEND uses it. Every operation that can fail says why,
// in words meant for the operator.

#include <QByteArray>
#include <QString>

#include "Result.h"

namespace kestrix {

class SerialPort
{
public:
    virtual ~SerialPort() = default;

    // Chooses COMn; refused outside 1 to 16.
    virtual Result<> setPortNumber(int number) = 0;
    // Opens the chosen port at 4800 baud 8N1, no flow control, DTR and RTS low.
    virtual Result<> open() = 0;
    virtual bool isOpen() const = 0;
    // Hands the bytes to the operating system; does not wait for the line.
    virtual Result<> write(const QByteArray &bytes) = 0;
    virtual Result<> close() = 0;
};

} // namespace kestrix
