// SPDX-License-Identifier: GPL-3.0-or-later
#include "NumericText.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace kestrix {

QString GetDecimalSeparator()
{
    const QString separator = QLocale().decimalPoint();
    return separator.isEmpty() ? QStringLiteral(".") : separator.left(1);
}

QString NormalizeDecimal(const QString &text)
{
    QString copy = text;
    copy.replace(QLatin1Char(','), QLatin1Char('.'));
    return copy;
}

namespace {

bool isSkipped(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

int digitValue(QChar c, int base)
{
    const char16_t u = c.toLower().unicode();
    int value = -1;
    if (IsAsciiDigit(u))
        value = DigitValue(u);
    else if (u >= u'a' && u <= u'f')
        value = u - u'a' + 10;
    return value < base ? value : -1;
}

// &H and &O numbers are 16-bit when they fit, else 32-bit, both two's
// complement, as the classic Basic parse reads them.
double radixValue(const QString &digits, int base)
{
    std::uint64_t value = 0;
    double beyond = 0; // used once value no longer fits 64 bits
    bool overflowed = false;
    for (const QChar c : digits) {
        const int d = digitValue(c, base);
        if (d < 0)
            break;
        if (!overflowed && value > (std::numeric_limits<std::uint64_t>::max() - d) / base) {
            overflowed = true;
            beyond = static_cast<double>(value);
        }
        if (overflowed)
            beyond = beyond * base + d;
        else
            value = value * base + d;
    }
    if (overflowed)
        return std::isfinite(beyond) ? beyond : std::numeric_limits<double>::max();
    if (value <= 0xFFFF)
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    if (value <= 0xFFFFFFFFu)
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    return static_cast<double>(value);
}

} // namespace

namespace {

// The power of ten of a number's first significant digit: 2 for "123.4",
// -3 for "0.0012", 5 for "1e5"; 0 without one. Saturates far beyond the
// range of a double.
long long decimalOrder(const std::string &number)
{
    constexpr long long kFar = 1'000'000'000;
    const std::size_t exponentAt = number.find('e');
    const std::string mantissa = number.substr(0, exponentAt);
    long long exponent = 0;
    if (exponentAt != std::string::npos) {
        const bool negative = number[exponentAt + 1] == '-';
        for (std::size_t i = exponentAt + 1; i < number.size(); ++i)
            if (IsAsciiDigit(number[i]))
                exponent = std::min(kFar, exponent * 10 + DigitValue(number[i]));
        if (negative)
            exponent = -exponent;
    }
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string::npos)
        return 0;
    const long long order = first < point ? static_cast<long long>(point - first) - 1
                                          : -static_cast<long long>(first - point);
    return order + exponent;
}

} // namespace

double ParseLeadingNumber(const QString &text)
{
    QString s;
    s.reserve(text.size());
    for (const QChar c : text)
        if (!isSkipped(c))
            s.append(c);

    if (s.size() >= 2 && s[0] == QLatin1Char('&')) {
        const QChar kind = s[1].toUpper();
        if (kind == QLatin1Char('H'))
            return radixValue(s.mid(2), 16);
        if (kind == QLatin1Char('O'))
            return radixValue(s.mid(2), 8);
        return 0;
    }

    std::string number;
    qsizetype i = 0;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) {
        if (s[i] == QLatin1Char('-'))
            number += '-';
        ++i;
    }
    bool anyDigit = false;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (IsAsciiDigit(s[i].unicode())) {
            number += static_cast<char>(s[i].unicode());
            anyDigit = true;
        } else if (s[i] == QLatin1Char('.') && !point) {
            number += '.';
            point = true;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return 0;

    if (i < s.size() && QStringLiteral("EeDd").contains(s[i])) {
        std::string exponent = "e";
        qsizetype j = i + 1;
        if (j < s.size() && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-')))
            exponent += static_cast<char>(s[j++].unicode());
        const qsizetype firstDigit = j;
        while (j < s.size() && IsAsciiDigit(s[j].unicode()))
            exponent += static_cast<char>(s[j++].unicode());
        if (j > firstDigit)
            number += exponent;
    }

    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        // from_chars leaves value alone then: the number's decimal order
        // tells overflow from underflow.
        const double magnitude =
            decimalOrder(number) > 0 ? std::numeric_limits<double>::max() : 0.0;
        return number.front() == '-' ? -magnitude : magnitude;
    }
    return value;
}

double ValueOf(const QString &text)
{
    return ParseLeadingNumber(NormalizeDecimal(text));
}

double RoundHalfEven(double value)
{
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5)
        return lower + 1;
    if (fraction < 0.5)
        return lower;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

namespace {

struct PatternShape
{
    int minIntegerDigits;
    int minDecimals;
    int maxDecimals;
};

PatternShape shapeOf(NumberPattern pattern)
{
    switch (pattern) {
    case NumberPattern::Integer:
        return {1, 0, 0};
    case NumberPattern::Seconds:
        return {1, 1, 2};
    case NumberPattern::Megahertz:
        return {1, 3, 3};
    case NumberPattern::FrameDigits:
        return {3, 3, 3};
    }
    return {1, 0, 0};
}

// Adds one unit in the last place of a string of decimal digits; returns
// true when the carry runs out of the front.
bool incrementDigits(std::string &digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return false;
        }
        *it = '0';
    }
    return true;
}

} // namespace

QString FormatNumber(double value, NumberPattern pattern, const QString &separator)
{
    if (!std::isfinite(value))
        value =
            value < 0 ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
    const PatternShape shape = shapeOf(pattern);

    // Shortest decimal form, "d.ddde+XX": the digits as the value was written.
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                      std::fabs(value), std::chars_format::scientific);
    const std::string scientific(buffer.data(), result.ptr);
    const auto ePos = scientific.find('e');
    std::string mantissa = scientific.substr(0, ePos);
    mantissa.erase(std::remove(mantissa.begin(), mantissa.end(), '.'), mantissa.end());
    const int exponent = std::stoi(scientific.substr(ePos + 1));

    std::string integer;
    std::string fraction;
    const int integerCount = exponent + 1;
    if (integerCount <= 0) {
        fraction = std::string(-integerCount, '0') + mantissa;
    } else if (integerCount >= static_cast<int>(mantissa.size())) {
        integer = mantissa + std::string(integerCount - mantissa.size(), '0');
    } else {
        integer = mantissa.substr(0, integerCount);
        fraction = mantissa.substr(integerCount);
    }

    // Round to maxDecimals, a half going away from zero.
    const bool roundUp =
        static_cast<int>(fraction.size()) > shape.maxDecimals && fraction[shape.maxDecimals] >= '5';
    fraction.resize(shape.maxDecimals, '0');
    if (roundUp) {
        std::string all = integer + fraction;
        if (incrementDigits(all))
            all.insert(all.begin(), '1');
        integer = all.substr(0, all.size() - fraction.size());
        fraction = all.substr(all.size() - fraction.size());
    }

    while (static_cast<int>(fraction.size()) > shape.minDecimals && fraction.back() == '0')
        fraction.pop_back();
    const auto firstSignificant = integer.find_first_not_of('0');
    integer =
        firstSignificant == std::string::npos ? std::string() : integer.substr(firstSignificant);
    if (static_cast<int>(integer.size()) < shape.minIntegerDigits)
        integer.insert(0, shape.minIntegerDigits - integer.size(), '0');

    const bool isZero = integer.find_first_not_of('0') == std::string::npos &&
                        fraction.find_first_not_of('0') == std::string::npos;
    QString text = QString::fromLatin1(integer);
    if (!fraction.empty())
        text += separator + QString::fromLatin1(fraction);
    if (value < 0 && !isZero)
        text.prepend(QLatin1Char('-'));
    return text;
}

QString FormatNumber(double value, NumberPattern pattern)
{
    return FormatNumber(value, pattern, GetDecimalSeparator());
}

} // namespace kestrix
