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

    kestrix::PortFailure record(const QString &call)
    {
        calls << call;
        if (calls.size() - 1 == failOnCall)
            return QStringLiteral("failed: ") + call;
        return std::nullopt;
    }
    kestrix::PortFailure setPortNumber(int number) override
    {
        return record(QStringLiteral("port %1").arg(number));
    }
    kestrix::PortFailure open() override
    {
        auto failure = record(QStringLiteral("open"));
        open_ = !failure && !opensClosed;
        return failure;
    }
    bool isOpen() const override { return open_; }
    kestrix::PortFailure write(const QByteArray &bytes) override
    {
        auto failure = record(QStringLiteral("write ") +
                              QString::fromLatin1(bytes.left(2).toHex(' ').toUpper()));
        if (!failure)
            written << bytes;
        return failure;
    }
    kestrix::PortFailure close() override
    {
        open_ = false;
        return record(QStringLiteral("close"));
    }
};
