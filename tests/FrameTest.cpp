// SPDX-License-Identifier: GPL-3.0-or-later
// The frame's bytes, from files, are the dry runs' business (tools-test.py).
// Here, from tests/cases/frame.txt, what only the window or the box sees: the
// timer text a build leaves behind, refusals no file can bring about, and
// the decoder's complaints about bytes the encoder never writes.

#include "ConfigFields.h"
#include "ConfigFrame.h"
#include "FrameDecoder.h"
#include "LocaleGuard.h"
#include "Scenario.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace kestrix;

namespace {

void build(const QString &rest)
{
    const QStringList fields = rest.split(QRegularExpression("\\s*\\|\\s*"));
    const LocaleGuard locale = fields[0] == "point" ? LocaleGuard::point() : LocaleGuard::comma();
    DeviceSettings s = DefaultSettings();
    for (const QString &change : fields[1].split(' ')) {
        const ConfigField *field = FindConfigField(change.section('=', 0, 0));
        ASSERT_TRUE(field) << change.toStdString();
        if (field->kind == FieldKind::Text)
            field->text(s) = change.section('=', 1);
        else
            field->number(s) = change.section('=', 1).toInt();
    }
    ConfigFrame frame{};
    EXPECT_EQ(Said(BuildConfigFrame(s, frame), ""), fields[2]);
    EXPECT_EQ(s.txtTimer, fields[3]);
}

void decode(const QString &rest)
{
    DeviceSettings settings = DefaultSettings();
    ConfigFrame frame{};
    ASSERT_TRUE(BuildConfigFrame(settings, frame));
    ASSERT_EQ(DecodeConfigFrame(frame).problems, QStringList());
    frame[rest.section(' ', 0, 0).toInt()] = rest.section(' ', 1, 1).toUInt(nullptr, 16);
    EXPECT_EQ(DecodeConfigFrame(frame).problems, QStringList{rest.section(" | ", 1)});
}

} // namespace

TEST(Frame, EveryCaseBuildsOrDecodesAsItSays)
{
    RunCases("frame", {{"build", build}, {"decode", decode}});
}
