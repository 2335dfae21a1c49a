// SPDX-License-Identifier: GPL-3.0-or-later
#include "PortReport.h"

#include "DeviceKind.h"

namespace kestrix {

namespace {

QString portLine(const PortEntry &port)
{
    QStringList parts = {port.device};
    for (const QString &about : {port.description, port.manufacturer, port.serialNumber})
        if (!about.isEmpty())
            parts << about;
    QString line = QStringLiteral("  ") + parts.join(QStringLiteral("  ")) +
                   QStringLiteral("  [%1]").arg(AvailabilityName(port.availability));
    if (!port.stableName.isEmpty())
        line += QStringLiteral("\n      ") + port.stableName;
    return line;
}

} // namespace

QString DeviceProblem(const QString &device)
{
    const DeviceCheck check = CheckDevice(device);
    switch (check.kind) {
    case DeviceKind::Missing:
        return QStringLiteral("not there now");
    case DeviceKind::NotSerial:
        return QStringLiteral("not a serial port (%1)").arg(check.what);
    case DeviceKind::Unusable:
        return QStringLiteral("a name that cannot be used (%1)").arg(check.what);
    default:
        return {};
    }
}

QStringList PortReport(const QList<PortEntry> &ports, const QProcessEnvironment &environment,
                       const PortMappings &stored)
{
    QStringList lines{QStringLiteral("Serial ports:")};
    for (const PortEntry &port : ports)
        lines << portLine(port);
    if (ports.isEmpty())
        lines << QStringLiteral("  none found");
    lines << QStringLiteral("COM numbers:");
    for (int n = kFirstPort; n <= kLastPort; ++n) {
        const auto resolved = ResolvePort(n, environment, &stored);
        QString line = QStringLiteral("  %1  %2  (%3)")
                           .arg(QStringLiteral("COM%1").arg(n), -5)
                           .arg(ShortDeviceName(resolved->device), SourceName(resolved->source, n));
        if (const QString problem = DeviceProblem(resolved->device); !problem.isEmpty())
            line += QStringLiteral(": ") + problem;
        lines << line;
    }
    return lines;
}

} // namespace kestrix
