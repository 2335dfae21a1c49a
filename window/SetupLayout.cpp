// SPDX-License-Identifier: GPL-3.0-or-later
// The settings window's controls, as the design places them in twips.

#include "SetupLayout.h"

#include "ConfigFields.h"
#include "DeviceSettings.h"

namespace kestrix {

namespace {

using K = ControlKind;
using R = Reaction;

// Rows stand 240 twips apart; a field as tall as the design's 285 or 315
// would cover the top of the one below, so row fields take the row's height.
constexpr int kRowPitch = 240;

int rowTop(int i)
{
    return kRowPitch + kRowPitch * i;
}

// Row labels stand a little below the top of their row's field.
QRect rowLabel(int left, int i, int width)
{
    return {left, rowTop(i) + 30, width, 255};
}

// One control a row, as a table reads.
// clang-format off
void addMainSettings(std::vector<ControlRow> &t)
{
    t.push_back({.kind = K::Frame, .name = "Frame1", .caption = "Main Settings",
                 .twips = {60, 0, 8415, 615}, .points = 9.75, .bold = true});
    t.push_back({.kind = K::Label, .name = "Label8", .parent = "Frame1",
                 .caption = "Suspend Timer:", .twips = {120, 280, 1215, 255}, .buddy = "txtTimer"});
    t.push_back({.kind = K::Text, .name = "txtTimer", .parent = "Frame1",
                 .twips = {1320, 260, 550, 285}, .reaction = R::TimerField, .tabIndex = 0,
                 .spokenName = "Suspend timer, seconds", .toolTip = "0,0-63,0   (0=Timer Disable)",
                 .limit = 5, .alignment = Qt::AlignRight});
    t.push_back({.kind = K::Label, .name = "Label10", .parent = "Frame1", .caption = "sec.",
                 .twips = {1920, 285, 285, 255}, .buddy = "txtTimer"});
    t.push_back({.kind = K::Check, .name = "chkBeep", .parent = "Frame1", .caption = "Beeps Enable",
                 .twips = {2760, 260, 1335, 255}, .reaction = R::Option, .tabIndex = 1});
    t.push_back({.kind = K::Check, .name = "chkPacket", .parent = "Frame1",
                 .caption = "Other Packets Enable", .twips = {4440, 260, 1900, 255},
                 .reaction = R::Option, .tabIndex = 2});
    t.push_back({.kind = K::Check, .name = "chkRA2", .parent = "Frame1",
                 .caption = "RA2 Output Enable", .twips = {6600, 260, 1695, 255},
                 .reaction = R::Option, .tabIndex = 3});
}

// The switches' captions break over two lines where the designed width
// wraps them and point at their frame; read aloud, they say what they switch.
void addSections(std::vector<ControlRow> &t)
{
    t.push_back({.kind = K::Frame, .name = "Frame2",
                 .caption = "DX CLUSTER Settings: Suspend On.......",
                 .twips = {60, 650, 8415, 3330}, .points = 9.75, .bold = true});

    t.push_back({.kind = K::Check, .name = "chkRange", .parent = "Frame2",
                 .caption = "Frequency\nRanges -->", .twips = {120, 480, 1170, 615},
                 .reaction = R::SectionSwitch, .tabIndex = 4,
                 .spokenName = "Suspend on frequency ranges", .governs = "frRange"});
    t.push_back({.kind = K::Label, .name = "lblRanges", .parent = "Frame2",
                 .caption = "Active Ranges", .twips = {120, 1265, 615, 495}, .wraps = true,
                 .buddy = "cbNumRange", .section = "frRange"});
    t.push_back({.kind = K::List, .name = "cbNumRange", .parent = "Frame2",
                 .twips = {730, 1320, 495, 360}, .reaction = R::CountList, .tabIndex = 5,
                 .spokenName = "Active ranges", .points = 9.75, .section = "frRange"});
    t.push_back({.kind = K::Frame, .name = "frRange", .parent = "Frame2",
                 .caption = "Frequency Ranges", .twips = {1320, 250, 3015, 1815}});
    for (int i = 0; i < kRangeRows; ++i) {
        const QString row = QStringLiteral("Range %1").arg(i + 1);
        const QString low = ElementName("txtRangeLow", i);
        const QString high = ElementName("txtRangeHigh", i);
        t.push_back({.kind = K::Label, .parent = "frRange", .caption = row,
                     .twips = rowLabel(120, i, 700), .buddy = low});
        t.push_back({.kind = K::Text, .name = low, .parent = "frRange",
                     .twips = {840, rowTop(i), 735, kRowPitch}, .reaction = R::RangeLowField,
                     .tabIndex = 6 + 2 * i, .spokenName = row + " from, MHz",
                     .toolTip = "Max 999 Mhz", .limit = 7, .alignment = Qt::AlignRight,
                     .element = i, .partner = high});
        t.push_back({.kind = K::Label, .parent = "frRange", .caption = "to",
                     .twips = rowLabel(1610, i, 190), .buddy = high});
        t.push_back({.kind = K::Text, .name = high, .parent = "frRange",
                     .twips = {1800, rowTop(i), 735, kRowPitch}, .reaction = R::RangeHighField,
                     .tabIndex = 7 + 2 * i, .spokenName = row + " to, MHz",
                     .toolTip = "Max 999 Mhz", .limit = 7, .alignment = Qt::AlignRight,
                     .element = i, .partner = low});
        t.push_back({.kind = K::Label, .parent = "frRange", .caption = "Mhz",
                     .twips = rowLabel(2600, i, 400), .buddy = high});
    }

    t.push_back({.kind = K::Check, .name = "chkBand", .parent = "Frame2",
                 .caption = "Amateur\nBands -->", .twips = {4800, 480, 1050, 615},
                 .reaction = R::SectionSwitch, .tabIndex = 18,
                 .spokenName = "Suspend on amateur bands", .governs = "frBand"});
    t.push_back({.kind = K::Label, .name = "lblBands", .parent = "Frame2",
                 .caption = "Active Bands", .twips = {4800, 1265, 615, 495}, .wraps = true,
                 .buddy = "cbNumBand", .section = "frBand"});
    t.push_back({.kind = K::List, .name = "cbNumBand", .parent = "Frame2",
                 .twips = {5280, 1320, 495, 360}, .reaction = R::CountList, .tabIndex = 19,
                 .spokenName = "Active bands", .points = 9.75, .section = "frBand"});
    t.push_back({.kind = K::Frame, .name = "frBand", .parent = "Frame2", .caption = "Amateur Bands",
                 .twips = {5880, 240, 2415, 1825}});
    for (int i = 0; i < kBandRows; ++i) {
        const QString row = QStringLiteral("Band %1").arg(i + 1);
        const QString band = ElementName("cbBand", i);
        t.push_back({.kind = K::Label, .parent = "frBand", .caption = row,
                     .twips = rowLabel(120, i, 580), .buddy = band});
        t.push_back({.kind = K::List, .name = band, .parent = "frBand",
                     .twips = {720, rowTop(i), 1600, kRowPitch}, .reaction = R::BandList,
                     .tabIndex = i == 0 ? 20 : 73 + i, .spokenName = row, .element = i});
    }

    t.push_back({.kind = K::Check, .name = "chkDxCall", .parent = "Frame2",
                 .caption = "DX Calls -->", .twips = {120, 2280, 1170, 375},
                 .reaction = R::SectionSwitch, .tabIndex = 21, .spokenName = "Suspend on DX calls",
                 .governs = "frDxCall"});
    t.push_back({.kind = K::Label, .name = "lblDxCalls", .parent = "Frame2",
                 .caption = "Active Dx Calls", .twips = {120, 2740, 580, 495}, .wraps = true,
                 .buddy = "cbNumDxCalls", .section = "frDxCall"});
    t.push_back({.kind = K::List, .name = "cbNumDxCalls", .parent = "Frame2",
                 .twips = {730, 2770, 495, 360}, .reaction = R::CountList, .tabIndex = 73,
                 .spokenName = "Active DX calls", .points = 9.75, .section = "frDxCall"});
    t.push_back({.kind = K::Frame, .name = "frDxCall", .parent = "Frame2", .caption = "Dx Calls",
                 .twips = {1320, 2160, 2535, 1095}});
    for (int i = 0; i < kDxCallRows; ++i) {
        const QString call = ElementName("txtDxCall", i);
        t.push_back({.kind = K::Label, .parent = "frDxCall",
                     .caption = QStringLiteral("DX CALL %1").arg(i + 1),
                     .twips = rowLabel(120, i, 860), .buddy = call});
        t.push_back({.kind = K::Text, .name = call, .parent = "frDxCall",
                     .twips = {1000, rowTop(i), 1335, kRowPitch}, .reaction = R::CallField,
                     .tabIndex = 66 + i, .spokenName = QStringLiteral("DX call %1").arg(i + 1),
                     .toolTip = "Max 9 char.", .limit = 9, .element = i});
    }

    t.push_back({.kind = K::Check, .name = "chkToAll", .parent = "Frame2", .caption = "To ALL...",
                 .twips = {4800, 2280, 1575, 255}, .reaction = R::Option, .tabIndex = 22,
                 .spokenName = "Suspend on To ALL"});
    t.push_back({.kind = K::Check, .name = "chkUsrM", .parent = "Frame2",
                 .caption = "User Message:", .twips = {4800, 2880, 1400, 255},
                 .reaction = R::FieldSwitch, .tabIndex = 23,
                 .spokenName = "Suspend on user message", .governs = "txtUsrM"});
    t.push_back({.kind = K::Text, .name = "txtUsrM", .parent = "Frame2",
                 .twips = {6240, 2880, 1455, 285}, .reaction = R::MessageField, .tabIndex = 24,
                 .spokenName = "User message", .toolTip = "Max 9 char.", .limit = 9});
}

void addCommands(std::vector<ControlRow> &t)
{
    t.push_back({.kind = K::Frame, .name = "Frame6", .caption = "Configuration / Programming",
                 .twips = {60, 4000, 8415, 760}, .points = 9.75, .bold = true});
    t.push_back({.kind = K::Button, .name = "cmdDefault", .parent = "Frame6", .caption = "Default",
                 .twips = {120, 280, 850, 375}, .reaction = R::Default, .tabIndex = 29});
    t.push_back({.kind = K::Button, .name = "cmdSave", .parent = "Frame6", .caption = "Save",
                 .twips = {1560, 280, 850, 375}, .reaction = R::Save, .tabIndex = 25});
    t.push_back({.kind = K::Button, .name = "cmdLoad", .parent = "Frame6", .caption = "Load",
                 .twips = {2760, 280, 850, 375}, .reaction = R::Load, .tabIndex = 30});
    t.push_back({.kind = K::Label, .name = "Label1", .parent = "Frame6", .caption = "Comm num:",
                 .twips = {4200, 345, 855, 255}, .buddy = "txtComm"});
    t.push_back({.kind = K::Text, .name = "txtComm", .parent = "Frame6",
                 .twips = {5040, 310, 300, 285}, .reaction = R::PortField, .tabIndex = 26,
                 .spokenName = "Comm port number", .toolTip = "RS232 Comm Number, 1 to 16",
                 .limit = 2, .alignment = Qt::AlignHCenter});
    t.push_back({.kind = K::Button, .name = "cmdSend", .parent = "Frame6", .caption = "SEND",
                 .twips = {5640, 245, 1140, 400}, .reaction = R::Send, .tabIndex = 27,
                 .bold = true});
    t.push_back({.kind = K::Button, .name = "cmdHelp", .parent = "Frame6", .caption = "Help (F1)",
                 .twips = {7440, 280, 850, 375}, .reaction = R::Help, .tabIndex = 28});
}
// clang-format on

std::vector<ControlRow> buildLayout()
{
    std::vector<ControlRow> t;
    addMainSettings(t);
    addSections(t);
    addCommands(t);
    return t;
}

} // namespace

const std::vector<ControlRow> &SetupLayout()
{
    static const std::vector<ControlRow> table = buildLayout();
    return table;
}

const ControlRow *FindControlRow(const QString &name)
{
    for (const ControlRow &row : SetupLayout())
        if (!name.isEmpty() && row.name == name)
            return &row;
    return nullptr;
}

} // namespace kestrix
