// SPDX-License-Identifier: GPL-3.0-or-later
// The frame's bytes, from files, are the dry runs' business (tools-test.py).
// Here what only the window or the box sees: the timer text a build leaves
// behind, refusals no file can bring about, and the decoder's complaints
// about bytes the encoder never writes.

#include "ConfigFields.h"
#include "ConfigFrame.h"
#include "FrameDecoder.h"
#include "LocaleGuard.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace kestrix;

TEST(Frame, TheTimerShowsWhatIsSentAsFarAsTheBuildGot)
{
    const struct
    {
        bool point;
        const char *changes; // name=value, by the controls' names
        const char *refusal;
        const char *timer;
    } cases[] = {
        {false, "txtTimer=2,3", "", "2,25"},
        {true, "txtTimer=2,3", "", "2.25"},
        {true, "txtTimer=1,0", "", "1.0"},
        {false, "txtTimer=2,3 cbNumRange=-1", "the count of ranges has no entry chosen", "2,3"},
        {false, "txtTimer=2,3 txtRangeLow(2)=-1", "the lower bound of range 3 is negative", "2,25"},
        {false, "txtTimer=2,3 cbNumBand=-1", "the count of bands has no entry chosen", "2,25"},
        {false, "txtTimer=63,875", "the suspend timer is outside 0 to 63.75 s", "63,875"},
        {false, "txtUsrM=Ω", "the user message holds a character outside Windows-1252", "1,0"},
        {false, "txtDxCall(0)=Ж", "DX call 1 holds a character outside Windows-1252", "1,0"},
    };
    for (const auto &c : cases) {
        const LocaleGuard locale = c.point ? LocaleGuard::point() : LocaleGuard::comma();
        DeviceSettings s = DefaultSettings();
        for (const QString &change : QString::fromUtf8(c.changes).split(' ')) {
            const QString name = change.section('=', 0, 0), value = change.section('=', 1);
            const ConfigField *field = FindConfigField(name);
            ASSERT_TRUE(field) << c.changes;
            if (field->kind == FieldKind::Text)
                field->text(s) = value;
            else
                field->number(s) = value.toInt();
        }
        ConfigFrame frame{};
        EXPECT_EQ(Said(BuildConfigFrame(s, frame), ""), c.refusal) << c.changes;
        EXPECT_EQ(s.txtTimer, c.timer) << c.changes;
    }
}

TEST(Frame, TheDecoderNamesBytesTheEncoderNeverWrites)
{
    DeviceSettings settings = DefaultSettings();
    ConfigFrame good{};
    ASSERT_TRUE(BuildConfigFrame(settings, good));
    EXPECT_EQ(DecodeConfigFrame(good).problems, QStringList());
    const struct
    {
        int offset, byte;
        const char *problem;
    } cases[] = {
        {3, 0x78, "bytes 0 to 5 hold bytes other than digits"},
        {57, 0x00, "bytes 56 to 59 hold bytes other than digits"},
        {61, 0x30, "byte 61 sets reserved bits 0x10"},
        {62, 0x1c, "byte 62 sets reserved bits 0x04"},
        {63, 0x0c, "byte 63 holds band code 12, past the band list"},
        {69, 0x01, "byte 69 is not its fixed content"},
        {72, 0x79, "bytes 70 to 76 are not their fixed content"},
        {87, 0x20, "bytes 77 to 87 are not their fixed content"},
    };
    for (const auto &c : cases) {
        ConfigFrame frame = good;
        frame[c.offset] = static_cast<std::uint8_t>(c.byte);
        EXPECT_EQ(DecodeConfigFrame(frame).problems, QStringList{c.problem}) << c.offset;
    }
}
