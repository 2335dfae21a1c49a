// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Everything the operator can set for the device, one field per setting
// control of the window, each named after its control. Texts are held as
// shown (numbers with the locale's separator), check boxes as their state
// (0, 1, or 2 for grayed) and lists as the chosen position (-1 for none).

#include <QString>
#include <QStringList>

#include <array>

namespace kestrix {

inline constexpr int kDxCallRows = 3;
inline constexpr int kBandRows = 6;
inline constexpr int kRangeRows = 6;
inline constexpr int kNoChoice = -1;

struct DeviceSettings
{
    QString txtComm;
    QString txtTimer;
    int chkBeep = 0;
    int chkRA2 = 0;
    int chkPacket = 0;
    int chkToAll = 0;
    int chkUsrM = 0;
    QString txtUsrM;
    int chkDxCall = 0;
    int cbNumDxCalls = kNoChoice;
    std::array<QString, kDxCallRows> txtDxCall;
    int chkBand = 0;
    int cbNumBand = kNoChoice;
    std::array<int, kBandRows> cbBand{kNoChoice, kNoChoice, kNoChoice,
                                      kNoChoice, kNoChoice, kNoChoice};
    int chkRange = 0;
    int cbNumRange = kNoChoice;
    std::array<QString, kRangeRows> txtRangeLow;
    std::array<QString, kRangeRows> txtRangeHigh;

    bool operator==(const DeviceSettings &) const = default;
};

// The twelve entries of every band list; an entry's position is its band code.
const QStringList &BandList();

// The entries of the count lists: "1" to "3" for DX calls, "1" to "6" else.
QStringList CountList(int rows);

// The default settings, from the settings table. The range texts carry
// GetDecimalSeparator(); the timer reads "1,0" in every locale.
DeviceSettings DefaultSettings();

} // namespace kestrix
