// SPDX-License-Identifier: GPL-3.0-or-later
// Saving where a file cannot simply be written: a pipe, a device, a full
// disk, a read-only file, folder or drive. Each fails at once with its
// reason and leaves what was there as it was. (Loading such files is in the
// tools' case table.)

#include "ConfigFileStore.h"
#include "DeviceSettings.h"
#include "Scenario.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <iostream>

#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kestrix;

namespace {

void writeBytes(const QString &path, const QByteArray &bytes, mode_t mode = 0644)
{
    ASSERT_TRUE(PutFile(path, bytes));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

mode_t modeOf(const QString &path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode : 0;
}

QString saving(const QString &path)
{
    return Said(SaveConfigFile(path, DefaultSettings()), "saved");
}

// The death tests' children end here: what Save said goes to stderr.
[[noreturn]] void say(const QString &said)
{
    std::cerr << qPrintable(said);
    std::exit(0);
}

// Runs in a child: no file may grow past `bytes`, so write() fails as on a
// full disk.
[[noreturn]] void saveWithFilesLimitedTo(rlim_t bytes, const QString &path)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit unlimited{};
    getrlimit(RLIMIT_FSIZE, &unlimited);
    const rlimit limited{bytes, unlimited.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limited);
    const QString said = saving(path);
    setrlimit(RLIMIT_FSIZE, &unlimited); // the message goes to a file too
    say(said);
}

// Runs in a child: saves onto a file system mounted read-only, in a mount
// namespace of its own, so that nothing stays mounted; root only. Says
// "cannot be set up" where even root may not mount (a container).
[[noreturn]] void saveOnReadOnlyMount(const QString &folder)
{
    const QByteArray dir = QFile::encodeName(folder);
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", dir.constData(), "tmpfs", 0, "size=64k") != 0)
        say("cannot be set up");
    writeBytes(folder + "/old.cfg", "old");
    if (::mount("tmpfs", dir.constData(), nullptr, MS_REMOUNT | MS_RDONLY, "size=64k") != 0)
        say("cannot be set up");
    const QString said = saving(folder + "/old.cfg").replace(folder, "@");
    say(said + (ContentOf(folder + "/old.cfg") == "old" ? "" : " (changed)"));
}

struct HostileFiles : testing::Test
{
    QString at(const char *name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(HostileFiles, SaveRefusesAPipeOrADeviceAtOnce)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(at("fifo.cfg")).constData(), 0644), 0);
    for (const QString &path : {at("fifo.cfg"), QStringLiteral("/dev/null")}) {
        const mode_t type = modeOf(path) & S_IFMT;
        EXPECT_TRUE(saving(path).contains("cannot be written: it is not a regular file"));
        EXPECT_EQ(modeOf(path) & S_IFMT, type);
    }
}

TEST_F(HostileFiles, SaveKeepsTheFilesAccessRights)
{
    // A group's file whose owner may not write: only root replaces it.
    const mode_t mode = ::geteuid() == 0 ? 0464 : 0624;
    writeBytes(at("kept.cfg"), "old", mode);
    ASSERT_EQ(saving(at("kept.cfg")), "saved");
    EXPECT_EQ(ContentOf(at("kept.cfg")), *WriteConfigFile(DefaultSettings()));
    EXPECT_EQ(modeOf(at("kept.cfg")) & 07777, mode);
}

TEST_F(HostileFiles, AWriteErrorFailsSaveAndLeavesTheOldFileAsItWas)
{
    const QByteArray old(2000, 'x'); // larger than the limit
    writeBytes(at("Kestrix.cfg"), old, 0640);
    EXPECT_EXIT(saveWithFilesLimitedTo(64, at("Kestrix.cfg")), testing::ExitedWithCode(0),
                "^Kestrix.cfg: cannot be written: .*The old file is unchanged\\.$");
    EXPECT_EQ(ContentOf(at("Kestrix.cfg")), old);
    EXPECT_EQ(modeOf(at("Kestrix.cfg")) & 07777, 0640u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Kestrix.cfg"});
}

// Root ignores access rights but not a read-only mode; only root can mount.
TEST_F(HostileFiles, ReadOnlyFilesFoldersAndDrivesAreNamedAsSuch)
{
    writeBytes(at("locked.cfg"), "old", 0444);
    EXPECT_EQ(saving(at("locked.cfg")), "locked.cfg: cannot be written: the file is read-only.");
    EXPECT_EQ(ContentOf(at("locked.cfg")), "old");
    ASSERT_TRUE(QDir(dir.path()).mkdir("shut") && QDir(dir.path()).mkdir("mnt"));
    if (::geteuid() != 0) {
        writeBytes(at("shut/open.cfg"), "old");
        ::chmod(QFile::encodeName(at("shut")).constData(), 0555);
        EXPECT_TRUE(saving(at("shut/open.cfg"))
                        .startsWith("open.cfg: cannot be written: the folder " + at("shut") +
                                    " is read-only. Save writes the new file beside the old one"));
        EXPECT_EQ(ContentOf(at("shut/open.cfg")), "old");
        ::chmod(QFile::encodeName(at("shut")).constData(), 0755);
    } else {
        EXPECT_EXIT(saveOnReadOnlyMount(at("mnt")), testing::ExitedWithCode(0),
                    "^(cannot be set up|old.cfg: cannot be written: the drive it is on \\(@\\) "
                    "is mounted read-only\\.)$");
    }
}
