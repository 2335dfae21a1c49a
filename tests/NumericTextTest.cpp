// SPDX-License-Identifier: GPL-3.0-or-later
#include "NumericText.h"
#include "LocaleGuard.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <limits>

using namespace kestrix;

struct ParseCase
{
    const char *text;
    double value;
};

class ParseLeadingNumberTest : public testing::TestWithParam<ParseCase>
{
};

TEST_P(ParseLeadingNumberTest, ReadsTheLeadingNumber)
{
    EXPECT_DOUBLE_EQ(ParseLeadingNumber(QString::fromUtf8(GetParam().text)), GetParam().value)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseLeadingNumberTest,
    testing::Values(ParseCase{"14.065", 14.065}, ParseCase{"12.5.3", 12.5}, ParseCase{"letters", 0},
                    ParseCase{"", 0}, ParseCase{" 7 5", 75}, ParseCase{"1\t2\n3", 123},
                    ParseCase{"1\r2", 1}, ParseCase{"-1", -1}, ParseCase{"+2", 2},
                    ParseCase{"- 4", -4}, ParseCase{"--5", 0}, ParseCase{".5", 0.5},
                    ParseCase{".", 0}, ParseCase{"-", 0}, ParseCase{"3abc", 3},
                    ParseCase{"1E3", 1000}, ParseCase{"1d2", 100}, ParseCase{"2.5e-1x", 0.25},
                    ParseCase{"1e", 1}, ParseCase{"1e+", 1}, ParseCase{"E5", 0},
                    ParseCase{"&HFF", 255}, ParseCase{"&hff", 255}, ParseCase{"&HFFFF", -1},
                    ParseCase{"&H10000", 65536}, ParseCase{"&HFFFFFFFF", -1}, ParseCase{"&O17", 15},
                    ParseCase{"&H", 0}, ParseCase{"&HG", 0}, ParseCase{"&X1", 0},
                    ParseCase{"1e-999", 0}, ParseCase{"1e999", std::numeric_limits<double>::max()},
                    ParseCase{"-1e999", -std::numeric_limits<double>::max()}));

TEST(ValueOf, ReadsACommaAsTheDecimalPointInEveryLocale)
{
    const auto guard = LocaleGuard::point();
    EXPECT_DOUBLE_EQ(ValueOf("1,810"), 1.81);
    EXPECT_DOUBLE_EQ(ValueOf("0,5"), 0.5);
    EXPECT_DOUBLE_EQ(ValueOf("12,5,3"), 12.5);
}

TEST(RoundHalfEven, TiesGoToTheEvenInteger)
{
    const std::pair<double, double> cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4, 2}, {2.6, 3}, {-2.6, -3}, {7, 7},
    };
    for (const auto &[value, rounded] : cases)
        EXPECT_EQ(RoundHalfEven(value), rounded) << value;
}

struct FormatCase
{
    double value;
    NumberPattern pattern;
    const char *text;
};

class FormatNumberTest : public testing::TestWithParam<FormatCase>
{
};

TEST_P(FormatNumberTest, WritesThePatternWithTheGivenSeparator)
{
    EXPECT_EQ(FormatNumber(GetParam().value, GetParam().pattern, ","),
              QString::fromUtf8(GetParam().text))
        << GetParam().value;
}

using P = NumberPattern;
INSTANTIATE_TEST_SUITE_P(
    Cases, FormatNumberTest,
    testing::Values(
        FormatCase{3, P::Integer, "3"}, FormatCase{7.0, P::Integer, "7"},
        FormatCase{2.5, P::Integer, "3"}, FormatCase{-2.5, P::Integer, "-3"},
        FormatCase{0.4, P::Integer, "0"}, FormatCase{-0.4, P::Integer, "0"},
        FormatCase{16, P::Integer, "16"}, FormatCase{1, P::Seconds, "1,0"},
        FormatCase{1.25, P::Seconds, "1,25"}, FormatCase{1.5, P::Seconds, "1,5"},
        FormatCase{0, P::Seconds, "0,0"}, FormatCase{0.125, P::Seconds, "0,13"},
        FormatCase{0.995, P::Seconds, "1,0"}, FormatCase{63.75, P::Seconds, "63,75"},
        FormatCase{1.81, P::Megahertz, "1,810"}, FormatCase{1.0005, P::Megahertz, "1,001"},
        FormatCase{144, P::Megahertz, "144,000"}, FormatCase{7.5, P::Megahertz, "7,500"},
        FormatCase{0.0004, P::Megahertz, "0,000"}, FormatCase{-0.0004, P::Megahertz, "0,000"},
        FormatCase{-1, P::Megahertz, "-1,000"}, FormatCase{999.999, P::Megahertz, "999,999"},
        FormatCase{999.9995, P::Megahertz, "1000,000"},
        FormatCase{14.065, P::FrameDigits, "014,065"}, FormatCase{1.81, P::FrameDigits, "001,810"},
        FormatCase{0, P::FrameDigits, "000,000"},
        FormatCase{1e20, P::FrameDigits, "100000000000000000000,000"},
        FormatCase{1.5e-7, P::FrameDigits, "000,000"}));

TEST(FormatNumber, UsesTheLocaleSeparatorByDefault)
{
    {
        const auto guard = LocaleGuard::comma();
        EXPECT_EQ(FormatNumber(2.25, NumberPattern::Seconds), "2,25");
    }
    const auto guard = LocaleGuard::point();
    EXPECT_EQ(FormatNumber(2.25, NumberPattern::Seconds), "2.25");
}

// Numbers too long or too large for a double: their decimal order, not the
// way they are written, decides between the largest double and zero.
TEST(ParseLeadingNumber, OutOfRangeTextsGoToTheirSideOfTheRange)
{
    const double largest = std::numeric_limits<double>::max();
    for (const int zeros : {310, 400, 1000}) {
        for (const int exponent : {-2000, -700, -350, -10, 0, 10, 350, 700}) {
            const QString e = QStringLiteral("e%1").arg(exponent);
            // "1000…0eX" has the order zeros + X; "0.000…01eX" has -(zeros + 1) + X.
            const std::pair<QString, int> texts[] = {
                {QStringLiteral("1") + QString(zeros, QChar('0')) + e, zeros + exponent},
                {QStringLiteral("0,") + QString(zeros, QChar('0')) + QStringLiteral("1") + e,
                 -(zeros + 1) + exponent}};
            for (const auto &[text, order] : texts) {
                for (const bool negative : {false, true}) {
                    const QString signedText = negative ? QStringLiteral("-") + text : text;
                    const double value = ValueOf(signedText);
                    const double magnitude = std::abs(value);
                    if (order > 308)
                        EXPECT_EQ(magnitude, largest) << order;
                    else if (order < -324)
                        EXPECT_EQ(magnitude, 0.0) << order;
                    else
                        EXPECT_NEAR(std::log10(magnitude), order, order < -307 ? 0.01 : 1e-9)
                            << order; // subnormals hold few digits
                    EXPECT_TRUE(magnitude == 0 || std::signbit(value) == negative) << order;
                }
            }
        }
    }
    EXPECT_EQ(ParseLeadingNumber("1e99999999999999999999999"), largest);
    EXPECT_EQ(ParseLeadingNumber("1e-99999999999999999999999"), 0.0);
}
