// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConfigFileStore.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

namespace kestrix {

namespace {

Failure aboutFile(const QString &path, const QString &what)
{
    return {FileTitle(path) + QStringLiteral(": ") + what};
}

} // namespace

QString FileTitle(const QString &path)
{
    const qsizetype cut = std::max(path.lastIndexOf(QChar('/')), path.lastIndexOf(QChar('\\')));
    return path.mid(cut + 1);
}

Result<> SaveConfigFile(const QString &path, const DeviceSettings &settings)
{
    const Result<QByteArray> written = WriteConfigFile(settings);
    if (!written)
        return aboutFile(path, QStringLiteral("not saved: ") + written.error());

    const QFileInfo target(path); // through a link, the file it names
    if (target.exists() && !target.isFile())
        return aboutFile(path, QStringLiteral("cannot be written: it is not a regular file (a "
                                              "folder, a device or a pipe). Choose another "
                                              "name."));
    const QString folder = target.absolutePath();
    if (QStorageInfo(folder).isReadOnly())
        return aboutFile(path, QStringLiteral("cannot be written: the drive it is on (%1) is "
                                              "mounted read-only.")
                                   .arg(QStorageInfo(folder).rootPath()));
    // Replacing would go around a read-only mark that the operator set. The
    // mode bits tell it even to root, whom access(2) lets write anything.
    constexpr QFile::Permissions anyWrite =
        QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (target.exists() && (!target.isWritable() || !(target.permissions() & anyWrite)))
        return aboutFile(path, QStringLiteral("cannot be written: the file is read-only."));

    QSaveFile file(path);
    // Unbuffered, every write error shows at once, the last one included; a
    // buffered write could fail in the final flush unseen.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (QFileInfo::exists(folder) && !QFileInfo(folder).isWritable())
            return aboutFile(path, QStringLiteral("cannot be written: the folder %1 is read-only. "
                                                  "Save writes the new file beside the old one "
                                                  "first, so it needs to write in the folder.")
                                       .arg(folder));
        return aboutFile(path, QStringLiteral("cannot be written: %1.").arg(file.errorString()));
    }
    const qint64 done = file.write(*written);
    if (done != written->size()) {
        // A write cut short sets no error of its own: the disk is full.
        const QString reason =
            done < 0 ? file.errorString()
                     : QStringLiteral("only %1 of %2 bytes could be written; the disk may be full")
                           .arg(done)
                           .arg(written->size());
        file.cancelWriting();
        return aboutFile(path, QStringLiteral("cannot be written: %1. The old file is "
                                              "unchanged.")
                                   .arg(reason));
    }
    const bool replacing = target.exists();
    // The mode bits alone: Qt's "user" flags say what we may do, and would
    // set the owner's bits.
    const QFile::Permissions rights =
        target.permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
    if (!file.commit())
        return aboutFile(path, QStringLiteral("cannot be written: %1. The old file is "
                                              "unchanged.")
                                   .arg(file.errorString()));
    // The new file keeps the access rights that the operator gave the old
    // one; QSaveFile keeps them only where the owner may write.
    // The settings are saved either way; a mode that did not carry over
    // does not make that a failure, but it is logged.
    if (replacing && !QFile::setPermissions(path, rights))
        qWarning("%s: saved, but its former access rights could not be restored",
                 qUtf8Printable(FileTitle(path)));
    return {};
}

Result<DeviceSettings> LoadConfigFile(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return aboutFile(path, QStringLiteral("is a folder, not a file."));
    // A pipe or a device would block the read, or never end.
    if (info.exists() && !info.isFile())
        return aboutFile(path, QStringLiteral("is not a regular file (a device or a pipe); "
                                              "a configuration file is a plain file."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return aboutFile(path, QStringLiteral("cannot be opened: %1.").arg(file.errorString()));
    Result<DeviceSettings> read = ReadConfigFile(file);
    if (!read)
        return aboutFile(path, read.error());
    return read;
}

} // namespace kestrix
