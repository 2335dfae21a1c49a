#pragma once

// The 35 fields of a configuration file, in file order, with the line each
// one ends on in a written file and the slot of the settings record it holds.
// The writer and the reader both walk this one table.

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
    QString control;     // the control's name, as the window calls it
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

} // namespace kestrix
