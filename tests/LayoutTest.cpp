// SPDX-License-Identifier: GPL-3.0-or-later
#include "SetupFixture.h"

#include <QFontInfo>

using namespace kestrix;

// Whether every caption fits its control: the start-up scenario.
TEST_F(SetupFixture, WindowHasTheDesignedFixedClientAreaAndTheProgramIconInBothSizes)
{
    // Run again with one other font installed, which must be the one in use.
    const QString family = qEnvironmentVariable("KESTRIX_TEST_FONT_FAMILY");
    ASSERT_TRUE(family.isEmpty() || QFontInfo(setup->font()).family() == family);
    EXPECT_EQ(setup->size(), QSize(569, 323));
    EXPECT_EQ(setup->minimumSize(), setup->maximumSize());
    EXPECT_FALSE(setup->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(setup->windowFlags() & Qt::WindowMinimizeButtonHint);
    const QList<QSize> sizes = setup->windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(32, 32)) && sizes.contains(QSize(16, 16)));
}
