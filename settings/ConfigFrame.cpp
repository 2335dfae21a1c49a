// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConfigFrame.h"

#include "NumericText.h"
#include "Windows1252.h"

#include <cmath>

namespace kestrix {

namespace {

bool putByte(ConfigFrame &frame, int offset, std::uint8_t value)
{
    if (offset < 0 || offset >= kFrameSize)
        return false;
    frame[static_cast<std::size_t>(offset)] = value;
    return true;
}

bool putBytes(ConfigFrame &frame, const QByteArray &bytes, int offset)
{
    for (qsizetype i = 0; i < bytes.size(); ++i)
        if (!putByte(frame, offset + static_cast<int>(i), static_cast<std::uint8_t>(bytes[i])))
            return false;
    return true;
}

// The slot rule: slot s comes from row s while s is below the count, from the
// last active row after it. No row when the count list has no valid choice.
std::optional<int> rowForSlot(int slot, int countPosition, int rows)
{
    if (countPosition < 0 || countPosition >= rows)
        return std::nullopt;
    return std::min(slot, countPosition);
}

std::optional<std::uint8_t> flagByte(std::initializer_list<int> checkStates)
{
    int weight = 0x80;
    int byte = 0;
    for (const int state : checkStates) {
        if (state != 0 && state != 1)
            return std::nullopt;
        byte += state * weight;
        weight /= 2;
    }
    return static_cast<std::uint8_t>(byte);
}

QString withoutLeadingSpaces(const QString &text)
{
    qsizetype first = 0;
    while (first < text.size() && text[first] == QLatin1Char(' '))
        ++first;
    return text.mid(first);
}

std::optional<QString> rangeDigits(const QString &text)
{
    const double megahertz = ValueOf(text);
    if (megahertz < 0)
        return std::nullopt;
    return FrequencyDigits(megahertz);
}

// Why a text did not fit the frame: a character the device cannot show, or
// more characters than the frame holds after its place.
QString textProblem(const QString &what, const QString &text)
{
    return EncodeWindows1252(text)
               ? what + QStringLiteral(" is too long for the device")
               : what + QStringLiteral(" holds a character outside Windows-1252");
}

} // namespace

QString FrequencyDigits(double megahertz)
{
    return FormatNumber(megahertz, NumberPattern::FrameDigits, QStringLiteral("."))
        .remove(QLatin1Char('.'));
}

bool PutRangeLow(ConfigFrame &frame, const QString &text, int offset)
{
    const auto digits = rangeDigits(text);
    return digits && putBytes(frame, digits->left(6).toLatin1(), offset);
}

bool PutRangeHigh(ConfigFrame &frame, const QString &text, int offset)
{
    const auto digits = rangeDigits(text);
    return digits && putBytes(frame, digits->right(4).toLatin1(), offset);
}

bool PutText(ConfigFrame &frame, const QString &text, int offset)
{
    const auto bytes = EncodeWindows1252(text);
    return bytes && putBytes(frame, *bytes, offset) &&
           putByte(frame, offset + static_cast<int>(bytes->size()), 0);
}

bool PutTextField(ConfigFrame &frame, const QString &text, int offset)
{
    const auto bytes = EncodeWindows1252(text);
    if (!bytes || !putBytes(frame, *bytes, offset))
        return false;
    for (int i = static_cast<int>(bytes->size()); i < kTextFieldLength; ++i)
        if (!putByte(frame, offset + i, 0))
            return false;
    return true;
}

FrameBuild BuildConfigFrame(const DeviceSettings &s, ConfigFrame &frame)
{
    FrameBuild build;
    const auto fail = [&build](const QString &problem) {
        build.problem = problem;
        return build;
    };
    bool boundsValid = true;

    for (int slot = 0; slot < kRangeRows; ++slot) {
        const auto row = rowForSlot(slot, s.cbNumRange, kRangeRows);
        if (!row)
            return fail(QStringLiteral("no count of ranges is chosen"));
        const int offset = kRangeSlotOffset + 10 * slot;
        // Both bounds are tried even when the first one is refused.
        const bool low = PutRangeLow(frame, s.txtRangeLow[*row], offset);
        const bool high = PutRangeHigh(frame, s.txtRangeHigh[*row], offset + 6);
        boundsValid = boundsValid && low && high;
    }

    const double quarters = ValueOf(s.txtTimer) * 4;
    const double timerByte = RoundHalfEven(quarters);
    if (!std::isfinite(quarters) || timerByte < 0 || timerByte > 255)
        return fail(QStringLiteral("the suspend timer is outside 0 to 63.75 s"));
    putByte(frame, kTimerOffset, static_cast<std::uint8_t>(timerByte));
    build.timerText = FormatNumber(timerByte / 4, NumberPattern::Seconds);

    const auto options = flagByte({s.chkPacket, s.chkRA2, s.chkBeep});
    if (!options)
        return fail(QStringLiteral("an option switch is neither off nor on"));
    putByte(frame, kOptionFlagsOffset, *options);
    const auto sections = flagByte({s.chkDxCall, s.chkBand, s.chkRange, s.chkToAll, s.chkUsrM});
    if (!sections)
        return fail(QStringLiteral("a section switch is neither off nor on"));
    putByte(frame, kSectionFlagsOffset, *sections);

    for (int slot = 0; slot < kBandRows; ++slot) {
        const auto row = rowForSlot(slot, s.cbNumBand, kBandRows);
        if (!row)
            return fail(QStringLiteral("no count of bands is chosen"));
        const int band = s.cbBand[*row];
        if (band < 0 || band >= BandList().size())
            return fail(QStringLiteral("an active band row has no band chosen"));
        putByte(frame, kBandSlotOffset + slot, static_cast<std::uint8_t>(band));
    }
    putByte(frame, kBandSlotOffset + kBandRows, 0);

    PutText(frame, QStringLiteral("DX de "), kDxDeOffset);
    PutText(frame, QStringLiteral("To ALL de "), kToAllDeOffset);
    const QString message = withoutLeadingSpaces(s.txtUsrM);
    if (!PutTextField(frame, message, kUserMessageOffset))
        return fail(textProblem("the user message", message));

    for (int slot = 0; slot < kDxCallRows; ++slot) {
        const auto row = rowForSlot(slot, s.cbNumDxCalls, kDxCallRows);
        if (!row)
            return fail(QStringLiteral("no count of DX calls is chosen"));
        const QString call = withoutLeadingSpaces(s.txtDxCall[*row]);
        if (!PutTextField(frame, call, kDxCallSlotOffset + 10 * slot))
            return fail(textProblem("a DX call", call));
    }

    build.ok = boundsValid;
    if (!boundsValid)
        build.problem = QStringLiteral("a frequency range bound is negative");
    return build;
}

} // namespace kestrix
