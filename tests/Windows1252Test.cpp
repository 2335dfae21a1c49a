// SPDX-License-Identifier: GPL-3.0-or-later
#include "Windows1252.h"

#include <QStringDecoder>

#include <gtest/gtest.h>

using namespace kestrix;

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
