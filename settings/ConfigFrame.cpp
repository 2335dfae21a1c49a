// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConfigFrame.h"

#include "ConfigFields.h"
#include "FrameTable.h"
#include "NumericText.h"
#include "Windows1252.h"

#include <cmath>

namespace kestrix {

namespace {

bool putBytes(ConfigFrame &frame, const QByteArray &bytes, int offset)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const qsizetype at = offset + i;
        if (at < 0 || at >= kFrameSize)
            return false;
        frame[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(bytes[i]);
    }
    return true;
}

QString withoutLeadingSpaces(const QString &text)
{
    qsizetype first = 0;
    while (first < text.size() && text[first] == QLatin1Char(' '))
        ++first;
    return text.mid(first);
}

class Encoder
{
public:
    Encoder(DeviceSettings &settings, ConfigFrame &frame) : m_settings(settings), m_frame(frame) {}

    Result<> run()
    {
        QString badBound;
        for (const FrameSlot &slot : FrameSlots()) {
            const ConfigField *source = nullptr;
            if (!slot.setting.isEmpty()) {
                source = FindConfigField(SlotSource(slot, countPosition(slot)));
                if (!source)
                    return Failure{FindConfigField(slot.count)->description +
                                   QStringLiteral(" has no entry chosen")};
            }
            const Result<> written = encode(slot, source);
            if (written)
                continue;
            if (!isRange(slot))
                return written;
            if (badBound.isEmpty()) // the build runs on to fill the rest of the frame
                badBound = written.error();
        }
        if (!badBound.isEmpty())
            return Failure{badBound};
        return {};
    }

private:
    static bool isRange(const FrameSlot &slot)
    {
        return slot.encoding == SlotEncoding::RangeLow || slot.encoding == SlotEncoding::RangeHigh;
    }

    Result<> encode(const FrameSlot &slot, const ConfigField *source)
    {
        switch (slot.encoding) {
        case SlotEncoding::RangeLow:
        case SlotEncoding::RangeHigh:
            return range(slot, *source);
        case SlotEncoding::Quarters:
            return quarters(slot, *source);
        case SlotEncoding::Flags:
            return flags(slot);
        case SlotEncoding::BandCode:
            return band(slot, *source);
        case SlotEncoding::Fixed:
            return put(slot.fixed, slot.offset);
        case SlotEncoding::Text:
            return text(slot, *source);
        }
        return {};
    }

    int countPosition(const FrameSlot &slot)
    {
        const ConfigField *count = FindConfigField(slot.count);
        return count ? count->number(m_settings) : 0;
    }

    Result<> put(const QByteArray &bytes, int offset)
    {
        if (putBytes(m_frame, bytes, offset))
            return {};
        return Failure{QStringLiteral("bytes past the frame's end")};
    }

    Result<> range(const FrameSlot &slot, const ConfigField &source)
    {
        const double megahertz = ValueOf(source.text(m_settings));
        if (megahertz < 0)
            return Failure{source.description + QStringLiteral(" is negative")};
        const QString digits = FrequencyDigits(megahertz);
        const bool low = slot.encoding == SlotEncoding::RangeLow;
        return put((low ? digits.left(slot.width) : digits.right(slot.width)).toLatin1(),
                   slot.offset);
    }

    Result<> quarters(const FrameSlot &slot, const ConfigField &source)
    {
        QString &text = source.text(m_settings);
        const double count = ValueOf(text) * 4;
        const double byte = RoundHalfEven(count);
        if (!std::isfinite(count) || byte < 0 || byte > 255)
            return Failure{source.description + QStringLiteral(" is outside 0 to 63.75 s")};
        text = FormatNumber(byte / 4, NumberPattern::Seconds); // as sent
        return put(QByteArray(1, static_cast<char>(byte)), slot.offset);
    }

    Result<> flags(const FrameSlot &slot)
    {
        int byte = 0;
        int weight = 0x80;
        for (const FlagBit &bit : slot.bits) {
            const ConfigField *source = FindConfigField(bit.setting);
            const int state = source->number(m_settings);
            if (state != 0 && state != 1)
                return Failure{source->description + QStringLiteral(" is neither off nor on")};
            byte += state * weight;
            weight /= 2;
        }
        return put(QByteArray(1, static_cast<char>(byte)), slot.offset);
    }

    Result<> band(const FrameSlot &slot, const ConfigField &source)
    {
        const int code = source.number(m_settings);
        if (code < 0 || code >= BandList().size())
            return Failure{source.description + QStringLiteral(" has no band chosen")};
        return put(QByteArray(1, static_cast<char>(code)), slot.offset);
    }

    // Not cut to the width: a longer text runs into the next slot, which
    // then writes over it, and past the last one fails.
    Result<> text(const FrameSlot &slot, const ConfigField &source)
    {
        const QString text = withoutLeadingSpaces(source.text(m_settings));
        const auto bytes = EncodeWindows1252(text);
        if (!bytes)
            return Failure{source.description +
                           QStringLiteral(" holds a character outside Windows-1252")};
        QByteArray padded = *bytes;
        if (padded.size() < slot.width)
            padded.append(slot.width - padded.size(), '\0');
        if (!putBytes(m_frame, padded, slot.offset))
            return Failure{source.description + QStringLiteral(" is too long for the device")};
        return {};
    }

    DeviceSettings &m_settings;
    ConfigFrame &m_frame;
};

} // namespace

QString FrequencyDigits(double megahertz)
{
    return FormatNumber(megahertz, NumberPattern::FrameDigits, QStringLiteral("."))
        .remove(QLatin1Char('.'));
}

Result<> BuildConfigFrame(DeviceSettings &settings, ConfigFrame &frame)
{
    return Encoder(settings, frame).run();
}

} // namespace kestrix
