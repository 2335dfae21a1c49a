// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The box's end of the serial line: a device opened raw at 4800 baud 8N1, or
// a new pseudo-terminal whose other end a sender opens. POSIX only.

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

namespace kestrix {

class SerialLine
{
public:
    ~SerialLine();
    SerialLine(const SerialLine &) = delete;
    SerialLine &operator=(const SerialLine &) = delete;

    static std::unique_ptr<SerialLine> openDevice(const QString &path, QString &error);
    static std::unique_ptr<SerialLine> createPseudoTerminal(QString &error);

    // The device a sender opens.
    QString path() const { return m_path; }

    // Waits up to timeoutMs (-1: no limit) for bytes; empty after the time
    // ran out, nothing after an error.
    std::optional<QByteArray> read(int timeoutMs, QString &error);

    // Lets the reader run at once when bytes come, before other programs,
    // where the system allows it (root, or a real-time limit): then a busy
    // machine does not make pauses look short. False where it does not.
    static bool takeRealTimePriority();

private:
    SerialLine(int fd, int keepOpen, QString path);

    int m_fd;
    int m_keepOpen; // the pseudo-terminal's own end, held so that senders may come and go
    QString m_path;
};

} // namespace kestrix
