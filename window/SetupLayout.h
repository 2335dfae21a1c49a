// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The settings window's layout table: every control with its name, place,
// caption, place in the Tab order and the reaction it is wired to. The
// window builds itself from it and finds its controls by these names; the
// settings it shows are matched to their controls by the same names as in
// the settings table.

#include <QRect>
#include <QString>

#include <vector>

namespace kestrix {

enum class ControlKind
{
    Frame,
    Label,
    Text,
    Check,
    List, // entries from the settings table: the band list or a count list
    Button,
};

enum class Reaction
{
    None,
    // Text fields: the key filter and leave check of their kind.
    PortField,
    TimerField,
    MessageField,
    CallField,
    RangeLowField,
    RangeHighField,
    // Check boxes.
    Option,        // a plain switch
    SectionSwitch, // switches the section frame it governs, its status label and count
    FieldSwitch,   // enables the field it governs
    // Lists.
    CountList, // enables the rows of its section up to its position
    BandList,
    // Buttons.
    Default,
    Save,
    Load,
    Send,
    Help,
};

struct ControlRow
{
    ControlKind kind{};
    QString name{};   // the object name; empty for labels nothing refers to
    QString parent{}; // the frame it stands in; empty for the window
    QString caption{};
    QRect twips{}; // left, top, width, height within the parent
    Reaction reaction = Reaction::None;
    int tabIndex = -1;    // lowest first; -1 takes no focus
    QString spokenName{}; // for assistive technology, where the caption does not say it
    QString toolTip{};
    int limit = 0; // text fields: the most characters typing may give
    Qt::Alignment alignment = Qt::AlignLeft;
    double points = 8.25;
    bool bold = false;
    bool wraps = false; // labels that take two lines
    int element = -1;   // the index within a row of controls
    QString buddy{};    // labels: the control they name
    QString governs{};  // switches: the frame or field they enable
    QString section{};  // status labels and count lists: their section's frame
    QString partner{};  // range bounds: the other bound of the row
};

const std::vector<ControlRow> &SetupLayout();

// The row of the control named name, or null.
const ControlRow *FindControlRow(const QString &name);

} // namespace kestrix
