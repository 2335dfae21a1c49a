// SPDX-License-Identifier: GPL-3.0-or-later
// The one file of the serial layer that asks the system directly.
#include "DeviceKind.h"

#include <QFile>

#ifndef Q_OS_WIN
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

namespace kestrix {

QString ShortDeviceName(const QString &path)
{
    constexpr int kShown = 40;
    if (path.size() <= 2 * kShown)
        return path;
    return path.left(kShown) + QChar(0x2026) + path.right(kShown);
}

#ifdef Q_OS_WIN

DeviceCheck CheckDevice(const QString &)
{
    return {};
}

#else

namespace {

// Linux names each character device's kind in sysfs; pseudo-terminals have
// no entry there, and a terminal opened without waiting for a carrier and
// without becoming our controlling terminal is left as it was.
DeviceKind characterDeviceKind(const QString &path, dev_t device)
{
    const QString subsystem = QFile::symLinkTarget(
        QStringLiteral("/sys/dev/char/%1:%2/subsystem").arg(major(device)).arg(minor(device)));
    if (!subsystem.isEmpty())
        return subsystem.endsWith(QStringLiteral("/tty")) ? DeviceKind::Terminal
                                                          : DeviceKind::NotSerial;
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return DeviceKind::Unknown;
    const bool terminal = ::isatty(fd) == 1;
    ::close(fd);
    return terminal ? DeviceKind::Terminal : DeviceKind::NotSerial;
}

} // namespace

DeviceCheck CheckDevice(const QString &path)
{
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return {DeviceKind::Missing, QStringLiteral("does not exist")};
        return {DeviceKind::Unusable, QString::fromLocal8Bit(std::strerror(errno))};
    }
    switch (info.st_mode & S_IFMT) {
    case S_IFCHR: {
        const DeviceKind kind = characterDeviceKind(path, info.st_rdev);
        return {kind, kind == DeviceKind::NotSerial ? QStringLiteral("a device of another kind")
                                                    : QString()};
    }
    case S_IFREG:
        return {DeviceKind::NotSerial, QStringLiteral("a regular file")};
    case S_IFDIR:
        return {DeviceKind::NotSerial, QStringLiteral("a folder")};
    case S_IFIFO:
        return {DeviceKind::NotSerial, QStringLiteral("a pipe")};
    default:
        return {DeviceKind::NotSerial, QStringLiteral("not a device")};
    }
}

#endif

} // namespace kestrix
