// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one map of the settings: each one's slot in the settings record, the
// window control that shows it (by its name), its default, and its field in
// a configuration file, in file order, with the line it ends on there. The
// file's writer and reader, the defaults, the frame table and the window all
// go through this table; a new setting is one more row.

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
    // The default. A text default written with a point and marked
    // localDecimal is shown with the locale's decimal separator.
    QString defaultText;
    int defaultNumber = 0;
    bool localDecimal = false;
    std::function<QString &(DeviceSettings &)> text;
    std::function<int &(DeviceSettings &)> number;
};

const std::vector<ConfigField> &ConfigFields();

// The row of the control named control, or null.
const ConfigField *FindConfigField(const QString &control);

// The name of element index of a row of controls: "row(2)".
QString ElementName(const QString &row, int index);

} // namespace kestrix
