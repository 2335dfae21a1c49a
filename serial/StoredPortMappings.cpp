// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoredPortMappings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

namespace kestrix {

namespace {

QString keyOf(int number)
{
    return QStringLiteral("ports/COM%1").arg(number);
}

} // namespace

StoredPortMappings::StoredPortMappings()
    : StoredPortMappings(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                         QStringLiteral("/Kestrix/kestrix-config.conf"))
{
}

StoredPortMappings::StoredPortMappings(QString filePath) : m_path(std::move(filePath))
{
    read();
}

void StoredPortMappings::read()
{
    m_problem.clear();
    m_settings.reset();
    const QFileInfo info(m_path);
    const QString unused = QStringLiteral("The stored port choices in %1 are not used: %2.");
    if (info.exists() && !info.isFile()) {
        m_problem = unused.arg(m_path, QStringLiteral("it is not a plain file"));
        return;
    }
    if (info.exists()) {
        // QSettings reads a file whole, whatever its size.
        if (info.size() > kMaxStoredChoicesBytes) {
            m_problem = unused.arg(m_path, QStringLiteral("the file has %1 bytes, more than the "
                                                          "%2 such a file may have")
                                               .arg(info.size())
                                               .arg(kMaxStoredChoicesBytes));
            return;
        }
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly)) {
            m_problem = unused.arg(
                m_path, QStringLiteral("it cannot be read (%1)").arg(file.errorString()));
            return;
        }
    }
    auto settings = std::make_unique<QSettings>(m_path, QSettings::IniFormat);
    if (settings->status() != QSettings::NoError) {
        m_problem = unused.arg(m_path, QStringLiteral("it is not a settings file"));
        return;
    }
    m_settings = std::move(settings);
}

QString StoredPortMappings::storedDevice(int number) const
{
    return m_settings ? m_settings->value(keyOf(number)).toString() : QString();
}

Result<> StoredPortMappings::store(int number, const QString &device)
{
    if (!m_settings) {
        if (Result<> kept = keepBadFileAside(); !kept)
            return kept;
        read();
        if (!m_settings)
            return Failure{QStringLiteral("COM%1 was not stored: %2").arg(number).arg(m_problem)};
    }
    const QString key = keyOf(number);
    const QVariant before = m_settings->value(key);
    if (device.isEmpty())
        m_settings->remove(key);
    else
        m_settings->setValue(key, device);
    m_settings->sync();
    if (m_settings->status() == QSettings::NoError)
        return {};
    // The settings object keeps what it could not write; the choices must
    // read as they are on disk.
    if (before.isValid())
        m_settings->setValue(key, before);
    else
        m_settings->remove(key);
    return Failure{QStringLiteral("COM%1 was not stored: %2 cannot be written, %3.")
                       .arg(number)
                       .arg(m_path, whyNotWritten())};
}

Result<> StoredPortMappings::keepBadFileAside()
{
    if (!QFileInfo::exists(m_path))
        return {};
    const QString aside = m_path + QStringLiteral(".bad");
    QFile::remove(aside);
    QFile file(m_path);
    if (file.rename(aside))
        return {};
    return Failure{QStringLiteral("%1\nIt could not be kept as %2 (%3), so nothing was stored.")
                       .arg(m_problem, aside, file.errorString())};
}

QString StoredPortMappings::whyNotWritten() const
{
    const QFileInfo file(m_path);
    const QString folder = file.absolutePath();
    if (QStorageInfo(QFileInfo::exists(folder) ? folder : QDir::rootPath()).isReadOnly())
        return QStringLiteral("as the file system it is on is mounted read-only");
    if (!QFileInfo::exists(folder))
        return QStringLiteral("as the folder %1 cannot be made").arg(folder);
    if (!QFileInfo(folder).isWritable())
        return QStringLiteral("as the folder %1 is read-only").arg(folder);
    if (file.exists() && !file.isWritable())
        return QStringLiteral("as the file is read-only");
    return QStringLiteral("though the file and its folder look writable");
}

} // namespace kestrix
