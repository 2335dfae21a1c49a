// SPDX-License-Identifier: GPL-3.0-or-later
#include "PortListing.h"

#include <QStringList>

namespace kestrix {

QString AvailabilityName(PortAvailability availability)
{
    switch (availability) {
    case PortAvailability::Free:
        return QStringLiteral("free");
    case PortAvailability::InUse:
        return QStringLiteral("in use");
    case PortAvailability::NoPermission:
        return QStringLiteral("no permission");
    case PortAvailability::Unknown:
        break;
    }
    return QStringLiteral("unknown");
}

QString PortSummary(const QList<PortEntry> &ports)
{
    QStringList names;
    for (const PortEntry &port : ports)
        names << (port.description.isEmpty()
                      ? port.device
                      : QStringLiteral("%1 (%2)").arg(port.device, port.description));
    return names.join(QStringLiteral(", "));
}

} // namespace kestrix
