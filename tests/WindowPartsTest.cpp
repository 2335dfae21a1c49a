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

// COMn is the environment's device, else the stored choice, else ttyS<n-1>; a
// variable that is set but empty names no device. (The tools' tests show the
// reasons given.)
TEST(ResolvePort, TheEnvironmentThenTheStoredChoiceThenTheStandardPort)
{
    QTemporaryDir folder;
    const QString store = folder.filePath("ports.conf");
    StoredPortMappings stored(store);
    ASSERT_TRUE(stored.store(2, "/dev/ttyUSB1"));
    ASSERT_TRUE(stored.store(3, "/dev/ttyUSB2"));
    QProcessEnvironment environment;
    environment.insert("KESTRIX_COM2", "");
    environment.insert("KESTRIX_COM3", "/dev/ttyUSB0");
    QStringList devices;
    for (const int number : {0, 1, 2, 3, 16, 17}) {
        const auto port = ResolvePort(number, environment, &stored);
        devices << (port ? port->device : "none");
    }
#ifndef Q_OS_WIN
    EXPECT_EQ(devices, QStringList({"none", "/dev/ttyS0", "/dev/ttyUSB1", "/dev/ttyUSB0",
                                    "/dev/ttyS15", "none"}));
#endif
    // The choice outlives the program, under its own number, until forgotten.
    EXPECT_EQ(QSettings(store, QSettings::IniFormat).value("ports/COM3"), "/dev/ttyUSB2");
    EXPECT_TRUE(StoredPortMappings(store).store(3, QString()));
    EXPECT_EQ(StoredPortMappings(store).storedDevice(3), QString());
}

TEST(QtNameFilters, DescriptionsKeepTheirPatternAndStarDotStarMeansEveryFile)
{
    EXPECT_EQ(QtNameFilters("File di configurazione (*.cfg)|*.cfg|Tutti i files|*.*"),
              QStringList({"File di configurazione (*.cfg)", "Tutti i files (*)"}));
    EXPECT_EQ(QtNameFilters("Text|*.txt;*.log|odd"), QStringList{"Text (*.txt *.log)"});
}
