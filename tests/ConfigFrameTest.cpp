// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConfigFrame.h"
#include "LocaleGuard.h"
#include "QtPrinters.h"
#include "Windows1252.h"

#include <QStringDecoder>

#include <gtest/gtest.h>

#include <string>

using namespace kestrix;

namespace {

// The frame the defaults give, written out from the device's documentation.
ConfigFrame expectedDefaultFrame()
{
    ConfigFrame f{};
    const std::string ranges = "001810183800350035800070007030014000406502100010800248904920";
    for (std::size_t i = 0; i < ranges.size(); ++i)
        f[i] = static_cast<std::uint8_t>(ranges[i]);
    f[60] = 4;
    f[61] = 0;
    f[62] = 0x18;
    for (int k = 0; k < 6; ++k)
        f[63 + k] = static_cast<std::uint8_t>(k + 1);
    const std::string texts = std::string("DX de ") + '\0' + "To ALL de " + '\0' + "WWV";
    for (std::size_t i = 0; i < texts.size(); ++i)
        f[70 + i] = static_cast<std::uint8_t>(texts[i]);
    for (int j = 0; j < 3; ++j) {
        const std::string call = "DXCALL" + std::to_string(j + 1);
        for (std::size_t i = 0; i < call.size(); ++i)
            f[98 + 10 * j + i] = static_cast<std::uint8_t>(call[i]);
    }
    return f;
}

std::string bytesAt(const ConfigFrame &frame, int offset, int length)
{
    return std::string(frame.begin() + offset, frame.begin() + offset + length);
}

ConfigFrame filled(std::uint8_t value)
{
    ConfigFrame f;
    f.fill(value);
    return f;
}

} // namespace

TEST(BuildConfigFrame, DefaultsGiveTheDocumentedFrameInEitherLocale)
{
    for (const bool comma : {true, false}) {
        const auto guard = comma ? LocaleGuard::comma() : LocaleGuard::point();
        ConfigFrame frame = filled(0xAA); // every byte must be rewritten
        const FrameBuild build = BuildConfigFrame(DefaultSettings(), frame);
        EXPECT_TRUE(build.ok);
        EXPECT_EQ(frame, expectedDefaultFrame());
        EXPECT_EQ(build.timerText, comma ? "1,0" : "1.0");
    }
}

struct TimerCase
{
    const char *text;
    bool ok;
    int byte;
    const char *shown; // under a comma locale
};

class TimerQuantisation : public testing::TestWithParam<TimerCase>
{
};

TEST_P(TimerQuantisation, RoundsToQuarterSecondsTiesToEven)
{
    const auto guard = LocaleGuard::comma();
    const TimerCase &c = GetParam();
    DeviceSettings s = DefaultSettings();
    s.txtTimer = QString::fromUtf8(c.text);
    ConfigFrame frame = filled(0xAA);
    const FrameBuild build = BuildConfigFrame(s, frame);
    EXPECT_EQ(build.ok, c.ok) << c.text;
    if (c.ok) {
        EXPECT_EQ(frame[60], c.byte) << c.text;
        EXPECT_EQ(build.timerText, QString::fromUtf8(c.shown)) << c.text;
    } else {
        EXPECT_EQ(frame[60], 0xAA) << c.text;
        EXPECT_FALSE(build.timerText.has_value()) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimerQuantisation,
    testing::Values(TimerCase{"2,3", true, 9, "2,25"}, TimerCase{"2.3", true, 9, "2,25"},
                    TimerCase{"63,75", true, 255, "63,75"}, TimerCase{"63,87", true, 255, "63,75"},
                    TimerCase{"63,875", false, 0, ""}, TimerCase{"64", false, 0, ""},
                    TimerCase{"", true, 0, "0,0"}, TimerCase{"0,125", true, 0, "0,0"},
                    TimerCase{"0,375", true, 2, "0,5"}, TimerCase{"-0,125", true, 0, "0,0"},
                    TimerCase{"-0,2", false, 0, ""}, TimerCase{"1e999", false, 0, ""},
                    TimerCase{"abc", true, 0, "0,0"}));

TEST(BuildConfigFrame, SlotsBeyondTheCountRepeatTheLastActiveRow)
{
    DeviceSettings s = DefaultSettings();
    s.cbNumRange = 0;
    s.txtRangeLow[0] = "14.000";
    s.txtRangeHigh[0] = "14,350";
    s.cbNumBand = 2;
    s.cbBand = {4, 6, 8, kNoChoice, kNoChoice, kNoChoice};
    s.cbNumDxCalls = 0;
    s.txtDxCall[0] = "  ABCD";
    ConfigFrame frame{};
    ASSERT_TRUE(BuildConfigFrame(s, frame).ok);
    for (int slot = 0; slot < 6; ++slot)
        EXPECT_EQ(bytesAt(frame, 10 * slot, 10), "0140004350") << slot;
    EXPECT_EQ(bytesAt(frame, 63, 7), std::string("\x04\x06\x08\x08\x08\x08\x00", 7));
    for (int slot = 0; slot < 3; ++slot)
        EXPECT_EQ(bytesAt(frame, 98 + 10 * slot, 10), std::string("ABCD\0\0\0\0\0\0", 10));
}

TEST(BuildConfigFrame, TextFieldsAreNotCutToTheirTenBytes)
{
    DeviceSettings s = DefaultSettings();
    s.txtUsrM = "";
    s.txtDxCall = {"ABCDEFGHIJKL", "0123456789", "Z  "};
    ConfigFrame frame{};
    ASSERT_TRUE(BuildConfigFrame(s, frame).ok);
    EXPECT_EQ(bytesAt(frame, 88, 10), std::string(10, '\0'));
    // Slot 0's overflow is overwritten by slot 1, which has no zero byte.
    EXPECT_EQ(bytesAt(frame, 98, 30), std::string("ABCDEFGHIJ0123456789Z  \0\0\0\0\0\0\0", 30));

    s.txtDxCall[2] = "0123456789"; // exactly fills the end of the frame
    EXPECT_TRUE(BuildConfigFrame(s, frame).ok);
    s.txtDxCall[2] = "0123456789A"; // one byte past it
    EXPECT_FALSE(BuildConfigFrame(s, frame).ok);
}

TEST(BuildConfigFrame, NegativeBoundFailsButTheBuildRunsOn)
{
    for (const bool lower : {true, false}) {
        DeviceSettings s = DefaultSettings();
        (lower ? s.txtRangeLow : s.txtRangeHigh)[2] = "-1";
        s.txtDxCall[2] = "LAST";
        ConfigFrame frame = filled(0xAA);
        const FrameBuild build = BuildConfigFrame(s, frame);
        EXPECT_FALSE(build.ok);
        EXPECT_TRUE(build.timerText.has_value());
        // The refused bound stays unwritten, its partner and later steps are done.
        EXPECT_EQ(bytesAt(frame, 20, 10), lower ? "\xAA\xAA\xAA\xAA\xAA\xAA"
                                                  "7030"
                                                : "007000\xAA\xAA\xAA\xAA");
        EXPECT_EQ(bytesAt(frame, 118, 4), "LAST");
    }
}

TEST(BuildConfigFrame, BoundsOfAThousandAndMoreKeepSixAndFourDigits)
{
    DeviceSettings s = DefaultSettings();
    s.cbNumRange = 0;
    s.txtRangeLow[0] = "999,9995";
    s.txtRangeHigh[0] = "1234,5678";
    ConfigFrame frame{};
    ASSERT_TRUE(BuildConfigFrame(s, frame).ok);
    EXPECT_EQ(bytesAt(frame, 0, 10), "1000004568");
    EXPECT_EQ(FrequencyDigits(0), "000000");
}

struct FailureCase
{
    const char *name;
    void (*change)(DeviceSettings &);
    bool timerStepRan;
    const char *reason;
};

class BuildFailure : public testing::TestWithParam<FailureCase>
{
};

TEST_P(BuildFailure, RefusesTheSettingsAndSaysWhy)
{
    DeviceSettings s = DefaultSettings();
    GetParam().change(s);
    ConfigFrame frame{};
    const FrameBuild build = BuildConfigFrame(s, frame);
    EXPECT_FALSE(build.ok);
    EXPECT_EQ(build.timerText.has_value(), GetParam().timerStepRan);
    EXPECT_TRUE(build.problem.contains(GetParam().reason)) << build.problem.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BuildFailure,
    testing::Values(
        FailureCase{"NoRangeCount", [](DeviceSettings &s) { s.cbNumRange = kNoChoice; }, false,
                    "no count of ranges"},
        FailureCase{"TimerOutside", [](DeviceSettings &s) { s.txtTimer = "64"; }, false,
                    "the suspend timer is outside 0 to 63.75 s"},
        FailureCase{"ActiveBandUnchosen", [](DeviceSettings &s) { s.cbBand[3] = kNoChoice; }, true,
                    "an active band row has no band"},
        FailureCase{"NegativeBound", [](DeviceSettings &s) { s.txtRangeHigh[2] = "-1"; }, true,
                    "a frequency range bound is negative"},
        FailureCase{"NoBandCount", [](DeviceSettings &s) { s.cbNumBand = kNoChoice; }, true,
                    "no count of bands"},
        FailureCase{"NoDxCallCount", [](DeviceSettings &s) { s.cbNumDxCalls = kNoChoice; }, true,
                    "no count of DX calls"},
        FailureCase{"BandSwitchedOffButUnchosen",
                    [](DeviceSettings &s) {
                        s.chkBand = 0;
                        s.cbBand[2] = kNoChoice;
                    },
                    true, "no band chosen"},
        FailureCase{"GrayedOption", [](DeviceSettings &s) { s.chkBeep = 2; }, true,
                    "an option switch"},
        FailureCase{"GrayedSection", [](DeviceSettings &s) { s.chkUsrM = 2; }, true,
                    "a section switch"},
        FailureCase{"CharacterOutsideTheCodePage", [](DeviceSettings &s) { s.txtUsrM = "Ω"; }, true,
                    "the user message holds a character outside Windows-1252"},
        FailureCase{"MessagePastTheFrameEnd",
                    [](DeviceSettings &s) { s.txtUsrM = QString(41, QChar('M')); }, true,
                    "the user message is too long for the device"},
        FailureCase{"CallPastTheFrameEnd",
                    [](DeviceSettings &s) { s.txtDxCall[2] = QString(1021, QChar('K')); }, true,
                    "a DX call is too long for the device"},
        FailureCase{"CallOutsideTheCodePage", [](DeviceSettings &s) { s.txtDxCall[0] = "Ж"; }, true,
                    "a DX call holds a character outside Windows-1252"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(BuildConfigFrame, UnchosenBandBeyondTheCountIsNotRead)
{
    DeviceSettings s = DefaultSettings();
    s.cbNumBand = 1;
    s.cbBand[2] = kNoChoice;
    ConfigFrame frame{};
    ASSERT_TRUE(BuildConfigFrame(s, frame).ok);
    EXPECT_EQ(bytesAt(frame, 63, 6), std::string("\x01\x02\x02\x02\x02\x02", 6));
}

TEST(BuildConfigFrame, TextsAreWindows1252WithLeadingBlanksDropped)
{
    DeviceSettings s = DefaultSettings();
    s.txtUsrM = "  é€ x ";
    ConfigFrame frame{};
    ASSERT_TRUE(BuildConfigFrame(s, frame).ok);
    EXPECT_EQ(bytesAt(frame, 88, 10), std::string("\xE9\x80 x \0\0\0\0\0", 10));
}

// Our table against the platform's converter, over every byte and back.
TEST(Windows1252, EveryByteReadsAsThePlatformReadsItAndBack)
{
    QStringDecoder platform("windows-1252");
    ASSERT_TRUE(platform.isValid());
    for (int byte = 0; byte < 256; ++byte) {
        const char raw = static_cast<char>(byte);
        const QString expected = platform.decode(QByteArrayView(&raw, 1));
        const QChar ours = FromWindows1252(static_cast<std::uint8_t>(byte));
        // The platform marks the five undefined bytes; we keep them as C1 controls.
        EXPECT_TRUE(expected == QString(QChar(0xFFFD)) || QString(ours) == expected) << byte;
        EXPECT_EQ(ToWindows1252(ours), std::optional<std::uint8_t>(byte)) << byte;
    }
    int characters = 0;
    for (int code = 0; code <= 0xFFFF; ++code)
        characters += ToWindows1252(QChar(static_cast<char16_t>(code))).has_value();
    EXPECT_EQ(characters, 256); // nothing else maps into the code page
}
