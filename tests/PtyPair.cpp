#include "PtyPair.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair() = default;

PtyPair::~PtyPair()
{
    stop();
}

bool PtyPair::start()
{
    const QString socat = QStandardPaths::findExecutable(QStringLiteral("socat"));
    if (socat.isEmpty() || !m_dir.isValid())
        return false;
    m_socat.start(socat, {QStringLiteral("pty,raw,echo=0,link=") + programEnd(),
                          QStringLiteral("pty,raw,echo=0,link=") + boxEnd()});
    if (!m_socat.waitForStarted(5000))
        return false;
    for (int i = 0; i < 500; ++i) {
        if (QFileInfo::exists(programEnd()) && QFileInfo::exists(boxEnd()))
            return true;
        QThread::msleep(10);
    }
    return false;
}

void PtyPair::stop()
{
    if (m_socat.state() == QProcess::NotRunning)
        return;
    m_socat.kill();
    m_socat.waitForFinished(5000);
}

LineRecorder::LineRecorder(const QString &device)
{
    m_fd = ::open(device.toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    if (m_fd >= 0) {
        termios raw{};
        if (tcgetattr(m_fd, &raw) == 0) {
            cfmakeraw(&raw);
            tcsetattr(m_fd, TCSANOW, &raw);
        }
        m_thread = std::thread(&LineRecorder::run, this);
    }
}

LineRecorder::~LineRecorder()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_fd >= 0)
        ::close(m_fd);
}

void LineRecorder::run()
{
    char buffer[512];
    while (!m_stop) {
        pollfd fd{m_fd, POLLIN, 0};
        if (::poll(&fd, 1, 20) <= 0 || !(fd.revents & POLLIN))
            continue;
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        const auto now = Clock::now();
        if (n <= 0)
            continue;
        std::lock_guard lock(m_mutex);
        m_bytes.append(buffer, n);
        m_times.insert(m_times.end(), static_cast<std::size_t>(n), now);
    }
}

QByteArray LineRecorder::bytes() const
{
    std::lock_guard lock(m_mutex);
    return m_bytes;
}

LineRecorder::Clock::time_point LineRecorder::arrival(int index) const
{
    std::lock_guard lock(m_mutex);
    return m_times.at(static_cast<std::size_t>(index));
}

bool LineRecorder::waitFor(int count, int timeoutMs) const
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < deadline) {
        if (bytes().size() >= count)
            return true;
        QThread::msleep(5);
    }
    return false;
}
