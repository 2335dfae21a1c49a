// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtPortLister.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSerialPort>
#include <QSerialPortInfo>

namespace kestrix {

namespace {

// udev's stable names: links in /dev/serial/by-id to the devices.
QHash<QString, QString> stableNames()
{
    QHash<QString, QString> names;
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo &link : byId.entryInfoList(QDir::System | QDir::Files))
        names.insert(link.canonicalFilePath(), link.absoluteFilePath());
    return names;
}

// Opening is the one sure test; a port opened and closed at once is left as
// it was found.
PortAvailability availabilityOf(const QSerialPortInfo &info)
{
    QSerialPort port(info);
    if (port.open(QIODevice::ReadWrite)) {
        port.close();
        return PortAvailability::Free;
    }
    if (port.error() != QSerialPort::PermissionError)
        return PortAvailability::Unknown;
#ifdef Q_OS_WIN
    return PortAvailability::InUse;
#else
    const QFileInfo device(info.systemLocation());
    return device.isReadable() && device.isWritable() ? PortAvailability::InUse
                                                      : PortAvailability::NoPermission;
#endif
}

} // namespace

QList<PortEntry> QtPortLister::ports() const
{
    const QHash<QString, QString> stable = stableNames();
    QList<PortEntry> entries;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        PortEntry entry;
        entry.device = info.systemLocation();
        entry.description = info.description();
        entry.manufacturer = info.manufacturer();
        entry.serialNumber = info.serialNumber();
        entry.stableName = stable.value(QFileInfo(entry.device).canonicalFilePath());
        entry.availability = availabilityOf(info);
        entries << entry;
    }
    return entries;
}

} // namespace kestrix
