// SPDX-License-Identifier: GPL-3.0-or-later
// Files that a configuration file must not be: pipes, devices, a disk that
// fills up, text in another encoding. Each gets its message at once and
// leaves the files as they were.

#include "ConfigFileStore.h"
#include "DeviceSettings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <iostream>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kestrix;

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

mode_t modeOf(const QString &path)
{
    struct stat info
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode : 0;
}

// Runs in a child: no file may grow past `bytes`; exits 0 when Save failed.
[[noreturn]] void saveWithFilesLimitedTo(rlim_t bytes, const QString &path,
                                         const DeviceSettings &settings)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit unlimited{};
    getrlimit(RLIMIT_FSIZE, &unlimited);
    const rlimit limited{bytes, unlimited.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limited);
    const std::optional<QString> error = SaveConfigFile(path, settings);
    setrlimit(RLIMIT_FSIZE, &unlimited); // the message goes to a file too
    std::cerr << (error ? qPrintable(*error) : "saved");
    std::exit(error ? 0 : 1);
}

class HostileFiles : public testing::Test
{
protected:
    QString at(const char *name) const { return QDir(dir.path()).filePath(name); }
    QTemporaryDir dir;
    const QByteArray saved = *WriteConfigFile(DefaultSettings()).bytes;
};

} // namespace

TEST_F(HostileFiles, NeitherSaveNorLoadTouchesAPipeOrADevice)
{
    const QString fifo = at("fifo.cfg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const struct
    {
        QString path;
        mode_t type;
    } targets[] = {{fifo, S_IFIFO}, {QStringLiteral("/dev/null"), S_IFCHR}};
    for (const auto &target : targets) {
        QElapsedTimer clock;
        clock.start();
        const ConfigRead read = LoadConfigFile(target.path);
        EXPECT_LT(clock.elapsed(), 500); // a pipe with no writer must not block
        EXPECT_FALSE(read.settings);
        EXPECT_TRUE(read.error.contains("is not a regular file")) << read.error.toStdString();

        const std::optional<QString> error = SaveConfigFile(target.path, DefaultSettings());
        ASSERT_TRUE(error);
        EXPECT_TRUE(error->contains("not a regular file")) << error->toStdString();
        EXPECT_EQ(modeOf(target.path) & S_IFMT, target.type);
    }
}

// Root may replace a file that nobody may write; it stays read-only. Others
// are refused before (the read-only test), so they keep a shared file's bits.
TEST_F(HostileFiles, SaveKeepsTheFilesAccessRights)
{
    const QString path = at("kept.cfg");
    writeBytes(path, "old");
    const mode_t mode = ::geteuid() == 0 ? 0444 : 0604;
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
    ASSERT_FALSE(SaveConfigFile(path, DefaultSettings()));
    EXPECT_EQ(bytesOf(path), saved);
    EXPECT_EQ(modeOf(path) & 07777, mode);
}

// A write that fails part-way, as on a full disk: the file size limit makes
// write() fail with EFBIG, in a child process so that the limit stays there.
TEST_F(HostileFiles, AWriteErrorFailsSaveAndLeavesTheOldFileAsItWas)
{
    const QString path = at("Kestrix.cfg");
    const QByteArray old = saved + saved; // larger than the limit
    writeBytes(path, old);
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    DeviceSettings changed = DefaultSettings();
    changed.txtUsrM = "CHANGED";
    EXPECT_EXIT(saveWithFilesLimitedTo(64, path, changed), testing::ExitedWithCode(0),
                "Kestrix.cfg: cannot be written: .*The old file is unchanged");
    EXPECT_EQ(bytesOf(path), old);
    EXPECT_EQ(modeOf(path) & 07777, 0640u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Kestrix.cfg"});
}

// Editors on Windows often save UTF-8 with a byte-order mark.
TEST_F(HostileFiles, AFileMarkedAsUtf8IsReadAsUtf8WithinTheDevicesCharacters)
{
    const QByteArray bom = "\xEF\xBB\xBF";
    for (const char *timer : {"2,5", "2.5"}) {
        DeviceSettings s = DefaultSettings();
        s.txtTimer = timer;
        s.txtUsrM = QStringLiteral("CAFÉ");
        const QByteArray utf8 = WriteConfigFile(s).bytes->replace("\xC9", "\xC3\x89");
        const ConfigRead read = ReadConfigFile(bom + utf8);
        ASSERT_TRUE(read.settings) << read.error.toStdString();
        EXPECT_EQ(*read.settings, s) << timer;
    }
    const ConfigRead greek = ReadConfigFile(bom + QByteArray(saved).replace("WWV", "\xCE\xA9"));
    EXPECT_FALSE(greek.settings);
    EXPECT_TRUE(greek.error.contains("line 25: field 34 (the user message) holds a character "
                                     "outside Windows-1252"))
        << greek.error.toStdString();
    const ConfigRead broken = ReadConfigFile(bom + QByteArray(saved).replace("WWV", "\xC3"));
    EXPECT_TRUE(broken.error.contains("bytes that are not UTF-8")) << broken.error.toStdString();
}
