// SPDX-License-Identifier: GPL-3.0-or-later
#include "PtyPair.h"

#include <QFile>
#include <QThread>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyPair::~PtyPair()
{
    stop();
}

bool PtyPair::start()
{
    stop();
    termios raw{};
    cfmakeraw(&raw);
    if (!m_dir.isValid() || openpty(&m_controller, &m_terminal, nullptr, &raw, nullptr) != 0)
        return false;
    fcntl(m_controller, F_SETFD, FD_CLOEXEC);
    fcntl(m_terminal, F_SETFD, FD_CLOEXEC);
    const char *name = ttyname(m_terminal);
    if (!name || !QFile::link(QString::fromLocal8Bit(name), programEnd())) {
        stop();
        return false;
    }
    {
        std::lock_guard lock(m_mutex);
        m_bytes.clear();
        m_times.clear();
    }
    m_stop = false;
    m_recorder = std::thread(&PtyPair::record, this);
    return true;
}

void PtyPair::stop()
{
    m_stop = true;
    if (m_recorder.joinable())
        m_recorder.join();
    QFile::remove(programEnd());
    for (int *fd : {&m_terminal, &m_controller}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

bool PtyPair::lineSettings(termios &settings) const
{
    return m_terminal >= 0 && tcgetattr(m_terminal, &settings) == 0;
}

void PtyPair::record()
{
    char buffer[512];
    while (!m_stop) {
        pollfd fd{m_controller, POLLIN, 0};
        if (::poll(&fd, 1, 20) <= 0 || !(fd.revents & POLLIN))
            continue;
        const ssize_t n = ::read(m_controller, buffer, sizeof buffer);
        const auto now = Clock::now();
        if (n <= 0)
            continue;
        std::lock_guard lock(m_mutex);
        m_bytes.append(buffer, n);
        m_times.insert(m_times.end(), static_cast<std::size_t>(n), now);
    }
}

QByteArray PtyPair::bytes() const
{
    std::lock_guard lock(m_mutex);
    return m_bytes;
}

PtyPair::Clock::time_point PtyPair::arrival(int index) const
{
    std::lock_guard lock(m_mutex);
    return m_times.at(static_cast<std::size_t>(index));
}

bool PtyPair::waitFor(int count, int timeoutMs) const
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < deadline) {
        if (bytes().size() >= count)
            return true;
        QThread::msleep(5);
    }
    return false;
}
