// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one map of the 35 settings: each one's slot in the settings record,
// the window control that shows it (by its name) and its field in a
// configuration file, in file order, with the line it ends on there. The
// file's writer and reader, and the window's read and write of its
// controls, all walk this table; a new setting is one more row.

#include "DeviceSettings.h"

#include <QString>

#include <functional>
#include <vector>

namespace kestrix {

enum class FieldKind
{
    Text,     // the control's text, between double quotes
    Check,    // a check state: 0, 1 or 2
    Position, // a list position: -1 to the list's last entry
    Band,     // a band list position, converted directly (no leading-number read)
};

struct ConfigField
{
    QString control;     // the control's object name in the window
    QString description; // what the operator knows it as
    FieldKind kind;
    int line;         // the line a written file puts it on, from 1
    int lastPosition; // Position and Band only: the list's last entry
    std::function<QString &(DeviceSettings &)> text;
    std::function<int &(DeviceSettings &)> number;
};

inline constexpr int kConfigFieldCount = 35;
inline constexpr int kConfigLineCount = 25;

const std::vector<ConfigField> &ConfigFields();

// The name of element index of a row of controls: "cbBand(2)".
QString ElementName(const char *row, int index);

} // namespace kestrix
