// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrameTable.h"

#include "ConfigFields.h"
#include "DeviceSettings.h"

#include <algorithm>

namespace kestrix {

namespace {

using E = SlotEncoding;

FrameSlot single(int offset, int width, E encoding, const char *setting, const char *what)
{
    return {offset, width, encoding, QString::fromLatin1(setting), {}, 0, QString::fromUtf8(what),
            {},     {}};
}

FrameSlot element(int offset, int width, E encoding, const char *row, const char *count, int k,
                  const char *what)
{
    FrameSlot slot = single(offset, width, encoding, row, what);
    slot.count = QString::fromLatin1(count);
    slot.slot = k;
    return slot;
}

FrameSlot flags(int offset, const char *what, std::vector<FlagBit> bits)
{
    return {offset, 1, E::Flags, {}, {}, 0, QString::fromUtf8(what), std::move(bits), {}};
}

FrameSlot fixed(int offset, QByteArray bytes, const char *what)
{
    const int width = static_cast<int>(bytes.size());
    return {offset, width, E::Fixed, {}, {}, 0, QString::fromUtf8(what), {}, std::move(bytes)};
}

std::vector<FrameSlot> buildSlots()
{
    std::vector<FrameSlot> t;
    // Ten bytes a range: the lower bound's six digits, then the upper's four.
    for (int k = 0; k < kRangeRows; ++k) {
        t.push_back(element(10 * k, 6, E::RangeLow, "txtRangeLow", "cbNumRange", k,
                            "range %1 from %2 MHz"));
        t.push_back(element(10 * k + 6, 4, E::RangeHigh, "txtRangeHigh", "cbNumRange", k,
                            "range %1 to %2 MHz"));
    }
    t.push_back(single(60, 1, E::Quarters, "txtTimer", "suspend timer %2 s"));
    t.push_back(flags(61, "options",
                      {{"chkPacket", "other packets"}, {"chkRA2", "RA2"}, {"chkBeep", "beeps"}}));
    t.push_back(flags(62, "sections",
                      {{"chkDxCall", "DX calls"},
                       {"chkBand", "bands"},
                       {"chkRange", "ranges"},
                       {"chkToAll", "To ALL"},
                       {"chkUsrM", "user message"}}));
    for (int k = 0; k < kBandRows; ++k)
        t.push_back(element(63 + k, 1, E::BandCode, "cbBand", "cbNumBand", k, "band %1: %2"));
    t.push_back(fixed(69, QByteArray(1, '\0'), "zero"));
    t.push_back(fixed(70, QByteArray("DX de \0", 7), "\"DX de \" and a zero"));
    t.push_back(fixed(77, QByteArray("To ALL de \0", 11), "\"To ALL de \" and a zero"));
    t.push_back(single(88, 10, E::Text, "txtUsrM", "user message \"%2\""));
    for (int k = 0; k < kDxCallRows; ++k)
        t.push_back(
            element(98 + 10 * k, 10, E::Text, "txtDxCall", "cbNumDxCalls", k, "DX call %1 \"%2\""));
    return t;
}

} // namespace

const std::vector<FrameSlot> &FrameSlots()
{
    static const std::vector<FrameSlot> table = buildSlots();
    return table;
}

QString SlotSource(const FrameSlot &slot, int countPosition)
{
    if (slot.count.isEmpty())
        return slot.setting;
    const ConfigField *count = FindConfigField(slot.count);
    if (!count || countPosition < 0 || countPosition > count->lastPosition)
        return {};
    return ElementName(slot.setting, std::min(slot.slot, countPosition));
}

} // namespace kestrix
