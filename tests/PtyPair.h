#pragma once

// A pair of connected pseudo-terminals made by socat, standing in for a
// serial cable: the program opens one end, a recorder reads the other.
// POSIX only.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

class PtyPair
{
public:
    PtyPair();
    ~PtyPair();

    // Starts socat and waits for both ends; false when socat is missing.
    bool start();
    // Ends socat: both ends go away, as an unplugged adapter does.
    void stop();

    QString programEnd() const { return m_dir.filePath(QStringLiteral("program")); }
    QString boxEnd() const { return m_dir.filePath(QStringLiteral("box")); }

private:
    QTemporaryDir m_dir;
    QProcess m_socat;
};

// Reads one end in a thread and notes when each byte arrived.
class LineRecorder
{
public:
    using Clock = std::chrono::steady_clock;

    explicit LineRecorder(const QString &device);
    ~LineRecorder();

    // Everything read so far.
    QByteArray bytes() const;
    // When byte number index arrived.
    Clock::time_point arrival(int index) const;
    // Waits until count bytes have arrived; false after timeoutMs.
    bool waitFor(int count, int timeoutMs) const;

private:
    void run();

    int m_fd = -1;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    QByteArray m_bytes;
    std::vector<Clock::time_point> m_times;
    std::thread m_thread;
};
