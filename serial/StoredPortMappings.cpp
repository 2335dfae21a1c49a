// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoredPortMappings.h"

namespace kestrix {

namespace {

QString keyOf(int number)
{
    return QStringLiteral("ports/COM%1").arg(number);
}

} // namespace

StoredPortMappings::StoredPortMappings()
    : m_settings(
          std::make_unique<QSettings>(QStringLiteral("Kestrix"), QStringLiteral("kestrix-config")))
{
}

StoredPortMappings::StoredPortMappings(std::unique_ptr<QSettings> settings)
    : m_settings(std::move(settings))
{
}

QString StoredPortMappings::storedDevice(int number) const
{
    return m_settings->value(keyOf(number)).toString();
}

void StoredPortMappings::store(int number, const QString &device)
{
    if (device.isEmpty())
        m_settings->remove(keyOf(number));
    else
        m_settings->setValue(keyOf(number), device);
    m_settings->sync();
}

} // namespace kestrix
