// SPDX-License-Identifier: GPL-3.0-or-later
// The parts of sending and saving that are plain functions: the block
// checksum, the port number a field names, the device of a port number, and
// the file dialogs' filters.

#include "FrameBlocks.h"
#include "PortDevice.h"
#include "QtFileDialogs.h"
#include "QtPrinters.h"
#include "Transmission.h"

#include <gtest/gtest.h>

using namespace kestrix;

// Over random blocks under the sending header: the random settings of
// tools-test.py, whose dry runs are checked against bytes worked out there.
// Here a header of two different bytes, as the simulator may receive, and
// bytes above 127.
TEST(BlockChecksum, IsTheSumOfHeaderAndBlockModulo256)
{
    const QByteArray block(kBlockFrameBytes, '\xff');
    EXPECT_EQ(BlockChecksum({0x01, 0x02}, block), (1 + 2 + kBlockFrameBytes * 255) % 256);
}

TEST(PortNumberOf, ReadsTheLeadingNumberRoundedToEven)
{
    const std::pair<const char *, int> cases[] = {{" 2 ", 2}, {"2.5", 2}, {"3.5", 4},
                                                  {"3,5", 3}, {"x", 0},   {"1e99", 1000000}};
    for (const auto &[text, number] : cases)
        EXPECT_EQ(PortNumberOf(text), number) << text;
}

// COMn is COM1 to COM16 alone. Which device a number means, and why: the
// chooser's scenarios; the stored choices as a file: StoredChoicesTest and
// the stored choices tools-test.py reads.
TEST(ResolvePort, OnlyCom1ToCom16)
{
    EXPECT_FALSE(ResolvePort(0, {}, nullptr) || ResolvePort(17, {}, nullptr));
    EXPECT_TRUE(ResolvePort(1, {}, nullptr) && ResolvePort(16, {}, nullptr));
}

TEST(QtNameFilters, DescriptionsKeepTheirPatternAndStarDotStarMeansEveryFile)
{
    EXPECT_EQ(QtNameFilters("File di configurazione (*.cfg)|*.cfg|Tutti i files|*.*"),
              QStringList({"File di configurazione (*.cfg)", "Tutti i files (*)"}));
    EXPECT_EQ(QtNameFilters("Text|*.txt;*.log|odd"), QStringList{"Text (*.txt *.log)"});
}
