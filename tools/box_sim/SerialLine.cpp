// SPDX-License-Identifier: GPL-3.0-or-later
#include "SerialLine.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <termios.h>
#include <unistd.h>

namespace kestrix {

namespace {

QString systemError(const QString &what)
{
    return QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(errno)));
}

bool makeRaw(int fd)
{
    termios mode{};
    if (tcgetattr(fd, &mode) != 0)
        return false;
    cfmakeraw(&mode);
    cfsetispeed(&mode, B4800);
    cfsetospeed(&mode, B4800);
    mode.c_cflag |= CLOCAL | CREAD;
    mode.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS);
    return tcsetattr(fd, TCSANOW, &mode) == 0;
}

} // namespace

SerialLine::SerialLine(int fd, int keepOpen, QString path)
    : m_fd(fd), m_keepOpen(keepOpen), m_path(std::move(path))
{
}

SerialLine::~SerialLine()
{
    close(m_fd);
    if (m_keepOpen >= 0)
        close(m_keepOpen);
}

std::unique_ptr<SerialLine> SerialLine::openDevice(const QString &path, QString &error)
{
    const int fd = open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = systemError(path);
        return nullptr;
    }
    if (!makeRaw(fd)) {
        error = systemError(path + QStringLiteral(" (line settings)"));
        close(fd);
        return nullptr;
    }
    return std::unique_ptr<SerialLine>(new SerialLine(fd, -1, path));
}

std::unique_ptr<SerialLine> SerialLine::createPseudoTerminal(QString &error)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        error = systemError(QStringLiteral("cannot create a pseudo-terminal"));
        if (master >= 0)
            close(master);
        return nullptr;
    }
    const QString path = QString::fromLocal8Bit(ptsname(master));
    const int slave = open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0 || !makeRaw(slave)) {
        error = systemError(path);
        close(master);
        if (slave >= 0)
            close(slave);
        return nullptr;
    }
    return std::unique_ptr<SerialLine>(new SerialLine(master, slave, path));
}

bool SerialLine::takeRealTimePriority()
{
    // A low real-time priority: above every ordinary program, below the
    // system's own real-time threads. The reader only ever waits in poll().
    sched_param priority{};
    priority.sched_priority = sched_get_priority_min(SCHED_FIFO) + 9;
    return sched_setscheduler(0, SCHED_FIFO, &priority) == 0;
}

std::optional<QByteArray> SerialLine::read(int timeoutMs, QString &error)
{
    pollfd waiting{m_fd, POLLIN, 0};
    const int ready = poll(&waiting, 1, timeoutMs);
    if (ready < 0 && errno != EINTR) {
        error = systemError(m_path);
        return std::nullopt;
    }
    if (ready <= 0)
        return QByteArray();
    char buffer[512];
    const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
    if (got < 0) {
        error = systemError(m_path);
        return std::nullopt;
    }
    if (got == 0) {
        error = m_path + QStringLiteral(": the device closed");
        return std::nullopt;
    }
    return QByteArray(buffer, got);
}

} // namespace kestrix
