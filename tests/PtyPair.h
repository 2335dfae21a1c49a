// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A pseudo-terminal standing in for a serial cable: the program opens the
// terminal end through a link of its own, and the pair records what arrives
// at the other end, noting when each byte came. POSIX only.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

struct termios;

class PtyPair
{
public:
    using Clock = std::chrono::steady_clock;

    PtyPair() = default;
    ~PtyPair();

    // Makes a new terminal, points programEnd() at it and starts recording;
    // what was recorded before is dropped.
    bool start();
    // Closes the terminal and removes the link, as an unplugged adapter
    // goes: a program writing to it gets an error.
    void stop();

    QString programEnd() const { return m_dir.filePath(QStringLiteral("program")); }
    // The line settings the terminal end has now.
    bool lineSettings(termios &settings) const;

    QByteArray bytes() const;
    // When byte number index arrived.
    Clock::time_point arrival(int index) const;
    // Waits until count bytes have arrived; false after timeoutMs.
    bool waitFor(int count, int timeoutMs) const;

private:
    void record();

    QTemporaryDir m_dir;
    int m_controller = -1;
    int m_terminal = -1; // held open so the controller reads no hang-up
    std::atomic<bool> m_stop{false};
    std::thread m_recorder;
    mutable std::mutex m_mutex;
    QByteArray m_bytes;
    std::vector<Clock::time_point> m_times;
};
