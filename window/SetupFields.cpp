// SPDX-License-Identifier: GPL-3.0-or-later
// What may be typed into each field, and how a field is checked and
// rewritten when it is left.

#include "Setup.h"

#include "NumericText.h"
#include "PortDevice.h"
#include "Services.h"
#include "TextBox.h"

namespace kestrix {

namespace {

constexpr KeyCode kBlank = 32;
constexpr double kHighestMegahertz = 999.999;
constexpr double kLongestTimer = 63;
bool isDigit(KeyCode code)
{
    return code >= 0 && IsAsciiDigit(static_cast<char32_t>(code));
}

bool isDecimalPoint(QChar c)
{
    return c == QLatin1Char(',') || c == QLatin1Char('.') || QString(c) == GetDecimalSeparator();
}

// The timer's numeric test: digits with at most one decimal point, at least
// one digit, no sign and no blanks.
bool isTimerNumber(const QString &text)
{
    int points = 0;
    int digits = 0;
    for (const QChar c : text) {
        if (IsAsciiDigit(c.unicode()))
            ++digits;
        else if (isDecimalPoint(c))
            ++points;
        else
            return false;
    }
    return digits > 0 && points <= 1;
}

QString withKey(const TextBox *box, KeyCode code)
{
    return box->text() + QChar(static_cast<char16_t>(code));
}

} // namespace

void CallsignKeyFilter(KeyCode &code)
{
    const bool kept = code == kBackspace || code == kBlank || code == '-' || code == '/' ||
                      isDigit(code) || code == '?' || (code >= 'A' && code <= 'Z') ||
                      (code >= 'a' && code <= 'z');
    if (!kept)
        code = 0;
    else if (code >= 'a' && code <= 'z')
        code = static_cast<KeyCode>(code - 'a' + 'A');
}

KeyCode DecimalKeyFilter(const TextBox *focused, KeyCode code)
{
    if (isDigit(code) || code == kBackspace)
        return code;
    const QString separator = GetDecimalSeparator();
    if (QString(QChar(static_cast<char16_t>(code))) == separator && focused->selStart() > 0 &&
        !focused->text().contains(separator))
        return code;
    return 0;
}

void Setup::txtComm_KeyPress(KeyCode &code)
{
    if (!isDigit(code) && code != kBackspace)
        code = 0;
}

void Setup::txtTimer_KeyPress(const TextBox *box, KeyCode &code)
{
    if (code != kBackspace && !isTimerNumber(withKey(box, code)))
        code = 0;
}

void Setup::txtUsrM_KeyPress(KeyCode &code)
{
    // A quote would end the message early in a saved file.
    if (code == '"' || code == '\'' || code == '`' || code >= 123)
        code = 0;
}

void Setup::txtDxCall_KeyPress(const TextBox *box, KeyCode &code)
{
    CallsignKeyFilter(code);
    // A blank may only follow a call of at least three characters.
    if (code == kBlank && (box->selStart() != box->text().size() || box->text().size() < 3))
        code = 0;
}

void Setup::rangeKeyPress(const TextBox *box, KeyCode &code)
{
    // The limit is tested on the old text plus the key, whatever is selected.
    if (ValueOf(withKey(box, code)) > kHighestMegahertz) {
        code = 0;
        m_services.beep();
        return;
    }
    code = DecimalKeyFilter(box, code);
}

void Setup::txtComm_LostFocus(TextBox *box)
{
    if (ParseLeadingNumber(box->text()) < kFirstPort)
        box->setText(QString::number(kFirstPort));
    if (ParseLeadingNumber(box->text()) > kLastPort)
        box->setText(QString::number(kLastPort));
    writeField(box, FormatNumber(ParseLeadingNumber(box->text()), NumberPattern::Integer));
}

void Setup::txtTimer_LostFocus(TextBox *box)
{
    if (ValueOf(box->text()) > kLongestTimer) {
        box->setText(QString::number(kLongestTimer));
        m_services.beep();
    }
    // A negative timer can only come from a file; the box holds 0 to 63.
    const double quarters = std::max(0.0, RoundHalfEven(ValueOf(box->text()) * 4));
    writeField(box, FormatNumber(quarters / 4, NumberPattern::Seconds));
}

void Setup::leaveRange(TextBox *box, bool boxIsLow)
{
    const TextBox *partner = partnerOf(box);
    const double low = ValueOf((boxIsLow ? box : partner)->text());
    const double high = ValueOf((boxIsLow ? partner : box)->text());
    if (low > high) {
        box->setText(partner->text());
        m_services.beep();
    }
    writeField(box, FormatNumber(ValueOf(box->text()), NumberPattern::Megahertz));
}

} // namespace kestrix
