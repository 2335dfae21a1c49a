// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one map of the 128-byte frame: for each slot its offset and width, the
// setting it carries (by its control's name, as in the settings table) and
// how it is encoded. The encoder, the decoder and the annotated dump all walk
// this table, in offset order; together the slots cover every byte.

#include <QByteArray>
#include <QString>

#include <vector>

namespace kestrix {

enum class SlotEncoding
{
    RangeLow,  // a bound in MHz: the first six of its kHz digits ("001810")
    RangeHigh, // the last four of them; the device takes the first two from
               // the lower bound just before
    Quarters,  // seconds as a count of quarter seconds, 0 to 255
    Flags,     // check states, one bit each from bit 7 down; the rest zero
    BandCode,  // a band list position
    Fixed,     // constant bytes
    Text,      // Windows-1252 text without leading blanks, then zeros to the width
};

struct FlagBit
{
    QString setting; // the check box's name
    QString what;    // how the dump names it
};

struct FrameSlot
{
    int offset;
    int width;
    SlotEncoding encoding;
    // The setting's control name; for a slot fed by a row of controls, the
    // row's name, its element chosen by the count list.
    QString setting;
    // For a row: the count list. Slot number k takes row k while k is at
    // most the count's position, the last active row after it.
    QString count;
    int slot = 0;
    // How the dump tells the slot: %1 is the slot's number from 1, %2 its value.
    QString what;
    std::vector<FlagBit> bits; // Flags only
    QByteArray fixed;          // Fixed only
};

const std::vector<FrameSlot> &FrameSlots();

// The control that feeds slot for a count position: the setting itself, or
// its row's element. Empty when a row's count has no valid choice.
QString SlotSource(const FrameSlot &slot, int countPosition);

} // namespace kestrix
