// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The numeric text routines: every number the operator sees is text with the
// locale's decimal separator, and every number the program reads comes from
// such a text through ValueOf().

#include <QString>

namespace kestrix {

// First character of the current default QLocale's decimal separator, asked
// afresh at every call; "." when the locale gives none.
QString GetDecimalSeparator();

// '0' to '9' alone: QChar::isDigit takes other scripts' digits too.
constexpr bool IsAsciiDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

// The value of an ASCII digit.
constexpr int DigitValue(char32_t c)
{
    return static_cast<int>(c - U'0');
}

// A copy of text with every "," replaced by ".".
QString NormalizeDecimal(const QString &text);

// The program's one numeric parse: the leading number of text. Blanks, tabs
// and line feeds are skipped wherever they stand; an optional sign, digits,
// one point and an exponent with E or D are read, as are &H and &O prefixed
// integers; the rest is ignored. A text without a leading number reads as 0.
// The result is always finite: an overflow gives the largest double.
double ParseLeadingNumber(const QString &text);

// The value of a field's text: ParseLeadingNumber(NormalizeDecimal(text)).
double ValueOf(const QString &text);

// Nearest integer, a tie going to the even integer.
double RoundHalfEven(double value);

// The display patterns, named after their format strings.
enum class NumberPattern
{
    Integer,     // "#0"
    Seconds,     // "#0.0#"
    Megahertz,   // "##0.000"
    FrameDigits, // "000.000"
};

// value written in pattern with separator in place of the point. Halves go
// away from zero, decided on the shortest decimal form of value (1.0005 is
// rounded as 1.0005, not as its binary neighbour). A value that rounds to
// zero is written without a sign.
QString FormatNumber(double value, NumberPattern pattern, const QString &separator);

// The same with GetDecimalSeparator().
QString FormatNumber(double value, NumberPattern pattern);

} // namespace kestrix
