// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The devices chosen for port numbers, in the program's user configuration
// (QSettings: ~/.config/Kestrix/kestrix-config.conf on Linux).

#include "PortDevice.h"

#include <QSettings>

#include <memory>

namespace kestrix {

class StoredPortMappings : public PortMappings
{
public:
    // The program's own configuration.
    StoredPortMappings();
    // Another store, for tests and tools.
    explicit StoredPortMappings(std::unique_ptr<QSettings> settings);

    QString storedDevice(int number) const override;
    void store(int number, const QString &device) override;

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace kestrix
