// SPDX-License-Identifier: GPL-3.0-or-later
// Files that a configuration file must not be: pipes, devices, a disk that
// fills up, text in another encoding. Each gets its message at once and
// leaves the files as they were.

#include "ConfigFileStore.h"
#include "DeviceSettings.h"
#include "QtPrinters.h"
#include "QtSerialPort.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <iostream>

#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
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
    const Result<> saved = SaveConfigFile(path, settings);
    setrlimit(RLIMIT_FSIZE, &unlimited); // the message goes to a file too
    std::cerr << qPrintable(Said(saved, "saved"));
    std::exit(saved ? 1 : 0);
}

// Said by a row whose situation this machine cannot make.
const char kCannotSetUp[] = "cannot be set up here:";

// Saves onto a file system mounted read-only, in a child with a mount
// namespace of its own, so that nothing stays mounted; root only.
QString saveOnReadOnlyMount(const QString &folder)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        const QByteArray dir = QFile::encodeName(folder);
        QString said = kCannotSetUp + QString(" no read-only mount could be made");
        if (::unshare(CLONE_NEWNS) == 0 &&
            ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
            ::mount("tmpfs", dir.constData(), "tmpfs", 0, "size=64k") == 0) {
            writeBytes(folder + "/old.cfg", "old");
            if (::mount("tmpfs", dir.constData(), nullptr, MS_REMOUNT | MS_RDONLY, "size=64k") == 0)
                said = Said(SaveConfigFile(folder + "/old.cfg", DefaultSettings()), "saved");
        }
        const QByteArray bytes = said.toUtf8();
        [[maybe_unused]] const ssize_t sent = ::write(fds[1], bytes.constData(), bytes.size());
        ::_exit(0);
    }
    ::close(fds[1]);
    QByteArray said;
    char buffer[512];
    for (ssize_t got; (got = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, got);
    ::close(fds[0]);
    ::waitpid(child, nullptr, 0);
    return QString::fromUtf8(said);
}

// What SEND says of COM1 as device.
QString openedAsCom1(const QString &device)
{
    QProcessEnvironment environment;
    environment.insert("KESTRIX_COM1", device);
    QtSerialPort port(environment);
    if (const Result<> chosen = port.setPortNumber(1); !chosen)
        return chosen.error();
    return Said(port.open(), "opened");
}

class HostileFiles : public testing::Test
{
protected:
    QString at(const char *name) const { return QDir(dir.path()).filePath(name); }
    QTemporaryDir dir;
    const QByteArray saved = *WriteConfigFile(DefaultSettings());
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
        const kestrix::Result<kestrix::DeviceSettings> read = LoadConfigFile(target.path);
        EXPECT_LT(clock.elapsed(), 500); // a pipe with no writer must not block
        EXPECT_FALSE(read.ok());
        EXPECT_TRUE(read.error().contains("is not a regular file")) << read.error().toStdString();

        const Result<> saved = SaveConfigFile(target.path, DefaultSettings());
        ASSERT_FALSE(saved);
        EXPECT_TRUE(saved.error().contains("not a regular file")) << saved.error().toStdString();
        EXPECT_EQ(modeOf(target.path) & S_IFMT, target.type);
    }
}

TEST_F(HostileFiles, SaveKeepsTheFilesAccessRights)
{
    const QString path = at("kept.cfg");
    writeBytes(path, "old");
    const mode_t mode = 0604;
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
    ASSERT_TRUE(SaveConfigFile(path, DefaultSettings()));
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
        const QByteArray utf8 = QByteArray(*WriteConfigFile(s)).replace("\xC9", "\xC3\x89");
        const kestrix::Result<kestrix::DeviceSettings> read = ReadConfigFile(bom + utf8);
        ASSERT_TRUE(read.ok()) << read.error().toStdString();
        EXPECT_EQ(*read, s) << timer;
    }
    const kestrix::Result<kestrix::DeviceSettings> greek =
        ReadConfigFile(bom + QByteArray(saved).replace("WWV", "\xCE\xA9"));
    EXPECT_FALSE(greek);
    EXPECT_TRUE(greek.error().contains("line 25: field 34 (the user message) holds a character "
                                       "outside Windows-1252"))
        << greek.error().toStdString();
    const kestrix::Result<kestrix::DeviceSettings> broken =
        ReadConfigFile(bom + QByteArray(saved).replace("WWV", "\xC3"));
    EXPECT_TRUE(broken.error().contains("bytes that are not UTF-8"))
        << broken.error().toStdString();
}

// Failures once told as something else. Root ignores access rights, and only
// root can mount a file system: such rows run in the one run or the other.
TEST_F(HostileFiles, EachFailureSaysWhatIsWrong)
{
    const bool root = ::geteuid() == 0;
    const QString text = QString::fromLatin1(saved);
    const QByteArray utf16(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    writeBytes(at("plain"), "not a port");
    ASSERT_TRUE(QDir(dir.path()).mkdir("mnt"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("shut"));
    writeBytes(at("shut/open.cfg"), "old");
    ::chmod(QFile::encodeName(at("shut")).constData(), 0555);
    writeBytes(at("locked.cfg"), "old");
    ::chmod(QFile::encodeName(at("locked.cfg")).constData(), 0444);

    enum Who
    {
        Anyone,
        RootOnly,
        OthersOnly
    };
    const struct
    {
        const char *name;
        Who who;
        std::function<QString()> attempt;
        QString says;      // a pattern
        QString neverSays; // a pattern
    } rows[] = {
        {"UTF-16 with its mark", Anyone, [&] { return Said(ReadConfigFile("\xFF\xFE" + utf16)); },
         "^line 1: the file is UTF-16 text, which this program cannot read\\. Save it as "
         "Windows-1252 or UTF-8\\.$",
         "control character"},
        {"UTF-16 without a mark", Anyone, [&] { return Said(ReadConfigFile(utf16)); },
         "the file is UTF-16 text", "control character"},
        {"two byte-order marks", Anyone,
         [&] { return Said(ReadConfigFile("\xEF\xBB\xBF\xEF\xBB\xBF" + saved)); },
         "^line 1: the file starts with two UTF-8 byte-order marks", "check state"},
        {"a read-only file, for root too", Anyone,
         [&] { return Said(SaveConfigFile(at("locked.cfg"), DefaultSettings()), "saved"); },
         "^locked\\.cfg: cannot be written: the file is read-only\\.$", "saved"},
        {"a writable file in a read-only folder", OthersOnly,
         [&] { return Said(SaveConfigFile(at("shut/open.cfg"), DefaultSettings()), "saved"); },
         "^open\\.cfg: cannot be written: the folder .*/shut is read-only\\. Save writes the "
         "new file beside the old one first",
         "Permission denied"},
        {"a read-only mount", RootOnly, [&] { return saveOnReadOnlyMount(at("mnt")); },
         "^old\\.cfg: cannot be written: the drive it is on \\(.*/mnt\\) is mounted read-only",
         "the file is read-only"},
        {"/dev/null as a port", Anyone, [] { return openedAsCom1("/dev/null"); },
         "^COM1 is /dev/null, which is not a serial port: it is a device of another kind\\.$",
         "ioctl"},
        {"a plain file as a port", Anyone, [&] { return openedAsCom1(at("plain")); },
         "which is not a serial port: it is a regular file\\.$", "opened"},
        {"a 3,000-character device name", Anyone,
         [] { return openedAsCom1("/dev/" + QString(3000, 'x')); },
         "^The serial port name /dev/x{35}\u2026x{40} cannot be used: File name too long\\.$",
         "dialout"},
    };
    for (const auto &row : rows) {
        if ((row.who == RootOnly && !root) || (row.who == OthersOnly && root))
            continue;
        const QString said = row.attempt();
        if (said.startsWith(kCannotSetUp)) {
            // A chroot or container may forbid mount namespaces even to root.
            std::cout << row.name << ": " << said.toStdString() << "\n";
            continue;
        }
        EXPECT_TRUE(said.contains(QRegularExpression(row.says)))
            << row.name << ": " << said.toStdString();
        EXPECT_FALSE(said.contains(QRegularExpression(row.neverSays))) << row.name;
    }
    EXPECT_EQ(bytesOf(at("locked.cfg")), "old");
    EXPECT_EQ(bytesOf(at("shut/open.cfg")), "old");
    ::chmod(QFile::encodeName(at("shut")).constData(), 0755);
}
