// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConfigFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kestrix {

namespace {

bool writableFolder(const QString &path)
{
    const QFileInfo folder(path);
    return !path.isEmpty() && folder.isDir() && folder.isWritable();
}

} // namespace

QString ConfigFileFolder(const QString &programFolder, const QString &documentsFolder,
                         const QString &homeFolder)
{
    if (writableFolder(programFolder))
        return programFolder;
    if (writableFolder(documentsFolder))
        return documentsFolder;
    return homeFolder;
}

QString ConfigFileFolder()
{
    return ConfigFileFolder(QCoreApplication::applicationDirPath(),
                            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                            QDir::homePath());
}

} // namespace kestrix
