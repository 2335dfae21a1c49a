// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The devices chosen for port numbers, in the program's user configuration
// file (~/.config/Kestrix/kestrix-config.conf on Linux), an INI file.
//
// A file that cannot be read, is not an INI file or is larger than
// kMaxStoredChoicesBytes is not used: every number then has its default, and
// problem() says why. Storing a choice then first keeps that file beside
// itself as kestrix-config.conf.bad, so that nothing in it is lost.

#include "PortDevice.h"

#include <QSettings>

#include <memory>

namespace kestrix {

// Far more than sixteen device names need; a larger file is not read at all.
inline constexpr qint64 kMaxStoredChoicesBytes = 1024 * 1024;

class StoredPortMappings : public PortMappings
{
public:
    // The program's own configuration file.
    StoredPortMappings();
    // Another file, for tests.
    explicit StoredPortMappings(QString filePath);

    QString storedDevice(int number) const override;
    Result<> store(int number, const QString &device) override;
    QString problem() const override { return m_problem; }

    QString fileName() const { return m_path; }

private:
    void read();
    Result<> keepBadFileAside();
    QString whyNotWritten() const;

    QString m_path;
    QString m_problem;
    std::unique_ptr<QSettings> m_settings; // none while the file is unfit
};

} // namespace kestrix
