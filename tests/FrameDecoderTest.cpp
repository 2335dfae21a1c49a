// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrameDecoder.h"
#include "ConfigFrame.h"
#include "LocaleGuard.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace kestrix;

namespace {

ConfigFrame build(const DeviceSettings &settings)
{
    ConfigFrame frame{};
    const FrameBuild result = BuildConfigFrame(settings, frame);
    EXPECT_TRUE(result.ok) << result.problem.toStdString();
    return frame;
}

// Settings far from the defaults, each valid for the encoder.
std::vector<DeviceSettings> variedSettings()
{
    std::vector<DeviceSettings> all;
    DeviceSettings s = DefaultSettings();
    all.push_back(s);
    s.chkBeep = s.chkPacket = s.chkRA2 = s.chkDxCall = s.chkBand = s.chkRange = 1;
    s.chkToAll = s.chkUsrM = 0;
    s.txtTimer = "63.75";
    s.cbNumRange = 1;
    s.txtRangeLow[1] = "144.5";
    s.txtRangeHigh[1] = "146";
    s.cbNumBand = 2;
    s.cbBand = {0, 11, 9, -1, -1, -1};
    s.cbNumDxCalls = 0;
    s.txtDxCall[0] = "  IK2ABC/P";
    s.txtUsrM = QString::fromUtf8("é€ 9 chars");
    all.push_back(s);
    s.txtTimer = "";
    s.txtRangeLow[0] = "";
    s.txtRangeHigh[0] = "999.999";
    s.txtUsrM = "";
    all.push_back(s);
    return all;
}

} // namespace

TEST(FrameDecoder, EveryBuiltFrameDecodesToSettingsThatBuildItAgain)
{
    const LocaleGuard point = LocaleGuard::point();
    for (const DeviceSettings &settings : variedSettings()) {
        const ConfigFrame frame = build(settings);
        const DecodedFrame decoded = DecodeConfigFrame(frame);
        EXPECT_TRUE(decoded.problems.isEmpty()) << decoded.problems.join("; ").toStdString();
        EXPECT_EQ(build(decoded.settings), frame);
    }
}

TEST(FrameDecoder, BytesTheEncoderNeverWritesAreNamed)
{
    const ConfigFrame good = build(DefaultSettings());
    const struct
    {
        int offset;
        std::uint8_t value;
        const char *problem;
    } cases[] = {
        {3, 'x', "range slot 1 holds bytes other than digits"},
        {57, 0, "range slot 6 holds bytes other than digits"},
        {63, 12, "band slot 1 holds code 12, past the band list"},
        {61, 0x21, "option flags 0x21 set reserved bits"},
        {62, 0x1C, "section flags 0x1c set reserved bits"},
        {69, 1, "bytes 69 to 69 differ"},
        {72, 'y', "bytes 70 to 76 differ"},
        {87, ' ', "bytes 77 to 87 differ"},
    };
    for (const auto &c : cases) {
        ConfigFrame bad = good;
        bad[c.offset] = c.value;
        const DecodedFrame decoded = DecodeConfigFrame(bad);
        ASSERT_EQ(decoded.problems.size(), 1) << c.offset;
        EXPECT_TRUE(decoded.problems[0].startsWith(c.problem)) << decoded.problems[0].toStdString();
        EXPECT_TRUE(DescribeSettings(decoded).last().endsWith(decoded.problems[0]));
    }
}

TEST(FrameDecoder, FieldsCoverTheFrameInOrderAndSayWhatTheyHold)
{
    const std::vector<FrameField> fields = DescribeFrameFields(build(DefaultSettings()));
    int next = 0;
    for (const FrameField &field : fields) {
        EXPECT_EQ(field.offset, next) << field.description.toStdString();
        next = field.offset + field.length;
    }
    EXPECT_EQ(next, kFrameSize);
    EXPECT_EQ(fields[0].description, "range 1 from 1.810 MHz");
    EXPECT_EQ(fields[1].description, "range 1 to 1.838 MHz");
    EXPECT_EQ(fields[12].description, "suspend timer 1.0 s");
    EXPECT_EQ(fields[15].description, "band 1: 80m (3 - 6 Mhz)");
    EXPECT_EQ(fields.back().description, "DX call 3 \"DXCALL3\"");
}

// Each switch alone, against the bit the device reads it from: byte 61
// carries other packets, RA2 and beeps from the top bit down; byte 62 DX
// calls, bands, ranges, To ALL and the user message.
TEST(FrameFlags, EverySwitchAloneSetsItsOwnBitAndDecodesBack)
{
    using Switch = int DeviceSettings::*;
    const struct
    {
        const char *name;
        Switch field;
        int offset;
        int bit;
    } switches[] = {
        {"chkPacket", &DeviceSettings::chkPacket, 61, 0x80},
        {"chkRA2", &DeviceSettings::chkRA2, 61, 0x40},
        {"chkBeep", &DeviceSettings::chkBeep, 61, 0x20},
        {"chkDxCall", &DeviceSettings::chkDxCall, 62, 0x80},
        {"chkBand", &DeviceSettings::chkBand, 62, 0x40},
        {"chkRange", &DeviceSettings::chkRange, 62, 0x20},
        {"chkToAll", &DeviceSettings::chkToAll, 62, 0x10},
        {"chkUsrM", &DeviceSettings::chkUsrM, 62, 0x08},
    };
    for (const auto &on : switches) {
        DeviceSettings s = DefaultSettings();
        for (const auto &each : switches)
            s.*each.field = 0;
        s.*on.field = 1;
        const ConfigFrame frame = build(s);
        EXPECT_EQ(frame[61], on.offset == 61 ? on.bit : 0) << on.name;
        EXPECT_EQ(frame[62], on.offset == 62 ? on.bit : 0) << on.name;
        const DeviceSettings decoded = DecodeConfigFrame(frame).settings;
        for (const auto &each : switches) {
            EXPECT_EQ(decoded.*each.field, each.field == on.field ? 1 : 0)
                << on.name << " read as " << each.name;
        }
    }
}
