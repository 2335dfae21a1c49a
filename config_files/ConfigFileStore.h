// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Saving and loading a configuration file by path. Errors come back as one
// text for the operator that names the file and, for a bad file, the line and
// the field.

#include "ConfigFile.h"

#include <QString>

namespace kestrix {

// The part of path after its last "/" or "\", the whole path without either.
QString FileTitle(const QString &path);

// Writes settings to path through a temporary file in the same folder, which
// replaces the old file only once complete: a failure leaves it untouched.
Result<> SaveConfigFile(const QString &path, const DeviceSettings &settings);

// Reads and checks the whole file at path.
Result<DeviceSettings> LoadConfigFile(const QString &path);

} // namespace kestrix
