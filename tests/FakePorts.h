// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PortDevice.h"
#include "PortListing.h"

#include <QMap>

// Serial ports and stored choices that a test sets, instead of the
// machine's and the user's.
struct FakePortLister : kestrix::PortLister
{
    QList<kestrix::PortEntry> entries;
    QList<kestrix::PortEntry> ports() const override { return entries; }
};

struct FakePortMappings : kestrix::PortMappings
{
    QMap<int, QString> devices;     // an empty one forgotten
    std::optional<QString> failure; // what store() answers instead of storing
    QString storedDevice(int number) const override { return devices.value(number); }
    kestrix::Result<> store(int number, const QString &device) override
    {
        if (failure)
            return kestrix::Failure{*failure};
        devices[number] = device;
        return {};
    }
};
