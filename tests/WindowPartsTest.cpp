// SPDX-License-Identifier: GPL-3.0-or-later
// The parts of sending and saving that are plain functions: the port number
// a field names, the device of a port number, and the file dialogs' filters.
// The block checksum: the random settings of tools-test.py, whose dry runs
// are checked against bytes worked out there.

#include "PortDevice.h"
#include "QtFileDialogs.h"
#include "QtPrinters.h"
#include "StoredPortMappings.h"
#include "Transmission.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kestrix;

TEST(PortNumberOf, ReadsTheLeadingNumberRoundedToEven)
{
    const std::pair<const char *, int> cases[] = {{" 2 ", 2}, {"2.5", 2}, {"3.5", 4},
                                                  {"3,5", 3}, {"x", 0},   {"1e99", 1000000}};
    for (const auto &[text, number] : cases)
        EXPECT_EQ(PortNumberOf(text), number) << text;
}

// COMn is COM1 to COM16 alone, and a stored choice is kept under its own
// number. Which device a number means, and why: the chooser's scenarios.
TEST(ResolvePort, OnlyCom1ToCom16AndTheChoiceStoredUnderItsNumber)
{
    QTemporaryDir folder;
    StoredPortMappings stored(folder.filePath("ports.conf"));
    ASSERT_TRUE(stored.store(2, "/dev/ttyUSB1"));
    EXPECT_EQ(QSettings(folder.filePath("ports.conf"), QSettings::IniFormat).value("ports/COM2"),
              "/dev/ttyUSB1"); // where it outlives the program
    EXPECT_FALSE(ResolvePort(0, {}, &stored) || ResolvePort(17, {}, &stored));
    EXPECT_TRUE(ResolvePort(1, {}, &stored) && ResolvePort(16, {}, &stored));
}

TEST(QtNameFilters, DescriptionsKeepTheirPatternAndStarDotStarMeansEveryFile)
{
    EXPECT_EQ(QtNameFilters("File di configurazione (*.cfg)|*.cfg|Tutti i files|*.*"),
              QStringList({"File di configurazione (*.cfg)", "Tutti i files (*)"}));
    EXPECT_EQ(QtNameFilters("Text|*.txt;*.log|odd"), QStringList{"Text (*.txt *.log)"});
}
