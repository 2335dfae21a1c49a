// SPDX-License-Identifier: GPL-3.0-or-later
// The parts of sending and saving that are plain functions: the checksum,
// the port number a field names, the device of a port number, and the file
// dialogs' filters.

#include "FrameBlocks.h"
#include "PortDevice.h"
#include "QtFileDialogs.h"
#include "QtPrinters.h"
#include "StoredPortMappings.h"
#include "Transmission.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

using namespace kestrix;

TEST(BlockChecksum, IsTheSumOfHeaderAndBlockModulo256)
{
    std::mt19937 random(26);
    for (int round = 0; round < 200; ++round) {
        const BlockHeader header{std::uint8_t(random()), std::uint8_t(random())};
        QByteArray block(kBlockFrameBytes, '\0');
        unsigned sum = header[0] + header[1];
        for (char &byte : block)
            sum += std::uint8_t(byte = char(random()));
        EXPECT_EQ(BlockChecksum(header, block), sum % 256);
    }
}

TEST(PortNumberOf, ReadsTheLeadingNumberRoundedToEven)
{
    const std::pair<const char *, int> cases[] = {{" 2 ", 2}, {"2.5", 2}, {"3.5", 4},
                                                  {"3,5", 3}, {"x", 0},   {"1e99", 1000000}};
    for (const auto &[text, number] : cases)
        EXPECT_EQ(PortNumberOf(text), number) << text;
}

// COMn, for n from 1 to 16 alone, is the device its variable names, else the
// stored choice (kept under its own number), else ttyS<n-1>; a variable that
// is set but empty names none.
TEST(ResolvePort, TheVariableThenTheStoredChoiceThenTheStandardPort)
{
    QTemporaryDir folder;
    StoredPortMappings stored(folder.filePath("ports.conf"));
    ASSERT_TRUE(stored.store(2, "/dev/ttyUSB1"));
    EXPECT_EQ(QSettings(folder.filePath("ports.conf"), QSettings::IniFormat).value("ports/COM2"),
              "/dev/ttyUSB1"); // where it outlives the program
    QProcessEnvironment environment;
    environment.insert("KESTRIX_COM2", "");
    environment.insert("KESTRIX_COM3", "");
    environment.insert("KESTRIX_COM4", "/dev/ttyUSB0");
    EXPECT_FALSE(ResolvePort(0, environment, &stored) || ResolvePort(17, environment, &stored));
#ifndef Q_OS_WIN
    EXPECT_EQ(SourceName(ResolvePort(4, environment, &stored)->source, 4), "named by KESTRIX_COM4");
    EXPECT_EQ(ResolvePort(2, environment, &stored)->device, "/dev/ttyUSB1");
    EXPECT_EQ(ResolvePort(3, environment, &stored)->device, "/dev/ttyS2");
#endif
}

TEST(QtNameFilters, DescriptionsKeepTheirPatternAndStarDotStarMeansEveryFile)
{
    EXPECT_EQ(QtNameFilters("File di configurazione (*.cfg)|*.cfg|Tutti i files|*.*"),
              QStringList({"File di configurazione (*.cfg)", "Tutti i files (*)"}));
    EXPECT_EQ(QtNameFilters("Text|*.txt;*.log|odd"), QStringList{"Text (*.txt *.log)"});
}
