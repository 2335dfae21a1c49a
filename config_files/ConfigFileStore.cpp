#include "ConfigFileStore.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kestrix {

namespace {

QString aboutFile(const QString &path, const QString &what)
{
    return FileTitle(path) + QStringLiteral(": ") + what;
}

} // namespace

QString FileTitle(const QString &path)
{
    const qsizetype cut = std::max(path.lastIndexOf(QChar('/')), path.lastIndexOf(QChar('\\')));
    return path.mid(cut + 1);
}

std::optional<QString> SaveConfigFile(const QString &path, const DeviceSettings &settings)
{
    const ConfigWrite written = WriteConfigFile(settings);
    if (!written.bytes)
        return aboutFile(path, QStringLiteral("not saved: ") + written.error);

    // Replacing would go around a read-only mark that the operator set.
    const QFileInfo target(path);
    if (target.exists() && target.isFile() && !target.isWritable())
        return aboutFile(path, QStringLiteral("cannot be written: the file is read-only."));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return aboutFile(path, QStringLiteral("cannot be written: %1.").arg(file.errorString()));
    if (file.write(*written.bytes) != written.bytes->size() || !file.commit())
        return aboutFile(path, QStringLiteral("cannot be written: %1.").arg(file.errorString()));
    return std::nullopt;
}

ConfigRead LoadConfigFile(const QString &path)
{
    if (QFileInfo(path).isDir())
        return {std::nullopt, aboutFile(path, QStringLiteral("is a folder, not a file."))};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt,
                aboutFile(path, QStringLiteral("cannot be opened: %1.").arg(file.errorString()))};
    ConfigRead read = ReadConfigFile(file);
    if (!read.settings)
        read.error = aboutFile(path, read.error);
    return read;
}

} // namespace kestrix
