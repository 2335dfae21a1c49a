// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrameDecoder.h"

#include "ConfigFields.h"
#include "FrameTable.h"
#include "NumericText.h"
#include "Windows1252.h"

#include <algorithm>

namespace kestrix {

namespace {

constexpr char kPoint[] = ".";

// The device reads an upper bound's first two digits from the lower bound's.
constexpr int kLowBoundWidth = 6;
constexpr int kSharedDigits = 2;

QByteArray bytesAt(const ConfigFrame &frame, int offset, int length)
{
    return QByteArray(reinterpret_cast<const char *>(frame.data()) + offset, length);
}

int byteAt(const ConfigFrame &frame, int offset)
{
    return frame[static_cast<std::size_t>(offset)];
}

bool allDigits(const QByteArray &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return IsAsciiDigit(c); });
}

// A text slot holds its bytes up to the first zero, all of them without one.
QByteArray untilZero(const QByteArray &bytes)
{
    const qsizetype zero = bytes.indexOf('\0');
    return zero < 0 ? bytes : bytes.left(zero);
}

// Digits in kHz as "##0.000" MHz; non-digits read as far as they go.
QString megahertz(const QByteArray &digits)
{
    return FormatNumber(ParseLeadingNumber(QString::fromLatin1(digits)) / 1000,
                        NumberPattern::Megahertz, QString::fromLatin1(kPoint));
}

QString onOff(int state)
{
    return state ? QStringLiteral("on") : QStringLiteral("off");
}

QString bandName(int code)
{
    return code >= 0 && code < BandList().size() ? BandList()[code]
                                                 : QStringLiteral("unknown band %1").arg(code);
}

QString byteSpan(const FrameSlot &slot)
{
    return slot.width == 1 ? QStringLiteral("byte %1").arg(slot.offset)
                           : QStringLiteral("bytes %1 to %2")
                                 .arg(slot.offset)
                                 .arg(slot.offset + slot.width - 1);
}

// The control a decoded slot fills: its row's element for the slot's number.
const ConfigField &targetOf(const FrameSlot &slot)
{
    const ConfigField *count = FindConfigField(slot.count);
    return *FindConfigField(SlotSource(slot, count ? count->lastPosition : 0));
}

class Decoder
{
public:
    explicit Decoder(const ConfigFrame &frame) : m_frame(frame) {}

    DecodedFrame run()
    {
        for (const FrameSlot &slot : FrameSlots()) {
            if (const ConfigField *count = FindConfigField(slot.count))
                count->number(m_decoded.settings) = count->lastPosition;
            decode(slot);
        }
        return m_decoded;
    }

private:
    void decode(const FrameSlot &slot)
    {
        const QByteArray bytes = bytesAt(m_frame, slot.offset, slot.width);
        switch (slot.encoding) {
        case SlotEncoding::RangeLow:
            range(slot, bytes);
            break;
        case SlotEncoding::RangeHigh:
            range(slot, bytesAt(m_frame, slot.offset - kLowBoundWidth, kSharedDigits) + bytes);
            break;
        case SlotEncoding::Quarters:
            text(slot) = FormatNumber(byteAt(m_frame, slot.offset) / 4.0, NumberPattern::Seconds,
                                      QString::fromLatin1(kPoint));
            break;
        case SlotEncoding::Flags:
            flags(slot);
            break;
        case SlotEncoding::BandCode:
            band(slot);
            break;
        case SlotEncoding::Fixed:
            if (bytes != slot.fixed)
                problem(byteSpan(slot) + (slot.width == 1
                                              ? QStringLiteral(" is not its fixed content")
                                              : QStringLiteral(" are not their fixed content")));
            break;
        case SlotEncoding::Text:
            text(slot) = DecodeWindows1252(untilZero(bytes));
            break;
        }
    }

    QString &text(const FrameSlot &slot) { return targetOf(slot).text(m_decoded.settings); }

    void range(const FrameSlot &slot, const QByteArray &digits)
    {
        if (!allDigits(digits))
            problem(byteSpan(slot) + QStringLiteral(" hold bytes other than digits"));
        text(slot) = megahertz(digits);
    }

    void flags(const FrameSlot &slot)
    {
        const int byte = byteAt(m_frame, slot.offset);
        int bit = 7;
        for (const FlagBit &flag : slot.bits)
            FindConfigField(flag.setting)->number(m_decoded.settings) = (byte >> bit--) & 1;
        const int reserved = byte & ((1 << (bit + 1)) - 1);
        if (reserved)
            problem(
                byteSpan(slot) +
                QStringLiteral(" sets reserved bits 0x%1").arg(reserved, 2, 16, QLatin1Char('0')));
    }

    void band(const FrameSlot &slot)
    {
        const int code = byteAt(m_frame, slot.offset);
        targetOf(slot).number(m_decoded.settings) = code;
        if (code >= BandList().size())
            problem(byteSpan(slot) +
                    QStringLiteral(" holds band code %1, past the band list").arg(code));
    }

    void problem(const QString &text) { m_decoded.problems << text; }

    const ConfigFrame &m_frame;
    DecodedFrame m_decoded;
};

// A slot's value in words, read back from the decoded settings.
QString slotValue(const FrameSlot &slot, DeviceSettings &s)
{
    switch (slot.encoding) {
    case SlotEncoding::Flags: {
        QStringList states;
        for (const FlagBit &bit : slot.bits)
            states << bit.what + QLatin1Char(' ') + onOff(FindConfigField(bit.setting)->number(s));
        return states.join(QStringLiteral(", "));
    }
    case SlotEncoding::BandCode:
        return bandName(targetOf(slot).number(s));
    case SlotEncoding::Fixed:
        return {};
    default:
        return targetOf(slot).text(s);
    }
}

QString describe(const FrameSlot &slot, DeviceSettings &s)
{
    if (slot.encoding == SlotEncoding::Flags)
        return slot.what + QStringLiteral(": ") + slotValue(slot, s);
    // The value goes in last, so that a "%1" in a text stays as it is.
    return QString(slot.what)
        .replace(QStringLiteral("%1"), QString::number(slot.slot + 1))
        .replace(QStringLiteral("%2"), slotValue(slot, s));
}

} // namespace

DecodedFrame DecodeConfigFrame(const ConfigFrame &frame)
{
    return Decoder(frame).run();
}

std::vector<FrameField> DescribeFrameFields(const ConfigFrame &frame)
{
    DeviceSettings s = DecodeConfigFrame(frame).settings;
    std::vector<FrameField> fields;
    for (const FrameSlot &slot : FrameSlots())
        fields.push_back({slot.offset, slot.width, describe(slot, s)});
    return fields;
}

QStringList DescribeSettings(const DecodedFrame &decoded)
{
    DeviceSettings s = decoded.settings;
    QStringList lines;
    for (const FrameSlot &slot : FrameSlots())
        if (slot.encoding != SlotEncoding::Fixed)
            lines << describe(slot, s);
    for (const QString &problem : decoded.problems)
        lines << QStringLiteral("Not as the program writes it: %1").arg(problem);
    return lines;
}

} // namespace kestrix
