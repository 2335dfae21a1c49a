// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrameDecoder.h"

#include "NumericText.h"
#include "Windows1252.h"

namespace kestrix {

namespace {

constexpr char kPoint[] = ".";

int byteAt(const ConfigFrame &frame, int offset)
{
    return frame[static_cast<std::size_t>(offset)];
}

QByteArray bytesAt(const ConfigFrame &frame, int offset, int length)
{
    return QByteArray(reinterpret_cast<const char *>(frame.data()) + offset, length);
}

bool allDigits(const QByteArray &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return IsAsciiDigit(c); });
}

// Digits in kHz as "##0.000" MHz; non-digits read as far as they go.
QString megahertz(const QByteArray &digits)
{
    return FormatNumber(ParseLeadingNumber(QString::fromLatin1(digits)) / 1000,
                        NumberPattern::Megahertz, QString::fromLatin1(kPoint));
}

// A text field: its bytes up to the first zero, all ten without one.
QString textField(const ConfigFrame &frame, int offset)
{
    QByteArray bytes = bytesAt(frame, offset, kTextFieldLength);
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    return DecodeWindows1252(bytes);
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

class Decoder
{
public:
    explicit Decoder(const ConfigFrame &frame) : m_frame(frame) {}

    DecodedFrame run()
    {
        DeviceSettings &s = m_decoded.settings;
        ranges();
        s.txtTimer = FormatNumber(byteAt(m_frame, kTimerOffset) / 4.0, NumberPattern::Seconds,
                                  QString::fromLatin1(kPoint));
        flags();
        s.cbNumBand = kBandRows - 1;
        for (int k = 0; k < kBandRows; ++k) {
            s.cbBand[k] = byteAt(m_frame, kBandSlotOffset + k);
            if (s.cbBand[k] >= BandList().size())
                problem(QStringLiteral("band slot %1 holds code %2, past the band list")
                            .arg(k + 1)
                            .arg(s.cbBand[k]));
        }
        fixedText(kBandSlotOffset + kBandRows, QByteArray(1, '\0'));
        fixedText(kDxDeOffset, QByteArray("DX de \0", 7));
        fixedText(kToAllDeOffset, QByteArray("To ALL de \0", 11));
        s.txtUsrM = textField(m_frame, kUserMessageOffset);
        s.cbNumDxCalls = kDxCallRows - 1;
        for (int j = 0; j < kDxCallRows; ++j)
            s.txtDxCall[j] = textField(m_frame, kDxCallSlotOffset + 10 * j);
        return m_decoded;
    }

private:
    void problem(const QString &text) { m_decoded.problems << text; }

    void ranges()
    {
        DeviceSettings &s = m_decoded.settings;
        s.cbNumRange = kRangeRows - 1;
        for (int i = 0; i < kRangeRows; ++i) {
            const int offset = kRangeSlotOffset + 10 * i;
            const QByteArray low = bytesAt(m_frame, offset, 6);
            const QByteArray high = low.left(2) + bytesAt(m_frame, offset + 6, 4);
            if (!allDigits(low) || !allDigits(high))
                problem(QStringLiteral("range slot %1 holds bytes other than digits").arg(i + 1));
            s.txtRangeLow[i] = megahertz(low);
            s.txtRangeHigh[i] = megahertz(high);
        }
    }

    void flags()
    {
        DeviceSettings &s = m_decoded.settings;
        const int options = byteAt(m_frame, kOptionFlagsOffset);
        s.chkPacket = (options >> 7) & 1;
        s.chkRA2 = (options >> 6) & 1;
        s.chkBeep = (options >> 5) & 1;
        if (options & 0x1F)
            problem(QStringLiteral("option flags 0x%1 set reserved bits")
                        .arg(options, 2, 16, QChar('0')));
        const int sections = byteAt(m_frame, kSectionFlagsOffset);
        s.chkDxCall = (sections >> 7) & 1;
        s.chkBand = (sections >> 6) & 1;
        s.chkRange = (sections >> 5) & 1;
        s.chkToAll = (sections >> 4) & 1;
        s.chkUsrM = (sections >> 3) & 1;
        if (sections & 0x07)
            problem(QStringLiteral("section flags 0x%1 set reserved bits")
                        .arg(sections, 2, 16, QChar('0')));
    }

    void fixedText(int offset, const QByteArray &expected)
    {
        if (bytesAt(m_frame, offset, static_cast<int>(expected.size())) != expected)
            problem(QStringLiteral("bytes %1 to %2 differ from their fixed content")
                        .arg(offset)
                        .arg(offset + expected.size() - 1));
    }

    const ConfigFrame &m_frame;
    DecodedFrame m_decoded;
};

} // namespace

DecodedFrame DecodeConfigFrame(const ConfigFrame &frame)
{
    return Decoder(frame).run();
}

std::vector<FrameField> DescribeFrameFields(const ConfigFrame &frame)
{
    const DeviceSettings s = DecodeConfigFrame(frame).settings;
    std::vector<FrameField> fields;
    for (int i = 0; i < kRangeRows; ++i) {
        fields.push_back({kRangeSlotOffset + 10 * i, 6,
                          QStringLiteral("range %1 from %2 MHz").arg(i + 1).arg(s.txtRangeLow[i])});
        fields.push_back({kRangeSlotOffset + 10 * i + 6, 4,
                          QStringLiteral("range %1 to %2 MHz").arg(i + 1).arg(s.txtRangeHigh[i])});
    }
    fields.push_back({kTimerOffset, 1, QStringLiteral("suspend timer %1 s").arg(s.txtTimer)});
    fields.push_back({kOptionFlagsOffset, 1,
                      QStringLiteral("options: other packets %1, RA2 %2, beeps %3")
                          .arg(onOff(s.chkPacket), onOff(s.chkRA2), onOff(s.chkBeep))});
    fields.push_back({kSectionFlagsOffset, 1,
                      QStringLiteral("sections: DX calls %1, bands %2, ranges %3, To ALL %4, "
                                     "user message %5")
                          .arg(onOff(s.chkDxCall), onOff(s.chkBand), onOff(s.chkRange),
                               onOff(s.chkToAll), onOff(s.chkUsrM))});
    for (int k = 0; k < kBandRows; ++k)
        fields.push_back({kBandSlotOffset + k, 1,
                          QStringLiteral("band %1: %2").arg(k + 1).arg(bandName(s.cbBand[k]))});
    fields.push_back({kBandSlotOffset + kBandRows, 1, QStringLiteral("zero")});
    fields.push_back({kDxDeOffset, 7, QStringLiteral("\"DX de \" and a zero")});
    fields.push_back({kToAllDeOffset, 11, QStringLiteral("\"To ALL de \" and a zero")});
    fields.push_back({kUserMessageOffset, kTextFieldLength,
                      QStringLiteral("user message \"%1\"").arg(s.txtUsrM)});
    for (int j = 0; j < kDxCallRows; ++j)
        fields.push_back({kDxCallSlotOffset + 10 * j, kTextFieldLength,
                          QStringLiteral("DX call %1 \"%2\"").arg(j + 1).arg(s.txtDxCall[j])});
    return fields;
}

QStringList DescribeSettings(const DecodedFrame &decoded)
{
    const DeviceSettings &s = decoded.settings;
    QStringList lines;
    lines << QStringLiteral("Suspend timer: %1 s").arg(s.txtTimer)
          << QStringLiteral("Beeps: %1; other packets: %2; RA2 output: %3")
                 .arg(onOff(s.chkBeep), onOff(s.chkPacket), onOff(s.chkRA2))
          << QStringLiteral("Suspend on To ALL: %1").arg(onOff(s.chkToAll))
          << QStringLiteral("Suspend on the user message: %1, \"%2\"")
                 .arg(onOff(s.chkUsrM), s.txtUsrM);
    QStringList calls;
    for (const QString &call : s.txtDxCall)
        calls << QStringLiteral("\"%1\"").arg(call);
    lines << QStringLiteral("Suspend on DX calls: %1: %2")
                 .arg(onOff(s.chkDxCall), calls.join(QStringLiteral(", ")));
    QStringList bands;
    for (const int band : s.cbBand)
        bands << bandName(band);
    lines << QStringLiteral("Suspend on bands: %1: %2")
                 .arg(onOff(s.chkBand), bands.join(QStringLiteral(", ")));
    QStringList ranges;
    for (int i = 0; i < kRangeRows; ++i)
        ranges << QStringLiteral("%1-%2").arg(s.txtRangeLow[i], s.txtRangeHigh[i]);
    lines << QStringLiteral("Suspend on frequency ranges: %1: %2 MHz")
                 .arg(onOff(s.chkRange), ranges.join(QStringLiteral(", ")));
    for (const QString &problem : decoded.problems)
        lines << QStringLiteral("Not as the program writes it: %1").arg(problem);
    return lines;
}

} // namespace kestrix
