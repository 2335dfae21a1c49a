// SPDX-License-Identifier: GPL-3.0-or-later
#include "NumericText.h"
#include "LocaleGuard.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

using namespace kestrix;
using P = NumberPattern;

TEST(NumericText, TheParseReadsTheLeadingNumber)
{
    const double max = std::numeric_limits<double>::max();
    const QString zeros(400, '0'); // too long for a double: the order decides, not the exponent
    // clang-format off
    const std::pair<QString, double> cases[] = {
        {"14.065", 14.065}, {"12.5.3", 12.5}, {"letters", 0}, {"", 0}, {" 7 5", 75}, {"1\t2\n3", 123},
        {"1\r2", 1}, {"-1", -1}, {"+2", 2}, {"- 4", -4}, {"--5", 0}, {".5", 0.5}, {".", 0}, {"-", 0},
        {"3abc", 3}, {"1E3", 1000}, {"1d2", 100}, {"2.5e-1x", 0.25}, {"1e", 1}, {"1e+", 1}, {"E5", 0},
        {"&HFF", 255}, {"&hff", 255}, {"&HFFFF", -1}, {"&H10000", 65536}, {"&HFFFFFFFF", -1},
        {"&O17", 15}, {"&H", 0}, {"&HG", 0}, {"&X1", 0}, {"1e-999", 0}, {"1e999", max},
        {"-1e999", -max}, {"1e99999999999999999999999", max}, {"1e-99999999999999999999999", 0},
        {"1" + zeros + "e-50", max}, {"-0." + zeros + "1e50", 0}, {"1" + zeros + "e-100", 1e300}};
    // clang-format on
    for (const auto &[text, value] : cases)
        EXPECT_DOUBLE_EQ(ParseLeadingNumber(text), value) << text.left(20).toStdString();
    const auto point = LocaleGuard::point();
    EXPECT_DOUBLE_EQ(ValueOf("1,810"), 1.81);
    EXPECT_DOUBLE_EQ(ValueOf("12,5,3"), 12.5);
}

TEST(NumericText, RoundHalfEvenSendsTiesToTheEvenInteger)
{
    const std::pair<double, double> cases[] = {{0.5, 0},  {1.5, 2},   {2.5, 2},
                                               {-0.5, 0}, {-1.5, -2}, {2.4, 2},
                                               {2.6, 3},  {-2.6, -3}, {7, 7}};
    for (const auto &[value, rounded] : cases)
        EXPECT_EQ(RoundHalfEven(value), rounded) << value;
}

// Random texts of four decimals against their rounding done in integers:
// halves go away from zero as the number is written, whatever its binary value.
TEST(NumericText, RandomDecimalsReadAndAreWrittenAsThePatternsSay)
{
    const auto text = [](long long units, int decimals, int integers) {
        const QString digits =
            QString::number(std::abs(units)).rightJustified(decimals + integers, '0');
        return QString(units < 0 ? "-" : "") + digits.chopped(decimals) + ',' +
               digits.right(decimals);
    };
    std::mt19937 random(26);
    for (int i = 0; i < 5000; ++i) {
        const long long m = std::uniform_int_distribution<long long>(-9'999'999, 9'999'999)(random);
        const auto rounded = [m](long long unit) {
            return (m + (m < 0 ? -unit : unit) / 2) / unit;
        };
        const double value = ValueOf(text(m, 4, 1));
        ASSERT_EQ(value, m / 1e4) << m;
        EXPECT_EQ(FormatNumber(value, P::Integer, ","), QString::number(rounded(10000))) << m;
        QString seconds = text(rounded(100), 2, 1);
        EXPECT_EQ(FormatNumber(value, P::Seconds, ","),
                  seconds.endsWith('0') ? seconds.chopped(1) : seconds);
        EXPECT_EQ(FormatNumber(value, P::Megahertz, ","), text(rounded(10), 3, 1)) << m;
        EXPECT_EQ(FormatNumber(value, P::FrameDigits, ","), text(rounded(10), 3, 3)) << m;
    }
}

TEST(NumericText, FormatNumberAtTheEdges)
{
    EXPECT_EQ(FormatNumber(-0.0004, P::Megahertz, ","), "0,000"); // no sign on zero
    EXPECT_EQ(FormatNumber(999.9995, P::Megahertz, ","), "1000,000");
    EXPECT_EQ(FormatNumber(1e20, P::FrameDigits, ","), "100000000000000000000,000");
    EXPECT_EQ(FormatNumber(1.5e-7, P::FrameDigits, ","), "000,000");
    {
        const auto comma = LocaleGuard::comma();
        EXPECT_EQ(GetDecimalSeparator(), ",");
        EXPECT_EQ(FormatNumber(2.25, P::Seconds), "2,25");
    }
    const auto point = LocaleGuard::point();
    EXPECT_EQ(GetDecimalSeparator(), ".");
    EXPECT_EQ(FormatNumber(2.25, P::Seconds), "2.25");
}
