// SPDX-License-Identifier: GPL-3.0-or-later
// Save and Load: a configuration file chosen through the file dialogs.

#include "Setup.h"

#include "ConfigFileStore.h"
#include "ConfigFolder.h"
#include "FileDialogs.h"
#include "Services.h"

namespace kestrix {

namespace {

FileDialogRequest configFileRequest(const QString &title)
{
    return {title, ConfigFileFolder(), QStringLiteral("Kestrix.cfg"),
            QStringLiteral("File di configurazione (*.cfg)|*.cfg|Tutti i files|*.*"), 0};
}

QString fileWindowTitle(const QString &path)
{
    return QStringLiteral("Kestrix v6.DX - ") + FileTitle(path);
}

} // namespace

void Setup::cmdSave_Click()
{
    const std::optional<QString> path =
        m_files.saveFileName(configFileRequest(QStringLiteral("Salva File")));
    if (!path)
        return;
    if (const Result<> saved = SaveConfigFile(*path, settings()); !saved) {
        m_services.messageBox(saved.error(), QStringLiteral("Kestrex"), MessageIcon::None);
        return;
    }
    setWindowTitle(fileWindowTitle(*path));
}

void Setup::cmdLoad_Click()
{
    const std::optional<QString> path =
        m_files.openFileName(configFileRequest(QStringLiteral("Apertura File")));
    if (!path)
        return;
    // The whole file is checked before any control changes.
    const Result<DeviceSettings> read = LoadConfigFile(*path);
    if (!read) {
        m_services.messageBox(read.error(), QStringLiteral("Kestrix"), MessageIcon::None);
        return;
    }
    applySettings(*read);
    // Last, after every reset the writes' reactions made.
    setWindowTitle(fileWindowTitle(*path));
}

} // namespace kestrix
