// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SerialPort.h"

#include <QStringList>

// A serial port that logs every call and can be told to fail at one of them.
struct FakeSerialPort : kestrix::SerialPort
{
    QStringList calls;         // "port 3", "open", "write FE FE", "close"
    QList<QByteArray> written; // each write's bytes
    int failOnCall = -1;       // the call with this index (from 0) fails
    bool opensClosed = false;  // open() succeeds but the port reads back closed
    bool open_ = false;

    kestrix::Result<> record(const QString &call)
    {
        calls << call;
        if (calls.size() - 1 == failOnCall)
            return kestrix::Failure{"failed: " + call};
        return {};
    }
    kestrix::Result<> setPortNumber(int n) override { return record(QString("port %1").arg(n)); }
    kestrix::Result<> open() override
    {
        open_ = !opensClosed && calls.size() != failOnCall;
        return record("open");
    }
    bool isOpen() const override { return open_; }
    kestrix::Result<> write(const QByteArray &bytes) override
    {
        written << bytes; // handed to the port, even where the write then fails
        return record("write " + bytes.left(2).toHex(' ').toUpper());
    }
    kestrix::Result<> close() override { return (open_ = false, record("close")); }
};
