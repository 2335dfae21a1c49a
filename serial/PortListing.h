// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The serial ports this machine has, as the operator needs to tell them
// apart: which one is the cable to the box.

#include <QList>
#include <QString>

namespace kestrix {

enum class PortAvailability
{
    Free,
    InUse,
    NoPermission,
    Unknown,
};

struct PortEntry
{
    QString device; // the path to open: /dev/ttyUSB0, COM3
    QString description;
    QString manufacturer;
    QString serialNumber;
    QString stableName; // a /dev/serial/by-id link to it, where there is one
    PortAvailability availability = PortAvailability::Unknown;

    // The name to remember it by: the stable one where there is one.
    QString preferredName() const { return stableName.isEmpty() ? device : stableName; }
};

class PortLister
{
public:
    virtual ~PortLister() = default;
    virtual QList<PortEntry> ports() const = 0;
};

// "free", "in use", "no permission" or "unknown".
QString AvailabilityName(PortAvailability availability);

// "/dev/ttyUSB0 (FT232R USB UART), /dev/ttyACM0"; empty without ports.
QString PortSummary(const QList<PortEntry> &ports);

} // namespace kestrix
