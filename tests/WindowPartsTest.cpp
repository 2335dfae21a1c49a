// SPDX-License-Identifier: GPL-3.0-or-later
// The parts of sending and saving that are plain functions: the port number
// a field names, the device of a port number, and the file dialogs' filters.
// The block checksum: the random settings of tools-test.py, whose dry runs
// are checked against bytes worked out there.

#include "PortDevice.h"
#include "QtFileDialogs.h"
#include "QtPrinters.h"
#include "Transmission.h"

#include <gtest/gtest.h>

using namespace kestrix;

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
