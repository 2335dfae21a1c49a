// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A pseudo-terminal standing in for a serial cable: the program opens the
// terminal end through a link of its own, and the pair records what arrives
// at the other end, noting when each byte came. POSIX only.

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

class PtyPair
{
public:
    using Clock = std::chrono::steady_clock;

    ~PtyPair() { stop(); }

    // Makes a new terminal, points programEnd() at it and records afresh.
    bool start()
    {
        stop();
        termios raw{};
        cfmakeraw(&raw);
        if (openpty(&m_controller, &m_terminal, nullptr, &raw, nullptr) != 0 ||
            !QFile::link(QString::fromLocal8Bit(ttyname(m_terminal)), programEnd()))
            return false;
        fcntl(m_controller, F_SETFD, FD_CLOEXEC);
        fcntl(m_terminal, F_SETFD, FD_CLOEXEC);
        m_bytes.clear();
        m_times.clear();
        m_stop = false;
        m_recorder = std::thread([this] {
            for (char buffer[512]; !m_stop;) {
                pollfd fd{m_controller, POLLIN, 0};
                const ssize_t n = ::poll(&fd, 1, 20) > 0 ? ::read(m_controller, buffer, 512) : 0;
                const auto now = Clock::now();
                const std::lock_guard lock(m_mutex);
                m_bytes.append(buffer, std::max<ssize_t>(n, 0));
                m_times.resize(m_bytes.size(), now);
            }
        });
        return true;
    }

    // Closes the terminal and removes the link, as an unplugged adapter
    // goes: a program writing to it gets an error.
    void stop()
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

    QString programEnd() const { return m_dir.filePath(QStringLiteral("program")); }

    QByteArray bytes() const
    {
        const std::lock_guard lock(m_mutex);
        return m_bytes;
    }
    // When byte number index arrived.
    Clock::time_point arrival(int index) const
    {
        const std::lock_guard lock(m_mutex);
        return m_times.at(index);
    }
    // Waits until count bytes have arrived; false after timeoutMs.
    bool waitFor(int count, int timeoutMs) const
    {
        for (int waited = 0; bytes().size() < count && waited < timeoutMs; waited += 5)
            QThread::msleep(5);
        return bytes().size() >= count;
    }

private:
    QTemporaryDir m_dir;
    int m_controller = -1;
    int m_terminal = -1; // held open so the controller reads no hang-up
    std::atomic<bool> m_stop{false};
    std::thread m_recorder;
    mutable std::mutex m_mutex;
    QByteArray m_bytes;
    std::vector<Clock::time_point> m_times;
};
