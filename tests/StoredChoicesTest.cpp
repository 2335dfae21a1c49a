// SPDX-License-Identifier: GPL-3.0-or-later
// The devices chosen for COM numbers, stored in the user's configuration, in
// set-ups that fight them: what the chooser shows, whether the next choice
// is stored, and that a file that could not be used is kept aside. Root
// ignores access rights: those rows run in the unprivileged run. What
// kestrix-send makes of such set-ups, stored choices that work and the
// variables over them, is in the tools' case table; the chooser over stored
// choices in its scenarios.

#include "Controls.h"
#include "FakePorts.h"
#include "PortChooser.h"
#include "Scenario.h"
#include "StoredPortMappings.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace kestrix;

TEST(StoredChoices, HostileSetUps)
{
    // clang-format off
    const struct
    {
        QByteArray old;       // the file's contents; none: a read-only folder
        int mode;             // of the file
        const char *shows;    // what the chooser shows, a pattern; "@" the test's folder
        const char *afterUse; // what it says after Use; empty: it closed, the choice stored
        const char *stored;   // COM2's device then
    } rows[] = {
        {{}, 0, "COM2 is now /dev/ttyS1 \\(the default\\)", "COM2 was not stored: "
         "@/Kestrix/kestrix-config.conf cannot be written, as the folder @/Kestrix is read-only.",
         ""},
        {"[ports]\nCOM2=/dev/ttyOld\n", 0444, "COM2 is now /dev/ttyOld \\(chosen and stored\\)",
         "COM2 was not stored: @/Kestrix/kestrix-config.conf cannot be written, as the file is "
         "read-only.", "/dev/ttyOld"},
        {"[ports]\nCOM2=/dev/ttyOld\n", 0, "are not used: it cannot be read", "", "/dev/ttyPICKED"},
        {"\x7f" "ELF\x01\x01\n[ports\nCOM2 /dev/ttyUSB0\n", 0644,
         "are not used: it is not a settings file", "", "/dev/ttyPICKED"},
        {QByteArray(1100000, ';') + "\n[ports]\nCOM2=/dev/ttyOld\n", 0644,
         "are not used: the file has \\d+ bytes, more than the 1048576", "", "/dev/ttyPICKED"}};
    // clang-format on
    for (const auto &row : rows) {
        if (::geteuid() == 0 && (row.mode & 0200) == 0)
            continue;
        QTemporaryDir folder;
        const auto at = [&folder](QString text) { return text.replace("@", folder.path()); };
        const QString config = folder.filePath("Kestrix/kestrix-config.conf");
        ASSERT_TRUE(QDir(folder.path()).mkpath("Kestrix"));
        // A file kept aside before is replaced by the one kept aside now.
        ASSERT_TRUE(PutFile(config + ".bad", "older") &&
                    (row.old.isEmpty() || PutFile(config, row.old)));
        ::chmod(QFile::encodeName(row.old.isEmpty() ? folder.filePath("Kestrix") : config),
                row.old.isEmpty() ? 0555 : row.mode);

        FakePortLister ports;
        ports.entries = {
            PortEntry{"/dev/ttyPICKED", "USB UART", "", "", "", PortAvailability::Free}};
        StoredPortMappings stored(config);
        PortChooser chooser(2, ports, stored, QProcessEnvironment());
        chooser.show();
        auto *problem = Part<QLabel>(&chooser, "lblProblem");
        const QString shown = Part<QLabel>(&chooser, "lblNow")->text() + "\n" + problem->text();
        EXPECT_TRUE(shown.contains(QRegularExpression(at(row.shows))))
            << row.shows << ": " << shown.toStdString();
        auto *list = Part<QTreeWidget>(&chooser, "lstPorts");
        list->setCurrentItem(list->topLevelItem(0));
        Button(&chooser, "cmdUse")->click();
        EXPECT_EQ(chooser.isVisible() ? problem->text() : "", at(row.afterUse));
        EXPECT_EQ(stored.storedDevice(2), row.stored);
        // Stored for good, another reader finds it too; the file is no longer a problem.
        EXPECT_TRUE(*row.afterUse || (StoredPortMappings(config).storedDevice(2) == row.stored &&
                                      stored.problem().isEmpty()));
        QFile kept(config + ".bad"); // what could not be used is kept, not written over
        ::chmod(QFile::encodeName(kept.fileName()), 0600);
        EXPECT_EQ(kept.open(QIODevice::ReadOnly) ? kept.readAll() : "",
                  QString(row.shows).startsWith("are not used") ? row.old : "older")
            << row.shows;
        ::chmod(QFile::encodeName(folder.filePath("Kestrix")), 0755);
    }
}
