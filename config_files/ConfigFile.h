// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The configuration file: the settings table's fields, 35 over 25 lines, of Windows-1252 text with
// CR LF line ends. Texts are written between double quotes exactly as shown;
// check states and list positions as decimal integers.
//
// Reading takes the fields in order whatever lines they stand on, checks
// every one as its control would, and only then gives a settings record, so a
// caller never applies half a file. It reads byte by byte and stops after the
// 35th field; no field may run past kMaxFieldBytes, so a huge file or one
// without line ends is never pulled into memory.

#include "DeviceSettings.h"
#include "Result.h"

#include <QByteArray>
#include <QString>

class QIODevice;

namespace kestrix {

inline constexpr int kMaxFieldBytes = 1024;

// The file's bytes, or why the settings cannot be kept in a file.
Result<QByteArray> WriteConfigFile(const DeviceSettings &settings);

// The settings, or "line N: ..." saying what is wrong where.
Result<DeviceSettings> ReadConfigFile(QIODevice &device);
Result<DeviceSettings> ReadConfigFile(const QByteArray &bytes);

} // namespace kestrix
