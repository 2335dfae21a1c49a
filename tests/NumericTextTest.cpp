// SPDX-License-Identifier: GPL-3.0-or-later
#include "NumericText.h"
#include "Scenario.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

using namespace kestrix;
using P = NumberPattern;

// The cases of tests/cases/numbers.txt. (A comma read as the point, the
// separator of every text the window shows: the random texts below.)
TEST(NumericText, ParseAndRoundAsTheCasesSay)
{
    const auto number = [](const QString &text) {
        const double max = std::numeric_limits<double>::max();
        return text == "max" ? max : text == "-max" ? -max : text.toDouble();
    };
    const auto parse = [&](const QString &rest) {
        QString text = rest.section(" | ", 0, 0);
        text.replace("\\t", "\t").replace("\\n", "\n").replace("\\r", "\r");
        EXPECT_DOUBLE_EQ(ParseLeadingNumber(text), number(rest.section(" | ", 1)));
    };
    const auto round = [&](const QString &rest) {
        EXPECT_EQ(RoundHalfEven(number(rest.section(" | ", 0, 0))), number(rest.section(" | ", 1)));
    };
    RunCases("numbers", {{"parse", parse}, {"round", round}});
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

// With the locale's separator, under a comma and a point locale: the timer
// text the frame cases leave behind (cases/frame.txt).
TEST(NumericText, FormatNumberAtTheEdges)
{
    EXPECT_EQ(FormatNumber(-0.0004, P::Megahertz, ","), "0,000"); // no sign on zero
    EXPECT_EQ(FormatNumber(999.9995, P::Megahertz, ","), "1000,000");
    EXPECT_EQ(FormatNumber(1e20, P::FrameDigits, ","), "100000000000000000000,000");
    EXPECT_EQ(FormatNumber(1.5e-7, P::FrameDigits, ","), "000,000");
}
