// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The configuration file: 35 fields over 25 lines of Windows-1252 text with
// CR LF line ends. Texts are written between double quotes exactly as shown;
// check states and list positions as decimal integers.
//
// Reading takes the fields in order whatever lines they stand on, checks
// every one as its control would, and only then gives a settings record, so a
// caller never applies half a file. It reads byte by byte and stops after the
// 35th field; no field may run past kMaxFieldBytes, so a huge file or one
// without line ends is never pulled into memory.

#include "DeviceSettings.h"

#include <QByteArray>
#include <QString>

#include <optional>

class QIODevice;

namespace kestrix {

inline constexpr int kMaxFieldBytes = 1024;

struct ConfigWrite
{
    std::optional<QByteArray> bytes;
    QString error; // what keeps the settings out of a file, when bytes is empty
};

struct ConfigRead
{
    std::optional<DeviceSettings> settings;
    QString error; // "line N: ..." when settings is empty
};

ConfigWrite WriteConfigFile(const DeviceSettings &settings);

ConfigRead ReadConfigFile(QIODevice &device);
ConfigRead ReadConfigFile(const QByteArray &bytes);

} // namespace kestrix
